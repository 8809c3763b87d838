#include "skin/RecordingPrompts.h"
#include "skin/TestSkinFolder.h"

#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlNumber.h"
#include "skin/SkinStore.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace TS = TestSkinFolder;

namespace {

// Press at `local` (window coordinates), move the pointer by `travel` in one
// step and release, as the window system delivers it: the window finds the
// control under the pointer itself, masks included.
void DragWindow(QWidget& window, QPoint local, QPoint travel) {
    QWindow* handle = window.windowHandle();
    const QPoint start = window.mapToGlobal(local);
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, local);
    QTest::mouseMove(handle, local + travel);
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier,
                        window.mapFromGlobal(start + travel));
}

} // namespace

class tst_frmPlayerWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void captionAndTooltips_data();
    void captionAndTooltips();
    void showsTheSkinShaped();
    void dragging_data();
    void dragging();
    void exitCloseAndMinimise();
    void brokenSkinKeepsThePrevious_data();
    void brokenSkinKeepsThePrevious();
    void newSkinShowsWhatItHas();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SkinStore> m_store;
    RecordingPrompts m_prompts;
    std::unique_ptr<frmPlayerWindow> m_window;

    QString SkinsDir() const { return m_dir->path() + "/skin"; }
    // The test skin written, loaded and applied; the window shown.
    bool ShowWithSkin(const TS::Options& options = TS::Options());
};

void tst_frmPlayerWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_window.reset();
    m_store = std::make_unique<SkinStore>(SkinsDir());
    m_prompts.messages.clear();
    m_window = std::make_unique<frmPlayerWindow>(*m_store, m_prompts);
}

bool tst_frmPlayerWindow::ShowWithSkin(const TS::Options& options) {
    TS::Write(SkinsDir(), options);
    if (!m_window->ChangeSkin(options.name.toLower())) // skin folders ignore case
        return false;
    m_window->move(100, 100);
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

void tst_frmPlayerWindow::captionAndTooltips_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("tip");
    const char* rows[][2] = {
        {"cmdPlay", "播放"},         {"cmdPause", "暂停"},      {"cmdStop", "停止"},
        {"cmdPrev", "前一首"},       {"cmdNext", "后一首"},     {"cmdMute", "静音"},
        {"cmdOpen", "打开"},         {"cmdLyric", "LRC歌词"},   {"cmdEqualizer", "视频窗口"},
        {"cmdPlaylist", "播放列表"}, {"cmdMinimize", "最小化"}, {"cmdMinimode", "迷你模式"},
        {"cmdExit", "关闭"}};
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString(row[0]) << QString::fromUtf8(row[1]);
}

void tst_frmPlayerWindow::captionAndTooltips() {
    QFETCH(QString, control);
    QFETCH(QString, tip);
    QCOMPARE(m_window->windowTitle(), QString("Melodeck 5.0"));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    const auto* button = m_window->findChild<ctlButton*>(control);
    QVERIFY(button);
    QCOMPARE(button->toolTip(), tip);
}

void tst_frmPlayerWindow::showsTheSkinShaped() {
    QVERIFY(ShowWithSkin());
    QCOMPARE(m_store->CurrentSkinName(), QString("test skin"));
    QCOMPARE(m_window->size(), QSize(TS::kWidth, TS::kHeight));
    QCOMPARE(m_window->mask(), TS::BackgroundShape());
    QCOMPARE(m_window->property("Picture").value<QImage>(), TS::Background());
    // Play shows, pause waits for playback to start.
    QVERIFY(m_window->cmdPlay()->isVisible());
    QVERIFY(!m_window->cmdPause()->isVisible());

    const QImage shot = m_window->Snapshot();
    QCOMPARE(qAlpha(shot.pixel(2, 2)), 0); // the cut-off corner
    QCOMPARE(shot.pixel(5, 40), TS::BackgroundColour(5, 40));
    // Each visible button shows its normal frame at its place.
    for (int i = 2; i < TS::Buttons().size(); ++i) {
        const QPoint inside = TS::ButtonAt(i) + QPoint(4, 4);
        QCOMPARE(shot.pixel(inside), TS::ButtonColour(i, 0));
    }
}

void tst_frmPlayerWindow::dragging_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<bool>("moves");
    QTest::newRow("window body") << QPoint(5, 40) << true;
    QTest::newRow("empty label") << QPoint(60, 55) << true;
    QTest::newRow("cut-out pixel of a button") << TS::ButtonAt(2) << true;
    QTest::newRow("button") << TS::ButtonAt(2) + QPoint(5, 5) << false;
    QTest::newRow("time display") << QPoint(100, 6) << false;
}

