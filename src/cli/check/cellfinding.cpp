#include "cellfinding.h"

#include "files.h"
#include "level.h"
#include "levelrows.h"
#include "printable.h"

namespace hollenby::cli {

namespace {

// The code a typing slip most likely meant: the cell read with look-alike characters ("0l",
// "O1", "9B"), else the one code that differs from it in a single character. Empty when there is
// no such code or several.
QString NearestCode(std::string_view cell)
{
    if (cell.size() > 2)
        return {};
    static const std::string_view kLookAlikes[][2] = {{"lIi|!", "1"}, {"OoQD", "0"}, {"Ss", "5"},
                                                      {"B", "8"},     {"Zz", "2"},   {"G", "6"},
                                                      {"gq", "9"}};
    std::string readAs(cell);
    for (char& c : readAs) {
        for (const auto& [shapes, digit] : kLookAlikes) {
            if (shapes.find(c) != std::string_view::npos)
                c = digit[0];
        }
    }
    if (readAs.size() == 1)
        readAs = "0" + readAs; // "7" for "07"
    if (readAs != cell && TileIndex(readAs) >= 0)
        return QString::fromStdString(readAs);
    QString near;
    for (const std::string_view code : TileCodes()) {
        if (cell.size() != code.size() || (cell[0] != code[0]) + (cell[1] != code[1]) != 1)
            continue;
        if (!near.isEmpty())
            return {};
        near = ui::TextFromBytes(code);
    }
    return near;
}

// The cell without its spaces and tabs, when it is short enough to be a code written loosely.
std::string WithoutBlanks(std::string_view cell)
{
    std::string compact;
    if (cell.size() > 8)
        return compact;
    for (const char c : cell) {
        if (c != ' ' && c != '\t')
            compact.push_back(c);
    }
    return compact;
}

QString Quoted(std::string_view cell)
{
    return QLatin1Char('"') + Printable(cell) + QLatin1Char('"');
}

} // namespace

bool IsBlankOnPurpose(std::string_view cell)
{
    return cell.empty() || cell == "00";
}

std::optional<CellFinding> FindingOfCell(std::string_view cell)
{
    if (TileIndex(cell) >= 0 || IsBlankOnPurpose(cell))
        return std::nullopt;
    const std::string compact = WithoutBlanks(cell);
    if (compact.size() != cell.size() && TileIndex(compact) >= 0) {
        return CellFinding{&finding::kWhitespace,
                           QStringLiteral("%1 has a space or tab; cells are not trimmed, so it is "
                                          "a blank slot, not %2")
                               .arg(Quoted(cell), ui::TextFromBytes(compact)),
                           cell.find_first_of(" \t")};
    }
    QString message = Quoted(cell) + QStringLiteral(" is not a tile code, so it is a blank slot");
    const QString near = NearestCode(cell);
    if (!near.isEmpty())
        message += QStringLiteral(" (did you mean %1?)").arg(near);
    return CellFinding{&finding::kUnknownCode, message, 0};
}

} // namespace hollenby::cli
