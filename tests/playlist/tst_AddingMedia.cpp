// Adding files and streams to the current list, and the background reading
// of item information, against real tagged files.
#include "PlaylistRig.h"
#include "playback/FormatDuration.h"
#include "playback/MediaTagReader.h"
#include "playback/modFile.h"
#include "playlist/MediaAdder.h"
#include "playlist/ModList.h"
#include "support/TestMedia.h"
#include "winsvc/LegacyText.h"

#include <QTemporaryDir>

namespace {

// What reading every item at once gives: the length (and for added files
// the tag title) as the tag reader reports it.
QString eagerDuration(const QString& path) {
    const QString text = MediaTagReader::Read(path).getItemInfo(QStringLiteral("Duration"));
    return text.isEmpty() ? QStringLiteral("00:00") : FormatDuration(text.toDouble());
}

QString eagerTitle(const QString& path) {
    const QString title = MediaTagReader::Read(path).getItemInfo(QStringLiteral("title"));
    return title.isEmpty() ? modFile::GetFileTitle(path) : title;
}

} // namespace

class tst_AddingMedia : public QObject {
    Q_OBJECT
private slots:
    void init();
    void loadShowsListsFirstAndFillsLikeEagerReading();
    void storeGoneWhileReadingIsSafe();
    void addFilesFromTheDialogThenTags();
    void addFilesCancelledAddsNothing();
    void fewFilesShowTheirTagTitlesAtOnce_data();
    void fewFilesShowTheirTagTitlesAtOnce();
    void addUrl_data();
    void addUrl();
    void addByKind_data();
    void addByKind();
    void addLink();

private:
    QString mediaFile(const QString& name, const QByteArray& data);
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_lists;
};

void tst_AddingMedia::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_lists = m_dir->path() + QStringLiteral("/PlayList/");
    QVERIFY(QDir().mkpath(m_lists));
}

