#include "skin/ModSkinFile.h"
#include "skin/RecordingPrompts.h"
#include "skin/SkinStore.h"
#include "winsvc/LegacyText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace ModSkinFile;

namespace {

const QString kRoot = QString::fromUtf8("author=\"张三\" email=\"a@b.c\" name=\"经典皮肤\" "
                                        "url=\"http://x/\" version=\"1.0\" "
                                        "transparent_color=\"#FF00FF\"");

QByteArray skinXml(const QString& rootAttributes, const QString& body) {
    const QString text = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<skin " + rootAttributes +
                         ">\n" + body + "\n</skin>\n";
    // GB18030 has the same bytes as GB2312 for every GB2312 character.
    return LegacyText::ToGb18030(text);
}

QByteArray minimalSkin(const QString& rootAttributes = kRoot) {
    return skinXml(rootAttributes, "<player_window image=\"main.bmp\"/>");
}

QByteArray playlistXml(const QString& attributes) {
    return ("<?xml version=\"1.0\"?><ttplayer_playlist><Other/><PlayList " + attributes +
            "/></ttplayer_playlist>")
        .toUtf8();
}

} // namespace

class tst_SkinFile : public QObject {
    Q_OBJECT

private slots:
    void fullSkinInGb2312();
    void loadFails_data();
    void loadFails();
    void withoutPlaylistWindowLoads();
    void firstOccurrenceCounts();
    void attributeNamesAreCaseSensitive();
    void colourMessagesInReadingOrder();
    void playlistColors_data();
    void playlistColors();
    void fileNamesIgnoreCase();
    void storeKeepsSkinWhenLoadFails();
    void storeBorrowsDefaultColours();
    void userSkinsHideShippedOnes_data();
    void userSkinsHideShippedOnes();
    void hostileSkinFileIsBroken_data();
    void hostileSkinFileIsBroken();
    void miniWindowIsOptional_data();
    void miniWindowIsOptional();

private:
    QString write(const QString& relativePath, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

QString tst_SkinFile::write(const QString& relativePath, const QByteArray& bytes) {
    const QString path = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_SkinFile::fullSkinInGb2312() {
    const QString body = QString::fromUtf8(
        "<player_window image=\"主窗口.bmp\">"
        "<play image=\"play.bmp\" position=\"10,20,30,40\" align=\"left\"/>"
        "<exit image=\"exit.bmp\" position=\"1,2,3,4\"/>"
        "<progress position=\"5,6,105,16\" bar_image=\"bar.bmp\" fill_image=\"fill.bmp\" "
        "thumb_image=\"thumb.bmp\" vertical=\"True\" buttons_image=\"b.bmp\" resize_tile=\"t\" "
        "thumb_resize_center=\"c\" thumb_resize_tile=\"d\"/>"
        "<info position=\"0,0,100,12\" color=\"#102030\" font=\"宋体\" font_size=\"9\" "
        "bkgnd=\"none\" align=\"center\"/>"
        "<icon position=\"1,1,17,17\" icon=\"app.ico\"/>"
        "<led image=\"led.bmp\" position=\"0,5,120,20\"/>"
        "</player_window>"
        "<playlist_window image=\"list.bmp\" position=\"0,0,275,232\" resize_rect=\"1,2,3,4\" "
        "hilight=\"#00FF00\">"
        "<toolbar image=\"tb.bmp\" hot_image=\"tbh.bmp\" position=\"5,200,270,220\" "
        "align=\"left bottom\"/>"
        "<scrollbar bar_image=\"sb.bmp\" thumb_image=\"st.bmp\" buttons_image=\"sbb.bmp\"/>"
        "<playlist position=\"12,20,263,190\"/>"
        "</playlist_window>");
    RecordingPrompts prompts;
    const SkinLoadResult result =
        LoadSkinFile(write("full/skin.xml", skinXml(kRoot, body)), prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    QVERIFY(prompts.messages.isEmpty());
    const SkinInfo& s = *result.Skin;
    QCOMPARE(s.Name, QString::fromUtf8("经典皮肤"));
    QCOMPARE(s.Author, QString::fromUtf8("张三"));
    QCOMPARE(s.Email, QString("a@b.c"));
    QCOMPARE(s.Url, QString("http://x/"));
    QCOMPARE(s.Version, QString("1.0"));
    QCOMPARE(s.TransparentColor, quint32(0xFF00FF));

    const PlayerWindowSkin& p = s.PlayerWindow;
    QCOMPARE(p.Image, QString::fromUtf8("主窗口.bmp"));
    QCOMPARE(p.Play, (ImageElement{{10, 20, 30, 40}, "play.bmp", "left"}));
    QCOMPARE(p.Exit, (ImageElement{{1, 2, 3, 4}, "exit.bmp", ""}));
    QCOMPARE(p.Pause, ImageElement{});
    QCOMPARE(
        p.Progress,
        (SliderElement{
            {5, 6, 105, 16}, "True", "bar.bmp", "thumb.bmp", "c", "d", "b.bmp", "t", "fill.bmp"}));
    QCOMPARE(p.Volume, SliderElement{});
    QCOMPARE(
        p.Info,
        (TextElement{{0, 0, 100, 12}, 0x302010, QString::fromUtf8("宋体"), "9", "none", "center"}));
    QCOMPARE(p.Icon, (IconElement{{1, 1, 17, 17}, "app.ico"}));
    QCOMPARE(p.Led, (ImageElement{{0, 5, 120, 20}, "led.bmp", ""}));

    const PlaylistWindowSkin& l = s.PlaylistWindow;
    QCOMPARE(l.Image, QString("list.bmp"));
    QCOMPARE(l.Position, (SkinRect{0, 0, 275, 232}));
    QCOMPARE(l.ResizeRect, (SkinRect{1, 2, 3, 4}));
    QCOMPARE(l.Hilight, quint32(0x00FF00));
    QCOMPARE(l.Toolbar, (ToolbarElement{{5, 200, 270, 220}, "tb.bmp", "tbh.bmp", "left bottom"}));
    QCOMPARE(l.Scrollbar.BarImage, QString("sb.bmp"));
    QCOMPARE(l.Scrollbar.ThumbImage, QString("st.bmp"));
    QCOMPARE(l.Scrollbar.ButtonsImage, QString("sbb.bmp"));
    QCOMPARE(l.Playlist.Position, (SkinRect{12, 20, 263, 190}));
    QCOMPARE(l.Close, ImageElement{});
}

void tst_SkinFile::loadFails_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("mentions");
    for (const char* attribute :
         {"author", "email", "name", "url", "version", "transparent_color"}) {
        QString root = kRoot;
        root.remove(QRegularExpression(QString(" ?\\b%1=\"[^\"]*\"").arg(attribute)));
        QTest::addRow("without %s", attribute) << minimalSkin(root) << QString(attribute);
    }
    QTest::newRow("Email is not email")
        << minimalSkin(QString(kRoot).replace("email=", "Email=")) << "email";
    QTest::newRow("root not skin") << QByteArray("<Skin/>") << "<skin>";
    QTest::newRow("no player_window")
        << skinXml(kRoot, "<playlist_window image=\"l.bmp\"/>") << "<player_window>";
    QTest::newRow("player_window without image")
        << skinXml(kRoot, "<player_window Image=\"m.bmp\"/>") << "\"image\"";
    QTest::newRow("player_window with an empty image")
        << skinXml(kRoot, "<player_window image=\"\"/>") << "\"image\"";
    QTest::newRow("player_window with a blank image")
        << skinXml(kRoot, "<player_window image=\"  \"/>") << "\"image\"";
    QTest::newRow("playlist window wider than 4096 px")
        << skinXml(kRoot, "<player_window image=\"m.bmp\"/>"
                          "<playlist_window position=\"0,0,4097,100\"/>")
        << "<playlist_window>";
    QTest::newRow("playlist window taller than 4096 px")
        << skinXml(kRoot, "<player_window image=\"m.bmp\"/>"
                          "<playlist_window position=\"0,-30000,100,30000\"/>")
        << "<playlist_window>";
    QTest::newRow("not well-formed") << QByteArray("<skin><player_window></skin>") << "line 1";
    QTest::newRow("empty file") << QByteArray() << "XML";
}

void tst_SkinFile::loadFails() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, mentions);
    const QString path = write("broken/skin.xml", bytes);
    RecordingPrompts prompts;
    const SkinLoadResult result = LoadSkinFile(path, prompts);
    QVERIFY(!result.Ok());
    QVERIFY2(result.Error.contains(mentions), qPrintable(result.Error));
    QVERIFY2(result.Error.contains(QDir::toNativeSeparators(path)), qPrintable(result.Error));
}

void tst_SkinFile::withoutPlaylistWindowLoads() {
    RecordingPrompts prompts;
    const SkinLoadResult result = LoadSkinFile(write("nolist/skin.xml", minimalSkin()), prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    QCOMPARE(result.Skin->PlaylistWindow, PlaylistWindowSkin{});
    QCOMPARE(result.Skin->PlayerWindow.Image, QString("main.bmp"));
    QCOMPARE(result.Skin->PlayerWindow.Play, ImageElement{});
}

void tst_SkinFile::firstOccurrenceCounts() {
    const QString body = "<player_window image=\"first.bmp\">"
                         "<play image=\"a.bmp\"/><stop image=\"s.bmp\"/><play image=\"b.bmp\"/>"
                         "</player_window>"
                         "<player_window image=\"second.bmp\"><pause image=\"p.bmp\"/>"
                         "</player_window>"
                         "<playlist_window image=\"l1.bmp\"/><playlist_window image=\"l2.bmp\"/>";
    RecordingPrompts prompts;
    const SkinLoadResult result =
        LoadSkinFile(write("dup/skin.xml", skinXml(kRoot, body)), prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    QCOMPARE(result.Skin->PlayerWindow.Image, QString("first.bmp"));
    QCOMPARE(result.Skin->PlayerWindow.Play.Image, QString("a.bmp"));
    QCOMPARE(result.Skin->PlayerWindow.Stop.Image, QString("s.bmp"));
    // The second player_window is ignored entirely.
    QCOMPARE(result.Skin->PlayerWindow.Pause.Image, QString());
    QCOMPARE(result.Skin->PlaylistWindow.Image, QString("l1.bmp"));
}

void tst_SkinFile::attributeNamesAreCaseSensitive() {
    const QString body = "<player_window image=\"m.bmp\">"
                         "<play Image=\"big.bmp\" position=\"1,2,3,4\"/><Stop image=\"s.bmp\"/>"
                         "</player_window>";
    RecordingPrompts prompts;
    const SkinLoadResult result =
        LoadSkinFile(write("case/skin.xml", skinXml(kRoot, body)), prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    QCOMPARE(result.Skin->PlayerWindow.Play, (ImageElement{{1, 2, 3, 4}, "", ""}));
    QCOMPARE(result.Skin->PlayerWindow.Stop, ImageElement{});
}

void tst_SkinFile::colourMessagesInReadingOrder() {
    const QString body = "<player_window image=\"m.bmp\">"
                         "<info color=\"red\"/><stereo color=\"\"/><status color=\"00FF00\"/>"
                         "</player_window>"
                         "<playlist_window hilight=\"blue\"/>";
    RecordingPrompts prompts;
    const QString root = QString(kRoot).replace("#FF00FF", "pink");
    const SkinLoadResult result =
        LoadSkinFile(write("colours/skin.xml", skinXml(root, body)), prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    const QString suffix = QString::fromUtf8("不是正确的颜色格式！");
    // transparent_color, then the text elements as read (status, stereo, info),
    // then the playlist window.
    QCOMPARE(prompts.messages, (QStringList{"pink" + suffix, "00FF00" + suffix, suffix,
                                            "red" + suffix, "blue" + suffix}));
    QCOMPARE(result.Skin->TransparentColor, 0u);
    QCOMPARE(result.Skin->PlayerWindow.Info.Color, 0u);
    QCOMPARE(result.Skin->PlaylistWindow.Hilight, 0u);
}

void tst_SkinFile::playlistColors_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<quint32>>(
        "expected"); // Text Hilight Bkgnd Bkgnd2 Number Duration Select
    QTest::addColumn<int>("messages");
    const QString all =
        "Color_Bkgnd=\"#000010\" Color_Bkgnd2=\"#000020\" Color_Duration=\"#000030\" "
        "Color_Hilight=\"#000040\" Color_Number=\"#000050\" "
        "Color_Text=\"#000070\" Color_Other=\"junk\"";
    QTest::newRow("all but Color_Select")
        << playlistXml(all)
        << QList<quint32>{0x700000, 0x400000, 0x100000, 0x200000, 0x500000, 0x300000, 0} << 0;
    QTest::newRow("with Color_Select")
        << playlistXml(all + " Color_Select=\"#FFFFFF\"")
        << QList<quint32>{0x700000, 0x400000, 0x100000, 0x200000, 0x500000, 0x300000, 0xFFFFFF}
        << 0;
    QTest::newRow("bad value") << playlistXml("Color_Text=\"white\" Color_Select=\"#010203\"")
                               << QList<quint32>{0, 0, 0, 0, 0, 0, 0x030201} << 1;
    QTest::newRow("lower-case element")
        << QByteArray("<ttplayer_playlist><playlist "
                      "Color_Text=\"#FFFFFF\"/></ttplayer_playlist>")
        << QList<quint32>(7, 0) << 0;
    QTest::newRow("not well-formed")
        << QByteArray("<ttplayer_playlist>") << QList<quint32>(7, 0) << 0;
}

void tst_SkinFile::playlistColors() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<quint32>, expected);
    QFETCH(int, messages);
    RecordingPrompts prompts;
    const PlaylistColors c = LoadPlaylistColors(write("colours/playlist.xml", bytes), prompts);
    QCOMPARE((QList<quint32>{c.ColorText, c.ColorHilight, c.ColorBkgnd, c.ColorBkgnd2,
                             c.ColorNumber, c.ColorDuration, c.ColorSelect}),
             expected);
    QCOMPARE(prompts.messages.size(), messages);
}

void tst_SkinFile::fileNamesIgnoreCase() {
    write("skins/Blue Sky/SKIN.XML", minimalSkin());
    write("skins/Blue Sky/PlayList.XML", playlistXml("Color_Text=\"#0000FF\""));
    RecordingPrompts prompts;
    const QString folder = m_dir.filePath("skins/blue sky");
    QVERIFY(LoadSkinFile(folder + "/skin.xml", prompts).Ok());
    QCOMPARE(LoadPlaylistColors(folder + "\\Playlist.xml", prompts).ColorText, 0xFF0000u);
    QCOMPARE(LoadPlaylistColors(folder + "/missing.xml", prompts), PlaylistColors{});
    QVERIFY(prompts.messages.isEmpty());
}

void tst_SkinFile::storeKeepsSkinWhenLoadFails() {
    write("store/Good/skin.xml", minimalSkin());
    write("store/Good/playlist.xml", playlistXml("Color_Text=\"#112233\""));
    write("store/Broken/skin.xml", minimalSkin(QString(kRoot).remove("email=\"a@b.c\"")));
    write("store/Broken/playlist.xml", playlistXml("Color_Text=\"#445566\""));
    SkinStore store(m_dir.filePath("store"));
    RecordingPrompts prompts;
    QVERIFY(!store.HasSkin());
    QString error;
    QVERIFY(store.LoadSkin("good", prompts, &error));
    QVERIFY(store.HasSkin());
    const SkinInfo before = store.Skin();
    QCOMPARE(store.CurrentSkinName(), QString("good"));
    QCOMPARE(store.Colors().ColorText, 0x332211u);

    QVERIFY(!store.LoadSkin("Broken", prompts, &error));
    QVERIFY(error.contains("email"));
    QCOMPARE(store.Skin(), before);
    QCOMPARE(store.CurrentSkinName(), QString("good"));
    QCOMPARE(store.Colors().ColorText, 0x332211u);

    QVERIFY(!store.LoadSkin("Nowhere", prompts, &error));
    QCOMPARE(store.CurrentSkinName(), QString("good"));
}

void tst_SkinFile::storeBorrowsDefaultColours() {
    write("shared/Default/skin.xml", minimalSkin());
    write("shared/Default/Playlist.xml", playlistXml("Color_Number=\"#0A0B0C\""));
    write("shared/Plain/skin.xml", minimalSkin());
    SkinStore store(m_dir.filePath("shared"));
    RecordingPrompts prompts;
    QVERIFY(store.LoadSkin("Plain", prompts));
    QCOMPARE(store.Colors().ColorNumber, 0x0C0B0Au);
    QCOMPARE(QFileInfo(store.PlaylistColorsFile("Plain")).fileName(), QString("Playlist.xml"));
}

void tst_SkinFile::userSkinsHideShippedOnes_data() {
    QTest::addColumn<QStringList>("user");
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<QStringList>("listed"); // "<root>:<name>" in menu order
    QTest::newRow("merged in natural order")
        << QStringList{"Mine", "skin10"} << QStringList{"Default", "skin9"}
        << QStringList{"shipped:Default", "user:Mine", "shipped:skin9", "user:skin10"};
    QTest::newRow("same name: the user's")
        << QStringList{"Default"} << QStringList{"Default", "Amber"}
        << QStringList{"shipped:Amber", "user:Default"};
    QTest::newRow("other case: the user's")
        << QStringList{"winamp modern"} << QStringList{"Winamp Modern"}
        << QStringList{"user:winamp modern"};
    QTest::newRow("no user skins")
        << QStringList{} << QStringList{"Default"} << QStringList{"shipped:Default"};
}

// A skin is one folder from the first skins folder that has it; a user's
// folder named like a shipped one (in any case) replaces it in the list,
// and in finding a folder by name.
void tst_SkinFile::userSkinsHideShippedOnes() {
    QFETCH(QStringList, user);
    QFETCH(QStringList, shipped);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    for (const QString& name : user)
        QVERIFY(QDir(dir.path()).mkpath("user/" + name));
    for (const QString& name : shipped)
        QVERIFY(QDir(dir.path()).mkpath("shipped/" + name));
    const SkinStore store(
        QStringList{dir.filePath("user"), dir.filePath("missing"), dir.filePath("shipped")});
    QStringList found;
    for (const ModTextFile::FolderEntry& folder : store.SkinFolders()) {
        const QString root = QFileInfo(QFileInfo(folder.Path).path()).fileName();
        found << root + ":" + folder.Name;
        QCOMPARE(store.FolderOf(folder.Name), folder.Path);
        QCOMPARE(store.FolderOf(folder.Name.toUpper()), folder.Path);
    }
    QCOMPARE(found, listed);
    // A skin found nowhere is looked for among the shipped ones.
    QCOMPARE(store.FolderOf("Nowhere"), dir.filePath("shipped/Nowhere"));
}

void tst_SkinFile::hostileSkinFileIsBroken_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << "fifo"
                          << "not a regular file";
    QTest::newRow("link to /dev/zero") << "zero"
                                       << "not a regular file";
    QTest::newRow("entity bomb") << "bomb"
                                 << "entities expand";
}

void tst_SkinFile::hostileSkinFileIsBroken() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    write("hostile/Good/skin.xml", minimalSkin());
    const QString folder = m_dir.filePath("hostile/" + kind);
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + "/skin.xml";
    if (kind == "fifo")
        QVERIFY(mkfifo(QFile::encodeName(file).constData(), 0600) == 0);
    else if (kind == "zero")
        QVERIFY(QFile::link("/dev/zero", file));
    else
        write("hostile/" + kind + "/skin.xml", "<!DOCTYPE skin [<!ENTITY e \"" +
                                                   QByteArray(200000, 'A') + "\">]><skin author='" +
                                                   QByteArray("&e;").repeated(20000) + "'/>");
    SkinStore store(m_dir.filePath("hostile"));
    RecordingPrompts prompts;
    QVERIFY(store.LoadSkin("Good", prompts));
    const SkinInfo before = store.Skin();
    QString error;
    QVERIFY(!store.LoadSkin(kind, prompts, &error));
    QVERIFY2(error.contains(QString::fromUtf8("皮肤文件错误")), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(file)), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(store.CurrentSkinName(), QString("Good"));
    QCOMPARE(store.Skin(), before);
}

