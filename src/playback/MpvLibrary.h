#pragma once

#include <QString>
#include <mpv/client.h>

#include "playback/RuntimeLibrary.h"

// The libmpv functions the engine calls, resolved when an engine is made
// rather than linked into the program: libmpv pulls in a couple of hundred
// libraries (codecs, TLS, fonts...) that a start without playing never needs,
// and a machine without it should still start the player and say at the first
// play what is missing.
//
// The dynamic loader maps the library once per process; later loads only
// take another reference, and the library is never unloaded (its threads and
// exit handlers must outlive every handle).
class MpvLibrary {
public:
    // The name the library is loaded by: the soname matching the headers the
    // engine was built against.
    static QString DefaultFileName();

    // Loads `fileName` and resolves every function below; on failure
    // isLoaded() is false and errorString() says why.
    explicit MpvLibrary(const QString& fileName);

    bool isLoaded() const { return m_loaded; }
    QString fileName() const { return m_library.fileName(); }
    QString errorString() const { return m_library.errorString(); }

    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&::mpv_set_option_string) setOptionString = nullptr;
    decltype(&::mpv_observe_property) observeProperty = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_get_property) getProperty = nullptr;
    decltype(&::mpv_get_property_string) getPropertyString = nullptr;
    decltype(&::mpv_set_property) setProperty = nullptr;
    decltype(&::mpv_set_property_string) setPropertyString = nullptr;
    decltype(&::mpv_free) freeMemory = nullptr;
    decltype(&::mpv_wait_event) waitEvent = nullptr;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback = nullptr;

private:
    bool resolveAll();

    RuntimeLibrary m_library;
    bool m_loaded = false;
};
