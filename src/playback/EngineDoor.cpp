#include "playback/EngineDoor.h"

#include <QDir>
#include <QUrl>

namespace EngineDoor {
namespace {

constexpr QLatin1StringView kNetworkSchemes[] = {
    QLatin1StringView("http"), QLatin1StringView("https"), QLatin1StringView("mms"),
    QLatin1StringView("mmsh"), QLatin1StringView("rtsp"),  QLatin1StringView("rtmp"),
};

bool isSchemeChar(QChar c, bool first) {
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (first)
        return letter;
    return letter || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

// The scheme of a URL-like text ("http" of "http://…"), lower-cased; empty
// when the text does not start with one. A single letter before ":" is a
// drive name ("C:\…"), not a scheme.
QString schemeOf(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isSchemeChar(text.at(i), i == 0))
        ++i;
    if (i < 2 || i >= text.size() || text.at(i) != u':')
        return QString();
    return text.left(i).toLower();
}

std::optional<QString> localPath(const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    p = QDir::cleanPath(QDir::current().absoluteFilePath(p));
    if (!p.startsWith(u'/'))
        return std::nullopt;
    return p;
}

std::optional<QString> fileUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !url.isLocalFile() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    // Only this machine: "file://server/share" would be a network path.
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(u'/') || HasUnsafeCharacters(path))
        return std::nullopt;
    return localPath(path);
}

std::optional<QString> networkAddress(const QString& text, const QString& scheme) {
    bool allowed = false;
    for (const QLatin1StringView s : kNetworkSchemes)
        allowed = allowed || scheme == s;
    if (!allowed || text.mid(scheme.size(), 3) != QLatin1String("://"))
        return std::nullopt;
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> LocalPathOfFileUrl(const QString& text) {
    return fileUrl(text);
}

std::optional<QString> AdmitItem(const QString& item) {
    if (item.isEmpty() || item.size() > kMaxItemLength || HasUnsafeCharacters(item))
        return std::nullopt;
    const QString scheme = schemeOf(item);
    if (scheme.isEmpty())
        return localPath(item);
    if (scheme == QLatin1String("file"))
        return fileUrl(item);
    return networkAddress(item, scheme);
}

bool IsLocalFile(const QString& admitted) {
    return admitted.startsWith(u'/');
}

bool HasUnsafeCharacters(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return !text.isValidUtf16();
}

} // namespace EngineDoor
