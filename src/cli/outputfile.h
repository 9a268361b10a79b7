#pragma once
// An output file written whole or not at all: the content goes to a temporary file beside it,
// which takes its name only when complete. Whatever goes wrong before commit() leaves nothing.
// It never falls back to writing into the file in place where no temporary file can be made: a
// failure part-way would leave half an output, or none of what was there before. The one
// exception is asked for by name (Existing::FillIfEmpty). The output "-" is standard output.

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace hollenby::cli {

class OutputFile
{
public:
    // What happens to an output file that exists already.
    enum class Existing
    {
        Replace,    // a complete new file takes its name
        FillIfEmpty // an empty one is written in place, for a reader that holds it open
    };

    // Checks what can be known before writing, so that a refusal says why (CliError naming
    // `path`): a folder, a FIFO or a device, a missing or unwritable folder, or one of
    // `inputs`, the files the command read. An input is the same file however it is named:
    // through a link, "..", or another hard link; the input "-" is whatever standard input is.
    // The output "-" is written to standard output as it is made, and is checked for nothing.
    //
    // With FillIfEmpty, an existing empty file is written through itself rather than replaced:
    // a file manager's thumbnail service creates the file, keeps it open and reads the picture
    // back through that handle, which would still show the old, empty file after a rename. A
    // failure before commit() empties it again, but a reader may see a part of the picture
    // while it is being written. Any other output is replaced as with Replace.
    OutputFile(const QString& path, const QStringList& inputs,
               Existing existing = Existing::Replace);
    OutputFile(const QString& path, const QString& input, Existing existing = Existing::Replace)
        : OutputFile(path, QStringList{input}, existing)
    {}
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // The same checks without creating anything, for a command to make before its work.
    static void Check(const QString& path, const QStringList& inputs);

    // Whether `path` is "-", standard output.
    static bool IsStandardOutput(const QString& path) { return path == QLatin1String("-"); }

    // Whether `path` ends in "." and one of `suffixes` (lower case), in any case: a name that
    // says what kind of file it holds.
    static bool HasSuffix(const QString& path, const QStringList& suffixes);

    QIODevice& device();
    // The output's name in messages: its path, or "standard output".
    const QString& path() const { return m_path; }
    // Puts the file in place (written in place: on the disk). Throws CliError when that fails.
    void commit();

private:
    QString m_path;
    QSaveFile m_file;
    QFile m_inPlace; // open only when the existing file is written through itself
    bool m_standardOutput = false;
    bool m_committed = false;

    // The checks on the file itself; whether it exists.
    static bool CheckTarget(const QString& path, const QStringList& inputs);
    // The checks on the folder the temporary file goes to.
    static void CheckFolder(const QString& path, bool exists);
    void commitInPlace();
};

} // namespace hollenby::cli
