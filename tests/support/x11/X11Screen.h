#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <xcb/xcb.h>

class QWidget;

// What a real X server shows, for the tests that run on one (tst_x11_*):
// the windows it holds and the colours on screen.
namespace X11Screen {

// The program's own connection to the server; null on another platform.
xcb_connection_t* Connection();

// A child of an X window, with whether it is mapped and its geometry.
struct XChild {
    xcb_window_t id;
    bool viewable;
    QRect geometry;
};

// The children of `window`, bottom of the stacking order first.
QList<XChild> ChildrenOf(xcb_window_t window);

// Mapped top-level windows that this program did not make.
QList<xcb_window_t> ForeignTopLevels();

// Whether the screen shows one of TestMedia::MjpegAvi's colours (flat,
// saturated, bright) at `point` (global coordinates); black is an empty
// video window.
bool ClipColourAt(QPoint point);

// Whether the picture covers the window's inside: its centre and points an
// eighth in from each edge show the clip (the picture keeps its shape, so a
// window of another shape has bars at two edges).
bool PictureFills(const QWidget& window);

// Whether `surface` holds a mapped window of the engine's own, sized to it.
bool EngineWindowFills(const QWidget& surface);

} // namespace X11Screen
