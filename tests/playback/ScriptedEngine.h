#pragma once

#include "playback/EngineStatus.h"
#include "playback/MediaEngine.h"

#include <QStringList>

// An engine the test drives by hand: it raises the same events as the real
// one, when the test says so, and records what it was asked to do.
class ScriptedEngine : public MediaEngine {
public:
    // Moves to `state` and raises StatusChange, as the real engine does.
    void raise(int state) {
        m_state = state;
        emit PlayStateChange(state);
        emit StatusChange();
    }
    void raiseMediaError() { emit MediaError(EngineMedia(m_url, 0.0)); }
    void raiseDoubleClick(short button) { emit DoubleClick(button, 0, 10, 10); }

    double duration = 0.0;
    double position = 0.0;
    QStringList calls;

    void setURL(const QString& url) override {
        m_url = url;
        calls << QStringLiteral("URL=") + url;
    }
    QString URL() const override { return m_url; }
    void play() override { calls << QStringLiteral("play"); }
    void pause() override { calls << QStringLiteral("pause"); }
    void stop() override { calls << QStringLiteral("stop"); }
    double currentPosition() const override { return position; }
    void setCurrentPosition(double seconds) override { position = seconds; }
    EngineMedia currentMedia() const override { return EngineMedia(m_url, duration); }
    int volume() const override { return m_volume; }
    void setVolume(int volume) override { m_volume = volume; }
    bool mute() const override { return m_mute; }
    void setMute(bool mute) override { m_mute = mute; }
    int playState() const override { return m_state; }
    QString status() const override { return EngineStatusText(m_state); }
    bool stretchToFit() const override { return m_stretch; }
    void setStretchToFit(bool stretch) override { m_stretch = stretch; }
    bool enableContextMenu() const override { return m_menu; }
    void setEnableContextMenu(bool enable) override { m_menu = enable; }
    bool fullScreen() const override { return false; }
    void setVideoWindow(WId) override {}

private:
    QString m_url;
    int m_state = 0;
    int m_volume = 50;
    bool m_mute = false;
    bool m_stretch = false;
    bool m_menu = true;
};
