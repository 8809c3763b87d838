#pragma once

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>

class AvformatLibrary;

// Reads the length of a local media file with FFmpeg's demuxers, for the
// containers the tag reader cannot measure (AVI, MPEG, ASF/WMV, FLV, RM...).
//
// The demuxer library is loaded on the first Read that has a regular file to
// measure, on the calling thread, so a program whose lists need no such
// reading never maps it. MELODECK_AVFORMAT_LIBRARY names another file to load
// (tests); without a loadable library every length stays unknown.
//
// The file is never opened by name through FFmpeg: it is opened here (regular
// files only) and handed over as a descriptor behind FFmpeg's I/O callbacks,
// so no protocol, network address or second file is ever reached, and every
// read counts against a byte budget and a time limit.
class DemuxerLengthReader {
public:
    // `libraryFile` empty: MELODECK_AVFORMAT_LIBRARY, else the default soname.
    explicit DemuxerLengthReader(const QString& libraryFile = QString());
    ~DemuxerLengthReader();
    DemuxerLengthReader(const DemuxerLengthReader&) = delete;
    DemuxerLengthReader& operator=(const DemuxerLengthReader&) = delete;

    // The length in seconds; 0 when unknown, for anything but a local regular
    // file, and when the library cannot be loaded. Safe to call from several
    // threads at once.
    double Read(const QString& path) const;

    // Whether a Read has loaded the library (false before any has needed it).
    bool IsLoaded() const;

private:
    const AvformatLibrary* library() const;

    QString m_libraryFile;
    mutable std::once_flag m_loadOnce;
    mutable std::unique_ptr<AvformatLibrary> m_library;
    mutable std::atomic_bool m_loaded{false};
};
