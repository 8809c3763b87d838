// The playlist store and its files: real files in temporary folders, real
// list controls offscreen.
#include "PlaylistRig.h"
#include "playlist/ModList.h"
#include "skin/ModTextFile.h"
#include "winsvc/LegacyText.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Items = QList<ModList::MlfItem>;

std::shared_ptr<CMediaInfo> media(const QString& title, const QString& path) {
    auto item = std::make_shared<CMediaInfo>();
    item->Title = title;
    item->Path = path;
    return item;
}

// Adds a list with the items (as "title=path" texts) to the rig's store.
QString addList(PlaylistRig& rig, const QString& title, const QStringList& lines) {
    const QString key = rig.store.AddPlaylist(title);
    for (const QString& line : lines)
        rig.store.AddMediaToList(media(line.section(u'=', 0, 0), line.section(u'=', 1)), key,
                                 false);
    return key;
}

// What an entry is on disk, and what a link leads to: kind, inode, size,
// mode, owner and change time, so a replaced or rewritten file shows.
QString Fingerprint(const QString& path) {
    const auto describe = [](const struct stat& st) {
        return QStringLiteral("%1/%2/%3/%4/%5.%6/%7")
            .arg(st.st_ino)
            .arg(st.st_mode, 0, 8)
            .arg(st.st_size)
            .arg(st.st_uid)
            .arg(st.st_mtim.tv_sec)
            .arg(st.st_mtim.tv_nsec)
            .arg(st.st_rdev, 0, 16);
    };
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    QString text = describe(st);
    if (S_ISLNK(st.st_mode)) {
        text += QStringLiteral(" -> ") + QFile::symLinkTarget(path);
        struct stat target {};
        if (::stat(QFile::encodeName(path).constData(), &target) == 0)
            text += QLatin1Char(' ') + describe(target);
    }
    return text;
}

// Runs this test program's row `row` of `function` as the user nobody, who
// reads only what is open to all: the test runs as root, which reads any
// file. Returns what went wrong, or nothing when the row passed there.
QString RunRowAsNobody(const char* function, const char* row) {
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        return QStringLiteral("skip: setpriv (util-linux) is missing");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), QDir::tempPath()); // nobody makes its folders there
    env.insert(QStringLiteral("HOME"), QDir::tempPath());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(setpriv,
                {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                 QStringLiteral("--clear-groups"), QStringLiteral("--"),
                 QCoreApplication::applicationFilePath(),
                 QStringLiteral("%1:%2").arg(QLatin1String(function), QLatin1String(row))});
    if (!child.waitForFinished(60000))
        return QStringLiteral("the row as nobody did not end");
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (output.contains(QStringLiteral("failed to execute")))
        return QStringLiteral("skip: nobody cannot run this test program here: ") + output;
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                        output.contains(QStringLiteral("PASS   : tst_PlaylistStore::%1(%2)")
                                            .arg(QLatin1String(function), QLatin1String(row)));
    return passed ? QString() : output;
}

} // namespace

class tst_PlaylistStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void saveIsByteExact_data();
    void saveIsByteExact();
    void titlesReadBackWithTheirPaths_data();
    void titlesReadBackWithTheirPaths();
    void readingRules_data();
    void readingRules();
    void keysComeFromOneCounter();
    void legacyAddressesAreRewritten();
    void listsWithOneTitleAreDeletedTogether();
    void deletingTheOnlyListLeavesADefault();
    void elevenListsComeBackInOrder();
    void saveMakesFolderAndRemovesStaleFiles_data();
    void saveMakesFolderAndRemovesStaleFiles();
    void unreadEntriesAreLeftAlone_data();
    void unreadEntriesAreLeftAlone();
    void listOfAnotherNameIsKeptOnce();
    void editingKeepsStoreAndRowsInStep();
    void changesAreSavedUnasked_data();
    void changesAreSavedUnasked();
    void killedSaveLeavesEachFileOldOrNew();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + QStringLiteral("/PlayList/"); }
};

void tst_PlaylistStore::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(folder()));
}

