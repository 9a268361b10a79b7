#pragma once
// Reading the files a command is given or finds: only regular files, each refused otherwise
// with its own reason, and never waiting on one. A FIFO would wait for a writer that may never
// come, /dev/zero would never end, and a symlink loop is no file at all. The two exceptions are
// the streams a caller hands over on purpose: "-" for standard input, and /dev/fd/N, which a
// shell passes for <(...); they are read as they come, whatever they are.

#include "clierror.h"

#include <QString>

#include <functional>
#include <string>

namespace hollenby::cli {

// A file that exists but is no regular file: "PATH: is a FIFO, not a regular file".
class FileKindError : public CliError
{
public:
    using CliError::CliError;
};

// Throws FileKindError naming `path` (with "\" read as "/") when it is a folder, a FIFO, a
// device or a socket, or a symlink loop. A missing or unreadable file passes: each reader
// reports those its own way.
void RefuseIrregularFile(const QString& path);

// Whether `path` names a stream handed over on purpose: "-" or /dev/fd/N.
bool IsStream(const QString& path);

// Says how large a file is too large ("the file is 200.0 MiB; ...") for its size in bytes.
using TooLarge = std::function<QString(qint64 size)>;

// The whole of the file `path` (with "\" read as "/"), or of the stream it names, or CliError
// naming it as `shownAs` (default: the path): no such file, permission denied, a FileKindError,
// an input/output error, or `tooLarge`'s reason when it holds more than `maxBytes` (checked
// before reading a file, and again while reading, since a file may grow meanwhile and a
// stream's length is known only at its end).
std::string ReadInputFile(const QString& path, qint64 maxBytes = -1, const TooLarge& tooLarge = {},
                          const QString& shownAs = {});

} // namespace hollenby::cli
