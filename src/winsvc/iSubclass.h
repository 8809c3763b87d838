#pragma once

#include <QtGlobal>

class QEvent;
class QObject;

// The owner side of the per-object message hook (cSubclass).
//
// zSubclass_Proc is called for every listed message of a hooked object:
// bBefore is true for the call before the object's own handling and false for
// the call after it. bHandled starts false; a before call that sets it keeps the
// message from the object's own handling. lReturn is the message result: 1 when
// the object's own handling accepted the event, 0 otherwise; both calls may
// change it, and it becomes the event's accepted flag. hWnd is the hooked
// object, uMsg the event type (QEvent::type(), custom types included), wParam
// the event itself (its data may be read and changed), and lParam a spare value,
// 0 on entry, that the before call may pass on to the after call.
class iSubclass {
public:
    virtual ~iSubclass() = default;
    virtual void zSubclass_Proc(bool bBefore, bool& bHandled, qint32& lReturn, QObject* hWnd,
                                int uMsg, QEvent* wParam, qintptr& lParam) = 0;
};
