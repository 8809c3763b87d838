#pragma once

#include "MiniLayout.h"
#include "Theme.h"

#include <QImage>

// The mini-mode bar's background picture.
namespace skingen::MiniArt {

QImage Background(const SkinDesign& d, const MiniLayout& l);

} // namespace skingen::MiniArt
