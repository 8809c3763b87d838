#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// One message of the hand-off between two instances of the program, and the
// reader that takes it apart as its bytes arrive.
//
// Wire format, the same in both directions of a connection:
//   client -> server: a 4-byte unsigned big-endian length N (0 <= N <= 65536),
//                     then N bytes of UTF-8 text (no terminating zero);
//   server -> client: one byte kAcknowledge for every frame accepted.
// A connection may carry several frames one after the other. A length over
// the limit, or text that is not valid UTF-8, ends the connection without an
// acknowledgement. The text of a hand-off is "CommandLine=" followed by the
// second instance's items, separated by NUL; other texts are acknowledged and
// ignored.
//
// The reader holds no window and no socket, so a fuzzer can feed it anything
// in any pieces.
class HandOffFrame {
public:
    static constexpr int kHeaderSize = 4;
    static constexpr qsizetype kMaxPayload = 64 * 1024;
    static constexpr char kAcknowledge = '\x06';

    enum class State {
        Incomplete, // more bytes are needed
        Complete,   // Text() holds the frame's text
        TooLarge,   // the declared length is over kMaxPayload; nothing more is read
        BadText,    // the payload is not valid UTF-8
    };

    // Takes bytes from the front of `data` up to the end of the current frame
    // and returns how many it took; the rest belongs to the next frame. Takes
    // nothing once the frame is complete or refused (call Reset first).
    qsizetype Feed(QByteArrayView data);
    State Status() const { return m_state; }
    // The declared payload length, once the header is read (else -1).
    qint64 DeclaredLength() const { return m_declared; }
    // The frame's text; empty unless Status() is Complete.
    const QString& Text() const { return m_text; }
    // Starts over on a new frame.
    void Reset();

    // The frame for `text`, or nothing when its UTF-8 form is over the limit.
    static std::optional<QByteArray> Encode(const QString& text);
    // The command line carried by a hand-off text: what follows exactly
    // "CommandLine=" (case-sensitive), or nothing for any other text.
    static std::optional<QString> CommandLineOf(const QString& text);
    static QString CommandText(const QString& commandLine);
    // Several items in one command line, separated by NUL (which no path or
    // address holds), and back; a command line without NUL, as older copies
    // send it, is one item.
    static QString JoinItems(const QStringList& items);
    static QStringList ItemsOf(const QString& commandLine);

private:
    void finishPayload();

    State m_state = State::Incomplete;
    QByteArray m_header;
    QByteArray m_payload;
    qint64 m_declared = -1;
    QString m_text;
};
