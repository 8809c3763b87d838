// Loads a playlist-sized list into ctlList and times what the user waits for:
// appending items one by one, scrolling over them, and changing an item far
// down the list. Run under QT_QPA_PLATFORM=offscreen.

#include "controls/ctlList.h"
#include "controls/ctlVScroll.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QWheelEvent>
#include <cstdio>

namespace {

QImage Strip(int columns, int rows, int cellWidth, int cellHeight) {
    QImage strip(columns * cellWidth, rows * cellHeight, QImage::Format_RGB32);
    strip.fill(qRgb(90, 90, 140));
    QPainter painter(&strip);
    painter.setPen(Qt::white);
    for (int c = 0; c < columns; ++c) {
        painter.drawRect(c * cellWidth, 0, cellWidth - 1, strip.height() - 1);
    }
    return strip;
}

double Ms(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    constexpr int kItems = 100000;
    constexpr int kSteps = 1000;

    QWidget window;
    window.resize(420, 640);
    auto* list = new ctlList(&window);
    list->SetButtonPicture(Strip(3, 2, 12, 12));
    list->SetThumbPicture(Strip(3, 1, 12, 24));
    list->SetBarPicture(Strip(1, 1, 12, 12));
    list->SetBackColor(0x00202020);
    list->SetBackColor2(0x00303030);
    list->SetSelectColor(0x0000FFFF);
    list->setGeometry(0, 0, 400, 600); // 46 rows
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kItems; ++i) {
        list->Add(QStringLiteral("Song number %1").arg(i + 1), QStringLiteral("03:25"),
                  QString::number(i));
    }
    const qint64 appendNs = clock.nsecsElapsed();
    std::printf("append %d items through Add: %.1f ms total, %.2f us each\n", kItems, Ms(appendNs),
                double(appendNs) / kItems / 1e3);

    // Scroll steps as the wheel makes them: three rows a notch, down then up.
    ctlVScroll* bar = list->ScrollBar();
    const int max = bar->Max();
    clock.restart();
    qint64 worst = 0;
    for (int i = 0; i < kSteps; ++i) {
        QElapsedTimer step;
        step.start();
        const int value = (i * 97) % max + 1; // jumps all over the list
        bar->SetValue(value);
        bar->Layout();
        emit bar->Scroll();
        worst = std::max(worst, step.nsecsElapsed());
    }
    const qint64 scrollNs = clock.nsecsElapsed();
    std::printf("scroll %d steps over %d items: %.3f ms a step on average, %.3f ms at worst\n",
                kSteps, kItems, Ms(scrollNs) / kSteps, Ms(worst));

    // Wheel notches, each scroll step painted at once.
    clock.restart();
    worst = 0;
    for (int i = 0; i < kSteps; ++i) {
        QElapsedTimer step;
        step.start();
        const int delta =
            i < kSteps / 2 ? -QWheelEvent::DefaultDeltasPerStep : QWheelEvent::DefaultDeltasPerStep;
        QWheelEvent wheel(QPointF(100, 100), list->mapToGlobal(QPointF(100, 100)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &wheel);
        list->repaint();
        worst = std::max(worst, step.nsecsElapsed());
    }
    const qint64 wheelNs = clock.nsecsElapsed();
    std::printf("wheel %d notches, each repainted: %.3f ms a step on average, %.3f ms at worst\n",
                kSteps, Ms(wheelNs) / kSteps, Ms(worst));

    // Paint what the scrolling left on show, to count the drawing too.
    clock.restart();
    window.grab();
    std::printf("paint the window once: %.2f ms\n", Ms(clock.nsecsElapsed()));

    CListItem last = *list->ItemData(QString::number(kItems - 1));
    last.iTitle = QStringLiteral("Renamed");
    last.iSelected = true;
    clock.restart();
    list->SetItemData(QString::number(kItems - 1), last);
    std::printf("ItemData set on the last item: %.3f ms\n", Ms(clock.nsecsElapsed()));

    clock.restart();
    const auto found = list->ItemData(QVariant(kItems / 2));
    std::printf("ItemData get by position %d: %.3f ms (%s)\n", kItems / 2, Ms(clock.nsecsElapsed()),
                found ? qPrintable(found->iTitle) : "none");

    clock.restart();
    const auto next = list->NextItem();
    std::printf("NextItem at the end of the list: %.3f ms (%s)\n", Ms(clock.nsecsElapsed()),
                next ? qPrintable(next->iTitle) : "none");
    return 0;
}
