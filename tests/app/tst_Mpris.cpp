// The desktop's media controls (MPRIS) on a private session bus: a second
// connection drives the real program in this process as a widget or
// playerctl would, and the player window must show the same.
#include "skin/RecordingPrompts.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include "app/MainMenus.h"
#include "app/MprisService.h"
#include "app/PlayerApp.h"
#include "app/PlayerTransport.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlProgress.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include <QAction>

#include <QApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <limits>
#include <sys/prctl.h>

namespace {
const int kTimeoutMs = 15000;
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBusMissing = QStringLiteral("dbus-daemon missing (scripts/setup installs dbus)");
QString g_busAddress; // the private bus main() started; empty without dbus-daemon
} // namespace

class tst_Mpris : public QObject {
    Q_OBJECT
signals:
    // What the bus delivers to a widget, re-raised for QSignalSpy.
    void propertiesChanged(const QString& iface, const QVariantMap& changed, const QStringList&);
    void seeked(qlonglong position);

private slots:
    void init();
    void cleanup();
    void trackIdsAreObjectPaths();
    void transport_data();
    void transport();
    void propertiesMatchTheWindows();
    void playModes_data();
    void playModes();
    void menuModeDecidesWhatPlays_data();
    void menuModeDecidesWhatPlays();
    void openUri_data();
    void openUri();
    void raiseAndQuit();
    void startsWithoutSessionBus();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    RecordingPrompts m_prompts;
    std::unique_ptr<PlayerApp> m_app;
    QDBusConnection m_widget{QString()};
    std::unique_ptr<QSignalSpy> m_changes, m_seeks;

