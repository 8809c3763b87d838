#pragma once

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>

// A slow server on 127.0.0.1 for tests. Once a request's head is in, it
// answers 200 with a body of `length` bytes ("x"), sent one byte every `gap`;
// a negative length accepts and never answers at all. It counts the
// requests and the connections the client closed before the end.
class DripServer : public QObject {
public:
    DripServer(qsizetype length, std::chrono::milliseconds gap) : m_length(length) {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] { Accept(); });
        connect(&m_tick, &QTimer::timeout, this, [this] { Drip(); });
        m_tick.start(gap);
    }

    QString Base() const {
        return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
    }
    int Requests() const { return m_requests; }
    // Connections the client closed while the answer was not all sent.
    int Dropped() const { return m_dropped; }
    qsizetype Sent() const { return m_sent; }

private:
    struct Peer {
        QByteArray head;
        qsizetype left = -1; // bytes of the body still to send; -1 before the head is in
    };

    void Accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            m_peers.insert(socket, {});
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                if (m_peers.value(socket).left != 0)
                    ++m_dropped;
                m_peers.remove(socket);
            });
        }
    }

    void Read(QTcpSocket* socket) {
        Peer& peer = m_peers[socket];
        peer.head += socket->readAll();
        if (peer.left >= 0 || !peer.head.contains("\r\n\r\n"))
            return;
        ++m_requests;
        if (m_length < 0)
            return;
        peer.left = m_length;
        socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(m_length) + "\r\n\r\n");
    }

    void Drip() {
        QList<QTcpSocket*> done; // closed after the loop, which a close may change
        for (auto it = m_peers.begin(); it != m_peers.end(); ++it) {
            if (it->left <= 0)
                continue;
            it.key()->write("x");
            ++m_sent;
            if (--it->left == 0)
                done << it.key();
        }
        for (QTcpSocket* socket : done)
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QTimer m_tick;
    qsizetype m_length;
    QHash<QTcpSocket*, Peer> m_peers;
    int m_requests = 0;
    int m_dropped = 0;
    qsizetype m_sent = 0;
};
