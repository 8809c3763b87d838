#pragma once

#include <QMap>
#include <QString>

// A media object of the engine: an address with its length and its item
// information ("title", "Duration", ...). A plain value; the engine makes
// one for the item it plays (currentMedia) or for any address (newMedia).
class EngineMedia {
public:
    EngineMedia() = default;
    EngineMedia(const QString& url, double duration, const QMap<QString, QString>& info = {});

    QString sourceURL() const { return m_url; }
    // Length in seconds; 0 while unknown and for live streams.
    double duration() const { return m_duration; }
    // The length as minutes:seconds text.
    QString durationString() const;
    // Item information by attribute name, compared without regard to case;
    // empty when the attribute is unknown.
    QString getItemInfo(const QString& name) const;

private:
    QString m_url;
    double m_duration = 0.0;
    QMap<QString, QString> m_info; // keys lower-cased
};
