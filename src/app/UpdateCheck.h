#pragma once

#include <QString>
#include <chrono>
#include <functional>

class FetchWait;
class Prompts;

// The program's own version against the one on the maker's server, and the
// separately shipped updater ("MelodeckUpdate" beside the program) that
// replaces the program when the user accepts.
class UpdateCheck {
public:
    static const QString kOwnVersion;
    static const QString kUpdaterName;

    // `quit` ends the program the normal way (saving the playlists).
    UpdateCheck(Prompts& prompts, std::function<void()> quit);

    // Whether the version file's text names a version after ours: its first
    // line without surrounding white space, only when that is digits and
    // dots, compared with ours code unit by code unit.
    static bool OffersUpdate(const QString& versionFile);

    // Fetches the version file (giving up after the time-out, silently) and,
    // when it offers a newer version and the user agrees, starts the updater
    // and quits. The program keeps running when the updater cannot start.
    void CheckForUpdate();
    // Starts the updater with our version as its one argument, without
    // waiting for it. False (the user told, naming the file) when it is
    // missing or cannot be started.
    bool StartUpdater();

    // The updater's full path: the program folder + "/MelodeckUpdate".
    static QString UpdaterPath();

    void SetTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // How the user waits for the version file (the default wait when null);
    // a cancelled wait offers nothing.
    void SetWait(FetchWait* wait) { m_wait = wait; }

private:
    Prompts& m_prompts;
    std::function<void()> m_quit;
    std::chrono::milliseconds m_timeout;
    FetchWait* m_wait = nullptr;
};
