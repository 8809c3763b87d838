#include "net/InteractiveFetches.h"

#include "net/frmFetchProgress.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>

namespace {

// Input a user makes on purpose; hover and focus changes are left alone.
bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

InteractiveFetches::InteractiveFetches(QWidget* owner, QObject* parent)
    : QObject(parent), m_owner(owner) {
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(kProgressDelay);
    connect(&m_progressDelay, &QTimer::timeout, this, &InteractiveFetches::ShowProgress);
}

InteractiveFetches::~InteractiveFetches() {
    delete m_progress;
}

void InteractiveFetches::Wait(QEventLoop& loop, const QString& what,
                              const std::function<void()>& abort) {
    m_aborts.append(&abort);
    m_what = what;
    if (m_aborts.size() == 1)
        BeginWaiting();
    else if (m_progress)
        m_progress->SetWhat(what);
    // Every event, so that Escape and the cancel button are heard; the
    // filter drops the rest of the input.
    loop.exec(QEventLoop::AllEvents);
    m_aborts.removeOne(&abort);
    if (m_aborts.isEmpty())
        EndWaiting();
}

void InteractiveFetches::BeginWaiting() {
    m_windows = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (!m_windows)
        return;
    qApp->installEventFilter(this);
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    m_progressDelay.start();
}

void InteractiveFetches::EndWaiting() {
    m_progressDelay.stop();
    if (!m_windows)
        return;
    qApp->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
    if (m_progress)
        m_progress->hide();
}

void InteractiveFetches::ShowProgress() {
    if (m_aborts.isEmpty())
        return;
    if (!m_progress) {
        m_progress = new frmFetchProgress(m_owner);
        connect(m_progress, &QDialog::rejected, this, &InteractiveFetches::CancelAll);
    }
    m_progress->SetWhat(m_what);
    m_progress->show();
    m_progress->raise();
    m_progress->activateWindow();
}

void InteractiveFetches::CancelAll() {
    // Each abort quits its own loop; the waits unwind once this returns.
    const QList<const std::function<void()>*> aborts = m_aborts;
    for (const std::function<void()>* abort : aborts)
        (*abort)();
}

frmFetchProgress* InteractiveFetches::Progress() const {
    return m_progress;
}

void InteractiveFetches::LetThrough(QWidget* widget) {
    m_letThrough.append(widget);
}

bool InteractiveFetches::TakesInput(const QWidget* widget) const {
    if (m_progress && widget->window() == m_progress)
        return true;
    for (const QPointer<QWidget>& through : m_letThrough)
        if (through && (through == widget || through->isAncestorOf(widget)))
            return true;
    return false;
}

bool InteractiveFetches::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!IsUserInput(type))
        return false;
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CancelAll();
        return true;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    // A native window hands its input on to its widgets, where it is
    // judged; a shortcut goes to an action or shortcut object, and none
    // fires.
    if (!widget)
        return type == QEvent::Shortcut;
    if (TakesInput(widget))
        return false;
    // Taken as the widget's own key, so that no shortcut fires for it.
    if (type == QEvent::ShortcutOverride)
        event->accept();
    return true;
}
