#include "support/VideoContainers.h"

#include "support/TestMedia.h"

#include <QList>
#include <QUuid>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>

namespace VideoContainers {
namespace {

// TestMedia's MPEG audio: MPEG-1 Layer III, 44.1 kHz, fixed-size frames.
constexpr int kFrameBytes = 417;
constexpr int kSampleRate = 44100;
constexpr int kFrameSamples = 1152;

QList<QByteArray> mp3Frames(double seconds) {
    const QByteArray all = TestMedia::SilentMp3(seconds);
    QList<QByteArray> out;
    for (qsizetype at = 0; at + kFrameBytes <= all.size(); at += kFrameBytes)
        out << all.mid(at, kFrameBytes);
    return out;
}

void appendBe(QByteArray& out, quint64 value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
}

void appendLe(QByteArray& out, quint64 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// A 33-bit MPEG clock value with its marker bits, after a 4-bit prefix.
void appendMpegClock(QByteArray& out, int prefix, quint64 clock) {
    out += char((prefix << 4) | ((clock >> 29) & 0x0E) | 1);
    appendBe(out, ((clock >> 14) & 0xFFFE) | 1, 2);
    appendBe(out, ((clock << 1) & 0xFFFE) | 1, 2);
}

} // namespace

QByteArray MpegProgramStream(double seconds) {
    QByteArray out;
    const QList<QByteArray> frames = mp3Frames(seconds);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        const quint64 pts = quint64(std::llround(double(i) * kFrameSamples * 90000 / kSampleRate));
        appendBe(out, 0x000001BA, 4); // MPEG-1 pack: clock reference, mux rate
        appendMpegClock(out, 0x2, pts);
        appendBe(out, 0x800001 | (2000 << 1), 3);
        appendBe(out, 0x000001C0, 4); // audio stream 0
        appendBe(out, quint64(5 + frames[i].size()), 2);
        appendMpegClock(out, 0x2, pts + 45000); // presented half a second in
        out += frames[i];
    }
    appendBe(out, 0x000001B9, 4); // end of program stream
    return out;
}

QByteArray Flv(double seconds) {
    const auto tag = [](QByteArray& out, int type, quint32 ms, const QByteArray& data) {
        out += char(type);
        appendBe(out, quint64(data.size()), 3);
        appendBe(out, ms & 0xFFFFFF, 3);
        out += char(ms >> 24);
        appendBe(out, 0, 3); // stream id
        out += data;
        appendBe(out, quint64(11 + data.size()), 4);
    };
    QByteArray out = "FLV";
    out += char(1);    // version
    out += char(0x04); // audio only
    appendBe(out, 9, 4);
    appendBe(out, 0, 4); // size of the tag before the first

    QByteArray meta;
    meta += char(0x02); // AMF0 string
    appendBe(meta, 10, 2);
    meta += "onMetaData";
    meta += char(0x08); // ECMA array of one entry
    appendBe(meta, 1, 4);
    appendBe(meta, 8, 2);
    meta += "duration";
    meta += char(0x00); // AMF0 number
    const quint64 bits = qToBigEndian(std::bit_cast<quint64>(seconds));
    meta += QByteArray(reinterpret_cast<const char*>(&bits), 8);
    appendBe(meta, 0x000009, 3); // end of object
    tag(out, 0x12, 0, meta);

    const QList<QByteArray> frames = mp3Frames(seconds);
    for (qsizetype i = 0; i < frames.size(); ++i) {
        const auto ms = quint32(std::llround(double(i) * kFrameSamples * 1000 / kSampleRate));
        // MP3, 44 kHz, 16-bit, stereo
        tag(out, 0x08, ms, QByteArray(1, char(0x2F)) + frames[i]);
    }
    return out;
}

namespace {

// A GUID as ASF stores it: the first three fields little-endian.
QByteArray guid(const char* text) {
    QByteArray b = QUuid::fromString(QLatin1String(text)).toRfc4122();
    std::reverse(b.begin(), b.begin() + 4);
    std::reverse(b.begin() + 4, b.begin() + 6);
    std::reverse(b.begin() + 6, b.begin() + 8);
    return b;
}

QByteArray asfObject(const char* id, const QByteArray& body) {
    QByteArray out = guid(id);
    appendLe(out, quint64(24 + body.size()), 8);
    return out + body;
}

} // namespace

QByteArray Asf(double seconds) {
    constexpr quint64 kPrerollMs = 3000;
    const quint64 play = quint64(std::llround(seconds * 1e7)) + kPrerollMs * 10000;
    QByteArray file = guid("{5e0bd7a0-1c6b-4b5e-9d53-2f3c1a6e0001}");
    appendLe(file, 0, 8); // file size: not given
    appendLe(file, 0, 8); // creation date
    appendLe(file, 0, 8); // data packets
    appendLe(file, play, 8);
    appendLe(file, play, 8); // send duration
    appendLe(file, kPrerollMs, 8);
    appendLe(file, 0x02, 4); // seekable, not a broadcast
    appendLe(file, 3200, 4);
    appendLe(file, 3200, 4);
    appendLe(file, 128000, 4);

    QByteArray wave; // WAVEFORMATEX: MPEG Layer III
    appendLe(wave, 0x55, 2);
    appendLe(wave, 2, 2);
    appendLe(wave, kSampleRate, 4);
    appendLe(wave, 16000, 4);
    appendLe(wave, 1, 2);
    appendLe(wave, 0, 2);
    appendLe(wave, 0, 2);
    QByteArray stream = guid("{f8699e40-5b4d-11cf-a8fd-00805f5c442b}"); // audio
    stream += guid("{20fb5700-5b55-11cf-a8fd-00805f5c442b}");           // no error correction
    appendLe(stream, 0, 8);                                             // time offset
    appendLe(stream, quint64(wave.size()), 4);
    appendLe(stream, 0, 4);
    appendLe(stream, 1, 2); // stream number 1
    appendLe(stream, 0, 4);
    stream += wave;

    const QByteArray objects = asfObject("{8cabdca1-a947-11cf-8ee4-00c00c205365}", file) +
                               asfObject("{b7dc0791-a9b7-11cf-8ee6-00c00c205365}", stream);
    QByteArray header;
    appendLe(header, 2, 4); // objects
    header += char(1);
    header += char(2);
    header += objects;
    QByteArray data = guid("{5e0bd7a0-1c6b-4b5e-9d53-2f3c1a6e0001}");
    appendLe(data, 0, 8); // packets
    data += char(1);
    data += char(1);
    return asfObject("{75b22630-668e-11cf-a6d9-00aa0062ce6c}", header) +
           asfObject("{75b22636-668e-11cf-a6d9-00aa0062ce6c}", data);
}

} // namespace VideoContainers
