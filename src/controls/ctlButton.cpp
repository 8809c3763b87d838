#include "controls/ctlButton.h"

#include "controls/ModInput.h"
#include "controls/ModMask.h"
#include "controls/PropertyBag.h"
#include "winsvc/LeaveTracking.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

ctlButton::ctlButton(QWidget* parent, LeaveTracking* tracking)
    : QWidget(parent), m_tracking(tracking ? tracking : LeaveTracking::ForApplication()) {
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    if (m_tracking) {
        m_tracking->HookLeaveTracking(this);
    }
    DrawState(Disabled);
}

ctlButton::~ctlButton() {
    if (m_tracking) {
        m_tracking->UnhookLeaveTracking(this);
        m_tracking->Forget(this);
    }
}

void ctlButton::SetPicture(const QImage& strip) {
    m_strip = strip;
    ForgetShapes();
    emit PropertyChanged(QStringLiteral("Picture"));
    if (!m_strip.isNull()) {
        resize(FrameSize());
    }
    DrawState(NormalState());
}

void ctlButton::SetEnabled(bool enabled) {
    m_enabled = enabled;
    emit PropertyChanged(QStringLiteral("Enabled"));
    DrawState(NormalState());
}

void ctlButton::SetMaskColor(quint32 maskColor) {
    if (maskColor != m_maskColor) {
        m_maskColor = maskColor;
        ForgetShapes();
    }
    emit PropertyChanged(QStringLiteral("MaskColor"));
    DrawState(NormalState());
}

void ctlButton::SetSelected(bool selected) {
    m_selected = selected;
    DrawState(selected ? Pressed : NormalState());
}

QSize ctlButton::FrameSize() const {
    if (m_strip.isNull()) {
        return QSize();
    }
    return QSize(int(std::nearbyint(m_strip.width() / 4.0)), m_strip.height());
}

int ctlButton::FrameLeft(int frame) const {
    return int(std::nearbyint(frame * m_strip.width() / 4.0));
}

QRegion ctlButton::FrameMask(int frame) {
    if (frame < 0 || frame > 3 || m_strip.isNull()) {
        return QRegion();
    }
    if (!m_frameMaskKnown[frame]) {
        const QSize size = FrameSize();
        const QImage picture = m_strip.copy(FrameLeft(frame), 0, size.width(), size.height());
        m_frameMasks[frame] = ModMask::MaskRegion(picture, m_maskColor);
        m_frameMaskKnown[frame] = true;
    }
    return m_frameMasks[frame];
}

void ctlButton::ForgetShapes() {
    m_frameMaskKnown.fill(false);
    m_shownFrame = -1; // the look must be drawn again
}

void ctlButton::DrawState(int k) {
    if (!m_canResize && !m_strip.isNull()) {
        resize(FrameSize());
    }
    const int frame = k == Normal ? (m_selected ? Pressed : Normal) : k;
    if (frame == m_shownFrame) {
        return; // same look: nothing to redraw or reshape
    }
    m_shownFrame = frame;
    if (m_strip.isNull()) {
        return; // nothing to draw; the button stays blank
    }
    ModMask::SetWindowRegion(this, FrameMask(frame));
    update();
}

void ctlButton::PreMouseLeave() {
    emit MouseLeave();
    DrawState(NormalState());
    unsetCursor();
    m_hover = 0;
}

void ctlButton::ReadProperties(const PropertyBag& bag) {
    SetPicture(bag.ReadProperty(QStringLiteral("Picture"), QImage()).value<QImage>());
    m_enabled = bag.ReadProperty(QStringLiteral("Enabled"), false).toBool();
    const quint32 mask =
        bag.ReadProperty(QStringLiteral("MaskColor"), quint32(ModColor::kMagenta)).toUInt();
    if (mask != m_maskColor) {
        m_maskColor = mask;
        ForgetShapes();
    }
    DrawState(NormalState());
}

void ctlButton::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Picture"), m_strip, QImage());
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled, false);
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, quint32(ModColor::kMagenta));
}

void ctlButton::paintEvent(QPaintEvent*) {
    if (m_strip.isNull() || m_shownFrame < 0) {
        return;
    }
    const QSize size = FrameSize();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_strip,
                      QRect(FrameLeft(m_shownFrame), 0, size.width(), size.height()));
}

void ctlButton::resizeEvent(QResizeEvent*) {
    DrawState(Normal);
    if (!m_enabled) {
        DrawState(Disabled);
    }
}

void ctlButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_tracking && m_tracking->LeaveTrackingArmed() == 0) {
        m_tracking->Arm(this, this);
    }
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore();
        return;
    }
    const QPointF p = event->position();
    emit MouseMove(ModInput::ButtonCode(event->buttons()), ModInput::ShiftCode(event->modifiers()),
                   float(p.x()), float(p.y()));
    if (m_hover != 1) {
        m_hover = 1;
        DrawState(Hot);
        setCursor(Qt::PointingHandCursor);
    }
    event->accept();
}

void ctlButton::mousePressEvent(QMouseEvent* event) {
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore(); // falls through to what lies beneath (the window drag)
        return;
    }
    m_doubleClickPress = false;
    const QPointF p = event->position();
    emit MouseDown(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                   float(p.x()), float(p.y()));
    DrawState(Pressed);
    event->accept();
}

void ctlButton::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore();
        return;
    }
    const QPointF p = event->position();
    const bool over = ModMask::VisibleRegion(this).contains(p.toPoint());
    emit MouseUp(ModInput::ButtonCode(event->button()), ModInput::ShiftCode(event->modifiers()),
                 float(p.x()), float(p.y()));
    DrawState(Normal);
    // A click is a left press and release over the button; the release that
    // ends a double-click raised DblClick already.
    if (event->button() == Qt::LeftButton && over && !m_doubleClickPress) {
        emit Click();
        DrawState(Hot);
    }
    m_doubleClickPress = false;
    event->accept();
}

void ctlButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore();
        return;
    }
    m_doubleClickPress = true;
    emit DblClick();
    DrawState(Hot);
    event->accept();
}

void ctlButton::keyPressEvent(QKeyEvent* event) {
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore();
        return;
    }
    emit KeyDown(ModInput::KeyCode(event), ModInput::ShiftCode(event->modifiers()));
    const int ascii = ModInput::KeyAscii(event);
    if (ascii != 0) {
        emit KeyPress(ascii);
    }
    event->accept();
}

void ctlButton::keyReleaseEvent(QKeyEvent* event) {
    if (!m_enabled) {
        DrawState(Disabled);
        event->ignore();
        return;
    }
    if (!event->isAutoRepeat()) {
        emit KeyUp(ModInput::KeyCode(event), ModInput::ShiftCode(event->modifiers()));
    }
    event->accept();
}