void tst_PlaylistStore::saveIsByteExact_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("chinese") << QStringLiteral("我的歌")
                             << QStringList{QStringLiteral("月亮代表我的心=C:\\音乐\\月亮.mp3"),
                                            QStringLiteral("夜曲=http://例子.cn/a.mp3?x=1")}
                             << QByteArray("\x7B\xCE\xD2\xB5\xC4\xB8\xE8\x7D\x0D\x0A"
                                           "\xD4\xC2\xC1\xC1\xB4\xFA\xB1\xED\xCE\xD2\xB5\xC4\xD0"
                                           "\xC4\x3D\x43\x3A\x5C\xD2\xF4\xC0\xD6\x5C\xD4\xC2\xC1"
                                           "\xC1\x2E\x6D\x70\x33\x0D\x0A"
                                           "\xD2\xB9\xC7\xFA\x3D\x68\x74\x74\x70\x3A\x2F\x2F\xC0"
                                           "\xFD\xD7\xD3\x2E\x63\x6E\x2F\x61\x2E\x6D\x70\x33\x3F"
                                           "\x78\x3D\x31\x0D\x0A");
    QTest::newRow("empty list is its header")
        << QStringLiteral("My Songs") << QStringList{} << QByteArray("{My Songs}\r\n");
    QTest::newRow("empty title") << QString() << QStringList{QStringLiteral("a=/m/a.mp3")}
                                 << QByteArray("{}\r\na=/m/a.mp3\r\n");
}

void tst_PlaylistStore::saveIsByteExact() {
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    PlaylistRig rig(folder());
    addList(rig, title, lines);
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(ReadBytes(folder() + QStringLiteral("0.MLF")), bytes);
    QCOMPARE(FilesIn(folder()), QStringList{QStringLiteral("0.MLF")});

    // Read back, the same list.
    PlaylistRig again(folder());
    QVERIFY(again.store.LoadPlaylists());
    QCOMPARE(again.store.ListTitle(QStringLiteral("0")), title);
    QCOMPARE(again.Lines(QStringLiteral("0")), lines);
    QVERIFY(again.prompts.messages.isEmpty());
}

void tst_PlaylistStore::titlesReadBackWithTheirPaths_data() {
    QTest::addColumn<QString>("listTitle");
    QTest::addColumn<QString>("itemTitle");
    QTest::addColumn<QString>("listTitleRead");
    QTest::addColumn<QString>("itemTitleRead");
    const QString same; // read back as written
    QTest::newRow("= in an item title") << ""
                                        << "E=MC2" << same << "E＝MC2";
    QTest::newRow("several =") << ""
                               << "a=b==c" << same << "a＝b＝＝c";
    QTest::newRow("LF injects no item")
        << ""
        << "Nice song\nInjected=/path" << same << "Nice song Injected＝/path";
    QTest::newRow("CR LF and lone CR") << ""
                                       << "a\r\nb\rc" << same << "a b c";
    QTest::newRow("} in a list title") << "Best {of} 2}"
                                       << "x"
                                       << "Best {of｝ 2｝" << same;
    QTest::newRow("line break in a list title") << "one\r\ntwo=3"
                                                << "x"
                                                << "one two=3" << same;
    QTest::newRow("spaces kept") << " list "
                                 << "  song  " << same << same;
    QTest::newRow("GB18030-only characters") << "𠀀表"
                                             << "𪚥€" << same << same;
}

void tst_PlaylistStore::titlesReadBackWithTheirPaths() {
    QFETCH(QString, listTitle);
    QFETCH(QString, itemTitle);
    QFETCH(QString, listTitleRead);
    QFETCH(QString, itemTitleRead);
    const QString path = QStringLiteral("/music/E=MC2 歌.mp3");
    PlaylistRig rig(folder());
    const QString key = rig.store.AddPlaylist(listTitle);
    rig.store.AddMediaToList(media(itemTitle, path), key, false);
    rig.store.AddMediaToList(media(QStringLiteral("next"), QStringLiteral("/m/b.mp3")), key, false);
    QVERIFY(rig.store.SavePlaylists());

    PlaylistRig again(folder());
    QVERIFY(again.store.LoadPlaylists());
    QCOMPARE(again.store.ListTitle(QStringLiteral("0")),
             listTitleRead.isNull() ? listTitle : listTitleRead);
    QCOMPARE(again.Lines(QStringLiteral("0")),
             (QStringList{(itemTitleRead.isNull() ? itemTitle : itemTitleRead) + u'=' + path,
                          QStringLiteral("next=/m/b.mp3")}));
}

