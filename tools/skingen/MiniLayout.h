#pragma once

#include "SkinLayout.h"

#include <QRect>
#include <QSize>
#include <vector>

// Where everything sits in the mini-mode bar: the time display in a panel
// of its own, the title over a thin seek bar in a second panel, the
// transport keys, then the mini-mode and exit buttons. The buttons and the
// time display use the player window's pictures, so only the background and
// the seek bar's pictures are the bar's own.
namespace skingen {

struct MiniLayout {
    QSize size;
    QRect ledPanel;
    QRect led; // six digit cells; placed by its right edge
    QRect textPanel;
    QRect info;
    QRect keys;                      // the transport keys' well
    std::vector<ButtonSpec> buttons; // frames as in the player window, other places
    SliderSpec progress;
};

MiniLayout MakeMiniLayout(const Style& style, const PlayerLayout& player);

} // namespace skingen
