#pragma once

#include "winsvc/WindowNotifications.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QMouseEvent;
class QWidget;

// The move and size loop of a frameless top-level window.
//
// A left-button press on the window's body (the window itself, a press a child
// leaves unhandled, or a child added with AddMoveHandle) starts a move: the
// window follows the pointer. A press on a grip added with AddSizeGrip starts a
// size loop that drags that grip's edge or corner. The loop sends the window
// EnterSizeMoveEvent, then a MovingEvent or SizingEvent with the proposed
// geometry for every pointer movement (receivers, such as the magnetic window
// manager, may change it; the loop applies what the event holds afterwards),
// then ExitSizeMoveEvent when the button is released, or when a movement
// arrives without the button held (the release was lost).
//
// All arithmetic uses global pointer positions, so the window moving under the
// pointer does not disturb it.
class WindowDragger : public QObject {
    Q_OBJECT
public:
    explicit WindowDragger(QWidget* window);
    ~WindowDragger() override;

    QWidget* Window() const { return m_window; }

    // Presses on `handle` (a child of the window) move the window.
    void AddMoveHandle(QWidget* handle);
    // Presses on `grip` (a child of the window) size the window by `edge`.
    void
    AddSizeGrip(QWidget* grip,
                WindowNotifications::SizeEdge edge = WindowNotifications::SizeEdge::BottomRight);
    void RemoveHandle(QWidget* handle);

    bool IsTracking() const { return m_mode != Mode::None; }

    // The loop driven directly, for callers that see the pointer themselves.
    void BeginMove(QPoint globalCursor);
    void BeginSize(QPoint globalCursor, WindowNotifications::SizeEdge edge);
    void TrackTo(QPoint globalCursor);
    void End();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { None, Move, Size };

    void Begin(Mode mode, QPoint globalCursor, WindowNotifications::SizeEdge edge);
    bool OnPress(QObject* watched, QMouseEvent* event);
    bool OnTrackingEvent(QEvent* event);
    QRect ProposedSize(QPoint globalCursor) const;
    QRect ProposedMove(QPoint globalCursor) const;

    QWidget* m_window;
    QHash<QObject*, WindowNotifications::SizeEdge> m_grips;
    QList<QPointer<QWidget>> m_moveHandles;
    Mode m_mode = Mode::None;
    WindowNotifications::SizeEdge m_edge = WindowNotifications::SizeEdge::BottomRight;
    QPoint m_startCursor;
    QRect m_startRect;
};
