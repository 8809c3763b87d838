#include "support/TestMedia.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <cmath>

namespace TestMedia {
namespace {

// One MPEG-1 Layer III frame at 128 kbit/s, 44.1 kHz, no padding: 417 bytes.
// Side information of all zeros gives a frame that decodes to silence.
constexpr int kFrameBytes = 417;
constexpr double kFrameSeconds = 1152.0 / 44100.0;

// `seconds` of frames of `bytes` each (at least one), each starting with
// `header`, the rest zeros.
QByteArray frames(double seconds, const QByteArray& header = QByteArray("\xFF\xFB\x90\x64"),
                  int bytes = kFrameBytes, double frameSeconds = kFrameSeconds) {
    const int count = std::max(1, int(std::lround(seconds / frameSeconds)));
    QByteArray frame(bytes, '\0');
    frame.replace(0, header.size(), header);
    QByteArray out;
    out.reserve(count * bytes);
    for (int i = 0; i < count; ++i)
        out += frame;
    return out;
}

QByteArray syncSafe(quint32 n) {
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i) {
        b[i] = char(n & 0x7F);
        n >>= 7;
    }
    return b;
}

QByteArray id3v2WithTitle(const QByteArray& title) {
    QByteArray body;
    body += '\0'; // text encoding: ISO-8859-1, the legacy 8-bit form
    body += title;
    QByteArray frame = "TIT2";
    quint32 size = quint32(body.size());
    frame += char(size >> 24);
    frame += char(size >> 16);
    frame += char(size >> 8);
    frame += char(size);
    frame += QByteArray(2, '\0'); // flags
    frame += body;
    QByteArray tag = "ID3";
    tag += char(3);
    tag += char(0);
    tag += char(0); // flags
    tag += syncSafe(quint32(frame.size()));
    return tag + frame;
}

void appendLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

QByteArray chunk(const char* id, const QByteArray& body) {
    QByteArray out(id, 4);
    appendLe(out, quint32(body.size()), 4);
    out += body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray list(const char* type, const QByteArray& body) {
    return chunk("LIST", QByteArray(type, 4) + body);
}

QByteArray jpegFrame(int index, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((index * 37) % 360, 200, 220));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return jpeg;
}

} // namespace

QByteArray MjpegAvi(int frames, QSize size, int fps) {
    QList<QByteArray> jpegs;
    quint32 largest = 0;
    for (int i = 0; i < frames; ++i) {
        jpegs << jpegFrame(i, size);
        largest = std::max(largest, quint32(jpegs.last().size()));
    }
    const auto w = quint32(size.width()), h = quint32(size.height());

    QByteArray avih;
    for (quint32 v : {quint32(1000000 / fps), largest * quint32(fps), 0u, 0x10u /* has index */,
                      quint32(frames), 0u, 1u, largest, w, h, 0u, 0u, 0u, 0u})
        appendLe(avih, v, 4);

    QByteArray strh = "vidsMJPG";
    for (quint32 v : {0u, 0u, 0u, 1u, quint32(fps), 0u, quint32(frames), largest, 0xFFFFFFFFu, 0u})
        appendLe(strh, v, 4);
    for (quint32 v : {0u, 0u, w, h})
        appendLe(strh, v, 2);

    QByteArray strf;
    appendLe(strf, 40, 4);
    appendLe(strf, w, 4);
    appendLe(strf, h, 4);
    appendLe(strf, 1, 2);
    appendLe(strf, 24, 2);
    strf += "MJPG";
    appendLe(strf, w * h * 3, 4);
    strf += QByteArray(16, '\0');

    QByteArray movi;
    QByteArray index;
    for (const QByteArray& jpeg : jpegs) {
        index += "00dc";
        appendLe(index, 0x10, 4);                     // key frame
        appendLe(index, quint32(movi.size() + 4), 4); // from the "movi" type
        appendLe(index, quint32(jpeg.size()), 4);
        movi += chunk("00dc", jpeg);
    }

    const QByteArray hdrl =
        list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
    const QByteArray body = QByteArray("AVI ") + hdrl + list("movi", movi) + chunk("idx1", index);
    return chunk("RIFF", body);
}

QByteArray SilentMp3(double seconds, const QByteArray& id3v2Title) {
    QByteArray out;
    if (!id3v2Title.isEmpty())
        out += id3v2WithTitle(id3v2Title);
    out += frames(seconds);
    return out;
}

QByteArray SilentMp3WithId3v1(double seconds, const QByteArray& title) {
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, std::min<qsizetype>(30, title.size()), title.left(30));
    tag[127] = char(255); // no genre
    return frames(seconds) + tag;
}

QByteArray SilentMpeg2Mp3(double seconds) {
    // MPEG-2, Layer III, no CRC; 64 kbit/s, 24 kHz; mono: 72 * 64000 / 24000
    // bytes a frame, 576 samples.
    return frames(seconds, QByteArray("\xFF\xF3\x84\xC0"), 192, 576.0 / 24000.0);
}

QByteArray SilentWav(double seconds, int sampleRate) {
    const quint32 samples = quint32(std::lround(seconds * sampleRate));
    const quint32 dataBytes = samples * 2;
    QByteArray out = "RIFF";
    appendLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    appendLe(out, 16, 4);
    appendLe(out, 1, 2); // PCM
    appendLe(out, 1, 2); // mono
    appendLe(out, quint32(sampleRate), 4);
    appendLe(out, quint32(sampleRate) * 2, 4);
    appendLe(out, 2, 2);
    appendLe(out, 16, 2);
    out += "data";
    appendLe(out, dataBytes, 4);
    out += QByteArray(int(dataBytes), '\0');
    return out;
}

bool WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(data) == data.size();
}

} // namespace TestMedia
