#include "controls/ctlProgress.h"

#include "controls/ModMask.h"
#include "controls/PictureSurface.h"
#include "controls/PropertyBag.h"
#include "controls/ctlButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
int Round(double value) {
    return int(std::nearbyint(value));
}
} // namespace

ctlProgress::ctlProgress(QWidget* parent, LeaveTracking* tracking)
    : QWidget(parent), m_bar(new PictureSurface(this)), m_fill(new PictureSurface(this)),
      m_thumb(new ctlButton(this, tracking)) {
    m_bar->hide();
    m_fill->hide();
    m_thumb->SetEnabled(true);
    connect(m_thumb, &ctlButton::MouseDown, this, &ctlProgress::OnThumbDown);
    connect(m_thumb, &ctlButton::MouseMove, this, &ctlProgress::OnThumbMove);
    connect(m_thumb, &ctlButton::MouseUp, this, &ctlProgress::OnThumbUp);
    Layout();
}

quint32 ctlProgress::MaskColor() const {
    return m_thumb->MaskColor();
}

// Every look-changing setter lays the slider out at once: a new skin may put
// the slider at the rectangle it already has, and then no resize comes to do
// it.
void ctlProgress::SetVertical(bool vertical) {
    m_vertical = vertical;
    Layout();
}

void ctlProgress::SetMaskColor(quint32 maskColor) {
    const bool changed = maskColor != m_thumb->MaskColor();
    m_thumb->SetMaskColor(maskColor);
    if (changed) {
        m_barShape = ModMask::MaskRegion(m_picBar, maskColor);
        m_fillShape = ModMask::MaskRegion(m_picFill, maskColor);
    }
    emit PropertyChanged(QStringLiteral("MaskColor"));
    Layout();
}

void ctlProgress::SetPicBar(const QImage& picture) {
    m_picBar = picture;
    m_barShape = ModMask::MaskRegion(m_picBar, MaskColor());
    emit PropertyChanged(QStringLiteral("PicBar"));
    Layout();
}

void ctlProgress::SetPicFill(const QImage& picture) {
    m_picFill = picture;
    m_fillShape = ModMask::MaskRegion(m_picFill, MaskColor());
    emit PropertyChanged(QStringLiteral("PicFill"));
    Layout();
}

void ctlProgress::SetPicThumb(const QImage& strip) {
    m_picThumb = strip;
    emit PropertyChanged(QStringLiteral("PicThumb"));
    Layout();
}

void ctlProgress::SetPicBack(const QImage& picture) {
    m_picBack = picture;
    update();
}

int ctlProgress::ThumbLength() const {
    return m_vertical ? m_thumb->height() : m_thumb->width();
}

int ctlProgress::TrackLength() const {
    return (m_vertical ? height() : width()) - ThumbLength();
}

int ctlProgress::ThumbPos() const {
    return m_vertical ? m_thumb->y() : m_thumb->x();
}

void ctlProgress::SetThumbPos(int pos) {
    m_thumb->move(m_vertical ? QPoint(0, pos) : QPoint(pos, 0));
}

int ctlProgress::Clamped(int value) const {
    return std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
}

void ctlProgress::PlaceThumbFor(int requested) {
    const int range = m_max - m_min;
    const int L = TrackLength();
    // An empty range has no positions: the thumb rests at the start.
    const int along = range == 0 ? 0 : Round(double(L) * (double(requested) - m_min) / range);
    SetThumbPos(m_vertical ? L - along : along);
}

int ctlProgress::ValueAt(int pos) const {
    const int L = TrackLength();
    const int range = m_max - m_min;
    if (L <= 0 || range == 0) {
        return m_min;
    }
    const int along = Round(double(pos) * range / L);
    return m_vertical ? m_max - along : m_min + along;
}

void ctlProgress::Layout() {
    if (m_max == 0) {
        m_max = 100;
    }
    update(); // the background under the slider
    if (m_picBar.isNull()) {
        m_bar->hide();
    } else {
        m_bar->move(0, 0);
        m_bar->SetPicture(m_picBar, m_barShape);
        m_bar->show();
    }
    if (m_picThumb.isNull()) {
        m_thumb->SetCanResize(true);
        m_thumb->hide();
        m_thumb->resize(0, 0);
    } else {
        m_thumb->SetCanResize(false);
        if (m_thumb->Picture() != m_picThumb) {
            m_thumb->SetPicture(m_picThumb);
        }
        m_thumb->show();
    }
    PlaceThumbFor(m_value);
    m_thumb->raise();
    RedrawFill();
}

