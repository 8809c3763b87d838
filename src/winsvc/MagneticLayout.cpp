#include "winsvc/MagneticLayout.h"

#include <algorithm>
#include <cstdlib>

using WindowNotifications::SizeEdge;

bool MagneticLayout::Touching(const WndRect& a, const WndRect& b) {
    const int unionWidth = std::max(a.right, b.right) - std::min(a.left, b.left);
    const int unionHeight = std::max(a.bottom, b.bottom) - std::min(a.top, b.top);
    const bool inContact =
        a.Width() + b.Width() >= unionWidth && a.Height() + b.Height() >= unionHeight;
    if (!inContact) {
        return false;
    }
    const bool sharedX =
        a.left == b.left || a.left == b.right || a.right == b.left || a.right == b.right;
    const bool sharedY =
        a.top == b.top || a.top == b.bottom || a.bottom == b.top || a.bottom == b.bottom;
    return sharedX || sharedY;
}

int MagneticLayout::IndexOf(Key key) const {
    if (key == 0) {
        return 0;
    }
    for (int i = 0; i < Count(); ++i) {
        if (m_windows.at(i).key == key) {
            return i + 1;
        }
    }
    return 0;
}

bool MagneticLayout::IsGlued(Key key) const {
    const int index = IndexOf(key);
    return index > 0 && WindowAt(index).glued;
}

bool MagneticLayout::Add(Key key, Key parent) {
    if (key == 0 || IndexOf(key) != 0) {
        return false;
    }
    m_windows.append(Window{key, parent, false});
    m_rects.append(WndRect());
    return true;
}

bool MagneticLayout::Remove(Key key) {
    const int index = IndexOf(key);
    if (index == 0) {
        return false;
    }
    m_windows.removeAt(index - 1);
    m_rects.removeAt(index);
    for (Window& window : m_windows) {
        if (window.parent == key) {
            window.parent = 0;
        }
    }
    return true;
}

void MagneticLayout::UpdateGlue() {
    for (Window& window : m_windows) {
        window.glued = false;
    }
    // Only a registered parent can hold a window: rectangle 0 (the work area)
    // is no window, and an unregistered parent is never moved by this manager.
    for (int i = 1; i <= Count(); ++i) {
        const int parent = IndexOf(WindowAt(i).parent);
        if (parent != 0) {
            m_windows[i - 1].glued = Touching(RectAt(parent), RectAt(i));
        }
    }
    // Glue spreads along chains of touching siblings; n rounds reach the end
    // of the longest chain.
    for (int round = 0; round < Count(); ++round) {
        for (int i = 1; i <= Count(); ++i) {
            if (!WindowAt(i).glued) {
                continue;
            }
            for (int k = 1; k <= Count(); ++k) {
                if (k != i && !WindowAt(k).glued && WindowAt(k).parent == WindowAt(i).parent) {
                    m_windows[k - 1].glued = Touching(RectAt(i), RectAt(k));
                }
            }
        }
    }
}

void MagneticLayout::BeginDrag(Key key, QPoint cursor) {
    const int index = IndexOf(key);
    if (index == 0) {
        return;
    }
    m_dragStartCursor = cursor;
    m_currentCursor = cursor;
    m_grabOffset = QPoint(RectAt(index).left - cursor.x(), RectAt(index).top - cursor.y());
}

