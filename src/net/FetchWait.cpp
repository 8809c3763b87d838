#include "net/FetchWait.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>

void FetchWait::Wait(QEventLoop& loop, const QString&, const std::function<void()>&) {
    // Clicks made while the answer is awaited wait for it too; the busy
    // cursor says so instead of the program looking dead.
    const bool busyCursor = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (busyCursor)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (busyCursor)
        QGuiApplication::restoreOverrideCursor();
}
