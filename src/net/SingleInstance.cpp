#include "net/SingleInstance.h"

#include "net/HandOffFrame.h"
#include "net/HandOffServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

Q_LOGGING_CATEGORY(lcInstance, "melodeck.instance")

// How often a second instance retries while the first one holds the lock but
// is not listening yet (it may be starting at this very moment).
constexpr int kConnectRetryMs = 25;

QString UserId() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// The per-user runtime folder is private to the user (mode 0700); Qt makes a
// private fallback under the temporary folder when the session has none.
QString RuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

bool Connect(QLocalSocket& socket, const QString& name, const QDeadlineTimer& deadline) {
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            return true;
        socket.abort();
        if (deadline.remainingTime() <= kConnectRetryMs)
            return false;
        QThread::msleep(kConnectRetryMs);
    }
}

bool AwaitAcknowledgement(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == HandOffFrame::kAcknowledge;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(RuntimeFolder(), parent) {
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_serverName(QDir(folder).filePath(BaseName())),
      m_lockPath(m_serverName + QStringLiteral(".lock")) {
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::BaseName() {
    return QStringLiteral("Melodeck.FormDDE.") + UserId();
}

SingleInstance::Role SingleInstance::Start() {
    if (m_server)
        return Role::First;
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Never stale by age: the lock lives as long as the first instance. A
    // lock whose process has died is still recognised as stale by its owner's
    // process id.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return Role::Second;
        qCWarning(lcInstance) << "instance lock" << m_lockPath
                              << "cannot be made; running unlocked";
    }
    m_server = new HandOffServer(this);
    connect(m_server, &HandOffServer::CommandLineReceived, this,
            &SingleInstance::CommandLineReceived);
    if (!m_server->Listen(m_serverName))
        qCWarning(lcInstance) << "hand-off socket" << m_serverName
                              << "unavailable:" << m_server->ErrorString();
    return Role::First;
}

bool SingleInstance::Listening() const {
    return m_server && !m_server->FullServerName().isEmpty();
}

bool SingleInstance::SendCommandLine(const QString& commandLine, int timeoutMs) const {
    return SendCommand(HandOffFrame::CommandText(commandLine), timeoutMs);
}

bool SingleInstance::SendCommand(const QString& text, int timeoutMs) const {
    const auto frame = HandOffFrame::Encode(text);
    if (!frame)
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    if (!Connect(socket, m_serverName, deadline))
        return false;
    socket.write(*frame);
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    const bool acknowledged = AwaitAcknowledgement(socket, deadline);
    socket.abort();
    return acknowledged;
}
