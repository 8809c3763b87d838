#pragma once

#include "playback/CMediaInfo.h"
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
// are read. Only the tag reader runs on the workers: records and rows are
// written on the GUI thread, when a batch's results arrive. The final state
// equals reading every item at once with ReadNow.
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

    // The same rules, on the calling thread.
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
    void Deliver(quint64 batch, const QList<EngineMedia>& results);
    void StartBatch(std::vector<Job> jobs);

    QThreadPool m_pool;
    std::atomic_bool m_cancelled{false};
    QHash<quint64, std::vector<Job>> m_batches;
    quint64 m_nextBatch = 0;
    qsizetype m_pending = 0;
    FilledHandler m_filled;
};
