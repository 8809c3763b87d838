#include "lyrics/LyricsTags.h"

#include "lyrics/LrcParser.h"
#include "winsvc/RegularFile.h"

#include <cmath>
#include <limits>
#include <unistd.h>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegheader.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

namespace LyricsTags {
namespace {

QString toQString(const TagLib::String& s) {
    return QString::fromStdString(s.to8Bit(true)).left(kMaxChars);
}

// How long one MPEG frame of the file's audio lasts, in milliseconds: the
// samples a frame holds (384 for Layer I, 1152 for Layer II, 1152 for MPEG-1
// Layer III and 576 for MPEG-2/2.5 Layer III) over the sample rate.
std::optional<double> mpegFrameMs(TagLib::MPEG::File& file) {
    const long offset = file.firstFrameOffset();
    if (offset < 0)
        return std::nullopt;
    const TagLib::MPEG::Header header(&file, offset);
    if (!header.isValid() || header.sampleRate() <= 0 || header.samplesPerFrame() <= 0)
        return std::nullopt;
    return 1000.0 * header.samplesPerFrame() / header.sampleRate();
}

// The lines of one SYLT frame, its times as milliseconds.
Lyrics syltLines(const TagLib::ID3v2::SynchronizedLyricsFrame& sylt, double msPerUnit) {
    Lyrics lyrics;
    lyrics.Timed = true;
    for (const auto& entry : sylt.synchedText()) {
        if (lyrics.Lines.size() >= LrcParser::kMaxLines)
            break;
        lyrics.Lines.append(LyricLine{
            qint64(std::llround(entry.time * msPerUnit)), toQString(entry.text).trimmed(), {}});
    }
    std::stable_sort(lyrics.Lines.begin(), lyrics.Lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.TimeMs < b.TimeMs; });
    return lyrics;
}

std::optional<Lyrics> synchronized(TagLib::File* file) {
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file);
    TagLib::ID3v2::Tag* tag = mpeg ? mpeg->ID3v2Tag(false) : nullptr;
    if (!tag)
        return std::nullopt;
    using Sylt = TagLib::ID3v2::SynchronizedLyricsFrame;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("SYLT")) {
        auto* sylt = dynamic_cast<Sylt*>(frame);
        if (!sylt)
            continue;
        // Times are milliseconds or MPEG frames of the audio that follows.
        std::optional<double> msPerUnit = 1.0;
        if (sylt->timestampFormat() == Sylt::AbsoluteMpegFrames)
            msPerUnit = mpegFrameMs(*mpeg);
        else if (sylt->timestampFormat() != Sylt::AbsoluteMilliseconds)
            msPerUnit.reset();
        if (!msPerUnit)
            continue;
        Lyrics lyrics = syltLines(*sylt, *msPerUnit);
        if (!lyrics.IsEmpty())
            return lyrics;
    }
    return std::nullopt;
}

std::optional<Lyrics> unsynchronized(TagLib::File* file) {
    const TagLib::PropertyMap properties = file->properties();
    const auto found = properties.find("LYRICS");
    if (found == properties.end() || found->second.isEmpty())
        return std::nullopt;
    Lyrics lyrics = LrcParser::Parse(toQString(found->second.front()));
    if (lyrics.IsEmpty())
        return std::nullopt;
    return lyrics;
}

} // namespace

std::optional<Lyrics> Read(const QString& mediaPath) {
    QFile checked;
    QString error;
    if (!RegularFile::Open(mediaPath, std::numeric_limits<qint64>::max(), checked, error))
        return std::nullopt;
    const int fd = ::dup(checked.handle());
    if (fd < 0)
        return std::nullopt;
    // The stream owns the duplicate; the format is recognised from the content.
    TagLib::FileStream stream(fd, true);
    if (!stream.isOpen()) {
        ::close(fd);
        return std::nullopt;
    }
    TagLib::FileRef ref(&stream, false);
    if (ref.isNull())
        return std::nullopt;
    std::optional<Lyrics> lyrics = synchronized(ref.file());
    if (!lyrics)
        lyrics = unsynchronized(ref.file());
    if (lyrics)
        lyrics->Source = QStringLiteral("tags:") + mediaPath;
    return lyrics;
}

} // namespace LyricsTags
