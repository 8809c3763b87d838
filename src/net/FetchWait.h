#pragma once

#include <QString>

#include <functional>

class QEventLoop;

// How the caller of a blocking fetch waits for its reply. This one shows the
// busy cursor (in a program with windows) and runs the loop holding back
// mouse and keyboard input, which is acted on once the answer is in; it has
// no way to end the wait early. InteractiveFetches adds one.
class FetchWait {
public:
    virtual ~FetchWait() = default;

    // Runs `loop` until the fetch quits it (answer, failure or time-out).
    // `what` names the awaited answer for the user ("正在搜索..."). A wait
    // that ends the fetch early calls `abort`, which finishes the request at
    // once as cancelled and quits the loop.
    virtual void Wait(QEventLoop& loop, const QString& what, const std::function<void()>& abort);
};
