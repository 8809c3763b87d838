#include "TestPictures.h"

#include "controls/ctlToolbar.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

namespace TP = TestPictures;

namespace {

constexpr int kCellW = 10;
constexpr int kCellH = 8;
constexpr QPoint kToolbarAt(6, 4);

QRgb CellColour(int i, bool hot) {
    return hot ? qRgb(250, 20 * i, 60) : qRgb(20 * i, 100, 200);
}

// Seven cells, each of its own colour with a gradient so a one-pixel shift
// shows; the top-left pixel of each cell is cut out.
QImage Strip(bool hot) {
    QImage strip(7 * kCellW, kCellH, QImage::Format_RGB32);
    for (int i = 0; i < 7; ++i)
        for (int y = 0; y < kCellH; ++y)
            for (int x = 0; x < kCellW; ++x) {
                const QRgb c = CellColour(i, hot);
                strip.setPixel(i * kCellW + x, y,
                               x == 0 && y == 0 ? TP::kMask
                                                : qRgb(qRed(c), qGreen(c) + x, qBlue(c) - 5 * y));
            }
    return strip;
}

QImage Back() {
    QImage back(120, 40, QImage::Format_RGB32);
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            back.setPixel(x, y, qRgb(x, 2 * y, 77));
    return back;
}

struct Host {
    QWidget window{nullptr, Qt::FramelessWindowHint};
    ctlToolbar* toolbar = new ctlToolbar(&window);

    explicit Host(bool withHot) {
        window.resize(120, 40);
        toolbar->move(kToolbarAt);
        toolbar->SetPicDefault(Strip(false));
        toolbar->SetPicHot(withHot ? Strip(true) : QImage());
        toolbar->SetPicBackImg(Back());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Start with the pointer beside the toolbar, so the first move onto
        // it is a move even where the last test left the pointer.
        TP::Move(toolbar, QPoint(-3, 20));
    }
    // A point on button i's own pixels.
    QPoint On(int i) const { return QPoint(i * kCellW + 4, 4); }
};

// What button i must show: its cell of the normal or hot strip, or without a
// hot strip the normal cell moved one pixel up and left, the uncovered last
// row and column cut out.
QImage Expected(int i, bool hot, bool withHot) {
    const QImage normal = Strip(false).copy(i * kCellW, 0, kCellW, kCellH);
    if (!hot)
        return normal;
    if (withHot)
        return Strip(true).copy(i * kCellW, 0, kCellW, kCellH);
    QImage shifted(kCellW, kCellH, QImage::Format_RGB32);
    shifted.fill(TP::kMask);
    for (int y = 0; y + 1 < kCellH; ++y)
        for (int x = 0; x + 1 < kCellW; ++x)
            shifted.setPixel(x, y, normal.pixel(x + 1, y + 1));
    return shifted;
}

void CheckButtons(ctlToolbar* toolbar, int hotButton, bool withHot) {
    for (int i = 0; i < 7; ++i) {
        const QImage expected = Expected(i, i == hotButton, withHot);
        QVERIFY2(toolbar->ButtonPicture(i).convertToFormat(QImage::Format_RGB32) == expected,
                 qPrintable(QStringLiteral("button %1, hot %2").arg(i).arg(hotButton)));
        QVERIFY(TP::SameRegion(toolbar->ButtonShape(i), TP::NaiveRegion(expected, TP::kMask)));
    }
}

} // namespace

class tst_ctlToolbar : public QObject {
    Q_OBJECT
private slots:
    void hoverDrawsOneButtonHot_data();
    void hoverDrawsOneButtonHot();
    void leavingRestoresNormal();
    void pressOpensTheButtonsMenu_data();
    void pressOpensTheButtonsMenu();
    void menusHoldTheCommandsDisabled();
    void backgroundIsTheWindowPictureUnderIt();
    void hitTestIsStrictInsideACell_data();
    void hitTestIsStrictInsideACell();
};

void tst_ctlToolbar::hoverDrawsOneButtonHot_data() {
    QTest::addColumn<bool>("withHot");
    QTest::addColumn<QList<int>>("path");
    for (bool withHot : {true, false}) {
        const char* strip = withHot ? "hot strip" : "shifted";
        QTest::addRow("%s, first", strip) << withHot << QList<int>{0};
        QTest::addRow("%s, across", strip) << withHot << QList<int>{0, 3, 6};
        QTest::addRow("%s, back", strip) << withHot << QList<int>{5, 2};
    }
}

void tst_ctlToolbar::hoverDrawsOneButtonHot() {
    QFETCH(bool, withHot);
    QFETCH(QList<int>, path);
    Host host(withHot);
    CheckButtons(host.toolbar, -1, withHot);
    for (int button : path) {
        TP::Move(host.toolbar, host.On(button));
        QCOMPARE(host.toolbar->CurrentIndex(), button);
        CheckButtons(host.toolbar, button, withHot);
    }
    QVERIFY(host.toolbar->IsHoverTimerActive());
}