void tst_PlaylistStore::readingRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("plain") << QByteArray("{A}\r\nx=/a.mp3\r\ny=/b.mp3\r\n") << "A"
                           << QStringList{"x=/a.mp3", "y=/b.mp3"};
    QTest::newRow("no brace") << QByteArray("title\r\nx=/a.mp3\r\n") << ""
                              << QStringList{"x=/a.mp3"};
    QTest::newRow("brace without close")
        << QByteArray("{abc\r\nx=/a.mp3\r\n") << "abc\r\nx=/a.mp3\r\n"
        << QStringList{"x=/a.mp3"};
    QTest::newRow("brace later in the file")
        << QByteArray("head\r\nx=/a{b}.mp3\r\n") << "b" << QStringList{"x=/a{b}.mp3"};
    QTest::newRow("A=B=C") << QByteArray("{L}\r\nA=B=C\r\n") << "L" << QStringList{"A=B=C"};
    QTest::newRow("empty lines") << QByteArray("{L}\r\n\r\nx=/a.mp3\r\n\r\n\r\ny=/b.mp3") << "L"
                                 << QStringList{"x=/a.mp3", "y=/b.mp3"};
    QTest::newRow("no trailing break")
        << QByteArray("{L}\r\nx=/a.mp3") << "L" << QStringList{"x=/a.mp3"};
    QTest::newRow("line without =")
        << QByteArray("{L}\r\njust text\r\nx=/a.mp3\r\n") << "L" << QStringList{"x=/a.mp3"};
    QTest::newRow("empty path") << QByteArray("{L}\r\nx=\r\n=/p.mp3\r\n") << "L"
                                << QStringList{"=/p.mp3"};
    QTest::newRow("header line is never an item")
        << QByteArray("{L}x=/h.mp3\r\ny=/b.mp3\r\n") << "L" << QStringList{"y=/b.mp3"};
    QTest::newRow("LF line ends") << QByteArray("{L}\nx=/a.mp3\ny=/b.mp3\n") << "L"
                                  << QStringList{"x=/a.mp3", "y=/b.mp3"};
    QTest::newRow("empty file") << QByteArray() << "" << QStringList{};
    QTest::newRow("GBK title") << QByteArray("{\xB8\xE8}\r\n\xB8\xE8=/a.mp3\r\n")
                               << QStringLiteral("歌") << QStringList{QStringLiteral("歌=/a.mp3")};
}

void tst_PlaylistStore::readingRules() {
    QFETCH(QByteArray, file);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    WriteBytes(folder() + QStringLiteral("0.MLF"), file);
    PlaylistRig rig(folder());
    QVERIFY(rig.store.LoadPlaylists());
    QCOMPARE(rig.store.ListKeys(), QStringList{QStringLiteral("0")});
    QCOMPARE(rig.store.ListTitle(QStringLiteral("0")), title);
    QCOMPARE(rig.Lines(QStringLiteral("0")), lines);
    QCOMPARE(rig.songs.Count(), lines.size());

    // What is saved reads back as the same items, however often the list
    // goes round (a title read across lines must not turn into items).
    for (int round = 0; round < 2; ++round) {
        QVERIFY(rig.store.SavePlaylists());
        PlaylistRig again(folder());
        QVERIFY(again.store.LoadPlaylists());
        QCOMPARE(again.Lines(QStringLiteral("0")), lines);
    }
}

