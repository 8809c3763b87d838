#pragma once

#include <QMenu>
#include <QObject>

class PlayerApp;

// The player window's controls put to work: the transport buttons, mute,
// open, the playlist and video window toggles, the seek bar (one seek when
// the thumb is let go) and the volume slider, and the main menu on any other
// mouse button on the window's body.
class PlayerTransport : public QObject {
    Q_OBJECT
public:
    explicit PlayerTransport(PlayerApp& app);

    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdMute_Click();
    void cmdOpen_Click();
    void cmdPlaylist_Click();
    void cmdEqualizer_Click();
    void ctlProgress_ThumbDown();
    void ctlProgress_ThumbUp();
    void ctlVolume_Scroll();

    // The main menu; its commands are added by the menus.
    QMenu& MainMenu() { return m_mainMenu; }

private:
    PlayerApp& m_app;
    QMenu m_mainMenu;
};
