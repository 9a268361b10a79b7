#include "inputfile.h"

#include "picture.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hollenby::cli {

namespace {

// Why a file of this kind cannot be read as a file; empty for a regular one.
QString KindReason(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("is a FIFO, not a regular file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("is a device, not a regular file");
    if (S_ISSOCK(mode))
        return QStringLiteral("is a socket, not a regular file");
    return QStringLiteral("is not a regular file");
}

QString OpenReason(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("no such file or folder");
    case EACCES:
    case EPERM:
        return QStringLiteral("permission denied");
    case ELOOP:
        return QStringLiteral("is a symlink loop");
    default:
        return SystemReason(error);
    }
}

// Closes a descriptor however the reading ends.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

void RefuseIrregularFile(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(ui::NativePath(path));
    struct stat status = {};
    if (::stat(encoded.constData(), &status) != 0) {
        if (errno == ELOOP)
            throw FileKindError(path, OpenReason(ELOOP));
        return;
    }
    const QString reason = KindReason(status.st_mode);
    if (!reason.isEmpty())
        throw FileKindError(path, reason);
}

std::string ReadInputFile(const QString& path, qint64 maxBytes, const TooLarge& tooLarge)
{
    const QString native = ui::NativePath(path);
    // A NUL would end the name early for the system.
    if (native.isEmpty() || native.contains(QChar(0)))
        Fail(path, OpenReason(ENOENT));
    // The kind is asked before opening: opening a device may already do something.
    RefuseIrregularFile(path);
    const QByteArray encoded = QFile::encodeName(native);
    // Without waiting and without becoming a terminal's owner, in case the file was swapped for
    // another kind since.
    const Descriptor file{
        ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        Fail(path, OpenReason(errno));
    struct stat status = {};
    if (::fstat(file.fd, &status) != 0)
        Fail(path, SystemReason(errno));
    if (const QString reason = KindReason(status.st_mode); !reason.isEmpty())
        throw FileKindError(path, reason);
    const auto refuseSize = [&](qint64 size) {
        if (maxBytes >= 0 && size > maxBytes)
            Fail(path, tooLarge ? tooLarge(size)
                                : QStringLiteral("the file is larger than %1 bytes").arg(maxBytes));
    };
    refuseSize(status.st_size);

    std::string bytes;
    bytes.resize(std::size_t(status.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(size * 2);
        const ssize_t got = ::read(file.fd, bytes.data() + size, bytes.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail(path, SystemReason(errno));
        if (got == 0)
            break;
        size += std::size_t(got);
        refuseSize(qint64(size));
    }
    bytes.resize(size);
    return bytes;
}

} // namespace hollenby::cli
