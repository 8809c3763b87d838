#pragma once

#include "lyrics/Lyrics.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

// Which line of the lyrics is sung, and how much of a karaoke line, kept up
// with playback without polling: after each look at the engine's position a
// single timer is set for the moment the next line or word starts (at most kMaxWaitMs away, which
// bounds the drift of a clock that runs unevenly), and nothing runs while playback is paused or
// stopped.
class LyricsFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWaitMs = 2000;
    // A position that stands still while "playing" (the engine waiting for
    // data) must not make the timer spin.
    static constexpr int kMinWaitMs = 20;

    // `positionSeconds` reads the engine's position.
    explicit LyricsFollower(std::function<double()> positionSeconds, QObject* parent = nullptr);

    void SetLyrics(const Lyrics& lyrics);
    // Looks at the position now: after a seek, a pause or a new item.
    // `playing` tells whether the position moves on by itself; `seconds`,
    // when given, is the position (a seek just asked for, which the engine
    // may not show yet).
    void Resync(bool playing, std::optional<double> seconds = std::nullopt);

    int CurrentLine() const { return m_current; }
    qsizetype SungLength() const { return m_sung; }
    bool IsWaiting() const { return m_next.isActive(); }

signals:
    // The current line changed; `jump` when it did not come by playing on
    // (a seek or new lyrics), so the view should not scroll slowly.
    void LineChanged(int index, bool jump);
    // How many characters of the current line are sung changed (after
    // LineChanged for a new line); see LyricLine::SungLength.
    void SungChanged(qsizetype length);

private:
    void Look(bool jump, std::optional<double> seconds = std::nullopt);

    std::function<double()> m_position;
    Lyrics m_lyrics;
    QTimer m_next;
    int m_current = -1;
    qsizetype m_sung = 0;
    bool m_playing = false;
};
