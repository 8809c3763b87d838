#pragma once

#include "playback/PlaybackPeers.h"
#include "playback/PlayerState.h"
#include "playback/ctlPlayer.h"

#include <QStringList>

// Stand-ins for the windows the playback controller drives.

// Remembers what the controller last wrote to each player-window control;
// -1 / "untouched" mean it was never written.
struct FakeControls : PlayerWindowControls {
    int play = -1, pause = -1, equalizer = -1, max = -1, value = -1, volume = -1;
    QString led = QStringLiteral("untouched");
    void setPlayVisible(bool v) override { play = v; }
    void setPauseVisible(bool v) override { pause = v; }
    void setEqualizerSelected(bool v) override { equalizer = v; }
    void setProgressMax(int v) override { max = v; }
    void setProgressValue(int v) override { value = v; }
    void setVolumeValue(int v) override { volume = v; }
    void setLedText(const QString& t) override { led = t; }
};

struct FakeSongList : SongListRows {
    QStringList writes; // "key=time"
    void setItemTime(const QString& key, const QString& time) override {
        writes << key + QLatin1Char('=') + time;
    }
};

// Plays the current record's Path as the real entry points do, and logs.
struct FakeEntryPoints : PlaybackEntryPoints {
    PlayerState* state = nullptr;
    ctlPlayer* player = nullptr;
    QStringList calls;
    void PlayNextItem() override { calls << QStringLiteral("PlayNextItem"); }
    void StopPlayback() override { calls << QStringLiteral("StopPlayback"); }
    void PlayCurrentItem() override {
        calls << QStringLiteral("PlayCurrentItem ") + state->CurrentMedia->Path;
        player->setFileName(state->CurrentMedia->Path);
    }
};
