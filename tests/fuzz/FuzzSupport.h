#pragma once

// Helpers shared by the fuzz targets: the Qt application pictures need, a
// scratch folder for loaders that only read files, and prompts that answer
// nothing. Header-only so that every fuzz_*.cpp stays one self-contained
// program.

#include "winsvc/Prompts.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace FuzzSupport {

// One offscreen application for the whole run, made on first use and kept
// until exit (pictures and fonts need it; it must outlive every input).
inline void EnsureApp() {
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Broken inputs make Qt and its image plugins warn on every run;
        // the fuzzer's own output is what matters.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        static int argc = 1;
        static char name[] = "melodeck_fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

// A folder that lives as long as the run; loaders that take a path read the
// input from a file in it.
inline const QString& ScratchFolder() {
    // Removed again at a normal exit; a crashing run leaves it for a look.
    static const QTemporaryDir dir;
    static const QString path = [] {
        if (!dir.isValid())
            std::abort();
        return dir.path();
    }();
    return path;
}

// Writes `size` bytes to `name` inside ScratchFolder(), replacing what was
// there; returns the file's path. Aborts when the file cannot be written, so
// a full disk is not mistaken for a loader that found nothing.
inline QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size) {
    const QString path = ScratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    if (size > 0 && file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

using SilentPrompts = ::SilentPrompts;

} // namespace FuzzSupport