void tst_ctlToolbar::leavingRestoresNormal() {
    Host host(true);
    QSignalSpy left(host.toolbar, &ctlToolbar::MouseLeave);
    QCursor::setPos(host.toolbar->mapToGlobal(host.On(4)));
    TP::Move(host.toolbar, host.On(4));
    CheckButtons(host.toolbar, 4, true);
    // Still over the toolbar: the timer keeps the button lit.
    QTest::qWait(3 * ctlToolbar::kHoverInterval);
    QCOMPARE(left.count(), 0);
    CheckButtons(host.toolbar, 4, true);

    QCursor::setPos(host.toolbar->mapToGlobal(QPoint(-30, -30)));
    QTRY_COMPARE(left.count(), 1);
    QVERIFY(!host.toolbar->IsHoverTimerActive());
    CheckButtons(host.toolbar, -1, true);
}

void tst_ctlToolbar::pressOpensTheButtonsMenu_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("menu");
    QTest::newRow("add") << 0 << "Insert";
    QTest::newRow("delete") << 1 << "Delete";
    QTest::newRow("list") << 2 << "List";
    for (int i = 3; i < 7; ++i)
        QTest::addRow("button %d", i) << i << QString();
}

void tst_ctlToolbar::pressOpensTheButtonsMenu() {
    QFETCH(int, button);
    QFETCH(QString, menu);
    Host host(true);
    QSignalSpy clicks(host.toolbar, &ctlToolbar::Click);
    TP::Move(host.toolbar, host.On(button));
    CheckButtons(host.toolbar, button, true); // every button lights up
    TP::Press(host.toolbar, host.On(button));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(host.toolbar->CurrentIndex(), button);
    QMenu* open = host.toolbar->OpenMenu();
    if (menu.isEmpty()) {
        QVERIFY(!open);
        return;
    }
    QVERIFY(open);
    QCOMPARE(open->objectName(), menu);
    // Just under the button, left-aligned with it.
    const QRect r = host.toolbar->ButtonRect(button);
    QCOMPARE(open->pos(), host.toolbar->mapToGlobal(QPoint(r.left(), r.bottom() + 1)));
    CheckButtons(host.toolbar, -1, true); // the pressed button is drawn normal
    open->hide();
}

void tst_ctlToolbar::menusHoldTheCommandsDisabled() {
    ctlToolbar toolbar;
    const QList<QStringList> expected = {
        {"文件(&F)...", "文件夹(&P)...", "本地搜索(&S)...", "[推荐]网上搜索(&O)...", "-",
         "Melodeck音乐(&N)", "添加&Url"},
        {"选中的文件(&S)", "重复的文件(&D)", "错误的文件(&I)", "-", "全部删除(&A)"},
        {"新建列表(&N)", "添加列表(&A)", "导出列表(&E)...", "删除列表(&D)"}};
    for (int m = 0; m < 3; ++m) {
        QStringList captions;
        for (QAction* action : toolbar.PopupMenu(ctlToolbar::Menu(m))->actions()) {
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
            QVERIFY2(action->isSeparator() || !action->isEnabled(), qPrintable(action->text()));
        }
        QCOMPARE(captions, expected[m]);
    }
    QAction* add = toolbar.MenuAction(QStringLiteral("Insert_Url"));
    QVERIFY(add);
    QCOMPARE(add->text(), QStringLiteral("添加&Url"));
    QVERIFY(!toolbar.MenuAction(QStringLiteral("NoSuchItem")));
}

void tst_ctlToolbar::backgroundIsTheWindowPictureUnderIt() {
    Host host(true);
    const QImage shown = host.toolbar->grab().toImage();
    QCOMPARE(shown.size(), QSize(7 * kCellW, kCellH));
    for (int i = 0; i < 7; ++i) {
        // The cut-out corner of each button shows the window's picture.
        const QPoint corner(i * kCellW, 0);
        QCOMPARE(shown.pixel(corner) | 0xFF000000, Back().pixel(kToolbarAt + corner));
        QCOMPARE(shown.pixel(host.On(i)) | 0xFF000000,
                 Expected(i, false, true).pixel(host.On(i) - corner));
    }
    // Moved elsewhere, it shows the picture at its new place.
    host.toolbar->move(20, 30);
    QCOMPARE(host.toolbar->grab().toImage().pixel(0, 0) | 0xFF000000, Back().pixel(20, 30));
}

void tst_ctlToolbar::hitTestIsStrictInsideACell_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("index");
    QTest::newRow("left edge") << 0 << -1;
    QTest::newRow("inside first") << 1 << 0;
    QTest::newRow("last of first") << kCellW - 1 << 0;
    QTest::newRow("border") << kCellW << -1;
    QTest::newRow("inside last") << 6 * kCellW + 5 << 6;
    QTest::newRow("past the end") << 7 * kCellW + 2 << -1;
}

void tst_ctlToolbar::hitTestIsStrictInsideACell() {
    QFETCH(int, x);
    QFETCH(int, index);
    ctlToolbar toolbar;
    toolbar.SetPicDefault(Strip(false));
    QCOMPARE(toolbar.HitTest(x), index);
}

QTEST_MAIN(tst_ctlToolbar)
#include "tst_ctlToolbar.moc"
