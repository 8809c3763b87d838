#pragma once

#include "playlist/PlayOrder.h"

#include <QDBusObjectPath>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

class CMediaInfo;

// What the player is, as the desktop's media controls (media keys, panel
// widgets, playerctl) see it through MPRIS, worked out from plain values so
// it needs neither a window nor a bus. It also remembers what was last
// published, so only real changes are announced.
class MprisState {
public:
    // The player at one moment, as far as MPRIS shows it.
    struct Inputs {
        int engineState = 0;               // MediaEngine::PlayState; 0 before the engine exists
        const CMediaInfo* media = nullptr; // the item loaded into the engine
        double lengthSeconds = 0;          // 0 while unknown and for live streams
        int volume = 0;                    // the player's 0..100
        bool listHasItems = false;         // the current list has something to play
        PlayMode mode = PlayMode::Default;
        QString lyrics; // the item's lyrics as plain text; empty when none are known
    };

    // Where a relative seek lands.
    struct SeekStep {
        enum Kind { Ignore, Next, To } kind = Ignore;
        int seconds = 0; // for To: a place on the seek bar
    };

    // The track id of an item: a valid object path for any key at all, and
    // a different one for every key.
    static QDBusObjectPath TrackId(const QString& itemKey);
    // "Playing", "Paused" or "Stopped".
    static QString PlaybackStatus(int engineState);
    // xesam/mpris fields of `media`; empty without an item. `lyrics` goes
    // into xesam:asText when there are any.
    static QVariantMap Metadata(const CMediaInfo* media, double lengthSeconds,
                                const QString& lyrics = QString());
    // The Player interface's properties that are announced when they change
    // (everything but Position, which moves all the time).
    static QVariantMap PlayerProperties(const Inputs& now);
    // Whether the item can be sought: a known length, and playing or paused.
    static bool CanSeek(int engineState, double lengthSeconds);

    // MPRIS knows repeat ("LoopStatus") and shuffle as two settings, the
    // player one mode: 单曲循环 is "Track", 列表循环 "Playlist", every other
    // mode "None"; Shuffle is true in 随机播放 only.
    static QString LoopStatus(PlayMode mode);
    // The mode a widget asks for by setting LoopStatus to `status` while in
    // `mode`: "Track" and "Playlist" choose their modes (shuffle ends, the
    // modes exclude each other); "None" ends a repeat and goes back to the
    // default, and leaves any other mode as it is. Nothing for an unknown
    // value.
    static std::optional<PlayMode> ModeForLoopStatus(PlayMode mode, const QString& status);
    // Shuffle on chooses 随机播放; off ends it (back to the default) and
    // leaves any other mode.
    static PlayMode ModeForShuffle(PlayMode mode, bool shuffle);

    // The player's volume for 0..1 (values outside are brought inside);
    // nothing for a value that is not a number.
    static std::optional<int> VolumeFromMpris(double volume);
    // A seek of `offsetUs` microseconds from `positionSeconds`: past the end
    // it moves on to the next item, before the start it goes to the start.
    static SeekStep RelativeSeek(double positionSeconds, qint64 offsetUs, double lengthSeconds);
    // A place `positionUs` into the item; nothing outside 0..length.
    static std::optional<int> AbsoluteSeek(qint64 positionUs, double lengthSeconds);

    // The text to add for a URI handed over: the local path of a file URI of
    // this machine, other supported URIs as they are; nothing for anything
    // else (another scheme, no scheme, control characters, over-long text).
    static std::optional<QString> OpenUriText(const QString& uri);
    static QStringList SupportedUriSchemes();
    // The MIME types of the file types the open dialog offers.
    static QStringList SupportedMimeTypes();

    // The properties of `now` that differ from the last call's (all of them
    // the first time); they become the published ones.
    QVariantMap Publish(const QVariantMap& now);

private:
    QVariantMap m_published;
};
