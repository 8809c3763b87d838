#pragma once

#include "skin/MiniWindowSkin.h"
#include "skin/PlayerWindowParts.h"
#include "skin/SkinInfo.h"

#include <QImage>
#include <QString>
#include <optional>

class SkinImages;

// The bar mini mode turns the player window into: its background picture and
// where its controls go. Image names refer to the skin folder, like those of
// the player window.
struct MiniBar {
    MiniWindowSkin Layout;
    QImage Background;
    // True when made from the player window's pictures rather than taken
    // from the skin's own "mini_window".
    bool Derived = false;
};

// Making the mini-mode bar from a skin, and putting it onto the player
// window. The bar is the player window in another shape: it keeps its
// controls, and the ones the bar has no place for are hidden.
namespace MiniWindowApply {

// The skin's own bar, its pictures loaded into `images`; none when one of
// them cannot be loaded (images.FailedFile() names it).
std::optional<MiniBar> SkinBar(const MiniWindowSkin& skin, SkinImages& images);

// A bar made from the player window's own pictures: its top strip (from the
// top edge down past the time display, the title, the mini-mode and exit
// buttons) with the transport buttons and the background around them set
// beside it, unless they already lie inside the strip. Controls that lie in
// neither part are left out. The player window's pictures must load (they
// do for any skin the window shows).
MiniBar DerivedBar(const PlayerWindowSkin& player, quint32 maskColor, SkinImages& images);

// Shapes the player window to the bar: background, mask, size, and its
// controls placed by the bar or hidden. The play and pause buttons get their
// pictures and places only; which of them shows stays the window's business.
void ApplyMiniBar(const MiniBar& bar, quint32 maskColor, SkinImages& images,
                  PlayerWindowParts& parts);

// The message telling the user that skin `name`'s bar cannot be used because
// `file` could not be loaded, and that mini mode uses the derived bar.
QString BrokenBarMessage(const QString& name, const QString& file);

} // namespace MiniWindowApply