QString tst_AddingMedia::mediaFile(const QString& name, const QByteArray& data) {
    const QString path = m_dir->filePath(name);
    if (!TestMedia::WriteFile(path, data))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_AddingMedia::loadShowsListsFirstAndFillsLikeEagerReading() {
    QStringList first, second;
    for (int i = 0; i < 60; ++i) {
        const QString path =
            mediaFile(QStringLiteral("s%1.mp3").arg(i), TestMedia::SilentMp3(0.4 + 0.1 * (i % 20)));
        (i % 2 ? second : first) << QStringLiteral("歌%1=").arg(i) + path;
    }
    first << QStringLiteral("wav=") + mediaFile("w.wav", TestMedia::SilentWav(61.5));
    first << QStringLiteral("gone=") + m_dir->filePath("missing.mp3");
    first << QStringLiteral("stream=http://127.0.0.1:9/live.mp3");
    WriteBytes(m_lists + "0.MLF", LegacyText::ToGb18030("{a}\r\n" + first.join("\r\n")));
    WriteBytes(m_lists + "1.MLF", LegacyText::ToGb18030("{b}\r\n" + second.join("\r\n")));

    PlaylistRig rig(m_lists);
    QVERIFY(rig.store.LoadPlaylists());
    // Everything shows at once, with lengths still unknown.
    QCOMPARE(rig.songs.Count(), first.size());
    for (const QString& row : PlaylistRig::Rows(rig.songs))
        QCOMPARE(row.section(u'|', 1, 1), QStringLiteral("00:00"));
    QVERIFY(rig.store.InfoReader().Pending() > 0);
    // Meanwhile the user switches lists and removes an item.
    const QString secondKey = rig.store.ListKeys().at(1);
    rig.store.ShowPlaylist(secondKey);
    const auto removed = rig.store.Items(secondKey).at(3);
    rig.store.RemoveMediaFromList(secondKey, removed->Key);

    QVERIFY(rig.WaitForItemInfo());
    QCOMPARE(rig.store.InfoReader().Pending(), 0);
    for (const QString& key : rig.store.ListKeys()) {
        for (const auto& item : rig.store.Items(key)) {
            QCOMPARE(item->Duration, eagerDuration(item->Path));
            QVERIFY(!item->Title.isEmpty());
        }
    }
    // Loaded items keep the title of their line.
    QCOMPARE(rig.store.Items(rig.store.ListKeys().at(0)).front()->Title, QStringLiteral("歌0"));
    // A length past a minute, and what the engine cannot read.
    QStringList lengths;
    for (const auto& item : rig.store.Items(rig.store.ListKeys().at(0)))
        lengths << item->Title + u'=' + item->Duration;
    QCOMPARE(lengths.mid(lengths.size() - 3),
             (QStringList{"wav=01:02", "gone=00:00", "stream=00:00"}));
    QCOMPARE(removed->Duration, eagerDuration(removed->Path));
    QStringList expectedRows;
    for (const auto& item : rig.store.Items(secondKey))
        expectedRows << item->Title + u'|' + item->Duration + u'|' + item->Key;
    QCOMPARE(PlaylistRig::Rows(rig.songs), expectedRows);
}

void tst_AddingMedia::storeGoneWhileReadingIsSafe() {
    const QString path = mediaFile("x.mp3", TestMedia::SilentMp3(0.5));
    QStringList lines{QStringLiteral("{a}")};
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("x=") + path;
    WriteBytes(m_lists + "0.MLF", lines.join("\r\n").toUtf8());
    for (int round = 0; round < 5; ++round) {
        auto rig = std::make_unique<PlaylistRig>(m_lists);
        QVERIFY(rig->store.LoadPlaylists());
        QCoreApplication::processEvents();
        rig.reset(); // results still on their way are dropped with the store
        QCoreApplication::processEvents();
    }
}

void tst_AddingMedia::addFilesFromTheDialogThenTags() {
    const QStringList files{
        mediaFile("b.mp3", TestMedia::SilentMp3(1.2, "\xD4\xC2\xC1\xC1")),
        mediaFile("a.mp3", TestMedia::SilentMp3(0.5)),
        mediaFile("c.mp3", TestMedia::SilentMp3WithId3v1(2.6, "Night")),
    };
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    MediaAdder adder(rig.store, rig.prompts);
    rig.prompts.files = files;
    QCOMPARE(adder.AddFiles(), (QStringList{"1", "2", "3"}));
    // The selection was made current; rows come in the dialog's order,
    // titled by file name until the tags are read.
    QCOMPARE(rig.state.CurrentListKey, QStringLiteral("0"));
    QCOMPARE(PlaylistRig::Rows(rig.songs).at(1), QStringLiteral("a|00:00|2"));
    QVERIFY(rig.WaitForItemInfo());
    QCOMPARE(PlaylistRig::Rows(rig.songs),
             (QStringList{QStringLiteral("月亮|") + eagerDuration(files[0]) + "|1",
                          "a|" + eagerDuration(files[1]) + "|2",
                          "Night|" + eagerDuration(files[2]) + "|3"}));
    for (const auto& item : rig.store.Items("0")) {
        QCOMPARE(item->Title, eagerTitle(item->Path));
        QCOMPARE(item->Source, MediaSource::FromFile);
    }
    QCOMPARE(rig.store.GetMedia("0", "3")->Duration, QStringLiteral("00:03"));
}

// Up to four files are read as they are added (the one played right away
// shows its tag title); more are read in the background.
void tst_AddingMedia::fewFilesShowTheirTagTitlesAtOnce_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("atOnce");
    QTest::newRow("one") << 1 << true;
    QTest::newRow("exactly four") << 4 << true;
    QTest::newRow("five: in the background") << 5 << false;
}

void tst_AddingMedia::fewFilesShowTheirTagTitlesAtOnce() {
    QFETCH(int, count);
    QFETCH(bool, atOnce);
    QStringList files;
    for (int i = 0; i < count; ++i)
        files << mediaFile(QStringLiteral("f%1.mp3").arg(i),
                           TestMedia::SilentMp3(0.5, "Tag " + QByteArray::number(i)));
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    MediaAdder adder(rig.store, rig.prompts);
    rig.prompts.files = files;
    QCOMPARE(adder.AddFiles().size(), count);
    const auto titles = [&] {
        QStringList shown;
        for (int row = 1; row <= rig.songs.Count(); ++row)
            shown << rig.songs.ItemData(row)->iTitle;
        return shown;
    };
    QStringList tagged;
    for (int i = 0; i < count; ++i)
        tagged << QStringLiteral("Tag %1").arg(i);
    if (atOnce)
        QCOMPARE(titles(), tagged);
    else
        QCOMPARE(titles().first(), QStringLiteral("f0"));
    QVERIFY(rig.WaitForItemInfo());
    QCOMPARE(titles(), tagged);
}

void tst_AddingMedia::addFilesCancelledAddsNothing() {
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    MediaAdder adder(rig.store, rig.prompts);
    QVERIFY(adder.AddFiles().isEmpty());
    QVERIFY(adder.AddFiles(QString()).isEmpty());
    QCOMPARE(rig.songs.Count(), 0);
    QVERIFY(rig.prompts.messages.isEmpty());
}

