#include "files.h"

#include "picture.h"
#include "runtimeerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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
    case ENOTDIR:
        return writing ? RuntimeError::PathNotFound() : RuntimeError::FileNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return RuntimeError::PermissionDenied();
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return RuntimeError::DiskFull();
    case EIO:
        return RuntimeError::DeviceIOError();
    default:
        return RuntimeError::PathFileAccessError();
    }
}

// A write that fails once the file is open: out of space, or broken part-way.
RuntimeError WriteErrorFromErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return RuntimeError::DiskFull();
    default:
        return RuntimeError::DeviceIOError();
    }
}

void WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t step = ::write(fd, bytes.data(), bytes.size());
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            throw WriteErrorFromErrno(step < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<std::size_t>(step));
    }
}

// Closes a file descriptor when it goes out of scope.
struct FileCloser
{
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Everything from the file's current offset to its end; `expected` is the size to start with.
QByteArray ReadToEnd(int fd, qsizetype expected)
{
    QByteArray bytes(expected + 1, Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(size * 2);
        const ssize_t got =
            ::read(fd, bytes.data() + size, static_cast<std::size_t>(bytes.size() - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw RuntimeError::DeviceIOError();
        if (got == 0)
            break;
        size += got;
    }
    bytes.truncate(size);
    return bytes;
}

// Whether this process may write the path, by its effective ids (and so also while it acts as
// another user), including what permission bits do not show: immutable files, read-only mounts.
void CheckWritable(const QByteArray& encoded, int mode)
{
    if (::faccessat(AT_FDCWD, encoded.constData(), mode, AT_EACCESS) != 0)
        throw ErrorFromErrno(errno, true);
}

// A device cannot be replaced by a new file; what is written goes to the device itself.
void WriteToDevice(const QByteArray& encoded, std::string_view bytes)
{
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw ErrorFromErrno(errno, true);
    try {
        WriteAll(fd, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && errno != EINTR)
        throw WriteErrorFromErrno(errno);
}

// The temporary-file route was refused by the folder before the file itself was touched.
struct FolderRefused
{
    RuntimeError error;
};

bool IsRefusal(int error)
{
    return error == EACCES || error == EPERM;
}

// Writes `bytes` over the file's content where it stands, keeping the old content in memory to
// put back when the write fails part-way. A file that may not be read keeps its content as it
// is: the old bytes could not be kept.
void WriteInPlace(const QByteArray& encoded, std::string_view bytes)
{
    const int fd = ::open(encoded.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw ErrorFromErrno(errno, true);
    const FileCloser closer{fd};
    const QByteArray old = ReadToEnd(fd, 0);
    auto replaceWith = [fd](std::string_view content) {
        if (::lseek(fd, 0, SEEK_SET) != 0)
            throw RuntimeError::DeviceIOError();
        WriteAll(fd, content);
        if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0)
            throw WriteErrorFromErrno(errno);
        if (::fdatasync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
            throw WriteErrorFromErrno(errno);
    };
    try {
        replaceWith(bytes);
    } catch (...) {
        // The old content fits where it was; what failed is reported, not this.
        try {
            replaceWith({old.constData(), static_cast<std::size_t>(old.size())});
        } catch (...) {
        }
        throw;
    }
}

// The new content in a temporary file in `folder`, renamed over the file once whole. Throws
// FolderRefused when the folder will not take the temporary file or its rename.
void ReplaceThroughTemporary(const QString& native, const QString& folder, std::string_view bytes)
{
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) !=
        0) {
        const int error = errno;
        if (IsRefusal(error))
            throw FolderRefused{ErrorFromErrno(error, true)};
        throw ErrorFromErrno(error, true);
    }
    QSaveFile file(native);
    // Writing straight into the file when its folder refuses a temporary one would truncate it
    // first, and a failure part-way would then leave half a level.
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno;
        if (IsRefusal(error))
            throw FolderRefused{ErrorFromErrno(error, true)};
        throw ErrorFromErrno(error, true);
    }
    // Written past Qt's buffer so that the system's reason for a failure is known; on failure
    // the temporary file is removed when `file` goes and the level is left as it was.
    try {
        WriteAll(file.handle(), bytes);
        if (::fdatasync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP)
            throw WriteErrorFromErrno(errno);
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    errno = 0;
    if (!file.commit()) {
        // A sticky folder lets anyone make the temporary file but only the owner replace theirs.
        const int error = errno == 0 ? EIO : errno;
        if (IsRefusal(error))
            throw FolderRefused{ErrorFromErrno(error, true)};
        throw ErrorFromErrno(error, true);
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
    // Devices, pipes and sockets are refused like folders: /dev/zero would never end, and a
    // pipe would wait for a writer that may never come.
    if (info.isDir() || !info.isFile())
        throw RuntimeError::PathFileAccessError();
    if (!info.isReadable())
        throw RuntimeError::PermissionDenied();
}

QByteArray ReadWholeFile(const QString& nativePath)
{
    // A NUL would end the path early for the system: let the slow test name the failure.
    const QByteArray encoded = QFile::encodeName(nativePath);
    const int fd = nativePath.isEmpty() || nativePath.contains(QChar(0))
                       ? -1
                       : ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        CheckReadableFile(nativePath);
        throw ErrorFromErrno(error, false);
    }
    const FileCloser closer{fd};
    // Opened without waiting, so a pipe or a device is refused here as it is by the slow test.
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        throw RuntimeError::PathFileAccessError();
    return ReadToEnd(fd, static_cast<qsizetype>(status.st_size));
}

void ReadFilePieces(const QString& path, const std::function<bool(std::string_view)>& piece)
{
    const QString native = NativePath(path);
    CheckReadableFile(native);
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        throw ErrorFromErrno(error == 0 ? EACCES : error, false);
    }
    // Devices and pipes report no size; pieces serve them as they serve files.
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            throw RuntimeError::DeviceIOError();
        if (got == 0 || !piece({buffer, static_cast<std::size_t>(got)}))
            break;
    }
}

std::string ReadFileBytes(const QString& path)
{
    std::string bytes;
    const qint64 size = QFileInfo(NativePath(path)).size();
    if (size > 0)
        bytes.reserve(static_cast<std::size_t>(size));
    ReadFilePieces(path, [&bytes](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

void WriteFileBytesSafely(const QString& path, std::string_view bytes, InPlaceFallback fallback)
{
    const QString native = NativePath(path);
    if (native.isEmpty())
        throw RuntimeError::PathNotFound();
    const QByteArray encoded = QFile::encodeName(native);

    // Everything that can be known before writing is checked first, so that a refusal carries
    // its real reason: QSaveFile reports its own failures without the system's error number.
    struct stat status = {};
    QString folder;
    const bool exists = ::stat(encoded.constData(), &status) == 0;
    if (exists) {
        if (S_ISDIR(status.st_mode))
            throw RuntimeError::PathFileAccessError();
        if (S_ISCHR(status.st_mode)) {
            WriteToDevice(encoded, bytes);
            return;
        }
        if (!S_ISREG(status.st_mode))
            throw RuntimeError::PathFileAccessError();
        // QSaveFile would replace a read-only file through a writable folder; a file the user
        // may not write stays as it is.
        CheckWritable(encoded, W_OK);
        // A link is followed: the new file takes the place of its target, beside it.
        folder = QFileInfo(QFileInfo(native).canonicalFilePath()).absolutePath();
    } else {
        if (errno != ENOENT)
            throw ErrorFromErrno(errno, true);
        folder = QFileInfo(native).absolutePath();
        const QByteArray encodedFolder = QFile::encodeName(folder);
        if (::stat(encodedFolder.constData(), &status) != 0)
            throw ErrorFromErrno(errno, true);
        if (!S_ISDIR(status.st_mode))
            throw RuntimeError::PathNotFound();
    }
    try {
        ReplaceThroughTemporary(native, folder, bytes);
    } catch (const FolderRefused& refused) {
        if (!exists || fallback != InPlaceFallback::WhenRefusedOnly)
            throw refused.error;
        WriteInPlace(encoded, bytes);
    }
}

} // namespace hollenby::ui
