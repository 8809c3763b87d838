#pragma once

#include <QObject>
#include <QPointer>

class PlaylistPlayback;
class ctlPlayer;
class frmPlayer;
class frmPlayerWindow;

// The player window's info and status labels kept up to date: the title of
// the item being played, and what the engine is doing, or, once playback
// has stopped on its own, why. The skin places and colours the labels; this
// only writes their text, always as plain text (a title comes from a file's
// tags or a playlist and must not be taken for markup).
class PlayerInfoLabels : public QObject {
    Q_OBJECT
public:
    PlayerInfoLabels(frmPlayerWindow& window, PlaylistPlayback& playback);

    // Follows the engine of `video` from now on; the video window and its
    // engine are made only when something refers to them.
    void Watch(frmPlayer& video);

private:
    void ShowStatus();

    frmPlayerWindow& m_window;
    PlaylistPlayback& m_playback;
    QPointer<ctlPlayer> m_player;
};
