#include "net/ModInternet.h"

#include "net/BodyText.h"
#include "net/FetchWait.h"
#include "net/ServiceAddresses.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace ModInternet {
namespace {

// A reply that carries a server's answer, even an error page, as opposed to a
// transfer that failed before or while the answer arrived.
bool HasAnswer(const QNetworkReply& reply) {
    const QNetworkReply::NetworkError error = reply.error();
    if (error == QNetworkReply::NoError)
        return true;
    const bool httpStatusError =
        (error >= QNetworkReply::ContentAccessDenied &&
         error <= QNetworkReply::UnknownContentError) ||
        (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return httpStatusError && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

// Collects the body of one reply, giving up as soon as it grows past the
// limit (a declared length over it is refused before any byte is read).
class BodyCollector {
public:
    explicit BodyCollector(QNetworkReply& reply) : m_reply(reply) {}

    void OnMetaData() {
        bool known = false;
        const qint64 declared =
            m_reply.header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && declared > kMaxBodyBytes && !IsRedirect())
            Refuse();
    }

    void OnReadyRead() {
        if (m_refused)
            return;
        m_body += m_reply.readAll();
        if (m_body.size() > kMaxBodyBytes)
            Refuse();
    }

    void OnFinished() {
        // An aborted reply is closed: nothing is left to read.
        if (!m_refused && m_reply.isOpen())
            m_body += m_reply.readAll();
    }

    bool Refused() const { return m_refused || m_body.size() > kMaxBodyBytes; }
    const QByteArray& Body() const { return m_body; }

private:
    bool IsRedirect() const {
        const int status = m_reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 300 && status < 400;
    }

    void Refuse() {
        m_refused = true;
        m_body.clear();
        m_reply.abort();
    }

    QNetworkReply& m_reply;
    QByteArray m_body;
    bool m_refused = false;
};

bool IsWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

// Printable characters that an address may not hold: "#" would end the
// query, "%" would start an escape, and the rest are outside the URL syntax
// (the network layer would escape them on the wire anyway).
const QString kUntravellable = QStringLiteral("#%\"<>\\^`{|}");

QString PercentEncodeUntravellable(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t u = value.at(i).unicode();
        if (u > 0x20 && u < 0x7F && !kUntravellable.contains(QChar(u))) {
            out += QChar(u);
            continue;
        }
        // A surrogate pair is one character and is encoded as a whole.
        const qsizetype length = value.at(i).isHighSurrogate() && i + 1 < value.size() &&
                                         value.at(i + 1).isLowSurrogate()
                                     ? 2
                                     : 1;
        for (const char byte : value.mid(i, length).toUtf8())
            out += QStringLiteral("%%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0')).toUpper();
        i += length - 1;
    }
    return out;
}

} // namespace

QString HttpGet(const QString& url, std::chrono::milliseconds timeout) {
    return HttpFetch(url, timeout).Body;
}

HttpAnswer HttpFetch(const QString& url, std::chrono::milliseconds timeout, FetchWait* wait,
                     const QString& what) {
    const QUrl address(url, QUrl::TolerantMode);
    if (!IsWebAddress(address))
        return {};

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply* reply = manager.get(request);
    BodyCollector body(*reply);

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    // A coarse timer may fire up to 5% early; a stated time-out is a minimum.
    deadline.setTimerType(Qt::PreciseTimer);
    bool timedOut = false;
    bool cancelled = false;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, [&] { body.OnMetaData(); });
    QObject::connect(reply, &QNetworkReply::readyRead, [&] { body.OnReadyRead(); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        timedOut = true;
        reply->abort();
    });
    deadline.start(timeout);
    if (!reply->isFinished()) {
        FetchWait plainWait;
        (wait ? *wait : plainWait).Wait(loop, what, [&] {
            // An answer already in is kept.
            if (reply->isFinished())
                return;
            cancelled = true;
            reply->abort();
        });
    }
    // The program's exit ends every loop, this one too, before the answer:
    // the request must not outlive the wait.
    if (!reply->isFinished()) {
        cancelled = true;
        reply->abort();
    }
    deadline.stop();
    body.OnFinished();

    const bool ok = !timedOut && !cancelled && !body.Refused() && HasAnswer(*reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    delete reply;
    if (!ok) {
        HttpAnswer none;
        none.Cancelled = cancelled;
        return none;
    }
    return {BodyText::Decode(body.Body()), status};
}

QString SearchRequestUrl(const QString& singer, const QString& song, const QString& type) {
    return ServiceAddresses::SearchBase() + QStringLiteral("xmlhttp.asp?singer=") +
           PercentEncodeUntravellable(singer) + QStringLiteral("&song=") +
           PercentEncodeUntravellable(song) + QStringLiteral("&page=0&Type=") +
           PercentEncodeUntravellable(type);
}

QString SearchSongs(const QString& singer, const QString& song, const QString& type) {
    return HttpGet(SearchRequestUrl(singer, song, type));
}

} // namespace ModInternet
