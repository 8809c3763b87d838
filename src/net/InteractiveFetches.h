#pragma once

#include "net/FetchWait.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>

class QWidget;
class frmFetchProgress;

// The fetches the user waits for (a link's search, the update check), and
// the one way to end them early. While one waits the cursor is busy and
// mouse and keyboard input is dropped, except for the progress window that
// shows after kProgressDelay and for widgets let through (the exit button).
// Escape, that window's cancel, or CancelAll (the program is ending) abort
// every waiting request at once; the fetches then return as cancelled.
// Unlike FetchWait's, input is dropped rather than held back: a click kept
// for the end of a 30 s wait would act on a window that has long changed.
class InteractiveFetches : public QObject, public FetchWait {
    Q_OBJECT
public:
    // Quick answers come and go without a window popping up.
    static constexpr std::chrono::milliseconds kProgressDelay{500};

    // The progress window belongs to `owner` (shown over it).
    explicit InteractiveFetches(QWidget* owner = nullptr, QObject* parent = nullptr);
    ~InteractiveFetches() override;

    void Wait(QEventLoop& loop, const QString& what, const std::function<void()>& abort) override;

    // Aborts every fetch that waits now; nothing when none does.
    void CancelAll();
    // `widget` and its children still take input while a fetch waits.
    void LetThrough(QWidget* widget);

    int Waiting() const { return int(m_aborts.size()); }
    // The progress window once it has been shown (for tests).
    frmFetchProgress* Progress() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BeginWaiting();
    void EndWaiting();
    void ShowProgress();
    bool TakesInput(const QWidget* widget) const;

    QPointer<QWidget> m_owner;
    QList<QPointer<QWidget>> m_letThrough;
    QPointer<frmFetchProgress> m_progress;
    QTimer m_progressDelay;
    // The innermost wait last: a hand-off's link can be searched while
    // another search waits.
    QList<const std::function<void()>*> m_aborts;
    QString m_what;
    bool m_windows = false;
};
