#include "playlist/ItemInfoReader.h"

#include "playback/FormatDuration.h"
#include "playback/MediaTagReader.h"
#include "playback/SwfLength.h"
#include "playback/modFile.h"

#include <QThread>

namespace {

// Small batches keep the rows filling steadily; each costs one queued call.
constexpr std::size_t kBatchSize = 32;
// Readers are needed in bursts (a load, a drop of files); idle ones end soon
// instead of after Qt's default 30 s, so a playing program keeps no threads
// it is not using.
constexpr int kIdleThreadMs = 2000;

} // namespace

ItemInfoReader::ItemInfoReader(QObject* parent) : QObject(parent) {
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    m_pool.setExpiryTimeout(kIdleThreadMs);
}

ItemInfoReader::~ItemInfoReader() {
    m_cancelled = true;
    m_pool.clear();
    m_pool.waitForDone();
}

void ItemInfoReader::Apply(CMediaInfo& item, const EngineMedia& info, bool withTitle) {
    const QString duration = info.getItemInfo(QStringLiteral("Duration"));
    if (!duration.isEmpty())
        item.Duration = FormatDuration(duration.toDouble());
    if (withTitle) {
        const QString title = info.getItemInfo(QStringLiteral("title"));
        if (!title.isEmpty())
            item.Title = title;
    }
}

void ItemInfoReader::ReadNow(CMediaInfo& item, bool withTitle) {
    Apply(item, MediaTagReader::Read(item.Path), withTitle);
}

void ItemInfoReader::ReadLater(const std::vector<Record>& items, bool withTitle) {
    // The tag reader's process-wide text handlers go in before any worker runs.
    MediaTagReader::PrepareForThreads();
    std::vector<Job> jobs;
    for (const Record& item : items) {
        if (!item || modFile::GetPathKind(item->Path) != PathKind::Local)
            continue;
        jobs.push_back(Job{item, item->Path, withTitle});
        if (jobs.size() == kBatchSize)
            StartBatch(std::exchange(jobs, {}));
    }
    if (!jobs.empty())
        StartBatch(std::move(jobs));
}

EngineMedia ItemInfoReader::ReadOne(const QString& path) const {
    const EngineMedia tags = MediaTagReader::Read(path);
    if (!tags.getItemInfo(QStringLiteral("Duration")).isEmpty())
        return tags;
    // A Flash movie's header says how long it runs; FFmpeg cannot tell.
    double seconds = SwfLength::Read(path);
    if (seconds <= 0)
        seconds = m_demuxer.Read(path);
    if (seconds <= 0)
        return tags;
    QMap<QString, QString> info{{QStringLiteral("Duration"), QString::number(seconds, 'f', 3)}};
    const QString title = tags.getItemInfo(QStringLiteral("title"));
    if (!title.isEmpty())
        info.insert(QStringLiteral("title"), title);
    return EngineMedia(path, seconds, info);
}

void ItemInfoReader::StartBatch(std::vector<Job> jobs) {
    const quint64 id = m_nextBatch++;
    QStringList paths;
    paths.reserve(qsizetype(jobs.size()));
    for (const Job& job : jobs)
        paths.append(job.Path);
    m_pending += qsizetype(jobs.size());
    m_batches.insert(id, std::move(jobs));
    m_pool.start([this, id, paths] {
        QList<EngineMedia> results;
        results.reserve(paths.size());
        for (const QString& path : paths) {
            if (m_cancelled)
                return;
            results.append(ReadOne(path));
        }
        // The destructor waits for this task, so `this` is alive here; a
        // call still queued when it goes is discarded with it.
        QMetaObject::invokeMethod(
            this, [this, id, results] { Deliver(id, results); }, Qt::QueuedConnection);
    });
}

void ItemInfoReader::Deliver(quint64 batch, const QList<EngineMedia>& results) {
    const auto found = m_batches.find(batch);
    if (found == m_batches.end())
        return;
    const std::vector<Job> jobs = std::move(found.value());
    m_batches.erase(found);
    m_pending -= qsizetype(jobs.size());
    for (std::size_t i = 0; i < jobs.size() && qsizetype(i) < results.size(); ++i) {
        const Job& job = jobs[i];
        if (job.Item->Path != job.Path)
            continue;
        Apply(*job.Item, results[qsizetype(i)], job.WithTitle);
        if (m_filled)
            m_filled(*job.Item);
    }
    if (m_batches.isEmpty())
        emit Idle();
}
