#include "net/HandOffServer.h"

#include "net/HandOffConnection.h"
#include "net/HandOffFrame.h"

#include <QLocalServer>
#include <QLocalSocket>

HandOffServer::HandOffServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &HandOffServer::acceptPending);
}

HandOffServer::~HandOffServer() = default;

bool HandOffServer::Listen(const QString& name) {
    // Qt binds a user-only socket in a private temporary folder and renames
    // it over the name, which already replaces a dead process's socket file;
    // the removal below covers a listen that refuses an existing file.
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(name);
    return m_server->listen(name);
}

QString HandOffServer::FullServerName() const {
    return m_server->fullServerName();
}

QString HandOffServer::ErrorString() const {
    return m_server->errorString();
}

void HandOffServer::acceptPending() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // At the limit the oldest connection makes room: refusing the
        // newest let a process holding idle connections keep every real
        // second start out, while a real one sends its frame at once.
        m_connections.removeAll(nullptr);
        if (m_open >= kMaxConnections && !m_connections.isEmpty())
            m_connections.takeFirst()->Drop();
        auto* connection = new HandOffConnection(socket, m_idleTimeoutMs, this);
        m_connections.append(connection);
        ++m_open;
        connect(connection, &QObject::destroyed, this, [this] { --m_open; });
        connect(connection, &HandOffConnection::TextReceived, this, [this](const QString& text) {
            emit CommandReceived(text);
            if (const auto commandLine = HandOffFrame::CommandLineOf(text))
                emit CommandLineReceived(*commandLine);
        });
    }
}
