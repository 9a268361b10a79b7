// Loading any file as a bitmap gives a picture or a run-time error, never a crash.

#include "picture.h"
#include "runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = [] {
        QImageReader::setAllocationLimit(64); // megabytes: a fuzzed header may ask for anything
        return QDir::tempPath() + QStringLiteral("/hollenby-fuzz-%1.bmp").arg(getpid());
    }();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        const QImage picture = hollenby::ui::LoadPicture(path);
        if (picture.isNull())
            std::abort();
    } catch (const hollenby::ui::RuntimeError& error) {
        if (error.number() != 481 && error.number() != 53)
            std::abort();
    }
    return 0;
}
