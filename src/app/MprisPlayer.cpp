#include "app/MprisPlayer.h"

#include "app/LyricsPanel.h"
#include "app/PlayerApp.h"
#include "app/PlayerTransport.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlProgress.h"
#include "lyrics/LyricsLibrary.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"

#include <QDBusContext>
#include <QDBusError>
#include <cmath>

namespace {

constexpr double kMicroseconds = 1e6;

bool playingOrPaused(int state) {
    return state == MediaEngine::Playing || state == MediaEngine::Paused;
}

} // namespace

MprisPlayer::MprisPlayer(PlayerApp& app, QObject* object)
    : QDBusAbstractAdaptor(object), m_app(app) {
}

ctlPlayer* MprisPlayer::Engine() const {
    frmPlayer* video = m_app.ExistingVideoWindow();
    return video ? video->ctlPlayer1() : nullptr;
}

QString MprisPlayer::PlayListKey() const {
    const QString current = m_app.State().CurrentListKey;
    if (!current.isEmpty())
        return current;
    const QStringList lists = m_app.Store().ListKeys();
    return lists.isEmpty() ? QString() : lists.first();
}

MprisState::Inputs MprisPlayer::Now() const {
    MprisState::Inputs now;
    if (ctlPlayer* engine = Engine()) {
        now.engineState = engine->playState();
        now.lengthSeconds = engine->currentMedia().duration();
    }
    now.media = m_app.State().CurrentMedia.get();
    now.volume = m_app.State().Volume;
    now.listHasItems = !m_app.Store().Items(PlayListKey()).empty();
    now.mode = m_app.Playback().Mode();
    const LyricsLibrary& lyrics = m_app.Lyrics().Library();
    if (now.media && lyrics.Item().Path == now.media->Path)
        now.lyrics = lyrics.Current().PlainText();
    return now;
}

bool MprisPlayer::Closing() const {
    return m_app.HasQuit();
}

QVariantMap MprisPlayer::NotifiedProperties() const {
    return MprisState::PlayerProperties(Now());
}

void MprisPlayer::AnnounceSeek(int seconds) {
    emit Seeked(qlonglong(seconds) * qlonglong(kMicroseconds));
}

// The getters read the one computation that is announced, so what a widget
// reads and what it is told always agree.
QVariant MprisPlayer::Notified(const QString& name) const {
    return NotifiedProperties().value(name);
}

QString MprisPlayer::playbackStatus() const {
    return Notified(QStringLiteral("PlaybackStatus")).toString();
}

QVariantMap MprisPlayer::metadata() const {
    return Notified(QStringLiteral("Metadata")).toMap();
}

double MprisPlayer::volume() const {
    return Notified(QStringLiteral("Volume")).toDouble();
}

qlonglong MprisPlayer::position() const {
    ctlPlayer* engine = Engine();
    if (!engine || !playingOrPaused(engine->playState()))
        return 0;
    const double seconds = engine->Controls().currentPosition();
    return std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * kMicroseconds) : 0;
}

bool MprisPlayer::canGoNext() const {
    return Notified(QStringLiteral("CanGoNext")).toBool();
}

bool MprisPlayer::canPlay() const {
    return Notified(QStringLiteral("CanPlay")).toBool();
}

bool MprisPlayer::canPause() const {
    return Notified(QStringLiteral("CanPause")).toBool();
}

bool MprisPlayer::canSeek() const {
    return Notified(QStringLiteral("CanSeek")).toBool();
}

QString MprisPlayer::loopStatus() const {
    return Notified(QStringLiteral("LoopStatus")).toString();
}

bool MprisPlayer::shuffle() const {
    return Notified(QStringLiteral("Shuffle")).toBool();
}

void MprisPlayer::setLoopStatus(const QString& status) {
    PlaylistPlayback& playback = m_app.Playback();
    const std::optional<PlayMode> mode = MprisState::ModeForLoopStatus(playback.Mode(), status);
    if (!mode) {
        const auto* call = dynamic_cast<const QDBusContext*>(parent());
        if (call && call->calledFromDBus())
            call->sendErrorReply(QDBusError::InvalidArgs,
                                 QStringLiteral("LoopStatus is None, Track or Playlist"));
        return;
    }
    if (!Closing())
        playback.SetMode(*mode);
}

void MprisPlayer::setShuffle(bool shuffle) {
    if (!Closing())
        m_app.Playback().SetMode(MprisState::ModeForShuffle(m_app.Playback().Mode(), shuffle));
}

void MprisPlayer::setRate(double rate) {
    if (rate == 0)
        Pause();
}

// Moving the slider is what the volume keys do: the slider's Scroll sets
// PlayerState::Volume and the engine's volume.
void MprisPlayer::setVolume(double volume) {
    const std::optional<int> value = MprisState::VolumeFromMpris(volume);
    if (value && !Closing())
        m_app.PlayerWindow().ctlVolume()->SetValue(*value);
}

// A transport button's command, as if its button were clicked; nothing once
// the program is closing.
void MprisPlayer::Press(void (PlayerTransport::*command)()) {
    if (!Closing())
        (m_app.Transport().*command)();
}

void MprisPlayer::Next() {
    Press(&PlayerTransport::cmdNext_Click);
}

void MprisPlayer::Previous() {
    Press(&PlayerTransport::cmdPrev_Click);
}

void MprisPlayer::Pause() {
    Press(&PlayerTransport::cmdPause_Click);
}

void MprisPlayer::PlayPause() {
    Press(&PlayerTransport::PlayOrPause);
}

void MprisPlayer::Stop() {
    Press(&PlayerTransport::cmdStop_Click);
}

void MprisPlayer::Play() {
    Press(&PlayerTransport::cmdPlay_Click);
}

void MprisPlayer::Seek(qlonglong Offset) {
    const MprisState::Inputs now = Now();
    if (Closing() || !MprisState::CanSeek(now.engineState, now.lengthSeconds))
        return;
    const MprisState::SeekStep step =
        MprisState::RelativeSeek(Engine()->Controls().currentPosition(), Offset, now.lengthSeconds);
    if (step.kind == MprisState::SeekStep::Next)
        m_app.Transport().cmdNext_Click();
    else if (step.kind == MprisState::SeekStep::To)
        m_app.Transport().SeekTo(step.seconds);
}

// A track id that is not the current item's comes from a widget that has
// not caught up with the player; MPRIS says to ignore it.
void MprisPlayer::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    const MprisState::Inputs now = Now();
    if (Closing() || !now.media || !MprisState::CanSeek(now.engineState, now.lengthSeconds) ||
        TrackId.path() != MprisState::TrackId(now.media->Key).path())
        return;
    if (const std::optional<int> seconds = MprisState::AbsoluteSeek(Position, now.lengthSeconds))
        m_app.Transport().SeekTo(*seconds);
}

// Added to the current list like a hand-off, then played as a double-click
// on its new row plays it.
void MprisPlayer::OpenUri(const QString& Uri) {
    const std::optional<QString> text = MprisState::OpenUriText(Uri);
    if (!text) {
        // The call's context belongs to the registered object, not to us.
        const auto* call = dynamic_cast<const QDBusContext*>(parent());
        if (call && call->calledFromDBus())
            call->sendErrorReply(
                QDBusError::NotSupported,
                QStringLiteral("Melodeck cannot open this URI (supported schemes: %1)")
                    .arg(MprisState::SupportedUriSchemes().join(QStringLiteral(", "))));
        return;
    }
    if (Closing())
        return;
    const QStringList keys = m_app.AddText(*text);
    if (!keys.isEmpty() && !Closing())
        emit m_app.PlaylistWindow().songActivated(keys.first());
}
