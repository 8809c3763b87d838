#include "controls/ctlVScroll.h"

#include "controls/PictureSurface.h"
#include "controls/PropertyBag.h"
#include "winsvc/LeaveTracking.h"
#include "winsvc/clsWaitableTimer.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace {

int Round(double value) {
    return int(std::nearbyint(value));
}

// A surface that shows a part and lets the pointer reach it: its own mouse
// events go on to the bar (they are not handled here), but it gets the enter
// and leave notifications that hover tracking needs.
PictureSurface* MakePart(QWidget* owner) {
    auto* part = new PictureSurface(owner);
    part->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    return part;
}

QRegion Whole(const QImage& image) {
    return QRegion(0, 0, image.width(), image.height());
}

} // namespace

ctlVScroll::ctlVScroll(QWidget* parent, LeaveTracking* tracking)
    : QWidget(parent), m_tracking(tracking ? tracking : LeaveTracking::ForApplication()),
      m_delay(std::make_unique<clsWaitableTimer>()), m_imgBar(new PictureSurface(this)),
      m_picButtonUp(MakePart(this)), m_picButtonDown(MakePart(this)), m_picThumb(MakePart(this)) {
    setMouseTracking(true);
    m_tmrMouseDown.setInterval(kRepeatInterval);
    m_tmrLargeChange.setInterval(kPageInterval);
    connect(&m_tmrMouseDown, &QTimer::timeout, this, &ctlVScroll::RepeatTick);
    connect(&m_tmrLargeChange, &QTimer::timeout, this, &ctlVScroll::PageTowardPointer);
    if (m_tracking) {
        for (QWidget* part : {ButtonUp(), ButtonDown(), ThumbSurface()}) {
            m_tracking->HookLeaveTracking(part);
        }
    }
    Layout();
}

ctlVScroll::~ctlVScroll() {
    if (m_tracking) {
        for (QWidget* part : {ButtonUp(), ButtonDown(), ThumbSurface()}) {
            m_tracking->UnhookLeaveTracking(part);
        }
        m_tracking->Forget(this);
    }
}

QWidget* ctlVScroll::ButtonUp() const {
    return m_picButtonUp;
}
QWidget* ctlVScroll::ButtonDown() const {
    return m_picButtonDown;
}
QWidget* ctlVScroll::ThumbSurface() const {
    return m_picThumb;
}

int ctlVScroll::ClampedValue(int value) const {
    return std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
}

void ctlVScroll::SetMin(int min) {
    m_min = min;
    m_value = ClampedValue(m_value);
    emit PropertyChanged(QStringLiteral("Min"));
}

void ctlVScroll::SetMax(int max) {
    m_max = max;
    m_value = ClampedValue(m_value);
    emit PropertyChanged(QStringLiteral("Max"));
}

void ctlVScroll::SetValue(int value) {
    if (value != ClampedValue(value)) {
        throw ScrollValueError();
    }
    m_value = value;
    emit PropertyChanged(QStringLiteral("Value"));
}

void ctlVScroll::SetSmallChange(int change) {
    m_smallChange = change;
    emit PropertyChanged(QStringLiteral("SmallChange"));
}

void ctlVScroll::SetLargeChange(int change) {
    m_largeChange = change;
    emit PropertyChanged(QStringLiteral("LargeChange"));
}

void ctlVScroll::SetMaskColor(quint32 maskColor) {
    m_maskColor = maskColor;
    emit PropertyChanged(QStringLiteral("MaskColor"));
}

void ctlVScroll::SetBarPicture(const QImage& picture) {
    m_barPicture = picture;
    m_stretchedBar = QImage();
    emit PropertyChanged(QStringLiteral("BarPicture"));
    Layout();
}

void ctlVScroll::SetThumbPicture(const QImage& picture) {
    m_thumbPicture = picture;
    CutCells();
    emit PropertyChanged(QStringLiteral("ThumbPicture"));
    Layout();
}

void ctlVScroll::SetButtonPicture(const QImage& picture) {
    m_buttonPicture = picture;
    CutCells();
    emit PropertyChanged(QStringLiteral("ButtonPicture"));
    Layout();
}

// Cuts the arrow and thumb cells out of their pictures when they change, so
// that a change of look hands the surfaces an image they already know.
void ctlVScroll::CutCells() {
    const int w = Round(m_buttonPicture.width() / 3.0);
    const int h = Round(m_buttonPicture.height() / 2.0);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect source(column * w, row * h, w, h);
            m_arrowCells[row][column] =
                m_buttonPicture.isNull() ? QImage() : m_buttonPicture.copy(source);
        }
    }
    const int tw = Round(m_thumbPicture.width() / 3.0);
    for (int column = 0; column < 3; ++column) {
        const QRect source(column * tw, 0, tw, m_thumbPicture.height());
        m_thumbCells[column] = m_thumbPicture.isNull() ? QImage() : m_thumbPicture.copy(source);
    }
}

