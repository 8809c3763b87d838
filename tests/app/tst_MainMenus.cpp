#include "MenuRig.h"
#include "app/MainMenus.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/PlaylistStore.h"
#include "playlist/frmPlaylistWindow.h"

#include <QAction>
#include <QtTest>

// The main menu's skin list and live switch, and the link menu's
// next-candidate command, on the real windows.
class tst_MainMenus : public QObject {
    Q_OBJECT

    std::unique_ptr<MenuRig> rig;
    QStringList m_started;

    // The paths of the items playback starts from now on.
    const QStringList& StartedPaths() {
        m_started.clear();
        connect(&rig->app->Playback(), &PlaylistPlayback::ItemStarting, this,
                [this](const CMediaInfo& item) { m_started << item.Path; });
        return m_started;
    }

    MainMenus& Menus() const { return rig->app->Menus(); }
    QAction* SkinItem(const QString& name) const {
        for (QAction* item : Menus().SkinMenu().actions())
            if (item->data().toString() == name)
                return item;
        return nullptr;
    }
    // A copy of a shipped skin without one of its pictures.
    void WriteBrokenSkin(const QString& name, const QString& missing) {
        const QString from = rig->SkinsDir() + QStringLiteral("/Amber Deck");
        const QString to = rig->SkinsDir() + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(to));
        for (const QString& file : QDir(from).entryList(QDir::Files))
            if (file != missing)
                QVERIFY(QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file));
    }
    void VerifyDocked() const {
        const QRect player = rig->app->PlayerWindow().geometry();
        const QRect list = rig->app->PlaylistWindow().geometry();
        QCOMPARE(list.topLeft(), QPoint(player.left(), player.top() + player.height()));
    }
    PlaylistStore::Record AddItem(MediaSource source, const QStringList& urls) {
        auto media = std::make_shared<CMediaInfo>();
        media->Source = source;
        media->UrlCol = urls;
        media->Path = urls.value(0);
        media->Title = media->Path;
        PlaylistStore& store = rig->app->Store();
        store.AddMediaToList(media, store.ShownListKey(), true);
        rig->app->State().CurrentListKey = store.ShownListKey();
        rig->app->State().CurrentItemKey = media->Key;
        return media;
    }

