#include "outputfile.h"

#include "clierror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace hollenby::cli {

OutputFile::OutputFile(const QString& path, const QString& protectedPath, Existing existing)
    : m_path(path), m_file(path), m_inPlace(path)
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
    if (existing == Existing::FillIfEmpty && info.isFile() && info.size() == 0) {
        if (!info.isWritable())
            Fail(path, QStringLiteral("permission denied"));
        if (!m_inPlace.open(QIODevice::WriteOnly | QIODevice::ExistingOnly))
            Fail(path, QStringLiteral("cannot write: ") + m_inPlace.errorString());
        return;
    }
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

OutputFile::~OutputFile()
{
    // Written in place and not finished: empty again, as it was found.
    if (m_inPlace.isOpen() && !m_committed)
        m_inPlace.resize(0);
}

QIODevice& OutputFile::device()
{
    if (m_inPlace.isOpen())
        return m_inPlace;
    return m_file;
}

void OutputFile::commit()
{
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
