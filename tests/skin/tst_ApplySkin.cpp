#include "RecordingPrompts.h"
#include "TestSkinFolder.h"

#include "controls/ModColor.h"
#include "controls/TransFormCtl.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "controls/ctlProgress.h"
#include "skin/ModSkinApply.h"
#include "skin/ModSkinFile.h"
#include "skin/SkinImages.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>

namespace TS = TestSkinFolder;

namespace {

// A window carrying every control a player-window skin places. Its
// background picture is the dynamic property "Picture".
struct Host {
    QWidget window{nullptr, Qt::FramelessWindowHint};
    TransFormCtl transForm{&window};
    std::map<QString, ctlButton*> buttons;
    ctlNumber* led = new ctlNumber(&window);
    QLabel* info = new QLabel(&window);
    QLabel* stereo = new QLabel(&window);
    QLabel* status = new QLabel(&window);
    ctlProgress* progress = new ctlProgress(&window);
    ctlProgress* volume = new ctlProgress(&window);

    Host() {
        for (const TS::Button& b : TS::Buttons())
            buttons[QLatin1String(b.control)] = new ctlButton(&window);
    }
    ctlButton& Button(const char* name) { return *buttons.at(QLatin1String(name)); }

    PlayerWindowParts Parts() {
        return PlayerWindowParts{.window = window,
                                 .TransForm = transForm,
                                 .cmdPlay = Button("cmdPlay"),
                                 .cmdPause = Button("cmdPause"),
                                 .cmdStop = Button("cmdStop"),
                                 .cmdPrev = Button("cmdPrev"),
                                 .cmdNext = Button("cmdNext"),
                                 .cmdMute = Button("cmdMute"),
                                 .cmdOpen = Button("cmdOpen"),
                                 .cmdLyric = Button("cmdLyric"),
                                 .cmdEqualizer = Button("cmdEqualizer"),
                                 .cmdPlaylist = Button("cmdPlaylist"),
                                 .cmdMinimize = Button("cmdMinimize"),
                                 .cmdMinimode = Button("cmdMinimode"),
                                 .cmdExit = Button("cmdExit"),
                                 .ctlLED = *led,
                                 .lbInfo = *info,
                                 .lbStereo = *stereo,
                                 .lbStatus = *status,
                                 .ctlProgress = *progress,
                                 .ctlVolume = *volume};
    }

    QImage Picture() const { return window.property("Picture").value<QImage>(); }

    // Where everything is and what the window shows, to compare before and
    // after an apply.
    QList<QVariant> State() const {
        QList<QVariant> state{window.geometry(), QVariant::fromValue(window.mask()), Picture()};
        for (const QObject* child : window.children()) {
            if (const auto* w = qobject_cast<const QWidget*>(child))
                state << w->geometry() << w->isHidden();
        }
        return state;
    }
};

// Writes a skin, loads its description and applies it to `host`.
bool Apply(Host& host, const QString& skinsDir, const TS::Options& options,
           QString* failedFile = nullptr) {
    const QString folder = TS::Write(skinsDir, options);
    RecordingPrompts prompts;
    const SkinLoadResult loaded = ModSkinFile::LoadSkinFile(folder + "/skin.xml", prompts);
    if (!loaded.Ok()) {
        qWarning() << loaded.Error;
        return false;
    }
    SkinImages images(ModSkinApply::SkinFolder(skinsDir, options.name));
    PlayerWindowParts parts = host.Parts();
    const bool ok = ModSkinApply::ApplyPlayerWindowSkin(*loaded.Skin, images, parts);
    if (failedFile)
        *failedFile = images.FailedFile();
    return ok;
}

} // namespace

class tst_ApplySkin : public QObject {
    Q_OBJECT
private slots:
    void init();
    void skinFolderIgnoresCase();
    void windowTakesPictureSizeAndShape();
    void buttonsAtTheirCornerWithOneFrame_data();
    void buttonsAtTheirCornerWithOneFrame();
    void buttonWithoutImageStaysHidden();
    void timeDisplayRightAligned();
    void labels_data();
    void labels();
    void labelWithoutAlignKeepsIt();
    void sliders_data();
    void sliders();
    void brokenImageKeepsWindow_data();
    void brokenImageKeepsWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString SkinsDir() const { return m_dir->path() + "/skin"; }
};

