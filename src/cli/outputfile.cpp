#include "outputfile.h"

#include "clierror.h"
#include "inputfile.h"
#include "picture.h"

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
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

void OutputFile::Check(const QString& path, const QStringList& inputs)
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
                Fail(path, QStringLiteral("is the same file as %1, which this command reads; give "
                                          "another output file")
                               .arg(input));
        }
    }
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

bool OutputFile::HasSuffix(const QString& path, const QStringList& suffixes)
{
    return suffixes.contains(QFileInfo(path).suffix().toLower());
}

OutputFile::OutputFile(const QString& path, const QStringList& inputs) : m_path(path), m_file(path)
{
    Check(path, inputs);
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly))
        Fail(path, QStringLiteral("cannot create: ") + m_file.errorString());
}

void OutputFile::commit()
{
    errno = 0;
    if (!m_file.commit()) {
        Fail(m_path, QStringLiteral("cannot write: ") +
                         (errno != 0 ? SystemReason(errno) : m_file.errorString()));
    }
}

} // namespace hollenby::cli