WndRect MagneticLayout::Sizing(Key key, SizeEdge edge, const WndRect& o) const {
    const int own = IndexOf(key);
    const int s = m_snapWidth;
    const int e = int(edge);
    const bool leftEdge =
        edge == SizeEdge::Left || edge == SizeEdge::TopLeft || edge == SizeEdge::BottomLeft;
    const bool rightEdge =
        edge == SizeEdge::Right || edge == SizeEdge::TopRight || edge == SizeEdge::BottomRight;
    const bool bottomEdge =
        edge == SizeEdge::Bottom || edge == SizeEdge::BottomLeft || edge == SizeEdge::BottomRight;
    const bool topEdge =
        edge == SizeEdge::Top || edge == SizeEdge::TopLeft || edge == SizeEdge::TopRight;
    WndRect r = o;
    for (int i = 0; i <= Count(); ++i) {
        if (i == own) {
            continue;
        }
        const WndRect& R = RectAt(i);
        if (r.top < R.bottom + s && R.top - s < r.bottom) {
            if (leftEdge) {
                if (std::abs(o.left - R.left) < s) {
                    r.left = R.left;
                } else if (std::abs(o.left - R.right) < s) {
                    r.left = R.right;
                }
            }
            if (rightEdge) {
                if (std::abs(o.right - R.left) < s) {
                    r.right = R.left;
                } else if (std::abs(o.right - R.right) < s) {
                    r.right = R.right;
                }
            }
        }
        if (r.left < R.right + s && R.left - s < r.right && e >= 3 && e <= 8) {
            if (bottomEdge) {
                if (std::abs(o.bottom - R.top) < s) {
                    r.bottom = R.top;
                } else if (std::abs(o.bottom - R.bottom) < s) {
                    r.bottom = R.bottom;
                }
            }
            if (topEdge) {
                if (std::abs(o.top - R.top) < s) {
                    r.top = R.top;
                } else if (std::abs(o.top - R.bottom) < s) {
                    r.top = R.bottom;
                }
            }
        }
    }
    return r;
}

void MagneticLayout::SnapAgainst(const WndRect& r, const WndRect& R, Shift& shift) const {
    const int s = m_snapWidth;
    if (r.top < R.bottom + s && R.top - s < r.bottom) {
        if (std::abs(r.left - R.left) < s) {
            shift.dx = R.left - r.left;
        } else if (std::abs(r.left - R.right) < s) {
            shift.dx = R.right - r.left;
        } else if (std::abs(r.right - R.left) < s) {
            shift.dx = R.left - r.right;
        } else if (std::abs(r.right - R.right) < s) {
            shift.dx = R.right - r.right;
        }
    }
    if (r.left < R.right + s && R.left - s < r.right) {
        if (std::abs(r.top - R.top) < s) {
            shift.dy = R.top - r.top;
        } else if (std::abs(r.top - R.bottom) < s) {
            shift.dy = R.bottom - r.top;
        } else if (std::abs(r.bottom - R.top) < s) {
            shift.dy = R.top - r.bottom;
        } else if (std::abs(r.bottom - R.bottom) < s) {
            shift.dy = R.bottom - r.bottom;
        }
    }
}

bool MagneticLayout::GluedTo(int index, Key parent) const {
    return index > 0 && WindowAt(index).glued && WindowAt(index).parent == parent;
}

MagneticLayout::MoveResult MagneticLayout::Moving(Key key, QPoint cursor, const WndRect& proposed) {
    MoveResult result;
    const int own = IndexOf(key);
    if (own == 0) {
        result.rect = proposed;
        return result;
    }
    m_currentCursor = cursor;
    WndRect r = proposed.MovedTo(cursor.x() + m_grabOffset.x(), cursor.y() + m_grabOffset.y());

    Shift shift;
    for (int i = 0; i <= Count(); ++i) {
        if (i != own && !GluedTo(i, key)) {
            SnapAgainst(r, RectAt(i), shift);
        }
    }
    // The glued windows snap too: each is tested where the cursor has carried
    // it, against every window that stays behind.
    const QPoint travel = m_currentCursor - m_dragStartCursor;
    for (int j = 1; j <= Count(); ++j) {
        if (!GluedTo(j, key)) {
            continue;
        }
        const WndRect c = RectAt(j).Translated(travel.x(), travel.y());
        for (int i = 0; i <= Count(); ++i) {
            const bool glued = i > 0 && WindowAt(i).glued;
            if (i != j && i != own && !glued) {
                SnapAgainst(c, RectAt(i), shift);
            }
        }
    }
    r = r.Translated(shift.dx, shift.dy);

    const WndRect& start = RectAt(own);
    for (int j = 1; j <= Count(); ++j) {
        if (GluedTo(j, key)) {
            const WndRect& at = RectAt(j);
            result.glued.append(
                Placement{WindowAt(j).key, at.MovedTo(at.left - (start.left - r.left),
                                                      at.top - (start.top - r.top))});
        }
    }
    result.rect = r;
    return result;
}
