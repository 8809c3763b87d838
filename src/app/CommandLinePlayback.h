#pragma once

#include "playback/PlaybackPeers.h"
#include "playback/PlayerState.h"

#include <QObject>
#include <QTextStream>
#include <memory>

class frmPlayer;

// Plays the one item named on the command line through the playback
// controller, shows the video window for video items, prints the position
// on the terminal, and ends the program when the item has ended, failed, or
// its video window was closed. It stands in for the player and playlist
// windows, which implement the same interfaces.
class CommandLinePlayback : public QObject,
                            public PlayerWindowControls,
                            public SongListRows,
                            public PlaybackEntryPoints {
    Q_OBJECT
public:
    explicit CommandLinePlayback(const QString& item);
    ~CommandLinePlayback() override;

    // Starts playing; returns false (with a message on stderr) when the text
    // names nothing this program can play yet.
    bool start();
    int exitCode() const { return m_exitCode; }

    // PlayerWindowControls
    void setPlayVisible(bool) override {}
    void setPauseVisible(bool) override {}
    void setEqualizerSelected(bool selected) override;
    void setProgressMax(int max) override { m_max = max; }
    void setProgressValue(int) override {}
    void setVolumeValue(int) override {}
    void setLedText(const QString& text) override;

    // SongListRows
    void setItemTime(const QString&, const QString&) override {}

    // PlaybackEntryPoints
    void PlayNextItem() override;
    void PlayCurrentItem() override;
    void StopPlayback() override;

private:
    void finish(int code);

    QString m_text;
    PlayerState m_state;
    std::unique_ptr<frmPlayer> m_player;
    QTextStream m_out;
    int m_max = 0;
    int m_exitCode = 0;
    bool m_failed = false;
};
