#include "skin/RecordingPrompts.h"
#include "skin/TestPlaylistSkin.h"
#include "support/TestWindows.h"

#include "controls/PictureSurface.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlListItem.h"
#include "controls/ctlToolbar.h"
#include "playback/PlayerState.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/ModSkinApply.h"
#include "skin/SkinPaths.h"
#include "skin/SkinStore.h"
#include "winsvc/cMagneticWnd.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace TPS = TestPlaylistSkin;

namespace {

const QSize kDesigned(TPS::kWidth, TPS::kHeight);
const QRect kPlayerAt(100, 60, TPS::kWidth, TPS::kTop);

QString ShippedSkins() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/skin");
}

// A player window, the skin store and a loaded playlist window.
struct Fixture {
    QTemporaryDir dir;
    SkinStore store;
    RecordingPrompts prompts;
    PlayerState state;
    std::unique_ptr<QWidget> player = TestWindows::MakeWindow(kPlayerAt);
    cMagneticWnd magnetic;
    std::unique_ptr<frmPlaylistWindow> window;

    explicit Fixture(const QString& skinsDir = QString(), const QString& skin = QString())
        : store(skinsDir.isEmpty() ? dir.path() : skinsDir) {
        QString name = skin;
        if (skinsDir.isEmpty()) {
            TPS::Write(dir.path());
            name = TPS::Options().name;
        }
        magnetic.AddWindow(player.get());
        QVERIFY(store.LoadSkin(name, prompts));
        window =
            std::make_unique<frmPlaylistWindow>(store, prompts, state, player.get(), &magnetic);
        QVERIFY(window->Load());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void AddPlaylists(const QStringList& titles) {
        for (int i = 0; i < titles.size(); ++i)
            window->ctlListLeft()->Add(titles[i], QString(), QString::number(i));
    }
    // The display row of ctlListLeft showing item `position` (1-based).
    ctlListItem* PlaylistRow(int position) { return window->ctlListLeft()->Row(position); }
};

// Which block of the test background a window pixel must come from: the
// corners keep their size, everything between stretches.
QRgb ExpectedPixel(QSize size, int x, int y) {
    const int right = TPS::kWidth - (TPS::kResize.right() + 1);
    const int bottom = TPS::kHeight - (TPS::kResize.bottom() + 1);
    if ((x < TPS::kCut && y < TPS::kCut) ||
        (x >= size.width() - TPS::kCut && y >= size.height() - TPS::kCut))
        return TPS::kMagenta;
    const int column = x < TPS::kResize.left() ? 0 : x < size.width() - right ? 1 : 2;
    const int row = y < TPS::kResize.top() ? 0 : y < size.height() - bottom ? 1 : 2;
    return TPS::BlockColour(column, row);
}

} // namespace

class tst_frmPlaylistWindow : public QObject {
    Q_OBJECT
private slots:
    void composesNinePiecesAtAnySize_data();
    void composesNinePiecesAtAnySize();
    void shippedSkinsShowTheirDesign_data();
    void shippedSkinsShowTheirDesign();
    void reloadsAnotherSkinAtItsSize();
    void neverSmallerThanDesigned_data();
    void neverSmallerThanDesigned();
    void gripSizesTheWindow();
    void movesByBodyAndTitle_data();
    void movesByBodyAndTitle();
    void splitterDragsWithinTheLists();
    void splitterDoubleClickCollapsesAndRestores();
    void choosingAndRenamingPlaylists_data();
    void choosingAndRenamingPlaylists();
    void songListReportsWhatToDo();
    void durationsFitTheirLabel();
    void brokenPictureLeavesTheWindowAsItWas();
    void leavesTheMagneticManagerWhenItGoes();
};

void tst_frmPlaylistWindow::composesNinePiecesAtAnySize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed") << kDesigned;
    QTest::newRow("one more each way") << kDesigned + QSize(1, 1);
    QTest::newRow("larger") << kDesigned + QSize(60, 40);
    QTest::newRow("much taller") << kDesigned + QSize(5, 300);
}

