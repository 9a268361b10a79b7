#pragma once
// File helpers for every test, the toolkit's included: Qt Core only, so a test that links no
// window library can use them.

#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <string>
#include <string_view>

namespace hollenby::testing {

// Writes bytes exactly, creating the file; false when it cannot.
inline bool WriteBytes(const QString& path, std::string_view bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

inline std::string ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return {all.constData(), static_cast<std::size_t>(all.size())};
}

// Every entry under `folder`, sorted, with each regular file's bytes; other kinds (a FIFO, a link
// to a device) only by name, as reading them could wait or never end. Two snapshots compare
// equal when nothing under the folder changed, no temporary file left behind included.
inline QStringList Snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = info.filePath();
        if (info.isFile() && !info.isSymLink())
            entry += QStringLiteral(" = ") + QString::fromStdString(ReadBytes(entry));
        entries << entry;
    }
    entries.sort();
    return entries;
}

} // namespace hollenby::testing
