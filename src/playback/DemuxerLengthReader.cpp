#include "playback/DemuxerLengthReader.h"

#include "playback/AvformatLibrary.h"
#include "playback/modFile.h"
#include "winsvc/RegularFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What one file may cost. The demuxers read headers, the first packets and,
// for MPEG, the last ones; a real file is measured within a few hundred
// kilobytes, and a hostile one (endless index, packets with no timestamps)
// stops at these.
constexpr qint64 kMaxBytesRead = 16 * 1024 * 1024;
constexpr int kTimeLimitMs = 2000;
constexpr int kIoBufferBytes = 32 * 1024;
// FFmpeg's own probing limits, lowered: the format is known after 1 MiB, and
// two seconds of packets are enough for the stream parameters a length needs.
constexpr const char* kProbeBytes = "1048576";
constexpr const char* kAnalyzeMicroseconds = "2000000";
constexpr const char* kMaxStreams = "64";
// Demuxers for self-contained files only: none of these opens another file
// or address (playlists, segment lists and image sequences are left out).
constexpr const char* kFormats = "avi,mpeg,mpegts,mpegvideo,asf,flv,live_flv,rm,swf,matroska,"
                                 "mov,ogg,nut,dv,wtv,h264,hevc,m4v,mjpeg,ivf";
// A longer "length" is a broken header, not a film.
constexpr double kMaxSeconds = 1e6;

// The opened file behind FFmpeg's I/O callbacks.
struct Source {
    int fd = -1;
    qint64 budget = kMaxBytesRead;
    QDeadlineTimer deadline{kTimeLimitMs};
};

int readPacket(void* opaque, uint8_t* buffer, int size) {
    auto* source = static_cast<Source*>(opaque);
    if (source->budget <= 0 || source->deadline.hasExpired())
        return AVERROR_EXIT;
    const qint64 wanted = std::min<qint64>(size, source->budget);
    ssize_t got = 0;
    do
        got = ::read(source->fd, buffer, size_t(wanted));
    while (got < 0 && errno == EINTR);
    if (got < 0)
        return AVERROR(EIO);
    if (got == 0)
        return AVERROR_EOF;
    source->budget -= got;
    return int(got);
}

int64_t seekTo(void* opaque, int64_t offset, int whence) {
    auto* source = static_cast<Source*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat info {};
        return ::fstat(source->fd, &info) == 0 ? int64_t(info.st_size) : AVERROR(EIO);
    }
    const off_t at = ::lseek(source->fd, off_t(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(EIO) : int64_t(at);
}

int interrupted(void* opaque) {
    return static_cast<Source*>(opaque)->deadline.hasExpired() ? 1 : 0;
}

// Any other file or address a demuxer asks for is refused.
int refuseOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
    return AVERROR(EPERM);
}

// One demuxer over one Source, closed and freed on every path out.
class Demuxer {
public:
    Demuxer(const AvformatLibrary& av, Source& source) : m_av(av) {
        auto* buffer = static_cast<unsigned char*>(av.allocate(kIoBufferBytes));
        if (!buffer)
            return;
        m_io = av.allocIoContext(buffer, kIoBufferBytes, 0, &source, readPacket, nullptr, seekTo);
        if (!m_io) {
            av.freeAndClear(&buffer);
            return;
        }
        m_context = av.allocContext();
        if (!m_context)
            return;
        m_context->pb = m_io;
        // Marks the I/O as the caller's, so that closing never closes it.
        m_context->flags |= AVFMT_FLAG_CUSTOM_IO;
        m_context->interrupt_callback = AVIOInterruptCB{interrupted, &source};
        m_context->io_open = refuseOpen;
    }
    ~Demuxer() {
        if (m_context)
            m_av.closeInput(&m_context);
        if (m_io) {
            // FFmpeg may have replaced the buffer it was given.
            m_av.freeAndClear(&m_io->buffer);
            m_av.freeIoContext(&m_io);
        }
    }
    Demuxer(const Demuxer&) = delete;
    Demuxer& operator=(const Demuxer&) = delete;

    // The length in seconds, 0 when unknown.
    double Measure(const QByteArray& name) {
        if (!m_context)
            return 0.0;
        AVDictionary* options = nullptr;
        m_av.dictSet(&options, "format_whitelist", kFormats, 0);
        m_av.dictSet(&options, "probesize", kProbeBytes, 0);
        m_av.dictSet(&options, "formatprobesize", kProbeBytes, 0);
        m_av.dictSet(&options, "analyzeduration", kAnalyzeMicroseconds, 0);
        m_av.dictSet(&options, "max_streams", kMaxStreams, 0);
        // On failure avformat_open_input frees the context and clears it.
        const int opened = m_av.openInput(&m_context, name.constData(), nullptr, &options);
        m_av.dictFree(&options);
        if (opened < 0)
            return 0.0;
        // A failure here can still leave the length the header declared.
        m_av.findStreamInfo(m_context, nullptr);
        if (m_context->duration == AV_NOPTS_VALUE || m_context->duration <= 0)
            return 0.0;
        const double seconds = double(m_context->duration) / AV_TIME_BASE;
        return std::isfinite(seconds) && seconds <= kMaxSeconds ? seconds : 0.0;
    }

private:
    const AvformatLibrary& m_av;
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_context = nullptr;
};

} // namespace

DemuxerLengthReader::DemuxerLengthReader(const QString& libraryFile) : m_libraryFile(libraryFile) {
}

DemuxerLengthReader::~DemuxerLengthReader() = default;

const AvformatLibrary* DemuxerLengthReader::library() const {
    std::call_once(m_loadOnce, [this] {
        QString fileName = m_libraryFile;
        if (fileName.isEmpty())
            fileName = qEnvironmentVariable("MELODECK_AVFORMAT_LIBRARY");
        if (fileName.isEmpty())
            fileName = AvformatLibrary::DefaultFileName();
        auto loaded = std::make_unique<AvformatLibrary>(fileName);
        if (!loaded->isLoaded()) {
            qWarning("lengths of video files stay unknown: %s", qPrintable(loaded->errorString()));
            return;
        }
        // Broken files make the demuxers complain on standard error; the
        // unknown length is all the list shows. (The engine, when made, routes
        // these messages into its own log instead.)
        loaded->setLogLevel(AV_LOG_QUIET);
        m_library = std::move(loaded);
        m_loaded = true;
    });
    return m_library.get();
}

bool DemuxerLengthReader::IsLoaded() const {
    return m_loaded;
}

double DemuxerLengthReader::Read(const QString& path) const {
    if (modFile::GetPathKind(path) != PathKind::Local)
        return 0.0;
    QFile file;
    QString error;
    if (!RegularFile::Open(path, std::numeric_limits<qint64>::max(), file, error))
        return 0.0;
    const AvformatLibrary* av = library();
    if (!av)
        return 0.0;
    Source source;
    source.fd = file.handle();
    Demuxer demuxer(*av, source);
    return demuxer.Measure(QFile::encodeName(path));
}
