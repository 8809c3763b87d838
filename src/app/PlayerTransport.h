#pragma once

#include <QMenu>
#include <QObject>

class QWheelEvent;

class PlayerApp;

// The player window's controls put to work: the transport buttons, mute,
// open, the playlist and video window toggles, the seek bar (one seek when
// the thumb is let go) and the volume slider, and the main menu on any other
// mouse button on the window's body. Keys on the player window reach the
// same handlers: Space play/pause, Left/Right seek 5 s, Up/Down volume, and
// Z/X/C/V/B previous/play/pause/stop/next. The wheel over the volume slider
// steps the volume as Up/Down do (over the seek bar it does nothing).
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
    // Space: pause while the pause button shows, else play.
    void PlayOrPause();
    // The seek bar let go at `seconds` (kept within the bar's range).
    void SeekTo(int seconds);
    // A seek to an exact time (a line of the lyrics), reported as Seeked
    // like every other.
    void SeekToTime(double seconds);
    // A key pressed on the player window; false when it is not one of the
    // window's keys.
    bool KeyPress(int key, Qt::KeyboardModifiers modifiers);

    // The main menu; its commands are added by the menus.
    QMenu& MainMenu() { return m_mainMenu; }

signals:
    // The engine was asked to go to `seconds` in the item: every seek, by
    // the seek bar, the keys or the desktop's media controls, ends here.
    void Seeked(int seconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SeekBack();
    void SeekForward();
    void VolumeUp();
    void VolumeDown();
    void SeekBy(int seconds);
    void StepVolume(int step);
    bool OnWheel(QObject* watched, QWheelEvent& wheel);

    PlayerApp& m_app;
    QMenu m_mainMenu;
    int m_wheelRemainder = 0;
};
