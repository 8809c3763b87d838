#pragma once

#include <QObject>

#include <array>

#include <signal.h>

class QSocketNotifier;

// Turns the termination signals SIGTERM, SIGINT and SIGHUP into a Qt signal
// on the thread that made the object (the GUI thread), so that the program
// ends through its normal exit path and saves what it must.
//
// The handler does nothing but write the signal's number into one end of a
// socket pair (write() is async-signal-safe); a socket notifier on the other
// end reads it in the event loop. One object can exist at a time, since a
// signal handler has no other way to find it than one process-wide
// descriptor. The previous handlers come back when it is destroyed.
class ExitSignals : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

    // Installs the handlers. Throws std::runtime_error when the socket pair
    // cannot be made or another ExitSignals exists.
    explicit ExitSignals(QObject* parent = nullptr);
    ~ExitSignals() override;
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    // Puts the handlers back, for after a library (such as the media engine's)
    // has installed its own. Cheap; safe to call at any time.
    void Reinstall();
    // Whether every one of the signals is handled by this object right now.
    bool HandlersInPlace() const;

signals:
    // One emission per signal received, in the order they arrived.
    void ExitRequested(int signalNumber);

private:
    void readPending();

    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    std::array<struct sigaction, kSignals.size()> m_previous{};
};
