#pragma once

#include "playback/EngineMedia.h"

#include <QObject>
#include <QString>
#include <QWidget>

// The media engine behind ctlPlayer. Assigning a URL starts loading and
// playing it; state changes and failures arrive later as signals, always on
// the GUI thread. The play-state numbers are the published ones:
// 0 undefined, 1 stopped, 2 paused, 3 playing, 6 buffering, 8 media ended,
// 9 transitioning, 10 ready, 11 reconnecting.
class MediaEngine : public QObject {
    Q_OBJECT
public:
    enum PlayState {
        Undefined = 0,
        Stopped = 1,
        Paused = 2,
        Playing = 3,
        Buffering = 6,
        MediaEnded = 8,
        Transitioning = 9,
        Ready = 10,
        Reconnecting = 11,
    };

    using QObject::QObject;

    virtual void setURL(const QString& url) = 0;
    virtual QString URL() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;

    // Position in the current item, seconds; 0 when nothing is loaded.
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;

    virtual EngineMedia currentMedia() const = 0;

    // 0..100.
    virtual int volume() const = 0;
    virtual void setVolume(int volume) = 0;
    virtual bool mute() const = 0;
    virtual void setMute(bool mute) = 0;

    virtual int playState() const = 0;
    virtual QString status() const = 0;

    virtual bool stretchToFit() const = 0;
    virtual void setStretchToFit(bool stretch) = 0;
    virtual bool enableContextMenu() const = 0;
    virtual void setEnableContextMenu(bool enable) = 0;
    virtual bool fullScreen() const = 0;

    // The native window video is drawn into (0: none).
    virtual void setVideoWindow(WId window) = 0;
    // The video window has just been shown: an output made while it was
    // hidden is made again so that it draws into it.
    virtual void videoWindowShown() {}

    // A media object for a URL, without playing it.
    virtual EngineMedia newMedia(const QString& url) const;

signals:
    void DoubleClick(short nButton, short nShiftState, int fX, int fY);
    void DurationUnitChange(int NewDurationUnit);
    void EndOfStream(int result);
    void MediaChange(const EngineMedia& Item);
    void MediaError(const EngineMedia& pMediaObject);
    void SwitchedToControl();
    void StatusChange();
    void PlayStateChange(int NewState);
};