void tst_PlaylistStore::keysComeFromOneCounter() {
    WriteBytes(folder() + "0.MLF", "{a}\r\n1=/1.mp3\r\n2=http://h/2.wmv\r\n");
    WriteBytes(folder() + "1.MLF", "{b}\r\n");
    WriteBytes(folder() + "2.MLF", "{c}\r\n3=/3.avi\r\n");
    PlaylistRig rig(folder());
    QVERIFY(rig.store.LoadPlaylists());
    QCOMPARE(rig.store.ListKeys(), (QStringList{"0", "3", "4"}));
    QCOMPARE(PlaylistRig::Rows(rig.lists), (QStringList{"a||0", "b||3", "c||4"}));
    // List "0" is shown, with its items' keys and "00:00" until lengths are known.
    QCOMPARE(rig.store.ShownListKey(), QStringLiteral("0"));
    QCOMPARE(PlaylistRig::Rows(rig.songs), (QStringList{"1|00:00|1", "2|00:00|2"}));
    const auto stream = rig.store.GetMedia("0", "2");
    QVERIFY(stream);
    QCOMPARE(stream->Source, MediaSource::FromUrl);
    QCOMPARE(stream->Types, MediaKind::Video);
    QCOMPARE(rig.store.GetMedia("4", "5")->Types, MediaKind::Video);
    QVERIFY(!rig.store.GetMedia("0", "5")); // an item of another list
    QCOMPARE(rig.store.NewKey(), QStringLiteral("6"));
}

void tst_PlaylistStore::legacyAddressesAreRewritten() {
    const QString legacy = ModList::LegacyMediaPrefix();
    const QString page = ModList::PlayPagePrefix();
    const QString upper = legacy.toUpper();
    WriteBytes(
        folder() + "0.MLF",
        ("{L}\r\na=" + legacy + "x.mp3|" + legacy + "y\r\nb=" + upper + "z.mp3\r\n").toUtf8());
    PlaylistRig rig(folder());
    QVERIFY(rig.store.LoadPlaylists());
    QCOMPARE(rig.Lines("0"),
             (QStringList{"a=" + page + "x.mp3|" + page + "y", "b=" + upper + "z.mp3"}));

    // An item added in memory is rewritten (in the record too) when saved.
    const auto added = media(QStringLiteral("c"), legacy + QStringLiteral("w.mp3"));
    rig.store.AddMediaToList(added, "0", true);
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(added->Path, page + QStringLiteral("w.mp3"));
    QCOMPARE(ReadBytes(folder() + "0.MLF"), ("{L}\r\na=" + page + "x.mp3|" + page +
                                             "y\r\nb=" + upper + "z.mp3\r\nc=" + page + "w.mp3\r\n")
                                                .toUtf8());
}

void tst_PlaylistStore::listsWithOneTitleAreDeletedTogether() {
    PlaylistRig rig(folder());
    const QString first = addList(rig, QStringLiteral("同名"), {"a=/a.mp3"});
    addList(rig, QStringLiteral("同名"), {"b=/b.mp3"});
    const QString other = addList(rig, QStringLiteral("其他"), {"c=/c.mp3", "d=/d.mp3"});
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(FilesIn(folder()), (QStringList{"0.MLF", "1.MLF", "2.MLF"}));
    rig.store.ShowPlaylist(first);

    rig.store.DeletePlaylist(first);
    QCOMPARE(FilesIn(folder()), QStringList{"2.MLF"});
    QCOMPARE(PlaylistRig::Rows(rig.lists), (QStringList{"同名||2", "其他||" + other}));
    // The first remaining list is current and shown, its first item current.
    QCOMPARE(rig.state.CurrentListKey, QStringLiteral("2"));
    QCOMPARE(rig.store.ShownListKey(), QStringLiteral("2"));
    QCOMPARE(rig.state.CurrentItemKey, QStringLiteral("3"));
    QVERIFY(rig.songs.ItemData("3")->iSelected);

    // The surviving list of that title is written again; the stale file goes.
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(FilesIn(folder()), (QStringList{"0.MLF", "1.MLF"}));
    QCOMPARE(ReadBytes(folder() + "0.MLF"), QByteArray("{\xCD\xAC\xC3\xFB}\r\nb=/b.mp3\r\n"));
}

