// melodeck-search: a small search service for Melodeck links. It shares one
// folder of music: a search answers with the http:// addresses of the files
// whose tags or names match, joined by "<br/>", and the files themselves are
// served by the same program. It also serves the version file of the update
// check. Run it on a LAN and point the players at it with MELODECK_SEARCH_URL
// and MELODECK_UPDATE_URL; tests start it with --port 0 and read the port
// from the first line of its output. Every later line of its output logs one
// request as it is answered: "search <query> -> <n>", "file <name> 200|404".
#include "MusicIndex.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QUrl>
#include <QUrlQuery>

#include <cstdio>
#include <memory>

namespace {

// Where the product's server keeps the interface; the root serves it too, so
// a player can be given either base.
const QString kInterfacePath = QStringLiteral("/melodeck/5.0/MelodeckInterFace/xmlhttp.asp");

// The address a file is reached at, on the host the client itself used.
QString FileAddress(const QHttpServerRequest& request, int index, const QString& extension) {
    QString host = QString::fromLatin1(request.value("Host"));
    if (host.isEmpty())
        host = request.url().authority();
    return QStringLiteral("http://%1/file/%2.%3").arg(host).arg(index).arg(extension);
}

// One line of the request log, at once: whoever watches (an administrator,
// a test) sees each request as it is answered.
void Log(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QHttpServerResponse Search(const MusicIndex& index, const QHttpServerRequest& request) {
    const QUrlQuery query = request.query();
    const auto value = [&](const char* name) {
        return query.queryItemValue(QString::fromLatin1(name), QUrl::FullyDecoded);
    };
    QStringList addresses;
    for (const int i : index.Search(value("singer"), value("song"), value("Type")))
        addresses << FileAddress(request, i, index.Entries()[i].Extension);
    Log(QStringLiteral("search %1 -> %2")
            .arg(request.url().query(QUrl::FullyEncoded))
            .arg(addresses.size()));
    // UTF-8 said in a meta tag, as the player reads it; addresses are ASCII.
    const QByteArray body =
        addresses.isEmpty() ? QByteArray() : addresses.join(QStringLiteral("<br/>")).toUtf8();
    return QHttpServerResponse("text/html", body);
}

void ServeFile(const MusicIndex& index, const QString& name, QHttpServerResponder&& responder) {
    // Only files of the index can be reached: the name is "<number>.<ext>".
    const QString number = name.section(QLatin1Char('.'), 0, 0);
    bool ok = false;
    const int i = number.toInt(&ok);
    auto file = std::make_unique<QFile>();
    if (ok && i >= 0 && i < index.Entries().size() &&
        name == number + QLatin1Char('.') + index.Entries()[i].Extension) {
        file->setFileName(index.Entries()[i].FilePath);
        if (file->open(QIODevice::ReadOnly)) {
            Log(QStringLiteral("file %1 200").arg(name));
            // Streamed in pieces: a video need not fit in memory.
            responder.write(file.release(), "application/octet-stream");
            return;
        }
    }
    Log(QStringLiteral("file %1 404").arg(QString::fromLatin1(QUrl::toPercentEncoding(name))));
    responder.write(QHttpServerResponder::StatusCode::NotFound);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Search service for Melodeck links."));
    parser.addHelpOption();
    const QCommandLineOption music(QStringLiteral("music"), QStringLiteral("Folder to share."),
                                   QStringLiteral("folder"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port (0: any free one). Default 8080."),
                                  QStringLiteral("port"), QStringLiteral("8080"));
    const QCommandLineOption bind(QStringLiteral("bind"),
                                  QStringLiteral("Address to listen on. Default: all."),
                                  QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption version(QStringLiteral("version-text"),
                                     QStringLiteral("Text of the update check's version file."),
                                     QStringLiteral("text"), QStringLiteral("5.0.007"));
    parser.addOptions({music, port, bind, version});
    parser.process(app);
    if (!parser.isSet(music)) {
        std::fputs("melodeck-search: --music <folder> is required\n", stderr);
        return 2;
    }
    bool portOk = false;
    const uint wantedPort = parser.value(port).toUInt(&portOk);
    const QHostAddress address(parser.value(bind));
    if (!portOk || wantedPort > 65535 || address.isNull()) {
        std::fputs("melodeck-search: bad --port or --bind\n", stderr);
        return 2;
    }

    const MusicIndex index(parser.value(music));
    const QByteArray versionText = parser.value(version).toUtf8();
    QHttpServer server;
    const auto search = [&index](const QHttpServerRequest& r) { return Search(index, r); };
    server.route(QStringLiteral("/xmlhttp.asp"), search);
    server.route(kInterfacePath, search);
    server.route(QStringLiteral("/file/<arg>"),
                 [&index](const QString& name, QHttpServerResponder&& responder) {
                     ServeFile(index, name, std::move(responder));
                 });
    server.route(QStringLiteral("/melodeck/5.0/update/version.txt"),
                 [versionText] { return QHttpServerResponse("text/plain", versionText); });

    const quint16 chosen = server.listen(address, quint16(wantedPort));
    if (chosen == 0) {
        std::fprintf(stderr, "melodeck-search: cannot listen on port %u\n", wantedPort);
        return 1;
    }
    std::printf("port %u\n", unsigned(chosen));
    std::fflush(stdout);
    std::fprintf(stderr, "melodeck-search: %lld files from %s\n",
                 static_cast<long long>(index.Entries().size()), qPrintable(parser.value(music)));
    return app.exec();
}
