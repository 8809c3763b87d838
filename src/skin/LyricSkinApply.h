#pragma once

#include "skin/LyricWindowParts.h"
#include "skin/LyricWindowSkin.h"

#include <QtGlobal>

class SkinImages;

// Putting a lyrics window description (the skin's own, or the one made from
// its playlist window) onto the lyrics window, for the window's current
// size. It runs when the skin changes and at every resize.
namespace ModSkinApply {

// Loads the pictures of `skin` into `images`; false, with
// images.FailedFile() naming the file, when one cannot be loaded.
bool LoadLyricWindowImages(const LyricWindowSkin& skin, SkinImages& images);

// The close button keeps its distance from the right edge and its top and
// takes the mask colour; the lyrics rectangle keeps its margins to the four
// edges of the designed window. Pictures must have been loaded.
void ApplyLyricWindowSkin(const LyricWindowSkin& skin, quint32 maskColor, SkinImages& images,
                          LyricWindowParts& parts);

} // namespace ModSkinApply
