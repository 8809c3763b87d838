#include "app/MprisService.h"

#include "app/MprisPlayer.h"
#include "app/MprisRoot.h"
#include "app/PlayerApp.h"
#include "app/PlayerTransport.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlProgress.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"

#include <QCoreApplication>
#include <QDBusMessage>

const QString MprisService::kServiceName = QStringLiteral("org.mpris.MediaPlayer2.melodeck");
const QString MprisService::kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");

namespace {
constexpr int kCheckIntervalMs = 1000;
} // namespace

MprisService::MprisService(PlayerApp& app, QDBusConnection bus)
    : m_app(app), m_bus(std::move(bus)), m_player(new MprisPlayer(app, this)) {
    new MprisRoot(app, this);
    m_announce.setSingleShot(true);
    m_announce.setInterval(0);
    connect(&m_announce, &QTimer::timeout, this, &MprisService::AnnounceChanges);
    m_check.setInterval(kCheckIntervalMs);
    connect(&m_check, &QTimer::timeout, this, [this] {
        WatchEngine();
        AnnounceChanges();
    });
}

std::unique_ptr<MprisService> MprisService::Start(PlayerApp& app, QDBusConnection bus) {
    if (!bus.isConnected())
        return nullptr;
    std::unique_ptr<MprisService> service(new MprisService(app, std::move(bus)));
    if (!service->Register())
        return nullptr;
    service->Watch();
    return service;
}

MprisService::~MprisService() {
    if (!m_name.isEmpty())
        m_bus.unregisterService(m_name);
    m_bus.unregisterObject(kObjectPath);
}

// The object first, so the name never points at nothing. A second player
// of this name (another session on the same bus) leaves us the
// instance name MPRIS sets aside for that.
bool MprisService::Register() {
    if (!m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    const QString instance = kServiceName + QStringLiteral(".instance") +
                             QString::number(QCoreApplication::applicationPid());
    for (const QString& name : {kServiceName, instance}) {
        if (m_bus.registerService(name)) {
            m_name = name;
            return true;
        }
    }
    m_bus.unregisterObject(kObjectPath);
    return false;
}

void MprisService::Watch() {
    // What widgets see now is the starting point; only changes are sent.
    m_state.Publish(m_player->NotifiedProperties());
    const auto soon = [this] { m_announce.start(); };
    connect(m_app.PlayerWindow().ctlVolume(), &ctlProgress::Scroll, this, soon);
    connect(&m_app.Playback(), &PlaylistPlayback::ItemStarting, this, [this] {
        WatchEngine();
        m_announce.start();
    });
    connect(&m_app.Playback(), &PlaylistPlayback::ModeChanged, this, soon);
    connect(&m_app.Transport(), &PlayerTransport::Seeked, this,
            [this](int seconds) { m_player->AnnounceSeek(seconds); });
    WatchEngine();
    m_check.start();
}

// The engine comes with the video window, made the first time something
// plays (or the video button is pressed).
void MprisService::WatchEngine() {
    frmPlayer* video = m_app.ExistingVideoWindow();
    if (!video || m_engine == video->ctlPlayer1())
        return;
    m_engine = video->ctlPlayer1();
    const auto soon = [this] { m_announce.start(); };
    connect(m_engine, &ctlPlayer::StatusChange, this, soon);
    connect(m_engine, &ctlPlayer::MediaChange, this, soon);
}

void MprisService::AnnounceChanges() {
    const QVariantMap changed = m_state.Publish(m_player->NotifiedProperties());
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    m_bus.send(signal);
}
