// Drops and keys on the playlist window and the wheel on the player window,
// sent as real events to the running program's widgets.
#include "MenuRig.h"
#include "support/TestMedia.h"

#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlList.h"
#include "controls/ctlListItem.h"
#include "controls/ctlProgress.h"
#include "controls/ctlVScroll.h"
#include "playlist/DropTexts.h"
#include "playlist/MediaAdder.h"
#include "playlist/frmPlaylistWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include <sys/stat.h>

class tst_WindowInput : public QObject {
    Q_OBJECT

    std::unique_ptr<MenuRig> rig;

    PlaylistStore& Store() const { return rig->app->Store(); }
    frmPlaylistWindow& Window() const { return rig->app->PlaylistWindow(); }
    QString Home(const QString& name) const { return rig->home.filePath(name); }
    QStringList Paths(const QString& listKey) const {
        QStringList paths;
        for (const PlaylistStore::Record& item : Store().Items(listKey))
            paths << item->Path;
        return paths;
    }
    // "@name": the file or folder in the home, as a file URL in a URI list,
    // as a path in plain text.
    QString Expand(QString text, bool uriList) const {
        if (text.startsWith(QLatin1String("localhost@")))
            return "file://localhost" +
                   QUrl::fromLocalFile(Home(text.mid(10))).path(QUrl::FullyEncoded);
        if (!text.startsWith(u'@'))
            return text;
        const QString path = Home(text.mid(1));
        return uriList ? QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded()) : path;
    }
    void MakeFiles(const QStringList& names) {
        for (const QString& name : names) {
            QDir().mkpath(QFileInfo(Home(name)).path());
            QVERIFY(TestMedia::WriteFile(Home(name), QByteArray()));
        }
    }
    static QList<int> Selected(const ctlList& list) {
        QList<int> selected;
        for (int p = 1; p <= list.Count(); ++p) {
            if (list.ItemData(p)->iSelected)
                selected << p;
        }
        return selected;
    }

private slots:
    void init() {
        rig = std::make_unique<MenuRig>();
        QVERIFY(rig->Start());
        Store().AddPlaylist(QStringLiteral("Second"));
        rig->app->Adder().SetLinkResolver([](const QString& link) {
            auto media = std::make_shared<CMediaInfo>();
            media->Path = QStringLiteral("resolved ") + link;
            return media;
        });
    }
    void cleanup() { rig.reset(); }
    void drops_data();
    void drops();
    void folderWalkIsBounded_data();
    void folderWalkIsBounded();
    void keys_data();
    void keys();
    void wheelOverTheVolume_data();
    void wheelOverTheVolume();
};

void tst_WindowInput::drops_data() {
    QTest::addColumn<QString>("format"); // uri (text/uri-list), text (text/plain), both
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("target"); // songs, row 2 (of the playlists), below (the playlists)
    QTest::addColumn<bool>("entered");
    QTest::addColumn<QStringList>("added"); // to the target list; none: the drop is refused
    const QStringList files{"@b.mp3", "@a song.wav", "@c.flac"};
    QTest::newRow("files in dropped order") << "uri" << files << "songs" << true << files;
    QTest::newRow("folder tree") << "uri" << QStringList{"@tree"} << "songs" << true
                                 << QStringList{"@tree/A/x.wma", "@tree/b/1.wav", "@tree/2.mp3",
                                                "@tree/10.mp3"};
    QTest::newRow("streams by URI")
        << "uri"
        << QStringList{"# comment", "ftp://127.0.0.1/x.mp3", "https://127.0.0.1:9/a.mp3",
                       "rtsp://127.0.0.1/s"}
        << "songs" << true << QStringList{"https://127.0.0.1:9/a.mp3", "rtsp://127.0.0.1/s"};
    // A browser gives both; Qt's URI list loses the link (not a URL), the text keeps it.
    const QString link = QStringLiteral("melodeck://singer=王菲&song=x&type=0");
    QTest::newRow("link from a browser")
        << "both" << QStringList{link} << "songs" << true << QStringList{"resolved " + link};
    QTest::newRow("files and a link keep their order")
        << "text" << QStringList{"@b.mp3", link, "@c.flac"} << "songs" << true
        << QStringList{"@b.mp3", "resolved " + link, "@c.flac"};
    QTest::newRow("localhost file URI") << "uri" << QStringList{"localhost@a song.wav"} << "songs"
                                        << true << QStringList{"@a song.wav"};
    QTest::newRow("plain text lines")
        << "text" << QStringList{"  mms://127.0.0.1/live  ", "hello", "@b.mp3", "b.mp3"} << "songs"
        << true << QStringList{"mms://127.0.0.1/live", "@b.mp3"};
    QTest::newRow("onto a playlist")
        << "uri" << QStringList{"@b.mp3"} << "row 2" << true << QStringList{"@b.mp3"};
    QTest::newRow("below the playlists")
        << "text" << QStringList{"@b.mp3"} << "below" << true << QStringList{"@b.mp3"};
    QTest::newRow("nothing usable")
        << "both" << QStringList{"@missing.mp3", "@pipe.mp3", "ftp://x/y", "hello"} << "songs"
        << false << QStringList();
    QTest::newRow("any file, no folder's other files")
        << "uri" << QStringList{"@nomedia", "@tree/cover.jpg"} << "row 2" << true
        << QStringList{"@tree/cover.jpg"};
    QTest::newRow("folder without media")
        << "both" << QStringList{"@nomedia"} << "songs" << true << QStringList();
}

