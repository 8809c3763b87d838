#include "skin/ModSkinFile.h"
#include "skin/RecordingPrompts.h"
#include "skin/SkinPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// Checks the skins the build ships in the program directory: they load,
// every picture they name exists in the layout its control expects, the
// windows have shaped outlines with clean edges, and the generator that
// draws them writes the same bytes on every run.

namespace {

constexpr QRgb kMask = 0xFFFF00FF;

QString buildDir() {
    return QCoreApplication::applicationDirPath() + "/..";
}

QString skinsDir() {
    return buildDir() + "/bin/skin";
}

QString generator() {
    return buildDir() + "/tools/melodeck_skingen";
}

bool isMask(QRgb c) {
    return (c | 0xFF000000) == kMask;
}

int maskPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isMask(image.pixel(x, y));
    return n;
}

// Perceived brightness, 0..255.
int luma(quint32 colorref) {
    const int r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

QMap<QString, QByteArray> readTree(const QString& root) {
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(path), file.readAll());
    }
    return files;
}

} // namespace

class tst_ShippedSkins : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startAndFallbackSkinsShipped();
    void descriptionsLoad_data();
    void descriptionsLoad();
    void playerPicturesFitTheirControls_data();
    void playerPicturesFitTheirControls();
    void playlistPicturesFitTheirControls_data();
    void playlistPicturesFitTheirControls();
    void windowsHaveShapedOutlines_data();
    void windowsHaveShapedOutlines();
    void edgesAreCrisp_data();
    void edgesAreCrisp();
    void generatorIsDeterministic();

private:
    void skinRows();
    SkinInfo load(const QString& folder);
    // The named picture of a skin: exists, is an uncompressed 24-bit BMP,
    // loads. Fails the test otherwise.
    QImage picture(const QString& folder, const QString& name);
    QStringList m_skins;
};

