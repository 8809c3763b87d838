#include "winsvc/cMagneticWnd.h"

#include "winsvc/WindowNotifications.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

namespace WN = WindowNotifications;

namespace {

// The work area (screen minus panels) of the screen the window is on.
QRect WorkAreaOf(const QWidget* window) {
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect();
}

// What a window's frame (title bar, borders) adds around its geometry().
QMargins FrameMargins(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// The window dragger proposes the window's geometry(); the manager works on
// outer rectangles.
WndRect OuterOf(const QWidget* window, const QRect& geometry) {
    return WndRect::FromQRect(geometry.marginsAdded(FrameMargins(window)));
}

QRect GeometryOf(const QWidget* window, const WndRect& outer) {
    return outer.ToQRect().marginsRemoved(FrameMargins(window));
}

} // namespace

cMagneticWnd::cMagneticWnd(QObject* parent) : QObject(parent), m_hook(this) {
}

cMagneticWnd::~cMagneticWnd() {
    if (m_everAdded) {
        m_hook.UnsubclassAll();
    }
}

bool cMagneticWnd::AddWindow(QWidget* hWnd, QWidget* hWndParent) {
    if (!hWnd || m_layout.IndexOf(KeyOf(hWnd)) != 0) {
        return false;
    }
    // A window cannot be its own parent: it would be glued to itself.
    if (!hWnd->isWindow() || hWndParent == hWnd || (hWndParent && !hWndParent->isWindow())) {
        return false;
    }
    const Key key = KeyOf(hWnd);
    m_layout.Add(key, KeyOf(hWndParent));
    m_widgets.insert(key, hWnd);
    // A window destroyed while registered leaves the list, so that no stale
    // rectangle is snapped to and its children stop being glued to it.
    connect(hWnd, &QObject::destroyed, this, [this, key] { Forget(key); });
    UpdateGlue();

    m_hook.SubclassWindow(hWnd);
    m_hook.AddMessage(hWnd, WN::EnterSizeMove, cSubclass::Before);
    m_hook.AddMessage(hWnd, WN::Sizing, cSubclass::After);
    m_hook.AddMessage(hWnd, WN::Moving, cSubclass::After);
    m_hook.AddMessage(hWnd, WN::ExitSizeMove, cSubclass::Before);
    m_hook.AddMessage(hWnd, WN::SysCommand, cSubclass::Before);
    m_hook.AddMessage(hWnd, WN::Command, cSubclass::Before);
    m_everAdded = true;
    return true;
}

bool cMagneticWnd::RemoveWindow(QWidget* hWnd) {
    const Key key = KeyOf(hWnd);
    if (!m_layout.Remove(key)) {
        return false;
    }
    disconnect(hWnd, &QObject::destroyed, this, nullptr);
    m_widgets.remove(key);
    m_asleep.remove(key);
    m_hook.UnsubclassWindow(hWnd);
    UpdateGlue();
    return true;
}

void cMagneticWnd::Forget(Key key) {
    // The hook drops its own entry of a destroyed object.
    m_asleep.remove(key);
    if (m_layout.Remove(key)) {
        m_widgets.remove(key);
        UpdateGlue();
    }
}

void cMagneticWnd::CheckGlueing() {
    UpdateGlue();
}

void cMagneticWnd::SetAsleep(QWidget* hWnd, bool asleep) {
    if (!IsRegistered(hWnd))
        return;
    if (asleep)
        m_asleep.insert(KeyOf(hWnd));
    else
        m_asleep.remove(KeyOf(hWnd));
    UpdateGlue();
}

bool cMagneticWnd::IsRegistered(const QWidget* hWnd) const {
    return m_layout.IndexOf(KeyOf(hWnd)) != 0;
}

bool cMagneticWnd::IsGlued(const QWidget* hWnd) const {
    return m_layout.IsGlued(KeyOf(hWnd));
}

void cMagneticWnd::RefreshRects(bool snapshot, const QWidget* moving) {
    if (snapshot) {
        m_layout.SetRect(0, WndRect::FromQRect(WorkAreaOf(moving)));
    }
    for (int i = 1; i <= m_layout.Count(); ++i) {
        const Key key = m_layout.WindowAt(i).key;
        const QWidget* window = m_widgets.value(key);
        if (!window) {
            continue;
        }
        if (m_asleep.contains(key)) {
            // Far beyond any screen and any snapping distance: it touches
            // nothing and nothing snaps to it.
            constexpr int kNowhere = -1000000;
            m_layout.SetRect(i, WndRect{kNowhere, kNowhere, kNowhere + 1, kNowhere + 1});
            continue;
        }
        const QRect rect =
            snapshot && window->isMaximized() ? WorkAreaOf(window) : window->frameGeometry();
        m_layout.SetRect(i, WndRect::FromQRect(rect));
    }
}

void cMagneticWnd::UpdateGlue() {
    RefreshRects(false, nullptr);
    m_layout.UpdateGlue();
}

void cMagneticWnd::TakeSnapshot(QWidget* window, QPoint cursor) {
    RefreshRects(true, window);
    m_layout.BeginDrag(KeyOf(window), cursor);
}

void cMagneticWnd::OnSizing(QWidget* window, QEvent* event) {
    auto* sizing = static_cast<WN::SizingEvent*>(event);
    const WndRect r =
        m_layout.Sizing(KeyOf(window), sizing->edge(), OuterOf(window, sizing->rect()));
    sizing->setRect(GeometryOf(window, r));
}

void cMagneticWnd::OnMoving(QWidget* window, QEvent* event) {
    auto* moving = static_cast<WN::MovingEvent*>(event);
    const MagneticLayout::MoveResult result =
        m_layout.Moving(KeyOf(window), moving->cursorPos(), OuterOf(window, moving->rect()));
    // All glued windows go in one pass, after every position is known; their
    // size and stacking stay as they are. move() places the outer rectangle,
    // the one they were measured by.
    for (const MagneticLayout::Placement& placement : result.glued) {
        if (QWidget* glued = m_widgets.value(placement.key)) {
            glued->move(placement.rect.left, placement.rect.top);
        }
    }
    moving->setRect(GeometryOf(window, result.rect));
}

void cMagneticWnd::zSubclass_Proc(bool bBefore, bool& /*bHandled*/, qint32& lReturn, QObject* hWnd,
                                  int uMsg, QEvent* wParam, qintptr& /*lParam*/) {
    QWidget* window = m_widgets.value(KeyOf(hWnd));
    if (!window || !wParam) {
        return;
    }
    if (bBefore) {
        switch (uMsg) {
        case WN::EnterSizeMove:
            TakeSnapshot(window, static_cast<WN::EnterSizeMoveEvent*>(wParam)->cursorPos());
            break;
        case WN::SysCommand: {
            const int command = static_cast<WN::SysCommandEvent*>(wParam)->command();
            if (command == WN::SC_MINIMIZE || command == WN::SC_RESTORE) {
                UpdateGlue();
            }
            break;
        }
        case WN::ExitSizeMove:
        case WN::Command:
            UpdateGlue();
            break;
        default:
            break;
        }
        return;
    }
    if (uMsg == WN::Sizing) {
        OnSizing(window, wParam);
        lReturn = 1;
    } else if (uMsg == WN::Moving) {
        OnMoving(window, wParam);
        lReturn = 1;
    }
}
