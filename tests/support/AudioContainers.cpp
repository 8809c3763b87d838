#include "support/AudioContainers.h"

#include <algorithm>
#include <cmath>

namespace AudioContainers {
namespace {

constexpr int kRate = 44100;
constexpr int kBlock = 4096;

void appendBe(QByteArray& out, quint64 value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
}

// CRC-8 (x^8 + x^2 + x + 1) of a FLAC frame header.
quint8 crc8(const QByteArray& data) {
    quint8 crc = 0;
    for (char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = quint8((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

// CRC-16 (x^16 + x^15 + x^2 + 1) of a whole FLAC frame.
quint16 crc16(const QByteArray& data) {
    quint16 crc = 0;
    for (char c : data) {
        crc ^= quint16(quint8(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = quint16((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

// Frame `number` (below 2048): a fixed block of kBlock samples at 44.1 kHz,
// mono, 16 bits, holding one constant subframe of silence.
QByteArray flacFrame(int number) {
    QByteArray frame("\xFF\xF8\xC9\x08", 4); // sync; 4096 samples, 44.1 kHz; mono, 16 bits
    if (number < 0x80) {
        frame += char(number);
    } else {
        frame += char(0xC0 | (number >> 6));
        frame += char(0x80 | (number & 0x3F));
    }
    frame += char(crc8(frame));
    frame += QByteArray(3, '\0'); // CONSTANT subframe, its 16-bit value 0
    appendBe(frame, crc16(frame), 2);
    return frame;
}

QByteArray box(const char* type, const QByteArray& body) {
    QByteArray out;
    appendBe(out, quint64(body.size()) + 8, 4);
    return out + QByteArray(type, 4) + body;
}

} // namespace

QByteArray SilentFlac(double seconds) {
    const int count = std::clamp(int(std::ceil(seconds * kRate / kBlock)), 1, 2047);
    QByteArray frames;
    int smallest = 1 << 24, largest = 0;
    for (int i = 0; i < count; ++i) {
        const QByteArray frame = flacFrame(i);
        smallest = std::min(smallest, int(frame.size()));
        largest = std::max(largest, int(frame.size()));
        frames += frame;
    }
    QByteArray info;
    appendBe(info, kBlock, 2);
    appendBe(info, kBlock, 2);
    appendBe(info, quint64(smallest), 3);
    appendBe(info, quint64(largest), 3);
    // 20 bits of rate, 3 of channels - 1 (0), 5 of bits - 1 (15), 36 of samples.
    const quint64 samples = quint64(count) * kBlock;
    appendBe(info, (quint64(kRate) << 44) | (quint64(15) << 36) | samples, 8);
    info += QByteArray(16, '\0'); // MD5 not given
    QByteArray out("fLaC");
    out += char(0x80); // last metadata block, STREAMINFO
    appendBe(out, quint64(info.size()), 3);
    return out + info + frames;
}

QByteArray EmptyM4a(double seconds) {
    QByteArray ftyp("M4A ");
    appendBe(ftyp, 0, 4);
    ftyp += "M4A isom";
    QByteArray mvhd(4, '\0'); // version 0, no flags
    appendBe(mvhd, 0, 8);     // created, modified
    appendBe(mvhd, 1000, 4);  // time scale
    appendBe(mvhd, quint64(std::lround(seconds * 1000)), 4);
    appendBe(mvhd, 0x00010000, 4); // rate 1.0
    appendBe(mvhd, 0x0100, 2);     // volume 1.0
    mvhd += QByteArray(10, '\0');
    for (quint32 m : {0x00010000u, 0u, 0u, 0u, 0x00010000u, 0u, 0u, 0u, 0x40000000u})
        appendBe(mvhd, m, 4); // the identity matrix
    mvhd += QByteArray(24, '\0');
    appendBe(mvhd, 1, 4); // next track
    return box("ftyp", ftyp) + box("moov", box("mvhd", mvhd)) + box("mdat", QByteArray());
}

} // namespace AudioContainers
