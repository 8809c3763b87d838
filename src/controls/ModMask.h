#pragma once

#include <QImage>
#include <QRegion>

class QWidget;

// Shaping widgets to the pixels of a picture that differ from a mask colour.
namespace ModMask {

// The pixels of `picture` whose red, green and blue differ from `maskColor`
// (a COLORREF), found by scanning each row from the left for maximal runs of
// non-mask pixels. An all-mask or empty picture gives an empty region.
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

// What a shaped window shows, with the pixels outside its shape transparent
// (screenshots of skinned windows).
QImage ShapedSnapshot(QWidget* window);

} // namespace ModMask
