#include "net/ServiceAddresses.h"

#include <QtGlobal>

namespace ServiceAddresses {
namespace {

// The product's server: the search interface and the update folder share it.
constexpr const char* kBuiltInSearch = "http://www.melodeck.net/melodeck/5.0/MelodeckInterFace/";
constexpr const char* kBuiltInUpdate = "http://www.melodeck.net/";

QString baseFrom(const char* variable, const char* builtIn) {
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty())
        base = QString::fromLatin1(builtIn);
    // Requests are made by appending a relative path, so a base given
    // without its final "/" would glue the path onto the last segment.
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

} // namespace

QString SearchBase() {
    return baseFrom("MELODECK_SEARCH_URL", kBuiltInSearch);
}

QString UpdateBase() {
    return baseFrom("MELODECK_UPDATE_URL", kBuiltInUpdate);
}

QString VersionFileUrl() {
    return UpdateBase() + QStringLiteral("melodeck/5.0/update/version.txt");
}

QString MusicPageUrl() {
    return UpdateBase() + QStringLiteral("music/");
}

} // namespace ServiceAddresses
