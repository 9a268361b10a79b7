// info: what a level holds, with the estimate and size the editor shows for it.

#include "check/cellfinding.h"
#include "clierror.h"
#include "files.h"
#include "level.h"
#include "levelarguments.h"
#include "levelcommands.h"
#include "levelinput.h"
#include "levelrows.h"
#include "optionvalues.h"
#include "picture.h"
#include "playtime.h"
#include "printable.h"
#include "sizetext.h"
#include "standardstreams.h"
#include "tileset.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <array>

namespace hollenby::cli {

namespace {

const QString kFormat = QStringLiteral("format");

void Define(QCommandLineParser& parser)
{
    parser.addPositionalArgument(QStringLiteral("LEVEL..."),
                                 QStringLiteral("The level files; - reads standard input."));
    parser.addOption(ResourcesOption());
    parser.addOptions({
        {kFormat,
         QStringLiteral("text: a block per level; json: an object, or an array of them for "
                        "several levels."),
         QStringLiteral("text|json"), QStringLiteral("text")},
    });
    parser.addOption(StdinNameOption());
}

// What one level holds, as a JSON object or a block of text.
QJsonObject Describe(const LevelText& level, const QString& folder, QString& text)
{
    const QString& path = level.name();
    level.requireText();

    // The cells the editor draws: at most eight of each row, codes or not. The blank slots
    // written on purpose are no unknown cells, as check does not report them.
    const std::vector<DrawnRow> rows = DrawnRows(level.lines());
    std::array<std::int64_t, kTileCodeCount> perCode{};
    std::int64_t cells = 0;
    std::int64_t unknown = 0;
    for (const DrawnRow& row : rows) {
        for (const std::string_view cell : row.cells) {
            ++cells;
            const int index = TileIndex(cell);
            if (index >= 0)
                ++perCode[static_cast<std::size_t>(index)];
            else if (!IsBlankOnPurpose(cell))
                ++unknown;
        }
    }
    const auto lines = static_cast<std::int64_t>(level.lines().size());
    const std::optional<std::int16_t> estimate = EstimatedSeconds(lines);
    const QString sizeText = utils::SizeText(static_cast<std::int64_t>(level.bytes().size()));
    const bool folderFound = QFileInfo(ui::NativePath(folder)).isDir();

    QJsonObject tiles;
    QStringList tileText;
    QJsonArray missing;
    const auto& codes = TileCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (perCode[i] == 0)
            continue;
        tiles.insert(ui::TextFromBytes(codes[i]), static_cast<qint64>(perCode[i]));
        tileText << QStringLiteral("%1 x%2").arg(ui::TextFromBytes(codes[i])).arg(perCode[i]);
        const QString bitmap = TileBitmapNativePath(folder, codes[i]);
        if (!QFileInfo(bitmap).isFile())
            missing.append(QFileInfo(bitmap).fileName());
    }

    QJsonObject info{
        {QStringLiteral("file"), path},
        {QStringLiteral("sizeText"), sizeText},
        {QStringLiteral("bytes"), static_cast<qint64>(level.bytes().size())},
        {QStringLiteral("lines"), static_cast<qint64>(lines)},
        {QStringLiteral("rows"), static_cast<qint64>(rows.size())},
        {QStringLiteral("cells"), static_cast<qint64>(cells)},
        {QStringLiteral("unknownCells"), static_cast<qint64>(unknown)},
        {QStringLiteral("estimatedSeconds"),
         estimate ? QJsonValue(*estimate) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("tiles"), tiles},
        {QStringLiteral("resources"), folder},
        {QStringLiteral("resourcesFound"), folderFound},
        {QStringLiteral("missingBitmaps"), missing},
    };
    QStringList missingText;
    for (const auto& name : missing)
        missingText << name.toString();
    const auto field = [&text](const char* name, const QString& value) {
        text += QStringLiteral("%1 %2\n").arg(QLatin1String(name), -16).arg(Printable(value, -1));
    };
    field("file:", path);
    field("size:", sizeText);
    field("lines:", QString::number(lines));
    field("rows:", QString::number(rows.size()));
    field("cells:", QString::number(cells));
    field("unknown cells:", QString::number(unknown));
    field("play estimate:", estimate ? QStringLiteral("%1 s at max speed").arg(*estimate)
                                     : QStringLiteral("too long (the editor reports an overflow)"));
    field("tiles:",
          tileText.isEmpty() ? QStringLiteral("none") : tileText.join(QStringLiteral(", ")));
    field("resources:", folderFound ? folder : folder + QStringLiteral(" (not found)"));
    field("missing bitmaps:",
          missingText.isEmpty() ? QStringLiteral("none") : missingText.join(QStringLiteral(", ")));
    return info;
}

int Run(const QCommandLineParser& parser)
{
    const QStringList levels = LevelArguments(parser, QStringLiteral("info"));
    const bool json =
        ParseChoice(QStringLiteral("--format"), parser.value(kFormat),
                    {QStringLiteral("text"), QStringLiteral("json")}) == QLatin1String("json");
    QTextStream& out = StandardOutput();
    QJsonArray infos;
    int status = kExitClean;
    for (const QString& path : levels) {
        const QString name = LevelNameIn(parser, path);
        QString text;
        try {
            const LevelText level(path, name);
            infos.append(Describe(level, ResourcesFolderIn(parser, name), text));
        } catch (const CliError& error) {
            // The others are still described; the exit status says one could not be.
            out.flush();
            PrintError(error.message());
            status = kExitTrouble;
            continue;
        }
        if (!json)
            out << (infos.size() > 1 ? QStringLiteral("\n") : QString()) << text;
    }
    if (json && levels.size() == 1 && !infos.isEmpty())
        out << QJsonDocument(infos.first().toObject()).toJson(QJsonDocument::Indented);
    else if (json)
        out << QJsonDocument(infos).toJson(QJsonDocument::Indented);
    return status;
}

} // namespace

Command InfoCommand()
{
    return {QStringLiteral("info"), QStringLiteral("LEVEL... [-r DIR] [--format text|json]"),
            QStringLiteral("Count a level's lines, rows and tiles; show its play estimate."),
            Define, Run};
}

} // namespace hollenby::cli
