#include "MusicIndex.h"

#include <QDirIterator>
#include <QFileInfo>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

// What a search over all types offers: the player's own types and the
// common lossless and open formats people keep music in.
const QStringList kSharedTypes = {
    QStringLiteral("mp3"),  QStringLiteral("wma"), QStringLiteral("wav"),  QStringLiteral("rm"),
    QStringLiteral("rmvb"), QStringLiteral("swf"), QStringLiteral("avi"),  QStringLiteral("asf"),
    QStringLiteral("wmv"),  QStringLiteral("mpg"), QStringLiteral("mpeg"), QStringLiteral("ogg"),
    QStringLiteral("flac"), QStringLiteral("m4a"), QStringLiteral("opus")};

QString TagText(const TagLib::String& text) {
    return QString::fromStdString(text.to8Bit(true)).trimmed();
}

// The extensions a type number stands for; nothing for an unknown number.
QStringList TypeExtensions(const QString& type) {
    const QString t = type.trimmed();
    if (t.isEmpty() || t == QLatin1String("-1"))
        return kSharedTypes;
    if (t == QLatin1String("0"))
        return {QStringLiteral("mp3")};
    if (t == QLatin1String("1"))
        return {QStringLiteral("rm"), QStringLiteral("rmvb")};
    if (t == QLatin1String("2"))
        return {QStringLiteral("wma")};
    if (t == QLatin1String("6"))
        return {QStringLiteral("swf")};
    return {};
}

bool Matches(const QString& wanted, const QString& tag, const QString& path) {
    return wanted.isEmpty() || tag.contains(wanted, Qt::CaseInsensitive) ||
           path.contains(wanted, Qt::CaseInsensitive);
}

} // namespace

MusicIndex::MusicIndex(const QString& folder) {
    QDirIterator it(folder, QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths << it.next();
    paths.sort(); // the same answer order on every start
    for (const QString& path : paths) {
        const QFileInfo info(path);
        Entry entry{info.absoluteFilePath(),
                    QDir(folder).relativeFilePath(path),
                    info.suffix().toLower(),
                    {},
                    {}};
        if (!kSharedTypes.contains(entry.Extension))
            continue;
        const TagLib::FileRef file(QFile::encodeName(path).constData(), false);
        if (!file.isNull() && file.tag()) {
            entry.Artist = TagText(file.tag()->artist());
            entry.Title = TagText(file.tag()->title());
        }
        m_entries.push_back(entry);
    }
}

QVector<int> MusicIndex::Search(const QString& singer, const QString& song,
                                const QString& type) const {
    QVector<int> found;
    if (singer.trimmed().isEmpty() && song.trimmed().isEmpty())
        return found;
    const QStringList extensions = TypeExtensions(type);
    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (extensions.contains(e.Extension) &&
            Matches(singer.trimmed(), e.Artist, e.RelativePath) &&
            Matches(song.trimmed(), e.Title, e.RelativePath))
            found << i;
    }
    return found;
}
