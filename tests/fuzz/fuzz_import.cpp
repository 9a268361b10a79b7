// Any bytes imported as a map give a level whose every line is a row of at most 8 cells, or are
// refused with a reason: never a crash, a hang or a half-made level.

#include "clierror.h"
#include "jsonmapreader.h"
#include "level.h"
#include "levelimport.h"
#include "maperror.h"
#include "mapfiles.h"
#include "tmxreader.h"

#include <cstdint>
#include <cstdlib>

using namespace hollenby;
using namespace hollenby::cli::tiled;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first character chooses the format, as a file's extension would.
    const MapFormat format = bytes.trimmed().startsWith('{') ? MapFormat::Json : MapFormat::Tmx;
    // An external tileset is these same bytes read as one, so tileset files are fuzzed too.
    const TilesetLoader loader = [&](const QString&) -> Tileset {
        try {
            return format == MapFormat::Json ? ReadJsonTileset(bytes) : ReadTsxTileset(bytes);
        } catch (const MapError& error) {
            MapFail(QStringLiteral("tileset: ") + error.reason());
        }
    };
    ImportOptions options;
    options.crop = size % 2 == 1;
    try {
        const ImportedLevel level = LevelFromMap(ReadMap(bytes, format, loader), options);
        for (const std::string_view line : SplitLevelLines(level.text)) {
            Require(IsLevelRowLine(line));
            Require(SplitLevelCells(line).size() <= 8);
        }
    } catch (const MapError&) {
    } catch (const cli::CliError&) {
    }
    return 0;
}
