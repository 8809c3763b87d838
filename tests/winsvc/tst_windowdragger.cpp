#include "support/TestWindows.h"
#include "winsvc/WindowDragger.h"
#include "winsvc/WindowNotifications.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace WN = WindowNotifications;
using TestWindows::Drag;
using TestWindows::MakeWindow;

namespace {

// A child that keeps its presses to itself.
class Keeper : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
};

// A window receiver that keeps moves inside x >= 0 and y >= 50 and sizes to
// even widths.
class Limiter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == WN::Moving) {
            auto* moving = static_cast<WN::MovingEvent*>(e);
            QRect r = moving->rect();
            r.moveTo(std::max(0, r.x()), std::max(50, r.y()));
            moving->setRect(r);
        } else if (e->type() == WN::Sizing) {
            auto* sizing = static_cast<WN::SizingEvent*>(e);
            QRect r = sizing->rect();
            r.setWidth(r.width() & ~1);
            sizing->setRect(r);
        }
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(WN::SizeEdge)

class tst_WindowDragger : public QObject {
    Q_OBJECT
private slots:
    void pressTargets();
    void receiversChangeTheProposal();
    void edgesSizeTheirSide_data();
    void edgesSizeTheirSide();
    void lostReleaseEndsTheLoop();
};

void tst_WindowDragger::pressTargets() {
    auto window = MakeWindow(QRect(100, 100, 200, 150));
    QWidget label(window.get()); // a plain widget passes presses on
    label.setGeometry(10, 10, 50, 20);
    QPushButton button(window.get());
    button.setGeometry(100, 10, 50, 20);
    Keeper handle(window.get());
    handle.setGeometry(10, 100, 50, 20);
    window->show();
    WindowDragger dragger(window.get());

    Drag(&label, QPoint(5, 5), QPoint(20, 10)); // passed on to the body
    QCOMPARE(window->pos(), QPoint(120, 110));
    Drag(&button, QPoint(5, 5), QPoint(20, 10)); // the button keeps it
    QCOMPARE(window->pos(), QPoint(120, 110));
    Drag(&handle, QPoint(5, 5), QPoint(20, 10));
    QCOMPARE(window->pos(), QPoint(120, 110));
    dragger.AddMoveHandle(&handle);
    Drag(&handle, QPoint(5, 5), QPoint(20, 10));
    QCOMPARE(window->pos(), QPoint(140, 120));
    // Right button presses do not drag.
    QTest::mousePress(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(150, 100));
    QVERIFY(!dragger.IsTracking());
    QTest::mouseRelease(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(150, 100));
}

void tst_WindowDragger::receiversChangeTheProposal() {
    auto window = MakeWindow(QRect(100, 100, 200, 150));
    QWidget grip(window.get());
    grip.setGeometry(190, 140, 10, 10);
    grip.show();
    WindowDragger dragger(window.get());
    dragger.AddSizeGrip(&grip);
    Limiter limiter;
    window->installEventFilter(&limiter);

    Drag(window.get(), QPoint(50, 50), QPoint(-150, -80));
    QCOMPARE(window->geometry(), QRect(0, 50, 200, 150));
    Drag(&grip, QPoint(5, 5), QPoint(33, 7));
    QCOMPARE(window->geometry(), QRect(0, 50, 232, 157));
}

void tst_WindowDragger::edgesSizeTheirSide_data() {
    QTest::addColumn<WN::SizeEdge>("edge");
    QTest::addColumn<QRect>("expected");
    // Window (100,100 200x150), pointer moved by (+10, -20).
    QTest::newRow("left") << WN::SizeEdge::Left << QRect(110, 100, 190, 150);
    QTest::newRow("top") << WN::SizeEdge::Top << QRect(100, 80, 200, 170);
    QTest::newRow("top-right") << WN::SizeEdge::TopRight << QRect(100, 80, 210, 170);
    QTest::newRow("bottom-left") << WN::SizeEdge::BottomLeft << QRect(110, 100, 190, 130);
    QTest::newRow("bottom-right") << WN::SizeEdge::BottomRight << QRect(100, 100, 210, 130);
}

void tst_WindowDragger::edgesSizeTheirSide() {
    QFETCH(WN::SizeEdge, edge);
    QFETCH(QRect, expected);
    auto window = MakeWindow(QRect(100, 100, 200, 150));
    WindowDragger dragger(window.get());
    dragger.BeginSize(QPoint(500, 500), edge);
    dragger.TrackTo(QPoint(510, 480));
    dragger.End();
    QCOMPARE(window->geometry(), expected);
}

void tst_WindowDragger::lostReleaseEndsTheLoop() {
    auto window = MakeWindow(QRect(100, 100, 200, 150));
    WindowDragger dragger(window.get());
    int exits = 0;
    class ExitCounter : public QObject {
    public:
        int* count;
        explicit ExitCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            *count += e->type() == WN::ExitSizeMove;
            return false;
        }
    } counter(&exits);
    window->installEventFilter(&counter);

    QTest::mousePress(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(dragger.IsTracking());
    // A movement without the button: the release went elsewhere.
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 60), window->mapToGlobal(QPointF(60, 60)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &move);
    QVERIFY(!dragger.IsTracking());
    QCOMPARE(exits, 1);
    QCOMPARE(window->pos(), QPoint(100, 100));
    QTest::mouseRelease(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
    QCOMPARE(exits, 1);
}

QTEST_MAIN(tst_WindowDragger)
#include "tst_windowdragger.moc"
