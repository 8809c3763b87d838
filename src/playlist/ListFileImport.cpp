#include "playlist/ListFileImport.h"

#include "playback/EngineDoor.h"
#include "playback/modFile.h"
#include "playlist/DropTexts.h"
#include "winsvc/LegacyText.h"
#include "winsvc/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <QXmlStreamReader>

namespace ListFileImport {

namespace {

std::optional<QString> StrictUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QString Decode(const QByteArray& bytes, const QString& suffix) {
    if (const std::optional<QString> text = StrictUtf8(bytes))
        return *text;
    // An ".m3u8" that is not UTF-8 is broken; its valid parts still count.
    return suffix == QLatin1String("m3u8") ? QString::fromUtf8(bytes)
                                           : LegacyText::FromGb18030(bytes);
}

// One entry as an item's path, or nothing when it cannot be one.
std::optional<QString> EntryPath(const QString& entry, const QDir& folder) {
    if (entry.isEmpty() || EngineDoor::HasUnsafeCharacters(entry) ||
        entry.size() > DropTexts::kMaxLineLength)
        return std::nullopt;
    if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return EngineDoor::LocalPathOfFileUrl(entry);
    if (DropTexts::IsStreamAddress(entry))
        return entry;
    // Any other scheme ("ftp://", "smb://") is not a name of this folder.
    static const QRegularExpression otherScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (modFile::GetPathKind(entry) != PathKind::OwnLink && otherScheme.match(entry).hasMatch())
        return std::nullopt;
    switch (modFile::GetPathKind(entry)) {
    case PathKind::OwnLink:
        return entry;
    case PathKind::Local:
        // "C:\..." of a list made on Windows stays as written.
        return QDir::cleanPath(folder.absoluteFilePath(QString(entry).replace(u'\\', u'/')));
    default:
        return std::nullopt;
    }
}

void Append(Imported& list, const QString& entry, const QString& title, const QDir& folder) {
    const std::optional<QString> path = EntryPath(entry.trimmed(), folder);
    if (!path) {
        ++list.Skipped;
        return;
    }
    const QString shown =
        title.trimmed().isEmpty() ? modFile::GetFileTitle(*path) : title.trimmed();
    list.Items.append(ModList::MlfItem{shown, *path});
}

void ParseM3u(const QString& text, const QDir& folder, Imported& list) {
    QString title;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = QString(raw).remove(QLatin1Char('\r')).trimmed();
        if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
            const qsizetype comma = line.indexOf(QLatin1Char(','));
            title = comma < 0 ? QString() : line.mid(comma + 1);
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            Append(list, line, title, folder);
            title.clear();
        }
    }
}

void ParsePls(const QString& text, const QDir& folder, Imported& list) {
    QMap<int, QString> files;
    QMap<int, QString> titles;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = QString(raw).remove(QLatin1Char('\r')).trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed().toLower();
        bool ok = false;
        if (eq > 4 && key.startsWith(QLatin1String("file"))) {
            const int n = key.mid(4).toInt(&ok);
            if (ok)
                files.insert(n, line.mid(eq + 1));
        } else if (eq > 5 && key.startsWith(QLatin1String("title"))) {
            const int n = key.mid(5).toInt(&ok);
            if (ok)
                titles.insert(n, line.mid(eq + 1));
        }
    }
    for (auto file = files.cbegin(); file != files.cend(); ++file)
        Append(list, file.value(), titles.value(file.key()), folder);
}

// An XSPF location is a URI: an absolute one ("file:", "http:") as it is,
// a relative one percent-decoded and resolved against the list's folder.
void AppendLocation(Imported& list, const QString& location, const QString& title,
                    const QDir& folder) {
    const QString trimmed = location.trimmed();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QString entry =
        scheme.match(trimmed).hasMatch() ? trimmed : QUrl::fromPercentEncoding(trimmed.toUtf8());
    Append(list, entry, title, folder);
}

// Tracks of an XSPF list, each its first <location>, shown as "creator -
// title" when it has both. The stream reader expands no external entity and
// bounds internal ones; a malformed document keeps the tracks before the
// fault.
void ParseXspf(const QByteArray& bytes, const QDir& folder, Imported& list) {
    QXmlStreamReader xml(bytes);
    bool inTrack = false;
    QString location, title, creator;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"track") {
            inTrack = true;
            location.clear();
            title.clear();
            creator.clear();
        } else if (xml.isStartElement() && inTrack) {
            QString* field = xml.name() == u"location" && location.isEmpty() ? &location
                             : xml.name() == u"title"                        ? &title
                             : xml.name() == u"creator"                      ? &creator
                                                                             : nullptr;
            if (field)
                *field = xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (xml.isEndElement() && xml.name() == u"track" && inTrack) {
            inTrack = false;
            const QString shown = creator.trimmed().isEmpty() || title.trimmed().isEmpty()
                                      ? title
                                      : creator.trimmed() + QStringLiteral(" - ") + title.trimmed();
            if (location.trimmed().isEmpty())
                ++list.Skipped;
            else
                AppendLocation(list, location, shown, folder);
        }
    }
}

} // namespace

Imported Parse(const QByteArray& bytes, const QString& suffix, const QString& folder) {
    Imported list;
    const QDir dir(folder);
    if (suffix == QLatin1String("mlf")) {
        QString text = LegacyText::FromGb18030(bytes);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        const ModList::MlfPlaylist file = ModList::ParseMlf(text);
        list.Title = file.Title;
        for (const ModList::MlfItem& item : file.Items)
            Append(list, item.Path, item.Title, dir);
    } else if (suffix == QLatin1String("pls")) {
        ParsePls(Decode(bytes, suffix), dir, list);
    } else if (suffix == QLatin1String("xspf")) {
        ParseXspf(bytes, dir, list);
    } else {
        ParseM3u(Decode(bytes, suffix), dir, list);
    }
    return list;
}

QByteArray Format(const QList<ExportItem>& items, const QString& suffix) {
    // Line breaks would end an entry early; no stored title holds one, but
    // a tag may.
    const auto oneLine = [](QString text) {
        return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    QString text;
    if (suffix == QLatin1String("pls")) {
        text = QStringLiteral("[playlist]\n");
        for (qsizetype n = 0; n < items.size(); ++n) {
            const QString number = QString::number(n + 1);
            // One pass: a title holding "%1" stays as it is.
            text += QStringLiteral("File%1=%2\nTitle%1=%3\nLength%1=%4\n")
                        .arg(number, oneLine(items[n].Path), oneLine(items[n].Title),
                             QString::number(items[n].Seconds));
        }
        text += QStringLiteral("NumberOfEntries=%1\nVersion=2\n").arg(items.size());
    } else {
        text = QStringLiteral("#EXTM3U\n");
        for (const ExportItem& item : items)
            text +=
                QStringLiteral("#EXTINF:%1,%2\n%3\n")
                    .arg(QString::number(item.Seconds), oneLine(item.Title), oneLine(item.Path));
    }
    return text.toUtf8();
}

std::optional<Imported> Read(const QString& path, QString& error) {
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    static const QStringList known{QStringLiteral("m3u"), QStringLiteral("m3u8"),
                                   QStringLiteral("pls"), QStringLiteral("mlf"),
                                   QStringLiteral("xspf")};
    if (!known.contains(suffix)) {
        error = QStringLiteral("not a list file");
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxFileSize, error);
    if (!bytes)
        return std::nullopt;
    Imported list = Parse(*bytes, suffix, info.absolutePath());
    if (suffix != QLatin1String("mlf") || list.Title.isEmpty())
        list.Title = info.completeBaseName();
    return list;
}

} // namespace ListFileImport
