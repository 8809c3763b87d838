#include "playback/MediaTagReader.h"

#include "playback/modFile.h"
#include "winsvc/DisplayText.h"
#include "winsvc/LegacyText.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/tag.h>
#include <taglib/tfilestream.h>
#include <taglib/tstring.h>

namespace MediaTagReader {
namespace {

// Fixed-size 8-bit tag fields are padded with NULs.
TagLib::ByteVector beforeNul(const TagLib::ByteVector& data) {
    const int nul = data.find('\0');
    return nul < 0 ? data : data.mid(0, uint(nul));
}

TagLib::String fromLegacyBytes(const TagLib::ByteVector& data) {
    const QByteArray bytes(data.data(), qsizetype(data.size()));
    const QString text = LegacyText::FromGb18030(bytes);
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

// TagLib asks these handlers to turn 8-bit tag text into characters.
class Id3v1Gbk : public TagLib::ID3v1::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        // ID3v1 fields are also often padded with spaces.
        return fromLegacyBytes(beforeNul(data)).stripWhiteSpace();
    }
};

class Id3v2Gbk : public TagLib::ID3v2::Latin1StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        return fromLegacyBytes(data);
    }
};

class RiffInfoGbk : public TagLib::RIFF::Info::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        return fromLegacyBytes(beforeNul(data));
    }
};

// TagLib keeps its string handlers process-wide; install ours once.
void installLegacyHandlers() {
    static const Id3v1Gbk id3v1;
    static const Id3v2Gbk id3v2;
    static const RiffInfoGbk riff;
    static const bool installed = [] {
        TagLib::ID3v1::Tag::setStringHandler(&id3v1);
        TagLib::ID3v2::Tag::setLatin1StringHandler(&id3v2);
        TagLib::RIFF::Info::Tag::setStringHandler(&riff);
        return true;
    }();
    (void)installed;
}

// Tag text longer than this is cut: no title needs more, and every window
// and message that shows it stays quick.
constexpr int kMaxTagText = 1024;

QString toQString(const TagLib::String& s) {
    return DisplayText::Quote(QString::fromStdString(s.to8Bit(true)).trimmed(), kMaxTagText);
}

// A read-only descriptor of `path` when it is a regular file, else -1.
// Anything else (FIFO, device, folder) is not even opened: opening a device
// can act on it, reading a FIFO waits for a writer, reading a device may
// never end. The file is opened without waiting and checked again after
// opening, so what is read is what was checked, even if the name is replaced
// in between.
int openRegularFile(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    struct stat named {};
    if (::stat(encoded.constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return -1;
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
        ::close(fd);
        return -1;
    }
    // Regular files never block; reads go back to the ordinary mode.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

EngineMedia Read(const QString& url) {
    if (modFile::GetPathKind(url) != PathKind::Local)
        return EngineMedia(url, 0.0);
    const int fd = openRegularFile(url);
    if (fd < 0)
        return EngineMedia(url, 0.0);
    installLegacyHandlers();
    // The stream owns the descriptor from here on. With no name to go by,
    // TagLib recognises the format from the content.
    TagLib::FileStream stream(fd, true);
    if (!stream.isOpen()) {
        ::close(fd);
        return EngineMedia(url, 0.0);
    }
    TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Average);
    if (file.isNull())
        return EngineMedia(url, 0.0);

    QMap<QString, QString> info;
    if (TagLib::Tag* tag = file.tag())
        info.insert(QStringLiteral("title"), toQString(tag->title()));
    double seconds = 0.0;
    if (TagLib::AudioProperties* props = file.audioProperties()) {
        seconds = props->lengthInMilliseconds() / 1000.0;
        if (seconds > 0)
            info.insert(QStringLiteral("Duration"), QString::number(seconds, 'f', 3));
    }
    return EngineMedia(url, seconds, info);
}

} // namespace MediaTagReader
