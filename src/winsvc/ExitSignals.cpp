#include "winsvc/ExitSignals.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <stdexcept>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The write end of the live object's socket pair; the only thing the handler
// can reach. -1 while no ExitSignals exists.
volatile sig_atomic_t g_writeFd = -1;

extern "C" void OnExitSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Non-blocking: when the pipe is somehow full, the signals already queued
    // end the program all the same.
    [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

struct sigaction OurAction() {
    struct sigaction action {};
    action.sa_handler = OnExitSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: libraries in the process (libmpv says
    // so outright) fail at random otherwise.
    action.sa_flags = SA_RESTART;
    return action;
}

void SetFlags(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

} // namespace

ExitSignals::ExitSignals(QObject* parent) : QObject(parent) {
    if (g_writeFd != -1)
        throw std::runtime_error("exit signals are already handled by another object");
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds) != 0)
        throw std::runtime_error("no socket pair for the exit signals");
    SetFlags(m_fds[0]);
    SetFlags(m_fds[1]);
    g_writeFd = m_fds[1];
    m_notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::readPending);
    const struct sigaction action = OurAction();
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

ExitSignals::~ExitSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeFd = -1;
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void ExitSignals::Reinstall() {
    const struct sigaction action = OurAction();
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

bool ExitSignals::HandlersInPlace() const {
    for (const int signalNumber : kSignals) {
        struct sigaction current {};
        if (::sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler != OnExitSignal)
            return false;
    }
    return true;
}

void ExitSignals::readPending() {
    unsigned char bytes[16];
    for (;;) {
        const ssize_t n = ::read(m_fds[0], bytes, sizeof bytes);
        if (n <= 0)
            break;
        // A receiver may delete this object while it handles the signal.
        const QPointer<ExitSignals> alive(this);
        for (ssize_t i = 0; i < n && alive; ++i)
            emit ExitRequested(int(bytes[i]));
        if (!alive)
            return;
    }
}