QTEST_GUILESS_MAIN(tst_SkinFile)
#include "tst_SkinFile.moc"

void tst_SkinFile::miniWindowIsOptional_data() {
    QTest::addColumn<QString>("mini");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("reported"); // a text the one message holds; empty: none
    QTest::newRow("none") << "" << false << "";
    QTest::newRow("complete")
        << "<mini_window image=\"mini.bmp\"><play image=\"p.bmp\" position=\"1,2,3,4\"/>"
           "<exit image=\"x.bmp\" position=\"5,6,7,8\"/><led image=\"led.bmp\" "
           "position=\"9,1,60,20\"/><info position=\"70,2,200,15\" color=\"#102030\"/>"
           "<progress position=\"70,16,200,24\" bar_image=\"b.bmp\"/></mini_window>"
        << true << "";
    QTest::newRow("image only") << "<mini_window image=\"mini.bmp\"/>" << true << "";
    QTest::newRow("without image")
        << "<mini_window><play image=\"p.bmp\"/></mini_window>" << false << "<mini_window>";
    QTest::newRow("blank image") << "<mini_window image=\" \"/>" << false << "<mini_window>";
    QTest::newRow("Image is not image")
        << "<mini_window Image=\"m.bmp\"/>" << false << "<mini_window>";
    QTest::newRow("bad colour: reported, bar kept")
        << "<mini_window image=\"m.bmp\"><info color=\"red\"/></mini_window>" << true << "red";
}

