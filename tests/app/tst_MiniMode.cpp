// Mini mode on the real program: the player window turned into the skin's
// bar (or the one derived from the player window) and back, the other
// windows put away and brought back, the transport driven from the bar, and
// skins switched while in mini mode.
#include "MenuRig.h"
#include "app/MainMenus.h"
#include "app/MiniMode.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlProgress.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/ModSkinApply.h"
#include "support/TestMedia.h"
#include "winsvc/cMagneticWnd.h"

#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kOwnBarSkin = QStringLiteral("Amber Deck");

// What a test skin made from a shipped one lacks or breaks.
enum class Damage { NoMiniWindow, NoImageAttribute, MissingBarPicture, MissingPlayerPicture };

} // namespace

Q_DECLARE_METATYPE(Damage)

class tst_MiniMode : public QObject {
    Q_OBJECT

    std::unique_ptr<MenuRig> rig;
    QList<int> m_started;

    PlayerApp& App() const { return *rig->app; }
    frmPlayerWindow& Window() const { return App().PlayerWindow(); }
    MiniMode& Mini() const { return App().Mini(); }
    QString Folder(const QString& skin) const {
        return ModSkinApply::SkinFolder(App().Skins(), skin);
    }
    QString Song(int n) const { return rig->home.filePath(QStringLiteral("s%1.wav").arg(n)); }

