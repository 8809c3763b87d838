#include "MenuRig.h"
#include "app/FolderAdder.h"
#include "app/PlaylistMenus.h"
#include "controls/ctlList.h"
#include "controls/ctlToolbar.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/PlaylistStore.h"
#include "playlist/frmLocalSearch.h"
#include "playlist/frmPlaylistWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>

class tst_PlaylistMenus : public QObject {
    Q_OBJECT

    std::unique_ptr<MenuRig> rig;

    QAction* Action(const char* name) const {
        return rig->app->PlaylistWindow().ctlToolbar()->MenuAction(QLatin1String(name));
    }
    PlaylistStore& Store() const { return rig->app->Store(); }
    // Right after the start no list is current yet: the shown one is meant.
    QString CurrentList() const {
        const QString& current = rig->app->State().CurrentListKey;
        return current.isEmpty() ? Store().ShownListKey() : current;
    }
    QStringList Titles() const {
        QStringList titles;
        for (const QString& key : Store().ListKeys())
            titles << Store().ListTitle(key);
        return titles;
    }
    QStringList ItemPaths(const QString& listKey) const {
        QStringList paths;
        for (const PlaylistStore::Record& item : Store().Items(listKey))
            paths << item->Path;
        return paths;
    }
    QString AddStream(const QString& path) {
        auto media = std::make_shared<CMediaInfo>();
        media->Path = path;
        media->Title = path;
        media->Source = MediaSource::FromUrl;
        return Store().AddMediaToList(media, CurrentList(), true);
    }

private slots:
    void init() {
        rig = std::make_unique<MenuRig>();
        QVERIFY(rig->Start());
        QVERIFY(!CurrentList().isEmpty());
    }
    void cleanup() { rig.reset(); }

