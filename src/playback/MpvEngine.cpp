#include "playback/MpvEngine.h"

#include "playback/EngineDoor.h"
#include "playback/EngineStatus.h"
#include "playback/MpvLibrary.h"
#include "playback/VideoOutputChoice.h"

#include <QDebug>
#include <QMetaObject>
#include <QPointer>
#include <QtGlobal>
#include <clocale>

namespace {

// Properties the engine follows, one reply id each.
enum ObservedProperty : uint64_t { PropPause = 1, PropPausedForCache, PropBuffering };

struct Observed {
    ObservedProperty id;
    const char* name;
    mpv_format format;
};

constexpr Observed kObserved[] = {
    {PropPause, "pause", MPV_FORMAT_FLAG},
    {PropPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
    {PropBuffering, "cache-buffering-state", MPV_FORMAT_INT64},
};

// Double clicks on the video arrive as client messages; the number is the
// button in the engine's own numbering (1 left, 2 right, 4 middle).
constexpr const char* kDoubleClickMessage = "melodeck-dblclick";

// Options for one local file, given with its loadfile command, so that it is
// played as media only and never leads the engine anywhere else:
// - access-references=no: the file is not opened as a playlist (m3u, PLS,
//   directory), EDL, cue sheet or ffconcat list, and FFmpeg may not open
//   further files or addresses from inside it (HLS segments, references),
//   so a "song.mp3" holding such a text fails as an unknown format instead
//   of fetching what it lists, and one listing itself cannot loop;
// - ordered-chapters=no: Matroska linked segments are not looked for in
//   neighbouring files;
// - sub-auto, audio-file-auto, cover-art-auto: no files are picked up
//   because their names resemble the item's.
// Streams keep the defaults: internet radio is often an m3u or PLS list.
constexpr const char* kLocalFileOptions =
    "access-references=no,ordered-chapters=no,sub-auto=no,audio-file-auto=no,"
    "cover-art-auto=no";

// How many playlists one stream item may lead through before it is given up.
constexpr int kMaxRedirects = 5;

void wakeup(void* context) {
    // Called on one of mpv's threads: only hand over to the GUI thread.
    auto* engine = static_cast<QObject*>(context);
    QMetaObject::invokeMethod(engine, "drainEvents", Qt::QueuedConnection);
}

} // namespace

void MpvEngine::HandleDeleter::operator()(mpv_handle* handle) const {
    mpv->setWakeupCallback(handle, nullptr, nullptr);
    mpv->terminateDestroy(handle);
}

MpvEngine::MpvEngine(QObject* parent) : MediaEngine(parent) {
    initialise();
}

MpvEngine::~MpvEngine() {
    // Stop the sound before the engine goes.
    if (m_mpv)
        command({"stop"});
}

void MpvEngine::initialise() {
    QString fileName = qEnvironmentVariable("MELODECK_MPV_LIBRARY");
    if (fileName.isEmpty())
        fileName = MpvLibrary::DefaultFileName();
    m_lib = std::make_unique<MpvLibrary>(fileName);
    if (!m_lib->isLoaded())
        m_engineError =
            QStringLiteral("无法加载媒体引擎 %1: %2").arg(fileName, m_lib->errorString());
    else if (!startEngine())
        m_engineError = QStringLiteral("无法启动媒体引擎 %1").arg(fileName);
    // The player goes on without an engine: every item fails and says why.
    if (!m_engineError.isEmpty())
        qWarning().noquote() << m_engineError;
}

bool MpvEngine::startEngine() {
    // libmpv refuses to start unless numbers are formatted the C way; Qt's
    // application object may have switched to the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* handle = m_lib->create();
    if (!handle)
        return false;
    m_mpv = std::unique_ptr<mpv_handle, HandleDeleter>(handle, HandleDeleter{m_lib.get()});

    m_forcedOutput = qgetenv("MELODECK_MPV_VO");
    m_outputs = VideoOutputChoice::outputsFor(false);
    const QByteArray vo = m_forcedOutput.isEmpty() ? m_outputs : m_forcedOutput;
    const QByteArray ao = qgetenv("MELODECK_MPV_AO");
    const std::pair<const char*, QByteArray> options[] = {
        {"config", "no"},
        {"ytdl", "no"},
        // None of the engine's scripts is used: each would run a thread (and
        // a Lua state) of its own. Options a later libmpv no longer knows are
        // refused without harm.
        {"load-scripts", "no"},
        {"osc", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"audio-fallback-to-null", "yes"},
        {"audio-display", "no"},
        {"idle", "yes"},
        {"keep-open", "no"},
        {"terminal", "no"},
        // A list fetched from the network may name only network addresses
        // (never a local file nor av://, edl:// and the like); the engine's
        // default, stated here because the doors rely on it.
        {"load-unsafe-playlists", "no"},
        {"volume", QByteArray::number(m_volume)},
        {"vo", vo},
        {"ao", ao},
    };
    for (const auto& [name, value] : options) {
        if (!value.isEmpty())
            m_lib->setOptionString(handle, name, value.constData());
    }
    if (m_lib->initialize(handle) < 0) {
        m_mpv.reset();
        return false;
    }

    for (const Observed& p : kObserved)
        m_lib->observeProperty(handle, p.id, p.name, p.format);
    // Bindings are made by name so that mpv reports double clicks to us
    // instead of acting on them.
    command({"keybind", "MBTN_LEFT_DBL", "script-message melodeck-dblclick 1"});
    command({"keybind", "MBTN_RIGHT_DBL", "script-message melodeck-dblclick 2"});
    command({"keybind", "MBTN_MID_DBL", "script-message melodeck-dblclick 4"});
    m_lib->setWakeupCallback(handle, wakeup, this);
    return true;
}

void MpvEngine::command(std::initializer_list<const char*> args) {
    if (!m_mpv)
        return;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    m_lib->command(m_mpv.get(), list.data());
}

double MpvEngine::doubleProperty(const char* name) const {
    double value = 0.0;
    if (!m_mpv || m_lib->getProperty(m_mpv.get(), name, MPV_FORMAT_DOUBLE, &value) < 0)
        return 0.0;
    return value;
}

void MpvEngine::setFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    if (m_mpv)
        m_lib->setProperty(m_mpv.get(), name, MPV_FORMAT_FLAG, &flag);
}

