#pragma once

#include <QString>

class QWidget;
class cMagneticWnd;

// What the playback controller changes on the player window: the play and
// pause buttons, the video button, the seek and volume sliders and the time
// display.
class PlayerWindowControls {
public:
    virtual ~PlayerWindowControls() = default;
    virtual void setPlayVisible(bool visible) = 0;        // cmdPlay.Visible
    virtual void setPauseVisible(bool visible) = 0;       // cmdPause.Visible
    virtual void setEqualizerSelected(bool selected) = 0; // cmdEqualizer.Selected
    virtual void setProgressMax(int max) = 0;             // ctlProgress.Max
    virtual void setProgressValue(int value) = 0;         // ctlProgress.Value
    virtual void setVolumeValue(int value) = 0;           // ctlVolume.Value
    virtual void setLedText(const QString& text) = 0;     // ctlLED.Text
};

// The song list of the playlist window, as far as the controller needs it:
// the time text of the row of one item (rows of other lists are ignored).
class SongListRows {
public:
    virtual ~SongListRows() = default;
    virtual void setItemTime(const QString& itemKey, const QString& time) = 0;
};

// The playback entry points that act on the playlist selection.
class PlaybackEntryPoints {
public:
    virtual ~PlaybackEntryPoints() = default;
    virtual void PlayNextItem() = 0;
    // The item played to its end. Apart from the next button, as the play
    // mode may repeat the item or stop here; by default it is the same.
    virtual void PlayAfterEnd() { PlayNextItem(); }
    virtual void PlayCurrentItem() = 0;
    virtual void StopPlayback() = 0;
};

// Everything the controller talks to outside itself. With a magnetic manager
// and the player window, the video window registers itself as a window glued
// to the player window when it is made.
struct PlaybackPeers {
    PlayerWindowControls& controls;
    SongListRows& songList;
    PlaybackEntryPoints& entryPoints;
    cMagneticWnd* magnetic = nullptr;
    QWidget* playerWindow = nullptr;
};