    void disabledItemsStayInert_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        for (const char* name :
             {"Insert_File", "Insert_SearchOnline", "Insert_Melodeck", "Insert_Url",
              "Delete_Select", "Delete_All", "List_New", "List_Delete"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        for (const char* name : {"Insert_FilePath", "Insert_SearchLocal", "Delete_Dittograph",
                                 "Delete_Inaccurate", "List_Add", "List_Export"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
    }
    void disabledItemsStayInert() {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        AddStream(QStringLiteral("http://127.0.0.1:9/a.mp3"));
        QAction* action = Action(name.toLatin1().constData());
        QVERIFY(action);
        QCOMPARE(action->isEnabled(), enabled);
        if (enabled)
            return;
        action->trigger();
        QCOMPARE(Titles().size(), 1);
        QCOMPARE(Store().Items(CurrentList()).size(), size_t(1));
        QVERIFY(rig->prompts.messages.isEmpty());
    }

    void newListsAreNumberedAcrossDeletes() {
        const int before = int(Store().ListKeys().size());
        for (int i = 0; i < 3; ++i)
            Action("List_New")->trigger();
        QCOMPARE(Titles().mid(before),
                 (QStringList{QStringLiteral("新建列表1"), QStringLiteral("新建列表2"),
                              QStringLiteral("新建列表3")}));
        // Deleting the newest list must not hand its number out again.
        rig->app->State().CurrentListKey = Store().ListKeys().last();
        Action("List_Delete")->trigger();
        QVERIFY(!Titles().contains(QStringLiteral("新建列表3")));
        Action("List_New")->trigger();
        QCOMPARE(Titles().last(), QStringLiteral("新建列表4"));
        QCOMPARE(rig->app->PlaylistCommands().NewListCounter(), 4);
    }

    void deleteSelectedRemovesEverySelectedRow() {
        QStringList keys;
        for (int i = 1; i <= 5; ++i)
            keys << AddStream(QStringLiteral("http://127.0.0.1:9/%1.mp3").arg(i));
        ctlList& songs = *rig->app->PlaylistWindow().ctlList1();
        for (int position : {1, 3, 5}) {
            CListItem row = *songs.ItemData(position);
            row.iSelected = true;
            songs.SetItemData(position, row);
        }
        Action("Delete_Select")->trigger();
        QCOMPARE(ItemPaths(CurrentList()),
                 (QStringList{QStringLiteral("http://127.0.0.1:9/2.mp3"),
                              QStringLiteral("http://127.0.0.1:9/4.mp3")}));
        QCOMPARE(songs.Count(), 2);
        QCOMPARE(songs.ItemData(1)->iData.toString(), keys[1]);
        QCOMPARE(songs.ItemData(2)->iData.toString(), keys[3]);
    }

    void deleteAllEmptiesOnlyTheCurrentList() {
        AddStream(QStringLiteral("http://127.0.0.1:9/a.mp3"));
        const QString first = CurrentList();
        const QString other = rig->app->PlaylistCommands().NewList();
        auto media = std::make_shared<CMediaInfo>();
        media->Path = QStringLiteral("http://127.0.0.1:9/b.mp3");
        Store().AddMediaToList(media, other, false);
        Action("Delete_All")->trigger();
        QVERIFY(Store().Items(first).empty());
        QCOMPARE(rig->app->PlaylistWindow().ctlList1()->Count(), 0);
        QCOMPARE(Store().Items(other).size(), size_t(1));
    }

    // Items as "name" (a file made in the home), "name~" (named, not made),
    // "@dir" (a folder), "|fifo", "./name" (the same file spelt otherwise),
    // "http..." (a stream), "!" before any (failed to play in this run), "*"
    // (the playing item). The command leaves the listed survivors, in order.
    void cleaningCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("removed");
        const QString live = QStringLiteral("http://127.0.0.1:9/live");
        QTest::newRow("duplicates: first kept, spelt otherwise too")
            << "Delete_Dittograph" << QStringList{"a", "b", "./a", "a", "b"}
            << QStringList{"a", "b"} << 3;
        QTest::newRow("duplicates: addresses exactly")
            << "Delete_Dittograph" << QStringList{live, live + "/", live}
            << QStringList{live, live + "/"} << 1;
        QTest::newRow("duplicates: the playing repeat stays")
            << "Delete_Dittograph" << QStringList{"a", "*a", "a"} << QStringList{"a", "a"} << 1;
        QTest::newRow("duplicates: none")
            << "Delete_Dittograph" << QStringList{"a", "b"} << QStringList{"a", "b"} << 0;
        QTest::newRow("dead: missing, folder, FIFO go; streams stay")
            << "Delete_Inaccurate" << QStringList{"a", "gone~", "@dir", "|fifo", live, "b"}
            << QStringList{"a", live, "b"} << 3;
        QTest::newRow("dead: failed in this run go, the playing one stays")
            << "Delete_Inaccurate" << QStringList{"!" + live, "!a", "*gone~", "b"}
            << QStringList{"gone~", "b"} << 2;
    }
    void cleaningCommands() {
        QFETCH(QString, command);
        QFETCH(QStringList, items);
        QFETCH(QStringList, left);
        QFETCH(int, removed);
        const auto pathOf = [this](QString item) {
            item.remove(QRegularExpression(QStringLiteral("^[!*@|]+"))).remove(u'~');
            return item.startsWith(QLatin1String("http")) ? item : rig->home.filePath("m/" + item);
        };
        QVERIFY(QDir().mkpath(rig->home.filePath("m/dir")));
        QCOMPARE(::mkfifo(QFile::encodeName(rig->home.filePath("m/fifo")).constData(), 0600), 0);
        for (const QString& name : {"a", "b"}) {
            QFile file(rig->home.filePath(QStringLiteral("m/") + name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString list = CurrentList();
        for (const QString& item : items) {
            auto media = std::make_shared<CMediaInfo>();
            media->Path = pathOf(item);
            media->PlayFailed = item.startsWith(u'!');
            Store().AddMediaToList(media, list, true);
            if (item.startsWith(u'*'))
                rig->app->State().CurrentMedia = media;
        }
        Action(command.toLatin1().constData())->trigger();
        QStringList expected;
        for (const QString& item : left)
            expected << pathOf(item);
        QCOMPARE(ItemPaths(list), expected);
        QCOMPARE(rig->app->PlaylistWindow().ctlList1()->Count(), int(expected.size()));
        QVERIFY(rig->app->Playback().StatusText().startsWith(
            QStringLiteral("删除了%1个").arg(removed)));
        rig->app->State().CurrentMedia.reset();
    }

    // The folder command adds the media files of a tree, subfolders first
    // and in natural order, hidden entries, FIFOs and loops left out, with
    // no cap at the drop's 5,000; a cancelled dialog adds nothing.
    void folderCommandAddsTheTree_data() {
        QTest::addColumn<QStringList>("files"); // made under the chosen folder
        QTest::addColumn<int>("count");         // items added
        QTest::addColumn<QStringList>("first"); // their first paths, relative
        QTest::newRow("nested, natural order")
            << QStringList{"10.mp3",      "2.mp3",     "b/1.wav",  "A/x.wma",
                           ".hidden.mp3", "cover.jpg", ".h/in.mp3"}
            << 4 << QStringList{"A/x.wma", "b/1.wav", "2.mp3", "10.mp3"};
        QTest::newRow("cancelled dialog") << QStringList{"<cancel>", "a.mp3"} << 0 << QStringList{};
        QStringList many;
        for (int i = 0; i < 20000; ++i)
            many << QStringLiteral("d%1/%2.mp3").arg(i / 1000).arg(i);
        QTest::newRow("20,000 files") << many << 20000 << QStringList{"d0/0.mp3", "d0/1.mp3"};
    }
    void folderCommandAddsTheTree() {
        QFETCH(QStringList, files);
        QFETCH(int, count);
        QFETCH(QStringList, first);
        const QString root = rig->home.filePath(QStringLiteral("music"));
        for (const QString& name : files) {
            if (name.startsWith(u'<'))
                continue;
            QDir().mkpath(QFileInfo(root + u'/' + name).path());
            QFile file(root + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QDir().mkpath(root);
        QCOMPARE(::mkfifo(QFile::encodeName(root + "/pipe.mp3").constData(), 0600), 0);
        QVERIFY(QFile::link(root, root + "/loop"));
        if (!files.contains("<cancel>"))
            rig->prompts.folder = root;
        QSignalSpy finished(&rig->app->Folders(), &FolderAdder::Finished);
        Action("Insert_FilePath")->trigger();
        if (files.contains("<cancel>")) {
            QVERIFY(!rig->app->Folders().Busy());
            QVERIFY(Store().Items(CurrentList()).empty());
            return;
        }
        QVERIFY(finished.wait(60000));
        const QStringList paths = ItemPaths(CurrentList());
        QCOMPARE(paths.size(), count);
        for (int i = 0; i < first.size(); ++i)
            QCOMPARE(paths[i], root + u'/' + first[i]);
        QCOMPARE(rig->app->PlaylistWindow().ctlList1()->Count(), count);
        QCOMPARE(rig->app->Playback().StatusText(), QStringLiteral("添加了%1个文件").arg(count));
    }

    // The search across the lists, through its dialog: as typed, every word
    // must match title or path, without regard to case or width; Enter plays
    // the row chosen, in its list.
    void localSearch_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("found"); // titles, in list order
        QTest::newRow("case") << "moon" << QStringList{"Moon River", "月亮 Moon"};
        QTest::newRow("width") << "ＭＯＯＮ ｒｉｖｅｒ" << QStringList{"Moon River"};
        QTest::newRow("several words, title and path") << "jazz 月亮" << QStringList{"月亮 Moon"};
        QTest::newRow("Chinese") << "月亮" << QStringList{"月亮 Moon", "月亮代表我的心"};
        QTest::newRow("no match") << "zzz" << QStringList{};
        QTest::newRow("no words") << "   " << QStringList{};
    }
    void localSearch() {
        QFETCH(QString, query);
        QFETCH(QStringList, found);
        const QString first = CurrentList();
        const QString second = rig->app->PlaylistCommands().NewList();
        const auto add = [this](const QString& list, const QString& title, const QString& path) {
            auto media = std::make_shared<CMediaInfo>();
            media->Title = title;
            media->Path = path;
            media->Source = MediaSource::FromUrl;
            Store().AddMediaToList(media, list, list == Store().ShownListKey());
        };
        add(first, "Moon River", "http://127.0.0.1:9/pop/river.mp3");
        add(first, "Other", "http://127.0.0.1:9/pop/other.mp3");
        add(second, "月亮 Moon", "http://127.0.0.1:9/jazz/moon.mp3");
        add(second, "月亮代表我的心", "http://127.0.0.1:9/pop/heart.mp3");
        QString played;
        connect(&rig->app->PlaylistWindow(), &frmPlaylistWindow::songActivated, this,
                [&](const QString& key) { played = key; });
        QTimer::singleShot(0, this, [&] {
            frmLocalSearch* search = rig->app->LocalSearch();
            QVERIFY(search);
            // Typed a character at a time, as a user would.
            for (qsizetype n = 1; n <= query.size(); ++n)
                search->txtQuery->setText(query.left(n));
            QStringList titles;
            for (int i = 0; i < search->lstResults->topLevelItemCount(); ++i)
                titles << search->lstResults->topLevelItem(i)->text(1);
            QCOMPARE(titles, found);
            if (found.isEmpty()) {
                search->reject();
                return;
            }
            QTest::keyClick(search->txtQuery, Qt::Key_Down);
            QTest::keyClick(search->txtQuery, Qt::Key_Return);
        });
        Action("Insert_SearchLocal")->trigger();
        if (found.isEmpty()) {
            QVERIFY(played.isEmpty());
            return;
        }
        // The second result when there are two, else the only one.
        const QString title = found.value(1, found.first());
        const QString list = title.startsWith(QStringLiteral("月亮")) ? second : first;
        QCOMPARE(Store().ShownListKey(), list);
        QCOMPARE(rig->app->State().CurrentListKey, list);
        QVERIFY(!played.isEmpty());
        QCOMPARE(Store().GetMedia(list, played)->Title, title);
    }

    // Other players' list files become new lists named after them; entries
    // relative to the file, absolute, file URIs and addresses are items,
    // broken ones are counted. "<d>" stands for the file's folder.
    void listFilesBecomeLists_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items"); // "title=path"
        QTest::addColumn<int>("skipped");
        QTest::newRow("m3u in GB18030, EXTINF titles")
            << "老歌.m3u"
            << QByteArray("#EXTM3U\r\n#EXTINF:200,\xD4\xC2\xC1\xC1\r\nsub/a.mp3\r\n"
                          "/abs/b.mp3\r\nfile:///u/%E6%AD%8C.mp3\r\nfile://far/x.mp3\r\n"
                          "ftp://h/y.mp3\r\nhttp://127.0.0.1:9/live\r\n")
            << "老歌"
            << QStringList{"月亮=<d>/sub/a.mp3", "b=/abs/b.mp3", "歌=/u/歌.mp3",
                           "live=http://127.0.0.1:9/live"}
            << 2;
        QTest::newRow("m3u8 with a byte-order mark")
            << "list.m3u8" << QByteArray("\xEF\xBB\xBF#EXTINF:-1,夜曲\n../c.mp3\n") << "list"
            << QStringList{"夜曲=<d>/../c.mp3"} << 0;
        QTest::newRow("pls in number order")
            << "radio.pls"
            << QByteArray("[playlist]\nFile2=http://127.0.0.1:9/b\nTitle2=Two\nFile1=one.mp3\n"
                          "NumberOfEntries=2\n")
            << "radio" << QStringList{"one=<d>/one.mp3", "Two=http://127.0.0.1:9/b"} << 0;
        QTest::newRow("xspf: creator - title, relative, file URI, stream, no location")
            << "mix.xspf"
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
                          "<track><location>sub/My%20Song.mp3</location><title>晴天</title>"
                          "<creator>周</creator></track>"
                          "<track><location>file:///u/a.ogg</location>"
                          "<location>http://127.0.0.1:9/other</location></track>"
                          "<track><title>Radio</title><location>http://127.0.0.1:9/r</location>"
                          "</track><track><title>none</title></track>"
                          "<track><location>ftp://h/y.mp3</location></track>"
                          "</trackList></playlist>")
            << "mix"
            << QStringList{"周 - 晴天=<d>/sub/My Song.mp3", "a=/u/a.ogg",
                           "Radio=http://127.0.0.1:9/r"}
            << 2;
        QTest::newRow("xspf cut off keeps the tracks before")
            << "cut.xspf"
            << QByteArray("<playlist><trackList><track><location>/m/a.mp3</location></track>"
                          "<track><location>/m/b")
            << "cut" << QStringList{"a=/m/a.mp3"} << 0;
        QTest::newRow("another MLF keeps its title")
            << "x.MLF" << QByteArray("{\xCE\xD2\xB5\xC4}\r\na=/m/a.mp3\r\n") << "我的"
            << QStringList{"a=/m/a.mp3"} << 0;
    }
    void listFilesBecomeLists() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        QFETCH(int, skipped);
        const QString dir = rig->home.filePath(QStringLiteral("lists"));
        QVERIFY(QDir().mkpath(dir));
        QFile file(dir + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        rig->prompts.files = {file.fileName()};
        const int before = int(Store().ListKeys().size());
        Action("List_Add")->trigger();
        QCOMPARE(int(Store().ListKeys().size()), before + 1);
        const QString key = Store().ListKeys().last();
        QCOMPARE(Store().ListTitle(key), title);
        QStringList found;
        for (const PlaylistStore::Record& item : Store().Items(key))
            found << item->Title + u'=' + item->Path;
        for (QString& item : items) {
            const QString path = item.section(u'=', 1);
            if (path.startsWith("<d>"))
                item = item.section(u'=', 0, 0) + u'=' +
                       QDir::cleanPath(QString(path).replace("<d>", dir));
        }
        QCOMPARE(found, items);
        QCOMPARE(
            rig->app->Playback().StatusText().contains(QStringLiteral("%1个无法读取").arg(skipped)),
            skipped > 0);
    }

    // A list exported and read back has the same items, whatever its titles.
    void exportThenImport_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("m3u8") << "out.m3u8";
        QTest::newRow("pls") << "out.pls";
        QTest::newRow("no extension: m3u8") << "out";
    }
    void exportThenImport() {
        QFETCH(QString, name);
        const QString list = CurrentList();
        const QStringList lines{"月亮代表我的心=/音乐/a b.mp3", "100%1 sure=/m/x.mp3",
                                "Live=http://127.0.0.1:9/live?x=1"};
        for (const QString& line : lines) {
            auto media = std::make_shared<CMediaInfo>();
            media->Title = line.section(u'=', 0, 0);
            media->Path = line.section(u'=', 1);
            media->Duration = QStringLiteral("03:21");
            Store().AddMediaToList(media, list, true);
        }
        const QString file = rig->home.filePath(name);
        rig->prompts.saveAs = file;
        Action("List_Export")->trigger();
        rig->prompts.files = {name.contains(u'.') ? file : file + ".m3u8"};
        Action("List_Add")->trigger();
        QStringList found;
        for (const PlaylistStore::Record& item : Store().Items(Store().ListKeys().last()))
            found << item->Title + u'=' + item->Path;
        QCOMPARE(found, lines);
        QVERIFY(rig->prompts.messages.isEmpty());
    }

    void insertCommandsAddToTheCurrentList() {
        QFile file(rig->home.filePath(QStringLiteral("song.mp3")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        rig->prompts.files = {file.fileName()};
        Action("Insert_File")->trigger();
        rig->prompts.input = QStringLiteral("http://127.0.0.1:9/live");
        Action("Insert_Url")->trigger();
        QCOMPARE(ItemPaths(CurrentList()),
                 (QStringList{file.fileName(), QStringLiteral("http://127.0.0.1:9/live")}));
    }

    void musicPageOpensInTheBrowser() {
        QList<QUrl> opened;
        rig->app->PlaylistCommands().SetUrlOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        Action("Insert_Melodeck")->trigger();
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/music/"))});
    }

    void onlineSearchShowsTheLinkDialogModally() {
        QPointer<QWidget> shown;
        QTimer::singleShot(0, this, [&shown] {
            shown = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QDialog*>(shown.data()))
                dialog->reject();
        });
        Action("Insert_SearchOnline")->trigger();
        QVERIFY(shown);
        QVERIFY(!shown->isVisible());
    }
};

QTEST_MAIN(tst_PlaylistMenus)
#include "tst_PlaylistMenus.moc"