void MpvEngine::setString(const char* name, const char* value) {
    if (m_mpv)
        m_lib->setPropertyString(m_mpv.get(), name, value);
}

void MpvEngine::setURL(const QString& url) {
    m_url = url;
    if (url.isEmpty()) {
        stop();
        return;
    }
    loadCurrentUrl();
}

void MpvEngine::loadCurrentUrl() {
    ++m_loadSerial;
    m_redirects = 0;
    m_entryFailed = false;
    m_abandoning = false;
    m_refusing = false;
    const std::optional<QString> admitted = EngineDoor::AdmitItem(m_url);
    if (!admitted || !m_mpv) {
        refuseCurrentUrl();
        return;
    }
    // Assigning a URL always plays it, whatever the previous item was doing.
    setFlag("pause", false);
    updateOutputs();
    VideoOutputChoice::reserveDescriptorZero();
    const QByteArray url = admitted->toUtf8();
    ++m_pendingLoads;
    if (EngineDoor::IsLocalFile(*admitted))
        command({"loadfile", url.constData(), "replace", kLocalFileOptions});
    else
        command({"loadfile", url.constData(), "replace"});
}

void MpvEngine::refuseCurrentUrl() {
    // The item never reaches the engine; it fails the way a missing file
    // does, after setURL has returned, unless another item came meanwhile.
    // The item playing so far is stopped, and its end counts as replaced.
    if (m_loaded || m_pendingLoads > 0) {
        m_pendingLoads = 0;
        m_loaded = false;
        command({"stop"});
    }
    m_refusing = true;
    const int serial = m_loadSerial;
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial != m_loadSerial || !m_refusing)
                return;
            m_refusing = false;
            setState(Transitioning);
            failCurrentItem(m_pendingLoads > 0);
        },
        Qt::QueuedConnection);
}

void MpvEngine::failCurrentItem(bool replaced) {
    m_failed = true;
    emit MediaError(EngineMedia(m_url, 0.0));
    if (!replaced)
        setState(Stopped);
}