void tst_ShippedSkins::initTestCase() {
    const QDir dir(skinsDir());
    if (!dir.exists())
        QFAIL(
            qPrintable("no skins at " + dir.absolutePath() + "; build the melodeck_skins target"));
    m_skins = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

void tst_ShippedSkins::skinRows() {
    QTest::addColumn<QString>("folder");
    for (const QString& skin : m_skins)
        QTest::newRow(qPrintable(skin)) << QString(skinsDir() + "/" + skin);
}

SkinInfo tst_ShippedSkins::load(const QString& folder) {
    RecordingPrompts prompts;
    const SkinLoadResult result =
        ModSkinFile::LoadSkinFile(SkinPaths::Join(folder, "skin.xml"), prompts);
    if (!result.Ok())
        qWarning("%s", qPrintable(result.Error));
    if (!prompts.messages.isEmpty())
        qWarning("%s", qPrintable(prompts.messages.join('\n')));
    return result.Ok() && prompts.messages.isEmpty() ? *result.Skin : SkinInfo();
}

QImage tst_ShippedSkins::picture(const QString& folder, const QString& name) {
    [&] {
        QVERIFY2(!name.isEmpty(), "a picture name is missing");
        QFile file(SkinPaths::Join(folder, name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray head = file.read(54);
        QVERIFY2(head.size() == 54 && head.startsWith("BM"), qPrintable(name + " is no BMP"));
        QCOMPARE(qFromLittleEndian<quint16>(head.constData() + 28), quint16(24));
        QCOMPARE(qFromLittleEndian<quint32>(head.constData() + 30), quint32(0));
    }();
    return QImage(SkinPaths::Join(folder, name));
}

void tst_ShippedSkins::startAndFallbackSkinsShipped() {
    // The player starts with "Winamp Modern"; skins without colours of
    // their own borrow those of "default".
    for (const QString& name : {QStringLiteral("Winamp Modern"), QStringLiteral("default")}) {
        const QString folder = SkinPaths::Join(skinsDir(), name);
        QVERIFY2(QFileInfo(SkinPaths::Join(folder, "skin.xml")).isFile(), qPrintable(name));
        QVERIFY2(QFileInfo(SkinPaths::Join(folder, "Playlist.xml")).isFile(), qPrintable(name));
    }
    QVERIFY(m_skins.size() >= 3);
}

void tst_ShippedSkins::descriptionsLoad_data() {
    skinRows();
}

void tst_ShippedSkins::descriptionsLoad() {
    QFETCH(QString, folder);
    const SkinInfo skin = load(folder);
    QVERIFY(!skin.PlayerWindow.Image.isEmpty());
    QCOMPARE(skin.TransparentColor, quint32(0xFF00FF));
    QCOMPARE(skin.Name, QFileInfo(folder).fileName());

    RecordingPrompts prompts;
    const PlaylistColors c =
        ModSkinFile::LoadPlaylistColors(SkinPaths::Join(folder, "playlist.xml"), prompts);
    QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.join('\n')));
    // 0 would read as "unset" (a white selection), so every colour is set.
    for (const quint32 colour : {c.ColorText, c.ColorHilight, c.ColorBkgnd, c.ColorBkgnd2,
                                 c.ColorNumber, c.ColorDuration, c.ColorSelect})
        QVERIFY(colour != 0);
    // Rows alternate between two close backgrounds; every text stays readable on both.
    QVERIFY(c.ColorBkgnd != c.ColorBkgnd2);
    QVERIFY(std::abs(luma(c.ColorBkgnd) - luma(c.ColorBkgnd2)) < 40);
    for (const quint32 back : {c.ColorBkgnd, c.ColorBkgnd2}) {
        QVERIFY(std::abs(luma(c.ColorText) - luma(back)) >= 100);
        for (const quint32 text : {c.ColorNumber, c.ColorDuration, c.ColorSelect})
            QVERIFY(std::abs(luma(text) - luma(back)) >= 60);
    }
}

void tst_ShippedSkins::playerPicturesFitTheirControls_data() {
    skinRows();
}

void tst_ShippedSkins::playerPicturesFitTheirControls() {
    QFETCH(QString, folder);
    const PlayerWindowSkin p = load(folder).PlayerWindow;
    const QImage back = picture(folder, p.Image);
    QVERIFY(!back.isNull());
    const QRect window = back.rect();
    auto rectOf = [](const SkinRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); };

    // Buttons: a four-frame strip whose frame is the element's rectangle.
    for (const ImageElement* b :
         {&p.Play, &p.Pause, &p.Stop, &p.Prev, &p.Next, &p.Mute, &p.Open, &p.Lyric, &p.Equalizer,
          &p.Playlist, &p.Minimize, &p.Minimode, &p.Exit}) {
        const QImage strip = picture(folder, b->Image);
        QVERIFY2(strip.width() % 4 == 0, qPrintable(b->Image));
        QCOMPARE(QSize(strip.width() / 4, strip.height()), rectOf(b->Position).size());
        QVERIFY2(window.contains(rectOf(b->Position)), qPrintable(b->Image));
    }
    QCOMPARE(p.Play.Position, p.Pause.Position); // only one of the two shows at a time

    // The time display: twelve glyphs, six cells placed by the right edge.
    const QImage led = picture(folder, p.Led.Image);
    QCOMPARE(led.width() % 12, 0);
    QCOMPARE(6 * (led.width() / 12), p.Led.Position.Width());
    QCOMPARE(led.height(), p.Led.Position.Height());
    QVERIFY(window.contains(rectOf(p.Led.Position)));

    // Sliders: bar as wide as the slider, thumb as high as it, fill inside the bar.
    for (const SliderElement* s : {&p.Progress, &p.Volume}) {
        const QImage bar = picture(folder, s->BarImage);
        const QImage fill = picture(folder, s->FillImage);
        const QImage thumb = picture(folder, s->ThumbImage);
        QCOMPARE(thumb.width() % 4, 0);
        QCOMPARE(thumb.height(), s->Position.Height());
        QCOMPARE(bar.size(), rectOf(s->Position).size());
        QCOMPARE(fill.width(), bar.width());
        QVERIFY(fill.height() < bar.height());
        QVERIFY(thumb.width() / 4 < s->Position.Width() / 2);
        QVERIFY(window.contains(rectOf(s->Position)));
    }
    for (const TextElement* t : {&p.Info, &p.Stereo, &p.Status}) {
        QVERIFY(t->Position.Width() > 0 && t->Position.Height() >= 10);
        QVERIFY(window.contains(rectOf(t->Position)));
        QVERIFY(t->Color != 0);
    }
}

void tst_ShippedSkins::playlistPicturesFitTheirControls_data() {
    skinRows();
}