    void StartApp();
    QDBusMessage Call(const QString& iface, const QString& method, const QVariantList& args = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            MprisService::kServiceName, MprisService::kObjectPath, iface, method);
        call.setArguments(args);
        // The service answers from this thread: wait with its event loop running.
        return m_widget.call(call, QDBus::BlockWithGui, kTimeoutMs);
    }
    QVariant Get(const QString& name) {
        QVariant v = Call(kProperties, QStringLiteral("Get"), {kPlayer, name}).arguments().value(0);
        v = qvariant_cast<QDBusVariant>(v).variant();
        return v.canConvert<QDBusArgument>() ? qdbus_cast<QVariantMap>(v) : v;
    }
    void Set(const QString& name, const QVariant& value) {
        Call(kProperties, QStringLiteral("Set"),
             {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariant Announced(const QString& name) const { // the latest value told
        QVariant latest;
        for (const QList<QVariant>& signal : *m_changes)
            latest = signal.at(1).toMap().value(name, latest);
        return latest;
    }
    ctlPlayer* Engine() const {
        frmPlayer* video = m_app->ExistingVideoWindow();
        return video ? video->ctlPlayer1() : nullptr;
    }
    bool WaitForState(int state) const {
        return QTest::qWaitFor([&] { return Engine() && Engine()->playState() == state; },
                               kTimeoutMs);
    }
    double Position() const { return Engine()->Controls().currentPosition(); }
    QString PlayingPath() const {
        return m_app->State().CurrentMedia ? m_app->State().CurrentMedia->Path : QString();
    }
    // Chooses `mode` as a click on its item of the main menu's 播放模式 does.
    void ChooseFromMenu(PlayMode mode) {
        for (QAction* item : m_app->Menus().ModeMenu().actions())
            if (item->objectName() == QLatin1String("PlayModeItem") &&
                item->data().toInt() == int(mode))
                item->trigger();
    }
    PlayMode CheckedInMenu() const {
        for (QAction* item : m_app->Menus().ModeMenu().actions())
            if (item->objectName() == QLatin1String("PlayModeItem") && item->isChecked())
                return PlayMode(item->data().toInt());
        return PlayMode(-1);
    }
    QString Song(int n) const { return m_home->filePath(QStringLiteral("s%1.wav").arg(n)); }
};

// Two 30 s songs in the first list.
void tst_Mpris::init() {
    const QByteArray test = QTest::currentTestFunction();
    if (g_busAddress.isEmpty() && test != "trackIdsAreObjectPaths" &&
        test != "startsWithoutSessionBus")
        QSKIP(qPrintable(kBusMissing));
    m_home = std::make_unique<QTemporaryDir>();
    TestProgram::UseInThisProcess(m_home->path());
    QByteArray list = "{Songs}\r\n";
    for (int n = 1; n <= 2; ++n) {
        QVERIFY(TestMedia::WriteFile(Song(n), TestMedia::SilentWav(30)));
        list += "s" + QByteArray::number(n) + "=" + Song(n).toUtf8() + "\r\n";
    }
    QDir(m_home->path()).mkpath(QStringLiteral("PlayList"));
    QVERIFY(TestMedia::WriteFile(m_home->filePath(QStringLiteral("PlayList/0.MLF")), list));
}

void tst_Mpris::cleanup() {
    m_app.reset();
    m_home.reset();
}

void tst_Mpris::StartApp() {
    if (!m_widget.isConnected()) {
        m_widget = QDBusConnection::connectToBus(g_busAddress, QStringLiteral("widget"));
        QVERIFY(m_widget.connect(QString(), MprisService::kObjectPath, kProperties,
                                 QStringLiteral("PropertiesChanged"), this,
                                 SIGNAL(propertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(m_widget.connect(QString(), MprisService::kObjectPath, kPlayer,
                                 QStringLiteral("Seeked"), this, SIGNAL(seeked(qlonglong))));
    }
    m_changes = std::make_unique<QSignalSpy>(this, &tst_Mpris::propertiesChanged);
    m_seeks = std::make_unique<QSignalSpy>(this, &tst_Mpris::seeked);
    m_app = std::make_unique<PlayerApp>(m_prompts);
    QVERIFY(m_app->Start());
}

// Whatever a key holds, its track id is an object path, and no two keys
// share one.
void tst_Mpris::trackIdsAreObjectPaths() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral("invalid")));
    const QStringList keys = {QStringLiteral("12"),  QString(),
                              QStringLiteral("_"),   QStringLiteral("/"),
                              QStringLiteral("_2F"), QStringLiteral("歌 ../\n")};
    QSet<QString> paths;
    for (const QString& key : keys)
        paths.insert(MprisState::TrackId(key).path());
    QVERIFY(!paths.contains(QString()));
    QCOMPARE(paths.size(), keys.size());
}

void tst_Mpris::transport_data() {
    QTest::addColumn<QString>("calls"); // in turn, from 10 s into song 1, playing
    QTest::addColumn<qlonglong>("arg"); // Seek's offset, SetPosition's place (µs)
    QTest::addColumn<bool>("ownTrack"); // SetPosition names the item playing
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("song");
    QTest::addColumn<int>("at"); // seconds into the item afterwards; -1: anywhere
    QTest::addColumn<bool>("sought");
    const int playing = MediaEngine::Playing, paused = MediaEngine::Paused;
    const qlonglong huge = std::numeric_limits<qlonglong>::max();
    QTest::newRow("Play while playing") << "Play" << 0LL << true << playing << 1 << 10 << false;
    QTest::newRow("Pause") << "Pause" << 0LL << true << paused << 1 << 10 << false;
    QTest::newRow("PlayPause playing") << "PlayPause" << 0LL << true << paused << 1 << 10 << false;
    QTest::newRow("PlayPause paused")
        << "Pause PlayPause" << 0LL << true << playing << 1 << 10 << false;
    QTest::newRow("Stop") << "Stop" << 0LL << true << int(MediaEngine::Stopped) << 1 << -1 << false;
    QTest::newRow("Play stopped") << "Stop Play" << 0LL << true << playing << 1 << 0 << false;
    QTest::newRow("Next") << "Next" << 0LL << true << playing << 2 << 0 << false;
    QTest::newRow("Previous") << "Next Previous" << 0LL << true << playing << 1 << 0 << false;
    QTest::newRow("Seek on") << "Seek" << 12'000'000LL << true << playing << 1 << 22 << true;
    QTest::newRow("Seek far back") << "Seek" << -huge - 1 << true << playing << 1 << 0 << true;
    QTest::newRow("Seek past the end") << "Seek" << huge << true << playing << 2 << 0 << false;
    QTest::newRow("SetPosition") << "SetPosition" << 20'000'000LL << true << playing << 1 << 20
                                 << true;
    QTest::newRow("SetPosition, other item")
        << "SetPosition" << 20'000'000LL << false << playing << 1 << 10 << false;
    QTest::newRow("SetPosition before start")
        << "SetPosition" << -1LL << true << playing << 1 << 10 << false;
    QTest::newRow("SetPosition past the end")
        << "SetPosition" << 31'000'000LL << true << playing << 1 << 10 << false;
}

// Each call moves the real engine as the window's buttons, keys and seek bar
// do (Play while playing leaves the item where it is); past the end Seek
// moves on as MPRIS asks, other places out of range are ignored. The
// buttons, the status and position read and what is announced follow.
void tst_Mpris::transport() {
    QFETCH(QString, calls);
    QFETCH(qlonglong, arg);
    QFETCH(bool, ownTrack);
    QFETCH(int, state);
    QFETCH(int, song);
    QFETCH(int, at);
    QFETCH(bool, sought);
    StartApp();
    Call(kPlayer, QStringLiteral("Play"));
    QTRY_VERIFY_WITH_TIMEOUT(Get(QStringLiteral("CanSeek")).toBool(), kTimeoutMs);
    m_app->Transport().SeekTo(10);
    QTRY_VERIFY_WITH_TIMEOUT(Position() >= 10 && m_seeks->size() == 1, kTimeoutMs);
    m_seeks->clear();
    const QString key = m_app->State().CurrentMedia->Key + (ownTrack ? "" : "0");
    for (const QString& call : calls.split(u' ')) {
        const QVariantList args =
            call == QLatin1String("Seek") ? QVariantList{arg}
            : call == QLatin1String("SetPosition")
                ? QVariantList{QVariant::fromValue(MprisState::TrackId(key)), arg}
                : QVariantList();
        QCOMPARE(Call(kPlayer, call, args).type(), QDBusMessage::ReplyMessage);
        const int expected = call == calls.section(u' ', -1)  ? state
                             : call == QLatin1String("Pause") ? int(MediaEngine::Paused)
                             : call == QLatin1String("Stop")  ? int(MediaEngine::Stopped)
                                                              : int(MediaEngine::Playing);
        QVERIFY2(WaitForState(expected), qPrintable(call));
    }
    QCOMPARE(PlayingPath(), Song(song));
    if (at >= 0)
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(Position() - at) < 1.5, kTimeoutMs);
    QTest::qWait(100); // a Seeked, if any, has arrived
    QCOMPARE(m_seeks->size(), int(sought));
    if (sought)
        QCOMPARE(m_seeks->first().at(0).toLongLong(), at * 1'000'000LL);
    const QString status = MprisState::PlaybackStatus(state);
    QCOMPARE(Get(QStringLiteral("PlaybackStatus")).toString(), status);
    QTRY_COMPARE(Announced(QStringLiteral("PlaybackStatus")).toString(), status);
    QTRY_COMPARE(m_app->PlayerWindow().cmdPause()->isVisible(), state == MediaEngine::Playing);
    if (state != MediaEngine::Stopped)
        QVERIFY(std::abs(Get(QStringLiteral("Position")).toLongLong() / 1e6 - Position()) < 0.5);
}

// What a widget reads is what the window shows; a volume set over the bus
// moves the slider and reaches the engine, one set on the window is told.
void tst_Mpris::propertiesMatchTheWindows() {
    StartApp();
    frmPlayerWindow& w = m_app->PlayerWindow();
    emit w.cmdPlay()->Click();
    QTRY_VERIFY_WITH_TIMEOUT(Get(QStringLiteral("CanSeek")).toBool(), kTimeoutMs);
    const QVariantMap metadata = Get(QStringLiteral("Metadata")).toMap();
    QCOMPARE(metadata.value(QStringLiteral("xesam:title")).toString(), w.lbInfo()->text());
    QCOMPARE(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
             MprisState::TrackId(m_app->State().CurrentMedia->Key).path());
    QCOMPARE(metadata.value(QStringLiteral("xesam:url")).toUrl(), QUrl::fromLocalFile(Song(1)));
    QVERIFY(std::abs(metadata.value(QStringLiteral("mpris:length")).toLongLong() - 30e6) < 0.5e6);
    // Lyrics beside the song, once found, are the track's text.
    QVERIFY(!metadata.contains(QStringLiteral("xesam:asText")));
    const QString lrc = QFileInfo(Song(1)).path() + QStringLiteral("/") +
                        QFileInfo(Song(1)).completeBaseName() + QStringLiteral(".lrc");
    QVERIFY(TestMedia::WriteFile(lrc, "[ar:x]\n[00:02]two\n[00:01]one\n"));
    emit w.cmdNext()->Click();
    emit w.cmdPrev()->Click();
    QTRY_COMPARE_WITH_TIMEOUT(
        Get(QStringLiteral("Metadata")).toMap().value(QStringLiteral("xesam:asText")).toString(),
        QStringLiteral("one\ntwo"), kTimeoutMs);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        QVariant value;
        int slider;
    } volumes[] = {{0.3, 30}, {nan, 30}, {QStringLiteral("loud"), 30}, {7.0, 100}, {-1.0, 0}};
    for (const auto& v : volumes) {
        Set(QStringLiteral("Volume"), v.value);
        QCOMPARE(w.ctlVolume()->Value(), v.slider);
        QCOMPARE(m_app->State().Volume, v.slider);
        QCOMPARE(Engine()->settings().volume(), v.slider);
        QTRY_COMPARE(Announced(QStringLiteral("Volume")).toDouble(), v.slider / 100.0);
    }
    w.ctlVolume()->SetValue(80);
    QTRY_COMPARE(Announced(QStringLiteral("Volume")).toDouble(), 0.8);
    QCOMPARE(Get(QStringLiteral("Volume")).toDouble(), 0.8);
}

