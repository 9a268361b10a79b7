#include "inputfile.h"

#include "picture.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
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

bool IsStream(const QString& path)
{
    static const QRegularExpression descriptor(QStringLiteral("^/dev/(fd/[0-9]+|stdin)$"));
    return path == QLatin1String("-") || descriptor.match(path).hasMatch();
}

std::string ReadInputFile(const QString& path, qint64 maxBytes, const TooLarge& tooLarge,
                          const QString& shownAs)
{
    const QString name = shownAs.isEmpty() ? path : shownAs;
    const bool stream = IsStream(path);
    Descriptor file{-1};
    int fd = STDIN_FILENO;
    if (path != QLatin1String("-")) {
        const QString native = ui::NativePath(path);
        // A NUL would end the name early for the system.
        if (native.isEmpty() || native.contains(QChar(0)))
            Fail(name, OpenReason(ENOENT));
        // The kind is asked before opening: opening a device may already do something.
        if (!stream)
            RefuseIrregularFile(path);
        const QByteArray encoded = QFile::encodeName(native);
        // A file without waiting and without becoming a terminal's owner, in case it was swapped
        // for another kind since; a stream handed over has its writer, and is waited for.
        file.fd = ::open(encoded.constData(),
                         O_RDONLY | O_CLOEXEC | O_NOCTTY | (stream ? 0 : O_NONBLOCK));
        if (file.fd < 0)
            Fail(name, OpenReason(errno));
        fd = file.fd;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        Fail(name, SystemReason(errno));
    if (const QString reason = KindReason(status.st_mode);
        !reason.isEmpty() && (!stream || S_ISDIR(status.st_mode)))
        throw FileKindError(name, reason);
    const auto refuseSize = [&](qint64 size) {
        if (maxBytes >= 0 && size > maxBytes)
            Fail(name, tooLarge ? tooLarge(size)
                                : QStringLiteral("the file is larger than %1 bytes").arg(maxBytes));
    };
    const bool regular = S_ISREG(status.st_mode);
    if (regular)
        refuseSize(status.st_size);

    std::string bytes;
    // One more than a file holds, so that its end is seen in one read; a stream starts small.
    bytes.resize(regular ? std::size_t(status.st_size) + 1 : std::size_t{1} << 16);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            std::size_t grown = size * 2;
            // Never much more than the limit: one byte past it is enough to refuse.
            if (maxBytes >= 0)
                grown = std::min(grown, std::size_t(maxBytes) + 1);
            bytes.resize(std::max(grown, size + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A stream handed over non-blocking: wait for what comes.
            pollfd ready = {fd, POLLIN, 0};
            ::poll(&ready, 1, -1);
            continue;
        }
        if (got < 0)
            Fail(name, SystemReason(errno));
        if (got == 0)
            break;
        size += std::size_t(got);
        refuseSize(qint64(size));
    }
    bytes.resize(size);
    return bytes;
}

} // namespace hollenby::cli
