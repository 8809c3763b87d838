#include "winsvc/MinimumSizeGuard.h"

#include <QEvent>
#include <QWidget>

MinimumSizeGuard::MinimumSizeGuard(QWidget* window) : QObject(window), m_window(window) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &MinimumSizeGuard::CheckSettled);
    m_floor.Seen(window->geometry(), window->minimumSize());
    window->installEventFilter(this);
}

bool MinimumSizeGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window) {
        return false;
    }
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        m_floor.Seen(m_window->geometry(), m_window->minimumSize());
    }
    if (event->type() == QEvent::Resize) {
        m_settle.start();
    }
    return false;
}

void MinimumSizeGuard::CheckSettled() {
    // A minimised or full-screen window is the manager's to size.
    if (!m_window->isVisible() || m_window->isMinimized() || m_window->isFullScreen()) {
        return;
    }
    if (const std::optional<QRect> target =
            m_floor.Settled(m_window->geometry(), m_window->minimumSize())) {
        m_window->setGeometry(*target);
    }
}
