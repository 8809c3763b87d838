#include "lyrics/LyricsFile.h"

#include "lyrics/LrcParser.h"
#include "lyrics/LyricsText.h"
#include "winsvc/RegularFile.h"

#include <QDir>

namespace LyricsFile {

std::optional<Lyrics> Read(const QString& path, QString& error) {
    QString reason;
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxBytes, reason);
    if (!bytes) {
        error =
            QStringLiteral("歌词文件 %1 无法读取：%2").arg(QDir::toNativeSeparators(path), reason);
        return std::nullopt;
    }
    Lyrics lyrics = LrcParser::Parse(LyricsText::Decode(*bytes).Text);
    lyrics.Source = path;
    return lyrics;
}

} // namespace LyricsFile