// LoopStatus and Shuffle set over the bus, from a mode chosen in the menu:
// the mode that results is checked in the menu, read back and announced.
// An unknown LoopStatus is refused and changes nothing.
void tst_Mpris::playModes_data() {
    QTest::addColumn<PlayMode>("from");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<PlayMode>("to");
    QTest::newRow("track") << PlayMode::Default << "LoopStatus" << QVariant("Track")
                           << PlayMode::RepeatOne;
    QTest::newRow("playlist ends shuffle")
        << PlayMode::Shuffle << "LoopStatus" << QVariant("Playlist") << PlayMode::RepeatList;
    QTest::newRow("none ends a repeat")
        << PlayMode::RepeatOne << "LoopStatus" << QVariant("None") << PlayMode::Default;
    QTest::newRow("none keeps in order")
        << PlayMode::InOrder << "LoopStatus" << QVariant("None") << PlayMode::InOrder;
    QTest::newRow("unknown loop") << PlayMode::RepeatList << "LoopStatus" << QVariant("Forever")
                                  << PlayMode::RepeatList;
    QTest::newRow("loop not text")
        << PlayMode::RepeatList << "LoopStatus" << QVariant(3) << PlayMode::RepeatList;
    QTest::newRow("shuffle on") << PlayMode::RepeatList << "Shuffle" << QVariant(true)
                                << PlayMode::Shuffle;
    QTest::newRow("shuffle off") << PlayMode::Shuffle << "Shuffle" << QVariant(false)
                                 << PlayMode::Default;
    QTest::newRow("shuffle off keeps repeat")
        << PlayMode::RepeatOne << "Shuffle" << QVariant(false) << PlayMode::RepeatOne;
}