void tst_frmPlaylistWindow::composesNinePiecesAtAnySize() {
    QFETCH(QSize, size);
    Fixture f;
    f.window->resize(size);
    QCOMPARE(f.window->size(), size);
    const QImage picture = f.window->Picture();
    QCOMPARE(picture.size(), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if ((picture.pixel(x, y) | 0xFF000000) != ExpectedPixel(size, x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    // Shaped to the picture: the cut corners take no clicks.
    const QRegion shape = f.window->mask();
    QVERIFY(!shape.contains(QPoint(0, 0)));
    QVERIFY(!shape.contains(QPoint(size.width() - 1, size.height() - 1)));
    QVERIFY(shape.contains(QPoint(TPS::kCut, 0)));
    // The title stays centred, the grip in the corner.
    const PictureSurface* title = f.window->imgTitle();
    QCOMPARE(title->geometry(), QRect((size.width() - 40) / 2, 3, 40, 10));
    QCOMPARE(f.window->imgResize()->geometry().bottomRight(),
             QPoint(size.width() - 1, size.height() - 1));
}

void tst_frmPlaylistWindow::shippedSkinsShowTheirDesign_data() {
    QTest::addColumn<QString>("skin");
    for (const char* skin : {"Winamp Modern", "Default", "Amber Deck"})
        QTest::newRow(skin) << QString::fromLatin1(skin);
}

void tst_frmPlaylistWindow::shippedSkinsShowTheirDesign() {
    QFETCH(QString, skin);
    Fixture f(ShippedSkins(), skin);
    const PlaylistWindowSkin& p = f.store.Skin().PlaylistWindow;
    QVERIFY(f.prompts.messages.isEmpty());
    // Placed under the player window as designed, the player's width.
    QCOMPARE(f.window->geometry(),
             QRect(kPlayerAt.x() + p.Position.Left, kPlayerAt.y() + p.Position.Top,
                   std::max(kPlayerAt.width(), p.Position.Width()), p.Position.Height()));
    const QImage design(SkinPaths::Join(ModSkinApply::SkinFolder(f.store, skin), p.Image));
    QCOMPARE(f.window->Picture(), design.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(f.window->ctlToolbar()->pos(),
             QPoint(p.Toolbar.Position.Left, p.Toolbar.Position.Top));
    QCOMPARE(f.window->cmdClose()->pos(), QPoint(p.Close.Position.Left, p.Close.Position.Top));
    QVERIFY(f.magnetic.IsRegistered(f.window.get()));
}

void tst_frmPlaylistWindow::reloadsAnotherSkinAtItsSize() {
    Fixture f(ShippedSkins(), QStringLiteral("Winamp Modern"));
    f.window->resize(f.window->size() + QSize(50, 30));
    const QSize size = f.window->size();
    const QImage before = f.window->Picture();
    QVERIFY(f.store.LoadSkin(QStringLiteral("Amber Deck"), f.prompts));
    QVERIFY(f.window->ReLoadSkin());
    QCOMPARE(f.window->size(), size);
    QCOMPARE(f.window->Picture().size(), size);
    QVERIFY(f.window->Picture() != before);
    const PlaylistWindowSkin& p = f.store.Skin().PlaylistWindow;
    const QString folder = ModSkinApply::SkinFolder(f.store, f.store.CurrentSkinName());
    const QImage title(SkinPaths::Join(folder, p.Title.Image));
    QCOMPARE(f.window->imgTitle()->Picture(), title.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(f.window->cmdClose()->x(), size.width() - (p.Position.Right - p.Close.Position.Left));
    QVERIFY(f.prompts.messages.isEmpty());
}

void tst_frmPlaylistWindow::neverSmallerThanDesigned_data() {
    QTest::addColumn<QSize>("asked");
    QTest::newRow("smaller") << QSize(100, 50);
    QTest::newRow("one pixel less") << kDesigned - QSize(1, 1);
    QTest::newRow("narrower, taller") << QSize(150, 300);
    QTest::newRow("wider, lower") << QSize(260, 90);
}

void tst_frmPlaylistWindow::neverSmallerThanDesigned() {
    QFETCH(QSize, asked);
    Fixture f;
    f.window->resize(asked);
    QCOMPARE(f.window->size(), asked.expandedTo(kDesigned));
    QCOMPARE(f.window->Picture().size(), f.window->size());
}

void tst_frmPlaylistWindow::gripSizesTheWindow() {
    Fixture f;
    const QPoint topLeft = f.window->pos();
    TestWindows::Drag(f.window->imgResize(), QPoint(5, 5), QPoint(40, 30), 3);
    QCOMPARE(f.window->size(), kDesigned + QSize(40, 30));
    QCOMPARE(f.window->pos(), topLeft);
    QCOMPARE(f.window->Picture().size(), f.window->size());
    // The close button and the toolbar follow the right and bottom edges.
    QCOMPARE(f.window->cmdClose()->x(), TPS::kClose.x() + 40);
    QCOMPARE(f.window->ctlToolbar()->y(), TPS::kToolbar.y() + 30);
    // Narrowing back pulls a splitter dragged far right into the list area.
    TestWindows::Drag(f.window->picLine(), QPoint(1, 20), QPoint(500, 0), 2);
    TestWindows::Drag(f.window->imgResize(), QPoint(5, 5), QPoint(-200, -200), 2);
    QCOMPARE(f.window->size(), kDesigned);
    QCOMPARE(f.window->picLine()->x() + f.window->picLine()->width(), TPS::kList.right() + 1);
    QCOMPARE(f.window->ctlList1()->width(), 0);
}

void tst_frmPlaylistWindow::movesByBodyAndTitle_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("title") << "imgTitle" << QPoint(20, 5);
    QTest::newRow("body") << "" << QPoint(4, 110);
}

void tst_frmPlaylistWindow::movesByBodyAndTitle() {
    QFETCH(QString, where);
    QFETCH(QPoint, at);
    Fixture f;
    QWidget* start = f.window.get();
    if (!where.isEmpty())
        start = f.window->findChild<QWidget*>(where);
    QVERIFY(start);
    const QPoint before = f.window->pos();
    const QSize size = f.window->size();
    // Through the window, as the pointer reaches it: the title takes no
    // press itself, the window under it does.
    TestWindows::Drag(f.window.get(), start->mapTo(f.window.get(), at), QPoint(-37, 52), 3);
    QCOMPARE(f.window->pos(), before + QPoint(-37, 52));
    QCOMPARE(f.window->size(), size);
}

void tst_frmPlaylistWindow::splitterDragsWithinTheLists() {
    Fixture f;
    QWidget* line = f.window->picLine();
    const int start = line->x();
    TestWindows::Drag(line, QPoint(1, 20), QPoint(30, 0), 3);
    QCOMPARE(line->x(), start + 30);
    QCOMPARE(f.window->ctlListLeft()->width(), line->x() - TPS::kList.left());
    QCOMPARE(f.window->ctlList1()->x(), line->x() + line->width());
    // Past either end it stops at the lists' outer edges.
    TestWindows::Drag(line, QPoint(1, 20), QPoint(500, 0), 2);
    QCOMPARE(line->x() + line->width(), TPS::kList.right() + 1);
    QCOMPARE(f.window->ctlList1()->width(), 0);
    TestWindows::Drag(line, QPoint(1, 20), QPoint(-500, 0), 2);
    QCOMPARE(line->x(), TPS::kList.left());
    QCOMPARE(f.window->ctlListLeft()->width(), 0);
    // Collapsed by dragging, a double-click brings back the starting width
    // (nothing was saved to return to).
    QTest::mouseDClick(line, Qt::LeftButton, {}, QPoint(1, 20));
    QCOMPARE(line->x(), start);
}

void tst_frmPlaylistWindow::splitterDoubleClickCollapsesAndRestores() {
    Fixture f;
    QWidget* line = f.window->picLine();
    TestWindows::Drag(line, QPoint(1, 20), QPoint(17, 0));
    const int before = line->x();
    QTest::mouseDClick(line, Qt::LeftButton, {}, QPoint(1, 20));
    QCOMPARE(line->x(), TPS::kList.left());
    QCOMPARE(f.window->ctlListLeft()->width(), 0);
    QCOMPARE(f.window->ctlList1()->x(), TPS::kList.left() + line->width());
    QCOMPARE(f.window->SavedSplitterLeft(), before);
    QTest::mouseDClick(line, Qt::LeftButton, {}, QPoint(1, 20));
    QCOMPARE(line->x(), before);
    QCOMPARE(f.window->ctlListLeft()->width(), before - TPS::kList.left());
}

void tst_frmPlaylistWindow::choosingAndRenamingPlaylists_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("Enter") << QStringLiteral("晚上听的") << true;
    QTest::newRow("focus lost") << QStringLiteral("Road trip") << false;
    QTest::newRow("empty name") << QString() << true;
    QTest::newRow("brace kept") << QStringLiteral("a}b") << true;
}

void tst_frmPlaylistWindow::choosingAndRenamingPlaylists() {
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    Fixture f;
    f.AddPlaylists({QStringLiteral("[默认]"), QStringLiteral("Second list")});
    f.state.CurrentListKey = QStringLiteral("0");
    QSignalSpy chosen(f.window.get(), &frmPlaylistWindow::playlistChosen);
    QSignalSpy renamed(f.window.get(), &frmPlaylistWindow::playlistRenamed);
    QLineEdit* box = f.window->txtEdit();

    QTest::mouseClick(f.PlaylistRow(2), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(f.state.CurrentListKey, QStringLiteral("1"));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("1"));
    QVERIFY(box->isHidden());

    // Clicked again: the rename box opens over its row, the name selected.
    QTest::mouseClick(f.PlaylistRow(2), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(chosen.count(), 1);
    QVERIFY(box->isVisible());
    QCOMPARE(box->text(), QStringLiteral("Second list"));
    QCOMPARE(box->selectedText(), box->text());
    QCOMPARE(box->pos(), f.window->ctlListLeft()->pos() + f.PlaylistRow(2)->pos());
    QCOMPARE(box->width(), f.window->ctlListLeft()->width());

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Backspace);
    box->insert(typed); // key clicks cannot type Chinese
    if (byEnter)
        QTest::keyClick(box, Qt::Key_Return);
    else
        box->clearFocus();
    QTRY_VERIFY(box->isHidden());
    QCOMPARE(f.window->ctlListLeft()->ItemData(QStringLiteral("1"))->iTitle, typed);
    QCOMPARE(f.window->ctlListLeft()->ItemData(QStringLiteral("0"))->iTitle,
             QStringLiteral("[默认]"));
    QCOMPARE(renamed.count(), 1);
    QCOMPARE(renamed.at(0).at(1).toString(), typed);
}

void tst_frmPlaylistWindow::songListReportsWhatToDo() {
    Fixture f;
    ctlList* songs = f.window->ctlList1();
    songs->Add(QStringLiteral("One"), QStringLiteral("03:21"), QStringLiteral("7"));
    songs->Add(QStringLiteral("Two"), QStringLiteral("10:05"), QStringLiteral("8"));
    QSignalSpy activated(f.window.get(), &frmPlaylistWindow::songActivated);
    QSignalSpy menu(f.window.get(), &frmPlaylistWindow::songContextMenuRequested);
    QSignalSpy closing(f.window.get(), &frmPlaylistWindow::closeRequested);

    QTest::mouseClick(songs->Row(2), Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(f.state.CurrentItemKey, QStringLiteral("8"));
    QTest::mouseDClick(songs->Row(1), Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("7"));
    QTest::mousePress(songs->Row(1), Qt::RightButton, {}, QPoint(20, 5));
    QCOMPARE(menu.count(), 1);
    QCOMPARE(menu.at(0).at(0).toPoint(), songs->Row(1)->mapToGlobal(QPoint(20, 5)));
    QTest::mouseClick(f.window->cmdClose(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(closing.count(), 1);
}

void tst_frmPlaylistWindow::durationsFitTheirLabel() {
    Fixture f;
    ctlList* songs = f.window->ctlList1();
    songs->Add(QStringLiteral("One"), QStringLiteral("03:21"), QStringLiteral("7"));
    const QFont font = songs->Row(1)->font();
    QCOMPARE(font.pixelSize(), frmPlaylistWindow::kListFontPixels);
    for (const char* time : {"03:21", "10:59", "00:00"})
        QVERIFY2(QFontMetrics(font).horizontalAdvance(QLatin1String(time)) <=
                     ctlListItem::kTimeWidth,
                 time);
}

void tst_frmPlaylistWindow::brokenPictureLeavesTheWindowAsItWas() {
    for (const char* file : {"title.bmp", "list.bmp", "tbhot.bmp"}) {
        Fixture f;
        f.window->resize(kDesigned + QSize(20, 10));
        const auto state = [&f] {
            QList<QVariant> s{f.window->geometry(), f.window->Picture(),
                              QVariant::fromValue(f.window->mask()),
                              f.window->imgTitle()->Picture(), f.window->ctlToolbar()->PicHot()};
            for (const QObject* child : f.window->children())
                if (const auto* w = qobject_cast<const QWidget*>(child))
                    s << w->geometry() << w->isHidden();
            return s;
        };
        const QList<QVariant> before = state();
        TPS::Options o;
        o.name = QStringLiteral("Broken");
        o.garbledFile = QLatin1String(file);
        o.toolbarAlign = QStringLiteral("top");
        TPS::Write(f.dir.path(), o);
        QVERIFY(f.store.LoadSkin(o.name, f.prompts));
        QVERIFY(!f.window->ReLoadSkin());
        QCOMPARE(f.prompts.messages.size(), 1);
        QVERIFY2(f.prompts.messages.at(0).contains(QLatin1String(file)),
                 qPrintable(f.prompts.messages.at(0)));
        QCOMPARE(state(), before);
    }
}

void tst_frmPlaylistWindow::leavesTheMagneticManagerWhenItGoes() {
    Fixture f;
    QVERIFY(f.magnetic.IsRegistered(f.window.get()));
    QVERIFY(f.magnetic.IsGlued(f.window.get()));
    const QWidget* gone = f.window.get();
    f.window.reset();
    QVERIFY(!f.magnetic.IsRegistered(gone));
}

QTEST_MAIN(tst_frmPlaylistWindow)
#include "tst_frmPlaylistWindow.moc"
