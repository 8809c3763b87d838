// The lyrics window in the running program, offscreen with the real engine
// on a generated song: the lyrics button, the line sung centred as the song
// plays and after a seek, a click that seeks, pausing, the frames of the
// skins and a skin switch.
#include "skin/RecordingPrompts.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"
#include "support/TestWindows.h"

#include "app/LyricsPanel.h"
#include "app/MainMenus.h"
#include "app/PlayerApp.h"
#include "app/PlayerTransport.h"
#include "app/frmPlayerWindow.h"
#include "controls/ModColor.h"
#include "controls/ctlButton.h"
#include "lyrics/LyricsFollower.h"
#include "lyrics/LyricsLibrary.h"
#include "lyrics/ctlLyrics.h"
#include "lyrics/frmLyricWindow.h"
#include "playback/MediaEngine.h"
#include "playback/frmPlayer.h"
#include "winsvc/cMagneticWnd.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

constexpr int kEngineTimeoutMs = 15000;

// Lines at 1, 3, 5, 8 and 12 seconds.
const QByteArray kLrc = "[ti:test]\n[00:01.00]one\n[00:03.00]two\n[00:05.00]three\n"
                        "[00:08.00]four\n[00:12.00]five\n";

// How many pixels near `colour` lie in rows [top, bottom) of `image`.
int countColour(const QImage& image, QRgb colour, int top, int bottom) {
    return TestWindows::CountColour(image, colour, QRect(0, top, image.width(), bottom - top));
}

} // namespace

class tst_LyricWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonShowsAndHides();
    void followsPlayback();
    void framesOfSkins_data();
    void framesOfSkins();
    void droppedFileIsAdopted();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    RecordingPrompts m_prompts;
    std::unique_ptr<PlayerApp> m_app;

    QString Song() const { return m_home->filePath(QStringLiteral("music/song.wav")); }
    void StartWithSong(double seconds);
    ctlPlayer* Engine() const {
        frmPlayer* video = m_app->ExistingVideoWindow();
        return video ? video->ctlPlayer1() : nullptr;
    }
    bool WaitForState(int state) const {
        return QTest::qWaitFor([&] { return Engine() && Engine()->playState() == state; },
                               kEngineTimeoutMs);
    }
    frmLyricWindow& Window() const { return m_app->Lyrics().Window(); }
    ctlLyrics& View() const { return *Window().View(); }
    // The view shows `line` as the current one, centred, drawn in the
    // selection colour with no other line in it.
    void VerifyCentred(int line) const;
    void MakeSkin(const QString& name, const QString& lyricWindow, bool removeFrame) const;
};

void tst_LyricWindow::init() {
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    TestProgram::UseInThisProcess(m_home->path());
    m_prompts.messages.clear();
}

void tst_LyricWindow::cleanup() {
    m_app.reset();
    m_home.reset();
}

void tst_LyricWindow::StartWithSong(double seconds) {
    QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("music")));
    QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("PlayList")));
    QVERIFY(TestMedia::WriteFile(Song(), TestMedia::SilentWav(seconds)));
    QVERIFY(TestMedia::WriteFile(m_home->filePath(QStringLiteral("PlayList/0.MLF")),
                                 "{Songs}\r\ns1=" + Song().toUtf8() + "\r\n"));
    m_app = std::make_unique<PlayerApp>(m_prompts);
    QVERIFY(m_app->Start());
    QVERIFY(QTest::qWaitForWindowExposed(&m_app->PlayerWindow()));
}

void tst_LyricWindow::VerifyCentred(int line) const {
    QTRY_COMPARE_WITH_TIMEOUT(View().CurrentLine(), line, 3000);
    QTRY_VERIFY(!View().IsScrolling());
    const double centre = View().LineCentreY(line);
    QVERIFY2(std::abs(centre - View().height() / 2.0) < 0.5, qPrintable(QString::number(centre)));
    const QImage shot = View().grab().toImage();
    const QRgb selected = ModColor::ToQRgb(m_app->Skins().Colors().ColorSelect);
    const int half = View().LineHeight() / 2;
    const int mid = View().height() / 2;
    QVERIFY(countColour(shot, selected, mid - half, mid + half) > 10);
    QCOMPARE(countColour(shot, selected, 0, mid - half) +
                 countColour(shot, selected, mid + half, shot.height()),
             0);
}