void tst_ShippedSkins::playlistPicturesFitTheirControls() {
    QFETCH(QString, folder);
    const SkinInfo skin = load(folder);
    const PlaylistWindowSkin p = skin.PlaylistWindow;
    auto rectOf = [](const SkinRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); };
    const QImage back = picture(folder, p.Image);
    QCOMPARE(back.size(), rectOf(p.Position).size());
    // The window opens as wide as the player window, and its designed size
    // is its minimum, so the two must agree.
    QCOMPARE(back.width(), picture(folder, skin.PlayerWindow.Image).width());
    const QRect window = back.rect();
    const QRect resize = rectOf(p.ResizeRect);
    QVERIFY(resize.isValid() && window.adjusted(1, 1, -1, -1).contains(resize));
    QVERIFY(window.contains(rectOf(p.Playlist.Position)) && p.Playlist.Position.Height() > 100);

    const QImage close = picture(folder, p.Close.Image);
    QCOMPARE(close.width() % 4, 0);
    QCOMPARE(QSize(close.width() / 4, close.height()), rectOf(p.Close.Position).size());
    QVERIFY(window.contains(rectOf(p.Close.Position)));

    const QImage title = picture(folder, p.Title.Image);
    QVERIFY(title.width() < window.width() / 2 && title.height() <= 20);
    QCOMPARE(maskPixels(title), 0); // shown as is, without a cut-out

    const QImage tools = picture(folder, p.Toolbar.Image);
    QCOMPARE(tools.width() % 7, 0);
    QCOMPARE(picture(folder, p.Toolbar.HotImage).size(), tools.size());
    QVERIFY(p.Toolbar.Align.contains("bottom"));
    QVERIFY(window.contains(
        QRect(QPoint(p.Toolbar.Position.Left, p.Toolbar.Position.Top), tools.size())));

    // The scroll bar cuts nothing out, so its pictures must be opaque.
    const QImage arrows = picture(folder, p.Scrollbar.ButtonsImage);
    const QImage thumb = picture(folder, p.Scrollbar.ThumbImage);
    const QImage bar = picture(folder, p.Scrollbar.BarImage);
    QCOMPARE(arrows.width() % 3, 0);
    QCOMPARE(arrows.height() % 2, 0);
    QCOMPARE(thumb.width(), arrows.width());
    QCOMPARE(bar.width(), arrows.width() / 3);
    for (const QImage* image : {&arrows, &thumb, &bar})
        QCOMPARE(maskPixels(*image), 0);
}

void tst_ShippedSkins::windowsHaveShapedOutlines_data() {
    skinRows();
}

void tst_ShippedSkins::windowsHaveShapedOutlines() {
    QFETCH(QString, folder);
    const SkinInfo skin = load(folder);
    for (const QString& name : {skin.PlayerWindow.Image, skin.PlaylistWindow.Image}) {
        const QImage back = picture(folder, name);
        const int w = back.width(), h = back.height();
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            QVERIFY2(isMask(back.pixel(corner)), qPrintable(name));
        QVERIFY(!isMask(back.pixel(w / 2, h / 2)) && !isMask(back.pixel(w / 2, 0)));
        QVERIFY(maskPixels(back) < w * h / 50); // a rounded outline, not a cut-out body
    }
}

void tst_ShippedSkins::edgesAreCrisp_data() {
    skinRows();
}

// Outline pixels are either exactly the mask colour or a colour of the
// skin: no half-blend with magenta (a purple fringe) next to a cut-out.
// Button looks differ from each other and no frame is empty.
void tst_ShippedSkins::edgesAreCrisp() {
    QFETCH(QString, folder);
    const QStringList names = QDir(folder).entryList({"*.bmp"}, QDir::Files);
    QVERIFY(names.size() >= 25);
    for (const QString& name : names) {
        const QImage image = picture(folder, name);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (isMask(c))
                    continue;
                const bool edge = (x > 0 && isMask(image.pixel(x - 1, y))) ||
                                  (x + 1 < image.width() && isMask(image.pixel(x + 1, y))) ||
                                  (y > 0 && isMask(image.pixel(x, y - 1))) ||
                                  (y + 1 < image.height() && isMask(image.pixel(x, y + 1)));
                const int tint = std::min(qRed(c), qBlue(c)) - qGreen(c);
                if (edge && tint > 48)
                    QFAIL(
                        qPrintable(QStringLiteral("%1: fringe at %2,%3").arg(name).arg(x).arg(y)));
            }
    }
    const PlayerWindowSkin p = load(folder).PlayerWindow;
    for (const QString& strip : {p.Play.Image, p.Mute.Image, p.Exit.Image, p.Progress.ThumbImage}) {
        const QImage image = picture(folder, strip);
        const int w = image.width() / 4;
        for (int a = 0; a < 4; ++a) {
            const QImage frame = image.copy(a * w, 0, w, image.height());
            QVERIFY(maskPixels(frame) < w * image.height() / 2);
            for (int b = a + 1; b < 4; ++b)
                QVERIFY2(frame != image.copy(b * w, 0, w, image.height()), qPrintable(strip));
        }
    }
    const QImage led = picture(folder, p.Led.Image);
    const int g = led.width() / 12;
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            QVERIFY(led.copy(a * g, 0, g, led.height()) != led.copy(b * g, 0, g, led.height()));
}

void tst_ShippedSkins::generatorIsDeterministic() {
    QVERIFY2(QFileInfo(generator()).isExecutable(), qPrintable(generator()));
    QTemporaryDir first, second;
    for (const QTemporaryDir* dir : {&first, &second}) {
        QProcess run;
        run.start(generator(), {dir->path()});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 0);
    }
    const QMap<QString, QByteArray> a = readTree(first.path());
    QVERIFY(a.size() >= 3 * 25);
    QCOMPARE(readTree(second.path()), a);
    // The shipped files are exactly what the generator draws.
    QCOMPARE(readTree(skinsDir()), a);
}

QTEST_GUILESS_MAIN(tst_ShippedSkins)
#include "tst_ShippedSkins.moc"
