#pragma once

#include <QString>

#include "playback/RuntimeLibrary.h"

// FFmpeg's headers are C without C++ guards.
extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

// The few functions of FFmpeg's demuxer library (libavformat) that measure a
// file's length, resolved at run time like libmpv (MpvLibrary): the library
// and what it pulls in are mapped only when a file needs them.
//
// The length is read from AVFormatContext's fields, whose layout changes with
// each major version; the program is built against the headers of one major
// version (those of libmpv-dev's libavformat-dev), loads the soname of that
// version, and refuses a library whose avformat_version() reports another.
// No field is read from a library whose layout the build does not know.
class AvformatLibrary {
public:
    // The soname matching the headers the program was built against.
    static QString DefaultFileName();

    // Loads `fileName`, checks its major version and resolves every function
    // below; on failure isLoaded() is false and errorString() says why.
    explicit AvformatLibrary(const QString& fileName);

    bool isLoaded() const { return m_loaded; }
    QString errorString() const { return m_library.errorString(); }

    decltype(&::avformat_version) version = nullptr;
    decltype(&::avformat_alloc_context) allocContext = nullptr;
    decltype(&::avformat_open_input) openInput = nullptr;
    decltype(&::avformat_find_stream_info) findStreamInfo = nullptr;
    decltype(&::avformat_close_input) closeInput = nullptr;
    decltype(&::avio_alloc_context) allocIoContext = nullptr;
    decltype(&::avio_context_free) freeIoContext = nullptr;
    decltype(&::av_malloc) allocate = nullptr;
    decltype(&::av_freep) freeAndClear = nullptr;
    decltype(&::av_dict_set) dictSet = nullptr;
    decltype(&::av_dict_free) dictFree = nullptr;
    decltype(&::av_log_set_level) setLogLevel = nullptr;

private:
    bool resolveAll();

    RuntimeLibrary m_library;
    bool m_loaded = false;
};
