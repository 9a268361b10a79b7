#include "outputfile.h"

#include "clierror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace hollenby::cli {

OutputFile::OutputFile(const QString& path, const QString& protectedPath)
    : m_path(path), m_file(path)
{
    if (path.isEmpty())
        throw CliError(QStringLiteral("no output file named"));
    const QFileInfo info(path);
    if (info.isDir())
        Fail(path, QStringLiteral("is a folder"));
    if (info.exists() && !info.isFile())
        Fail(path, QStringLiteral("not a regular file; give a file to write the picture to"));
    if (info.exists() && info.canonicalFilePath() == QFileInfo(protectedPath).canonicalFilePath())
        Fail(path, QStringLiteral("is the level itself; give another output file"));
    const QFileInfo folder(info.absolutePath());
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
    if (info.exists() && !info.isWritable())
        Fail(path, QStringLiteral("permission denied"));

    // Writing straight into the file when no temporary one can be made would leave half a
    // picture behind on a failure.
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
