#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <stdexcept>

class QEventLoop;

// A failure of clsWaitableTimer::Wait. The description starts with
// "[clsWaitableTimer.Wait]" followed by the cause.
class WaitableTimerError : public std::runtime_error {
public:
    WaitableTimerError(int number, const QString& source, const QString& description)
        : std::runtime_error(description.toStdString()), m_number(number), m_source(source),
          m_description(description) {}
    int Number() const { return m_number; }
    QString Source() const { return m_source; }
    QString Description() const { return m_description; }

private:
    int m_number;
    QString m_source;
    QString m_description;
};

// A delay that keeps the user interface alive: Wait returns after the given
// number of milliseconds and processes events meanwhile, so event handlers
// (one that calls Wait again included) may run before it returns.
//
// Every wait runs its own local event loop, ended by its own single-shot timer:
// a nested wait neither ends nor replaces the one it runs inside, although the
// outer one can return only once the nested one has returned. When the object
// is destroyed during a wait (by a handler running inside it), its waits end at
// once.
class clsWaitableTimer {
public:
    clsWaitableTimer() = default;
    ~clsWaitableTimer();
    clsWaitableTimer(const clsWaitableTimer&) = delete;
    clsWaitableTimer& operator=(const clsWaitableTimer&) = delete;

    // Waits MilliSeconds (0 or less: processes the pending events once).
    // Throws WaitableTimerError when there is no application event loop.
    void Wait(int MilliSeconds);

    // The number of waits of this object in progress (nested ones counted).
    int ActiveWaits() const { return int(m_loops.size()); }

    // The error number of a failed wait (the object-error base plus 1).
    static constexpr int kErrorNumber = int(0x80040001u);

private:
    QList<QEventLoop*> m_loops;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
