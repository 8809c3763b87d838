#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// The windows a main window owns, kept together as one program on a desktop
// with a window manager. Each added window is transient for the owner and has
// no taskbar entry of its own (X11WindowHints), so the manager stacks it with
// the owner and a taskbar shows the program once. Minimising the owner (its
// own button or the manager's) minimises the owned windows on screen, and
// restoring it brings back those same ones; one shown while the owner is
// minimised (a video starting) is minimised with them. Activating any of
// them brings the whole group above other programs' windows, as activating
// the owner does under a manager that stacks transients. Every window of the
// group, owner included, snaps back from a resize from outside that ends
// below its minimum size (MinimumSizeGuard).
//
// Works from the windows' own state changes, so it holds whatever minimises
// or restores the owner.
class OwnedWindows : public QObject {
    Q_OBJECT
public:
    // Made as a child of `owner`, and goes with it.
    explicit OwnedWindows(QWidget& owner);

    // Makes `window` (a top-level window) one of the owned ones. Adding one
    // twice, the owner, or null does nothing.
    void Add(QWidget* window);
    QList<QWidget*> Windows() const;

    // Whether the owner is minimised and took the owned windows with it.
    bool GroupMinimised() const { return m_groupMinimised; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnOwnerStateChanged();
    void OnShown(QWidget* window);
    void MinimiseWithOwner(QWidget* window);
    void RaiseGroup(QWidget* active);

    QWidget& m_owner;
    QList<QPointer<QWidget>> m_windows;
    // Minimised with the owner: what its restore brings back.
    QList<QPointer<QWidget>> m_minimised;
    bool m_groupMinimised = false;
};