void tst_ApplySkin::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ApplySkin::skinFolderIgnoresCase() {
    TS::Write(SkinsDir());
    QCOMPARE(ModSkinApply::SkinFolder(SkinsDir(), "TEST skin"), SkinsDir() + "/Test Skin/");
    // The program's own skins are those under its directory.
    qputenv("MELODECK_HOME", m_dir->path().toUtf8());
    QCOMPARE(ModSkinApply::SkinFolder("test SKIN"), SkinsDir() + "/Test Skin/");
    qunsetenv("MELODECK_HOME");
}

void tst_ApplySkin::windowTakesPictureSizeAndShape() {
    for (const QRgb mask : {TS::kMagenta, qRgb(0, 255, 255)}) {
        Host host;
        host.window.resize(400, 300);
        TS::Options options;
        options.mask = mask;
        QVERIFY(Apply(host, SkinsDir(), options));
        QCOMPARE(host.window.size(), QSize(TS::kWidth, TS::kHeight));
        QCOMPARE(host.Picture(), TS::Background(mask));
        QCOMPARE(host.window.mask(), TS::BackgroundShape());
        QCOMPARE(host.transForm.MaskColor(), ModColor::FromQRgb(mask));
    }
}

void tst_ApplySkin::buttonsAtTheirCornerWithOneFrame_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < TS::Buttons().size(); ++i)
        QTest::newRow(TS::Buttons()[i].control) << i;
}

void tst_ApplySkin::buttonsAtTheirCornerWithOneFrame() {
    QFETCH(int, index);
    const QRgb cyan = qRgb(0, 255, 255);
    Host host;
    TS::Options options;
    options.mask = cyan; // not the buttons' own default
    QVERIFY(Apply(host, SkinsDir(), options));
    ctlButton& button = host.Button(TS::Buttons()[index].control);
    QCOMPARE(button.geometry(), QRect(TS::ButtonAt(index), QSize(TS::kFrameW, TS::kFrameH)));
    QCOMPARE(button.Picture(), TS::ButtonStrip(index, cyan));
    QCOMPARE(button.MaskColor(), ModColor::FromQRgb(cyan));
    QVERIFY(button.Enabled());
    QVERIFY(!button.isHidden());
    // The cut-out corner of the frame is not part of the button.
    QVERIFY(!button.mask().contains(QPoint(0, 0)));
    QVERIFY(button.mask().contains(QPoint(1, 0)));
}

void tst_ApplySkin::buttonWithoutImageStaysHidden() {
    Host host;
    TS::Options without;
    without.withoutImage = QStringList{"lyric", "led"};
    QVERIFY(Apply(host, SkinsDir(), without));
    QVERIFY(host.Button("cmdLyric").isHidden());
    QVERIFY(host.led->isHidden());
    QVERIFY(!host.Button("cmdMute").isHidden());

    // A later skin that has the pictures places them but does not show them
    // by itself (showing is the window's business).
    TS::Options with;
    with.name = "Second";
    with.shift = QPoint(2, 1);
    QVERIFY(Apply(host, SkinsDir(), with));
    QVERIFY(host.Button("cmdLyric").isHidden());
    QCOMPARE(host.Button("cmdLyric").pos(), TS::ButtonAt(7) + QPoint(2, 1));
}

void tst_ApplySkin::timeDisplayRightAligned() {
    Host host;
    host.led->SetText("12:34");
    QVERIFY(Apply(host, SkinsDir(), TS::Options()));
    // Six cells of five pixels, right edge at 120.
    QCOMPARE(host.led->geometry(), QRect(90, 4, 30, TS::kGlyphH));
    QCOMPARE(host.led->Text(), QString("00:00"));
    QCOMPARE(host.led->MaskColor(), ModColor::FromQRgb(TS::kMagenta));
}

void tst_ApplySkin::labels_data() {
    QTest::addColumn<QString>("align");
    QTest::addColumn<Qt::Alignment>("expected");
    // The skin sets the horizontal alignment only; the vertical one stays.
    QTest::newRow("RIGHT") << "RIGHT" << (Qt::AlignRight | Qt::AlignBottom);
    QTest::newRow("Center") << "Center" << (Qt::AlignHCenter | Qt::AlignBottom);
    QTest::newRow("left") << "left" << (Qt::AlignLeft | Qt::AlignBottom);
    QTest::newRow("unknown word keeps") << "justify" << (Qt::AlignRight | Qt::AlignBottom);
}