void tst_Mpris::playModes() {
    QFETCH(PlayMode, from);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(PlayMode, to);
    StartApp();
    QCOMPARE(CheckedInMenu(), PlayMode::Default);
    ChooseFromMenu(from);
    QCOMPARE(m_app->Playback().Mode(), from);
    QTRY_COMPARE(Get(QStringLiteral("LoopStatus")).toString(), MprisState::LoopStatus(from));
    Set(property, value);
    QCOMPARE(m_app->Playback().Mode(), to);
    QCOMPARE(CheckedInMenu(), to);
    QCOMPARE(Get(QStringLiteral("LoopStatus")).toString(), MprisState::LoopStatus(to));
    QCOMPARE(Get(QStringLiteral("Shuffle")).toBool(), to == PlayMode::Shuffle);
    // Nothing announced yet means the value at start: "None", no shuffle.
    QTRY_COMPARE(Announced(QStringLiteral("LoopStatus"))
                     .toString()
                     .replace(QRegularExpression("^$"), "None"),
                 MprisState::LoopStatus(to));
    QTRY_COMPARE(Announced(QStringLiteral("Shuffle")).toBool(), to == PlayMode::Shuffle);
}

// A mode chosen from the menu decides what follows on the last of the two
// songs, for the next call and for the song's own end; "stop after the
// current song" stops at the end once and unchecks itself.
void tst_Mpris::menuModeDecidesWhatPlays_data() {
    QTest::addColumn<PlayMode>("mode");
    QTest::addColumn<bool>("stopAfter");
    QTest::addColumn<bool>("atEnd"); // the song plays to its end, else Next
    QTest::addColumn<int>("song");   // 0: stopped
    QTest::newRow("default next") << PlayMode::Default << false << false << 2;
    QTest::newRow("in order next") << PlayMode::InOrder << false << false << 0;
    QTest::newRow("repeat list next") << PlayMode::RepeatList << false << false << 1;
    QTest::newRow("repeat list end") << PlayMode::RepeatList << false << true << 1;
    QTest::newRow("in order end") << PlayMode::InOrder << false << true << 0;
    QTest::newRow("repeat one end") << PlayMode::RepeatOne << false << true << 2;
    QTest::newRow("stop after, repeat list end") << PlayMode::RepeatList << true << true << 0;
}

