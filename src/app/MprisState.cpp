#include "app/MprisState.h"

#include "playback/CMediaInfo.h"
#include "playback/EngineDoor.h"
#include "playback/FormatDuration.h"
#include "playback/MediaEngine.h"
#include "playback/modFile.h"

#include <QMimeDatabase>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicroseconds = 1e6;
// Longer than any real item; keeps microsecond counts far inside 64 bits.
constexpr double kLongestSeconds = 1e9;

bool knownLength(double seconds) {
    return std::isfinite(seconds) && seconds > 0 && seconds < kLongestSeconds;
}

// The item's path as a URI, as the engine would read it.
QString trackUrl(const QString& path) {
    const std::optional<QString> admitted = EngineDoor::AdmitItem(path);
    if (!admitted)
        return QString();
    if (EngineDoor::IsLocalFile(*admitted))
        return QString::fromLatin1(QUrl::fromLocalFile(*admitted).toEncoded());
    return *admitted;
}

} // namespace

// Object path elements allow only ASCII letters, digits and "_"; every other
// byte of the key's UTF-8 (the "_" included, so no two keys meet) becomes
// "_XX". The "k" keeps an empty key's element from being empty.
QDBusObjectPath MprisState::TrackId(const QString& itemKey) {
    QString element = QStringLiteral("k");
    for (const char byte : itemKey.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            element += QLatin1Char(char(c));
        else
            element += QStringLiteral("_%1").arg(c, 2, 16, QLatin1Char('0')).toUpper();
    }
    return QDBusObjectPath(QStringLiteral("/org/melodeck/Track/") + element);
}

// Buffering and moving between items belong to playing: the pause button
// shows then, and a widget should not flicker to "stopped".
QString MprisState::PlaybackStatus(int engineState) {
    switch (engineState) {
    case MediaEngine::Playing:
    case MediaEngine::Buffering:
    case MediaEngine::Transitioning:
    case MediaEngine::Reconnecting:
        return QStringLiteral("Playing");
    case MediaEngine::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

QVariantMap MprisState::Metadata(const CMediaInfo* media, double lengthSeconds,
                                 const QString& lyrics) {
    QVariantMap fields;
    if (!media)
        return fields;
    fields.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId(media->Key)));
    if (!media->Title.isEmpty())
        fields.insert(QStringLiteral("xesam:title"), media->Title);
    if (knownLength(lengthSeconds))
        fields.insert(QStringLiteral("mpris:length"),
                      qint64(std::llround(lengthSeconds * kMicroseconds)));
    const QString url = trackUrl(media->Path);
    if (!url.isEmpty())
        fields.insert(QStringLiteral("xesam:url"), url);
    if (!lyrics.isEmpty())
        fields.insert(QStringLiteral("xesam:asText"), lyrics);
    return fields;
}

bool MprisState::CanSeek(int engineState, double lengthSeconds) {
    return knownLength(lengthSeconds) &&
           (engineState == MediaEngine::Playing || engineState == MediaEngine::Paused);
}

// Next and previous wrap at the ends of the list and Play starts its first
// item, so all of them work whenever the list holds anything.
QVariantMap MprisState::PlayerProperties(const Inputs& now) {
    const bool canPlay = now.listHasItems;
    return {
        {QStringLiteral("PlaybackStatus"), PlaybackStatus(now.engineState)},
        {QStringLiteral("Metadata"), Metadata(now.media, now.lengthSeconds, now.lyrics)},
        {QStringLiteral("Volume"), now.volume / 100.0},
        {QStringLiteral("CanGoNext"), canPlay},
        {QStringLiteral("CanGoPrevious"), canPlay},
        {QStringLiteral("CanPlay"), canPlay},
        {QStringLiteral("CanPause"), canPlay || now.media != nullptr},
        {QStringLiteral("CanSeek"), CanSeek(now.engineState, now.lengthSeconds)},
        {QStringLiteral("LoopStatus"), LoopStatus(now.mode)},
        {QStringLiteral("Shuffle"), now.mode == PlayMode::Shuffle},
    };
}