// The drop cursor shows a copy for anything usable; the texts go, in order,
// to the list under the pointer (the shown one on the songs or below the
// playlists); a drop with nothing usable is refused and changes nothing.
void tst_WindowInput::drops() {
    QFETCH(QString, format);
    QFETCH(QStringList, lines);
    QFETCH(QString, target);
    QFETCH(bool, entered);
    QFETCH(QStringList, added);
    MakeFiles({"b.mp3", "a song.wav", "c.flac", "tree/10.mp3", "tree/2.mp3", "tree/cover.jpg",
               "tree/.hidden.mp3", "tree/b/1.wav", "tree/A/x.wma", "nomedia/notes.txt"});
    QVERIFY(QFile::link(Home("tree"), Home("tree/A/loop")));
    QCOMPARE(::mkfifo(QFile::encodeName(Home("pipe.mp3")).constData(), 0600), 0);
    for (QString& text : added)
        text = Expand(text, false);

    const QStringList keys = Store().ListKeys();
    const QString listKey = target == "row 2" ? keys[1] : keys[0];
    ctlList* list = target == "songs" ? Window().ctlList1() : Window().ctlListLeft();
    const QPoint at = target == "row 2"   ? list->Row(2)->geometry().center()
                      : target == "below" ? QPoint(5, list->height() - 2)
                                          : QPoint(5, 5);
    QMimeData mime;
    QStringList uris;
    QStringList texts;
    for (const QString& line : lines) {
        uris << Expand(line, true);
        texts << Expand(line, false);
    }
    if (format != "text")
        mime.setData(QStringLiteral("text/uri-list"), uris.join("\r\n").toUtf8());
    if (format != "uri")
        mime.setText(texts.join(u'\n'));
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    QCOMPARE(enter.isAccepted(), entered);
    QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &move);
    QCOMPARE(move.isAccepted(), entered);
    if (entered)
        QCOMPARE(move.dropAction(), Qt::CopyAction);
    QDropEvent drop(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    QCOMPARE(drop.isAccepted(), !added.isEmpty());

    QTRY_COMPARE(Paths(listKey).join("|"), added.join("|"));
    QCOMPARE(Paths(listKey == keys[0] ? keys[1] : keys[0]), QStringList());
    QCOMPARE(Window().ctlList1()->Count(), int(Store().Items(Store().ShownListKey()).size()));
    QVERIFY(rig->prompts.messages.isEmpty());
}

void tst_WindowInput::folderWalkIsBounded_data() {
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<int>("maxEntries");
    QTest::addColumn<int>("found");
    QTest::addColumn<bool>("capped");
    QTest::addColumn<QString>("first");
    QTest::newRow("within both") << 6 << 8 << 6 << false << "d/s/3.mp3";
    QTest::newRow("files") << 4 << 100 << 4 << true << "d/s/3.mp3";
    // The top folder's three entries, then no room for the subfolder's.
    QTest::newRow("entries") << 100 << 3 << 2 << true << "d/1.mp3";
}

void tst_WindowInput::folderWalkIsBounded() {
    QFETCH(int, maxFiles);
    QFETCH(int, maxEntries);
    QFETCH(int, found);
    QFETCH(bool, capped);
    QFETCH(QString, first);
    MakeFiles({"d/1.mp3", "d/2.mp3", "d/s/3.mp3", "d/s/4.mp3", "d/s/5.mp3", "d/s/6.mp3"});
    QMimeData mime;
    mime.setText(Home("d"));
    const DropTexts::Result result = DropTexts(maxFiles, maxEntries).Read(mime);
    QCOMPARE(result.texts.size(), found);
    QCOMPARE(result.capped, capped);
    QCOMPARE(result.texts.first(), Home(first));
}

