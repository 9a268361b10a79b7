#include "resourcefiles.h"

#include "picture.h"
#include "runtimeerror.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace hollenby::ui {

namespace {

// ASCII only, whatever the locale says: a Turkish locale must not fold "I" to a dotless "i".
char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(const char* entry, const QByteArray& name)
{
    qsizetype i = 0;
    for (; entry[i] != '\0'; ++i) {
        if (i == name.size() || FoldAscii(entry[i]) != FoldAscii(name[i]))
            return false;
    }
    return i == name.size();
}

// The one entry of `folder` named `name` without regard to case; empty for none or several.
QByteArray OnlyEntryNamed(const QByteArray& folder, const QByteArray& name)
{
    DIR* listing = ::opendir(folder.constData());
    if (listing == nullptr)
        return {};
    QByteArray found;
    int matches = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (SameIgnoringAsciiCase(entry->d_name, name) && ++matches == 1)
            found = entry->d_name;
    }
    ::closedir(listing);
    return matches == 1 ? found : QByteArray();
}

} // namespace

QString ResourceFilePath(const QString& path)
{
    QString native = NativePath(path);
    // A NUL would end the path early for the system; such a name is nobody's file.
    if (native.isEmpty() || native.contains(QChar(0)))
        return native;
    const QByteArray encoded = QFile::encodeName(native);
    // The name itself, a dangling link or a folder included, comes first.
    struct stat status = {};
    if (::lstat(encoded.constData(), &status) == 0 || errno != ENOENT)
        return native;
    const qsizetype slash = native.lastIndexOf(QLatin1Char('/'));
    const QString folder = native.left(slash + 1);
    const QByteArray name = QFile::encodeName(native.mid(slash + 1));
    if (name.isEmpty())
        return native;
    const QByteArray found =
        OnlyEntryNamed(folder.isEmpty() ? QByteArrayLiteral(".") : QFile::encodeName(folder), name);
    return found.isEmpty() ? native : folder + QFile::decodeName(found);
}

QImage LoadResourcePicture(const QString& path)
{
    try {
        return LoadPicture(path);
    } catch (const RuntimeError& error) {
        if (error.number() != RuntimeError::kFileNotFound)
            throw;
        const QString other = ResourceFilePath(path);
        if (other == NativePath(path))
            throw;
        return LoadPicture(other);
    }
}

} // namespace hollenby::ui
