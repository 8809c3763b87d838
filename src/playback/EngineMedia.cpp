#include "playback/EngineMedia.h"

#include "playback/FormatDuration.h"

EngineMedia::EngineMedia(const QString& url, double duration, const QMap<QString, QString>& info)
    : m_url(url), m_duration(duration) {
    for (auto it = info.constBegin(); it != info.constEnd(); ++it)
        m_info.insert(it.key().toLower(), it.value());
}

QString EngineMedia::durationString() const {
    return FormatDuration(m_duration);
}

QString EngineMedia::getItemInfo(const QString& name) const {
    return m_info.value(name.toLower());
}
