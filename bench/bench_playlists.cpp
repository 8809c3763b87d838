// Times the playlist files with 10,000 items over real tagged MP3 files
// (generated in a temporary folder): loading them until every row shows,
// until every length is filled in by the background reading, saving them,
// and, for comparison, reading every item's tags one after the other on one
// thread. Run under QT_QPA_PLATFORM=offscreen.

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/ItemInfoReader.h"
#include "playlist/PlaylistStore.h"
#include "support/TestMedia.h"
#include "winsvc/LegacyText.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kItems = 10000;
constexpr int kLists = 4; // the first list holds most items and is shown

// Says nothing back, but prints any message so a broken run is noticed.
class PrintingPrompts : public SilentPrompts {
public:
    void MsgBox(const QString& text, const QString&) override {
        std::printf("message: %s\n", qPrintable(text));
    }
};

double Ms(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

// kItems tagged files and kLists playlist files naming them.
bool Generate(const QString& root, const QString& lists) {
    QStringList text[kLists];
    for (int list = 0; list < kLists; ++list)
        text[list] << QStringLiteral("{列表%1}").arg(list);
    for (int i = 0; i < kItems; ++i) {
        const QString path = root + QStringLiteral("/media/%1.mp3").arg(i);
        const QByteArray title = "Song " + QByteArray::number(i);
        if (!TestMedia::WriteFile(path, TestMedia::SilentMp3(0.2 + 0.01 * (i % 50), title)))
            return false;
        const int list = i < kItems * 7 / 10 ? 0 : 1 + i % (kLists - 1);
        text[list] << QStringLiteral("歌曲%1=").arg(i) + path;
    }
    for (int list = 0; list < kLists; ++list) {
        QFile file(lists + QString::number(list) + QStringLiteral(".MLF"));
        const QByteArray bytes = LegacyText::ToGb18030(text[list].join("\r\n") + "\r\n");
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString lists = dir.path() + QStringLiteral("/PlayList/");
    if (!QDir().mkpath(dir.path() + QStringLiteral("/media")) || !QDir().mkpath(lists) ||
        !Generate(dir.path(), lists)) {
        std::printf("cannot generate the media files\n");
        return 1;
    }

    QWidget window;
    window.resize(420, 640);
    auto* left = new ctlList(&window);
    auto* songs = new ctlList(&window);
    left->setGeometry(0, 0, 100, 600);
    songs->setGeometry(100, 0, 300, 600);
    window.show();
    QApplication::processEvents();
    PlayerState state;
    PrintingPrompts prompts;
    PlaylistStore store(*left, *songs, state, prompts);
    store.SetFolder(lists);

    QElapsedTimer clock;
    clock.start();
    store.LoadPlaylists();
    const qint64 shownNs = clock.nsecsElapsed();
    QApplication::processEvents(); // the first paint of the rows
    const qint64 paintedNs = clock.nsecsElapsed();
    if (store.InfoReader().Pending() > 0) {
        QEventLoop wait;
        QObject::connect(&store.InfoReader(), &ItemInfoReader::Idle, &wait, &QEventLoop::quit);
        wait.exec();
    }
    const qint64 filledNs = clock.nsecsElapsed();
    std::printf("LoadPlaylists, %d items in %d lists: %.1f ms until every row is there, "
                "%.1f ms with the first paint\n",
                kItems, kLists, Ms(shownNs), Ms(paintedNs));
    std::printf("every length filled in: %.1f ms after the start of the load\n", Ms(filledNs));
    int known = 0;
    for (int row = 1; row <= songs->Count(); ++row)
        known += songs->ItemData(row)->iTime != QLatin1String("00:00");
    std::printf("rows of the shown list with a length above half a second: %d of %d\n", known,
                songs->Count());

    clock.restart();
    const bool saved = store.SavePlaylists();
    std::printf("SavePlaylists: %.1f ms (%s)\n", Ms(clock.nsecsElapsed()),
                saved ? "complete" : "failed");

    clock.restart();
    for (const QString& key : store.ListKeys()) {
        for (const auto& item : store.Items(key))
            ItemInfoReader::ReadNow(*item, false);
    }
    std::printf("the same lengths read one after the other on the GUI thread: %.1f ms\n",
                Ms(clock.nsecsElapsed()));
    return 0;
}
