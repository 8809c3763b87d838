#include "support/TestMedia.h"

#include <QFile>
#include <QtEndian>
#include <cmath>

namespace TestMedia {
namespace {

// One MPEG-1 Layer III frame at 128 kbit/s, 44.1 kHz, no padding: 417 bytes.
// Side information of all zeros gives a frame that decodes to silence.
constexpr int kFrameBytes = 417;
constexpr double kFrameSeconds = 1152.0 / 44100.0;

QByteArray frames(double seconds) {
    const int count = std::max(1, int(std::lround(seconds / kFrameSeconds)));
    QByteArray frame(kFrameBytes, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB); // MPEG-1, Layer III, no CRC
    frame[2] = char(0x90); // 128 kbit/s, 44.1 kHz, no padding
    frame[3] = char(0x64); // joint stereo
    QByteArray out;
    out.reserve(count * kFrameBytes);
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

} // namespace

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
