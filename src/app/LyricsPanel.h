#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class LyricsFollower;
class LyricsLibrary;
class PlayerApp;
class ctlPlayer;
class frmLyricWindow;

// The lyrics put to work: the lyrics window shown and hidden by the player
// window's lyrics button (selected while the window is open) and its close
// button, re-skinned with the other windows; the item that starts playing
// has its lyrics looked for; the current line follows playback (pauses,
// seeks and new items at once); a click on a line seeks there; a lyrics file
// dropped on the window is adopted for the item.
class LyricsPanel : public QObject {
    Q_OBJECT
public:
    explicit LyricsPanel(PlayerApp& app);
    ~LyricsPanel() override;

    frmLyricWindow& Window() const { return *m_window; }
    LyricsLibrary& Library() const { return *m_library; }
    LyricsFollower& Follower() const { return *m_follower; }

    // The lyrics button: opens or closes the window.
    void Toggle();
    void SetShown(bool shown);

    // After a skin switch: the window takes the new skin and sits to the
    // right of the player window again.
    void FollowSkin();
    // Beside the playlist window, glued: after the windows got their places.
    void DockBesidePlayer();

private:
    void ConnectControls();
    void WatchEngine();
    bool IsPlaying() const;
    void ShowLyrics();

    PlayerApp& m_app;
    std::unique_ptr<frmLyricWindow> m_window;
    std::unique_ptr<LyricsLibrary> m_library;
    std::unique_ptr<LyricsFollower> m_follower;
    QPointer<ctlPlayer> m_watched;
};
