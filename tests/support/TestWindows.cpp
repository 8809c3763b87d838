#include "support/TestWindows.h"

#include <QTest>
#include <cstdlib>

namespace TestWindows {

std::unique_ptr<QWidget> MakeWindow(const QRect& geometry) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    window->setGeometry(geometry);
    window->show();
    return window;
}

void Drag(QWidget* widget, QPoint local, QPoint travel, int steps) {
    const QPoint start = widget->mapToGlobal(local);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, local);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(widget, widget->mapFromGlobal(start + travel * i / steps));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier,
                        widget->mapFromGlobal(start + travel));
}

int CountColour(const QImage& image, QRgb colour, const QRect& area) {
    const QRect inside = area.intersected(image.rect());
    int count = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qRed(colour)) <= 24 &&
                     std::abs(qGreen(p) - qGreen(colour)) <= 24 &&
                     std::abs(qBlue(p) - qBlue(colour)) <= 24;
        }
    }
    return count;
}

} // namespace TestWindows