void tst_AddingMedia::addUrl_data() {
    QTest::addColumn<std::optional<QString>>("argument");
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("asked");
    const QString url = QStringLiteral("http://host/dir/song.mp3");
    QTest::newRow("argument") << std::optional(url) << std::optional<QString>()
                              << QStringList{"song|00:00|1"} << false;
    QTest::newRow("input box") << std::optional<QString>() << std::optional(url)
                               << QStringList{"song|00:00|1"} << true;
    QTest::newRow("cancelled") << std::optional<QString>() << std::optional<QString>()
                               << QStringList{} << true;
    QTest::newRow("empty answer") << std::optional<QString>() << std::optional(QString())
                                  << QStringList{} << true;
    // Saved, the rest would be read back as another item.
    QTest::newRow("line break refused")
        << std::optional(url + QStringLiteral("\r\nInjected=/etc/passwd"))
        << std::optional<QString>() << QStringList{} << false;
    QTest::newRow("typed line break refused")
        << std::optional<QString>() << std::optional(url + QStringLiteral("\nx=/y"))
        << QStringList{} << true;
}

void tst_AddingMedia::addUrl() {
    QFETCH(std::optional<QString>, argument);
    QFETCH(std::optional<QString>, answer);
    QFETCH(QStringList, rows);
    QFETCH(bool, asked);
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    rig.prompts.input = answer;
    MediaAdder adder(rig.store, rig.prompts);
    adder.AddUrl(argument);
    QCOMPARE(PlaylistRig::Rows(rig.songs), rows);
    QCOMPARE(rig.prompts.inputPrompts, asked ? QStringList{"输入Url地址"} : QStringList{});
    const bool refused = QTest::currentDataTag() == QByteArray("line break refused") ||
                         QTest::currentDataTag() == QByteArray("typed line break refused");
    QCOMPARE(rig.prompts.messages, refused ? QStringList{"无法播放该媒体"} : QStringList{});
    if (!rows.isEmpty())
        QCOMPARE(rig.store.GetMedia("0", "1")->Source, MediaSource::FromUrl);
}

void tst_AddingMedia::addByKind_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("source"); // -1: nothing added
    QTest::addColumn<bool>("linkAsked");
    QTest::newRow("local path") << "<file>" << 0 << false;
    QTest::newRow("stream") << "mms://host/live" << 1 << false;
    QTest::newRow("own link") << "melodeck://singer=a&song=b&type=1" << -1 << true;
    QTest::newRow("other link") << "ppstream://x" << -1 << false;
}

void tst_AddingMedia::addByKind() {
    QFETCH(QString, text);
    QFETCH(int, source);
    QFETCH(bool, linkAsked);
    if (text == QLatin1String("<file>"))
        text = mediaFile("one.wav", TestMedia::SilentWav(0.5));
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    MediaAdder adder(rig.store, rig.prompts);
    QStringList linksAsked;
    // Without the network side an own link adds nothing; with it, the link
    // goes to it unchanged.
    QVERIFY(adder.AddByKind(text).isEmpty() == (source < 0));
    adder.SetLinkResolver([&](const QString& link) {
        linksAsked << link;
        return PlaylistStore::Record();
    });
    adder.AddByKind(text);
    QCOMPARE(linksAsked, linkAsked ? QStringList{text} : QStringList{});
    QCOMPARE(rig.songs.Count(), source < 0 ? 0 : 2);
    if (source >= 0)
        QCOMPARE(int(rig.store.GetMedia("0", "1")->Source), source);
    QCOMPARE(rig.state.CurrentListKey, source < 0 && !linkAsked ? QString() : QStringLiteral("0"));
}

// A resolved link becomes one item of the current list, marked as a link,
// with every candidate address kept for the fall-back; a cancelled input box
// adds nothing and never reaches the resolver.
void tst_AddingMedia::addLink() {
    PlaylistRig rig(m_lists);
    rig.store.ShowPlaylist(rig.store.AddPlaylist("x"));
    MediaAdder adder(rig.store, rig.prompts);
    int resolved = 0;
    adder.SetLinkResolver([&](const QString&) {
        ++resolved;
        auto media = std::make_shared<CMediaInfo>();
        media->Path = QStringLiteral("http://h/a.mp3");
        media->Title = QStringLiteral("晴天");
        media->UrlCol = {QStringLiteral("http://h/a.mp3"), QStringLiteral("http://h/b.mp3")};
        return media;
    });
    QVERIFY(adder.AddLink(QString()).isEmpty());
    QCOMPARE(resolved, 0);
    const QStringList keys = adder.AddLink(QStringLiteral("melodeck://singer=a&song=b&type=1"));
    QCOMPARE(keys.size(), 1);
    const auto media = rig.store.GetMedia(QStringLiteral("0"), keys.first());
    QCOMPARE(int(media->Source), int(MediaSource::FromLink));
    QCOMPARE(media->UrlCol.size(), 2);
    QCOMPARE(rig.songs.Count(), 1);
}

QTEST_MAIN(tst_AddingMedia)
#include "tst_AddingMedia.moc"
