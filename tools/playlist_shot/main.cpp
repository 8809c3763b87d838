// Saves a picture of the playlist window with a few playlists and songs, to
// look at a skin's playlist window as the program shows it.
//
//   playlist_shot <out.png> [skin name] [width height]
//
// Skins are read where the program reads them (SkinDirs()); the default
// skin is "Winamp Modern" and the default size the skin's designed size.

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/SkinStore.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <cstdio>

namespace {

class PrintingPrompts : public DialogPrompts {
public:
    void MsgBox(const QString& text, const QString&) override {
        std::fprintf(stderr, "playlist_shot: %s\n", qPrintable(text));
    }
};

void AddSampleRows(frmPlaylistWindow& window) {
    const QStringList lists = {QStringLiteral("[默认]"), QStringLiteral("Road trip"),
                               QStringLiteral("晚上听的")};
    for (int i = 0; i < lists.size(); ++i)
        window.ctlListLeft()->Add(lists[i], QString(), QString::number(i));
    const QStringList songs = {QStringLiteral("Daybreak Overture"),
                               QStringLiteral("Neon Rain"),
                               QStringLiteral("纸船 - Paper Boats"),
                               QStringLiteral("Slow Orbit"),
                               QStringLiteral("Last Train Home (Extended Mix, Remastered)"),
                               QStringLiteral("Harbor Lights"),
                               QStringLiteral("Glass Garden")};
    const QStringList times = {"03:21", "04:05", "10:59", "00:00", "12:34", "02:07", "05:50"};
    // More songs than fit, so the scroll bar shows.
    for (int i = 0; i < 3 * songs.size(); ++i)
        window.ctlList1()->Add(songs[i % songs.size()], times[i % songs.size()],
                               QString::number(10 + i));
    window.ctlListLeft()->SelectItem(QStringLiteral("0"));
    window.ctlList1()->SelectItem(QStringLiteral("12"));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() == 3 || args.size() > 4) {
        std::fputs("usage: playlist_shot <out.png> [skin name] [width height]\n", stderr);
        return 2;
    }
    const QString skin = args.size() >= 2 ? args[1] : QStringLiteral("Winamp Modern");
    PrintingPrompts prompts;
    SkinStore store(SkinDirs());
    QString error;
    if (!store.LoadSkin(skin, prompts, &error)) {
        std::fprintf(stderr, "playlist_shot: %s\n", qPrintable(error));
        return 1;
    }
    PlayerState state;
    QWidget player(nullptr, Qt::FramelessWindowHint);
    player.setGeometry(0, 0, 300, 116);
    frmPlaylistWindow window(store, prompts, state, &player);
    if (!window.Load())
        return 1;
    AddSampleRows(window);
    if (args.size() == 4)
        window.resize(args[2].toInt(), args[3].toInt());
    window.show();
    QApplication::processEvents();
    return window.Snapshot().save(args[0]) ? 0 : 1;
}
