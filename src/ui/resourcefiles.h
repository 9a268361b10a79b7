#pragma once
// Files of the resources folder. Tile sets often come from Windows, whose file system finds a
// name whatever the case it is written in ("01.BMP" for "01.bmp"); here the bitmaps of that
// folder are looked up the same way, and no other path is.

#include <QImage>
#include <QString>

namespace hollenby::ui {

// The file `path` (folder + "\" + file name, as the level functions build it) stands for, in
// native form: the path itself when its folder holds an entry of exactly that name; else the one
// entry of that folder whose name equals the file name when the ASCII letters A-Z and a-z are
// compared without regard to case (every other byte must be equal); else, when there is no such
// entry or more than one, the path itself, so that opening it fails as a missing file does.
// Nothing is cached: a missing name costs a listing of the folder on every call.
QString ResourceFilePath(const QString& path);

// LoadPicture of a bitmap in the resources folder: the exact name, else ResourceFilePath's.
// The exact name costs nothing more than LoadPicture does.
QImage LoadResourcePicture(const QString& path);

} // namespace hollenby::ui
