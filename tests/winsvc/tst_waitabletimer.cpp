#include "winsvc/clsWaitableTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

namespace {

const QEvent::Type kPosted = QEvent::Type(QEvent::User + 7);

class Receiver : public QObject {
public:
    int received = 0;
    bool event(QEvent* e) override {
        if (e->type() == kPosted) {
            ++received;
            return true;
        }
        return QObject::event(e);
    }
};

// Filled in before the application object exists.
bool g_failedWithoutApplication = false;
QString g_failureDescription;
int g_failureNumber = 0;

} // namespace

class tst_WaitableTimer : public QObject {
    Q_OBJECT
private slots:
    void errorWithoutApplication();
    void waitsAndProcessesEvents();
    void zeroProcessesPendingEventsOnce_data();
    void zeroProcessesPendingEventsOnce();
    void nestedWaits_data();
    void nestedWaits();
    void destroyedDuringWait();
};

void tst_WaitableTimer::errorWithoutApplication() {
    QVERIFY(g_failedWithoutApplication);
    QVERIFY2(g_failureDescription.startsWith(QStringLiteral("[clsWaitableTimer.Wait]")),
             qPrintable(g_failureDescription));
    QVERIFY(g_failureDescription.size() > int(qstrlen("[clsWaitableTimer.Wait]")));
    QCOMPARE(g_failureNumber, clsWaitableTimer::kErrorNumber);
}

void tst_WaitableTimer::waitsAndProcessesEvents() {
    clsWaitableTimer timer;
    bool ticked = false;
    QTimer::singleShot(10, [&ticked] { ticked = true; });
    QElapsedTimer clock;
    clock.start();
    timer.Wait(80);
    QVERIFY(clock.elapsed() >= 80);
    QVERIFY(ticked);
    QCOMPARE(timer.ActiveWaits(), 0);
    // The same object serves further waits.
    clock.restart();
    timer.Wait(30);
    QVERIFY(clock.elapsed() >= 30);
}

void tst_WaitableTimer::zeroProcessesPendingEventsOnce_data() {
    QTest::addColumn<int>("milliSeconds");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -500;
}

void tst_WaitableTimer::zeroProcessesPendingEventsOnce() {
    QFETCH(int, milliSeconds);
    clsWaitableTimer timer;
    Receiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(kPosted));
    bool queued = false;
    QMetaObject::invokeMethod(
        &receiver, [&queued] { queued = true; }, Qt::QueuedConnection);
    bool tooLate = false;
    QTimer::singleShot(200, [&tooLate] { tooLate = true; });
    QElapsedTimer clock;
    clock.start();
    timer.Wait(milliSeconds);
    QVERIFY(clock.elapsed() < 150);
    QCOMPARE(receiver.received, 1);
    QVERIFY(queued);
    QVERIFY(!tooLate);
}

void tst_WaitableTimer::nestedWaits_data() {
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("innerStart");
    QTest::addColumn<int>("inner");
    QTest::newRow("inner within outer") << 150 << 20 << 40;
    QTest::newRow("inner outlasts outer") << 40 << 10 << 100;
}

void tst_WaitableTimer::nestedWaits() {
    QFETCH(int, outer);
    QFETCH(int, innerStart);
    QFETCH(int, inner);
    clsWaitableTimer timer;
    QElapsedTimer clock;
    qint64 innerElapsed = -1;
    qint64 innerReturnedAt = -1;
    int waitsDuringInner = 0;
    QTimer::singleShot(innerStart, [&] {
        QTimer::singleShot(5, [&] { waitsDuringInner = timer.ActiveWaits(); });
        QElapsedTimer innerClock;
        innerClock.start();
        timer.Wait(inner);
        innerElapsed = innerClock.elapsed();
        innerReturnedAt = clock.elapsed();
    });
    clock.start();
    timer.Wait(outer);
    const qint64 outerElapsed = clock.elapsed();

    QVERIFY2(innerElapsed >= inner, qPrintable(QString::number(innerElapsed)));
    QCOMPARE(waitsDuringInner, 2);
    QVERIFY(innerReturnedAt >= 0 && innerReturnedAt <= outerElapsed);
    // The outer wait is not ended by the inner one, and cannot return before it.
    QVERIFY2(outerElapsed >= outer, qPrintable(QString::number(outerElapsed)));
    QVERIFY(outerElapsed >= innerStart + inner);
    QCOMPARE(timer.ActiveWaits(), 0);
}

void tst_WaitableTimer::destroyedDuringWait() {
    auto* timer = new clsWaitableTimer;
    QTimer::singleShot(20, [timer] { delete timer; });
    QElapsedTimer clock;
    clock.start();
    timer->Wait(5000);
    QVERIFY(clock.elapsed() < 2000);
}

int main(int argc, char** argv) {
    try {
        clsWaitableTimer timer;
        timer.Wait(10);
    } catch (const WaitableTimerError& error) {
        g_failedWithoutApplication = true;
        g_failureDescription = error.Description();
        g_failureNumber = error.Number();
    }
    QCoreApplication app(argc, argv);
    tst_WaitableTimer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_waitabletimer.moc"
