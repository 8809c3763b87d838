#pragma once

class QLabel;
class QWidget;
class TransFormCtl;
class ctlButton;
class ctlNumber;
class ctlProgress;

// The controls of the player window that a skin places, by the names the skin
// description uses. The window fills this in from its own children; the skin
// code needs nothing else of the window.
//
// `window` shows its background picture as its "Picture" property (a QImage),
// the same property TransForm shapes the window from.
struct PlayerWindowParts {
    QWidget& window;
    TransFormCtl& TransForm;
    ctlButton& cmdPlay;
    ctlButton& cmdPause;
    ctlButton& cmdStop;
    ctlButton& cmdPrev;
    ctlButton& cmdNext;
    ctlButton& cmdMute;
    ctlButton& cmdOpen;
    ctlButton& cmdLyric;
    ctlButton& cmdEqualizer;
    ctlButton& cmdPlaylist;
    ctlButton& cmdMinimize;
    ctlButton& cmdMinimode;
    ctlButton& cmdExit;
    ctlNumber& ctlLED;
    QLabel& lbInfo;
    QLabel& lbStereo;
    QLabel& lbStatus;
    ::ctlProgress& ctlProgress;
    ::ctlProgress& ctlVolume;
};