private slots:
    void init() {
        rig = std::make_unique<MenuRig>();
        QVERIFY(rig->Start());
    }
    void cleanup() { rig.reset(); }

    void skinListStartsWithDefault_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("shipped") << QStringList{"Winamp Modern", "Default", "Blue"}
                                 << QStringList{"Default", "Blue", "Winamp Modern"};
        QTest::newRow("other case is its own entry")
            << QStringList{"default", "Default", "skin10", "skin9"}
            << QStringList{"Default", "default", "skin9", "skin10"};
        QTest::newRow("no Default folder")
            << QStringList{"Zed", "amber"} << QStringList{"Default", "amber", "Zed"};
        QTest::newRow("no folders") << QStringList{} << QStringList{"Default"};
    }
    void skinListStartsWithDefault() {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const QString& folder : folders)
            QVERIFY(QDir(dir.path()).mkdir(folder));
        QCOMPARE(MainMenus::SkinNames(SkinStore(dir.path())), listed);
    }

    void skinMenuListsTheProgramsSkins() {
        QStringList shown;
        for (QAction* item : Menus().SkinMenu().actions()) {
            shown << item->text();
            QVERIFY(!item->isChecked());
        }
        QCOMPARE(shown, (QStringList{"Default", "Amber Deck", "Winamp Modern"}));
        QDir(rig->SkinsDir()).mkdir(QStringLiteral("Added Later"));
        emit Menus().SkinMenu().aboutToShow();
        QVERIFY(SkinItem(QStringLiteral("Added Later")));
    }

    void choosingASkinReskinsBothWindowsAndDocks() {
        const QImage startPlayer = rig->app->PlayerWindow().Picture();
        const QImage startList = rig->app->PlaylistWindow().Picture();
        rig->app->PlaylistWindow().move(500, 500);
        SkinItem(QStringLiteral("Amber Deck"))->trigger();
        QCOMPARE(rig->app->Skins().CurrentSkinName(), QStringLiteral("Amber Deck"));
        QVERIFY(rig->app->PlayerWindow().Picture() != startPlayer);
        QVERIFY(rig->app->PlaylistWindow().Picture() != startList);
        QVERIFY(SkinItem(QStringLiteral("Amber Deck"))->isChecked());
        VerifyDocked();
        QVERIFY(rig->app->PlaylistWindow().isVisible());
        QVERIFY(rig->prompts.messages.isEmpty());

        SkinItem(QStringLiteral("Default"))->trigger();
        QCOMPARE(rig->app->Skins().CurrentSkinName(), QStringLiteral("Default"));
        QVERIFY(!SkinItem(QStringLiteral("Amber Deck"))->isChecked());
        QVERIFY(SkinItem(QStringLiteral("Default"))->isChecked());
        VerifyDocked();
    }

    void hiddenPlaylistWindowStaysHidden() {
        rig->app->PlayerWindow().cmdPlaylist()->SetSelected(false);
        rig->app->PlaylistWindow().hide();
        QVERIFY(Menus().ChooseSkin(QStringLiteral("Amber Deck")));
        QVERIFY(!rig->app->PlaylistWindow().isVisible());
        VerifyDocked();
    }

    void brokenSkinKeepsTheCurrentOne_data() {
        QTest::addColumn<QString>("missing");
        QTest::newRow("player picture") << QStringLiteral("player_window.bmp");
        QTest::newRow("playlist picture") << QStringLiteral("playlist_window.bmp");
        QTest::newRow("description") << QStringLiteral("skin.xml");
    }
    void brokenSkinKeepsTheCurrentOne() {
        QFETCH(QString, missing);
        WriteBrokenSkin(QStringLiteral("Broken"), missing);
        QVERIFY(Menus().ChooseSkin(QStringLiteral("Amber Deck")));
        const QImage player = rig->app->PlayerWindow().Picture();
        const QImage list = rig->app->PlaylistWindow().Picture();
        emit Menus().SkinMenu().aboutToShow();
        SkinItem(QStringLiteral("Broken"))->trigger();
        QCOMPARE(rig->prompts.messages.size(), 1);
        QCOMPARE(rig->app->Skins().CurrentSkinName(), QStringLiteral("Amber Deck"));
        QCOMPARE(rig->app->PlayerWindow().Picture(), player);
        QCOMPARE(rig->app->PlaylistWindow().Picture(), list);
        QVERIFY(SkinItem(QStringLiteral("Amber Deck"))->isChecked());
        QVERIFY(!SkinItem(QStringLiteral("Broken"))->isChecked());
    }

    void nextLinkSkipsOneCandidate_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<QStringList>("after");
        const QStringList three{"http://127.0.0.1:9/a", "http://127.0.0.1:9/b",
                                "http://127.0.0.1:9/c"};
        QTest::newRow("link") << int(MediaSource::FromLink) << three << three.mid(1);
        QTest::newRow("last candidate")
            << int(MediaSource::FromLink) << three.mid(2) << three.mid(2);
        QTest::newRow("file") << int(MediaSource::FromFile) << three << three;
        QTest::newRow("stream") << int(MediaSource::FromUrl) << three << three;
    }
    void nextLinkSkipsOneCandidate() {
        QFETCH(int, source);
        QFETCH(QStringList, urls);
        QFETCH(QStringList, after);
        const PlaylistStore::Record item = AddItem(MediaSource(source), urls);
        AddItem(MediaSource::FromLink, {"http://127.0.0.1:9/x", "http://127.0.0.1:9/y"});
        rig->app->State().CurrentItemKey = item->Key;
        const QStringList& started = StartedPaths();
        Menus().LinkMenu().actions().first()->trigger();
        QCOMPARE(item->UrlCol, after);
        QCOMPARE(item->Path, after.first());
        QVERIFY(started.isEmpty()); // not the loaded item: playback untouched
        QVERIFY(rig->prompts.messages.isEmpty());
    }

    void nextLinkOnThePlayingItemRestartsIt() {
        const PlaylistStore::Record item =
            AddItem(MediaSource::FromLink, {"http://127.0.0.1:9/a", "http://127.0.0.1:9/b"});
        const QStringList& started = StartedPaths();
        rig->app->Playback().PlayCurrentItem();
        QVERIFY(rig->app->State().CurrentMedia == item);
        QAction* next = Menus().LinkMenu().actions().first();
        QCOMPARE(next->text(), QStringLiteral("选择下一链接"));
        next->trigger();
        QCOMPARE(started, (QStringList{"http://127.0.0.1:9/a", "http://127.0.0.1:9/b"}));
    }

    void songListRightClickOpensTheLinkMenu() {
        emit rig->app->PlaylistWindow().songContextMenuRequested(QPoint(10, 10));
        QTRY_VERIFY(Menus().LinkMenu().isVisible());
        Menus().LinkMenu().hide();
    }
};

QTEST_MAIN(tst_MainMenus)
#include "tst_MainMenus.moc"
