#pragma once

#include "controls/ModColor.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

class LeaveTracking;
class PictureSurface;
class PropertyBag;
class ctlButton;

// The skinned slider: seek bar and volume control.
//
// It is composed of the window's background picture under the slider (picBack),
// the bar (track), the fill between the start and the thumb, and the thumb, a
// ctlButton with its own four frames, always in front. Bar and fill are shaped
// to their non-mask pixels with the thumb's mask colour. Horizontal sliders
// start at the left, vertical ones at the bottom (the top end is Max).
//
// With L the track length less the thumb length and R = Max - Min, the thumb
// sits at L * (Value - Min) / R from the start. An empty range (Max == Min)
// keeps the thumb at the start and Value at Min.
class ctlProgress : public QWidget {
    Q_OBJECT
public:
    explicit ctlProgress(QWidget* parent = nullptr, LeaveTracking* tracking = nullptr);

    int Value() const { return m_value; }
    // Stores the value kept within Min..Max, places the thumb from the value as
    // requested (so a value out of range puts it beyond the track's end) and
    // raises Scroll.
    void SetValue(int value);
    int Max() const { return m_max; }
    void SetMax(int max) { m_max = max; }
    int Min() const { return m_min; }
    void SetMin(int min) { m_min = min; }
    bool Vertical() const { return m_vertical; }
    void SetVertical(bool vertical);
    bool CanTimer() const { return m_canTimer; }
    void SetCanTimer(bool canTimer) { m_canTimer = canTimer; }
    quint32 MaskColor() const;
    void SetMaskColor(quint32 maskColor);

    QImage PicBar() const { return m_picBar; }
    void SetPicBar(const QImage& picture);
    QImage PicFill() const { return m_picFill; }
    void SetPicFill(const QImage& picture);
    QImage picThumb() const { return m_picThumb; }
    void SetPicThumb(const QImage& strip);
    QImage picBack() const { return m_picBack; }
    void SetPicBack(const QImage& picture);

    // Lays the parts out from the pictures and the value; runs on every
    // resize and show, and whenever a picture, the mask colour or the
    // orientation is set.
    void Layout();
    int TrackLength() const;
    bool Dragging() const { return m_dragging; }

    ctlButton* Thumb() const { return m_thumb; }
    const PictureSurface* Bar() const { return m_bar; }
    const PictureSurface* Fill() const { return m_fill; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Scroll();
    void ThumbUp();
    void ThumbDown();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnThumbDown(int button, int shift, float x, float y);
    void OnThumbMove(int button, int shift, float x, float y);
    void OnThumbUp(int button, int shift, float x, float y);
    void DragAlong(int pointer, int grab);
    void TrackTo(QPoint pointer, bool press);

    int ThumbLength() const;
    int ThumbPos() const;
    void SetThumbPos(int pos);
    void PlaceThumbFor(int requested);
    int ValueAt(int pos) const;
    int Clamped(int value) const;
    void RedrawFill();

    int m_value = 0;
    int m_max = 100;
    int m_min = 0;
    bool m_vertical = false;
    bool m_canTimer = false;
    bool m_dragging = false;
    int m_grabX = 0;
    int m_grabY = 0;
    QImage m_picBar;
    QImage m_picFill;
    QImage m_picThumb;
    QImage m_picBack;
    QRegion m_barShape;
    QRegion m_fillShape; // of the whole fill picture
    PictureSurface* m_bar;
    PictureSurface* m_fill;
    ctlButton* m_thumb;
};
