#include "cellfinding.h"

#include "files.h"
#include "level.h"
#include "levelrows.h"
#include "printable.h"

namespace hollenby::cli {

namespace {

// The cell with each character that looks like a digit read as that digit.
std::string ReadAsDigits(std::string_view cell)
{
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
    return readAs;
}

// The code a typing slip most likely meant: the cell read with look-alike characters, a single
// digit with its "0" ("7" for "07"), else the one code that differs from it in a single
// character. Empty when there is no such code or several.
QString NearestCode(std::string_view cell)
{
    if (cell.size() > 2)
        return {};
    if (const std::string code = LookAlikeCode(cell); !code.empty())
        return QString::fromStdString(code);
    if (cell.size() == 1) {
        const std::string padded = "0" + ReadAsDigits(cell);
        return TileIndex(padded) >= 0 ? QString::fromStdString(padded) : QString();
    }
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

QString Quoted(std::string_view cell)
{
    return QLatin1Char('"') + Printable(cell) + QLatin1Char('"');
}

} // namespace

std::string LookAlikeCode(std::string_view cell)
{
    if (cell.size() != 2)
        return {};
    std::string readAs = ReadAsDigits(cell);
    return readAs != cell && TileIndex(readAs) >= 0 ? readAs : std::string();
}

std::string CodeWithoutBlanks(std::string_view cell)
{
    // Longer cells are not a code written loosely but something else.
    std::string compact;
    if (cell.size() > 8)
        return {};
    for (const char c : cell) {
        if (c != ' ' && c != '\t')
            compact.push_back(c);
    }
    return compact.size() != cell.size() && TileIndex(compact) >= 0 ? compact : std::string();
}

bool IsBlankOnPurpose(std::string_view cell)
{
    return cell.empty() || cell == "00";
}

std::optional<CellFinding> FindingOfCell(std::string_view cell)
{
    if (TileIndex(cell) >= 0 || IsBlankOnPurpose(cell))
        return std::nullopt;
    if (const std::string compact = CodeWithoutBlanks(cell); !compact.empty()) {
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