// The button opens and closes the window and shows whether it is open; the
// window's close button does the same as a second press.
void tst_LyricWindow::buttonShowsAndHides() {
    StartWithSong(2);
    ctlButton& button = *m_app->PlayerWindow().cmdLyric();
    QVERIFY(!button.Selected());
    QVERIFY(!Window().isVisible());
    emit button.Click();
    QVERIFY(button.Selected());
    QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    QVERIFY(m_app->Magnetic().IsGlued(&Window()));
    QCOMPARE(View().Message(), QStringLiteral("没有歌词"));
    emit button.Click();
    QVERIFY(!button.Selected());
    QVERIFY(!Window().isVisible());
    emit button.Click();
    emit Window().cmdClose()->Click();
    QVERIFY(!button.Selected());
    QVERIFY(!Window().isVisible());
}

void tst_LyricWindow::followsPlayback() {
    StartWithSong(20);
    QVERIFY(TestMedia::WriteFile(m_home->filePath(QStringLiteral("music/SONG.LRC")), kLrc));
    emit m_app->PlayerWindow().cmdLyric()->Click();
    QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    emit m_app->PlayerWindow().cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QTRY_COMPARE(View().Shown().Lines.size(), 5);

    VerifyCentred(0); // at 1 s
    QVERIFY(!QTest::currentTestFailed());
    VerifyCentred(1); // at 3 s
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(Engine()->Controls().currentPosition() < 5.0);

    // A seek shows its line at once, without scrolling there.
    m_app->Transport().SeekTo(9);
    QTRY_COMPARE_WITH_TIMEOUT(View().CurrentLine(), 3, 500);
    QVERIFY(!View().IsScrolling());
    VerifyCentred(3);
    QVERIFY(!QTest::currentTestFailed());

    // A click on a line plays from it.
    const int y = int(View().LineCentreY(4));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(View().width() / 2, y));
    QTRY_VERIFY(Engine()->Controls().currentPosition() >= 12.0);
    VerifyCentred(4);
    QVERIFY(!QTest::currentTestFailed());

    // Paused, nothing waits to run.
    emit m_app->PlayerWindow().cmdPause()->Click();
    QVERIFY(WaitForState(MediaEngine::Paused));
    QTRY_VERIFY(!m_app->Lyrics().Follower().IsWaiting());
    QVERIFY(!View().IsScrolling());

    // The wheel moves the lines away from the current one for a while.
    QWheelEvent wheel(QPointF(10, 10), View().mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&View(), &wheel);
    QVERIFY(!View().IsFollowing());
    QVERIFY(std::abs(View().LineCentreY(4) - View().height() / 2.0) >= View().LineHeight());
    QTRY_VERIFY_WITH_TIMEOUT(View().IsFollowing(), ctlLyrics::kFollowAgainMs + 2000);
    VerifyCentred(4);

    // A skin switch gives the window the new skin's frame and colours.
    const QImage before = Window().Picture();
    QVERIFY(m_app->Menus().ChooseSkin(QStringLiteral("Amber Deck")));
    QVERIFY(Window().UsesOwnFrame());
    QVERIFY(Window().Picture() != before);
    QCOMPARE(Window().Frame(), *m_app->Skins().Skin().LyricWindow);
    QVERIFY(Window().isVisible());
    QVERIFY(m_app->Magnetic().IsGlued(&Window()));
    VerifyCentred(4);
    const QRgb back = ModColor::ToQRgb(m_app->Skins().Colors().ColorBkgnd);
    QCOMPARE(View().grab().toImage().pixel(1, 1) & 0xFFFFFF, back & 0xFFFFFF);
}

// Writes a skin `name` into the user's skins: Default's files, with its
// lyric_window element replaced by `lyricWindow` (none when empty) and,
// when `removeFrame`, its lyrics window picture gone.
void tst_LyricWindow::MakeSkin(const QString& name, const QString& lyricWindow,
                               bool removeFrame) const {
    const QString from =
        QDir(m_home->filePath(QStringLiteral("skin"))).filePath(QStringLiteral("Default"));
    const QString to = m_home->filePath(QStringLiteral("userskins/") + name);
    QVERIFY(QDir().mkpath(to));
    for (const QString& file : QDir(from).entryList(QDir::Files))
        QVERIFY(QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file));
    QFile xml(to + QStringLiteral("/skin.xml"));
    QVERIFY(xml.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(xml.readAll());
    xml.close();
    const qsizetype start = text.indexOf(QLatin1String("<lyric_window"));
    const qsizetype end = text.indexOf(QLatin1String("</lyric_window>"));
    QVERIFY(start > 0 && end > start);
    text.replace(start, end + 15 - start, lyricWindow);
    QVERIFY(TestMedia::WriteFile(xml.fileName(), text.toUtf8()));
    if (removeFrame)
        QVERIFY(QFile::remove(to + QStringLiteral("/lyric_window.bmp")));
}

