#include "picture.h"

#include "files.h"
#include "runtimeerror.h"

#include <QBuffer>
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
    QByteArray bytes = ReadWholeFile(native);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // The name's extension is the first guess at the format, the content the next.
    const qsizetype dot = native.lastIndexOf(QLatin1Char('.'));
    const QByteArray suffix = dot < 0 || native.indexOf(QLatin1Char('/'), dot) >= 0
                                  ? QByteArray()
                                  : native.mid(dot + 1).toLatin1();
    QImageReader reader(&buffer, suffix);
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError::InvalidPicture();
    return picture;
}

} // namespace hollenby::ui
