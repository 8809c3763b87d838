#include "lyrics/LyricsFollower.h"

#include <algorithm>
#include <cmath>

LyricsFollower::LyricsFollower(std::function<double()> positionSeconds, QObject* parent)
    : QObject(parent), m_position(std::move(positionSeconds)) {
    m_next.setSingleShot(true);
    // The default coarse timer may fire 5 % late; a line should not.
    m_next.setTimerType(Qt::PreciseTimer);
    connect(&m_next, &QTimer::timeout, this, [this] { Look(false); });
}

void LyricsFollower::SetLyrics(const Lyrics& lyrics) {
    m_lyrics = lyrics;
    m_current = -2; // whatever Look finds is news
    Look(true);
}

void LyricsFollower::Resync(bool playing, std::optional<double> seconds) {
    m_playing = playing;
    Look(true, seconds);
}

void LyricsFollower::Look(bool jump, std::optional<double> seconds) {
    m_next.stop();
    const double position = seconds ? *seconds : m_position();
    const qint64 now = qint64(std::llround(std::max(0.0, position) * 1000));
    const int line = m_lyrics.LineAt(now);
    const bool newLine = line != m_current;
    if (newLine) {
        m_current = line;
        emit LineChanged(line, jump);
    }
    const qsizetype sung = line >= 0 ? m_lyrics.Lines[line].SungLength(now) : 0;
    if (newLine || sung != m_sung) {
        m_sung = sung;
        emit SungChanged(sung);
    }
    if (!m_playing || !m_lyrics.Timed)
        return;
    qint64 next = line + 1 < m_lyrics.Lines.size() ? m_lyrics.Lines[line + 1].TimeMs : -1;
    if (line >= 0) {
        const qint64 word = m_lyrics.Lines[line].NextWordMs(now);
        if (word >= 0 && (next < 0 || word < next))
            next = word;
    }
    if (next < 0)
        return;
    m_next.start(int(std::clamp<qint64>(next - now, kMinWaitMs, kMaxWaitMs)));
}
