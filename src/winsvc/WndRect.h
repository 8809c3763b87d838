#pragma once

#include <QRect>

// A window rectangle in the old window system's form: right and bottom are the
// first pixel outside the window, so a window placed exactly against another
// one's right edge has left == the other's right. QRect's inclusive right()
// and bottom() would be one less; conversions go through FromQRect / ToQRect.
struct WndRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    WndRect Translated(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    // The same size with its top-left corner at (x, y).
    WndRect MovedTo(int x, int y) const { return {x, y, x + Width(), y + Height()}; }

    static WndRect FromQRect(const QRect& r) {
        return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }

    friend bool operator==(const WndRect&, const WndRect&) = default;
};
