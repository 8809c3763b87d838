#pragma once

#include "skin/PlayerWindowParts.h"
#include "skin/SkinInfo.h"

#include <QImage>
#include <QString>

class SkinImages;
class SkinStore;

// Putting a loaded skin onto the player window: each control gets its
// pictures, the skin's mask colour and its place, and the window its
// background picture, its size and its shape.
//
// Skin rectangles are pixels of the window's background picture, which are
// the window's own pixels here. Image names are resolved in a skin folder
// through SkinImages; the placement routines take that instead of the skin's
// name, so that a skin store pointing anywhere (tests, other program folders)
// finds its pictures in the same place.
namespace ModSkinApply {

// The folder of skin `name` inside `skinsDir` (found without regard to case),
// ending in "/".
QString SkinFolder(const QString& skinsDir, const QString& name);
// The folder of skin `name` as `skins` finds it, ending in "/".
QString SkinFolder(const SkinStore& skins, const QString& name);
// The folder of skin `name` among the program's skins (SkinDirs()).
QString SkinFolder(const QString& name);

// Loads every picture the player window takes from `skin` into `images`.
// False, with images.FailedFile() naming the file, when one cannot be loaded.
bool LoadPlayerWindowImages(const PlayerWindowSkin& skin, SkinImages& images);

// Applies `skin` to the player window: background picture, shape, size, then
// the buttons, the time display, the labels and the sliders. All pictures are
// loaded before anything changes, so a skin with a picture that cannot be
// loaded leaves the window exactly as it was and returns false (the file is
// images.FailedFile()).
bool ApplyPlayerWindowSkin(const SkinInfo& skin, SkinImages& images, PlayerWindowParts& parts);

// A button: hidden when the element names no picture (or its picture cannot
// be loaded); otherwise given the picture, moved to the element's left and
// top (its size is one frame of the picture) and enabled. A hidden button is
// never shown again here.
void PlaceSkinButton(const ImageElement& element, ctlButton& control, SkinImages& images);

// The time display: hidden without a picture; otherwise given the picture
// and moved so that its right edge lies at the element's right, top at its
// top.
void PlaceRightAligned(const ImageElement& element, ctlNumber& control, SkinImages& images);

// A label: the element's rectangle, its alignment when it names one, and its
// text colour.
void PlaceSkinLabel(const TextElement& element, QLabel& label);

// A slider: the window's background under it, its direction, its bar, fill
// and thumb pictures (an empty name gives no picture) and the element's
// rectangle.
void PlaceSkinSlider(const SliderElement& element, ::ctlProgress& control, const QImage& background,
                     SkinImages& images);

// The message telling the user that skin `name` cannot be used because
// `file` could not be loaded.
QString BrokenSkinMessage(const QString& name, const QString& file);

} // namespace ModSkinApply
