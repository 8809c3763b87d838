#pragma once

#include "net/HandOffFrame.h"

#include <QObject>
#include <QTimer>

class QLocalSocket;

// The first instance's side of one connection from another instance. Reads
// frames as their bytes arrive, never waiting for them, acknowledges each
// valid one and reports its text. A connection that sends a length over the
// limit or text that is not UTF-8 is cut at once; one that has not completed
// a frame within the idle time-out is dropped, so a silent or slow client
// holds nothing but its own socket. The object deletes itself (and its
// socket) when the connection ends.
class HandOffConnection : public QObject {
    Q_OBJECT
public:
    // Takes ownership of `socket`.
    HandOffConnection(QLocalSocket* socket, int idleTimeoutMs, QObject* parent = nullptr);

    // Ends the connection now (the object then deletes itself).
    void Drop() { drop(); }

signals:
    // A complete frame's text, emitted after its acknowledgement was written.
    void TextReceived(const QString& text);

private:
    void readAvailable();
    // Handles one finished frame; returns false when the connection ended.
    bool finishFrame();
    void drop();

    QLocalSocket* m_socket;
    HandOffFrame m_frame;
    QTimer m_idle;
    bool m_dropped = false;
};
