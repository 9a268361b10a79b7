#pragma once
// Colour on a terminal, as compilers colour their diagnostics, chosen with --color: auto colours
// standard output only when it is a terminal, and neither when NO_COLOR is set nor when TERM is
// "dumb"; never into a pipe or a file, where escape sequences are noise to whatever reads them.
// always and never decide regardless.

#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;

namespace hollenby::cli {

// --color <auto|always|never>, auto unless given.
QCommandLineOption ColourOption();

// Whether standard output is coloured, by --color in `parser`. Throws CliError for a value that
// is not one of the three.
bool ColourWanted(const QCommandLineParser& parser);

// The Select Graphic Rendition parameters of each thing coloured, GCC's and git's defaults.
namespace sgr {
inline constexpr char kLocus[] = "1";      // bold: the place, or a diff's file names
inline constexpr char kError[] = "1;31";   // bold red
inline constexpr char kWarning[] = "1;35"; // bold magenta
inline constexpr char kNote[] = "1;36";    // bold cyan
inline constexpr char kHunk[] = "36";      // cyan: a diff's "@@" lines
inline constexpr char kDeleted[] = "31";   // red
inline constexpr char kInserted[] = "32";  // green
} // namespace sgr

// `text` in `style` when `colour`, else `text` as it is.
QString Coloured(const QString& text, const char* style, bool colour);

} // namespace hollenby::cli
