#include "winsvc/OwnedWindows.h"

#include "winsvc/MinimumSizeGuard.h"
#include "winsvc/X11WindowHints.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

OwnedWindows::OwnedWindows(QWidget& owner) : QObject(&owner), m_owner(owner) {
    new MinimumSizeGuard(&owner);
    owner.installEventFilter(this);
}

void OwnedWindows::Add(QWidget* window) {
    if (!window || window == &m_owner || !window->isWindow() || m_windows.contains(window)) {
        return;
    }
    m_windows.append(window);
    new MinimumSizeGuard(window);
    window->installEventFilter(this);
    if (window->isVisible()) {
        X11WindowHints::SetOwner(*window, m_owner);
    }
}

QList<QWidget*> OwnedWindows::Windows() const {
    QList<QWidget*> windows;
    for (const QPointer<QWidget>& window : m_windows) {
        if (window) {
            windows.append(window);
        }
    }
    return windows;
}

bool OwnedWindows::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* window = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::WindowActivate) {
        RaiseGroup(window);
    } else if (window == &m_owner) {
        if (event->type() == QEvent::WindowStateChange) {
            OnOwnerStateChanged();
        }
    } else if (event->type() == QEvent::Show) {
        OnShown(window);
    }
    return false;
}

// The owner first, so a manager that keeps transients above it restacks them
// with it; the window the user chose ends on top.
void OwnedWindows::RaiseGroup(QWidget* active) {
    if (m_groupMinimised) {
        return;
    }
    m_owner.raise();
    for (QWidget* window : Windows()) {
        if (window != active && window->isVisible() && !window->isMinimized()) {
            window->raise();
        }
    }
    active->raise();
}

void OwnedWindows::OnOwnerStateChanged() {
    if (m_owner.isMinimized() == m_groupMinimised) {
        return;
    }
    m_groupMinimised = m_owner.isMinimized();
    if (m_groupMinimised) {
        // A manager that iconifies transients with their owner may have done
        // so already; they still come back with the owner.
        for (QWidget* window : Windows()) {
            if (window->isVisible()) {
                MinimiseWithOwner(window);
            }
        }
        return;
    }
    // Only those still there come back: one hidden meanwhile stays hidden,
    // and shows normally when it is shown again.
    const QList<QPointer<QWidget>> minimised = std::exchange(m_minimised, {});
    for (const QPointer<QWidget>& window : minimised) {
        if (window && window->isVisible()) {
            window->showNormal();
        } else if (window) {
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        }
    }
}

void OwnedWindows::MinimiseWithOwner(QWidget* window) {
    if (!m_minimised.contains(window)) {
        m_minimised.append(window);
    }
    if (!window->isMinimized()) {
        window->showMinimized();
    }
}

void OwnedWindows::OnShown(QWidget* window) {
    // Before the map: the manager reads the state as it maps the window.
    X11WindowHints::SkipTaskbar(*window);
    // After the map: Qt clears the owner link while it shows the window.
    QPointer<QWidget> shown(window);
    QTimer::singleShot(0, this, [this, shown] {
        if (!shown || !shown->isVisible()) {
            return;
        }
        X11WindowHints::SetOwner(*shown, m_owner);
        if (m_groupMinimised) {
            MinimiseWithOwner(shown);
        }
    });
}
