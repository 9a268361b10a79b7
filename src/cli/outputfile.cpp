#include "outputfile.h"

#include "clierror.h"
#include "inputfile.h"
#include "levelinput.h"
#include "picture.h"
#include "standardstreams.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hollenby::cli {

namespace {

bool StatOf(const QString& path, struct stat& status)
{
    if (IsStandardInput(path))
        return ::fstat(STDIN_FILENO, &status) == 0;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

bool OutputFile::CheckTarget(const QString& path, const QStringList& inputs)
{
    if (path.isEmpty())
        throw CliError(QStringLiteral("no output file named"));
    // A folder, a FIFO or a device cannot be replaced by a file; a symlink loop is no file.
    RefuseIrregularFile(path);
    struct stat output = {};
    const bool exists = StatOf(path, output);
    if (exists) {
        // Compared by the file itself, so that no other spelling of an input gets past.
        for (const QString& input : inputs) {
            struct stat read = {};
            if (StatOf(ui::NativePath(input), read) && read.st_dev == output.st_dev &&
                read.st_ino == output.st_ino)
                Fail(path,
                     QStringLiteral("is the same file as %1, which this command reads; give "
                                    "another output file")
                         .arg(IsStandardInput(input) ? QStringLiteral("standard input") : input));
        }
    }
    return exists;
}

void OutputFile::CheckFolder(const QString& path, bool exists)
{
    // A link is followed: the new file takes the place of its target, beside it.
    const QFileInfo info(path);
    const QFileInfo folder(exists ? QFileInfo(info.canonicalFilePath()).absolutePath()
                                  : info.absolutePath());
    if (!folder.exists())
        Fail(path,
             QStringLiteral("no such folder: ") + QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        Fail(path, QStringLiteral("not a folder: ") + QDir::toNativeSeparators(folder.filePath()));
    // Access by the effective ids, as the rename will be checked; the temporary file goes there.
    const QByteArray encoded = QFile::encodeName(folder.filePath());
    if (::faccessat(AT_FDCWD, encoded.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        Fail(path, QStringLiteral("permission denied (cannot write in ") + folder.filePath() +
                       QLatin1Char(')'));
    if (exists && ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)
        Fail(path, QStringLiteral("permission denied"));
}

void OutputFile::Check(const QString& path, const QStringList& inputs)
{
    if (IsStandardOutput(path))
        return;
    CheckFolder(path, CheckTarget(path, inputs));
}

bool OutputFile::HasSuffix(const QString& path, const QStringList& suffixes)
{
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

OutputFile::OutputFile(const QString& path, const QStringList& inputs, Existing existing)
    : m_path(path), m_file(path), m_inPlace(path)
{
    if (IsStandardOutput(path)) {
        m_path = QStringLiteral("standard output");
        m_standardOutput = true;
        return;
    }
    const bool exists = CheckTarget(path, inputs);
    if (existing == Existing::FillIfEmpty && exists && QFileInfo(path).size() == 0) {
        if (::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)
            Fail(path, QStringLiteral("permission denied"));
        if (!m_inPlace.open(QIODevice::WriteOnly | QIODevice::ExistingOnly))
            Fail(path, QStringLiteral("cannot write: ") + m_inPlace.errorString());
        return;
    }
    CheckFolder(path, exists);
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly))
        Fail(path, QStringLiteral("cannot create: ") + m_file.errorString());
}

OutputFile::~OutputFile()
{
    // Written in place and not finished: empty again, as it was found.
    if (m_inPlace.isOpen() && !m_committed)
        m_inPlace.resize(0);
}

QIODevice& OutputFile::device()
{
    if (m_standardOutput)
        return BinaryStandardOutput();
    if (m_inPlace.isOpen())
        return m_inPlace;
    return m_file;
}

void OutputFile::commit()
{
    // What went to standard output is there: every write waited until it was taken.
    if (m_standardOutput)
        return;
    if (m_inPlace.isOpen()) {
        commitInPlace();
        return;
    }
    errno = 0;
    if (!m_file.commit()) {
        Fail(m_path, QStringLiteral("cannot write: ") +
                         (errno != 0 ? SystemReason(errno) : m_file.errorString()));
    }
}

void OutputFile::commitInPlace()
{
    errno = 0;
    // On the disk before the command ends: the service takes the picture as made once it does.
    if (!m_inPlace.flush() || ::fsync(m_inPlace.handle()) != 0) {
        const QString reason = errno != 0 ? SystemReason(errno) : m_inPlace.errorString();
        m_inPlace.resize(0);
        Fail(m_path, QStringLiteral("cannot write: ") + reason);
    }
    m_committed = true;
    m_inPlace.close();
}

} // namespace hollenby::cli
