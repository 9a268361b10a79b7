#include "files.h"

#include "picture.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace hollenby::ui {

QString TextFromBytes(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BytesFromText(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

namespace {

// Maps what the system said about opening a file to the run-time error the routines report.
RuntimeError ErrorFromErrno(int error, bool writing)
{
    switch (error) {
    case ENOENT:
        return writing ? RuntimeError::PathNotFound() : RuntimeError::FileNotFound();
    case ENOTDIR:
        return writing ? RuntimeError::PathNotFound() : RuntimeError::FileNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return RuntimeError::PermissionDenied();
    case ENOSPC:
    case EDQUOT:
        return RuntimeError::DiskFull();
    case EIO:
        return RuntimeError::DeviceIOError();
    default:
        return RuntimeError::PathFileAccessError();
    }
}

} // namespace

void CheckReadableFile(const QString& nativePath)
{
    if (nativePath.isEmpty())
        throw RuntimeError::FileNotFound();
    const QFileInfo info(nativePath);
    if (!info.exists()) {
        // exists() is false both for a missing file and for a path the system refuses to look
        // into; only the first is "not found".
        const QByteArray encoded = QFile::encodeName(nativePath);
        const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            return;
        }
        throw ErrorFromErrno(errno, false);
    }
    if (info.isDir())
        throw RuntimeError::PathFileAccessError();
    if (!info.isReadable())
        throw RuntimeError::PermissionDenied();
}

std::string ReadFileBytes(const QString& path)
{
    const QString native = NativePath(path);
    CheckReadableFile(native);
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        throw ErrorFromErrno(error == 0 ? EACCES : error, false);
    }
    std::string bytes;
    // Devices and pipes report no size; read them in pieces until they end.
    const qint64 size = file.size();
    if (size > 0)
        bytes.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            throw RuntimeError::DeviceIOError();
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void WriteFileBytesSafely(const QString& path, std::string_view bytes)
{
    const QString native = NativePath(path);
    if (native.isEmpty())
        throw RuntimeError::PathNotFound();
    const QFileInfo info(native);
    if (info.isDir())
        throw RuntimeError::PathFileAccessError();
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists() || !folder.isDir())
        throw RuntimeError::PathNotFound();
    // QSaveFile would happily replace a read-only file through a writable folder; a file the
    // user may not write stays as it is.
    if (info.exists() && !info.isWritable())
        throw RuntimeError::PermissionDenied();

    QSaveFile file(native);
    // Writing through a symbolic link or onto a device must reach the target itself.
    file.setDirectWriteFallback(true);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno;
        throw ErrorFromErrno(error == 0 ? EACCES : error, true);
    }
    qint64 written = 0;
    const auto total = static_cast<qint64>(bytes.size());
    while (written < total) {
        errno = 0;
        const qint64 step = file.write(bytes.data() + written, total - written);
        if (step <= 0) {
            const int error = errno;
            file.cancelWriting();
            throw ErrorFromErrno(error == 0 ? EIO : error, true);
        }
        written += step;
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        if (file.error() == QFileDevice::WriteError || error == ENOSPC || error == EDQUOT)
            throw ErrorFromErrno(error == 0 ? ENOSPC : error, true);
        throw ErrorFromErrno(error == 0 ? EIO : error, true);
    }
}

} // namespace hollenby::ui
