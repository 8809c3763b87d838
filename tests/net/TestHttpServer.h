#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <optional>

// A tiny HTTP server on 127.0.0.1 for tests: it reads each request's head,
// records its first line, and writes what the test's responder returns, then
// closes the connection. A responder that returns nothing leaves the client
// waiting for ever.
class TestHttpServer : public QObject {
public:
    using Responder = std::function<std::optional<QByteArray>(const QByteArray& requestLine)>;

    explicit TestHttpServer(Responder responder) : m_responder(std::move(responder)) {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] { Accept(); });
    }

    // Answers every request with `body` (status 200, a Content-Length).
    explicit TestHttpServer(const QByteArray& body)
        : TestHttpServer([body](const QByteArray&) { return Response(body); }) {}

    QString Base() const {
        return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
    }
    quint16 Port() const { return m_server.serverPort(); }
    const QList<QByteArray>& RequestLines() const { return m_lines; }
    int Connections() const { return m_connections; }

    // A port on 127.0.0.1 that nothing listens on any more: connections are refused.
    static quint16 ClosedPort() {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }

    static QByteArray Response(const QByteArray& body, int status = 200,
                               const QByteArray& headers = QByteArray(), bool withLength = true) {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\n" + headers +
                          "Connection: close\r\n";
        if (withLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        return head + "\r\n" + body;
    }

private:
    void Accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    }

    void Read(QTcpSocket* socket) {
        QByteArray& head = m_heads[socket];
        head += socket->readAll();
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray line = head.left(head.indexOf("\r\n"));
        m_heads.remove(socket);
        m_lines << line;
        if (const std::optional<QByteArray> reply = m_responder(line)) {
            socket->write(*reply);
            socket->disconnectFromHost();
        }
    }

    QTcpServer m_server;
    Responder m_responder;
    QHash<QTcpSocket*, QByteArray> m_heads;
    QList<QByteArray> m_lines;
    int m_connections = 0;
};
