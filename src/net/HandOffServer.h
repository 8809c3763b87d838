#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class HandOffConnection;
class QLocalServer;

// The first instance's listening end of the hand-off: a local socket only its
// own user may open. Every connection is served by a HandOffConnection on the
// GUI thread without blocking it.
class HandOffServer : public QObject {
    Q_OBJECT
public:
    // How long a client may take to complete a frame before it is dropped.
    static constexpr int kDefaultIdleTimeoutMs = 2000;
    // Connections served at once, so that a flood cannot use up the
    // process's file descriptors; a new one closes the oldest.
    static constexpr int kMaxConnections = 32;

    explicit HandOffServer(QObject* parent = nullptr);
    ~HandOffServer() override;

    // Listens on `name` (a full socket path), replacing a socket file left by
    // a process that ended without removing it. The caller must know that no
    // live server uses the name (it holds the instance lock). Returns whether
    // the server listens; ErrorString() says why not.
    bool Listen(const QString& name);
    QString FullServerName() const;
    QString ErrorString() const;
    void SetIdleTimeout(int ms) { m_idleTimeoutMs = ms; }
    int OpenConnections() const { return m_open; }

signals:
    // The command line of a "CommandLine=" hand-off, already acknowledged.
    void CommandLineReceived(const QString& commandLine);
    // Any acknowledged frame's text, hand-off or not.
    void CommandReceived(const QString& text);

private:
    void acceptPending();

    QLocalServer* m_server;
    int m_idleTimeoutMs = kDefaultIdleTimeoutMs;
    int m_open = 0;
    // Open connections, oldest first.
    QList<QPointer<HandOffConnection>> m_connections;
};
