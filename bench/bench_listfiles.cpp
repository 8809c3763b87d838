// Times a playlist folder of many small list files (100,000 by default, or
// the count given as the argument): loading them, the save at exit when
// nothing changed, and the save after one list changed. Run under
// QT_QPA_PLATFORM=offscreen.

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/PlaylistStore.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double Ms(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

bool Generate(const QString& lists, int count) {
    for (int n = 0; n < count; ++n) {
        QFile file(lists + QString::number(n) + QStringLiteral(".MLF"));
        const QByteArray text = "{list " + QByteArray::number(n) + "}\r\nsong=/music/" +
                                QByteArray::number(n) + ".mp3\r\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString lists = dir.path() + QStringLiteral("/PlayList/");
    if (count <= 0 || !QDir().mkpath(lists) || !Generate(lists, count)) {
        std::printf("cannot generate the list files\n");
        return 1;
    }
    QWidget window;
    auto* left = new ctlList(&window);
    auto* songs = new ctlList(&window);
    PlayerState state;
    SilentPrompts prompts;
    PlaylistStore store(*left, *songs, state, prompts);
    store.SetFolder(lists);

    QElapsedTimer clock;
    clock.start();
    store.LoadPlaylists();
    std::printf("LoadPlaylists, %d list files: %.1f ms (%d lists)\n", count,
                Ms(clock.nsecsElapsed()), left->Count());
    clock.restart();
    bool saved = store.SavePlaylists();
    std::printf("SavePlaylists with nothing changed: %.1f ms (%s)\n", Ms(clock.nsecsElapsed()),
                saved ? "complete" : "failed");
    store.DeletePlaylist(store.ListKeys().constLast());
    clock.restart();
    saved = store.SavePlaylists();
    std::printf("SavePlaylists after deleting the last list: %.1f ms (%s)\n",
                Ms(clock.nsecsElapsed()), saved ? "complete" : "failed");
    return 0;
}
