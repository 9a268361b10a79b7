#include "picture.h"

#include "files.h"
#include "runtimeerror.h"

#include <QImageReader>

namespace hollenby::ui {

QString NativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString native = path;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return native;
#endif
}

QImage LoadPicture(const QString& path)
{
    const QString native = NativePath(path);
    CheckReadableFile(native);
    QImageReader reader(native);
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError::InvalidPicture();
    return picture;
}

} // namespace hollenby::ui