void tst_Mpris::menuModeDecidesWhatPlays() {
    QFETCH(PlayMode, mode);
    QFETCH(bool, stopAfter);
    QFETCH(bool, atEnd);
    QFETCH(int, song);
    StartApp();
    ChooseFromMenu(mode);
    QAction* stop = nullptr;
    for (QAction* item : m_app->Menus().ModeMenu().actions())
        if (item->objectName() == QLatin1String("StopAfterCurrent"))
            stop = item;
    QVERIFY(stop);
    if (stopAfter)
        stop->trigger();
    QCOMPARE(m_app->Playback().StopAfterCurrent(), stopAfter);
    Call(kPlayer, QStringLiteral("Play"));
    QVERIFY(WaitForState(MediaEngine::Playing));
    Call(kPlayer, QStringLiteral("Next"));
    QTRY_COMPARE_WITH_TIMEOUT(PlayingPath(), Song(2), kTimeoutMs);
    QVERIFY(WaitForState(MediaEngine::Playing));
    QStringList starts;
    connect(&m_app->Playback(), &PlaylistPlayback::ItemStarting, this,
            [&starts](const CMediaInfo& item) { starts << item.Path; });
    if (atEnd) {
        QTRY_VERIFY_WITH_TIMEOUT(Get(QStringLiteral("CanSeek")).toBool(), kTimeoutMs);
        m_app->Transport().SeekTo(29);
    } else {
        Call(kPlayer, QStringLiteral("Next"));
    }
    if (song == 0) {
        QVERIFY(WaitForState(MediaEngine::Stopped));
        QTest::qWait(300); // nothing starts after all
        QCOMPARE(starts.size(), 0);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(starts.size(), 1, kTimeoutMs);
        QCOMPARE(starts.first(), Song(song));
        QVERIFY(WaitForState(MediaEngine::Playing));
    }
    QVERIFY(!stop->isChecked());
    QVERIFY(!m_app->Playback().StopAfterCurrent());
}

