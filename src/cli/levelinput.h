#pragma once
// A level as the commands read it: the file whole, its lines, and the rows the play window would
// draw from it, all cut by the same level functions the editor uses.

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hollenby::cli {

// The most bytes of a level read whole: far beyond any level the editor loads (32 768 lines),
// so that a stream that never ends is refused before it takes all the memory there is.
inline constexpr qint64 kMaxLevelBytes = qint64{1} << 30;

// "-" on the command line: the level is read from standard input.
inline bool IsStandardInput(const QString& argument)
{
    return argument == QLatin1String("-");
}

// The name a level given as `argument` goes by in messages and findings: the argument, or for
// standard input `stdinName` (--stdin-name), else "<stdin>". The level's neighbours (its
// resources folder, its project file) are looked for beside that name, so a level piped in
// under its real name finds them, and "<stdin>" finds them in the current folder.
QString LevelName(const QString& argument, const QString& stdinName);

// A level file read whole. Throws CliError ("NAME: reason") when it cannot be read, or is no
// regular file or stream handed over (IsStream). Neither copyable nor movable, because
// `lines()` points into `bytes()`.
class LevelText
{
public:
    // Reads `path` (a file, or a stream: "-", /dev/fd/N), known as `name` (default: the path).
    explicit LevelText(const QString& path, const QString& name = {});
    // Only the start of the file, read in pieces until its first `rows` rows are found or it
    // ends: lines() and bytes() then stop at the end of the last of those rows. A preview of a
    // level of any length reads only what it draws.
    LevelText(const QString& path, std::size_t rows);
    LevelText(const LevelText&) = delete;
    LevelText& operator=(const LevelText&) = delete;

    // What was read, and the name it goes by.
    const QString& path() const { return m_path; }
    const QString& name() const { return m_name; }
    const std::string& bytes() const { return m_bytes; }
    const std::vector<std::string_view>& lines() const { return m_lines; }
    // False when reading stopped at the last row wanted, before the file was known to end.
    bool whole() const { return m_whole; }

    // The line and column (both from 1) of byte `offset` as text editors and grep count them, so
    // that a finding can be found where it says: a new line after every LF (a lone CR starts
    // none), the column in bytes from the start of that line. Without a lone LF these are the
    // level's own lines, which the editor cuts at CR LF.
    std::pair<std::int64_t, std::int64_t> place(std::size_t offset) const;

    // Throws CliError unless the file is text: a NUL byte marks a binary file, which no editor
    // saves as a level (a picture or an archive given by mistake).
    void requireText() const;

private:
    QString m_path;
    QString m_name;
    std::string m_bytes;
    std::vector<std::string_view> m_lines;
    bool m_whole = true;
    mutable std::vector<std::size_t> m_lineFeeds; // where each LF is, found at the first place()
    mutable bool m_lineFeedsFound = false;
};

// One row as the play window draws it: the line it comes from (from 1) and its drawn cells, at
// most eight, codes or not, each in its column.
struct DrawnRow
{
    std::int64_t line = 0;
    std::vector<std::string_view> cells;
};

// The rows of a level in file order, as the play window's walk finds them; lines that are not
// rows take no place. The views point into the lines' text.
std::vector<DrawnRow> DrawnRows(const std::vector<std::string_view>& lines);

// The resources folder of a level: `option` when it is not empty, else the folder "_resources"
// beside the level file, the game's own layout.
QString ResourcesFolder(const QString& levelPath, const QString& option);

// The path of a tile code's bitmap in `folder`, in the file system's form; empty for a cell that
// is not a tile code. Joined and looked up as the editor does it (a name in another case stands
// in for a missing one), so both read the same file.
QString TileBitmapNativePath(const QString& folder, std::string_view cell);

} // namespace hollenby::cli