void ctlVScroll::Layout() {
    if (m_inLayout) {
        return;
    }
    m_inLayout = true;
    const int w = Round(m_buttonPicture.width() / 3.0);
    const int h = Round(m_buttonPicture.height() / 2.0);
    if (width() != w) {
        resize(w, height());
    }
    m_track = CScrollTrack{height(), h, m_thumbPicture.height()};
    m_picButtonUp->move(0, 0);
    m_picButtonDown->move(0, m_track.DownArrowTop());
    PlaceThumb();
    DrawBar();
    DrawArrow(UpArrow, Normal);
    DrawArrow(DownArrow, Normal);
    DrawThumb(Normal);
    m_picButtonUp->raise();
    m_picButtonDown->raise();
    m_inLayout = false;
}

void ctlVScroll::DrawArrow(int index, int state) {
    m_arrowState[index] = state;
    PictureSurface* arrow = index == UpArrow ? m_picButtonUp : m_picButtonDown;
    const QImage& cell = m_arrowCells[index][state];
    arrow->SetPicture(cell, Whole(cell));
}

void ctlVScroll::DrawThumb(int state) {
    m_thumbState = state;
    const QImage& cell = m_thumbCells[state];
    m_picThumb->SetPicture(cell, Whole(cell));
}

void ctlVScroll::DrawBar() {
    if (m_barPicture.isNull() || size().isEmpty()) {
        m_imgBar->SetPicture(QImage(), QRegion());
        return;
    }
    if (m_stretchedBar.size() != size()) {
        m_stretchedBar = m_barPicture.scaled(size(), Qt::IgnoreAspectRatio);
    }
    m_imgBar->move(0, 0);
    m_imgBar->SetPicture(m_stretchedBar, Whole(m_stretchedBar));
    m_imgBar->lower();
}

int ctlVScroll::ThumbTop() const {
    return m_picThumb->y();
}

void ctlVScroll::PlaceThumb() {
    PlaceThumbAt(m_track.ThumbTopFor(m_value, m_min, m_max));
}

void ctlVScroll::PlaceThumbAt(int top) {
    m_picThumb->move(0, top);
}

int ctlVScroll::PartAt(QPoint at) const {
    if (m_picButtonUp->geometry().contains(at)) {
        return UpArrow;
    }
    if (m_picButtonDown->geometry().contains(at)) {
        return DownArrow;
    }
    if (m_picThumb->geometry().contains(at)) {
        return Thumb;
    }
    return rect().contains(at) ? Bar : Nothing;
}

void ctlVScroll::Hover(int part) {
    QWidget* surface = nullptr;
    if ((part == UpArrow || part == DownArrow) && m_heldArrow == Nothing) {
        DrawArrow(part, Hot);
        DrawArrow(1 - part, Normal);
        DrawThumb(Normal);
        surface = part == UpArrow ? m_picButtonUp : m_picButtonDown;
    } else if (part == Thumb && !m_dragging) {
        DrawThumb(Hot);
        DrawArrow(UpArrow, Normal);
        DrawArrow(DownArrow, Normal);
        surface = m_picThumb;
    }
    if (!surface) {
        return;
    }
    setCursor(Qt::PointingHandCursor);
    m_activePart = part;
    if (m_tracking && m_tracking->LeaveTrackingArmed() == 0) {
        m_tracking->Arm(this, surface);
    }
}

void ctlVScroll::PreMouseLeave() {
    if (m_activePart == Thumb) {
        DrawThumb(Normal);
    } else {
        DrawArrow(m_activePart, Normal);
    }
    unsetCursor();
}

// Waits the first delay of a held press with events running, then starts the
// repeat when the same press is still held.
void ctlVScroll::StartRepeatAfterDelay(QTimer& timer) {
    const quint64 press = m_pressId;
    const QPointer<ctlVScroll> alive(this);
    m_delay->Wait(kRepeatDelay);
    if (!alive || press != m_pressId) {
        return; // gone, or released and pressed again meanwhile
    }
    if (m_heldArrow != Nothing || m_barHeld) {
        timer.start();
    }
}

void ctlVScroll::PressArrow(int index) {
    ++m_pressId;
    m_heldArrow = index;
    DrawArrow(index, Pressed);
    const bool down = index == DownArrow;
    if (down ? m_value >= m_max : m_value <= m_min) {
        return; // at the end: nothing moves and nothing repeats
    }
    m_value += down ? 1 : -1;
    PlaceThumb();
    emit Scroll();
    m_activePart = index;
    StartRepeatAfterDelay(m_tmrMouseDown);
}

void ctlVScroll::RepeatTick() {
    if (m_heldArrow == Nothing) {
        m_tmrMouseDown.stop();
        return;
    }
    const int before = m_value;
    if (m_heldArrow == DownArrow) {
        if (m_value < m_max) {
            ++m_value;
        }
    } else {
        m_value = m_min < m_value ? m_value - 1 : m_min;
    }
    PlaceThumb();
    DrawArrow(m_heldArrow, Pressed);
    if (m_value != before) {
        emit Scroll();
    }
}

