#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Skin pictures are written as uncompressed 24-bit Windows bitmaps (the
// controls copy them into 24-bit DIB sections): bottom-up scan lines of
// blue, green, red bytes padded to four bytes, with a fixed 96 DPI
// resolution and nothing that varies between runs.
namespace BmpWriter {

QByteArray Encode(const QImage& image);

// Writes Encode(image) to `path`; false when the file cannot be written.
bool Save(const QImage& image, const QString& path);

} // namespace BmpWriter