void ctlProgress::RedrawFill() {
    if (m_picFill.isNull()) {
        m_fill->hide();
        return;
    }
    QRect area;
    QPoint pictureAt;
    if (m_vertical) {
        const int top = m_thumb->y();
        area = QRect(Round((width() - m_picFill.width()) / 2.0), top, m_picFill.width(),
                     height() - top);
        pictureAt = QPoint(0, area.height() - height()); // bottom edges meet
    } else {
        area = QRect(0, Round((m_thumb->height() - m_picFill.height()) / 2.0), m_thumb->x(),
                     m_picFill.height());
        pictureAt = QPoint(0, 0);
    }
    QImage composed;
    QRegion shape;
    if (area.width() > 0 && area.height() > 0) {
        composed = QImage(area.size(), QImage::Format_RGB32);
        composed.fill(ModColor::ToQRgb(MaskColor()));
        QPainter painter(&composed);
        painter.drawImage(pictureAt, m_picFill);
        painter.end();
        // The composed fill is the picture where it lies and mask elsewhere,
        // so its shape is the picture's own, moved and cut to the fill.
        shape = m_fillShape.translated(pictureAt).intersected(QRect(QPoint(), area.size()));
    }
    m_fill->move(area.topLeft());
    m_fill->SetPicture(composed, shape);
    m_fill->show();
    m_fill->stackUnder(m_thumb);
}

void ctlProgress::SetValue(int value) {
    m_value = Clamped(value);
    PlaceThumbFor(value);
    RedrawFill();
    emit Scroll();
}

void ctlProgress::OnThumbDown(int button, int, float x, float y) {
    if (button != 1) {
        return; // only the left button drags
    }
    m_dragging = true;
    emit ThumbDown();
    m_grabX = Round(x);
    m_grabY = Round(y);
}

void ctlProgress::OnThumbMove(int, int, float x, float y) {
    if (!m_dragging) {
        return;
    }
    if (m_vertical) {
        DragAlong(Round(y), m_grabY);
    } else {
        DragAlong(Round(x), m_grabX);
    }
}

// One move of a thumb drag; `pointer` and `grab` are positions inside the
// thumb along the slider.
void ctlProgress::DragAlong(int pointer, int grab) {
    const int L = std::max(TrackLength(), 0);
    int pos = ThumbPos();
    if (pos > 0 && pos < L) {
        // The thumb follows the pointer, never past the ends of the track.
        pos = std::clamp(pos - grab + pointer, 0, L);
        SetThumbPos(pos);
        const int t = ValueAt(pos);
        const bool changed = t != m_value;
        m_value = Clamped(t);
        RedrawFill();
        if (changed) {
            emit Scroll();
        }
        return;
    }
    // At an end: the thumb stays there until the pointer comes back past the
    // grab point toward the track.
    const bool atFar = pos >= L;
    pos = atFar ? L : 0;
    m_value = atFar != m_vertical ? m_max : m_min;
    if ((atFar && grab > pointer) || (!atFar && grab < pointer)) {
        pos = std::clamp(pos + pointer - grab, 0, L);
    }
    SetThumbPos(pos);
    RedrawFill();
}

void ctlProgress::OnThumbUp(int, int, float, float) {
    m_dragging = false;
    emit ThumbUp();
}

void ctlProgress::TrackTo(QPoint pointer, bool press) {
    const int L = std::max(TrackLength(), 0);
    const int along = m_vertical ? pointer.y() : pointer.x();
    const int pos = std::clamp(Round(along - ThumbLength() / 2.0), 0, L);
    SetThumbPos(pos);
    const int before = m_value;
    m_value = Clamped(ValueAt(pos));
    RedrawFill();
    if (press || m_value != before) {
        emit Scroll();
    }
}

void ctlProgress::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        TrackTo(event->position().toPoint(), true);
    }
    event->accept(); // every button, so that its release comes here too
}

void ctlProgress::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        TrackTo(event->position().toPoint(), false);
    }
    event->accept();
}

void ctlProgress::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit ThumbUp();
}

void ctlProgress::paintEvent(QPaintEvent*) {
    if (m_picBack.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picBack, QRect(pos(), size()));
}

void ctlProgress::resizeEvent(QResizeEvent*) {
    Layout();
}

void ctlProgress::moveEvent(QMoveEvent*) {
    update();
}

void ctlProgress::showEvent(QShowEvent*) {
    Layout();
}

void ctlProgress::ReadProperties(const PropertyBag& bag) {
    SetMaskColor(
        bag.ReadProperty(QStringLiteral("MaskColor"), quint32(ModColor::kMagenta)).toUInt());
    SetPicBar(bag.ReadProperty(QStringLiteral("PicBar"), QImage()).value<QImage>());
    SetPicFill(bag.ReadProperty(QStringLiteral("PicFill"), QImage()).value<QImage>());
    SetPicThumb(bag.ReadProperty(QStringLiteral("PicThumb"), QImage()).value<QImage>());
    m_max = 100;
}

void ctlProgress::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("MaskColor"), MaskColor(), quint32(ModColor::kMagenta));
    bag.WriteProperty(QStringLiteral("PicBar"), m_picBar, QImage());
    bag.WriteProperty(QStringLiteral("PicFill"), m_picFill, QImage());
    bag.WriteProperty(QStringLiteral("PicThumb"), m_picThumb, QImage());
}
