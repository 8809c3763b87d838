#include "winsvc/clsWaitableTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

[[noreturn]] void Fail(const QString& cause) {
    throw WaitableTimerError(clsWaitableTimer::kErrorNumber, QStringLiteral("clsWaitableTimer"),
                             QStringLiteral("[clsWaitableTimer.Wait]") + cause);
}

} // namespace

clsWaitableTimer::~clsWaitableTimer() {
    *m_alive = false;
    for (QEventLoop* loop : m_loops) {
        loop->quit();
    }
}

void clsWaitableTimer::Wait(int MilliSeconds) {
    if (!QCoreApplication::instance()) {
        Fail(QStringLiteral("no application object: events cannot be processed"));
    }
    if (MilliSeconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // A precise timer never fires before the delay is over.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(MilliSeconds);
    if (!timer.isActive()) {
        Fail(QStringLiteral("the timer could not be started"));
    }
    // Only locals are touched once the loop returns unless the object is still
    // there: a handler run by the loop may have destroyed it.
    const std::shared_ptr<bool> alive = m_alive;
    m_loops.append(&loop);
    loop.exec();
    if (*alive) {
        m_loops.removeOne(&loop);
    }
}
