#include "winsvc/AppDir.h"

#include <QCoreApplication>
#include <QDir>

QString AppDir() {
    const QString home = qEnvironmentVariable("MELODECK_HOME");
    QString dir = home.isEmpty() ? QCoreApplication::applicationDirPath() : home;
    dir = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}
