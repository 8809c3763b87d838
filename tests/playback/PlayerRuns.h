#pragma once

#include "playback/ctlPlayer.h"

#include <QSignalSpy>
#include <QTest>

// Helpers for tests of the real engine seen through the wrapper control.

// Records every play state the wrapper reports, in order.
// The log stops listening when it goes, so one player can be logged again.
struct StateLog {
    explicit StateLog(ctlPlayer& player)
        : connection(QObject::connect(&player, &ctlPlayer::StatusChange, &player,
                                      [this, &player] { states << player.playState(); })) {}
    ~StateLog() { QObject::disconnect(connection); }
    StateLog(const StateLog&) = delete;
    StateLog& operator=(const StateLog&) = delete;
    QMetaObject::Connection connection;
    QList<int> states;
};

// What happened to an item played until it failed (or the time ran out).
struct FailedRun {
    bool ended = false; // a MediaError came and the player then stopped
    QList<int> states;  // every play state reported
    QStringList errors; // the address each MediaError named
};

// Plays `item` on `player` and waits until it has failed and stopped.
inline FailedRun PlayUntilFailed(ctlPlayer& player, const QString& item, int timeoutMs) {
    StateLog log(player);
    QSignalSpy errors(&player, &ctlPlayer::MediaError);
    player.setFileName(item);
    FailedRun run;
    run.ended =
        QTest::qWaitFor([&] { return !errors.isEmpty() && player.playState() == 1; }, timeoutMs);
    run.states = log.states;
    for (const QList<QVariant>& error : errors)
        run.errors << error.at(0).value<EngineMedia>().sourceURL();
    return run;
}