void MpvEngine::followRedirect() {
    // The item was a playlist (a stream's m3u or PLS) and the engine goes on
    // to what it lists: still the same item, still on its way. A list that
    // keeps leading to lists (one naming itself) is given up; the engine is
    // stopped and the item fails once it is idle.
    if (++m_redirects <= kMaxRedirects)
        return;
    m_abandoning = true;
    m_pendingLoads = 0;
    command({"stop"});
}

void MpvEngine::play() {
    if (m_loaded) {
        setFlag("pause", false);
    } else if (m_pendingLoads == 0 && !m_refusing && !m_url.isEmpty()) {
        loadCurrentUrl(); // play after stop or end starts the item again
    }
}

void MpvEngine::pause() {
    if (!m_loaded)
        return;
    setFlag("pause", true);
}

void MpvEngine::stop() {
    if (m_refusing) {
        m_refusing = false; // stopped before it could fail
        setState(Stopped);
    }
    if (!m_loaded && m_pendingLoads == 0)
        return;
    m_pendingLoads = 0;
    command({"stop"});
}

double MpvEngine::currentPosition() const {
    return m_loaded ? doubleProperty("time-pos") : 0.0;
}

void MpvEngine::setCurrentPosition(double seconds) {
    if (!m_loaded)
        return;
    const QByteArray target = QByteArray::number(std::max(0.0, seconds), 'f', 3);
    command({"seek", target.constData(), "absolute"});
}

EngineMedia MpvEngine::currentMedia() const {
    if (!m_loaded)
        return EngineMedia(m_url, 0.0);
    const double duration = doubleProperty("duration");
    QMap<QString, QString> info;
    if (char* title = m_lib->getPropertyString(m_mpv.get(), "media-title")) {
        info.insert(QStringLiteral("title"), QString::fromUtf8(title));
        m_lib->freeMemory(title);
    }
    if (duration > 0)
        info.insert(QStringLiteral("Duration"), QString::number(duration, 'f', 3));
    info.insert(QStringLiteral("HasVideo"),
                hasMovingPicture() ? QStringLiteral("1") : QStringLiteral("0"));
    return EngineMedia(m_url, duration, info);
}

bool MpvEngine::hasMovingPicture() const {
    // A cover picture of a song is a video track too, but one still image.
    char* image = m_lib->getPropertyString(m_mpv.get(), "current-tracks/video/image");
    if (!image)
        return false;
    const bool still = qstrcmp(image, "yes") == 0;
    m_lib->freeMemory(image);
    return !still;
}

void MpvEngine::setVolume(int volume) {
    m_volume = qBound(0, volume, 100);
    double value = m_volume;
    if (m_mpv)
        m_lib->setProperty(m_mpv.get(), "volume", MPV_FORMAT_DOUBLE, &value);
}

void MpvEngine::setMute(bool mute) {
    m_mute = mute;
    setFlag("mute", mute);
}

void MpvEngine::setStretchToFit(bool stretch) {
    m_stretchToFit = stretch;
    // Stretched: scale the picture to the window; otherwise show it at its
    // own size unless it is larger than the window.
    setString("video-unscaled", stretch ? "no" : "downscale-big");
}

void MpvEngine::setVideoWindow(WId window) {
    // The window comes first, so that an output made for the next item
    // already finds it.
    const QByteArray id = QByteArray::number(qulonglong(window));
    setString("wid", id.constData());
    m_hasWindow = window != 0;
    updateOutputs();
}

void MpvEngine::updateOutputs() {
    // Only between items: changing the option re-makes a running output.
    const QByteArray wanted = VideoOutputChoice::outputsFor(m_hasWindow);
    if (!m_forcedOutput.isEmpty() || wanted == m_outputs)
        return;
    m_outputs = wanted;
    setString("vo", wanted.constData());
}

void MpvEngine::noteOutputInUse() {
    if (!m_forcedOutput.isEmpty() || !m_hasWindow)
        return;
    if (char* output = m_lib->getPropertyString(m_mpv.get(), "current-vo")) {
        VideoOutputChoice::noteOutputInUse(QByteArray(output));
        m_lib->freeMemory(output);
    }
}

QString MpvEngine::status() const {
    if (m_failed && m_state == Stopped)
        return m_engineError.isEmpty() ? EngineErrorStatusText() : m_engineError;
    return EngineStatusText(m_state, m_bufferPercent);
}

