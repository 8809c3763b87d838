#include "net/SingleInstance.h"

#include "net/HandOffFrame.h"
#include "net/HandOffServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
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

// A folder only this user can enter: a directory (not a link to one) owned
// by the user, with no rights for anyone else. In any other folder another
// user could make the lock and socket first and receive the hand-offs.
bool IsPrivateFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    struct stat st {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &st) == 0 &&
           S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
#else
    return !folder.isEmpty();
#endif
}

// Nothing at `path`, or an entry of this user's that is not a link. A lock
// or socket another user left in the folder (a copy that account ran with
// this folder, through sudo or su say) is neither this user's running copy
// nor a place for its items, and not this program's to remove.
bool MissingOrOwn(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return st.st_uid == ::getuid() && !S_ISLNK(st.st_mode);
#else
    Q_UNUSED(path);
    return true;
#endif
}

// Whether the process at the other end of a connected socket is this user's:
// the file's owner may have changed since it was looked at.
bool PeerIsThisUser(const QLocalSocket& socket) {
#ifdef Q_OS_LINUX
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) ==
               0 &&
           peer.uid == ::getuid();
#else
    Q_UNUSED(socket);
    return true;
#endif
}

} // namespace

QString SingleInstance::PrivateRuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (IsPrivateFolder(folder))
        return folder;
    // Never the shared temporary folder itself: a folder of our own in it,
    // made private, or none.
    const QString own = QDir::tempPath() + QStringLiteral("/melodeck-") + UserId();
#ifdef Q_OS_UNIX
    ::mkdir(QFile::encodeName(own).constData(), 0700);
#else
    QDir().mkpath(own);
#endif
    return IsPrivateFolder(own) ? own : QString();
}

namespace {

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

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(PrivateRuntimeFolder(), parent) {
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent),
      m_serverName(folder.isEmpty() ? QString() : QDir(folder).filePath(BaseName())),
      m_lockPath(folder.isEmpty() ? QString() : m_serverName + QStringLiteral(".lock")) {
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::BaseName() {
    return QStringLiteral("Melodeck.FormDDE.") + UserId();
}

SingleInstance::Role SingleInstance::Start() {
    if (m_server)
        return Role::First;
    if (m_serverName.isEmpty()) {
        qCWarning(lcInstance) << "no private runtime folder: running without hand-offs";
        return Role::First;
    }
    if (!MissingOrOwn(m_lockPath) || !MissingOrOwn(m_serverName)) {
        qCWarning(lcInstance).noquote()
            << "the instance lock or socket" << m_serverName
            << "belongs to another user: running without hand-offs; remove them to have them back";
        return Role::First;
    }
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Never stale by age: the lock lives as long as the first instance. A
    // lock whose process has died is still recognised as stale by its owner's
    // process id.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        // Only a lock that names its holder is another copy's: something
        // else in the lock's place (a folder, an unreadable file) is not.
        qint64 pid = 0;
        QString host;
        QString application;
        if (m_lock->error() == QLockFile::LockFailedError &&
            m_lock->getLockInfo(&pid, &host, &application))
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
    if (!frame || m_serverName.isEmpty())
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    if (!Connect(socket, m_serverName, deadline))
        return false;
    if (!PeerIsThisUser(socket)) {
        qCWarning(lcInstance).noquote() << "the hand-off socket" << m_serverName
                                        << "is served by another user: not handed over";
        return false;
    }
    socket.write(*frame);
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    const bool acknowledged = AwaitAcknowledgement(socket, deadline);
    socket.abort();
    return acknowledged;
}
