#pragma once

#include "playlist/PlaylistSaveJob.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>

// Saves soon after a change, on a worker thread, one save at a time. A burst
// of changes (a drop of thousands of files, items filling in) is one save;
// a change during a save brings another once it ends. The job is taken on
// the GUI thread when the save starts and its result is applied there.
class PlaylistSaveRunner : public QObject {
    Q_OBJECT
public:
    using MakeJob = std::function<PlaylistSave::Job()>;
    using Finish = std::function<void(const PlaylistSave::Job&, const PlaylistSave::Result&)>;

    PlaylistSaveRunner(MakeJob makeJob, Finish finish, QObject* parent = nullptr);
    ~PlaylistSaveRunner() override;

    // Off until enabled: a store used on its own saves only when told to.
    void SetEnabled(bool enabled, int delayMs);
    bool Enabled() const { return m_enabled; }
    // Something changed: a save starts within the delay.
    void Schedule();
    // The save in flight, if any, finished and its result applied.
    void Wait();
    // Whether a save is waiting for its delay or running.
    bool Pending() const { return m_timer.isActive() || m_flight != nullptr; }

private:
    struct Flight {
        PlaylistSave::Job Job;
        std::mutex Lock;
        std::optional<PlaylistSave::Result> Result;
    };

    void Start();
    void Land(const std::shared_ptr<Flight>& flight);

    MakeJob m_makeJob;
    Finish m_finish;
    QTimer m_timer;
    QThreadPool m_pool;
    std::shared_ptr<Flight> m_flight;
    bool m_enabled = false;
    bool m_changedInFlight = false;
};
