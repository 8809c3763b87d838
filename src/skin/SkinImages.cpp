#include "skin/SkinImages.h"

#include "skin/SkinPaths.h"
#include "winsvc/RegularFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <optional>
#include <utility>

namespace {

// The memory a decoder may take for one picture: the largest skin picture
// at 32 bits per pixel.
constexpr int kDecodeLimitMb = int(qint64(kMaxSkinSide) * kMaxSkinSide * 4 / (1024 * 1024));

bool fits(const QSize& size) {
    return size.width() <= kMaxSkinSide && size.height() <= kMaxSkinSide;
}

// Whether `path`, with every link and ".." resolved, lies inside `folder`:
// a skin must not show files from elsewhere through "../" names or links.
bool insideFolder(const QString& path, const QString& folder) {
    const QString real = QFileInfo(path).canonicalFilePath();
    QString root = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || root.isEmpty())
        return false;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return real.startsWith(root);
}

// The picture in the regular file `path`, refused before decoding when it
// declares a size beyond the bound (formats that declare none are checked
// after decoding, under Qt's allocation limit).
std::optional<QImage> readPicture(const QString& path) {
    // The largest skin picture (4096 px square, 32-bit) needs 64 MiB; a
    // decoder given a few hostile bytes must not be let to allocate more.
    if (QImageReader::allocationLimit() > kDecodeLimitMb || QImageReader::allocationLimit() <= 0)
        QImageReader::setAllocationLimit(kDecodeLimitMb);
    const int limitMb = QImageReader::allocationLimit();
    const qint64 maxBytes = qint64(limitMb > 0 ? limitMb : 256) * 1024 * 1024;
    QFile file;
    QString error;
    if (!RegularFile::Open(path, maxBytes, file, error))
        return std::nullopt;
    QImageReader reader(&file);
    // As when reading by file name: the suffix is tried first, then the content.
    reader.setFormat(QFileInfo(path).suffix().toLower().toLatin1());
    const QSize declared = reader.size();
    if (declared.isValid() && !fits(declared))
        return std::nullopt;
    QImage picture;
    if (!reader.read(&picture) || picture.isNull() || !fits(picture.size()))
        return std::nullopt;
    return picture;
}

} // namespace

SkinImages::SkinImages(QString folder) : m_folder(std::move(folder)) {
}

QString SkinImages::PathOf(const QString& name) const {
    return SkinPaths::Join(m_folder, name);
}

bool SkinImages::Load(const QString& name) {
    if (name.isEmpty() || m_loaded.contains(name)) {
        return true;
    }
    const QString path = PathOf(name);
    const std::optional<QImage> picture =
        insideFolder(path, m_folder) ? readPicture(path) : std::nullopt;
    if (!picture) {
        m_failedFile = path;
        return false;
    }
    m_loaded.insert(name, picture->convertToFormat(QImage::Format_RGB32));
    return true;
}

QImage SkinImages::Image(const QString& name) {
    if (!Load(name)) {
        return QImage();
    }
    return m_loaded.value(name);
}