void ctlVScroll::PressThumb(int y) {
    m_dragging = true;
    m_grabY = y - ThumbTop();
    m_activePart = Thumb;
    DrawThumb(Pressed);
}

// The thumb follows the pointer, held at the grab point, between the ends of
// the track; at an end it rests until the pointer comes back past the grab
// point.
void ctlVScroll::DragTo(int y) {
    const int top = m_track.ClampedTop(y - m_grabY);
    PlaceThumbAt(top);
    const int t = m_track.ValueAt(top, m_min, m_max);
    if (t != m_value) {
        m_value = t;
        emit Scroll();
    }
    DrawThumb(Pressed);
    DrawArrow(UpArrow, Normal);
    DrawArrow(DownArrow, Normal);
}

void ctlVScroll::PressBar(int y) {
    ++m_pressId;
    m_barHeld = true;
    m_pointerY = y;
    PageTowardPointer();
    StartRepeatAfterDelay(m_tmrLargeChange);
}

// One page toward the pointer while it is above or below the thumb.
void ctlVScroll::PageTowardPointer() {
    if (!m_barHeld) {
        m_tmrLargeChange.stop();
        return;
    }
    const int page = std::max(m_largeChange, 1);
    const int top = ThumbTop();
    int value = m_value;
    if (m_pointerY < top) {
        value = std::max(m_min, m_value - page);
    } else if (m_pointerY >= top + m_picThumb->height()) {
        value = std::min(m_max, m_value + page);
    }
    value = ClampedValue(value);
    if (value != m_value) {
        m_value = value;
        PlaceThumb();
        emit Scroll();
    }
}

void ctlVScroll::resizeEvent(QResizeEvent*) {
    Layout();
}

void ctlVScroll::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    switch (PartAt(at)) {
    case UpArrow:
        PressArrow(UpArrow);
        break;
    case DownArrow:
        PressArrow(DownArrow);
        break;
    case Thumb:
        PressThumb(Round(event->position().y()));
        break;
    case Bar:
        PressBar(at.y());
        break;
    default:
        break;
    }
}

void ctlVScroll::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint at = event->position().toPoint();
    if (m_dragging) {
        DragTo(Round(event->position().y()));
    } else if (m_barHeld) {
        m_pointerY = at.y();
    } else if (event->buttons() == Qt::NoButton) {
        Hover(PartAt(at));
    }
}

void ctlVScroll::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (m_dragging) {
        m_dragging = false;
        DrawThumb(Normal);
    }
    if (m_heldArrow != Nothing) {
        m_tmrMouseDown.stop();
        DrawArrow(m_heldArrow, Normal);
        m_heldArrow = Nothing;
    }
    if (m_barHeld) {
        m_barHeld = false;
        m_tmrLargeChange.stop();
    }
}

void ctlVScroll::ReadProperties(const PropertyBag& bag) {
    m_min = bag.ReadProperty(QStringLiteral("Min"), 0).toInt();
    m_max = bag.ReadProperty(QStringLiteral("Max"), 32767).toInt();
    m_value = ClampedValue(bag.ReadProperty(QStringLiteral("Value"), 0).toInt());
    m_smallChange = bag.ReadProperty(QStringLiteral("SmallChange"), 1).toInt();
    m_largeChange = bag.ReadProperty(QStringLiteral("LargeChange"), 1).toInt();
    m_maskColor =
        bag.ReadProperty(QStringLiteral("MaskColor"), quint32(ModColor::kMagenta)).toUInt();
    m_barPicture = bag.ReadProperty(QStringLiteral("BarPicture"), QImage()).value<QImage>();
    m_thumbPicture = bag.ReadProperty(QStringLiteral("ThumbPicture"), QImage()).value<QImage>();
    m_buttonPicture = bag.ReadProperty(QStringLiteral("ButtonPicture"), QImage()).value<QImage>();
    m_stretchedBar = QImage();
    CutCells();
    Layout();
}

void ctlVScroll::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Min"), m_min, 0);
    bag.WriteProperty(QStringLiteral("Max"), m_max, 32767);
    bag.WriteProperty(QStringLiteral("Value"), m_value, 0);
    bag.WriteProperty(QStringLiteral("SmallChange"), m_smallChange, 1);
    bag.WriteProperty(QStringLiteral("LargeChange"), m_largeChange, 1);
    bag.WriteProperty(QStringLiteral("MaskColor"), m_maskColor, quint32(ModColor::kMagenta));
    bag.WriteProperty(QStringLiteral("BarPicture"), m_barPicture, QImage());
    bag.WriteProperty(QStringLiteral("ThumbPicture"), m_thumbPicture, QImage());
    bag.WriteProperty(QStringLiteral("ButtonPicture"), m_buttonPicture, QImage());
}
