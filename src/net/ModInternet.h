#pragma once

#include <QString>

#include <chrono>

class FetchWait;

// The program's one way to fetch from the web, and the song search built on
// it.
namespace ModInternet {

// The whole transfer, redirects included, must finish within this time.
inline constexpr std::chrono::milliseconds kTransferTimeout{30000};
// A bigger body is not wanted: answers are a version number or a handful of
// addresses.
inline constexpr qsizetype kMaxBodyBytes = 4 * 1024 * 1024;
inline constexpr int kMaxRedirects = 5;

// GETs `url` (http or https) and returns the body decoded as its meta tags
// say (see BodyText). Synchronous for the caller, who waits as `wait` says
// (by default FetchWait's: the busy cursor, mouse and keyboard input held
// back, timers and painting going on). Any failure (bad address, no
// connection, time-out, too many redirects, a body over kMaxBodyBytes, a
// wait that was cancelled) gives an empty text and shows nothing. An HTTP
// error page is a body like any other.
QString HttpGet(const QString& url, std::chrono::milliseconds timeout = kTransferTimeout);

// What a server answered: the decoded body, as HttpGet gives it, and the HTTP
// status of the final reply (0 when no answer arrived), for callers to
// whom an error page is not an answer.
struct HttpAnswer {
    QString Body;
    int Status = 0;
    // The wait was ended before the answer (the user cancelled, the program
    // is ending): the request was aborted and nothing is known.
    bool Cancelled = false;
};
// `what` tells the user what is awaited, should `wait` show it.
HttpAnswer HttpFetch(const QString& url, std::chrono::milliseconds timeout = kTransferTimeout,
                     FetchWait* wait = nullptr, const QString& what = QString());

// The address of a search: SearchBase + "xmlhttp.asp?singer=" + singer +
// "&song=" + song + "&page=0&Type=" + type. The values go in as they stand, so
// a "&" inside one still starts a new parameter; only what cannot travel in
// an address at all (space, "#", "%", the printable characters outside the
// URL syntax, controls and everything beyond ASCII) is percent-encoded, as
// UTF-8.
QString SearchRequestUrl(const QString& singer, const QString& song, const QString& type);

// HttpGet of the search address: "<br/>"-separated candidate addresses, or
// empty when nothing was found or the service could not be reached.
QString SearchSongs(const QString& singer, const QString& song, const QString& type);

} // namespace ModInternet
