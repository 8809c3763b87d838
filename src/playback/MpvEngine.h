#pragma once

#include "playback/MediaEngine.h"

#include <memory>

struct mpv_handle;
struct mpv_event;
class MpvLibrary;

// The media engine over libmpv.
//
// mpv runs its own threads; its wakeup callback only queues a call to
// drainEvents() onto the GUI thread, which empties mpv's event queue and
// turns the events into play states and signals:
//   start of a file -> 9; playback (re)started -> 3 (2 when paused,
//   6 while waiting for the cache); end of file -> EndOfStream, 8, then 1;
//   failure to open or decode -> MediaError, then 1; stop -> 1.
// A stream that is a playlist leads on to what it lists without a stop in
// between; one that leads through more than a few playlists fails.
// An item the engine must not be given (see EngineDoor) fails like a
// missing file: 9, MediaError, then 1, without reaching libmpv.
//
// libmpv is loaded when the engine is made (MELODECK_MPV_LIBRARY names
// another file to load instead). Without it, or when it cannot be started,
// every item fails the same way and status() names the library and the
// reason, as does one warning on the terminal.
class MpvEngine : public MediaEngine {
    Q_OBJECT
public:
    explicit MpvEngine(QObject* parent = nullptr);
    ~MpvEngine() override;

    void setURL(const QString& url) override;
    QString URL() const override { return m_url; }
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    EngineMedia currentMedia() const override;
    int volume() const override { return m_volume; }
    void setVolume(int volume) override;
    bool mute() const override { return m_mute; }
    void setMute(bool mute) override;
    int playState() const override { return m_state; }
    QString status() const override;
    bool stretchToFit() const override { return m_stretchToFit; }
    void setStretchToFit(bool stretch) override;
    bool enableContextMenu() const override { return m_enableContextMenu; }
    void setEnableContextMenu(bool enable) override { m_enableContextMenu = enable; }
    bool fullScreen() const override { return false; }
    void setVideoWindow(WId window) override;

private:
    struct HandleDeleter {
        const MpvLibrary* mpv;
        void operator()(mpv_handle* handle) const;
    };

    void initialise();
    bool startEngine();
    void setFlag(const char* name, bool value);
    void setString(const char* name, const char* value);
    void updateOutputs();
    void noteOutputInUse();
    Q_INVOKABLE void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleEndFile(const mpv_event& event);
    void handlePropertyChange(const mpv_event& event);
    void setState(int state);
    void loadCurrentUrl();
    void refuseCurrentUrl();
    void failCurrentItem(bool replaced);
    void followRedirect();
    void command(std::initializer_list<const char*> args);
    double doubleProperty(const char* name) const;
    // Whether the open file shows moving pictures (a video track other
    // than a still cover).
    bool hasMovingPicture() const;
    void emitStatusIfChanged();

    std::unique_ptr<MpvLibrary> m_lib;
    // Null when the engine is missing.
    std::unique_ptr<mpv_handle, HandleDeleter> m_mpv{nullptr, HandleDeleter{}};
    QString m_engineError; // why there is no engine, shown as the status after a failure
    QString m_url;
    int m_state = Undefined;
    int m_volume = 50;
    bool m_mute = false;
    bool m_stretchToFit = false;
    bool m_enableContextMenu = true;
    bool m_loaded = false; // a file is open (between file-loaded and end-file)
    bool m_paused = false; // mpv's pause property
    bool m_waitingForCache = false;
    bool m_failed = false; // the last item failed to open
    int m_bufferPercent = 0;
    int m_pendingLoads = 0;     // loadfile commands not yet started
    int m_loadSerial = 0;       // counts items handed over, to drop stale refusals
    int m_redirects = 0;        // playlists followed for the current item
    bool m_entryFailed = false; // an entry of the item's stream list failed
    bool m_abandoning = false;  // the current item is given up; waiting for idle
    bool m_refusing = false;    // the current item was refused; its failure is queued
    QString m_lastStatus;
    QByteArray m_forcedOutput; // MELODECK_MPV_VO: the video output, whatever the window
    QByteArray m_outputs;      // the "vo" option as last set (see VideoOutputChoice)
    bool m_hasWindow = false;  // a window to draw into was given
};