void tst_LyricWindow::framesOfSkins_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<bool>("removeFrame");
    QTest::addColumn<bool>("own");
    QTest::addColumn<QString>("message"); // part of what the user is told; empty: nothing
    const QString good = QStringLiteral(
        "<lyric_window image=\"lyric_window.bmp\" position=\"0,0,300,200\" "
        "resize_rect=\"24,24,276,172\"><close position=\"283,3,296,15\" image=\"pl_close.bmp\"/>"
        "<lyrics position=\"10,21,290,186\"/></lyric_window>");
    QTest::newRow("its own element") << good << false << true << QString();
    QTest::newRow("none: the playlist window's frame") << QString() << false << false << QString();
    QTest::newRow("no lyrics rectangle")
        << QString(good).replace(QLatin1String("<lyrics position=\"10,21,290,186\"/>"), QString())
        << false << false << "<lyrics>";
    QTest::newRow("a resize rectangle outside")
        << QString(good).replace(QLatin1String("24,24,276,172"), QLatin1String("24,24,376,172"))
        << false << false << "resize_rect";
    QTest::newRow("too large") << QString(good).replace(QLatin1String("0,0,300,200"),
                                                        QLatin1String("0,0,5000,200"))
                               << false << false << "position";
    QTest::newRow("its picture is missing") << good << true << false << "lyric_window.bmp";
}

// Whatever a skin says of the lyrics window, the window gets a frame, and a
// broken description is reported.
void tst_LyricWindow::framesOfSkins() {
    QFETCH(QString, element);
    QFETCH(bool, removeFrame);
    QFETCH(bool, own);
    QFETCH(QString, message);
    StartWithSong(1);
    MakeSkin(QStringLiteral("Lyric Test"), element, removeFrame);
    m_app->Skins() = SkinStore(QStringList{m_home->filePath(QStringLiteral("userskins")),
                                           m_home->filePath(QStringLiteral("skin"))});
    m_prompts.messages.clear();
    QVERIFY(m_app->Menus().ChooseSkin(QStringLiteral("Lyric Test")));
    QCOMPARE(Window().UsesOwnFrame(), own);
    const SkinInfo& skin = m_app->Skins().Skin();
    const LyricWindowSkin expected =
        own ? *skin.LyricWindow : LyricWindowSkins::FromPlaylistWindow(skin.PlaylistWindow);
    QCOMPARE(Window().Frame(), expected);
    QCOMPARE(Window().minimumSize(), QSize(expected.Position.Width(), expected.Position.Height()));
    // The lines fill the frame's lyrics rectangle.
    const SkinRect& r = expected.Lyrics.Position;
    QCOMPARE(View().geometry(), QRect(r.Left, r.Top, r.Width(), r.Height()));
    if (message.isEmpty()) {
        QCOMPARE(m_prompts.messages, QStringList());
    } else {
        QCOMPARE(m_prompts.messages.size(), 1);
        QVERIFY2(m_prompts.messages.first().contains(message),
                 qPrintable(m_prompts.messages.first()));
    }
}

// A lyrics file dropped on the window goes into the lyrics folder under the
// playing item's name and is shown at once.
void tst_LyricWindow::droppedFileIsAdopted() {
    StartWithSong(5);
    emit m_app->PlayerWindow().cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QTRY_VERIFY(!m_app->Lyrics().Library().IsSearching());
    QVERIFY(View().Shown().IsEmpty());
    const QString dropped = m_home->filePath(QStringLiteral("elsewhere.lrc"));
    QVERIFY(TestMedia::WriteFile(dropped, kLrc));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    const QPointF centre = QRectF(View().geometry()).center();
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(View().Shown().Lines.size(), 5);
    QFile copy(m_home->filePath(QStringLiteral("Lyrics/song.lrc")));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), kLrc);
}

QTEST_MAIN(tst_LyricWindow)
#include "tst_LyricWindow.moc"
