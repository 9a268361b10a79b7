#pragma once
// An output file written whole or not at all: the content goes to a temporary file beside it,
// which takes its name only when complete. Whatever goes wrong before commit() leaves nothing.
// It never writes into the file in place, even where no temporary file can be made: a failure
// part-way would leave half an output, or none of what was there before.

#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace hollenby::cli {

class OutputFile
{
public:
    // Checks what can be known before writing, so that a refusal says why (CliError naming
    // `path`): a folder, a FIFO or a device, a missing or unwritable folder, or one of
    // `inputs`, the files the command read. An input is the same file however it is named:
    // through a link, "..", or another hard link.
    OutputFile(const QString& path, const QStringList& inputs);
    OutputFile(const QString& path, const QString& input) : OutputFile(path, QStringList{input}) {}

    // The same checks without creating anything, for a command to make before its work.
    static void Check(const QString& path, const QStringList& inputs);

    // Whether `path` ends in "." and one of `suffixes` (lower case), in any case: a name that
    // says what kind of file it holds.
    static bool HasSuffix(const QString& path, const QStringList& suffixes);

    QIODevice& device() { return m_file; }
    const QString& path() const { return m_path; }
    // Puts the file in place. Throws CliError when that fails.
    void commit();

private:
    QString m_path;
    QSaveFile m_file;
};

} // namespace hollenby::cli
