// Draws Melodeck's shipped skins.
//
//   melodeck_skingen <skin folder>             writes every skin into <skin folder>/<name>/
//   melodeck_skingen --preview <folder> [zoom]  writes <name>.png, a picture of each skin,
//                                               and <name>-player.png, its player window
//   melodeck_skingen --icons <hicolor folder>  writes the program's icon as
//                                               <n>x<n>/apps/melodeck.png for each size
//
// The skin files depend on nothing but this program: no fonts, no clock,
// no randomness, so every run writes the same bytes.

#include "AppIcon.h"
#include "Preview.h"
#include "SkinWriter.h"
#include "Theme.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: melodeck_skingen <skin folder>\n"
               "       melodeck_skingen --preview <folder> [zoom]\n"
               "       melodeck_skingen --icons <hicolor folder>\n",
               stderr);
    return 2;
}

int writeSkins(const QString& skinsDir) {
    for (const skingen::SkinDesign& d : skingen::Designs()) {
        QString error;
        if (!skingen::SkinWriter::Write(d, skinsDir, &error)) {
            std::fprintf(stderr, "melodeck_skingen: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}

// The preview draws sample texts, which needs fonts and so an application
// object; writing skins does not.
int writePreviews(int argc, char** argv, const QString& dir, int zoom) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!QDir().mkpath(dir))
        return 1;
    for (const skingen::SkinDesign& d : skingen::Designs()) {
        const QString path = dir + "/" + d.folder + ".png";
        const QString closeUp = dir + "/" + d.folder + "-player.png";
        if (!skingen::Preview::Compose(d, zoom).save(path) ||
            !skingen::Preview::PlayerWindow(d, 2 * zoom).save(closeUp)) {
            std::fprintf(stderr, "melodeck_skingen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 1 && !args[0].startsWith("--"))
        return writeSkins(args[0]);
    if (args.size() == 2 && args[0] == "--icons") {
        QString error;
        if (skingen::AppIcon::WriteTheme(args[1], &error))
            return 0;
        std::fprintf(stderr, "melodeck_skingen: %s\n", qPrintable(error));
        return 1;
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == "--preview") {
        const int zoom = args.size() == 3 ? args[2].toInt() : 2;
        return zoom >= 1 && zoom <= 8 ? writePreviews(argc, argv, args[1], zoom) : usage();
    }
    return usage();
}
