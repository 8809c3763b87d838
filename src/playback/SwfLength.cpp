#include "playback/SwfLength.h"

#include "winsvc/RegularFile.h"

#include <QFile>
#include <limits>
#include <zlib.h>

namespace SwfLength {
namespace {

// After the signature, version and file length come the stage size (a
// bit-packed rectangle of at most 17 bytes), the frame rate (8.8 fixed
// point) and the frame count (16 bits).
constexpr int kPlainHeaderBytes = 8;
constexpr int kMaxRestBytes = 17 + 4;
// A longer "length" is a broken header, not a film (as for other videos).
constexpr double kMaxSeconds = 1e6;

// The start of a CWS body inflated, as much of it as the header needs;
// empty when the stream is broken before that.
QByteArray Inflated(const QByteArray& body) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    QByteArray out(kMaxRestBytes, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.constData()));
    stream.avail_in = uInt(body.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_SYNC_FLUSH);
    const qsizetype produced = out.size() - qsizetype(stream.avail_out);
    inflateEnd(&stream);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
        return {};
    out.truncate(produced);
    return out;
}

// Frame rate and count after the rectangle of `rest`; 0 when cut off.
double FromRest(const QByteArray& rest) {
    if (rest.isEmpty())
        return 0.0;
    const int bitsPerField = quint8(rest[0]) >> 3;
    const qsizetype rectBytes = (5 + 4 * bitsPerField + 7) / 8;
    if (rest.size() < rectBytes + 4)
        return 0.0;
    const auto byteAt = [&rest](qsizetype i) { return int(quint8(rest[i])); };
    const int rate = byteAt(rectBytes) | byteAt(rectBytes + 1) << 8;
    const int frames = byteAt(rectBytes + 2) | byteAt(rectBytes + 3) << 8;
    if (rate == 0 || frames == 0)
        return 0.0;
    const double seconds = frames / (rate / 256.0);
    return seconds <= kMaxSeconds ? seconds : 0.0;
}

} // namespace

double FromHead(const QByteArray& head) {
    if (head.size() <= kPlainHeaderBytes || head.mid(1, 2) != "WS")
        return 0.0;
    const QByteArray body = head.mid(kPlainHeaderBytes);
    if (head[0] == 'F')
        return FromRest(body.left(kMaxRestBytes));
    if (head[0] == 'C')
        return FromRest(Inflated(body));
    return 0.0;
}

double Read(const QString& path) {
    QFile file;
    QString error;
    if (!RegularFile::Open(path, std::numeric_limits<qint64>::max(), file, error))
        return 0.0;
    return FromHead(file.read(kHeadBytes));
}

} // namespace SwfLength
