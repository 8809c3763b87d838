#include "BmpWriter.h"

#include <QFile>

namespace BmpWriter {

namespace {

constexpr int kFileHeader = 14;
constexpr int kInfoHeader = 40;
constexpr int kPixelsPerMetre = 3780; // 96 DPI

void put16(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& out, qint64 v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}

} // namespace

QByteArray Encode(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height();
    const int stride = (w * 3 + 3) & ~3;
    const qint64 pixelBytes = qint64(stride) * h;

    QByteArray out;
    out.reserve(int(kFileHeader + kInfoHeader + pixelBytes));
    out.append("BM", 2);
    put32(out, kFileHeader + kInfoHeader + pixelBytes);
    put32(out, 0); // reserved
    put32(out, kFileHeader + kInfoHeader);
    put32(out, kInfoHeader);
    put32(out, w);
    put32(out, h); // positive: bottom-up
    put16(out, 1); // planes
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, pixelBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0); // colours used
    put32(out, 0); // important colours

    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        for (int pad = w * 3; pad < stride; ++pad)
            out.append('\0');
    }
    return out;
}

bool Save(const QImage& image, const QString& path) {
    const QByteArray bytes = Encode(image);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace BmpWriter
