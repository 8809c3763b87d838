#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

#include "app/MprisState.h"

class PlayerTransport;

class PlayerApp;
class ctlPlayer;

// org.mpris.MediaPlayer2.Player: the transport as the desktop's media keys
// and widgets use it. Every call goes through the player window's own
// buttons, keys and sliders (PlayerTransport), so the window and the desktop
// never disagree: Play while playing does what the hidden play button does
// (nothing), a volume set here moves the volume slider. Malformed values
// (a track id of another item, a volume that is not a number, a seek far
// past either end) are ignored or kept within the item, as MPRIS asks.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ rate WRITE setRate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoNext)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
public:
    // `object` is the one registered on the bus; it must be a QDBusContext
    // too, so calls can be answered with an error.
    MprisPlayer(PlayerApp& app, QObject* object);

    // The properties desktop widgets are told about when they change.
    QVariantMap NotifiedProperties() const;
    // Tells the desktop the item was sought to `seconds`.
    void AnnounceSeek(int seconds);

    QString playbackStatus() const;
    // One speed only; asking for 0 pauses, as MPRIS wants.
    double rate() const { return 1.0; }
    void setRate(double rate);
    QVariantMap metadata() const;
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canControl() const { return true; }
    // The play mode, as MprisState maps it; an unknown LoopStatus is
    // answered with an error and changes nothing.
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const;
    void setShuffle(bool shuffle);

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position);
    void OpenUri(const QString& Uri);

signals:
    void Seeked(qlonglong Position);

private:
    ctlPlayer* Engine() const;
    MprisState::Inputs Now() const;
    // The list Play would play from: the current one, else the first.
    QString PlayListKey() const;
    // Calls arriving while the program shuts down change nothing.
    bool Closing() const;
    void Press(void (PlayerTransport::*command)());
    QVariant Notified(const QString& name) const;

    PlayerApp& m_app;
};
