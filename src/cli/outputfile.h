#pragma once
// An output file written whole or not at all: the content goes to a temporary file beside it,
// which takes its name only when complete. Whatever goes wrong before commit() leaves nothing.

#include <QSaveFile>
#include <QString>

namespace hollenby::cli {

class OutputFile
{
public:
    // Checks what can be known before writing, so that a refusal says why: a folder, a device,
    // a missing or unwritable folder, the level itself (`protectedPath`). Throws CliError.
    OutputFile(const QString& path, const QString& protectedPath);

    QIODevice& device() { return m_file; }
    const QString& path() const { return m_path; }
    // Puts the file in place. Throws CliError when that fails.
    void commit();

private:
    QString m_path;
    QSaveFile m_file;
};

} // namespace hollenby::cli
