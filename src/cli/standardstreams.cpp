#include "standardstreams.h"

#include "clierror.h"
#include "command.h"

#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace hollenby::cli {

namespace {

// Whether the reader of a pipe on standard output has gone.
bool ReaderGone()
{
    pollfd out = {STDOUT_FILENO, POLLOUT, 0};
    return ::poll(&out, 1, 0) == 1 && (out.revents & POLLERR) != 0;
}

struct Output
{
    QFile file;
    QTextStream stream;
    Output()
    {
        open();
        stream.setDevice(&file);
    }
    // Descriptor 1 itself: stdio's buffer in between would lose the system's reason.
    void open()
    {
        file.close();
        file.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                  QFileDevice::DontCloseHandle);
    }
};

Output& TheOutput()
{
    static Output output;
    return output;
}

// Ends the program as SIGPIPE would have at the write, also where the signal is ignored.
[[noreturn]] void EndForGoneReader()
{
    std::signal(SIGPIPE, SIG_DFL);
    std::raise(SIGPIPE);
    std::_Exit(kExitTrouble);
}

class BinaryOutput : public QIODevice
{
public:
    BinaryOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 written = 0;
        while (written < size) {
            const ssize_t n =
                ::write(STDOUT_FILENO, data + written, static_cast<std::size_t>(size - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EAGAIN) {
                pollfd out = {STDOUT_FILENO, POLLOUT, 0};
                ::poll(&out, 1, -1);
                continue;
            }
            if (n < 0 && errno == EPIPE)
                EndForGoneReader();
            if (n < 0) {
                setErrorString(SystemReason(errno));
                return -1;
            }
            written += n;
        }
        return written;
    }
};

} // namespace

void GuardStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened < 0)
            std::_Exit(kExitTrouble); // no /dev/null: nothing safe is left to do
        if (opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

QTextStream& StandardOutput()
{
    return TheOutput().stream;
}

QIODevice& BinaryStandardOutput()
{
    TheOutput().stream.flush();
    static BinaryOutput output;
    return output;
}

void RefuseTerminalOutput(const QString& what)
{
    if (::isatty(STDOUT_FILENO) == 1)
        throw CliError(QStringLiteral("standard output is a terminal, where %1 would be noise; "
                                      "redirect it to a file or a pipe")
                           .arg(what));
}

QString StandardOutputFailure()
{
    Output& output = TheOutput();
    output.stream.flush();
    // Anything written past the stream too (nothing should be) must have arrived as well.
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    const int error = errno;
    const bool failed = output.file.error() != QFileDevice::NoError;
    if (flushed && !failed)
        return {};
    if (error == EPIPE || ReaderGone())
        EndForGoneReader();
    QString reason = failed ? output.file.errorString() : SystemReason(error);
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    // Once reported, the next command run in this process starts afresh.
    output.open();
    output.stream.resetStatus();
    std::clearerr(stdout);
    return reason;
}

} // namespace hollenby::cli