void tst_PlaylistStore::deletingTheOnlyListLeavesADefault() {
    PlaylistRig rig(folder());
    const QString only = addList(rig, QStringLiteral("x"), {"a=/a.mp3"});
    rig.store.ShowPlaylist(only);
    rig.state.CurrentItemKey = QStringLiteral("1");
    rig.store.DeletePlaylist(only);
    QCOMPARE(PlaylistRig::Rows(rig.lists), QStringList{"[默认]||2"});
    QCOMPARE(rig.state.CurrentListKey, QStringLiteral("2"));
    QCOMPARE(rig.store.ShownListKey(), QStringLiteral("2"));
    QVERIFY(rig.state.CurrentItemKey.isEmpty());
    QCOMPARE(rig.songs.Count(), 0);
    rig.store.DeletePlaylist(QStringLiteral("99")); // unknown: nothing happens
    QCOMPARE(rig.lists.Count(), 1);
}

void tst_PlaylistStore::elevenListsComeBackInOrder() {
    PlaylistRig rig(folder());
    QStringList titles;
    for (int i = 0; i < 11; ++i) {
        titles << QStringLiteral("L%1").arg(i);
        addList(rig, titles.last(), {QStringLiteral("s=/%1.mp3").arg(i)});
    }
    QVERIFY(rig.store.SavePlaylists());
    PlaylistRig again(folder());
    QVERIFY(again.store.LoadPlaylists());
    QStringList loaded;
    for (const QString& key : again.store.ListKeys())
        loaded << again.store.ListTitle(key);
    QCOMPARE(loaded, titles);
}

