#include "lyrics/LyricsLibrary.h"

#include "lyrics/LyricsFile.h"
#include "winsvc/RegularFile.h"

#include <QDir>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentRun>

LyricsLibrary::LyricsLibrary(QString lyricsDir, QObject* parent)
    : QObject(parent), m_dir(std::move(lyricsDir)) {
    connect(&m_watcher, &QFutureWatcher<Search>::finished, this, &LyricsLibrary::Finished);
}

LyricsLibrary::~LyricsLibrary() {
    // The search reads only files; it is short, and must not outlive its
    // watcher.
    m_watcher.waitForFinished();
}

void LyricsLibrary::Report(const QString& text) const {
    if (m_report)
        m_report(text);
}

void LyricsLibrary::SetItem(const LyricsFinder::Item& item) {
    m_item = item;
    m_lyrics = ::Lyrics();
    ++m_generation;
    m_searching = true;
    emit LyricsChanged();
    const quint64 generation = m_generation;
    const QString dir = m_dir;
    m_watcher.setFuture(QtConcurrent::run([item, dir, generation] {
        return Search{generation, LyricsFinder::Find(item, dir)};
    }));
}

void LyricsLibrary::Finished() {
    const Search search = m_watcher.result();
    if (search.first != m_generation)
        return;
    for (const QString& error : search.second.Errors)
        Report(error);
    Use(search.second.Result.value_or(::Lyrics()));
}

void LyricsLibrary::Use(::Lyrics lyrics) {
    m_searching = false;
    m_lyrics = std::move(lyrics);
    emit LyricsChanged();
}

bool LyricsLibrary::Adopt(const QString& path) {
    const QString name = LyricsFinder::LyricsName(m_item);
    if (name.isEmpty()) {
        Report(QStringLiteral("没有正在播放的项目，歌词文件未被采用"));
        return false;
    }
    QString error;
    const std::optional<QByteArray> bytes =
        RegularFile::ReadAll(path, LyricsFile::kMaxBytes, error);
    if (!bytes) {
        Report(
            QStringLiteral("歌词文件 %1 无法读取：%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    // An existing file of another case would be found before the copy.
    const QString existing = LyricsFinder::FindLrc(m_dir, name);
    QSaveFile file(existing.isEmpty() ? m_dir + QLatin1Char('/') + name + QStringLiteral(".lrc")
                                      : existing);
    if (!QDir().mkpath(m_dir) || !file.open(QIODevice::WriteOnly) ||
        file.write(*bytes) != bytes->size() || !file.commit()) {
        Report(QStringLiteral("歌词文件无法保存到 %1").arg(QDir::toNativeSeparators(m_dir)));
        return false;
    }
    // Used at once, even where a file beside the item would win the search.
    ++m_generation;
    std::optional<::Lyrics> adopted = LyricsFile::Read(file.fileName(), error);
    if (!adopted) {
        Report(error);
        return false;
    }
    Use(*std::move(adopted));
    return true;
}
