#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace TestProgram {

QString Path() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/melodeck");
}

QProcessEnvironment Environment(const QString& home) {
    const QString bin = QFileInfo(Path()).absolutePath();
    QDir(home).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::link(bin + QStringLiteral("/skin"), home + QStringLiteral("/skin"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("MELODECK_MPV_VO"), QStringLiteral("null"));
    env.insert(QStringLiteral("MELODECK_MPV_AO"), QStringLiteral("null"));
    env.insert(QStringLiteral("MELODECK_HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    // No search or update service is reached from a test by accident.
    env.insert(QStringLiteral("MELODECK_SEARCH_URL"), QStringLiteral("http://127.0.0.1:9/"));
    env.insert(QStringLiteral("MELODECK_UPDATE_URL"), QStringLiteral("http://127.0.0.1:9/"));
    return env;
}

void UseInThisProcess(const QString& home) {
    const QProcessEnvironment env = Environment(home);
    for (const char* name :
         {"MELODECK_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
          "MELODECK_UPDATE_URL", "MELODECK_SEARCH_URL", "MELODECK_MPV_VO", "MELODECK_MPV_AO"})
        qputenv(name, env.value(QLatin1String(name)).toUtf8());
}

} // namespace TestProgram
