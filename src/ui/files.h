#pragma once
// Whole-file text as 8-bit characters: byte n of a file is character n of the text, in both
// directions, so every byte survives a read and a write.

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

namespace hollenby::ui {

// Latin-1 both ways, with explicit lengths so NUL bytes are kept.
QString TextFromBytes(std::string_view bytes);
std::string BytesFromText(const QString& text);

// Fails unless `nativePath` names an existing, readable file: 53 when it or a folder on the way
// is missing, 75 for a folder or a path the system refuses, 70 without read permission.
void CheckReadableFile(const QString& nativePath);

// The whole file. Fails as CheckReadableFile, and with 57 when reading fails part-way.
std::string ReadFileBytes(const QString& path);

// The file from its start, handed to `piece` a piece at a time until the file ends or `piece`
// returns false, so that a caller who needs only the start reads no further. The views last only
// for the call. Fails as ReadFileBytes.
void ReadFilePieces(const QString& path, const std::function<bool(std::string_view)>& piece);

// The whole of a file known by its native path, with as few calls to the system as it takes:
// for the many small bitmaps of a render or a play frame. Fails as CheckReadableFile, and with 57
// when reading fails part-way.
QByteArray ReadWholeFile(const QString& nativePath);

// What WriteFileBytesSafely does with an existing file whose folder takes no temporary file
// (a shared folder the user may not write, or a sticky one whose other user owns the file).
enum class InPlaceFallback
{
    Refuse,         // fails with 70, as the folder refused
    WhenRefusedOnly // writes the file in place when it may be read and written
};

// Replaces the file's content with `bytes`, or leaves the file as it was. The content goes to a
// temporary file beside it that takes the file's place only once completely written; a link is
// followed and its target replaced, and a device (/dev/null) is written directly. Fails with 76
// when the folder does not exist, 75 for a folder or a refused path, 70 when the file or its
// folder may not be written, 61 when the disk is full and 57 for any other write failure.
// With WhenRefusedOnly, where the folder refuses the temporary file, the file is written in
// place instead: its old bytes are kept in memory and put back when the write fails. That is not
// safe against a crash in the middle of the write, so it is never the first choice.
void WriteFileBytesSafely(const QString& path, std::string_view bytes,
                          InPlaceFallback fallback = InPlaceFallback::Refuse);

} // namespace hollenby::ui
