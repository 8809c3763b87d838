#include "RecordingPrompts.h"
#include "skin/TestPlaylistSkin.h"

#include "controls/ModColor.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlToolbar.h"
#include "skin/ModSkinApply.h"
#include "skin/PlaylistSkinApply.h"
#include "skin/SkinImages.h"
#include "skin/SkinStore.h"

#include <QTemporaryDir>
#include <QtTest>

namespace TPS = TestPlaylistSkin;

namespace {

constexpr int kSplitterAt = 60;

// A window carrying the controls the playlist skin places.
struct Host {
    QWidget window{nullptr, Qt::FramelessWindowHint};
    QImage picSave = TPS::Background();
    ctlList* left = new ctlList(&window);
    ctlList* songs = new ctlList(&window);
    QWidget* line = new QWidget(&window);
    ctlButton* close = new ctlButton(&window);
    ctlToolbar* toolbar = new ctlToolbar(&window);

    explicit Host(QSize extra = QSize()) {
        line->setGeometry(kSplitterAt, 0, 3, 10);
        window.resize(QSize(TPS::kWidth, TPS::kHeight) + extra);
    }
    PlaylistWindowParts Parts() {
        return PlaylistWindowParts{.window = window,
                                   .picSave = picSave,
                                   .ctlListLeft = *left,
                                   .ctlList1 = *songs,
                                   .picLine = *line,
                                   .cmdClose = *close,
                                   .ctlToolbar = *toolbar};
    }
    QList<QVariant> State() const {
        QList<QVariant> state;
        for (const QWidget* w :
             std::initializer_list<const QWidget*>{left, songs, line, close, toolbar})
            state << w->geometry() << w->isHidden();
        state << toolbar->PicDefault() << close->Picture() << songs->SelectColor();
        return state;
    }
};

struct Skin {
    QTemporaryDir dir;
    SkinStore store{dir.path()};
    RecordingPrompts prompts;

    explicit Skin(const TPS::Options& o = TPS::Options()) {
        TPS::Write(dir.path(), o);
        QVERIFY(store.LoadSkin(o.name, prompts));
    }
    bool Apply(Host& host) {
        SkinImages images(ModSkinApply::SkinFolder(store, store.CurrentSkinName()));
        const PlaylistColors colors =
            ModSkinApply::ReadPlaylistColors(store, store.CurrentSkinName(), prompts);
        PlaylistWindowParts parts = host.Parts();
        return ModSkinApply::ApplyPlaylistWindowSkin(store.Skin(), colors, images, parts);
    }
};

} // namespace

class tst_PlaylistSkinApply : public QObject {
    Q_OBJECT
private slots:
    void toolbarKeepsTopOrBottomDistance_data();
    void toolbarKeepsTopOrBottomDistance();
    void listsAndCloseFollowTheWindowSize_data();
    void listsAndCloseFollowTheWindowSize();
    void listColoursComeFromTheSkinOrDefault_data();
    void listColoursComeFromTheSkinOrDefault();
    void brokenPictureChangesNothing();
};

void tst_PlaylistSkinApply::toolbarKeepsTopOrBottomDistance_data() {
    QTest::addColumn<QString>("align");
    QTest::addColumn<int>("extraHeight");
    QTest::addColumn<bool>("fromBottom");
    QTest::newRow("bottom, designed") << "bottom" << 0 << true;
    QTest::newRow("bottom, taller") << "bottom" << 40 << true;
    QTest::newRow("inside a longer word") << "snap-bottom-edge" << 40 << true;
    QTest::newRow("Bottom is not bottom") << "Bottom" << 40 << false;
    QTest::newRow("top") << "top" << 40 << false;
    QTest::newRow("none") << "" << 25 << false;
}

void tst_PlaylistSkinApply::toolbarKeepsTopOrBottomDistance() {
    QFETCH(QString, align);
    QFETCH(int, extraHeight);
    QFETCH(bool, fromBottom);
    TPS::Options o;
    o.toolbarAlign = align;
    Skin skin(o);
    Host host(QSize(0, extraHeight));
    QVERIFY(skin.Apply(host));
    const int distanceFromBottom = TPS::kHeight - TPS::kToolbar.y();
    const int top = fromBottom ? host.window.height() - distanceFromBottom : TPS::kToolbar.y();
    QCOMPARE(host.toolbar->pos(), QPoint(TPS::kToolbar.x(), top));
    QCOMPARE(host.toolbar->size(), QSize(70, 8));
}

