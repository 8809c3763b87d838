#include "winsvc/MagneticLayout.h"

#include <QtTest>

using WindowNotifications::SizeEdge;

namespace {

WndRect R(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}

// One registered window of a scenario.
struct Win {
    MagneticLayout::Key key;
    MagneticLayout::Key parent;
    WndRect rect;
};
using Wins = QList<Win>;

const WndRect kWorkArea = R(0, 0, 1000, 800);

// A layout holding `wins` in order, with the work area as rectangle 0 and the
// glue computed.
void Build(MagneticLayout& layout, const Wins& wins) {
    for (const Win& w : wins) {
        QVERIFY(layout.Add(w.key, w.parent));
    }
    layout.SetRect(0, kWorkArea);
    for (const Win& w : wins) {
        layout.SetRect(layout.IndexOf(w.key), w.rect);
    }
    layout.UpdateGlue();
}

} // namespace

Q_DECLARE_METATYPE(WndRect)

namespace QTest {
template <> char* toString(const WndRect& r) {
    return qstrdup(qPrintable(
        QStringLiteral("(%1,%2,%3,%4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom)));
}
} // namespace QTest
Q_DECLARE_METATYPE(Wins)
Q_DECLARE_METATYPE(SizeEdge)

class tst_MagneticLayout : public QObject {
    Q_OBJECT
private slots:
    void touching_data();
    void touching();
    void glue_data();
    void glue();
    void addAndRemove();
    void sizing_data();
    void sizing();
    void moving_data();
    void moving();
    void movingCarriesGluedWindows();
};

void tst_MagneticLayout::touching_data() {
    QTest::addColumn<WndRect>("a");
    QTest::addColumn<WndRect>("b");
    QTest::addColumn<bool>("touching");
    QTest::newRow("side by side") << R(0, 0, 100, 50) << R(100, 10, 200, 60) << true;
    QTest::newRow("stacked") << R(0, 0, 100, 50) << R(0, 50, 100, 90) << true;
    QTest::newRow("stacked, shifted") << R(0, 0, 100, 50) << R(40, 50, 180, 90) << true;
    QTest::newRow("one pixel gap") << R(0, 0, 100, 50) << R(101, 0, 200, 50) << false;
    QTest::newRow("overlap, no shared edge") << R(0, 0, 100, 50) << R(20, 10, 80, 40) << false;
    QTest::newRow("overlap, shared left") << R(0, 0, 100, 50) << R(0, 10, 80, 40) << true;
    QTest::newRow("corners meet") << R(0, 0, 100, 50) << R(100, 50, 150, 90) << true;
    QTest::newRow("same left, far below") << R(0, 0, 100, 50) << R(0, 60, 100, 90) << false;
    QTest::newRow("same top, far right") << R(0, 0, 100, 50) << R(120, 0, 200, 50) << false;
}

void tst_MagneticLayout::touching() {
    QFETCH(WndRect, a);
    QFETCH(WndRect, b);
    QFETCH(bool, touching);
    QCOMPARE(MagneticLayout::Touching(a, b), touching);
    QCOMPARE(MagneticLayout::Touching(b, a), touching);
}

void tst_MagneticLayout::glue_data() {
    QTest::addColumn<Wins>("wins");
    QTest::addColumn<QList<bool>>("glued");
    const WndRect player = R(100, 100, 375, 216);
    QTest::newRow("child against parent's bottom")
        << Wins{{1, 0, player}, {2, 1, R(100, 216, 375, 400)}} << QList<bool>{false, true};
    QTest::newRow("child apart") << Wins{{1, 0, player}, {2, 1, R(100, 220, 375, 400)}}
                                 << QList<bool>{false, false};
    QTest::newRow("overlapping child without shared edge")
        << Wins{{1, 0, player}, {2, 1, R(120, 110, 300, 200)}} << QList<bool>{false, false};
    QTest::newRow("sibling touching a glued child")
        << Wins{{1, 0, player}, {2, 1, R(100, 216, 375, 400)}, {3, 1, R(375, 300, 500, 400)}}
        << QList<bool>{false, true, true};
    // Registered far end first, so the glue needs several rounds to arrive.
    QTest::newRow("chain registered backwards") << Wins{{4, 1, R(100, 600, 375, 700)},
                                                        {3, 1, R(100, 500, 375, 600)},
                                                        {2, 1, R(100, 216, 375, 500)},
                                                        {1, 0, player}}
                                                << QList<bool>{true, true, true, false};
    QTest::newRow("neighbour with another parent")
        << Wins{{1, 0, player}, {2, 1, R(100, 216, 375, 400)}, {3, 9, R(375, 300, 500, 400)}}
        << QList<bool>{false, true, false};
    QTest::newRow("parentless neighbours")
        << Wins{{1, 0, player}, {2, 0, R(100, 216, 375, 400)}} << QList<bool>{false, false};
    // The work area is no window: a child whose parent is not registered is
    // never glued, even lying against the screen's edge.
    QTest::newRow("unregistered parent, against the work area")
        << Wins{{2, 7, R(0, 0, 200, 100)}} << QList<bool>{false};
}

void tst_MagneticLayout::glue() {
    QFETCH(Wins, wins);
    QFETCH(QList<bool>, glued);
    MagneticLayout layout;
    Build(layout, wins);
    for (int i = 0; i < wins.size(); ++i) {
        QVERIFY2(layout.IsGlued(wins.at(i).key) == glued.at(i), qPrintable(QString::number(i)));
    }
}

void tst_MagneticLayout::addAndRemove() {
    MagneticLayout layout;
    Build(layout, {{1, 0, R(100, 100, 375, 216)},
                   {2, 1, R(100, 216, 375, 400)},
                   {3, 2, R(375, 216, 500, 300)}});
    QVERIFY(!layout.Add(2, 0)); // already there: nothing changes
    QCOMPARE(layout.Count(), 3);
    QCOMPARE(layout.WindowAt(2).parent, MagneticLayout::Key(1));
    QVERIFY(!layout.Remove(42));

    QVERIFY(layout.Remove(1));
    QCOMPARE(layout.Count(), 2);
    QCOMPARE(layout.IndexOf(2), 1);
    QCOMPARE(layout.RectAt(1), R(100, 216, 375, 400)); // rectangles moved down with windows
    QCOMPARE(layout.WindowAt(1).parent, MagneticLayout::Key(0));
    QCOMPARE(layout.WindowAt(2).parent, MagneticLayout::Key(2)); // not a child of the removed one
    layout.UpdateGlue();
    QVERIFY(!layout.IsGlued(2));
    QVERIFY(layout.IsGlued(3)); // its own parent is still there and touches it
}

void tst_MagneticLayout::sizing_data() {
    QTest::addColumn<SizeEdge>("edge");
    QTest::addColumn<WndRect>("proposed");
    QTest::addColumn<WndRect>("expected");
    // The sized window starts at (100,100,300,200); another window lies at
    // (400,100,600,300); the work area is (0,0,1000,800).
    QTest::newRow("right edge 9 px from a left edge snaps")
        << SizeEdge::BottomRight << R(100, 100, 391, 250) << R(100, 100, 400, 250);
    QTest::newRow("right edge 10 px away stays")
        << SizeEdge::BottomRight << R(100, 100, 390, 250) << R(100, 100, 390, 250);
    QTest::newRow("right edge past the left edge snaps back")
        << SizeEdge::Right << R(100, 100, 405, 200) << R(100, 100, 400, 200);
    QTest::newRow("right edge to the other's right")
        << SizeEdge::BottomRight << R(100, 100, 595, 250) << R(100, 100, 600, 250);
    QTest::newRow("right and bottom edges to the other window")
        << SizeEdge::BottomRight << R(100, 100, 395, 296) << R(100, 100, 400, 300);
    QTest::newRow("bottom edge to the work area")
        << SizeEdge::Bottom << R(100, 100, 300, 792) << R(100, 100, 300, 800);
    QTest::newRow("right-only sizing leaves the bottom alone")
        << SizeEdge::Right << R(100, 100, 395, 296) << R(100, 100, 400, 296);
    QTest::newRow("left edge to the work area")
        << SizeEdge::Left << R(7, 100, 300, 200) << R(0, 100, 300, 200);
    QTest::newRow("top edge to the work area")
        << SizeEdge::TopLeft << R(100, 5, 300, 200) << R(100, 0, 300, 200);
    QTest::newRow("no vertical overlap, no horizontal snap")
        << SizeEdge::BottomRight << R(100, 400, 395, 450) << R(100, 400, 395, 450);
}

void tst_MagneticLayout::sizing() {
    QFETCH(SizeEdge, edge);
    QFETCH(WndRect, proposed);
    QFETCH(WndRect, expected);
    MagneticLayout layout;
    Build(layout, {{1, 0, R(100, 100, 300, 200)}, {2, 0, R(400, 100, 600, 300)}});
    QCOMPARE(layout.Sizing(1, edge, proposed), expected);
}

void tst_MagneticLayout::moving_data() {
    QTest::addColumn<Wins>("wins");
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<WndRect>("expected");
    // Window 1 starts at (200,200,400,300) and is grabbed at (250,220).
    const Win moved{1, 0, R(200, 200, 400, 300)};
    const Win right{2, 0, R(500, 150, 700, 350)};
    QTest::newRow("free move follows the cursor")
        << Wins{moved, right} << QPoint(30, -40) << R(230, 160, 430, 260);
    QTest::newRow("right edge 9 px from a left edge snaps")
        << Wins{moved, right} << QPoint(91, 0) << R(300, 200, 500, 300);
    QTest::newRow("right edge 10 px away stays")
        << Wins{moved, right} << QPoint(90, 0) << R(290, 200, 490, 300);
    QTest::newRow("left edge 9 px from a right edge snaps")
        << Wins{moved, {2, 0, R(0, 200, 150, 300)}} << QPoint(-41, 0) << R(150, 200, 350, 300);
    QTest::newRow("no vertical overlap, no snap")
        << Wins{moved, {2, 0, R(500, 500, 700, 600)}} << QPoint(95, 0) << R(295, 200, 495, 300);
    QTest::newRow("left work-area edge") << Wins{moved} << QPoint(-195, 0) << R(0, 200, 200, 300);
    QTest::newRow("bottom work-area edge")
        << Wins{moved} << QPoint(0, 495) << R(200, 700, 400, 800);
    QTest::newRow("both axes snap")
        << Wins{moved, right} << QPoint(95, -47) << R(300, 150, 500, 250);
    // A glued child right under the window must not hold it back.
    QTest::newRow("glued child does not attract")
        << Wins{moved, {2, 1, R(200, 300, 400, 400)}} << QPoint(3, 4) << R(203, 204, 403, 304);
    // The same window unglued (a sibling of another parent) does attract.
    QTest::newRow("unglued neighbour attracts")
        << Wins{moved, {2, 0, R(200, 300, 400, 400)}} << QPoint(3, 4) << R(200, 200, 400, 300);
    // The glued child's own edges snap the whole group.
    QTest::newRow("glued child snaps the group")
        << Wins{moved, {2, 1, R(200, 300, 400, 400)}, {3, 0, R(100, 350, 150, 600)}}
        << QPoint(-47, 0) << R(150, 200, 350, 300);
    QTest::newRow("later rectangle overrides")
        << Wins{moved, {2, 0, R(500, 150, 700, 350)}, {3, 0, R(495, 100, 600, 400)}}
        << QPoint(93, 0) << R(295, 200, 495, 300);
}

void tst_MagneticLayout::moving() {
    QFETCH(Wins, wins);
    QFETCH(QPoint, travel);
    QFETCH(WndRect, expected);
    MagneticLayout layout;
    Build(layout, wins);
    const QPoint grab(250, 220);
    layout.BeginDrag(1, grab);
    // The proposal's own position is not used; only its size.
    const WndRect proposed = R(-500, -500, -300, -400);
    QCOMPARE(layout.Moving(1, grab + travel, proposed).rect, expected);
}

void tst_MagneticLayout::movingCarriesGluedWindows() {
    MagneticLayout layout;
    Build(layout, {{1, 0, R(200, 200, 400, 300)},
                   {2, 1, R(200, 300, 400, 400)},
                   {3, 1, R(400, 300, 450, 350)},
                   {4, 1, R(700, 700, 750, 750)},
                   {5, 2, R(200, 400, 400, 450)}});
    QVERIFY(layout.IsGlued(2));
    QVERIFY(layout.IsGlued(3));
    QVERIFY(!layout.IsGlued(4));
    QVERIFY(layout.IsGlued(5)); // glued, but to window 2: it does not follow window 1

    layout.BeginDrag(1, QPoint(300, 250));
    layout.Moving(1, QPoint(310, 260), R(0, 0, 200, 100));
    const MagneticLayout::MoveResult result = layout.Moving(1, QPoint(320, 230), R(0, 0, 200, 100));
    QCOMPARE(result.rect, R(220, 180, 420, 280));
    QCOMPARE(result.glued.size(), 2);
    QCOMPARE(result.glued.at(0).key, MagneticLayout::Key(2));
    QCOMPARE(result.glued.at(0).rect, R(220, 280, 420, 380));
    QCOMPARE(result.glued.at(1).key, MagneticLayout::Key(3));
    QCOMPARE(result.glued.at(1).rect, R(420, 280, 470, 330));
}

QTEST_APPLESS_MAIN(tst_MagneticLayout)
#include "tst_magneticlayout.moc"
