#include "app/CommandLine.h"

#include "app/UpdateCheck.h"
#include "playback/EngineDoor.h"
#include "playback/modFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace CommandLine {

Request Parse(const QStringList& arguments) {
    Request request;
    QStringList items;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        const bool option = !optionsEnded && argument.size() > 1 && argument.startsWith(u'-');
        if (!option) {
            items << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            help = true;
        } else if (argument == QLatin1String("--version")) {
            version = true;
        } else if (request.Error.isEmpty()) {
            request.Error =
                QStringLiteral("melodeck: unknown option %1 (see melodeck --help)").arg(argument);
        }
    }
    if (help)
        request.What = Action::Help;
    else if (version)
        request.What = Action::Version;
    else if (!request.Error.isEmpty())
        request.What = Action::Error;
    else
        request.Items = items;
    return request;
}

namespace {

bool IsFileUrl(const QString& text) {
    return text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
}

bool NamesExistingFile(const QString& text, const QDir& folder) {
    return !IsFileUrl(text) && modFile::GetPathKind(text) == PathKind::Local &&
           QFileInfo(folder.absoluteFilePath(text)).isFile();
}

} // namespace

Items PrepareItems(const QStringList& arguments, const QString& workingFolder) {
    const QDir folder(workingFolder);
    QStringList texts;
    for (const QString& argument : arguments)
        if (!argument.isEmpty())
            texts << argument;
    if (texts.size() > 1 && NamesExistingFile(texts.join(u' '), folder) &&
        std::none_of(texts.cbegin(), texts.cend(),
                     [&](const QString& text) { return NamesExistingFile(text, folder); }))
        texts = QStringList{texts.join(u' ')};
    Items items;
    for (const QString& text : texts) {
        if (IsFileUrl(text)) {
            const std::optional<QString> path = EngineDoor::LocalPathOfFileUrl(text);
            (path ? items.Accepted : items.Refused) << path.value_or(text);
        } else if (modFile::GetPathKind(text) == PathKind::Local) {
            items.Accepted << QDir::cleanPath(folder.absoluteFilePath(text));
        } else {
            items.Accepted << text;
        }
    }
    return items;
}

QString VersionText() {
    return QStringLiteral("Melodeck ") + UpdateCheck::kOwnVersion;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: melodeck [options] [--] [item...]\n"
        "\n"
        "Melodeck, a skinnable media player: audio, video and Flash files, network streams\n"
        "and melodeck:// links. A copy that is already running is handed the items and\n"
        "adds them to its list; otherwise the player starts, adds them and plays the first.\n"
        "\n"
        "An item is a file path (relative to the current folder, or a file:// URI), an\n"
        "http, https, mms or rtsp address, or a melodeck:// link. Each argument is one\n"
        "item; arguments that name no file on their own but do when joined by spaces\n"
        "are one path with spaces.\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this text and end\n"
        "      --version  show the version and end\n"
        "  --             end of options: what follows are items, even starting with \"-\"\n"
        "\n"
        "Environment:\n"
        "  MELODECK_HOME            the folder for playlists and skins instead of the usual ones\n"
        "  MELODECK_SEARCH_URL      the search service's base address\n"
        "  MELODECK_UPDATE_URL      the update server's base address\n"
        "  MELODECK_MPV_AO, MELODECK_MPV_VO  force the engine's audio or video output (e.g. null)\n"
        "  MELODECK_SCREENSHOT      save a picture of the player window to this file and end\n"
        "  MELODECK_SCREENSHOT_MS   wait this long before that picture\n"
        "  MELODECK_REPORT_LENGTHS  print \"lengths read\" once every length is known\n"
        "\n"
        "Files:\n"
        "  Playlists are PlayList/*.MLF and the user's skins skin/<name>/ in the program's\n"
        "  folder when it is writable, else in $XDG_DATA_HOME/melodeck (~/.local/share/melodeck);\n"
        "  the shipped skins are beside the program.\n");
}

} // namespace CommandLine
