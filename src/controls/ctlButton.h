#pragma once

#include "controls/ModColor.h"
#include "winsvc/iLeaveTracked.h"

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>

class LeaveTracking;
class PropertyBag;

// The owner-drawn push button of the skinned windows.
//
// Its look comes from one strip of four equal frames side by side: normal,
// hot, pressed and disabled. The button takes one frame's size and is shaped
// to the pixels of the shown frame that differ from the mask colour, so only
// those pixels show and take the mouse. Each frame's shape is computed once
// and kept until the picture or the mask colour changes.
//
// Enabled is the button's own state, separate from QWidget's: a disabled
// button shows the disabled frame and raises no event but MouseLeave; mouse
// presses it does not handle are ignored, so they reach the window beneath.
class ctlButton : public QWidget, public iLeaveTracked {
    Q_OBJECT
public:
    enum State { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3 };

    explicit ctlButton(QWidget* parent = nullptr, LeaveTracking* tracking = nullptr);
    ~ctlButton() override;

    QImage Picture() const { return m_strip; }
    void SetPicture(const QImage& strip);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 maskColor);
    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);
    bool CanResize() const { return m_canResize; }
    void SetCanResize(bool canResize) { m_canResize = canResize; }

    int Hover() const { return m_hover; }
    // The frame on show (0..3), or -1 before anything was drawn.
    int ShownFrame() const { return m_shownFrame; }
    QSize FrameSize() const;
    // The non-mask pixels of a frame, in the button's coordinates.
    QRegion FrameMask(int frame);

    // Shows state k: 0 normal (the pressed frame while Selected), 1 hot,
    // 2 pressed, 3 disabled.
    void DrawState(int k);
    void Refresh() { update(); }
    void PreMouseLeave() override;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

signals:
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseLeave();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int FrameLeft(int frame) const;
    void ForgetShapes();
    int NormalState() const { return m_enabled ? Normal : Disabled; }

    QPointer<LeaveTracking> m_tracking;
    QImage m_strip;
    bool m_enabled = false;
    quint32 m_maskColor = ModColor::kMagenta;
    bool m_selected = false;
    bool m_canResize = false;
    int m_hover = 0;
    int m_shownFrame = -1;
    bool m_doubleClickPress = false;
    std::array<QRegion, 4> m_frameMasks;
    std::array<bool, 4> m_frameMaskKnown{};
};