void tst_PlaylistStore::unreadEntriesAreLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind :
         {"over the size cap", "FIFO", "directory", "link outside the folder",
          "link to another list", "link to a device", "link to a device node made here",
          "device node made here", "broken link", "no read permission"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// An entry named like the second list that could not be read, between two
// lists that could: loading, adding and deleting lists and saving twice
// leave it exactly as it was, and the lists around it never take its number.
void tst_PlaylistStore::unreadEntriesAreLeftAlone() {
    QFETCH(QString, kind);
    const QString entry = folder() + QStringLiteral("1.MLF");
    const QString outside = m_dir->filePath(QStringLiteral("secret.conf"));
    WriteBytes(outside, "key = value\r\n");
    WriteBytes(folder() + "0.MLF", "{a}\r\na=/a.mp3\r\n");
    WriteBytes(folder() + "2.MLF", "{c}\r\nc=/c.mp3\r\n");
    if (kind == "over the size cap") {
        QFile big(entry);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(ModTextFile::kMaxTextFileSize + 1));
    } else if (kind == "FIFO") {
        QCOMPARE(::mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
    } else if (kind == "directory") {
        QVERIFY(QDir().mkdir(entry));
    } else if (kind == "link outside the folder") {
        QVERIFY(QFile::link(outside, entry));
    } else if (kind == "link to another list") {
        QVERIFY(QFile::link(folder() + "0.MLF", entry));
    } else if (kind == "link to a device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), entry));
    } else if (kind.contains("device node made here")) {
        // A node of this test's own (the null device's numbers): a save that
        // replaced it would show on it, not on the system's /dev/null.
        const QString node =
            kind.startsWith("link") ? m_dir->filePath(QStringLiteral("null")) : entry;
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP(qPrintable(QStringLiteral("mknod is not permitted here: ") +
                             QString::fromLocal8Bit(std::strerror(errno))));
        if (node != entry)
            QVERIFY(QFile::link(node, entry));
    } else if (kind == "broken link") {
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")), entry));
    } else {
        if (::geteuid() == 0) {
            const QString failure =
                RunRowAsNobody("unreadEntriesAreLeftAlone", "no read permission");
            if (failure.startsWith(QStringLiteral("skip: ")))
                QSKIP(qPrintable(failure.mid(6)));
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            return;
        }
        WriteBytes(entry, "{b}\r\nb=/b.mp3\r\n");
        QVERIFY(QFile::setPermissions(entry, QFileDevice::WriteOwner));
    }
    // A link to a list of the folder leads to a file this run reads and
    // rewrites: the link itself must stay, its target may be replaced.
    const auto state = [&] {
        const QString print = Fingerprint(entry);
        return kind == "link to another list" ? print.section(u' ', 0, 2) : print;
    };
    const QString before = state();
    const QString outsideBefore = Fingerprint(outside);

    PlaylistRig rig(folder());
    QVERIFY(rig.store.LoadPlaylists());
    QStringList titles;
    for (const QString& key : rig.store.ListKeys())
        titles << rig.store.ListTitle(key);
    QCOMPARE(titles, (QStringList{"a", "c"}));
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(state(), before);
    rig.store.AddPlaylist(QStringLiteral("new"));
    rig.store.DeletePlaylist(rig.store.ListKeys().at(1)); // "c", and its file
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(state(), before);
    QCOMPARE(Fingerprint(outside), outsideBefore);
    QCOMPARE(ReadBytes(folder() + "0.MLF"), QByteArray("{a}\r\na=/a.mp3\r\n"));
    QCOMPARE(ReadBytes(folder() + "2.MLF"), QByteArray("{new}\r\n"));
    QVERIFY(!QFile::exists(folder() + "3.MLF"));
}

// A list read from a file that is not named by a number is saved under its
// number, and the old file goes: one copy, however often the program starts.
void tst_PlaylistStore::listOfAnotherNameIsKeptOnce() {
    WriteBytes(folder() + "rock.MLF", "{rock}\r\nr=/r.mp3\r\n");
    for (int start = 0; start < 2; ++start) {
        PlaylistRig rig(folder());
        QVERIFY(rig.store.LoadPlaylists());
        QCOMPARE(rig.store.ListKeys().size(), 1);
        QVERIFY(rig.store.SavePlaylists());
        QCOMPARE(FilesIn(folder()), QStringList{"0.MLF"});
        QCOMPARE(ReadBytes(folder() + "0.MLF"), QByteArray("{rock}\r\nr=/r.mp3\r\n"));
    }
}

// Files of an earlier run ("name=title") are read, some lists deleted, files
// put there while the program runs; after a save exactly the lists that remain
// are there, numbered in order, and nothing this run did not read is gone.
void tst_PlaylistStore::saveMakesFolderAndRemovesStaleFiles_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("deleted");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("missing folder") << QStringList{"<no folder>"} << QStringList{}
                                    << QStringList{"0.MLF", "1.MLF"} << QStringList{"a", "b"};
    QTest::newRow("numbers holding a 9 go after a delete")
        << QStringList{"9.MLF=t9", "19.MLF=t19", "90.MLF=t90"} << QStringList{"t19"}
        << QStringList{"0.MLF", "1.MLF", "2.MLF", "3.MLF"} << QStringList{"t9", "t90", "a", "b"};
    QTest::newRow("longer set before, all deleted")
        << QStringList{"0.MLF=x", "1.MLF=y", "2.MLF=x", "10.MLF=z"} << QStringList{"x", "y", "z"}
        << QStringList{"0.MLF", "1.MLF", "2.MLF"} << QStringList{"[默认]", "a", "b"};
    QTest::newRow("numbers spelt otherwise are renumbered")
        << QStringList{"01.MLF=p", "1.mlf=q", "5.mlf=r"} << QStringList{"q"}
        << QStringList{"0.MLF", "1.MLF", "2.MLF", "3.MLF"} << QStringList{"p", "r", "a", "b"};
    QTest::newRow("files not read stay")
        << QStringList{"<late>3.txt", "<late>3.MLF.bak", "<late>7.MLF"} << QStringList{}
        << QStringList{"0.MLF", "1.MLF", "3.MLF.bak", "3.txt", "7.MLF"} << QStringList{"a", "b"};
}

