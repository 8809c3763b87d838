#include "winsvc/LeaveTracking.h"
#include "winsvc/iLeaveTracked.h"

#include <QApplication>
#include <QEvent>
#include <QtTest>

namespace {

class Surface : public QWidget {
public:
    int leaves = 0;

protected:
    void leaveEvent(QEvent*) override { ++leaves; }
};

class Control : public iLeaveTracked {
public:
    int calls = 0;
    void PreMouseLeave() override { ++calls; }
};

void SendLeave(QWidget* w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

} // namespace

class tst_LeaveTracking : public QObject {
    Q_OBJECT
private slots:
    void leaveOfArmedSurfaceCallsTrackedControl();
    void leaveWithoutTrackingStillReachesSurface();
    void onlyOneNotificationIsPending();
    void leaveOfAnotherSurfaceIsNotTheNotification();
    void unhookedOrDestroyedSurfaceDisarms();
    void realPointerLeaveIsNoticed();
    void applicationInstanceIsShared();
};

void tst_LeaveTracking::leaveOfArmedSurfaceCallsTrackedControl() {
    LeaveTracking tracking;
    Surface surface;
    Control control;
    tracking.HookLeaveTracking(&surface);
    QVERIFY(surface.hasMouseTracking());
    QVERIFY(tracking.Arm(&control, &surface));
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(1));
    SendLeave(&surface);
    QCOMPARE(control.calls, 1);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
    QCOMPARE(tracking.TrackedControl(), &control); // stays recorded
    QCOMPARE(surface.leaves, 1);
    SendLeave(&surface); // no new request, no new call
    QCOMPARE(control.calls, 1);
    QCOMPARE(surface.leaves, 2);
}

void tst_LeaveTracking::leaveWithoutTrackingStillReachesSurface() {
    LeaveTracking tracking;
    Surface surface;
    tracking.HookLeaveTracking(&surface);
    SendLeave(&surface);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
    QCOMPARE(surface.leaves, 1);
}

void tst_LeaveTracking::onlyOneNotificationIsPending() {
    LeaveTracking tracking;
    Surface a, b;
    Control first, second;
    tracking.HookLeaveTracking(&a);
    tracking.HookLeaveTracking(&b);
    QVERIFY(tracking.Arm(&first, &a));
    QVERIFY(!tracking.Arm(&second, &b));
    QCOMPARE(tracking.TrackedControl(), &first);
    SendLeave(&a);
    QCOMPARE(first.calls, 1);
    QVERIFY(tracking.Arm(&second, &b));
    SendLeave(&b);
    QCOMPARE(second.calls, 1);
    QCOMPARE(first.calls, 1);
}

void tst_LeaveTracking::leaveOfAnotherSurfaceIsNotTheNotification() {
    LeaveTracking tracking;
    Surface a, b;
    Control control;
    tracking.HookLeaveTracking(&a);
    tracking.HookLeaveTracking(&b);
    tracking.Arm(&control, &a);
    SendLeave(&b);
    QCOMPARE(control.calls, 0);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(1));
    QCOMPARE(b.leaves, 1);
}

void tst_LeaveTracking::unhookedOrDestroyedSurfaceDisarms() {
    LeaveTracking tracking;
    Control control;
    Surface kept;
    tracking.HookLeaveTracking(&kept);
    tracking.Arm(&control, &kept);
    tracking.UnhookLeaveTracking(&kept);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
    SendLeave(&kept);
    QCOMPARE(control.calls, 0);

    auto* gone = new Surface;
    tracking.HookLeaveTracking(gone);
    tracking.Arm(&control, gone);
    delete gone;
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
    QVERIFY(tracking.Arm(&control, &kept)); // tracking is usable again
    tracking.Forget(&control);
    QCOMPARE(tracking.TrackedControl(), nullptr);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
}

void tst_LeaveTracking::realPointerLeaveIsNoticed() {
    LeaveTracking tracking;
    QWidget window;
    window.resize(100, 50);
    auto* surface = new Surface;
    surface->setParent(&window);
    surface->setGeometry(0, 0, 40, 40);
    Control control;
    tracking.HookLeaveTracking(surface);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(surface, QPoint(10, 10));
    tracking.Arm(&control, surface);
    QTest::mouseMove(&window, QPoint(80, 20));
    QTRY_COMPARE(control.calls, 1);
    QCOMPARE(tracking.LeaveTrackingArmed(), qint16(0));
}

void tst_LeaveTracking::applicationInstanceIsShared() {
    LeaveTracking* a = LeaveTracking::ForApplication();
    QVERIFY(a);
    QCOMPARE(LeaveTracking::ForApplication(), a);
    QCOMPARE(a->parent(), QCoreApplication::instance());
}

QTEST_MAIN(tst_LeaveTracking)
#include "tst_LeaveTracking.moc"