void MpvEngine::setState(int state) {
    if (state == m_state)
        return;
    m_state = state;
    m_lastStatus = status();
    emit PlayStateChange(state);
    emit StatusChange();
}

void MpvEngine::emitStatusIfChanged() {
    const QString now = status();
    if (now != m_lastStatus) {
        m_lastStatus = now;
        emit StatusChange();
    }
}

void MpvEngine::drainEvents() {
    // Handlers may call back into the engine (and even delete it through
    // their owner); stop draining as soon as this object is gone.
    QPointer<MpvEngine> self(this);
    while (self && m_mpv) {
        mpv_event* event = m_lib->waitEvent(m_mpv.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvEngine::handleEvent(const mpv_event& event) {
    if (m_abandoning && event.event_id != MPV_EVENT_PROPERTY_CHANGE) {
        // While an item is given up only the engine's arrival at idle
        // matters: what it started meanwhile is being stopped.
        if (event.event_id == MPV_EVENT_IDLE) {
            m_abandoning = false;
            m_loaded = false;
            failCurrentItem(m_pendingLoads > 0);
        }
        return;
    }
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        m_pendingLoads = std::max(0, m_pendingLoads - 1);
        m_failed = false;
        m_loaded = false;
        setState(Transitioning);
        break;
    case MPV_EVENT_FILE_LOADED:
        m_loaded = true;
        m_entryFailed = false;
        emit MediaChange(currentMedia());
        break;
    case MPV_EVENT_IDLE:
        if (std::exchange(m_entryFailed, false))
            failCurrentItem(m_pendingLoads > 0);
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        noteOutputInUse();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (m_loaded)
            setState(m_paused ? Paused : m_waitingForCache ? Buffering : Playing);
        break;
    case MPV_EVENT_END_FILE:
        handleEndFile(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        handlePropertyChange(event);
        break;
    case MPV_EVENT_CLIENT_MESSAGE: {
        const auto* message = static_cast<const mpv_event_client_message*>(event.data);
        if (message->num_args == 2 && qstrcmp(message->args[0], kDoubleClickMessage) == 0)
            emit DoubleClick(short(QByteArray(message->args[1]).toShort()), 0, 0, 0);
        break;
    }
    default:
        break;
    }
}

void MpvEngine::handleEndFile(const mpv_event& event) {
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    m_loaded = false;
    // Another item is already on its way (or being refused).
    const bool replaced = m_pendingLoads > 0 || m_refusing;
    switch (end->reason) {
    case MPV_END_FILE_REASON_EOF:
        emit EndOfStream(0);
        if (!replaced) {
            setState(MediaEnded);
            setState(Stopped);
        }
        break;
    case MPV_END_FILE_REASON_ERROR:
        // An entry of a stream's list failed: the engine goes on to the
        // next mirror by itself, and the item fails only once none is left
        // (told when the engine is idle). Reported per entry, each failure
        // made the player load the list again, for ever.
        if (m_redirects > 0 && !replaced) {
            m_entryFailed = true;
            break;
        }
        failCurrentItem(replaced);
        break;
    case MPV_END_FILE_REASON_REDIRECT:
        followRedirect();
        break;
    default:
        if (!replaced)
            setState(Stopped);
        break;
    }
}

void MpvEngine::handlePropertyChange(const mpv_event& event) {
    const auto* prop = static_cast<const mpv_event_property*>(event.data);
    if (!prop->data)
        return;
    switch (event.reply_userdata) {
    case PropPause:
        m_paused = *static_cast<const int*>(prop->data) != 0;
        if (m_loaded && (m_state == Playing || m_state == Paused || m_state == Buffering))
            setState(m_paused ? Paused : m_waitingForCache ? Buffering : Playing);
        break;
    case PropPausedForCache:
        m_waitingForCache = *static_cast<const int*>(prop->data) != 0;
        if (m_loaded && !m_paused && (m_state == Playing || m_state == Buffering))
            setState(m_waitingForCache ? Buffering : Playing);
        break;
    case PropBuffering:
        m_bufferPercent = int(*static_cast<const int64_t*>(prop->data));
        if (m_state == Buffering)
            emitStatusIfChanged();
        break;
    default:
        break;
    }
}
