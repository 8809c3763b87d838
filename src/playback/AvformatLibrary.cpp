#include "playback/AvformatLibrary.h"

#include <QStringList>

QString AvformatLibrary::DefaultFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("avformat-%1.dll").arg(LIBAVFORMAT_VERSION_MAJOR);
#else
    return QStringLiteral("libavformat.so.%1").arg(LIBAVFORMAT_VERSION_MAJOR);
#endif
}

AvformatLibrary::AvformatLibrary(const QString& fileName) : m_fileName(fileName) {
    m_library.setFileName(fileName);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return;
    }
    if (!resolveAll())
        return;
    // A library renamed or found under another soname must still be of the
    // major version whose structure layout the reader was compiled with.
    const unsigned major = version() >> 16;
    if (major != LIBAVFORMAT_VERSION_MAJOR) {
        m_error = QStringLiteral("%1 is libavformat %2, the program knows %3")
                      .arg(m_fileName)
                      .arg(major)
                      .arg(LIBAVFORMAT_VERSION_MAJOR);
        return;
    }
    m_loaded = true;
}

template <typename Function>
void AvformatLibrary::resolve(const char* symbol, Function& slot, QStringList& missing) {
    // Symbols of libavutil are found through the library's own dependencies.
    slot = reinterpret_cast<Function>(m_library.resolve(symbol));
    if (!slot)
        missing << QString::fromLatin1(symbol);
}

bool AvformatLibrary::resolveAll() {
    QStringList missing;
    resolve("avformat_version", version, missing);
    resolve("avformat_alloc_context", allocContext, missing);
    resolve("avformat_open_input", openInput, missing);
    resolve("avformat_find_stream_info", findStreamInfo, missing);
    resolve("avformat_close_input", closeInput, missing);
    resolve("avio_alloc_context", allocIoContext, missing);
    resolve("avio_context_free", freeIoContext, missing);
    resolve("av_malloc", allocate, missing);
    resolve("av_freep", freeAndClear, missing);
    resolve("av_dict_set", dictSet, missing);
    resolve("av_dict_free", dictFree, missing);
    resolve("av_log_set_level", setLogLevel, missing);
    if (missing.isEmpty())
        return true;
    m_error = QStringLiteral("%1 lacks %2").arg(m_fileName, missing.join(QStringLiteral(", ")));
    return false;
}