// A skin loads with or without its mini-mode bar; only a usable one is kept,
// and a broken one is reported once.
void tst_SkinFile::miniWindowIsOptional() {
    QFETCH(QString, mini);
    QFETCH(bool, present);
    QFETCH(QString, reported);
    RecordingPrompts prompts;
    const SkinLoadResult result = LoadSkinFile(
        write("mini/skin.xml", skinXml(kRoot, "<player_window image=\"main.bmp\"/>" + mini)),
        prompts);
    QVERIFY2(result.Ok(), qPrintable(result.Error));
    QCOMPARE(result.Skin->PlayerWindow.Image, QString("main.bmp"));
    QCOMPARE(result.Skin->MiniWindow.has_value(), present);
    QCOMPARE(prompts.messages.size(), reported.isEmpty() ? 0 : 1);
    if (!reported.isEmpty())
        QVERIFY2(prompts.messages.first().contains(reported), qPrintable(prompts.messages.first()));
    if (QTest::currentDataTag() == QLatin1String("complete")) {
        const MiniWindowSkin& m = *result.Skin->MiniWindow;
        QCOMPARE(m.Image, QString("mini.bmp"));
        QCOMPARE(m.Play, (ImageElement{{1, 2, 3, 4}, "p.bmp", ""}));
        QCOMPARE(m.Exit, (ImageElement{{5, 6, 7, 8}, "x.bmp", ""}));
        QCOMPARE(m.Led, (ImageElement{{9, 1, 60, 20}, "led.bmp", ""}));
        QCOMPARE(m.Info.Position, (SkinRect{70, 2, 200, 15}));
        QCOMPARE(m.Info.Color, quint32(0x302010));
        QCOMPARE(m.Progress.BarImage, QString("b.bmp"));
        QCOMPARE(m.Pause, ImageElement{});
    }
}
