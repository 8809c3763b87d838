#pragma once

#include "playback/PlaybackPeers.h"
#include "skin/PlayerWindowParts.h"

#include <QImage>
#include <QWidget>

class Prompts;
class QLabel;
class SkinStore;
class TransFormCtl;
class WindowDragger;
class ctlButton;
class ctlNumber;
class ctlProgress;

// The player window: the program's main skinned window, a frameless shaped
// top-level window carrying the transport buttons, the seek and volume
// sliders, the time display and three labels, all placed by the current skin
// of a SkinStore. Dragging its body (anything that is not a control, or a
// cut-out pixel of one) moves it.
//
// The playback controller writes to it through PlayerWindowControls. Its exit
// button and closing the window ask the program to quit (QuitRequested); the
// minimise button minimises it.
class frmPlayerWindow : public QWidget, public PlayerWindowControls {
    Q_OBJECT
    Q_PROPERTY(QImage Picture READ Picture WRITE SetPicture)
public:
    frmPlayerWindow(SkinStore& skins, Prompts& prompts, QWidget* parent = nullptr);
    ~frmPlayerWindow() override;

    // The background picture the window shows and is shaped to.
    QImage Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

    // Loads skin `name` into the store and applies it. When the skin's
    // description or one of its pictures cannot be loaded, the user is told
    // which skin is broken and why, and the store and the window keep the
    // previous skin; returns false then.
    bool ChangeSkin(const QString& name);

    // Applies the store's current skin again. When one of its pictures cannot
    // be loaded the user is told, the window stays as it was and false is
    // returned.
    bool ReLoadSkin();

    // What the window shows, with the pixels outside its shape transparent.
    QImage Snapshot();

    // The controls a skin places (for the appliers of other shapes of the
    // window, such as the mini-mode bar).
    PlayerWindowParts Parts();
    // Whether the shape now shown has pictures for the play and pause
    // buttons; each shows when the player wants it and it has one.
    void SetPlayPauseSkinned(bool play, bool pause);

    // PlayerWindowControls
    void setPlayVisible(bool visible) override;
    void setPauseVisible(bool visible) override;
    void setEqualizerSelected(bool selected) override;
    void setProgressMax(int max) override;
    void setProgressValue(int value) override;
    void setVolumeValue(int value) override;
    void setLedText(const QString& text) override;

    ctlButton* cmdPlay() const { return m_cmdPlay; }
    ctlButton* cmdPause() const { return m_cmdPause; }
    ctlButton* cmdStop() const { return m_cmdStop; }
    ctlButton* cmdPrev() const { return m_cmdPrev; }
    ctlButton* cmdNext() const { return m_cmdNext; }
    ctlButton* cmdMute() const { return m_cmdMute; }
    ctlButton* cmdOpen() const { return m_cmdOpen; }
    ctlButton* cmdLyric() const { return m_cmdLyric; }
    ctlButton* cmdEqualizer() const { return m_cmdEqualizer; }
    ctlButton* cmdPlaylist() const { return m_cmdPlaylist; }
    ctlButton* cmdMinimize() const { return m_cmdMinimize; }
    ctlButton* cmdMinimode() const { return m_cmdMinimode; }
    ctlButton* cmdExit() const { return m_cmdExit; }
    ::ctlProgress* ctlProgress() const { return m_ctlProgress; }
    ::ctlProgress* ctlVolume() const { return m_ctlVolume; }
    ctlNumber* ctlLED() const { return m_ctlLED; }
    QLabel* lbInfo() const { return m_lbInfo; }
    QLabel* lbStereo() const { return m_lbStereo; }
    QLabel* lbStatus() const { return m_lbStatus; }
    TransFormCtl* TransForm() const { return m_TransForm; }
    WindowDragger* Dragger() const { return m_dragger; }

signals:
    // The user asked the program to end (exit button or closing the window).
    void QuitRequested();
    // A mouse button other than the left one was pressed on the body.
    void MenuRequested(const QPoint& globalPos);
    // A skin has just been put onto the window (ReLoadSkin succeeded).
    void SkinApplied();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void ShowButtonsForNewSkin();
    void UpdatePlayPause();

    SkinStore& m_skins;
    Prompts& m_prompts;
    QImage m_picture;
    TransFormCtl* m_TransForm = nullptr;
    ctlButton* m_cmdPlay = nullptr;
    ctlButton* m_cmdPause = nullptr;
    ctlButton* m_cmdStop = nullptr;
    ctlButton* m_cmdPrev = nullptr;
    ctlButton* m_cmdNext = nullptr;
    ctlButton* m_cmdMute = nullptr;
    ctlButton* m_cmdOpen = nullptr;
    ctlButton* m_cmdLyric = nullptr;
    ctlButton* m_cmdEqualizer = nullptr;
    ctlButton* m_cmdPlaylist = nullptr;
    ctlButton* m_cmdMinimize = nullptr;
    ctlButton* m_cmdMinimode = nullptr;
    ctlButton* m_cmdExit = nullptr;
    ::ctlProgress* m_ctlProgress = nullptr;
    ::ctlProgress* m_ctlVolume = nullptr;
    ctlNumber* m_ctlLED = nullptr;
    QLabel* m_lbInfo = nullptr;
    QLabel* m_lbStereo = nullptr;
    QLabel* m_lbStatus = nullptr;
    WindowDragger* m_dragger = nullptr;
    // What the player wants of the play and pause buttons; a skin without
    // the button's picture hides it regardless.
    bool m_playWanted = true;
    bool m_pauseWanted = false;
    // Whether the current skin has pictures for them.
    bool m_playSkinned = false;
    bool m_pauseSkinned = false;
};
