#pragma once

#include <QObject>
#include <QString>

#include <memory>

class HandOffServer;
class QLockFile;

// One running copy of the program per user. The first copy holds a lock file
// for as long as it runs and listens on a local socket; a later copy finds the
// lock taken, hands its command line over through the socket and ends.
//
// The lock settles the race of two copies started at once (only one can take
// it) and outlives a crash: a lock whose owner process is gone is stale and
// the next start takes it over, together with the socket file the dead
// process left behind.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role {
        First,  // this copy runs the program and now serves hand-offs
        Second, // another copy runs: hand over and end
    };

    // How long a second instance waits for the first one, all told.
    static constexpr int kDefaultTimeoutMs = 2000;

    // Lock and socket in the user's private runtime folder.
    explicit SingleInstance(QObject* parent = nullptr);
    // Lock and socket in `folder` (tests, or a user-chosen private place);
    // with an empty folder every start is a first one, without hand-offs.
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Decides this process's role. As the first instance it keeps the lock
    // and listens; a failure to listen is written to the warning log and the
    // program runs all the same (it only cannot receive hand-offs). When the
    // lock cannot be made at all (an unwritable folder), the process runs as
    // the first instance too, unlocked, rather than not at all. A lock or
    // socket of another user's in the folder makes it the first instance
    // without hand-offs, with a warning: their server is not to be trusted
    // with this user's items, and their files are not this user's to remove.
    Role Start();
    bool Listening() const;
    // The server (null unless this is the first instance), for its signals
    // and settings.
    HandOffServer* Server() const { return m_server; }

    // Second instance: sends "CommandLine=" + `commandLine` and returns
    // whether the first instance acknowledged it within `timeoutMs`. Blocks
    // (the second instance has no window to keep alive). A server of
    // another user's gets nothing.
    bool SendCommandLine(const QString& commandLine, int timeoutMs = kDefaultTimeoutMs) const;
    // Sends any command text the same way.
    bool SendCommand(const QString& text, int timeoutMs = kDefaultTimeoutMs) const;

    QString ServerName() const { return m_serverName; }
    QString LockPath() const { return m_lockPath; }
    // "Melodeck.FormDDE." followed by the user's numeric id.
    static QString BaseName();
    // The session's runtime folder when it is private to the user (a
    // directory of the user's with mode 0700, not a link), else a folder
    // "melodeck-<uid>" of the temporary folder made so; empty when neither
    // can be had.
    static QString PrivateRuntimeFolder();

signals:
    // The command line handed over by another instance (first instance only).
    void CommandLineReceived(const QString& commandLine);

private:
    QString m_serverName;
    QString m_lockPath;
    std::unique_ptr<QLockFile> m_lock;
    HandOffServer* m_server = nullptr;
};
