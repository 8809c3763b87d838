#include "playback/MpvLibrary.h"

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

MpvLibrary::MpvLibrary(const QString& fileName) : m_library(fileName) {
    m_loaded = resolveAll();
}

bool MpvLibrary::resolveAll() {
    m_library.resolve("mpv_create", create);
    m_library.resolve("mpv_initialize", initialize);
    m_library.resolve("mpv_terminate_destroy", terminateDestroy);
    m_library.resolve("mpv_set_option_string", setOptionString);
    m_library.resolve("mpv_observe_property", observeProperty);
    m_library.resolve("mpv_command", command);
    m_library.resolve("mpv_get_property", getProperty);
    m_library.resolve("mpv_get_property_string", getPropertyString);
    m_library.resolve("mpv_set_property", setProperty);
    m_library.resolve("mpv_set_property_string", setPropertyString);
    m_library.resolve("mpv_free", freeMemory);
    m_library.resolve("mpv_wait_event", waitEvent);
    m_library.resolve("mpv_set_wakeup_callback", setWakeupCallback);
    return m_library.resolvedAll();
}