void tst_Mpris::openUri_data() {
    QTest::addColumn<QString>("uri"); // %1: the program's folder
    QTest::newRow("file URI") << "file://%1/new%20song.wav";
    QTest::newRow("another machine") << "file://server%1/new%20song.wav";
    QTest::newRow("no scheme") << "%1/new song.wav";
    QTest::newRow("engine instruction") << "av://lavfi:sine";
    QTest::newRow("control character") << "http://127.0.0.1:9/a\nb";
}

// A supported URI is added to the current list and played; anything else is
// refused with an error and adds nothing.
void tst_Mpris::openUri() {
    QFETCH(QString, uri);
    StartApp();
    const QString song = m_home->filePath(QStringLiteral("new song.wav"));
    QVERIFY(TestMedia::WriteFile(song, TestMedia::SilentWav(30)));
    const auto& items = m_app->Store().Items(m_app->Store().ListKeys().first());
    const QDBusMessage reply = Call(kPlayer, QStringLiteral("OpenUri"),
                                    {uri.replace(QLatin1String("%1"), m_home->path())});
    if (QTest::currentDataTag() != QLatin1String("file URI")) {
        QCOMPARE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NotSupported"));
        QCOMPARE(items.size(), size_t(2));
        QVERIFY(!Engine());
        return;
    }
    QCOMPARE(items.size(), size_t(3));
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(PlayingPath(), song);
    QTRY_VERIFY(m_app->PlayerWindow().cmdPause()->isVisible());
}

// Raise brings the minimised player window back; Quit is the program's one
// way out (the event loop ends with 0), after which calls change nothing.
void tst_Mpris::raiseAndQuit() {
    StartApp();
    const QString root = QStringLiteral("org.mpris.MediaPlayer2");
    m_app->PlayerWindow().showMinimized();
    QCOMPARE(Call(root, QStringLiteral("Raise")).type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY(!m_app->PlayerWindow().isMinimized());
    QVERIFY(m_widget.send(QDBusMessage::createMethodCall(
        MprisService::kServiceName, MprisService::kObjectPath, root, QStringLiteral("Quit"))));
    QTimer giveUp;
    connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    giveUp.start(kTimeoutMs);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(m_app->HasQuit());
    Call(kPlayer, QStringLiteral("Next"));
    QVERIFY(!Engine());
}

// Where no session bus answers (a bare X session, CI) the program starts and
// ends as always, and says nothing about it.
void tst_Mpris::startsWithoutSessionBus() {
    QProcessEnvironment env = TestProgram::Environment(m_home->path());
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + m_home->filePath(QStringLiteral("no-bus")));
    env.insert(QStringLiteral("MELODECK_SCREENSHOT"), m_home->filePath(QStringLiteral("shot.png")));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path());
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QFile::exists(m_home->filePath(QStringLiteral("shot.png"))));
    QVERIFY(!program.readAllStandardError().contains("bus"));
}

// The private bus comes before the QApplication, so all in this process
// that asks for the session bus gets it, and never the user's own.
int main(int argc, char** argv) {
    QProcess bus;
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (!daemon.isEmpty()) {
        // The bus goes with this process even when a test crashes it.
        bus.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        bus.start(daemon, {"--session", "--print-address", "--nofork"});
        if (bus.waitForStarted() && bus.waitForReadyRead(10000))
            g_busAddress = QString::fromUtf8(bus.readLine()).trimmed();
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            g_busAddress.isEmpty() ? QByteArray("unix:path=/nonexistent") : g_busAddress.toUtf8());
    int status = 0;
    {
        QApplication app(argc, argv);
        tst_Mpris test;
        status = QTest::qExec(&test, argc, argv);
    }
    bus.kill();
    bus.waitForFinished();
    return status;
}

#include "tst_Mpris.moc"
