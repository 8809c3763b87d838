#include "app/CommandLinePlayback.h"
#include "app/frmPlayerWindow.h"
#include "skin/SkinStore.h"
#include "winsvc/AppDir.h"
#include "winsvc/DisplayText.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// Every start uses this skin; a skin chosen in an earlier run is not kept.
const QString kStartSkin = QStringLiteral("Winamp Modern");

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
};

// With MELODECK_SCREENSHOT set to a file name, the program saves what the
// player window shows to that file once it is on screen (or after
// MELODECK_SCREENSHOT_MS milliseconds, say while an item plays), and ends.
void scheduleScreenshot(frmPlayerWindow& window) {
    const QString file = qEnvironmentVariable("MELODECK_SCREENSHOT");
    if (file.isEmpty())
        return;
    bool given = false;
    const int delay = qEnvironmentVariableIntValue("MELODECK_SCREENSHOT_MS", &given);
    QTimer::singleShot(given ? delay : 200, &window, [&window, file] {
        QApplication::exit(window.Snapshot().save(file) ? 0 : 1);
    });
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(terminalMessageHandler);
    preferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Melodeck"));
    // libmpv needs C number formatting; QApplication may have changed it.
    std::setlocale(LC_NUMERIC, "C");

    StartPrompts prompts;
    SkinStore skins(AppDir() + QStringLiteral("/skin"));
    frmPlayerWindow window(skins, prompts);
    // Without its start skin the window cannot be drawn: the user has been
    // told which skin is broken and why, and the program ends here.
    if (!window.ChangeSkin(kStartSkin))
        return 1;
    QObject::connect(&window, &frmPlayerWindow::QuitRequested, &app, [] { QApplication::exit(0); });
    window.show();

    // The command line is one unparsed text (a path may hold spaces).
    const QString item = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    std::unique_ptr<CommandLinePlayback> playback;
    if (!item.isEmpty()) {
        playback = std::make_unique<CommandLinePlayback>(item, &window);
        if (!playback->start())
            playback.reset(); // it said why; the window stays for the user
    }
    scheduleScreenshot(window);
    return app.exec();
}
