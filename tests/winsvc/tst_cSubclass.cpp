#include "winsvc/WindowNotifications.h"
#include "winsvc/cSubclass.h"
#include "winsvc/iSubclass.h"

#include <QApplication>
#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <QtTest>

namespace {

const QEvent::Type kPing = QEvent::Type(QEvent::User + 41);
const QEvent::Type kPong = QEvent::Type(QEvent::User + 42);

// An object with its own handling that logs what it saw.
class Window : public QObject {
public:
    QStringList* log = nullptr;
    bool accepts = true;
    bool event(QEvent* e) override {
        if (e->type() == kPing || e->type() == kPong) {
            log->append(QStringLiteral("own:%1").arg(int(e->type())));
            e->setAccepted(accepts);
            return true;
        }
        return QObject::event(e);
    }
};

// An owner whose callbacks log and act as scripted.
class Owner : public iSubclass {
public:
    explicit Owner(QStringList* log, QString name = QStringLiteral("cb"))
        : hook(this), m_log(log), m_name(std::move(name)) {}
    cSubclass hook;
    bool handleBefore = false;
    qint32 beforeReturn = 0;
    qint32 afterReturn = -1; // -1: leave lReturn alone
    std::function<void(QObject*)> onBefore;
    qint32 seenAfterReturn = -1;
    qintptr seenAfterParam = 0;
    void zSubclass_Proc(bool bBefore, bool& bHandled, qint32& lReturn, QObject* hWnd, int uMsg,
                        QEvent*, qintptr& lParam) override {
        m_log->append(
            QStringLiteral("%1:%2:%3").arg(m_name, bBefore ? "before" : "after").arg(uMsg));
        if (bBefore) {
            lParam = 77;
            if (handleBefore) {
                bHandled = true;
                lReturn = beforeReturn;
            }
            if (onBefore) {
                onBefore(hWnd);
            }
        } else {
            seenAfterReturn = lReturn;
            seenAfterParam = lParam;
            if (afterReturn >= 0) {
                lReturn = afterReturn;
            }
        }
    }

private:
    QStringList* m_log;
    QString m_name;
};

bool Send(QObject* target, QEvent::Type type) {
    QEvent e(type);
    QCoreApplication::sendEvent(target, &e);
    return e.isAccepted();
}

} // namespace

class tst_cSubclass : public QObject {
    Q_OBJECT
private slots:
    void callOrder_data();
    void callOrder();
    void handledBeforeSkipsOwnHandlingAndSetsResult();
    void afterCallSeesOwnResultAndMayChangeIt();
    void unlistedMessagesPassUntouched();
    void deleteMessageAndEveryMessageLists();
    void chainedOwnersNestLikeSubclassing();
    void reentrantCallbackComesBackThroughHook();
    void unsubclassFromCallbackIsSafe();
    void destroyedWindowFreesEntryAndEntriesAreReused();
    void unsubclassAllRemovesEveryHook();
    void windowNotificationsOfAWidget();
};

void tst_cSubclass::callOrder_data() {
    QTest::addColumn<int>("when");
    QTest::addColumn<QStringList>("expected");
    const QString p = QString::number(int(kPing));
    QTest::newRow("before") << int(cSubclass::Before) << QStringList{"cb:before:" + p, "own:" + p};
    QTest::newRow("after") << int(cSubclass::After) << QStringList{"own:" + p, "cb:after:" + p};
    QTest::newRow("both") << int(cSubclass::Both)
                          << QStringList{"cb:before:" + p, "own:" + p, "cb:after:" + p};
}

void tst_cSubclass::callOrder() {
    QFETCH(int, when);
    QFETCH(QStringList, expected);
    QStringList log;
    Window w;
    w.log = &log;
    Owner owner(&log);
    QVERIFY(owner.hook.SubclassWindow(&w));
    owner.hook.AddMessage(&w, kPing, cSubclass::When(when));
    owner.hook.AddMessage(&w, kPing, cSubclass::When(when)); // listed once only
    Send(&w, kPing);
    QCOMPARE(log, expected);
}

