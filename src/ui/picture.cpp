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

namespace {

// The formats a picture file may hold, told by its first bytes whatever its name says. Text
// formats that Qt would also take for pictures (XPM, XBM, PBM and the like) are refused: no
// bitmap of a tile set is written that way, and a text file must not pass for one.
const char* PictureFormatOf(const QByteArray& bytes)
{
    struct Signature
    {
        QByteArrayView start;
        const char* format;
    };
    static const Signature kSignatures[] = {
        {"BM", "bmp"},
        {"\x89PNG\r\n\x1a\n", "png"},
        {"\xff\xd8", "jpeg"}, // the start-of-image marker
        {"GIF87a", "gif"},
        {"GIF89a", "gif"},
        {QByteArrayView("\0\0\1\0", 4), "ico"}, // reserved 0, then type 1: an icon, not a cursor
    };
    for (const Signature& signature : kSignatures) {
        if (bytes.startsWith(signature.start))
            return signature.format;
    }
    return nullptr;
}

} // namespace

QImage LoadPicture(const QString& path)
{
    QByteArray bytes = ReadWholeFile(NativePath(path));
    const char* format = PictureFormatOf(bytes);
    if (format == nullptr)
        throw RuntimeError::InvalidPicture();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // Only the decoder the first bytes chose: Qt would otherwise try the others in turn.
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    if (picture.isNull())
        throw RuntimeError::InvalidPicture();
    return picture;
}

} // namespace hollenby::ui
