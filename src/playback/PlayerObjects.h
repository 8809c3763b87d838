#pragma once

#include "playback/MediaEngine.h"

// The engine's settings object: volume 0..100 and mute.
class PlayerSettings {
public:
    explicit PlayerSettings(MediaEngine& engine) : m_engine(engine) {}
    int volume() const { return m_engine.volume(); }
    void setVolume(int volume) { m_engine.setVolume(volume); }
    bool mute() const { return m_engine.mute(); }
    void setMute(bool mute) { m_engine.setMute(mute); }

private:
    MediaEngine& m_engine;
};

// The engine's controls object: transport and position.
class PlayerControls {
public:
    explicit PlayerControls(MediaEngine& engine) : m_engine(engine) {}
    void play() { m_engine.play(); }
    void pause() { m_engine.pause(); }
    void stop() { m_engine.stop(); }
    double currentPosition() const { return m_engine.currentPosition(); }
    void setCurrentPosition(double seconds) { m_engine.setCurrentPosition(seconds); }
    // The position as minutes:seconds text.
    QString currentPositionString() const;

private:
    MediaEngine& m_engine;
};
