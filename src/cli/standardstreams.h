#pragma once
// Standard output as a file a command writes: its results must arrive, or the command says they
// did not.

#include <QString>

class QIODevice;
class QTextStream;

namespace hollenby::cli {

// Opens /dev/null on whichever of the descriptors 0, 1 and 2 is closed, in the mode opposite to
// its use: a file the program opens later can then never take the number of standard output
// (and receive what was meant for it), and writing to a closed standard output still fails.
// Call before anything else opens a file.
void GuardStandardDescriptors();

// The one stream every command writes its results to, so that a failed write is known with its
// reason. UTF-8, written straight to descriptor 1 whenever it is flushed.
QTextStream& StandardOutput();

// Standard output for bytes (a picture, a map), written straight to descriptor 1 after whatever
// the text stream holds. A reader that went away ends the program quietly, as for the text
// stream; any other failure fails the write, with the system's reason as the error string.
QIODevice& BinaryStandardOutput();

// Throws CliError when standard output is a terminal, where `what` (a picture) would be noise
// that may even steer it; a pipe or a file takes it.
void RefuseTerminalOutput(const QString& what);

// Flushes standard output and gives the reason what was written to it did not all arrive (a
// full disk, a closed descriptor); empty when it all did. A reader that went away (`| head -1`)
// ends the program quietly, as SIGPIPE would have ended it at the write.
QString StandardOutputFailure();

} // namespace hollenby::cli
