#include "playlist/PlayOrder.h"

namespace {

// Enough to go back a long way; a program left shuffling for days must not
// grow without end.
constexpr qsizetype kMaxHistory = 10000;

} // namespace

PlayOrder::PlayOrder(quint32 seed) : m_random(seed) {
}

void PlayOrder::SetMode(PlayMode mode) {
    m_mode = mode;
    m_history.clear();
    m_round.clear();
    m_at = -1;
}

std::optional<QString> PlayOrder::Step(Event event, const QStringList& keys,
                                       const QString& current) {
    if (keys.isEmpty())
        return std::nullopt;
    if (m_mode == PlayMode::Shuffle)
        return Shuffled(event, keys, current);
    const qsizetype at = keys.indexOf(current);
    if (at < 0)
        return keys.front(); // the playing song was removed, or none was chosen
    if (event == Event::Ended && m_mode == PlayMode::RepeatOne)
        return current;
    return Linear(event, keys, at);
}

std::optional<QString> PlayOrder::Linear(Event event, const QStringList& keys, qsizetype at) const {
    const qsizetype last = keys.size() - 1;
    // Repeating one song is about its end; the buttons still move through
    // the list, wrapping as the repeated list does.
    const bool wraps = m_mode == PlayMode::RepeatList || m_mode == PlayMode::RepeatOne;
    if (event == Event::Previous) {
        if (at > 0)
            return keys[at - 1];
        return wraps ? keys[last] : keys.front();
    }
    if (at < last)
        return keys[at + 1];
    if (wraps)
        return keys.front();
    if (m_mode == PlayMode::InOrder)
        return std::nullopt;
    return keys[last];
}

void PlayOrder::Forget(const QStringList& keys) {
    const QSet<QString> present(keys.cbegin(), keys.cend());
    for (qsizetype i = m_history.size() - 1; i >= 0; --i) {
        if (present.contains(m_history[i]))
            continue;
        m_history.removeAt(i);
        if (i <= m_at)
            --m_at;
    }
    m_round.intersect(present);
}

void PlayOrder::Note(const QString& key) {
    // A song chosen by hand (or the first one) drops the forward history.
    m_history.erase(m_history.begin() + (m_at + 1), m_history.end());
    m_history.append(key);
    if (m_history.size() > kMaxHistory)
        m_history.removeFirst();
    m_at = m_history.size() - 1;
    m_round.insert(key);
}

std::optional<QString> PlayOrder::Shuffled(Event event, const QStringList& keys,
                                           const QString& current) {
    Forget(keys);
    if (keys.contains(current) && (m_at < 0 || m_history[m_at] != current))
        Note(current);
    if (event == Event::Previous) {
        if (m_at > 0)
            return m_history[--m_at];
        return m_at == 0 ? m_history[0] : keys.front();
    }
    if (m_at + 1 < m_history.size())
        return m_history[++m_at];
    QStringList left;
    for (const QString& key : keys)
        if (!m_round.contains(key))
            left << key;
    if (left.isEmpty()) {
        // A new round; its first song is not the one that just ended.
        m_round.clear();
        for (const QString& key : keys)
            if (key != current || keys.size() == 1)
                left << key;
    }
    std::uniform_int_distribution<qsizetype> pick(0, left.size() - 1);
    const QString chosen = left[pick(m_random)];
    Note(chosen);
    return chosen;
}