void tst_ApplySkin::labels() {
    QFETCH(QString, align);
    QFETCH(Qt::Alignment, expected);
    Host host;
    host.info->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    TS::Options options;
    options.infoAlign = align;
    QVERIFY(Apply(host, SkinsDir(), options));
    QCOMPARE(host.info->geometry(), QRect(20, 50, 100, 12));
    QCOMPARE(host.info->alignment(), expected);
    QCOMPARE(host.info->palette().color(QPalette::WindowText), QColor(0x10, 0x20, 0x30));
    QCOMPARE(host.stereo->geometry(), QRect(130, 50, 30, 10));
    QCOMPARE(host.stereo->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

void tst_ApplySkin::labelWithoutAlignKeepsIt() {
    Host host;
    host.status->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QVERIFY(Apply(host, SkinsDir(), TS::Options()));
    QCOMPARE(host.status->geometry(), QRect(130, 4, 60, 10));
    QCOMPARE(host.status->alignment(), Qt::AlignRight | Qt::AlignTop);
    QCOMPARE(host.status->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

void tst_ApplySkin::sliders_data() {
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<bool>("expected");
    QTest::newRow("True") << "True" << true;
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("yes") << "yes" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_ApplySkin::sliders() {
    QFETCH(QString, vertical);
    QFETCH(bool, expected);
    Host host;
    host.progress->SetVertical(true);
    TS::Options options;
    options.volumeVertical = vertical;
    QVERIFY(Apply(host, SkinsDir(), options));

    QCOMPARE(host.volume->Vertical(), expected);
    QCOMPARE(host.volume->geometry(), QRect(170, 20, 6, 40));
    QCOMPARE(host.volume->PicBar(), TS::Filled(6, 40, qRgb(40, 40, 40)));
    QVERIFY(host.volume->PicFill().isNull()); // the skin names no fill
    QCOMPARE(host.volume->picThumb(), TS::Filled(24, 6, qRgb(200, 200, 200)));

    QVERIFY(!host.progress->Vertical()); // no "vertical": horizontal
    QCOMPARE(host.progress->geometry(), QRect(10, 66, 140, 6));
    QCOMPARE(host.progress->PicFill(), TS::Filled(140, 6, qRgb(60, 160, 250)));
    for (const ctlProgress* slider : {host.progress, host.volume})
        QCOMPARE(slider->picBack(), TS::Background());
}

void tst_ApplySkin::brokenImageKeepsWindow_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("garbled");
    QTest::addColumn<QString>("fifo");
    QTest::newRow("nothing broken") << ""
                                    << ""
                                    << "";
    QTest::newRow("missing background") << "back.bmp"
                                        << ""
                                        << "";
    QTest::newRow("missing button") << "next.bmp"
                                    << ""
                                    << "";
    QTest::newRow("garbled button") << ""
                                    << "exit.bmp"
                                    << "";
    QTest::newRow("garbled time display") << ""
                                          << "led.bmp"
                                          << "";
    QTest::newRow("missing slider fill") << "fill.bmp"
                                         << ""
                                         << "";
    QTest::newRow("garbled slider thumb") << ""
                                          << "vthumb.bmp"
                                          << "";
    QTest::newRow("FIFO background") << ""
                                     << ""
                                     << "back.bmp";
    QTest::newRow("FIFO button") << ""
                                 << ""
                                 << "play.bmp";
}

void tst_ApplySkin::brokenImageKeepsWindow() {
    QFETCH(QString, missing);
    QFETCH(QString, garbled);
    QFETCH(QString, fifo);
    Host host;
    QVERIFY(Apply(host, SkinsDir(), TS::Options()));
    const QList<QVariant> before = host.State();

    TS::Options broken;
    broken.name = "Broken";
    broken.shift = QPoint(3, 2); // everything would move
    broken.missingFile = missing;
    broken.garbledFile = garbled;
    broken.fifoFile = fifo;
    QString failed;
    const bool ok = Apply(host, SkinsDir(), broken, &failed);
    const QString file = missing + garbled + fifo;
    if (file.isEmpty()) {
        QVERIFY(ok);
        QVERIFY(host.State() != before);
        QCOMPARE(host.Button("cmdPlay").pos(), TS::ButtonAt(0) + QPoint(3, 2));
        return;
    }
    QVERIFY(!ok);
    // The file as the skin names it (skin.xml spells some names in capitals).
    QCOMPARE(QFileInfo(failed).fileName().toLower(), file);
    QCOMPARE(QFileInfo(failed).dir().dirName(), QString("Broken"));
    QVERIFY(host.State() == before);
    const QString message = ModSkinApply::BrokenSkinMessage("Broken", failed);
    QVERIFY2(message.startsWith(QDir::toNativeSeparators(failed)), qPrintable(message));
    QVERIFY(message.contains("Broken"));
}

QTEST_MAIN(tst_ApplySkin)
#include "tst_ApplySkin.moc"
