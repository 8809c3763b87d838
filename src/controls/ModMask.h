#pragma once

#include <QImage>
#include <QRegion>

class QPainter;
class QWidget;

// Shaping widgets to the pixels of a picture that differ from a mask colour.
namespace ModMask {

// The most rectangles a region made here holds. A window's shape goes to the
// X server in one request, which without the BIG-REQUESTS extension holds at
// most 65,535 four-byte words, eight bytes a rectangle: about 32,760. Qt's
// raster engine clips with such regions without trouble, while millions of
// rectangles (a checkerboard mask) crash it. Real skins need hundreds.
inline constexpr int kMaxRegionRects = 32000;

// The pixels of `picture` whose red, green and blue differ from `maskColor`
// (a COLORREF), found by scanning each row from the left for maximal runs of
// non-mask pixels. An all-mask or empty picture gives an empty region.
//
// When that region would need more than kMaxRegionRects rectangles it gives
// the outline instead: on each row, everything from the first non-mask pixel
// to the last (and for a picture taller than the bound, the rectangle around
// all non-mask pixels). Built in time linear in the pixels.
QRegion MaskRegion(const QImage& picture, quint32 maskColor);

// Makes `region` the visible and clickable area of `target`. An empty region
// leaves the widget with nothing visible and nothing to click (Qt itself
// would read an empty mask as "no mask").
void SetWindowRegion(QWidget* target, const QRegion& region);

// MaskRegion of the picture, set on the target.
void ApplyMaskRegion(QWidget* target, const QImage& picture, quint32 maskColor);

// What of the widget can be seen and clicked: its mask within its rectangle,
// or the whole rectangle without a mask.
QRegion VisibleRegion(const QWidget* widget);

// Draws `picture`, placed at the origin, into the part `region` of the
// painter's device, in pieces of at most kRowsPerDraw rows. Qt's raster engine
// hands a single draw through 96 or more rows of a clip to pool threads; a
// skin redrawn every second (the time behind a shaped display) would keep two
// such threads alive for nothing, while these small pictures draw faster on
// the GUI thread alone.
inline constexpr int kRowsPerDraw = 64;
void DrawPicture(QPainter& painter, const QImage& picture, const QRegion& region);

// What a shaped window shows, with the pixels outside its shape transparent
// (screenshots of skinned windows).
QImage ShapedSnapshot(QWidget* window);

} // namespace ModMask
