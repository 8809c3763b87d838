#pragma once

#include <QEvent>
#include <QPoint>
#include <QRect>

// Notifications of a window's move/size loop and of its window commands.
//
// WindowDragger sends them to the top-level window it moves or sizes; the
// magnetic window manager hooks them (through the per-object message hook) to
// snap and glue windows. Their event types are fixed numbers: QEvent::User plus
// the number of the matching message of the old window system, so that they
// read the same in every part of the program and in a debugger. The numbers
// QEvent::User + 0x0100 ... QEvent::User + 0x02FF are reserved for them;
// QEvent::registerEventType hands out numbers from QEvent::MaxUser downwards and
// never reaches this range.
//
// Rectangles are window geometries (QWidget::geometry of a frameless top-level
// window) in global pixels; cursor positions are global pixels.
namespace WindowNotifications {

inline constexpr QEvent::Type EnterSizeMove = QEvent::Type(QEvent::User + 0x0231);
inline constexpr QEvent::Type ExitSizeMove = QEvent::Type(QEvent::User + 0x0232);
inline constexpr QEvent::Type Sizing = QEvent::Type(QEvent::User + 0x0214);
inline constexpr QEvent::Type Moving = QEvent::Type(QEvent::User + 0x0216);
inline constexpr QEvent::Type SysCommand = QEvent::Type(QEvent::User + 0x0112);
inline constexpr QEvent::Type Command = QEvent::Type(QEvent::User + 0x0111);

// Window commands carried by SysCommandEvent.
inline constexpr int SC_MINIMIZE = 0xF020;
inline constexpr int SC_MAXIMIZE = 0xF030;
inline constexpr int SC_RESTORE = 0xF120;

// The edge or corner being dragged in a size loop.
enum class SizeEdge {
    Left = 1,
    Right = 2,
    Top = 3,
    TopLeft = 4,
    TopRight = 5,
    Bottom = 6,
    BottomLeft = 7,
    BottomRight = 8
};

// Sent once when a move or size loop begins, before any Moving or Sizing.
class EnterSizeMoveEvent : public QEvent {
public:
    explicit EnterSizeMoveEvent(QPoint cursor) : QEvent(EnterSizeMove), m_cursor(cursor) {}
    QPoint cursorPos() const { return m_cursor; }

private:
    QPoint m_cursor;
};

// Sent once when the loop ends (button released or tracking lost).
class ExitSizeMoveEvent : public QEvent {
public:
    ExitSizeMoveEvent() : QEvent(ExitSizeMove) {}
};

// Sent for every pointer movement of a move loop. `rect` is the proposed new
// geometry; a receiver may replace it, and the loop applies what it holds after
// delivery.
class MovingEvent : public QEvent {
public:
    MovingEvent(const QRect& proposed, QPoint cursor)
        : QEvent(Moving), m_rect(proposed), m_cursor(cursor) {}
    QRect rect() const { return m_rect; }
    void setRect(const QRect& rect) { m_rect = rect; }
    QPoint cursorPos() const { return m_cursor; }

private:
    QRect m_rect;
    QPoint m_cursor;
};

// Sent for every pointer movement of a size loop: the edge being dragged and
// the proposed geometry, which a receiver may replace.
class SizingEvent : public QEvent {
public:
    SizingEvent(SizeEdge edge, const QRect& proposed, QPoint cursor)
        : QEvent(Sizing), m_edge(edge), m_rect(proposed), m_cursor(cursor) {}
    SizeEdge edge() const { return m_edge; }
    QRect rect() const { return m_rect; }
    void setRect(const QRect& rect) { m_rect = rect; }
    QPoint cursorPos() const { return m_cursor; }

private:
    SizeEdge m_edge;
    QRect m_rect;
    QPoint m_cursor;
};

// A window command such as SC_MINIMIZE or SC_RESTORE, sent by the window's
// own caption buttons before it acts on the command.
class SysCommandEvent : public QEvent {
public:
    explicit SysCommandEvent(int command) : QEvent(SysCommand), m_command(command) {}
    int command() const { return m_command; }

private:
    int m_command;
};

// A command of one of the window's controls or menus (its identifier).
class CommandEvent : public QEvent {
public:
    explicit CommandEvent(int id) : QEvent(Command), m_id(id) {}
    int id() const { return m_id; }

private:
    int m_id;
};

} // namespace WindowNotifications
