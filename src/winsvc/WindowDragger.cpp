#include "winsvc/WindowDragger.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

namespace WN = WindowNotifications;
using WN::SizeEdge;

namespace {

bool DragsLeft(SizeEdge e) {
    return e == SizeEdge::Left || e == SizeEdge::TopLeft || e == SizeEdge::BottomLeft;
}
bool DragsRight(SizeEdge e) {
    return e == SizeEdge::Right || e == SizeEdge::TopRight || e == SizeEdge::BottomRight;
}
bool DragsTop(SizeEdge e) {
    return e == SizeEdge::Top || e == SizeEdge::TopLeft || e == SizeEdge::TopRight;
}
bool DragsBottom(SizeEdge e) {
    return e == SizeEdge::Bottom || e == SizeEdge::BottomLeft || e == SizeEdge::BottomRight;
}

// Keeps the span [low, high) between `least` and `most` long by moving the end
// that is being dragged.
void ClampSpan(int& low, int& high, int least, int most, bool lowDragged) {
    const int length = std::clamp(high - low, least, std::max(least, most));
    if (lowDragged) {
        low = high - length;
    } else {
        high = low + length;
    }
}

} // namespace

WindowDragger::WindowDragger(QWidget* window) : QObject(window), m_window(window) {
    m_window->installEventFilter(this);
}

WindowDragger::~WindowDragger() {
    if (IsTracking()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void WindowDragger::AddMoveHandle(QWidget* handle) {
    if (!handle || m_moveHandles.contains(handle)) {
        return;
    }
    m_grips.remove(handle);
    m_moveHandles.append(handle);
    handle->installEventFilter(this);
}

void WindowDragger::AddSizeGrip(QWidget* grip, SizeEdge edge) {
    if (!grip) {
        return;
    }
    m_moveHandles.removeAll(grip);
    if (!m_grips.contains(grip)) {
        connect(grip, &QObject::destroyed, this, [this, grip] { m_grips.remove(grip); });
    }
    m_grips.insert(grip, edge);
    grip->installEventFilter(this);
}

void WindowDragger::RemoveHandle(QWidget* handle) {
    if (!handle || handle == m_window) {
        return;
    }
    m_moveHandles.removeAll(handle);
    m_grips.remove(handle);
    handle->removeEventFilter(this);
}

void WindowDragger::BeginMove(QPoint globalCursor) {
    Begin(Mode::Move, globalCursor, SizeEdge::BottomRight);
}

void WindowDragger::BeginSize(QPoint globalCursor, SizeEdge edge) {
    Begin(Mode::Size, globalCursor, edge);
}

void WindowDragger::Begin(Mode mode, QPoint globalCursor, SizeEdge edge) {
    if (IsTracking()) {
        return;
    }
    m_mode = mode;
    m_edge = edge;
    m_startCursor = globalCursor;
    m_startRect = m_window->geometry();
    // Movements and the release are followed wherever they are delivered (the
    // pressed child, the window, or elsewhere once the pointer outruns it).
    QCoreApplication::instance()->installEventFilter(this);
    WN::EnterSizeMoveEvent enter(globalCursor);
    QCoreApplication::sendEvent(m_window, &enter);
}

QRect WindowDragger::ProposedMove(QPoint globalCursor) const {
    return m_startRect.translated(globalCursor - m_startCursor);
}

QRect WindowDragger::ProposedSize(QPoint globalCursor) const {
    const QPoint d = globalCursor - m_startCursor;
    int left = m_startRect.x();
    int top = m_startRect.y();
    int right = left + m_startRect.width();
    int bottom = top + m_startRect.height();
    left += DragsLeft(m_edge) ? d.x() : 0;
    right += DragsRight(m_edge) ? d.x() : 0;
    top += DragsTop(m_edge) ? d.y() : 0;
    bottom += DragsBottom(m_edge) ? d.y() : 0;
    // The proposal already respects the window's size limits, so that snapping
    // works on the rectangle the window can really take.
    ClampSpan(left, right, std::max(1, m_window->minimumWidth()), m_window->maximumWidth(),
              DragsLeft(m_edge));
    ClampSpan(top, bottom, std::max(1, m_window->minimumHeight()), m_window->maximumHeight(),
              DragsTop(m_edge));
    return QRect(left, top, right - left, bottom - top);
}

void WindowDragger::TrackTo(QPoint globalCursor) {
    QRect target;
    if (m_mode == Mode::Move) {
        WN::MovingEvent moving(ProposedMove(globalCursor), globalCursor);
        QCoreApplication::sendEvent(m_window, &moving);
        target = moving.rect();
    } else if (m_mode == Mode::Size) {
        WN::SizingEvent sizing(m_edge, ProposedSize(globalCursor), globalCursor);
        QCoreApplication::sendEvent(m_window, &sizing);
        target = sizing.rect();
    } else {
        return;
    }
    if (IsTracking() && target.isValid() && target != m_window->geometry()) {
        m_window->setGeometry(target);
    }
}

void WindowDragger::End() {
    if (!IsTracking()) {
        return;
    }
    m_mode = Mode::None;
    QCoreApplication::instance()->removeEventFilter(this);
    WN::ExitSizeMoveEvent exit;
    QCoreApplication::sendEvent(m_window, &exit);
}

bool WindowDragger::OnPress(QObject* watched, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || IsTracking()) {
        return false;
    }
    const QPoint cursor = event->globalPosition().toPoint();
    const auto grip = m_grips.constFind(watched);
    if (grip != m_grips.constEnd()) {
        BeginSize(cursor, grip.value());
        return true;
    }
    if (watched == m_window || m_moveHandles.contains(static_cast<QWidget*>(watched))) {
        BeginMove(cursor);
        return true;
    }
    return false;
}

bool WindowDragger::OnTrackingEvent(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseMove) {
        if (!(mouse->buttons() & Qt::LeftButton)) {
            End(); // the release went elsewhere; the loop ends where it is
            return false;
        }
        TrackTo(mouse->globalPosition().toPoint());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        End();
        return true;
    }
    return event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonDblClick;
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    if (!mouse || !watched->isWidgetType()) {
        return false;
    }
    if (IsTracking()) {
        return OnTrackingEvent(event);
    }
    if (type == QEvent::MouseButtonPress) {
        return OnPress(watched, static_cast<QMouseEvent*>(event));
    }
    return false;
}
