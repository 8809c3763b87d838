// What the window manager is told about the program's windows, read back from
// a real X server (run under xvfb-run, see cmake/Melodeck.cmake): the playlist
// and video windows are transient for the player window and skip the taskbar,
// after their first show as after being hidden and shown again or full
// screen and back (Qt clears the owner link at every show); each window gives
// its minimum size; the start places the windows itself; activating one of
// them raises the three above another program's window.
#include "MenuRig.h"

#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "playback/frmPlayer.h"
#include "playlist/frmPlaylistWindow.h"

#include <QGuiApplication>
#include <QtTest>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_connection_t* Connection() {
    return qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        Connection(), xcb_intern_atom(Connection(), 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The 32-bit values of a window's property.
QList<quint32> Property(const QWidget& window, xcb_atom_t property) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(Connection(),
                               xcb_get_property(Connection(), 0, xcb_window_t(window.winId()),
                                                property, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                               nullptr);
    QList<quint32> values;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply));
        values = QList<quint32>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

// The top-level windows of the screen, bottom first.
QList<quint32> Stacking() {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
    xcb_query_tree_reply_t* reply =
        xcb_query_tree_reply(Connection(), xcb_query_tree(Connection(), root), nullptr);
    QList<quint32> windows;
    if (reply) {
        const xcb_window_t* children = xcb_query_tree_children(reply);
        windows = QList<quint32>(children, children + xcb_query_tree_children_length(reply));
    }
    std::free(reply);
    return windows;
}

// WM_SIZE_HINTS: flags, then x, y, width, height, min width, min height.
constexpr quint32 kUSPosition = 1;
constexpr quint32 kPMinSize = 1 << 4;

} // namespace

class tst_x11_OwnedWindows : public QObject {
    Q_OBJECT
private slots:
    void ownedWindowsTellTheManager_data();
    void ownedWindowsTellTheManager();
};

void tst_x11_OwnedWindows::ownedWindowsTellTheManager_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("then");
    for (const char* window : {"playlist", "video"})
        for (const char* then : {"first show", "hidden and shown"})
            QTest::addRow("%s, %s", window, then) << window << then;
    QTest::addRow("video, full screen and back") << "video"
                                                 << "full screen and back";
}

void tst_x11_OwnedWindows::ownedWindowsTellTheManager() {
    QFETCH(QString, window);
    QFETCH(QString, then);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through CTest, which starts one)");
    MenuRig rig;
    QVERIFY(rig.Start());
    frmPlayerWindow& player = rig.app->PlayerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    emit player.cmdEqualizer()->Click();
    frmPlayer* video = rig.app->ExistingVideoWindow();
    QWidget* w = window == "video" ? static_cast<QWidget*>(video) : &rig.app->PlaylistWindow();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    ctlButton* toggle = window == "video" ? player.cmdEqualizer() : player.cmdPlaylist();
    if (then == "hidden and shown") {
        emit toggle->Click();
        QTRY_VERIFY(!w->isVisible());
        emit toggle->Click();
    } else if (then == "full screen and back") {
        video->ToggleFullScreen();
        QTRY_VERIFY(QTest::qWaitForWindowExposed(video));
        video->ToggleFullScreen();
    } else if (then == "activated") {
        // Another program's window over the group ends below all three (no
        // manager here: the program's own raises).
        QWidget other;
        other.setGeometry(player.geometry().united(video->geometry()));
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTRY_COMPARE(Stacking().last(), quint32(other.winId()));
        w->activateWindow();
        const auto at = [](const QWidget* x) { return Stacking().indexOf(quint32(x->winId())); };
        QTRY_COMPARE(Stacking().last(), quint32(w->winId()));
        QVERIFY(at(&other) < at(&player));
        QVERIFY(at(&player) < at(video));
    }
    QVERIFY(QTest::qWaitForWindowExposed(w));

    const QList<quint32> owner{quint32(player.winId())};
    QTRY_COMPARE(Property(*w, XCB_ATOM_WM_TRANSIENT_FOR), owner);
    QVERIFY(Property(*w, Atom("_NET_WM_STATE")).contains(Atom("_NET_WM_STATE_SKIP_TASKBAR")));
    QVERIFY(Property(player, XCB_ATOM_WM_TRANSIENT_FOR).isEmpty());
    for (const QWidget* each : {static_cast<QWidget*>(&player), w}) {
        const QList<quint32> hints = Property(*each, XCB_ATOM_WM_NORMAL_HINTS);
        QVERIFY(hints.size() >= 7);
        QVERIFY(hints[0] & kPMinSize);
        QCOMPARE(QSize(int(hints[5]), int(hints[6])), each->minimumSize());
        if (each == &player)
            QVERIFY2(hints[0] & kUSPosition, "the start places the player window itself");
    }
}

QTEST_MAIN(tst_x11_OwnedWindows)
#include "tst_x11_OwnedWindows.moc"
