#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <memory>

// Windows and pointer gestures for GUI tests.
namespace TestWindows {

// A frameless top-level window at `geometry`, shown.
std::unique_ptr<QWidget> MakeWindow(const QRect& geometry);

// Presses the left button on `widget` at `local`, moves the pointer by
// `travel` in `steps` steps and releases it. Positions are recomputed from
// the widget's current place at every step, since it may move under the
// pointer.
void Drag(QWidget* widget, QPoint local, QPoint travel, int steps = 1);

// How many pixels of `area` in `image` are near `colour` (within 24 in each
// channel: the smoothed edges of glyphs are mixed with the background).
int CountColour(const QImage& image, QRgb colour, const QRect& area);

} // namespace TestWindows
