#include "playlist/PlaylistSaveRunner.h"

PlaylistSaveRunner::PlaylistSaveRunner(MakeJob makeJob, Finish finish, QObject* parent)
    : QObject(parent), m_makeJob(std::move(makeJob)), m_finish(std::move(finish)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &PlaylistSaveRunner::Start);
    m_pool.setMaxThreadCount(1);
}

PlaylistSaveRunner::~PlaylistSaveRunner() {
    // A save in flight finishes: a file half written is never left, and the
    // exit save that follows must not race it.
    m_pool.waitForDone();
}

void PlaylistSaveRunner::SetEnabled(bool enabled, int delayMs) {
    m_enabled = enabled;
    m_timer.setInterval(delayMs);
    if (!enabled)
        m_timer.stop();
}

void PlaylistSaveRunner::Schedule() {
    if (!m_enabled)
        return;
    if (m_flight) {
        m_changedInFlight = true;
        return;
    }
    // Not restarted by later changes: a steady stream of them (rows filling
    // in for minutes) must not put the save off for ever.
    if (!m_timer.isActive())
        m_timer.start();
}

void PlaylistSaveRunner::Start() {
    auto flight = std::make_shared<Flight>();
    flight->Job = m_makeJob();
    m_flight = flight;
    m_pool.start([this, flight] {
        PlaylistSave::Result result = PlaylistSave::RunSaveJob(flight->Job);
        {
            const std::lock_guard<std::mutex> lock(flight->Lock);
            flight->Result = std::move(result);
        }
        // The destructor waits for this task, so `this` is alive here; a
        // call still queued when it goes is discarded with it.
        QMetaObject::invokeMethod(
            this, [this, flight] { Land(flight); }, Qt::QueuedConnection);
    });
}

void PlaylistSaveRunner::Wait() {
    if (!m_flight)
        return;
    m_pool.waitForDone();
    Land(m_flight);
}

void PlaylistSaveRunner::Land(const std::shared_ptr<Flight>& flight) {
    // Already landed by Wait: the queued call that follows has nothing to do.
    if (flight != m_flight)
        return;
    m_flight.reset();
    PlaylistSave::Result result;
    {
        const std::lock_guard<std::mutex> lock(flight->Lock);
        result = std::move(*flight->Result);
    }
    m_finish(flight->Job, result);
    if (std::exchange(m_changedInFlight, false))
        Schedule();
}
