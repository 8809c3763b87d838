#include "winsvc/LeaveTracking.h"

#include "winsvc/iLeaveTracked.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
const char* const kApplicationInstanceName = "MelodeckLeaveTracking";
}

LeaveTracking::LeaveTracking(QObject* parent) : QObject(parent) {
}

LeaveTracking* LeaveTracking::ForApplication() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return nullptr;
    }
    auto* existing = app->findChild<LeaveTracking*>(QLatin1String(kApplicationInstanceName),
                                                    Qt::FindDirectChildrenOnly);
    if (existing) {
        return existing;
    }
    auto* created = new LeaveTracking(app);
    created->setObjectName(QLatin1String(kApplicationInstanceName));
    return created;
}

void LeaveTracking::HookLeaveTracking(QWidget* surface) {
    if (!surface || IsHooked(surface)) {
        return;
    }
    m_hooked.append(surface);
    surface->setMouseTracking(true);
    surface->installEventFilter(this);
    connect(surface, &QObject::destroyed, this, [this](QObject* gone) {
        m_hooked.removeIf([gone](const QPointer<QWidget>& w) { return w.isNull() || w == gone; });
        if (m_armed && (m_armedSurface.isNull() || m_armedSurface == gone)) {
            // The armed surface is gone, so its leave will never come: without
            // this no control could arm tracking again.
            Disarm();
        }
    });
}

void LeaveTracking::UnhookLeaveTracking(QWidget* surface) {
    if (!surface) {
        return;
    }
    surface->removeEventFilter(this);
    disconnect(surface, &QObject::destroyed, this, nullptr);
    m_hooked.removeIf([surface](const QPointer<QWidget>& w) { return w.isNull() || w == surface; });
    if (m_armed && m_armedSurface == surface) {
        Disarm();
    }
}

bool LeaveTracking::IsHooked(const QWidget* surface) const {
    for (const QPointer<QWidget>& w : m_hooked) {
        if (w == surface) {
            return true;
        }
    }
    return false;
}

bool LeaveTracking::Arm(iLeaveTracked* control, QWidget* surface) {
    if (m_armed != 0) {
        return false;
    }
    m_armed = 1;
    m_tracked = control;
    m_armedSurface = surface;
    return true;
}

void LeaveTracking::Forget(iLeaveTracked* control) {
    if (m_tracked != control) {
        return;
    }
    m_tracked = nullptr;
    Disarm();
}

void LeaveTracking::Disarm() {
    m_armed = 0;
    m_armedSurface = nullptr;
}

bool LeaveTracking::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave && m_armed && watched == m_armedSurface) {
        Disarm();
        if (m_tracked) {
            m_tracked->PreMouseLeave();
        }
    }
    return false; // the surface's own handling always runs
}
