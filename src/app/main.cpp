#include "app/CommandLinePlayback.h"

#include <QApplication>
#include <QTextStream>
#include <clocale>

namespace {

// Docked windows need to place themselves, which Wayland does not allow:
// run on XWayland when both are there and nothing else was asked for.
void preferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

int usage() {
    QTextStream(stdout) << QStringLiteral(
        "Melodeck 5.0\n"
        "Usage: melodeck PATH-OR-URL\n"
        "  Plays a local audio or video file, or an http://, mms:// or rtsp:// stream,\n"
        "  and exits when it has ended. Video opens in the video window:\n"
        "  double-click it for full screen, close it to stop.\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    preferX11();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Melodeck"));
    // libmpv needs C number formatting; QApplication may have changed it.
    std::setlocale(LC_NUMERIC, "C");

    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty() || args.first().isEmpty())
        return usage();

    // The command line is one unparsed text (a path may hold spaces).
    CommandLinePlayback playback(args.join(QLatin1Char(' ')));
    if (!playback.start())
        return 2;
    return app.exec();
}
