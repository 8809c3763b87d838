// Times "文件夹(&P)..." on a folder of 20,000 small real media files (three
// in four MP3 with an ID3v2 title, the rest WAV, in 100 subfolders): from the
// command to every row being in the shown song list, and to every item's
// length being known (the tag titles come with it), through the folder
// walker, the adder, the store, the background reader and the list control.
// The longest the GUI thread is held is measured as the largest gap between
// ticks of a 1 ms timer, before the rows are in and while the lengths fill
// in; changes are saved as in the program. Run under
// QT_QPA_PLATFORM=offscreen; an optional argument gives the number of files.

#include "app/FolderAdder.h"
#include "app/PlayerApp.h"
#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playlist/MediaAdder.h"
#include "playlist/PlaylistStore.h"
#include "support/TestMedia.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

constexpr int kFolders = 100;
// Long enough that the shown length ("00:01") differs from the "00:00" of
// an unread item.
constexpr double kSeconds = 0.8;

double Ms(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

// The folder dialog answers with the tree made here.
class FolderPrompts : public SilentPrompts {
public:
    explicit FolderPrompts(QString folder) : m_folder(std::move(folder)) {}
    std::optional<QString> ChooseFolder(const QString&) override { return m_folder; }

private:
    QString m_folder;
};

bool MakeTree(const QString& root, int files) {
    const QByteArray wav = TestMedia::SilentWav(kSeconds);
    for (int i = 0; i < files; ++i) {
        const QString folder =
            root + QStringLiteral("/专辑 %1").arg(i % kFolders, 3, 10, QChar(u'0'));
        if (i < kFolders && !QDir().mkpath(folder))
            return false;
        const int track = i / kFolders;
        const bool mp3 = i % 4 != 3;
        const QString path =
            folder + QStringLiteral("/%1 歌曲.%2").arg(track).arg(mp3 ? "mp3" : "wav");
        const QByteArray data =
            mp3 ? TestMedia::SilentMp3(kSeconds, QByteArray("Tag title ") + QByteArray::number(i))
                : wav;
        if (!TestMedia::WriteFile(path, data))
            return false;
    }
    return true;
}

// Largest gap between ticks of a 1 ms timer, in two phases.
class GapMonitor {
public:
    GapMonitor() {
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_tick.nsecsElapsed());
            m_tick.restart();
        });
    }
    void Start() {
        m_ticker.start();
        m_tick.start();
        m_longest = 0;
    }
    // The longest gap so far; the next phase starts from nothing.
    qint64 Take() { return std::exchange(m_longest, 0); }

private:
    QTimer m_ticker;
    QElapsedTimer m_tick;
    qint64 m_longest = 0;
};

struct Counts {
    int Lengths = 0;
    int Titles = 0;
    int RowsWithLength = 0;
};

Counts Count(PlaylistStore& store, ctlList& songs, const QString& listKey) {
    Counts counts;
    const QString unread = CMediaInfo().Duration;
    for (const PlaylistStore::Record& item : store.Items(listKey)) {
        counts.Lengths += item->Duration != unread ? 1 : 0;
        counts.Titles += item->Title.startsWith(QStringLiteral("Tag title ")) ? 1 : 0;
        const std::optional<CListItem> row = songs.ItemData(item->Key);
        counts.RowsWithLength += row && row->iTime != unread ? 1 : 0;
    }
    return counts;
}

int Run(int files) {
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/音乐");
    QElapsedTimer clock;
    clock.start();
    if (!MakeTree(root, files)) {
        std::fprintf(stderr, "cannot write the media files under %s\n", qPrintable(root));
        return 1;
    }
    std::printf("%d files written in %.0f ms\n", files, Ms(clock.nsecsElapsed()));

    ctlList lists;
    ctlList songs;
    lists.SetIsLeft(true);
    songs.resize(400, 600);
    songs.show();
    PlayerState state;
    FolderPrompts prompts(root);
    PlaylistStore store(lists, songs, state, prompts);
    // Saved on change as in the program, so that its snapshots are counted.
    const QString saves = dir.path() + QStringLiteral("/PlayList/");
    QDir().mkpath(saves);
    store.SetFolder(saves);
    store.EnableSaveOnChange(PlayerApp::kSaveDelayMs);
    const QString key = store.AddPlaylist(QStringLiteral("默认"));
    state.CurrentListKey = key;
    store.ShowPlaylist(key);
    MediaAdder adder(store, prompts);
    FolderAdder folders(adder, prompts, &songs);
    QApplication::processEvents();

    bool finished = false;
    QObject::connect(&folders, &FolderAdder::Finished, [&] { finished = true; });
    GapMonitor gaps;
    gaps.Start();
    clock.restart();
    folders.ChooseAndAdd([&] {
        store.EnsureCurrentSelection();
        return state.CurrentListKey;
    });
    while (!finished)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    // One more round, so that the paint of the new rows is counted.
    QApplication::processEvents();
    const qint64 rowsNs = clock.nsecsElapsed();
    const qint64 rowsGap = gaps.Take();
    const int rows = songs.Count();

    while (store.InfoReader().Pending() > 0)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    const qint64 lengthsNs = clock.nsecsElapsed();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    const qint64 lengthsGap = gaps.Take();

    const Counts counts = Count(store, songs, key);
    std::printf("%d files: every row shown after %.0f ms (%d rows; GUI thread held at most "
                "%.1f ms)\n",
                files, Ms(rowsNs), rows, Ms(rowsGap));
    std::printf("%d files: every length known after %.0f ms (GUI thread held at most %.1f ms "
                "while they filled in); %d lengths, %d tag titles, %d rows showing a length\n",
                files, Ms(lengthsNs), Ms(lengthsGap), counts.Lengths, counts.Titles,
                counts.RowsWithLength);
    const int expectedTitles = files - files / 4;
    const bool complete = rows == files && counts.Lengths == files &&
                          counts.RowsWithLength == files && counts.Titles == expectedTitles;
    if (!complete)
        std::printf("INCOMPLETE: expected %d rows and lengths and %d tag titles\n", files,
                    expectedTitles);
    return complete ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 20000;
    return Run(files > 0 ? files : 20000);
}
