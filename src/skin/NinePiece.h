#pragma once

#include "skin/SkinRect.h"

#include <QImage>
#include <QSize>

// A window picture of any size made from a skin's background picture of the
// window's designed size, cut into nine pieces by the skin's resize
// rectangle: the four corners keep their pixels, the top and bottom strips
// stretch across, the left and right strips stretch down and the middle
// stretches both ways. Scaling takes the nearest source pixel, so the mask
// colour stays exact and cut-out outlines stretch with the window.
namespace NinePiece {

// `source` composed to `size`. `designed` is the designed window size and
// `resize` the stretchable rectangle, in pixels of `source`. What the pieces
// do not cover (a size smaller than designed) is `maskColor` (a COLORREF).
QImage Compose(const QImage& source, QSize designed, const SkinRect& resize, QSize size,
               quint32 maskColor);

} // namespace NinePiece
