#pragma once

#include "playback/CMediaInfo.h"
#include "playback/DemuxerLengthReader.h"
#include "playback/EngineMedia.h"

#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// Reads the title and length of playlist items on worker threads, so that
// thousands of items show at once (with "00:00") and fill in as their files
// are read. Only the readers run on the workers: records and rows are
// written on the GUI thread, when a batch's results arrive. The tag reader
// goes first; a file it gives no length for is a Flash movie measured by its
// header, or else (most video containers) measured by the demuxer reader,
// whose library is thus loaded on a worker and only when a list holds such a
// file. The final state equals reading
// every item at once with ReadNow, plus those lengths.
//
// A result is dropped when the item's path changed since it was asked for.
// Destroying the reader abandons what is still queued and waits for the
// files being read.
class ItemInfoReader : public QObject {
    Q_OBJECT
public:
    using Record = std::shared_ptr<CMediaInfo>;
    using FilledHandler = std::function<void(const CMediaInfo&)>;

    explicit ItemInfoReader(QObject* parent = nullptr);
    ~ItemInfoReader() override;

    // Called on the GUI thread for every record written.
    void SetFilledHandler(FilledHandler handler) { m_filled = std::move(handler); }

    // Queues the local files among `items`: their Duration, and with
    // `withTitle` their Title, are set from the tags when those have them.
    void ReadLater(const std::vector<Record>& items, bool withTitle);

    // The same rules, on the calling thread, with the tag reader only (the
    // demuxer library is never loaded on the GUI thread): an item left without
    // a length is worth a ReadLater.
    static void ReadNow(CMediaInfo& item, bool withTitle);
    static void Apply(CMediaInfo& item, const EngineMedia& info, bool withTitle);

    // Items asked for and not yet written.
    qsizetype Pending() const { return m_pending; }

signals:
    // Every item asked for has been written (or dropped).
    void Idle();

private:
    struct Job {
        Record Item;
        QString Path;
        bool WithTitle = false;
    };
    EngineMedia ReadOne(const QString& path) const;
    void Deliver(quint64 batch, const QList<EngineMedia>& results);
    void StartBatch(std::vector<Job> jobs);

    // Declared before the pool, so that it outlives the workers using it.
    DemuxerLengthReader m_demuxer;
    QThreadPool m_pool;
    std::atomic_bool m_cancelled{false};
    QHash<quint64, std::vector<Job>> m_batches;
    quint64 m_nextBatch = 0;
    qsizetype m_pending = 0;
    FilledHandler m_filled;
};