void tst_cSubclass::handledBeforeSkipsOwnHandlingAndSetsResult() {
    QStringList log;
    Window w;
    w.log = &log;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Both);
    owner.handleBefore = true;
    owner.beforeReturn = 0;
    QCOMPARE(Send(&w, kPing), false); // the callback's result, not the window's
    const QString p = QString::number(int(kPing));
    QCOMPARE(log, (QStringList{"cb:before:" + p, "cb:after:" + p}));
    QCOMPARE(owner.seenAfterParam, qintptr(77));
    owner.beforeReturn = 1;
    QCOMPARE(Send(&w, kPing), true);
}

void tst_cSubclass::afterCallSeesOwnResultAndMayChangeIt() {
    QStringList log;
    Window w;
    w.log = &log;
    w.accepts = false;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::After);
    QCOMPARE(Send(&w, kPing), false);
    QCOMPARE(owner.seenAfterReturn, 0);
    w.accepts = true;
    QCOMPARE(Send(&w, kPing), true);
    QCOMPARE(owner.seenAfterReturn, 1);
    owner.afterReturn = 0;
    QCOMPARE(Send(&w, kPing), false);
}

void tst_cSubclass::unlistedMessagesPassUntouched() {
    QStringList log;
    Window w;
    w.log = &log;
    w.accepts = false;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Both);
    QCOMPARE(Send(&w, kPong), false);
    QCOMPARE(log, QStringList{"own:" + QString::number(int(kPong))});
}

void tst_cSubclass::deleteMessageAndEveryMessageLists() {
    QStringList log;
    Window w;
    w.log = &log;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Both);
    owner.hook.DeleteMessage(&w, kPing, cSubclass::Before);
    QVERIFY(!owner.hook.Covers(&w, kPing, cSubclass::Before));
    QVERIFY(owner.hook.Covers(&w, kPing, cSubclass::After));

    owner.hook.AddMessage(&w, cSubclass::kAllMessages, cSubclass::Before);
    QVERIFY(owner.hook.Covers(&w, kPong, cSubclass::Before));
    QVERIFY(owner.hook.Covers(&w, QEvent::Resize, cSubclass::Before));
    owner.hook.DeleteMessage(&w, kPong, cSubclass::Before); // every-message stays every
    QVERIFY(owner.hook.Covers(&w, kPong, cSubclass::Before));
    owner.hook.DeleteMessage(&w, cSubclass::kAllMessages, cSubclass::Both);
    QVERIFY(!owner.hook.Covers(&w, kPong, cSubclass::Before));
    QVERIFY(!owner.hook.Covers(&w, kPing, cSubclass::After));

    log.clear();
    Send(&w, kPing);
    QCOMPARE(log, QStringList{"own:" + QString::number(int(kPing))});
}

void tst_cSubclass::chainedOwnersNestLikeSubclassing() {
    QStringList log;
    Window w;
    w.log = &log;
    Owner inner(&log, "inner");
    Owner outer(&log, "outer");
    inner.hook.SubclassWindow(&w);
    outer.hook.SubclassWindow(&w);
    inner.hook.AddMessage(&w, kPing, cSubclass::Both);
    outer.hook.AddMessage(&w, kPing, cSubclass::Both);
    Send(&w, kPing);
    const QString p = QString::number(int(kPing));
    QCOMPARE(log, (QStringList{"outer:before:" + p, "inner:before:" + p, "own:" + p,
                               "inner:after:" + p, "outer:after:" + p}));
    // The outer owner handling the message keeps it from the inner one too.
    log.clear();
    outer.handleBefore = true;
    Send(&w, kPing);
    QCOMPARE(log, (QStringList{"outer:before:" + p, "outer:after:" + p}));
}

void tst_cSubclass::reentrantCallbackComesBackThroughHook() {
    QStringList log;
    Window w;
    w.log = &log;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Both);
    owner.hook.AddMessage(&w, kPong, cSubclass::Both);
    owner.onBefore = [&](QObject* target) {
        if (log.size() == 1) { // only from the first callback
            Send(target, kPong);
        }
    };
    Send(&w, kPing);
    const QString p = QString::number(int(kPing));
    const QString q = QString::number(int(kPong));
    QCOMPARE(log, (QStringList{"cb:before:" + p, "cb:before:" + q, "own:" + q, "cb:after:" + q,
                               "own:" + p, "cb:after:" + p}));
}

