#include "playlist/DropTexts.h"

#include "playback/EngineDoor.h"
#include "playback/modFile.h"
#include "skin/ModTextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <array>

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
// Whether a format is the URI list, in the order they are read.
constexpr std::array<bool, 2> kFormats{true, false};

bool IsOwnLink(const QString& text) {
    return modFile::GetPathKind(text) == PathKind::OwnLink &&
           text.size() > QLatin1String("melodeck://").size();
}

// A file URL of this machine as a path; empty for any other text. The
// engine door's reading, so "file://localhost/..." is a path here too
// (QUrl::toLocalFile makes it "//localhost/...").
QString LocalPath(const QString& text) {
    return EngineDoor::LocalPathOfFileUrl(text).value_or(QString());
}

} // namespace

DropTexts::DropTexts(int maxFiles, int maxEntries)
    : m_maxFiles(maxFiles), m_maxEntries(maxEntries) {
}

bool DropTexts::IsStreamAddress(const QString& text) {
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("mms"), QStringLiteral("rtsp")};
    if (text.size() > kMaxLineLength || EngineDoor::HasUnsafeCharacters(text)) {
        return false;
    }
    const QUrl url(text);
    return url.isValid() && schemes.contains(url.scheme()) && !url.host().isEmpty();
}

bool DropTexts::IsMediaFile(const QString& name) {
    static const QStringList extensions = modFile::MediaExtensions();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && extensions.contains(name.mid(dot + 1).toLower());
}

QStringList DropTexts::Lines(const QMimeData& mime, bool uriList) {
    QString text;
    if (uriList && mime.hasFormat(kUriList)) {
        const QByteArray bytes = mime.data(kUriList);
        if (bytes.size() <= kMaxTextBytes) {
            text = QString::fromUtf8(bytes);
        }
    } else if (!uriList && mime.hasText()) {
        text = mime.text();
    }
    if (text.size() > kMaxTextBytes) {
        return {};
    }
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        // Comments are part of the URI list's format.
        if (!trimmed.isEmpty() && trimmed.size() <= kMaxLineLength &&
            !(uriList && trimmed.startsWith(u'#'))) {
            lines.append(trimmed);
        }
    }
    return lines;
}

DropTexts::Kind DropTexts::Classify(const QString& line, bool uriList, QString& text) {
    text = line;
    if (line.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        text = LocalPath(line);
        return ClassifyPath(text);
    }
    if (IsOwnLink(line)) {
        // Links are never escaped themselves; the URI list escapes what an
        // address cannot hold (a singer's name in Chinese).
        if (uriList) {
            text = QUrl::fromPercentEncoding(line.toUtf8());
        }
        return EngineDoor::HasUnsafeCharacters(text) ? Kind::None : Kind::Address;
    }
    if (IsStreamAddress(line)) {
        return Kind::Address;
    }
    // Plain text may name a file by its absolute path.
    return uriList ? Kind::None : ClassifyPath(line);
}

DropTexts::Kind DropTexts::ClassifyPath(const QString& path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || EngineDoor::HasUnsafeCharacters(path)) {
        return Kind::None;
    }
    // Regular files only: a device or a pipe would hang the reader.
    const QFileInfo info(path);
    if (info.isDir()) {
        return Kind::Folder;
    }
    return info.isFile() && info.isReadable() ? Kind::File : Kind::None;
}

// The URI list comes first; the plain text counts when the list gives
// nothing: Qt reads a URI list as URLs, and an own link, whose "host" holds
// "=" and "&", is lost there, while a browser's plain text keeps it.
bool DropTexts::MayHold(const QMimeData& mime) {
    QString text;
    return std::any_of(kFormats.begin(), kFormats.end(), [&](bool uriList) {
        const QStringList lines = Lines(mime, uriList);
        return std::any_of(lines.cbegin(), lines.cend(), [&](const QString& line) {
            return Classify(line, uriList, text) != Kind::None;
        });
    });
}

DropTexts::Result DropTexts::Read(const QMimeData& mime) const {
    Result result;
    for (bool uriList : kFormats) {
        if (result.texts.isEmpty()) {
            Read(Lines(mime, uriList), uriList, result);
        }
    }
    return result;
}

void DropTexts::Read(const QStringList& lines, bool uriList, Result& result) const {
    Walk walk{result, {}, 0, 0};
    for (const QString& line : lines) {
        QString text;
        switch (Classify(line, uriList, text)) {
        case Kind::File:
            result.texts.append(QFileInfo(text).absoluteFilePath());
            break;
        case Kind::Address:
            result.texts.append(text);
            break;
        case Kind::Folder:
            WalkFolder(QFileInfo(text).absoluteFilePath(), 0, walk);
            break;
        case Kind::None:
            break;
        }
    }
}

DropTexts::Result DropTexts::ReadFolder(const QString& folder, const std::atomic_bool* cancel,
                                        std::atomic_int* found) const {
    Result result;
    Walk walk{result, {}, 0, 0, cancel, found};
    if (ClassifyPath(folder) == Kind::Folder)
        WalkFolder(QFileInfo(folder).absoluteFilePath(), 0, walk);
    return result;
}

bool DropTexts::Room(Walk& walk) const {
    if (walk.files >= m_maxFiles || walk.entries >= m_maxEntries ||
        (walk.cancel && walk.cancel->load())) {
        walk.result.capped = true;
        return false;
    }
    return true;
}

void DropTexts::WalkFolder(const QString& folder, int depth, Walk& walk) const {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (depth > kMaxDepth || canonical.isEmpty() || walk.visited.contains(canonical) ||
        !Room(walk)) {
        return;
    }
    walk.visited.insert(canonical);
    // Without QDir::Hidden and QDir::System: no hidden entries, and of the
    // files only regular ones.
    QDirIterator entries(folder, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot);
    QStringList folders;
    QStringList files;
    while (entries.hasNext() && Room(walk)) {
        ++walk.entries;
        const QFileInfo info = entries.nextFileInfo();
        if (info.isDir()) {
            folders.append(info.fileName());
        } else if (IsMediaFile(info.fileName())) {
            files.append(info.fileName());
        }
    }
    std::sort(folders.begin(), folders.end(), ModTextFile::NaturalLess);
    std::sort(files.begin(), files.end(), ModTextFile::NaturalLess);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QString& name : std::as_const(folders)) {
        WalkFolder(prefix + name, depth + 1, walk);
    }
    for (const QString& name : std::as_const(files)) {
        if (walk.files >= m_maxFiles) {
            walk.result.capped = true;
            return;
        }
        walk.result.texts.append(prefix + name);
        ++walk.files;
        if (walk.found)
            ++*walk.found;
    }
}
