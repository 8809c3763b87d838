#include "winsvc/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {
namespace {

QString systemError(const char* what) {
    const int code = errno; // before anything else can change it
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(code)));
}

// Why a file of this kind and size is refused; empty when it is acceptable.
QString tooLarge(qint64 maxBytes) {
    return QStringLiteral("the file is larger than %1 bytes").arg(maxBytes);
}

QString refusal(const struct stat& info, qint64 maxBytes) {
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("not a regular file");
    if (info.st_size > maxBytes)
        return tooLarge(maxBytes);
    return QString();
}

} // namespace

bool Open(const QString& path, qint64 maxBytes, QFile& file, QString& error) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // stat() follows links, so a link to a regular file is accepted and one
    // to a FIFO or a device is not; checked before open() so that opening
    // cannot touch a device at all.
    if (::stat(name.constData(), &info) != 0) {
        error = systemError("cannot open the file");
        return false;
    }
    if (error = refusal(info, maxBytes); !error.isEmpty())
        return false;
    // O_NONBLOCK: should the path have become a FIFO since, open() returns at
    // once instead of waiting for a writer; fstat() below then refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError("cannot open the file");
        return false;
    }
    if (::fstat(fd, &info) != 0)
        error = systemError("cannot read the file");
    else
        error = refusal(info, maxBytes);
    if (error.isEmpty()) {
        // Reads from a regular file never block; clear the flag all the same
        // so the descriptor behaves like any other.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return true;
        error = QStringLiteral("cannot open the file: %1").arg(file.errorString());
    }
    ::close(fd);
    return false;
}

std::optional<QByteArray> ReadAll(const QString& path, qint64 maxBytes, QString& error) {
    QFile file;
    if (!Open(path, maxBytes, file, error))
        return std::nullopt;
    // Read in pieces rather than asking for the cap at once (which would
    // allocate it); reading past the cap tells a file that grew since the check.
    QByteArray bytes;
    char piece[65536];
    for (;;) {
        const qint64 got = file.read(piece, sizeof piece);
        if (got < 0) {
            error = QStringLiteral("cannot read the file: %1").arg(file.errorString());
            return std::nullopt;
        }
        if (got == 0)
            break;
        if (bytes.size() + got > maxBytes) {
            error = tooLarge(maxBytes);
            return std::nullopt;
        }
        bytes.append(piece, qsizetype(got));
    }
    return bytes;
}

} // namespace RegularFile
