#include "playlist/ModList.h"

#include "playback/modFile.h"
#include "winsvc/ProgramFolders.h"

namespace ModList {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString DefaultListTitle() {
    return QStringLiteral("[默认]");
}

QString LegacyMediaPrefix() {
    return QStringLiteral("http://music.melodeck.example/media/200612/");
}

QString PlayPagePrefix() {
    return QStringLiteral("http://music.melodeck.example/play.asp?");
}

QString RewriteLegacyUrl(const QString& path) {
    QString result = path;
    result.replace(LegacyMediaPrefix(), PlayPagePrefix(), Qt::CaseSensitive);
    return result;
}

QString ParseTitle(const QString& text) {
    return modFile::ExtractBetween(text, QStringLiteral("{"), QStringLiteral("}"));
}

MlfPlaylist ParseMlf(const QString& text) {
    MlfPlaylist list;
    list.Title = ParseTitle(text);
    const QString equals = QStringLiteral("=");
    const QStringView all(text);
    qsizetype start = all.indexOf(kCrLf);
    while (start >= 0) {
        start += kCrLf.size();
        const qsizetype end = all.indexOf(kCrLf, start);
        const QStringView line = all.sliced(start, (end < 0 ? all.size() : end) - start);
        const qsizetype eq = line.indexOf(equals);
        if (eq >= 0 && eq + 1 < line.size()) {
            list.Items.append(MlfItem{line.first(eq).toString(),
                                      RewriteLegacyUrl(line.sliced(eq + 1).toString())});
        }
        start = end;
    }
    return list;
}

namespace {

// Line breaks of any kind as spaces: a break inside a stored text would end
// its line, and what follows would be read as another item.
QString OnOneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

QString StorableListTitle(const QString& title) {
    // The first "}" ends the title; the full-width brace looks the same and
    // GB18030 stores it.
    return OnOneLine(title).replace(QLatin1Char('}'), QChar(0xFF5D));
}

QString StorableItemTitle(const QString& title) {
    // The first "=" ends the title, so one inside it would move the rest of
    // the title into the path.
    return OnOneLine(title).replace(QLatin1Char('='), QChar(0xFF1D));
}

QString FormatMlf(const QString& title, const QList<MlfItem>& items) {
    // A title read from a file whose "{" line has no "}" runs on over the
    // following lines; written back with its line breaks, those lines would
    // be read as items once more, and the list would grow at every save.
    QString text = QLatin1Char('{') + StorableListTitle(title) + QLatin1Char('}') + kCrLf;
    for (const MlfItem& item : items)
        text += StorableItemTitle(item.Title) + QLatin1Char('=') +
                OnOneLine(RewriteLegacyUrl(item.Path)) + kCrLf;
    return text;
}

QString NumberedFileName(int n) {
    return QString::number(n) + QStringLiteral(".MLF");
}

qint64 FileNumber(const QString& fileName) {
    if (!fileName.endsWith(QStringLiteral(".MLF"), Qt::CaseInsensitive))
        return -1;
    const QStringView digits = QStringView(fileName).chopped(4);
    if (digits.isEmpty() || digits.size() > 18)
        return -1;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    return digits.toLongLong();
}

QString PlaylistFolder() {
    return UserDataDir() + QLatin1Char('/') + QLatin1String(PlaylistDirName) + QLatin1Char('/');
}

} // namespace ModList
