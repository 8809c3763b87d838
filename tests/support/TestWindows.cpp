#include "support/TestWindows.h"

#include <QTest>

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

} // namespace TestWindows
