#pragma once
// An output file written whole or not at all: the content goes to a temporary file beside it,
// which takes its name only when complete. Whatever goes wrong before commit() leaves nothing.

#include <QFile>
#include <QSaveFile>
#include <QString>

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

    // Checks what can be known before writing, so that a refusal says why: a folder, a device,
    // a missing or unwritable folder, the level itself (`protectedPath`). Throws CliError.
    //
    // With FillIfEmpty, an existing empty file is written through itself rather than replaced:
    // a file manager's thumbnail service creates the file, keeps it open and reads the picture
    // back through that handle, which would still show the old, empty file after a rename. A
    // failure before commit() empties it again, but a reader may see a part of the picture
    // while it is being written. Any other output is replaced as with Replace.
    OutputFile(const QString& path, const QString& protectedPath,
               Existing existing = Existing::Replace);
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    QIODevice& device();
    const QString& path() const { return m_path; }
    // Puts the file in place (written in place: on the disk). Throws CliError when that fails.
    void commit();

private:
    QString m_path;
    QSaveFile m_file;
    QFile m_inPlace; // open only when the existing file is written through itself
    bool m_committed = false;

    void commitInPlace();
};

} // namespace hollenby::cli
