#pragma once
// Text taken from a file (a cell, a layer's name, a property's value), made safe to put into a
// message on a terminal: control and formatting characters are written out as escapes, so a
// map cannot retitle or clear the terminal, and a line break inside a name cannot split a
// message over two lines; long texts are cut short.

#include <QString>
#include <QStringView>

#include <string_view>

namespace hollenby::cli {

// The most characters a name, code or cell shows in a message, "…" included.
inline constexpr qsizetype kShownCharacters = 64;

// `text` with every control character (C0, DEL, C1) written "\x1b", and every other character
// a terminal would not show as itself (format characters such as a right-to-left override,
// line and paragraph separators, lone surrogates) written "\u{202e}"; cut to `limit` characters
// with "…" as the last when it is longer. A negative limit never cuts: for whole messages and
// paths, which the user needs in full.
QString Printable(QStringView text, qsizetype limit = kShownCharacters);

// The same for 8-bit level text, byte n as character n (Latin-1), as the level is read.
QString Printable(std::string_view bytes, qsizetype limit = kShownCharacters);

} // namespace hollenby::cli
