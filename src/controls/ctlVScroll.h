#pragma once

#include "controls/CScrollTrack.h"
#include "controls/ModColor.h"
#include "winsvc/iLeaveTracked.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <stdexcept>

class LeaveTracking;
class PictureSurface;
class PropertyBag;
class clsWaitableTimer;

// A Value set outside Min..Max.
class ScrollValueError : public std::out_of_range {
public:
    ScrollValueError() : std::out_of_range("Invalid property value") {}
    static constexpr int kNumber = 380;
};

// The skinned vertical scroll bar of the list control.
//
// It is drawn from three pictures: ButtonPicture holds the arrows in three
// columns (normal, hot, pressed) by two rows (up arrow, down arrow);
// ThumbPicture the thumb in three columns; BarPicture is stretched behind
// everything. The bar is as wide as one arrow cell.
//
// The arrows step Value by one; held, they repeat every 50 ms after a first
// delay of 300 ms (a message-pumping wait, so the release is seen during it).
// A press on the bar outside the thumb pages by LargeChange toward the
// pointer, repeating while held. The thumb can be dragged. Each change made
// through the control raises Scroll; a host that sets Min, Max or Value moves
// the thumb only at the next Layout (or resize).
class ctlVScroll : public QWidget, public iLeaveTracked {
    Q_OBJECT
public:
    enum Part { UpArrow = 0, DownArrow = 1, Thumb = 2, Bar = 3, Nothing = -1 };
    enum State { Normal = 0, Hot = 1, Pressed = 2 };
    static constexpr int kRepeatDelay = 300;
    static constexpr int kRepeatInterval = 50;
    static constexpr int kPageInterval = 100;

    explicit ctlVScroll(QWidget* parent = nullptr, LeaveTracking* tracking = nullptr);
    ~ctlVScroll() override;

    int Min() const { return m_min; }
    void SetMin(int min);
    int Max() const { return m_max; }
    void SetMax(int max);
    int Value() const { return m_value; }
    // Throws ScrollValueError for a value outside Min..Max.
    void SetValue(int value);
    int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int change);
    int LargeChange() const { return m_largeChange; }
    void SetLargeChange(int change);
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 maskColor);

    QImage BarPicture() const { return m_barPicture; }
    void SetBarPicture(const QImage& picture);
    QImage ThumbPicture() const { return m_thumbPicture; }
    void SetThumbPicture(const QImage& picture);
    QImage ButtonPicture() const { return m_buttonPicture; }
    void SetButtonPicture(const QImage& picture);

    // Sizes the bar to its pictures and places every part from the value.
    void Layout();
    // Moves the thumb to the value after Min, Max or Value changed; the
    // pictures and the bar's size stay (cheaper than Layout, for a host
    // that changes the range once per added item).
    void PlaceThumb();
    void PreMouseLeave() override;

    // What the bar shows, for its host and its tests.
    CScrollTrack Track() const { return m_track; }
    int ThumbTop() const;
    int ArrowState(int index) const { return m_arrowState[index]; }
    int ThumbState() const { return m_thumbState; }
    int ActivePart() const { return m_activePart; }
    bool Dragging() const { return m_dragging; }
    bool Repeating() const { return m_tmrMouseDown.isActive() || m_tmrLargeChange.isActive(); }
    QWidget* ButtonUp() const;
    QWidget* ButtonDown() const;
    QWidget* ThumbSurface() const;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Scroll();
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int PartAt(QPoint at) const;
    void CutCells();
    void DrawArrow(int index, int state);
    void DrawThumb(int state);
    void DrawBar();
    void PlaceThumbAt(int top);
    void Hover(int part);
    void PressArrow(int index);
    void RepeatTick();
    void PressThumb(int y);
    void DragTo(int y);
    void PressBar(int y);
    void PageTowardPointer();
    void StartRepeatAfterDelay(QTimer& timer);
    int ClampedValue(int value) const;

    QPointer<LeaveTracking> m_tracking;
    std::unique_ptr<clsWaitableTimer> m_delay;
    int m_min = 0;
    int m_max = 32767;
    int m_value = 0;
    int m_smallChange = 1;
    int m_largeChange = 1;
    quint32 m_maskColor = ModColor::kMagenta;
    QImage m_barPicture;
    QImage m_thumbPicture;
    QImage m_buttonPicture;
    std::array<std::array<QImage, 3>, 2> m_arrowCells;
    std::array<QImage, 3> m_thumbCells;
    QImage m_stretchedBar;

    PictureSurface* m_imgBar;
    PictureSurface* m_picButtonUp;
    PictureSurface* m_picButtonDown;
    PictureSurface* m_picThumb;
    QTimer m_tmrMouseDown;
    QTimer m_tmrLargeChange;

    CScrollTrack m_track;
    bool m_inLayout = false;
    bool m_dragging = false;
    int m_activePart = UpArrow;
    int m_grabY = 0;
    int m_heldArrow = Nothing; // the arrow whose press is still held
    bool m_barHeld = false;
    int m_pointerY = 0;    // last pointer position while the bar is held
    quint64 m_pressId = 0; // tells a held press from a later one
    std::array<int, 2> m_arrowState{Normal, Normal};
    int m_thumbState = Normal;
};
