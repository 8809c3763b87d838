#pragma once

#include "playback/PlaybackPeers.h"
#include "playback/PlayerState.h"
#include "playback/ctlPlayer.h"

#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>

// The video window and playback controller. It owns the engine wrapper and
// turns the engine's states into the look of the transport controls, moves
// the seek bar and time display while media plays, learns each item's
// length once, advances when an item has ended, retries the next candidate
// address of a link item that fails, and shows video windowed or full
// screen. For audio it stays hidden and only its engine and timers work.
//
// On creation it docks to the player window (when the peers name it and its
// magnetic manager) and starts the engine at PlayerState::Volume.
class frmPlayer : public QWidget {
    Q_OBJECT
public:
    // The least the window can be sized to, and what it tells the window
    // manager: a picture a quarter of the window's starting size.
    static constexpr QSize kMinimumSize{120, 90};

    frmPlayer(PlayerState& state, const PlaybackPeers& peers,
              std::unique_ptr<MediaEngine> engine = nullptr, QWidget* parent = nullptr);
    ~frmPlayer() override;

    // Title of the current item, written before its status changes arrive.
    QString MediaTitle;

    ctlPlayer* ctlPlayer1() const { return m_player; }
    const QTimer& tmrDuration() const { return m_tmrDuration; }
    // The player window stops the position tick while its seek thumb is held.
    QTimer& tmrDuration() { return m_tmrDuration; }
    const QTimer& tmrNext() const { return m_tmrNext; }
    bool FullScreen() const { return m_FullScreen; }

    // Event handlers, public so the timers' work can be driven directly.
    void ctlPlayer1_StatusChange();
    void ctlPlayer1_MediaError();
    void ctlPlayer1_DoubleClick(short nButton);
    void tmrDuration_Timer();
    void tmrNext_Timer();
    void ToggleFullScreen();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateCaption();
    void layoutPlayer();

    PlayerState& m_state;
    PlaybackPeers m_peers;
    QPointer<cMagneticWnd> m_magnetic; // the manager this window registered with
    ctlPlayer* m_player;
    QTimer m_tmrDuration;
    QTimer m_tmrNext;
    bool m_FullScreen = false;
    QRect m_Saved; // bounds before full screen: left, top, width, height
};