    // A copy of a shipped skin, damaged as told.
    void WriteSkin(const QString& name, Damage damage) {
        const QString from = rig->SkinsDir() + QLatin1Char('/') + kOwnBarSkin;
        const QString to = rig->SkinsDir() + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(to));
        const QString missing = damage == Damage::MissingBarPicture      ? "mini_window.bmp"
                                : damage == Damage::MissingPlayerPicture ? "player_window.bmp"
                                                                         : "";
        for (const QString& file : QDir(from).entryList(QDir::Files))
            if (file != missing && file != QLatin1String("skin.xml"))
                QVERIFY(QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file));
        QFile in(from + QStringLiteral("/skin.xml"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QString xml = QString::fromUtf8(in.readAll());
        QVERIFY(xml.contains(QLatin1String("<mini_window image=\"mini_window.bmp\">")));
        if (damage == Damage::NoMiniWindow)
            xml.remove(QRegularExpression(QStringLiteral("<mini_window.*</mini_window>\\s*"),
                                          QRegularExpression::DotMatchesEverythingOption));
        if (damage == Damage::NoImageAttribute)
            xml.replace(QLatin1String("<mini_window image=\"mini_window.bmp\">"),
                        QLatin1String("<mini_window>"));
        QFile out(to + QStringLiteral("/skin.xml"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(xml.toUtf8());
    }

    int MiniReports() const {
        int n = 0;
        for (const QString& message : rig->prompts.messages)
            n += message.contains(QStringLiteral("迷你模式")) ? 1 : 0;
        return n;
    }

    // The direct children of the player window that show.
    QList<QWidget*> ShownControls() const {
        QList<QWidget*> shown;
        for (QWidget* child : Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden())
                shown << child;
        return shown;
    }

    // A point of the bar's body: inside its shape, on no control.
    QPoint BodyPoint() const {
        const QRegion shape =
            Window().mask().isEmpty() ? QRegion(Window().rect()) : Window().mask();
        for (int y = 0; y < Window().height(); ++y)
            for (int x = 0; x < Window().width(); ++x)
                if (shape.contains(QPoint(x, y)) && !Window().childAt(x, y))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }

    // A control of the bar the user can click: shown, and within the bar.
    void VerifyOnBar(QWidget* control) const {
        QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
        QVERIFY2(Window().rect().contains(control->geometry()), qPrintable(control->objectName()));
    }

    void VerifyDocked() const {
        const QRect player = Window().geometry();
        QCOMPARE(App().PlaylistWindow().geometry().topLeft(), player.bottomLeft() + QPoint(0, 1));
    }

private slots:
    void init() {
        rig = std::make_unique<MenuRig>();
        QVERIFY(rig->Start());
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
        m_started.clear();
        connect(&App().Playback(), &PlaylistPlayback::ItemStarting, this,
                [this](const CMediaInfo& item) {
                    for (int n = 1; n <= 3; ++n)
                        if (item.Path == Song(n))
                            m_started << n;
                });
    }
    void cleanup() { rig.reset(); }

    void enterAndLeave_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("damage"); // -1: a shipped skin as it is
        QTest::addColumn<bool>("byDoubleClick");
        QTest::addColumn<bool>("playlistShown");
        QTest::addColumn<bool>("videoShown");
        QTest::addColumn<bool>("ownBar");
        QTest::addColumn<int>("reports");
        QTest::newRow("start skin, button")
            << "Winamp Modern" << -1 << false << true << false << true << 0;
        QTest::newRow("own bar, double-click, list hidden, video shown")
            << "Amber Deck" << -1 << true << false << true << true << 0;
        QTest::newRow("own bar, both windows shown")
            << "Default" << -1 << false << true << true << true << 0;
        QTest::newRow("no mini_window: derived bar")
            << "NoMini" << int(Damage::NoMiniWindow) << true << true << false << false << 0;
        QTest::newRow("mini_window without image: reported, derived")
            << "NoImage" << int(Damage::NoImageAttribute) << false << true << true << false << 1;
        QTest::newRow("bar picture missing: reported, derived")
            << "NoBarPicture" << int(Damage::MissingBarPicture) << true << false << false << false
            << 1;
    }
    void enterAndLeave() {
        QFETCH(QString, skin);
        QFETCH(int, damage);
        QFETCH(bool, byDoubleClick);
        QFETCH(bool, playlistShown);
        QFETCH(bool, videoShown);
        QFETCH(bool, ownBar);
        QFETCH(int, reports);
        if (damage >= 0)
            WriteSkin(skin, Damage(damage));
        if (skin != PlayerApp::kStartSkin)
            QVERIFY(App().Menus().ChooseSkin(skin));
        QCOMPARE(MiniReports(), reports);
        frmPlayerWindow& w = Window();
        frmPlaylistWindow& list = App().PlaylistWindow();
        if (!playlistShown)
            emit w.cmdPlaylist()->Click();
        if (videoShown)
            emit w.cmdEqualizer()->Click();
        QCOMPARE(list.isVisible(), playlistShown);
        const auto videoVisible = [this] {
            frmPlayer* video = App().ExistingVideoWindow();
            return video && video->isVisible();
        };
        QTRY_COMPARE(videoVisible(), videoShown);
        const QPoint place = w.pos();
        const QSize full = w.size();
        const QList<QWidget*> controls = ShownControls();
        const bool glued = App().Magnetic().IsGlued(&list);

        QTest::mouseClick(w.cmdMinimode(), Qt::LeftButton);
        QVERIFY(Mini().IsActive());
        QVERIFY(Mini().Bar());
        QCOMPARE(Mini().Bar()->Derived, !ownBar);
        QCOMPARE(w.Picture(), Mini().Bar()->Background);
        QCOMPARE(w.size(), Mini().Bar()->Background.size());
        if (ownBar)
            QCOMPARE(w.size(), QImage(Folder(skin) + "mini_window.bmp").size());
        QVERIFY(w.height() < full.height());
        QCOMPARE(w.pos(), place);
        QVERIFY(!list.isVisible());
        QVERIFY(!videoVisible());
        QVERIFY(!App().Magnetic().IsGlued(&list));
        for (QWidget* control : std::initializer_list<QWidget*>{
                 w.cmdPlay(), w.cmdStop(), w.cmdPrev(), w.cmdNext(), w.cmdMinimode(), w.cmdExit()})
            VerifyOnBar(control);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 w.cmdPlaylist(), w.cmdMute(), w.cmdEqualizer(), w.ctlVolume(), w.lbStatus()})
            QVERIFY2(control->isHidden(), qPrintable(control->objectName()));
        QCOMPARE(w.ctlProgress()->isVisible(), ownBar);
        QCOMPARE(MiniReports(), reports); // told once, with the skin

        if (byDoubleClick) {
            const QPoint body = BodyPoint();
            QVERIFY(body.x() >= 0);
            QTest::mouseDClick(&w, Qt::LeftButton, Qt::NoModifier, body);
        } else {
            QTest::mouseClick(w.cmdMinimode(), Qt::LeftButton);
        }
        QVERIFY(!Mini().IsActive());
        QCOMPARE(w.size(), full);
        QCOMPARE(w.pos(), place);
        QCOMPARE(list.isVisible(), playlistShown);
        QCOMPARE(videoVisible(), videoShown);
        QCOMPARE(ShownControls(), controls);
        QCOMPARE(App().Magnetic().IsGlued(&list), glued);
        QCOMPARE(MiniReports(), reports);
    }

    // Each step is a click on the bar's button or a key on the bar; what
    // playback started is the list's songs 1..3 by number.
    void transportFromBar_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("started");
        QTest::newRow("own bar: play, next, next")
            << kOwnBarSkin << QStringList{"play", "next", "next"} << QList<int>{1, 2, 3};
        QTest::newRow("own bar: play, next, prev")
            << kOwnBarSkin << QStringList{"play", "next", "prev"} << QList<int>{1, 2, 1};
        QTest::newRow("own bar: stop, then play again")
            << kOwnBarSkin << QStringList{"play", "stop", "play"} << QList<int>{1, 1};
        QTest::newRow("own bar: keys X and B")
            << kOwnBarSkin << QStringList{"key X", "key B"} << QList<int>{1, 2};
        QTest::newRow("derived bar: play, next")
            << "NoMini" << QStringList{"play", "next"} << QList<int>{1, 2};
    }
    void transportFromBar() {
        QFETCH(QString, skin);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, started);
        if (skin == QLatin1String("NoMini"))
            WriteSkin(skin, Damage::NoMiniWindow);
        QVERIFY(App().Menus().ChooseSkin(skin));
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(TestMedia::WriteFile(Song(n), TestMedia::SilentWav(30)));
            QCOMPARE(App().AddText(Song(n)).size(), 1);
        }
        frmPlayerWindow& w = Window();
        QTest::mouseClick(w.cmdMinimode(), Qt::LeftButton);
        QVERIFY(Mini().IsActive());
        const QHash<QString, ctlButton*> buttons{{"play", w.cmdPlay()},
                                                 {"next", w.cmdNext()},
                                                 {"prev", w.cmdPrev()},
                                                 {"stop", w.cmdStop()}};
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1String("key "))) {
                QTest::keyClick(&w, step.at(4).toLatin1());
                continue;
            }
            ctlButton* button = buttons.value(step);
            // Play shows on the bar only while the player wants it.
            QTRY_VERIFY(button->isVisible());
            VerifyOnBar(button);
            QTest::mouseClick(button, Qt::LeftButton);
            if (step == QLatin1String("play")) {
                QTRY_VERIFY(w.cmdPause()->isVisible());
                VerifyOnBar(w.cmdPause());
                QVERIFY(!w.cmdPlay()->isVisible());
            }
        }
        QCOMPARE(m_started, started);
        QVERIFY(Mini().IsActive());
    }

    void skinSwitchInMiniMode_data() {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("damage");
        QTest::addColumn<bool>("switches");
        QTest::addColumn<bool>("ownBar");
        QTest::addColumn<int>("reports");
        QTest::newRow("to a skin with its bar") << kOwnBarSkin << -1 << true << true << 0;
        QTest::newRow("to one without")
            << "NoMini" << int(Damage::NoMiniWindow) << true << false << 0;
        QTest::newRow("to one with a broken bar")
            << "NoBarPicture" << int(Damage::MissingBarPicture) << true << false << 1;
        QTest::newRow("to a broken skin: the old bar stays")
            << "Broken" << int(Damage::MissingPlayerPicture) << false << true << 0;
    }
    void skinSwitchInMiniMode() {
        QFETCH(QString, skin);
        QFETCH(int, damage);
        QFETCH(bool, switches);
        QFETCH(bool, ownBar);
        QFETCH(int, reports);
        if (damage >= 0)
            WriteSkin(skin, Damage(damage));
        frmPlayerWindow& w = Window();
        w.move(50, 20);
        const QPoint place = w.pos();
        QTest::mouseClick(w.cmdMinimode(), Qt::LeftButton);
        QVERIFY(Mini().IsActive());
        const QImage oldBar = w.Picture();

        QCOMPARE(App().Menus().ChooseSkin(skin), switches);
        const QString now = switches ? skin : PlayerApp::kStartSkin;
        QCOMPARE(App().Skins().CurrentSkinName(), now);
        QVERIFY(Mini().IsActive());
        QCOMPARE(Mini().Bar()->Derived, !ownBar);
        QCOMPARE(w.Picture(), Mini().Bar()->Background);
        QCOMPARE(w.size(), Mini().Bar()->Background.size());
        QCOMPARE(w.Picture() == oldBar, !switches);
        QCOMPARE(w.pos(), place);
        QVERIFY(!App().PlaylistWindow().isVisible());
        QCOMPARE(MiniReports(), reports);
        VerifyOnBar(w.cmdMinimode());
        VerifyOnBar(w.cmdPlay());
        QVERIFY(w.cmdPlaylist()->isHidden());

        QTest::mouseClick(w.cmdMinimode(), Qt::LeftButton);
        QVERIFY(!Mini().IsActive());
        QCOMPARE(w.size(), QImage(Folder(now) + "player_window.bmp").size());
        QCOMPARE(w.pos(), place);
        QVERIFY(App().PlaylistWindow().isVisible());
        // A switch docks the list under the player window's own place.
        if (switches)
            VerifyDocked();
        QVERIFY(w.cmdPlaylist()->isVisible());
    }
};

QTEST_MAIN(tst_MiniMode)
#include "tst_MiniMode.moc"