void tst_cSubclass::unsubclassFromCallbackIsSafe() {
    QStringList log;
    Window w;
    w.log = &log;
    Owner owner(&log);
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Both);
    owner.onBefore = [&](QObject* target) { owner.hook.UnsubclassWindow(target); };
    Send(&w, kPing);
    const QString p = QString::number(int(kPing));
    QCOMPARE(log, (QStringList{"cb:before:" + p, "own:" + p}));
    log.clear();
    Send(&w, kPing);
    QCOMPARE(log, QStringList{"own:" + p});
    // Hooking again works with a fresh chain.
    owner.onBefore = nullptr;
    owner.hook.SubclassWindow(&w);
    owner.hook.AddMessage(&w, kPing, cSubclass::Before);
    log.clear();
    Send(&w, kPing);
    QCOMPARE(log, (QStringList{"cb:before:" + p, "own:" + p}));
}

void tst_cSubclass::destroyedWindowFreesEntryAndEntriesAreReused() {
    QStringList log;
    Owner owner(&log);
    auto* first = new Window;
    first->log = &log;
    Window second;
    second.log = &log;
    owner.hook.SubclassWindow(first);
    owner.hook.SubclassWindow(&second);
    owner.hook.SubclassWindow(&second); // no second entry for the same window
    QCOMPARE(owner.hook.EntryCount(), 2);
    delete first;
    Window third;
    third.log = &log;
    owner.hook.SubclassWindow(&third); // takes the freed entry
    QCOMPARE(owner.hook.EntryCount(), 2);
    owner.hook.AddMessage(&third, kPing, cSubclass::Before);
    Send(&third, kPing);
    QCOMPARE(log.first(), "cb:before:" + QString::number(int(kPing)));
}

void tst_cSubclass::unsubclassAllRemovesEveryHook() {
    QStringList log;
    Window a, b;
    a.log = b.log = &log;
    {
        Owner owner(&log);
        owner.hook.SubclassWindow(&a);
        owner.hook.SubclassWindow(&b);
        owner.hook.AddMessage(&a, kPing, cSubclass::Both);
        owner.hook.AddMessage(&b, kPing, cSubclass::Both);
        owner.hook.UnsubclassAll();
        QVERIFY(!owner.hook.IsSubclassed(&a));
        QVERIFY(!owner.hook.IsSubclassed(&b));
        owner.hook.SubclassWindow(&a);
        owner.hook.AddMessage(&a, kPing, cSubclass::Both);
    } // the owner's end unhooks what it still hooks
    Send(&a, kPing);
    Send(&b, kPing);
    const QString p = QString::number(int(kPing));
    QCOMPARE(log, (QStringList{"own:" + p, "own:" + p}));
}

void tst_cSubclass::windowNotificationsOfAWidget() {
    // A top-level window's move notification: the before call changes the
    // proposed rectangle, the window's own handling and the after call see it.
    struct Moved : QWidget {
        QRect seen;
        bool event(QEvent* e) override {
            if (e->type() == WindowNotifications::Moving) {
                seen = static_cast<WindowNotifications::MovingEvent*>(e)->rect();
            }
            return QWidget::event(e);
        }
    } window;
    struct Snapper : iSubclass {
        cSubclass hook{this};
        QRect after;
        void zSubclass_Proc(bool bBefore, bool&, qint32&, QObject*, int uMsg, QEvent* wParam,
                            qintptr&) override {
            QVERIFY(uMsg == WindowNotifications::Moving);
            auto* moving = static_cast<WindowNotifications::MovingEvent*>(wParam);
            if (bBefore) {
                moving->setRect(moving->rect().translated(5, 0));
            } else {
                after = moving->rect();
            }
        }
    } snapper;
    snapper.hook.SubclassWindow(&window);
    snapper.hook.AddMessage(&window, WindowNotifications::Moving, cSubclass::Both);
    WindowNotifications::MovingEvent moving(QRect(10, 10, 50, 40), QPoint(20, 20));
    QApplication::sendEvent(&window, &moving);
    QCOMPARE(window.seen, QRect(15, 10, 50, 40));
    QCOMPARE(snapper.after, QRect(15, 10, 50, 40));
    QCOMPARE(moving.rect(), QRect(15, 10, 50, 40));
}

QTEST_MAIN(tst_cSubclass)
#include "tst_cSubclass.moc"
