#include "winsvc/OpenDialog.h"

#include "winsvc/Prompts.h"

#include <algorithm>

namespace {

const QChar kNul(u'\0');

bool IsSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

qsizetype LastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

// The directory of a path, with its trailing separator: "/a/b.mp3" -> "/a/",
// "/b.mp3" -> "/", "C:\b.mp3" -> "C:\"; empty when the path has none.
QString DirectoryWithSeparator(const QString& path) {
    const qsizetype at = LastSeparator(path);
    return at < 0 ? QString() : path.left(at + 1);
}

// The longest directory (ending with a separator) that holds every path.
QString CommonDirectory(const QStringList& paths) {
    QString common = DirectoryWithSeparator(paths.first());
    for (const QString& path : paths) {
        const QString dir = DirectoryWithSeparator(path);
        qsizetype same = 0;
        while (same < common.size() && same < dir.size() && common.at(same) == dir.at(same)) {
            ++same;
        }
        // Cut back to the last separator both share.
        while (same > 0 && !IsSeparator(common.at(same - 1))) {
            --same;
        }
        common.truncate(same);
    }
    return common;
}

// A root ("/", "C:\", "C:/") keeps its separator; other directories drop it.
QString WithoutTrailingSeparator(const QString& dir) {
    if (dir.size() <= 1 || (dir.size() == 3 && dir.at(1) == u':')) {
        return dir;
    }
    return dir.left(dir.size() - 1);
}

QString Padded(QString buffer, int bufferLength) {
    const qsizetype room = qsizetype(bufferLength) - 1 - buffer.size();
    if (room > 0) {
        buffer += QString(room, u' ');
    }
    return buffer;
}

} // namespace

namespace OpenDialog {

QStringList NameFilters(const QString& filter) {
    const QStringList fields = filter.split(kNul);
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        const QString description = fields.at(i).trimmed();
        QStringList patterns;
        for (const QString& pattern : fields.at(i + 1).split(u';')) {
            if (!pattern.trimmed().isEmpty()) {
                patterns.append(pattern.trimmed());
            }
        }
        if (!description.isEmpty() && !patterns.isEmpty()) {
            result.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
        }
    }
    return result;
}

QString ToOpenResult(const QStringList& paths, int bufferLength) {
    if (paths.isEmpty()) {
        return QString();
    }
    if (paths.size() == 1) {
        return Padded(paths.first() + kNul, bufferLength);
    }
    const QString common = CommonDirectory(paths);
    QString buffer = WithoutTrailingSeparator(common) + kNul;
    for (const QString& path : paths) {
        buffer += path.mid(common.size()) + kNul;
    }
    buffer += kNul;
    return Padded(buffer, bufferLength);
}

QString ShowOpenDialog(Prompts& prompts, const QString& title, const QString& filter,
                       int multiSelect, int bufferLength) {
    const QStringList chosen =
        prompts.OpenFiles(title, QString(), NameFilters(filter), multiSelect == 1);
    return ToOpenResult(chosen, bufferLength);
}

int SplitOpenResult(const QString& result, QStringList& SelectedFiles) {
    if (result.isEmpty()) {
        return 0;
    }
    const QStringList parts = result.split(kNul);
    const qsizetype u = parts.size() - 1;
    if (u <= 2) {
        SelectedFiles = QStringList{parts.first()};
        return 0;
    }
    const QString& dir = parts.first();
    QString prefix = dir;
    if (!dir.isEmpty() && !IsSeparator(dir.back())) {
        prefix += dir.contains(u'/') ? u'/' : u'\\';
    }
    const qsizetype n = u - 3;
    SelectedFiles.clear();
    for (qsizetype i = 0; i <= n; ++i) {
        SelectedFiles.append(prefix + parts.at(i + 1));
    }
    return int(n);
}

} // namespace OpenDialog
