#include "net/HandOffConnection.h"

#include <QLocalSocket>
#include <QPointer>

HandOffConnection::HandOffConnection(QLocalSocket* socket, int idleTimeoutMs, QObject* parent)
    : QObject(parent), m_socket(socket) {
    m_socket->setParent(this);
    // Never buffer more than one frame's worth ahead of the reader.
    m_socket->setReadBufferSize(HandOffFrame::kHeaderSize + HandOffFrame::kMaxPayload);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &HandOffConnection::drop);
    connect(m_socket, &QLocalSocket::readyRead, this, &HandOffConnection::readAvailable);
    connect(m_socket, &QLocalSocket::disconnected, this, &HandOffConnection::drop);
    m_idle.start(idleTimeoutMs);
    // Bytes may have arrived before the signals were connected.
    QMetaObject::invokeMethod(this, &HandOffConnection::readAvailable, Qt::QueuedConnection);
}

void HandOffConnection::readAvailable() {
    while (!m_dropped && m_socket->bytesAvailable() > 0) {
        const QByteArray chunk =
            m_socket->read(HandOffFrame::kHeaderSize + HandOffFrame::kMaxPayload);
        QByteArrayView rest(chunk);
        while (!m_dropped && !rest.isEmpty()) {
            rest = rest.sliced(m_frame.Feed(rest));
            if (m_frame.Status() == HandOffFrame::State::Incomplete)
                continue;
            if (!finishFrame())
                return;
        }
    }
}

bool HandOffConnection::finishFrame() {
    if (m_frame.Status() != HandOffFrame::State::Complete) {
        drop();
        return false;
    }
    const QString text = m_frame.Text();
    m_frame.Reset();
    m_socket->write(&HandOffFrame::kAcknowledge, 1);
    m_socket->flush();
    // Every finished frame gives the client a fresh idle period for the next.
    m_idle.start();
    // A receiver may run for long or even delete the server: only a live
    // connection goes on reading.
    QPointer<HandOffConnection> alive(this);
    emit TextReceived(text);
    return alive && !m_dropped;
}

void HandOffConnection::drop() {
    if (m_dropped)
        return;
    m_dropped = true;
    m_idle.stop();
    m_socket->disconnect(this);
    m_socket->abort();
    deleteLater();
}
