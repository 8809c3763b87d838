#include "lyrics/LyricsFinder.h"

#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsTags.h"
#include "playback/modFile.h"
#include "winsvc/ProgramFolders.h"

#include <QDirIterator>
#include <QFileInfo>

namespace LyricsFinder {
namespace {

// A music folder can be large; a lyrics file is looked for among this many
// entries at most.
constexpr int kMaxEntries = 100000;

bool readInto(const QString& path, Found& found) {
    if (path.isEmpty())
        return false;
    QString error;
    found.Result = LyricsFile::Read(path, error);
    if (!found.Result)
        found.Errors.append(error);
    return found.Result.has_value();
}

} // namespace

QString LyricsName(const Item& item) {
    QString name = modFile::GetPathKind(item.Path) == PathKind::Local
                       ? QFileInfo(item.Path).completeBaseName()
                       : item.Title.trimmed();
    if (name.isEmpty())
        name = item.Title.trimmed();
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return name;
}

QString UserLyricsDir() {
    return UserDataDir() + QStringLiteral("/Lyrics");
}

QString FindLrc(const QString& folder, const QString& name) {
    if (folder.isEmpty() || name.isEmpty())
        return QString();
    const QString wanted = name + QStringLiteral(".lrc");
    const QString exact = folder + QLatin1Char('/') + wanted;
    if (QFileInfo::exists(exact))
        return exact;
    QDirIterator entries(folder, {QStringLiteral("*.lrc")},
                         QDir::Files | QDir::System | QDir::Hidden);
    for (int seen = 0; entries.hasNext() && seen < kMaxEntries; ++seen) {
        entries.next();
        if (entries.fileName().compare(wanted, Qt::CaseInsensitive) == 0)
            return entries.filePath();
    }
    return QString();
}

Found Find(const Item& item, const QString& lyricsDir) {
    Found found;
    const QString name = LyricsName(item);
    const bool local = modFile::GetPathKind(item.Path) == PathKind::Local;
    if (local && readInto(FindLrc(QFileInfo(item.Path).absolutePath(), name), found))
        return found;
    if (readInto(FindLrc(lyricsDir, name), found))
        return found;
    if (local)
        found.Result = LyricsTags::Read(item.Path);
    return found;
}

} // namespace LyricsFinder
