#pragma once

#include <QRect>
#include <QSize>
#include <optional>

// Where a window that a resize from outside the program (a window manager's
// frame, a tiling layout, another program) has left smaller than its minimum
// size goes back to. An axis that is too short grows back to the minimum from
// the edge that stayed where it was, as the program's own sizing loop keeps
// the edge that is not dragged: a window shrunk from its left edge keeps its
// right edge, one shrunk from its right or bottom keeps its top-left corner.
//
// Free of widgets: the caller reports every place the window takes (Seen) and
// each one it settles at (Settled), and applies the answer. A window manager that puts the window
// back at the same too-small rectangle after the answer (a tiling layout that insists) is not
// answered twice, so the two never resize the window in a loop.
class SizeFloor {
public:
    // Where the window is now; one that meets `minimum` is what the edges of
    // a later too-small rectangle are compared with.
    void Seen(const QRect& rect, QSize minimum);

    // The rectangle to ask for now that the window has settled at `rect`, or
    // nothing when `rect` is at least `minimum` or was already answered.
    std::optional<QRect> Settled(const QRect& rect, QSize minimum);

private:
    // The last rectangle that met the minimum: which edges moved since.
    QRect m_lastFitting;
    // The too-small rectangle last answered, and the answer.
    QRect m_answered;
    QRect m_asked;
};
