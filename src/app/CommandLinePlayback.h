#pragma once

#include "playback/PlaybackPeers.h"
#include "playback/PlayerState.h"

#include <QObject>
#include <QTextStream>
#include <memory>

class frmPlayer;

// Plays the one item named on the command line through the playback
// controller and shows the video window for video items. It stands in for
// the playlist window, which implements the same interfaces.
//
// Without a player window it prints the position on the terminal and ends the
// program when the item has ended, failed, or its video window was closed.
// With a player window the controller's changes go to that window, and the
// program stays open after the item until the user ends it there.
class CommandLinePlayback : public QObject,
                            public PlayerWindowControls,
                            public SongListRows,
                            public PlaybackEntryPoints {
    Q_OBJECT
public:
    // `window`, when given, receives what the controller shows and must
    // outlive this object.
    explicit CommandLinePlayback(const QString& item, PlayerWindowControls* window = nullptr);
    ~CommandLinePlayback() override;

    // Starts playing; returns false (with a message on stderr) when the text
    // names nothing this program can play yet.
    bool start();
    int exitCode() const { return m_exitCode; }

    // PlayerWindowControls
    void setPlayVisible(bool visible) override;
    void setPauseVisible(bool visible) override;
    void setEqualizerSelected(bool selected) override;
    void setProgressMax(int max) override;
    void setProgressValue(int value) override;
    void setVolumeValue(int value) override;
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
    PlayerWindowControls* m_window;
    PlayerState m_state;
    std::unique_ptr<frmPlayer> m_player;
    QTextStream m_out;
    int m_max = 0;
    int m_exitCode = 0;
    bool m_failed = false;
};
