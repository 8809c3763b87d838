#pragma once

#include "skin/SkinElements.h"

#include <QString>

// The compact bar of mini mode ("skin/mini_window"): its own background and
// the few controls it carries, with the player window's attribute rules.
// Optional in a skin; without it the bar is derived from the player window
// (see MiniWindowApply).
struct MiniWindowSkin {
    QString Image; // the bar's background image
    ImageElement Play;
    ImageElement Pause;
    ImageElement Stop;
    ImageElement Prev;
    ImageElement Next;
    ImageElement Minimode;
    ImageElement Exit;
    TextElement Info;
    ImageElement Led;
    SliderElement Progress;

    friend bool operator==(const MiniWindowSkin&, const MiniWindowSkin&) = default;
};