void tst_PlaylistSkinApply::listsAndCloseFollowTheWindowSize_data() {
    QTest::addColumn<QSize>("extra");
    QTest::newRow("designed") << QSize(0, 0);
    QTest::newRow("wider") << QSize(60, 0);
    QTest::newRow("wider and taller") << QSize(333, 41);
}

void tst_PlaylistSkinApply::listsAndCloseFollowTheWindowSize() {
    QFETCH(QSize, extra);
    Skin skin;
    Host host(extra);
    QVERIFY(skin.Apply(host));
    const QRect L = TPS::kList;
    const int h = L.height() + extra.height();
    QCOMPARE(host.line->geometry(), QRect(kSplitterAt, L.top(), 3, h));
    QCOMPARE(host.left->geometry(), QRect(L.left(), L.top(), kSplitterAt - L.left(), h));
    // The songs list ends where the list area ends, moved with the right edge.
    QCOMPARE(host.songs->geometry(),
             QRect(kSplitterAt + 3, L.top(), L.right() + 1 + extra.width() - kSplitterAt - 3, h));
    QCOMPARE(host.window.width() - host.close->x(), TPS::kWidth - TPS::kClose.x());
    QCOMPARE(host.close->y(), TPS::kClose.y());
    QVERIFY(host.left->IsLeft());
    QVERIFY(!host.songs->IsLeft());
}

void tst_PlaylistSkinApply::listColoursComeFromTheSkinOrDefault_data() {
    QTest::addColumn<bool>("own");
    QTest::addColumn<bool>("withDefault");
    QTest::addColumn<QString>("select");
    QTest::addColumn<quint32>("text");
    QTest::addColumn<quint32>("selectShown");
    QTest::newRow("own file") << true << true << "#FFFF00" << 0x302010u << 0x00FFFFu;
    QTest::newRow("black selection shows white")
        << true << false << "#000000" << 0x302010u << 0xFFFFFFu;
    QTest::newRow("borrowed from default") << false << true << "#FFFF00" << 0x445566u << 0x0000FFu;
    QTest::newRow("none anywhere") << false << false << "#FFFF00" << 0u << 0xFFFFFFu;
}

void tst_PlaylistSkinApply::listColoursComeFromTheSkinOrDefault() {
    QFETCH(bool, own);
    QFETCH(bool, withDefault);
    QFETCH(QString, select);
    QFETCH(quint32, text);
    QFETCH(quint32, selectShown);
    TPS::Options o;
    o.withColours = own;
    o.selectColour = select;
    Skin skin(o);
    if (withDefault) {
        const QString folder = skin.dir.path() + QStringLiteral("/Default");
        QDir().mkpath(folder);
        TPS::WriteColours(folder, QStringLiteral("#FF0000"), QStringLiteral("#665544"));
    }
    Host host;
    QVERIFY(skin.Apply(host));
    for (ctlList* list : {host.left, host.songs}) {
        QCOMPARE(list->TextColor(), text);
        QCOMPARE(list->SelectColor(), selectShown);
    }
    QCOMPARE(ModColor::FromQRgb(host.line->palette().color(QPalette::Window).rgb()), text);
}

void tst_PlaylistSkinApply::brokenPictureChangesNothing() {
    for (const char* file : {"tb.bmp", "close.bmp", "sbthumb.bmp", "list.bmp"}) {
        Skin good;
        Host host(QSize(30, 20));
        QVERIFY(good.Apply(host));
        const QList<QVariant> before = host.State();

        TPS::Options o;
        o.name = QStringLiteral("Broken");
        o.garbledFile = QLatin1String(file);
        o.toolbarAlign = QStringLiteral("top");
        Skin broken(o);
        SkinImages images(ModSkinApply::SkinFolder(broken.store, o.name));
        PlaylistWindowParts parts = host.Parts();
        QVERIFY2(!ModSkinApply::ApplyPlaylistWindowSkin(broken.store.Skin(), PlaylistColors(),
                                                        images, parts),
                 file);
        QVERIFY(images.FailedFile().endsWith(QLatin1String(file)));
        QCOMPARE(host.State(), before);
    }
}

QTEST_MAIN(tst_PlaylistSkinApply)
#include "tst_PlaylistSkinApply.moc"