void tst_WindowInput::keys_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("from"); // the selection, shifted by `pages` pages
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("played"); // position, 0: none
    QTest::addColumn<int>("left");   // items left
    using L = QStringList;
    QTest::newRow("Down selects the first") << L{"Down"} << 1 << 1 << 0 << 0 << 30;
    QTest::newRow("Up stops at the top")
        << L{"End", "Home", "Down", "Up", "Up"} << 1 << 1 << 0 << 0 << 30;
    QTest::newRow("Shift+Down") << L{"Down", "Down", "Shift+Down", "Shift+Down"} << 2 << 4 << 0 << 0
                                << 30;
    QTest::newRow("Shift+Up from End") << L{"End", "Shift+Up"} << 29 << 30 << 0 << 0 << 30;
    QTest::newRow("Shift+End") << L{"Down", "Down", "Shift+End"} << 2 << 30 << 0 << 0 << 30;
    QTest::newRow("PageDown") << L{"Down", "PgDown"} << 1 << 1 << 1 << 0 << 30;
    QTest::newRow("PageUp") << L{"End", "PgUp"} << 30 << 30 << -1 << 0 << 30;
    QTest::newRow("Ctrl+A") << L{"Ctrl+A"} << 1 << 30 << 0 << 0 << 30;
    QTest::newRow("Enter plays") << L{"Down", "Down", "Return"} << 2 << 2 << 0 << 2 << 30;
    QTest::newRow("Delete removes")
        << L{"Down", "Down", "Shift+Down", "Del"} << 0 << -1 << 0 << 0 << 28;
    QTest::newRow("F2 renames the list") << L{"Down", "F2"} << 1 << 1 << 0 << 0 << 30;
}

// Keys reach the window even when a song's row has the focus; a moved
// selection stays in sight.
void tst_WindowInput::keys() {
    QFETCH(QStringList, keys);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, pages);
    QFETCH(int, played);
    QFETCH(int, left);
    QStringList streams;
    for (int n = 1; n <= 30; ++n)
        streams << QStringLiteral("http://127.0.0.1:9/%1").arg(n);
    const QStringList added = rig->app->Adder().AddDropped(streams);
    QCOMPARE(added.size(), 30);
    ctlList* songs = Window().ctlList1();
    // Playing is the program's business; what the window asks for is seen here.
    QObject::disconnect(&Window(), &frmPlaylistWindow::songActivated, rig->app.get(), nullptr);
    QSignalSpy activated(&Window(), &frmPlaylistWindow::songActivated);

    for (const QString& name : keys) {
        const QKeyCombination key = QKeySequence(name)[0];
        QTest::keyClick(songs->Row(1), key.key(), key.keyboardModifiers());
    }
    QList<int> selection;
    for (int p = from; p <= to; ++p)
        selection << p + pages * songs->Window().PageSize();
    QCOMPARE(Selected(*songs), selection);
    QCOMPARE(int(Store().Items(Store().ShownListKey()).size()), left);
    QCOMPARE(activated.size(), played ? 1 : 0);
    if (played)
        QCOMPARE(activated[0][0].toString(), added[played - 1]);

    const QString cursor = rig->app->State().CurrentItemKey;
    if (!cursor.isEmpty() && left == 30) {
        const int position = added.indexOf(cursor) + 1;
        const int first = songs->ScrollBar()->Value();
        QVERIFY2(position >= first && position < first + songs->Window().FullRows(),
                 qPrintable(QStringLiteral("%1 not shown from %2").arg(position).arg(first)));
    }
    if (keys.contains("F2")) {
        // The box over the shown list's row; Enter there renames and plays nothing.
        QLineEdit* box = Window().txtEdit();
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), Store().ListTitle(Store().ShownListKey()));
        QCOMPARE(box->y(), Window().ctlListLeft()->y());
        box->setText(QStringLiteral("改名"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QCOMPARE(Store().ListTitle(Store().ShownListKey()), QStringLiteral("改名"));
        QCOMPARE(activated.size(), 0);
    }
}

void tst_WindowInput::wheelOverTheVolume_data() {
    QTest::addColumn<QString>("over");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("change");
    QTest::newRow("a notch up") << "volume" << QList<int>{120} << 5;
    QTest::newRow("two notches down on the thumb") << "thumb" << QList<int>{-240} << -10;
    QTest::newRow("half notches add up") << "volume" << QList<int>{60, 30, 30, 60} << 5;
    QTest::newRow("seek bar left alone") << "seek" << QList<int>{120, 120} << 0;
}

void tst_WindowInput::wheelOverTheVolume() {
    QFETCH(QString, over);
    QFETCH(QList<int>, deltas);
    QFETCH(int, change);
    frmPlayerWindow& w = rig->app->PlayerWindow();
    QWidget* target = over == "seek"    ? static_cast<QWidget*>(w.ctlProgress())
                      : over == "thumb" ? static_cast<QWidget*>(w.ctlVolume()->Thumb())
                                        : w.ctlVolume();
    const int volume = rig->app->State().Volume;
    const int seek = w.ctlProgress()->Value();
    for (int delta : deltas) {
        QWheelEvent wheel(QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    QCOMPARE(rig->app->State().Volume, volume + change);
    QCOMPARE(w.ctlVolume()->Value(), volume + change);
    QCOMPARE(w.ctlProgress()->Value(), seek);
}

QTEST_MAIN(tst_WindowInput)
#include "tst_WindowInput.moc"
