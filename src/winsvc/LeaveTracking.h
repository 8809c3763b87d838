#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class iLeaveTracked;

// Program-wide leave tracking shared by every hover-tracking control.
//
// A control hooks its display surfaces once (HookLeaveTracking). On the first
// pointer move over a surface it arms tracking for that surface (Arm) unless
// tracking is already armed; when Qt reports that the pointer has left the armed
// surface, the armed flag is cleared and the tracked control's PreMouseLeave is
// called. The tracked control stays recorded after the leave. Leave events of
// hooked surfaces always continue to the surface's own handling.
//
// One instance serves the whole program (ForApplication); tests may make their
// own and hand it to the controls.
class LeaveTracking : public QObject {
    Q_OBJECT
public:
    explicit LeaveTracking(QObject* parent = nullptr);

    // The instance owned by the running application, made on first use.
    static LeaveTracking* ForApplication();

    void HookLeaveTracking(QWidget* surface);
    void UnhookLeaveTracking(QWidget* surface);
    bool IsHooked(const QWidget* surface) const;

    // Asks for a leave notification on `surface` for `control`. Does nothing
    // while tracking is already armed, as only one notification is pending at a
    // time. Returns true when this call armed tracking.
    bool Arm(iLeaveTracked* control, QWidget* surface);

    // Drops every reference to a control that is going away.
    void Forget(iLeaveTracked* control);

    qint16 LeaveTrackingArmed() const { return m_armed; }
    iLeaveTracked* TrackedControl() const { return m_tracked; }
    QWidget* ArmedSurface() const { return m_armedSurface; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Disarm();

    qint16 m_armed = 0;
    iLeaveTracked* m_tracked = nullptr;
    QPointer<QWidget> m_armedSurface;
    QList<QPointer<QWidget>> m_hooked;
};
