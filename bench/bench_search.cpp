// Times the search across the lists with 100,000 items in ten lists: making
// the index (once, when the search opens) and answering each keystroke of a
// query typed a character at a time, the slowest keystroke reported. Run
// under QT_QPA_PLATFORM=offscreen.

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/ListSearch.h"
#include "playlist/PlaylistStore.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ctlList lists;
    ctlList songs;
    PlayerState state;
    SilentPrompts prompts;
    PlaylistStore store(lists, songs, state, prompts);
    constexpr int kItems = 100000;
    for (int list = 0; list < 10; ++list) {
        const QString key = store.AddPlaylist(QStringLiteral("列表%1").arg(list));
        for (int i = 0; i < kItems / 10; ++i) {
            auto media = std::make_shared<CMediaInfo>();
            media->Title = QStringLiteral("歌手%1 - Song Title %2").arg(i % 500).arg(i);
            media->Path = QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 歌曲.mp3")
                              .arg(i % 500)
                              .arg(i % 37)
                              .arg(i);
            store.AddMediaToList(media, key, false);
        }
    }
    QElapsedTimer clock;
    clock.start();
    const ListSearch search(store);
    std::printf("index of %d items: %.1f ms\n", kItems, double(clock.nsecsElapsed()) / 1e6);
    for (const QString query : {QStringLiteral("song title 9999"), QStringLiteral("歌手12 album"),
                                QStringLiteral("ｓｏｎｇ 42"), QStringLiteral("zzzz nothing")}) {
        double slowest = 0;
        qsizetype hits = 0;
        for (qsizetype n = 1; n <= query.size(); ++n) {
            clock.restart();
            hits = search.Find(query.left(n), 500).size();
            slowest = std::max(slowest, double(clock.nsecsElapsed()) / 1e6);
        }
        std::printf("\"%s\": slowest keystroke %.1f ms, %lld rows at the end\n", qPrintable(query),
                    slowest, static_cast<long long>(hits));
    }
    return 0;
}