QString MprisState::LoopStatus(PlayMode mode) {
    switch (mode) {
    case PlayMode::RepeatOne:
        return QStringLiteral("Track");
    case PlayMode::RepeatList:
        return QStringLiteral("Playlist");
    default:
        return QStringLiteral("None");
    }
}

std::optional<PlayMode> MprisState::ModeForLoopStatus(PlayMode mode, const QString& status) {
    if (status == QLatin1String("Track"))
        return PlayMode::RepeatOne;
    if (status == QLatin1String("Playlist"))
        return PlayMode::RepeatList;
    if (status != QLatin1String("None"))
        return std::nullopt;
    const bool repeating = mode == PlayMode::RepeatOne || mode == PlayMode::RepeatList;
    return repeating ? PlayMode::Default : mode;
}

PlayMode MprisState::ModeForShuffle(PlayMode mode, bool shuffle) {
    if (shuffle)
        return PlayMode::Shuffle;
    return mode == PlayMode::Shuffle ? PlayMode::Default : mode;
}

std::optional<int> MprisState::VolumeFromMpris(double volume) {
    if (std::isnan(volume))
        return std::nullopt;
    return RoundHalfEven(std::clamp(volume, 0.0, 1.0) * 100);
}

// The seek bar holds whole seconds; that is where the window seeks too.
MprisState::SeekStep MprisState::RelativeSeek(double positionSeconds, qint64 offsetUs,
                                              double lengthSeconds) {
    const double target = positionSeconds + double(offsetUs) / kMicroseconds;
    if (!knownLength(lengthSeconds) || !std::isfinite(target))
        return {};
    if (target > lengthSeconds)
        return {SeekStep::Next, 0};
    return {SeekStep::To, target < 0 ? 0 : RoundHalfEven(target)};
}

std::optional<int> MprisState::AbsoluteSeek(qint64 positionUs, double lengthSeconds) {
    const double seconds = double(positionUs) / kMicroseconds;
    if (!knownLength(lengthSeconds) || seconds < 0 || seconds > lengthSeconds)
        return std::nullopt;
    return RoundHalfEven(seconds);
}

std::optional<QString> MprisState::OpenUriText(const QString& uri) {
    if (uri.isEmpty() || uri.size() > EngineDoor::kMaxItemLength ||
        EngineDoor::HasUnsafeCharacters(uri))
        return std::nullopt;
    const qsizetype colon = uri.indexOf(u':');
    const QString scheme = uri.left(colon).toLower();
    if (colon < 1 || !SupportedUriSchemes().contains(scheme) ||
        uri.mid(colon, 3) != QLatin1String("://"))
        return std::nullopt;
    if (scheme != QLatin1String("file"))
        return uri;
    // A file URI of another machine or with a query is refused by the door.
    const std::optional<QString> path = EngineDoor::AdmitItem(uri);
    if (!path || !EngineDoor::IsLocalFile(*path))
        return std::nullopt;
    return path;
}

QStringList MprisState::SupportedUriSchemes() {
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https"),
            QStringLiteral("mms"),  QStringLiteral("rtsp"), QStringLiteral("melodeck")};
}

QStringList MprisState::SupportedMimeTypes() {
    const QMimeDatabase mimes;
    QStringList names;
    for (const QString& ext : modFile::MediaExtensions()) {
        for (const QMimeType& type : mimes.mimeTypesForFileName(QStringLiteral("x.") + ext)) {
            if (!type.isDefault() && !names.contains(type.name()))
                names.append(type.name());
        }
    }
    return names;
}

QVariantMap MprisState::Publish(const QVariantMap& now) {
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto old = m_published.constFind(it.key());
        if (old == m_published.cend() || old.value() != it.value())
            changed.insert(it.key(), it.value());
    }
    m_published = now;
    return changed;
}
