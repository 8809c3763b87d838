#include "playback/AvformatLibrary.h"

QString AvformatLibrary::DefaultFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("avformat-%1.dll").arg(LIBAVFORMAT_VERSION_MAJOR);
#else
    return QStringLiteral("libavformat.so.%1").arg(LIBAVFORMAT_VERSION_MAJOR);
#endif
}

AvformatLibrary::AvformatLibrary(const QString& fileName) : m_library(fileName) {
    if (!resolveAll())
        return;
    // A library renamed or found under another soname must still be of the
    // major version whose structure layout the reader was compiled with.
    const unsigned major = version() >> 16;
    if (major != LIBAVFORMAT_VERSION_MAJOR) {
        m_library.refuse(QStringLiteral("%1 is libavformat %2, the program knows %3")
                             .arg(fileName)
                             .arg(major)
                             .arg(LIBAVFORMAT_VERSION_MAJOR));
        return;
    }
    m_loaded = true;
}

bool AvformatLibrary::resolveAll() {
    // Symbols of libavutil are found through the library's own dependencies.
    m_library.resolve("avformat_version", version);
    m_library.resolve("avformat_alloc_context", allocContext);
    m_library.resolve("avformat_open_input", openInput);
    m_library.resolve("avformat_find_stream_info", findStreamInfo);
    m_library.resolve("avformat_close_input", closeInput);
    m_library.resolve("avio_alloc_context", allocIoContext);
    m_library.resolve("avio_context_free", freeIoContext);
    m_library.resolve("av_malloc", allocate);
    m_library.resolve("av_freep", freeAndClear);
    m_library.resolve("av_dict_set", dictSet);
    m_library.resolve("av_dict_free", dictFree);
    m_library.resolve("av_log_set_level", setLogLevel);
    return m_library.resolvedAll();
}
