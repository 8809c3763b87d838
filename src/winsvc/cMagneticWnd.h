#pragma once

#include "winsvc/MagneticLayout.h"
#include "winsvc/cSubclass.h"
#include "winsvc/iSubclass.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

class QWidget;

// Makes top-level windows magnetic: while one of them is dragged or sized (by
// WindowDragger), its edges snap to the other registered windows and to the
// work area, and the windows glued to it travel with it. A window registered
// with a parent is glued when it touches that parent, or touches a glued window
// of the same parent, edge to edge.
//
// The manager sees the windows' move/size notifications through the
// per-object message hook (cSubclass): it takes its snapshot before the
// window's own handling of enter-size-move and adjusts the proposed rectangle
// after the window's own handling of moving and sizing. Windows are measured,
// snapped and moved by their outer rectangles (frameGeometry(), frame and title
// bar included), so a window with a frame touches what its frame touches and
// travels with its parent without jumping by its title bar.
class cMagneticWnd : public QObject, public iSubclass {
    Q_OBJECT
public:
    explicit cMagneticWnd(QObject* parent = nullptr);
    ~cMagneticWnd() override;

    // Registers a top-level window, with the window it is glued to or nullptr.
    // False when hWnd is already registered, is its own parent, or either is
    // not a window.
    bool AddWindow(QWidget* hWnd, QWidget* hWndParent = nullptr);
    // Unregisters a window; its children become parentless. False when it was
    // not registered.
    bool RemoveWindow(QWidget* hWnd);
    // Recomputes which windows are glued from where they are now.
    void CheckGlueing();

    int SnapWidth() const { return m_layout.SnapWidth(); }
    void SetSnapWidth(int pixels) { m_layout.SetSnapWidth(pixels); }

    // A registered window put away for a while (hidden by mini mode) is left
    // out of snapping and glue: the windows that stay on screen neither snap
    // to its invisible edges nor drag it along. It counts again once woken.
    void SetAsleep(QWidget* hWnd, bool asleep);

    bool IsRegistered(const QWidget* hWnd) const;
    bool IsGlued(const QWidget* hWnd) const;

    void zSubclass_Proc(bool bBefore, bool& bHandled, qint32& lReturn, QObject* hWnd, int uMsg,
                        QEvent* wParam, qintptr& lParam) override;

private:
    using Key = MagneticLayout::Key;
    static Key KeyOf(const QObject* window) { return reinterpret_cast<Key>(window); }

    void RefreshRects(bool snapshot, const QWidget* moving);
    void UpdateGlue();
    void TakeSnapshot(QWidget* window, QPoint cursor);
    void OnSizing(QWidget* window, QEvent* event);
    void OnMoving(QWidget* window, QEvent* event);
    void Forget(Key key);

    MagneticLayout m_layout;
    QHash<Key, QPointer<QWidget>> m_widgets;
    cSubclass m_hook;
    QSet<Key> m_asleep;
    bool m_everAdded = false;
};