void tst_PlaylistStore::saveMakesFolderAndRemovesStaleFiles() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, after);
    QFETCH(QStringList, titles);
    if (before == QStringList{"<no folder>"})
        QVERIFY(QDir(folder()).removeRecursively());
    for (const QString& entry : before) {
        if (!entry.startsWith(u'<'))
            WriteBytes(folder() + entry.section(u'=', 0, 0),
                       "{" + entry.section(u'=', 1).toUtf8() + "}\r\n");
    }
    PlaylistRig rig(folder());
    rig.store.LoadPlaylists();
    for (const QString& title : deleted) {
        for (const QString& key : rig.store.ListKeys())
            if (rig.store.ListTitle(key) == title)
                rig.store.DeletePlaylist(key);
    }
    for (const QString& entry : before) {
        if (entry.startsWith(QStringLiteral("<late>")))
            WriteBytes(folder() + entry.mid(6), "{late}\r\n");
    }
    addList(rig, "a", {"x=/x.mp3"});
    addList(rig, "b", {});
    QVERIFY(rig.store.SavePlaylists());
    QCOMPARE(FilesIn(folder()), after);
    for (int n = 0; n < titles.size(); ++n)
        QCOMPARE(ModList::ParseTitle(
                     LegacyText::FromGb18030(ReadBytes(folder() + ModList::NumberedFileName(n)))),
                 titles[n]);
    QVERIFY(rig.prompts.messages.isEmpty());
}

// Each change reaches the files by itself, soon; a list the change did not
// touch keeps its bytes (undecodable ones included), moved with it when its
// number changes, and a rewritten file keeps its mode.
void tst_PlaylistStore::changesAreSavedUnasked_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("lists");       // "title:line,line" per file, in order
    QTest::addColumn<QStringList>("keptBytesOf"); // per file: the old file it still is, or ""
    QTest::newRow("item added") << "add" << QStringList{"a:1=/1.mp3,n=/n.mp3", "b:"}
                                << QStringList{"", "1.MLF"};
    QTest::newRow("item removed") << "remove" << QStringList{"a:", "b:"}
                                  << QStringList{"", "1.MLF"};
    QTest::newRow("list renamed") << "rename" << QStringList{"z:1=/1.mp3", "b:"}
                                  << QStringList{"", "1.MLF"};
    QTest::newRow("list cleared") << "clear" << QStringList{"a:1=/1.mp3", "b:"}
                                  << QStringList{"0.MLF", ""};
    QTest::newRow("list added") << "list" << QStringList{"a:1=/1.mp3", "b:", "new:"}
                                << QStringList{"0.MLF", "1.MLF", ""};
    QTest::newRow("list deleted: the next moves, bytes and all")
        << "delete" << QStringList{"b:"} << QStringList{"1.MLF"};
}

void tst_PlaylistStore::changesAreSavedUnasked() {
    QFETCH(QString, change);
    QFETCH(QStringList, lists);
    QFETCH(QStringList, keptBytesOf);
    const QByteArray first = "{a}\r\n1=/1.mp3\r\n";
    // 0xE9 before "=" is no GB18030 character: read, it is not what a
    // rewrite would give back.
    const QByteArray second = "{b}\r\ncaf\xE9=/caf\xE9.mp3\r\n";
    const QHash<QString, QByteArray> old{{"0.MLF", first}, {"1.MLF", second}};
    WriteBytes(folder() + "0.MLF", first);
    WriteBytes(folder() + "1.MLF", second);
    QVERIFY(QFile::setPermissions(folder() + "0.MLF",
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    PlaylistRig rig(folder());
    QVERIFY(rig.store.LoadPlaylists());
    rig.store.EnableSaveOnChange(20);
    const QString a = rig.store.ListKeys().at(0);
    const QString b = rig.store.ListKeys().at(1);
    if (change == "add")
        rig.store.AddMediaToList(media("n", "/n.mp3"), a, false);
    else if (change == "remove")
        rig.store.RemoveMediaFromList(a, rig.store.Items(a).front()->Key);
    else if (change == "clear")
        rig.store.ClearPlaylist(b);
    else if (change == "list")
        rig.store.AddPlaylist("new");
    else if (change == "delete")
        rig.store.DeletePlaylist(a);
    else if (change == "rename") {
        CListItem row = *rig.lists.ItemData(a);
        row.iTitle = "z";
        rig.lists.SetItemData(a, row);
        rig.store.NoteChanged();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!rig.store.SavePending(), 5000);
    QCOMPARE(FilesIn(folder()).size(), lists.size());
    for (int n = 0; n < lists.size(); ++n) {
        const QString name = ModList::NumberedFileName(n);
        if (!keptBytesOf[n].isEmpty())
            QCOMPARE(ReadBytes(folder() + name), old.value(keptBytesOf[n]));
    }
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(folder() + "0.MLF").constData(), &st), 0);
    if (keptBytesOf[0].isEmpty())
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
    PlaylistRig again(folder());
    QVERIFY(again.store.LoadPlaylists());
    QStringList found;
    for (const QString& key : again.store.ListKeys()) {
        QStringList lines = again.Lines(key);
        // b's item, whose bytes do not decode, is checked byte for byte above.
        lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("caf")); });
        found << again.store.ListTitle(key) + u':' + lines.join(u',');
    }
    QCOMPARE(found, lists);
    QVERIFY(rig.prompts.messages.isEmpty());
}

