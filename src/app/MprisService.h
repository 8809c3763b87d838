#pragma once

#include "app/MprisState.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class MprisPlayer;
class PlayerApp;
class ctlPlayer;

// The player on a D-Bus bus under MPRIS2 (org.mpris.MediaPlayer2.melodeck,
// or ".instance<pid>" after it when another player of that name is there),
// so media keys, panel widgets and playerctl can drive it. It announces the
// Player properties that change (PropertiesChanged) and every seek
// (Seeked). Without a bus there is simply no MPRIS. Calls to the adaptors
// are answered in its context (QDBusContext), errors included.
class MprisService : public QObject, public QDBusContext {
    Q_OBJECT
public:
    static const QString kServiceName;
    static const QString kObjectPath;

    // The service registered on `bus`; null when the bus is not connected or
    // refuses the object or both names.
    static std::unique_ptr<MprisService> Start(PlayerApp& app, QDBusConnection bus);
    ~MprisService() override;

    QString ServiceName() const { return m_name; }

private:
    MprisService(PlayerApp& app, QDBusConnection bus);
    bool Register();
    void Watch();
    void WatchEngine();
    void AnnounceChanges();

    PlayerApp& m_app;
    QDBusConnection m_bus;
    MprisPlayer* m_player;
    QString m_name;
    MprisState m_state;
    QPointer<ctlPlayer> m_engine;
    // Gathers the changes of one turn of the event loop into one signal.
    QTimer m_announce;
    // Catches what no signal tells (items added to or removed from the
    // list, a length learned); it announces only real changes.
    QTimer m_check;
};
