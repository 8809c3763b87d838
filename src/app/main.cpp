#include "app/CommandLine.h"
#include "app/PlayerApp.h"
#include "app/frmPlayerWindow.h"
#include "net/HandOffFrame.h"
#include "net/PendingItems.h"
#include "net/SingleInstance.h"
#include "playback/CMediaInfo.h"
#include "playback/EngineMedia.h"
#include "playback/VideoOutputChoice.h"
#include "playback/frmPlayer.h"
#include "playlist/ItemInfoReader.h"
#include "playlist/PlaylistPlayback.h"
#include "winsvc/DisplayText.h"
#include "winsvc/ExitSignals.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <QThreadPool>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Docked windows need to place themselves, which Wayland does not allow:
// run on XWayland when both are there and nothing else was asked for.
void preferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// `text` fit for the terminal line by line: messages keep their line breaks,
// while a quoted value can no longer steer the terminal.
QString forTerminal(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = DisplayText::ForTerminal(line);
    return lines.join(QLatin1Char('\n'));
}

// Qt's and the libraries' own warnings quote file names and texts from
// outside too.
void terminalMessageHandler(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    const QString line = forTerminal(qFormatLogMessage(type, context, message));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Prompts that also copy every message to the terminal, so that a start
// that fails says why even where no one sees the message box. Without a
// screen (the offscreen platform) no one could answer a box at all, so the
// terminal is all there is.
class StartPrompts : public DialogPrompts {
public:
    void MsgBox(const QString& text, const QString& title = QString()) override {
        QTextStream(stderr) << forTerminal(text) << Qt::endl;
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            DialogPrompts::MsgBox(text, title);
    }
    // A question no one can see is answered "no".
    bool Ask(const QString& text, const QString& title = QString()) override {
        QTextStream(stderr) << forTerminal(text) << Qt::endl;
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return false;
        return DialogPrompts::Ask(text, title);
    }
};

// With MELODECK_SCREENSHOT set to a file name, the program saves what the
// player window shows to that file once it is on screen (or after
// MELODECK_SCREENSHOT_MS milliseconds, say while an item plays), and ends
// through the normal exit path.
void scheduleScreenshot(PlayerApp& app) {
    const QString file = qEnvironmentVariable("MELODECK_SCREENSHOT");
    if (file.isEmpty())
        return;
    bool given = false;
    const int delay = qEnvironmentVariableIntValue("MELODECK_SCREENSHOT_MS", &given);
    QTimer::singleShot(given ? delay : 200, &app, [&app, file] {
        if (!app.PlayerWindow().Snapshot().save(file))
            QTextStream(stderr) << forTerminal(file) << QStringLiteral(" 文件保存错误") << Qt::endl;
        app.QuitApplication();
    });
}

// What plays is named on the terminal, as far as the terminal can be trusted
// with the name; an address that cannot be played says so there too. The
// failure is told from the engine's own report of what failed: the player
// may already have moved on to another candidate or item by the time this
// hears of it, and its own handling of the failure must stay connected.
void echoPlayback(PlayerApp& app) {
    auto watching = std::make_shared<bool>(false);
    QObject::connect(&app.Playback(), &PlaylistPlayback::ItemStarting, &app,
                     [&app, watching](const CMediaInfo& item) {
                         QTextStream(stdout)
                             << QStringLiteral("正在播放: ")
                             << DisplayText::ForTerminal(DisplayText::Quote(item.Title))
                             << Qt::endl;
                         if (*watching)
                             return;
                         *watching = true;
                         QObject::connect(app.VideoWindow().ctlPlayer1(), &ctlPlayer::MediaError,
                                          &app, [](const EngineMedia& media) {
                                              QTextStream(stderr)
                                                  << DisplayText::ForTerminal(
                                                         DisplayText::Quote(media.sourceURL()))
                                                  << QStringLiteral(" 无法播放") << Qt::endl;
                                          });
                     });
}

// With MELODECK_REPORT_LENGTHS set, one line goes to the terminal when the
// background reading of the playlists' lengths has finished, so that a
// benchmark can time it from outside without looking at the window.
void reportLengthsRead(PlayerApp& app) {
    if (qEnvironmentVariableIsEmpty("MELODECK_REPORT_LENGTHS"))
        return;
    auto report = [] { QTextStream(stderr) << "lengths read" << Qt::endl; };
    ItemInfoReader& reader = app.Store().InfoReader();
    if (reader.Pending() == 0)
        report();
    else
        QObject::connect(&reader, &ItemInfoReader::Idle, &app, report, Qt::SingleShotConnection);
}

// The media engine's library may set up signal handlers of its own when it
// starts, and again when it opens its outputs on threads of its own; the
// program's handlers are put back whenever one is found missing, so a
// termination signal always reaches QuitApplication.
void keepExitSignals(PlayerApp& app, ExitSignals& exitSignals) {
    auto* check = new QTimer(&app);
    check->setInterval(1000);
    QObject::connect(check, &QTimer::timeout, &exitSignals, [&exitSignals] {
        if (!exitSignals.HandlersInPlace())
            exitSignals.Reinstall();
    });
    check->start();
    QObject::connect(&app.Playback(), &PlaylistPlayback::ItemStarting, &exitSignals,
                     [&exitSignals] { exitSignals.Reinstall(); });
}

// Every way the session can end goes through QuitApplication, so the
// playlists are saved once: a termination signal, and the desktop session
// ending.
void connectExits(PlayerApp& app, ExitSignals& exitSignals) {
    QObject::connect(&exitSignals, &ExitSignals::ExitRequested, &app,
                     [&app] { app.QuitApplication(); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &app,
                     [&app](QSessionManager&) { app.QuitApplication(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &app, [&app] { app.QuitApplication(); });
}

// A second start's items go to the running copy. A copy that is busy or
// flooded with connections gets a few tries; one that has ended meanwhile
// leaves its place to this one (nullopt: run as the first copy). Items that
// still cannot be handed over are kept for the next start and the user told.
std::optional<int> handOver(SingleInstance& instance, const QStringList& commandLine) {
    constexpr int kTries = 3;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (instance.SendCommandLine(HandOffFrame::JoinItems(commandLine)))
            return 0;
        if (instance.Start() == SingleInstance::Role::First)
            return std::nullopt;
    }
    const bool kept = PendingItems::Keep(UserDataDir(), commandLine);
    QTextStream(stderr) << (kept ? QStringLiteral("melodeck: the running copy did not answer; "
                                                  "kept for the next start: ")
                                 : QStringLiteral("melodeck: the running copy did not answer; not "
                                                  "handed over: "))
                        << forTerminal(commandLine.join(QLatin1Char(' '))) << Qt::endl;
    return 1;
}

// Items an earlier start could not hand over come first into the lists; the
// items of this start play, else the first kept one does.
void playStartItems(PlayerApp& player, const QStringList& commandLine) {
    QString error;
    const QStringList kept = PendingItems::Take(UserDataDir(), error);
    if (!error.isEmpty())
        QTextStream(stderr)
            << "melodeck: items kept by an earlier start not read: "
            << forTerminal(QDir(UserDataDir()).filePath(QLatin1String(PendingItems::FileName)))
            << ' ' << error << Qt::endl;
    if (commandLine.isEmpty()) {
        if (!kept.isEmpty())
            player.PlayCommandLine(kept);
        return;
    }
    for (const QString& item : kept)
        player.AddText(item);
    player.PlayCommandLine(commandLine);
}

} // namespace

// --help and --version answer before any window system is asked for, so
// they work on a terminal without a display. The raw arguments still hold
// Qt's own options here; those are only judged once Qt has taken them.
std::optional<int> answerInformationOptions(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Request request = CommandLine::Parse(arguments);
    if (request.What != CommandLine::Action::Help && request.What != CommandLine::Action::Version)
        return std::nullopt;
    const QString text = request.What == CommandLine::Action::Help
                             ? CommandLine::UsageText()
                             : CommandLine::VersionText() + QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

int main(int argc, char** argv) {
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;
    preferX11();
    // Started without stdin, the connection to the display would otherwise be
    // descriptor 0, which a failing probe of the GPU video output closes.
    VideoOutputChoice::reserveDescriptorZero();
    qInstallMessageHandler(terminalMessageHandler);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Melodeck"));
    // Qt converts large pictures (a window's shape) on its shared pool; those
    // threads are wanted only in such bursts, not for the next 30 s.
    QThreadPool::globalInstance()->setExpiryTimeout(2000);
    // libmpv needs C number formatting; QApplication may have changed it.
    std::setlocale(LC_NUMERIC, "C");

    // An unknown option ends the program before anything is handed over or
    // loaded. Paths are made whole here, in the folder they were typed in.
    const CommandLine::Request request = CommandLine::Parse(QApplication::arguments().mid(1));
    if (request.What == CommandLine::Action::Error) {
        QTextStream(stderr) << forTerminal(request.Error) << Qt::endl;
        return 2;
    }
    const CommandLine::Items items = CommandLine::PrepareItems(request.Items, QDir::currentPath());
    for (const QString& refused : items.Refused)
        QTextStream(stderr) << DisplayText::ForTerminal(DisplayText::Quote(refused))
                            << QStringLiteral(" 无法播放") << Qt::endl;
    const QStringList& commandLine = items.Accepted;

    // One copy per user: a later one hands its command line over and ends
    // without a window and without touching a file.
    // Signals are caught before the instance is visible to others, so a
    // signal sent as soon as the socket appears ends the program the normal
    // way rather than by the default action.
    ExitSignals exitSignals;
    SingleInstance instance;
    if (instance.Start() == SingleInstance::Role::Second) {
        if (commandLine.isEmpty())
            return items.Refused.isEmpty() ? 0 : 1;
        if (const std::optional<int> status = handOver(instance, commandLine))
            return *status;
    }

    StartPrompts prompts;
    PlayerApp player(prompts);
    QObject::connect(
        &instance, &SingleInstance::CommandLineReceived, &player,
        [&player](const QString& text) { player.HandOff(HandOffFrame::ItemsOf(text)); });
    connectExits(player, exitSignals);
    if (!player.Start())
        return 1;
    // Quit while a start-up message box was open: saved and closed already.
    if (player.HasQuit())
        return 0;
    echoPlayback(player);
    reportLengthsRead(player);
    keepExitSignals(player, exitSignals);
    playStartItems(player, commandLine);
    // Last, from the event loop: accepting an update quits, which needs the
    // loop running.
    QTimer::singleShot(0, &player, [&player] { player.CheckForUpdate(); });
    scheduleScreenshot(player);
    // A quit inside a nested event loop (a link search of the command line)
    // ended that loop; the main one must not start after it.
    if (player.HasQuit())
        return 0;
    return app.exec();
}
