#pragma once

#include "winsvc/WindowNotifications.h"
#include "winsvc/WndRect.h"

#include <QList>
#include <QPoint>
#include <QtGlobal>

// The rectangle arithmetic of the magnetic window manager, free of widgets:
// the registered windows (by an opaque key), their parents and glue, the
// rectangles taken at the last refresh, and the snapping rules for moving and
// sizing. cMagneticWnd feeds it the windows' geometries and applies its answers.
//
// Windows are numbered 1...n in registration order; rectangle 0 is the work
// area of the screen. Snapping walks the rectangles in that order, so a later
// match overrides an earlier one.
class MagneticLayout {
public:
    using Key = quintptr; // 0 means "no window"

    struct Window {
        Key key = 0;
        Key parent = 0;
        bool glued = false;
    };
    struct Placement {
        Key key = 0;
        WndRect rect;
    };
    // The rectangle a moving window gets, and where its glued windows go.
    struct MoveResult {
        WndRect rect;
        QList<Placement> glued;
    };

    static constexpr int kDefaultSnapWidth = 10;

    // True when the rectangles overlap or meet on both axes and share at least
    // one edge coordinate (a left/right of one equals a left/right of the
    // other, or a top/bottom equals a top/bottom).
    static bool Touching(const WndRect& a, const WndRect& b);

    int SnapWidth() const { return m_snapWidth; }
    void SetSnapWidth(int pixels) { m_snapWidth = pixels; }

    int Count() const { return int(m_windows.size()); }
    // 1...n, or 0 when the key is not registered.
    int IndexOf(Key key) const;
    const Window& WindowAt(int index) const { return m_windows.at(index - 1); }
    bool IsGlued(Key key) const;

    // Rectangle 0 is the work area, 1...n the windows.
    const WndRect& RectAt(int index) const { return m_rects.at(index); }
    void SetRect(int index, const WndRect& rect) { m_rects[index] = rect; }

    // Appends a window, not glued; false when the key is 0 or already there.
    bool Add(Key key, Key parent);
    // Removes a window; windows that had it as parent become parentless.
    bool Remove(Key key);

    // Recomputes the glue from the stored rectangles (the caller refreshes them
    // first). A window is glued when its registered parent touches it, or when
    // a glued window of the same parent touches it.
    void UpdateGlue();

    // Records the cursor at the start of a move of `key` and its grab offset
    // from the window's stored rectangle.
    void BeginDrag(Key key, QPoint cursor);

    // The rectangle a window being sized by `edge` gets for the proposal `o`.
    WndRect Sizing(Key key, WindowNotifications::SizeEdge edge, const WndRect& o) const;

    // The rectangle a window being moved gets with the cursor at `cursor`
    // (only the size of `proposed` is used: the window follows the cursor), and
    // where its glued windows go.
    MoveResult Moving(Key key, QPoint cursor, const WndRect& proposed);

private:
    struct Shift {
        int dx = 0;
        int dy = 0;
    };
    void SnapAgainst(const WndRect& r, const WndRect& other, Shift& shift) const;
    bool GluedTo(int index, Key parent) const;

    int m_snapWidth = kDefaultSnapWidth;
    QList<Window> m_windows;
    QList<WndRect> m_rects{WndRect()};
    QPoint m_dragStartCursor;
    QPoint m_grabOffset;
    QPoint m_currentCursor;
};