void tst_frmPlayerWindow::dragging() {
    QFETCH(QPoint, press);
    QFETCH(bool, moves);
    QVERIFY(ShowWithSkin());
    const QPoint before = m_window->pos();
    QSignalSpy stops(m_window->cmdStop(), &ctlButton::Click);
    DragWindow(*m_window, press, QPoint(30, 20));
    QCOMPARE(m_window->pos(), moves ? before + QPoint(30, 20) : before);
    QCOMPARE(stops.count(), 0); // released away from the button: no click
}

void tst_frmPlayerWindow::exitCloseAndMinimise() {
    QVERIFY(ShowWithSkin());
    QSignalSpy quits(m_window.get(), &frmPlayerWindow::QuitRequested);
    const QPoint exitAt = TS::ButtonAt(12) + QPoint(5, 5);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, exitAt);
    QCOMPARE(quits.count(), 1);
    m_window->close();
    QCOMPARE(quits.count(), 2);

    QVERIFY(ShowWithSkin());
    const QPoint minimizeAt = TS::ButtonAt(10) + QPoint(5, 5);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, minimizeAt);
    QTRY_VERIFY(m_window->windowState() & Qt::WindowMinimized);
    QCOMPARE(quits.count(), 2);
}

void tst_frmPlayerWindow::brokenSkinKeepsThePrevious_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("garbled");
    QTest::addColumn<QString>("named"); // what the message must name
    // The file as the skin names it, or as found when it is there.
    QTest::newRow("missing picture") << "play.bmp"
                                     << ""
                                     << "PLAY.BMP";
    QTest::newRow("garbled background") << ""
                                        << "back.bmp"
                                        << "back.bmp";
    QTest::newRow("no description") << "skin.xml"
                                    << ""
                                    << "skin.xml";
}

void tst_frmPlayerWindow::brokenSkinKeepsThePrevious() {
    QFETCH(QString, missing);
    QFETCH(QString, garbled);
    QFETCH(QString, named);
    QVERIFY(ShowWithSkin());
    const QImage picture = m_window->Picture();
    const QRegion shape = m_window->mask();
    const QPoint playAt = m_window->cmdPlay()->pos();

    TS::Options broken;
    broken.name = "Broken";
    broken.shift = QPoint(4, 3);
    broken.mask = qRgb(0, 255, 255);
    broken.missingFile = missing;
    broken.garbledFile = garbled;
    const QString folder = TS::Write(SkinsDir(), broken);
    if (missing == "skin.xml")
        QVERIFY(QFile::remove(folder + "/skin.xml"));

    QVERIFY(!m_window->ChangeSkin("Broken"));
    QCOMPARE(m_prompts.messages.size(), 1);
    const QString message = m_prompts.messages.first();
    QVERIFY2(message.contains(QDir::toNativeSeparators(folder + "/" + named)), qPrintable(message));
    QCOMPARE(m_store->CurrentSkinName(), QString("test skin"));
    QCOMPARE(m_store->Skin().TransparentColor, quint32(0xFF00FF));
    QCOMPARE(m_window->Picture(), picture);
    QCOMPARE(m_window->mask(), shape);
    QCOMPARE(m_window->cmdPlay()->pos(), playAt);

    // The previous skin is still whole: applying it again works.
    QVERIFY(m_window->ReLoadSkin());
    QCOMPARE(m_window->cmdPlay()->pos(), playAt);
}

void tst_frmPlayerWindow::newSkinShowsWhatItHas() {
    TS::Options sparse;
    sparse.name = "Sparse";
    sparse.withoutImage = QStringList{"lyric", "pause", "led"};
    QVERIFY(ShowWithSkin(sparse));
    m_window->setPlayVisible(false); // playing now
    m_window->setPauseVisible(true);
    QVERIFY(!m_window->cmdLyric()->isVisible());
    QVERIFY(!m_window->cmdPause()->isVisible()); // the skin has no pause button
    QVERIFY(!m_window->cmdPlay()->isVisible());
    QVERIFY(!m_window->ctlLED()->isVisible());

    TS::Write(SkinsDir());
    QVERIFY(m_window->ChangeSkin("Test Skin"));
    QVERIFY(m_window->cmdLyric()->isVisible());
    QVERIFY(m_window->cmdPause()->isVisible());
    QVERIFY(!m_window->cmdPlay()->isVisible());
    QVERIFY(m_window->ctlLED()->isVisible());
    QCOMPARE(m_window->Snapshot().pixel(TS::ButtonAt(1) + QPoint(4, 4)), TS::ButtonColour(1, 0));

    m_window->setPauseVisible(false); // stopped again
    m_window->setPlayVisible(true);
    QVERIFY(m_window->cmdPlay()->isVisible());
    QVERIFY(!m_window->cmdPause()->isVisible());
}

QTEST_MAIN(tst_frmPlayerWindow)
#include "tst_frmPlayerWindow.moc"
