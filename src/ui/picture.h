#pragma once
// Loading bitmaps and reading files the way the program's routines expect to fail: with the
// run-time error numbers they test for.

#include <QImage>
#include <QString>

namespace hollenby::ui {

// Paths are built with "\" between folder and file; on this platform every "\" is read as "/".
QString NativePath(const QString& path);

// Reads the picture file afresh every time (never from a cache) and decodes it by its content,
// whatever its name: a BMP, GIF, JPEG, PNG or ICO picture. Fails with 53 when the file, or a
// folder on the way to it, does not exist; 75 for a folder, a pipe or a device; 70 when it may
// not be read; 481 when it is none of those formats or does not decode (an empty file, a cut
// header).
QImage LoadPicture(const QString& path);

} // namespace hollenby::ui