void tst_PlaylistStore::editingKeepsStoreAndRowsInStep() {
    PlaylistRig rig(folder());
    const QString a = addList(rig, "a", {"1=/1.mp3", "2=/2.mp3", "3=/3.mp3"});
    const QString b = addList(rig, "b", {"4=/4.mp3"});
    rig.store.ShowPlaylist(a);
    rig.store.RemoveMediaFromList(a, "2");
    rig.store.RemoveMediaFromList(a, "77"); // unknown: nothing
    QCOMPARE(rig.Lines(a), (QStringList{"1=/1.mp3", "3=/3.mp3"}));
    QCOMPARE(PlaylistRig::Rows(rig.songs), (QStringList{"1|00:00|1", "3|00:00|3"}));
    // The same file twice: two items, two keys.
    const auto again = media("1", "/1.mp3");
    QCOMPARE(rig.store.AddMediaToList(again, a, true), QStringLiteral("6"));
    QCOMPARE(rig.songs.Count(), 3);
    // Clearing a list that is not shown leaves the shown rows alone.
    rig.store.ClearPlaylist(b);
    QVERIFY(rig.store.Items(b).empty());
    QCOMPARE(rig.songs.Count(), 3);
    rig.store.ClearPlaylist(a);
    QCOMPARE(rig.songs.Count(), 0);
    QVERIFY(rig.store.Items(a).empty());
}

// A saver process is killed at random moments while it rewrites every file
// in turn with one of two contents; whatever moment it dies, each file holds
// one of them whole.
void tst_PlaylistStore::killedSaveLeavesEachFileOldOrNew() {
    PlaylistRig one(folder());
    PlaylistRig two(folder());
    QList<QByteArray> firstBytes, secondBytes;
    for (int list = 0; list < 4; ++list) {
        QStringList lines, other;
        for (int i = 0; i < 3000; ++i) {
            lines << QStringLiteral("歌%1=/音乐/%2/%1.mp3").arg(i).arg(list);
            other << QStringLiteral("曲%1=/other/%2/%1.wma").arg(i).arg(list);
        }
        addList(one, QStringLiteral("一%1").arg(list), lines);
        addList(two, QStringLiteral("二%1").arg(list), other);
    }
    QVERIFY(two.store.SavePlaylists());
    for (int n = 0; n < 4; ++n)
        secondBytes << ReadBytes(folder() + ModList::NumberedFileName(n));
    QVERIFY(one.store.SavePlaylists());
    for (int n = 0; n < 4; ++n)
        firstBytes << ReadBytes(folder() + ModList::NumberedFileName(n));

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int pass = 0; pass < 1000; ++pass)
                (pass % 2 ? one : two).store.SavePlaylists();
            _exit(0);
        }
        usleep(random.bounded(2000u, 40000u));
        kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        for (int n = 0; n < 4; ++n) {
            const QByteArray now = ReadBytes(folder() + ModList::NumberedFileName(n));
            if (now != firstBytes[n] && now != secondBytes[n])
                QFAIL(qPrintable(QStringLiteral("file %1 torn in round %2 (seed %3)")
                                     .arg(n)
                                     .arg(round)
                                     .arg(seed)));
        }
    }
}

QTEST_MAIN(tst_PlaylistStore)
#include "tst_PlaylistStore.moc"
