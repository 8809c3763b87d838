#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <random>

// The ways through a list the user can pick from the main menu.
enum class PlayMode {
    Default,    // the last song again after the last song (the program's old behaviour)
    InOrder,    // stop after the last song
    RepeatList, // the first song follows the last
    RepeatOne,  // the song that ended starts again
    Shuffle,    // every song once in a random order, then a new order
};

// Which item comes next in the list for the chosen mode, apart from any
// widget: given the list's item keys in their order and the current key it
// answers the key to play, or nothing to stop. Shuffle remembers the order
// it dealt so previous walks back through the songs already played and next
// walks forward again; keys that left the list are forgotten, keys that
// joined it are dealt in the current round.
class PlayOrder {
public:
    enum class Event { Ended, Next, Previous };

    explicit PlayOrder(quint32 seed = std::random_device{}());

    PlayMode Mode() const { return m_mode; }
    // A new mode starts a fresh shuffle round from the current song.
    void SetMode(PlayMode mode);

    // The key to play after `event` on `current` (a key of no item of
    // `keys`, an empty one too, means "before the first"); nothing: stop.
    // In Default mode the answer clamps at both ends, as the selection did.
    std::optional<QString> Step(Event event, const QStringList& keys, const QString& current);

private:
    std::optional<QString> Linear(Event event, const QStringList& keys, qsizetype at) const;
    std::optional<QString> Shuffled(Event event, const QStringList& keys, const QString& current);
    void Forget(const QStringList& keys);
    void Note(const QString& key);

    PlayMode m_mode = PlayMode::Default;
    std::mt19937 m_random;
    // The songs in the order shuffle played them; m_at is the current one.
    QStringList m_history;
    qsizetype m_at = -1;
    // The songs played in the running round.
    QSet<QString> m_round;
};
