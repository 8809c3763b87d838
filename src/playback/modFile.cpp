#include "playback/modFile.h"

namespace modFile {
namespace {

// Without copying: a playlist load asks this of every line.
bool startsWithNoCase(const QString& text, QLatin1StringView prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool isFileLike(PathKind kind) {
    return kind == PathKind::Local || kind == PathKind::Stream;
}

QString patterns(const char* list) {
    QString out;
    for (const QString& ext : QString::fromLatin1(list).split(QLatin1Char('|')))
        out += QStringLiteral("*.") + ext + QLatin1Char(';');
    return out;
}

} // namespace

PathKind GetPathKind(const QString& text) {
    if (text.mid(1, 2) == QLatin1String(":\\"))
        return PathKind::Local;
    if (startsWithNoCase(text, QLatin1String("melodeck://")))
        return PathKind::OwnLink;
    if (startsWithNoCase(text, QLatin1String("ppstream://")))
        return PathKind::PpstreamLink;
    if (startsWithNoCase(text, QLatin1String("http://")) ||
        startsWithNoCase(text, QLatin1String("mms://")) ||
        startsWithNoCase(text, QLatin1String("rtsp://")))
        return PathKind::Stream;
    return PathKind::Local;
}

QString GetFileName(const QString& path) {
    switch (GetPathKind(path)) {
    case PathKind::Local: {
        // Local paths may use either separator on this platform.
        const qsizetype cut =
            std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
        return path.mid(cut + 1);
    }
    case PathKind::Stream:
        return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    default:
        return QString();
    }
}

QString GetFileTitle(const QString& path) {
    if (!isFileLike(GetPathKind(path)))
        return QString();
    const QString name = GetFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString GetExtension(const QString& path) {
    if (!isFileLike(GetPathKind(path)))
        return QString();
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return path.mid(dot + 1).toLower();
}

MediaKind GetMediaKind(const QString& path) {
    // A plain substring test against the type lists: "mp", "a" and the empty
    // extension of a link all count as audio, as they always have.
    const QString e = GetExtension(path);
    if (QString::fromLatin1(AudioTypes).contains(e))
        return MediaKind::Audio;
    if (QString::fromLatin1(FlashTypes).contains(e) || QString::fromLatin1(VideoTypes).contains(e))
        return MediaKind::Video;
    return MediaKind::Other;
}

QStringList MediaExtensions() {
    QStringList all;
    for (const char* list : {AudioTypes, VideoTypes, FlashTypes})
        all += QString::fromLatin1(list).split(QLatin1Char('|'));
    return all;
}

QString GetOpenFilter() {
    const QChar nul(u'\0');
    const QString audio = patterns(AudioTypes);
    const QString video = patterns(VideoTypes);
    const QString flash = patterns(FlashTypes);
    return QStringLiteral("全部支持类型") + nul + audio + video + flash + nul +
           QStringLiteral("音频文件") + nul + audio + nul + QStringLiteral("视频文件") + nul +
           video + nul + QStringLiteral("Flash文件") + nul + flash;
}

QString ExtractBetween(const QString& text, const QString& startMarker, const QString& endMarker,
                       int occurrence, const QString& findText, const QString& replaceText) {
    if (!text.contains(startMarker))
        return QString();
    // 0-based here; the marker search mirrors a 1-based InStr loop where a
    // miss restarts from the beginning (position 0 plus the marker length).
    qsizetype p = 0;
    if (!startMarker.isEmpty()) {
        for (int i = 0; i < occurrence; ++i) {
            const qsizetype found = text.indexOf(startMarker, p);
            p = (found < 0 ? -1 : found) + startMarker.size();
        }
    }
    qsizetype q = text.size();
    if (!endMarker.isEmpty()) {
        const qsizetype found = text.indexOf(endMarker, p);
        if (found >= 0)
            q = found;
    }
    QString result = q > p ? text.mid(p, q - p) : QString();
    if (!findText.isEmpty() && !replaceText.isEmpty())
        result.replace(findText, replaceText);
    return result;
}

} // namespace modFile
