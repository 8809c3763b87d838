#include "playback/MpvLibrary.h"

#include <QStringList>

// The soname carries the client API's major version; headers of another major
// version would describe functions the loaded library does not have.
static_assert(MPV_CLIENT_API_VERSION >> 16 == 2,
              "the engine loads libmpv.so.2; its headers must be of client API 2.x");

QString MpvLibrary::DefaultFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("libmpv-2.dll");
#else
    return QStringLiteral("libmpv.so.2");
#endif
}

MpvLibrary::MpvLibrary(const QString& fileName) : m_fileName(fileName) {
    m_library.setFileName(fileName);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return;
    }
    m_loaded = resolveAll();
}

template <typename Function>
void MpvLibrary::resolve(const char* symbol, Function& slot, QStringList& missing) {
    slot = reinterpret_cast<Function>(m_library.resolve(symbol));
    if (!slot)
        missing << QString::fromLatin1(symbol);
}

bool MpvLibrary::resolveAll() {
    QStringList missing;
    resolve("mpv_create", create, missing);
    resolve("mpv_initialize", initialize, missing);
    resolve("mpv_terminate_destroy", terminateDestroy, missing);
    resolve("mpv_set_option_string", setOptionString, missing);
    resolve("mpv_observe_property", observeProperty, missing);
    resolve("mpv_command", command, missing);
    resolve("mpv_get_property", getProperty, missing);
    resolve("mpv_get_property_string", getPropertyString, missing);
    resolve("mpv_set_property", setProperty, missing);
    resolve("mpv_set_property_string", setPropertyString, missing);
    resolve("mpv_free", freeMemory, missing);
    resolve("mpv_wait_event", waitEvent, missing);
    resolve("mpv_set_wakeup_callback", setWakeupCallback, missing);
    if (missing.isEmpty())
        return true;
    m_error = QStringLiteral("%1 lacks %2").arg(m_fileName, missing.join(QStringLiteral(", ")));
    return false;
}
