#include "tileset.h"

#include "clierror.h"
#include "inputfile.h"
#include "level.h"
#include "levelinput.h"
#include "picture.h"
#include "runtimeerror.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace hollenby::cli {

namespace {

constexpr int kTileSize = 40;

bool Opaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* pixel = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (pixel[4 * x + 3] != 255)
                return false;
        }
    }
    return true;
}

// Little-endian fields of a BMP header.
std::uint32_t Field(const QByteArray& header, int at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(header[at + i]);
    return value;
}

// The bytes an uncompressed BMP needs: pixel data offset plus whole rows padded to 4 bytes.
std::optional<qint64> NeededBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray header = file.read(34);
    if (header.size() < 34 || !header.startsWith("BM") || Field(header, 14, 4) < 40)
        return std::nullopt;
    const std::uint32_t compression = Field(header, 30, 4);
    if (compression != 0 && compression != 3) // only plain and bit-field pixels have a fixed size
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(Field(header, 18, 4));
    const auto height = static_cast<std::int32_t>(Field(header, 22, 4));
    const qint64 rowBytes = (qint64{width} * Field(header, 28, 2) + 31) / 32 * 4;
    return qint64{Field(header, 10, 4)} + rowBytes * std::abs(qint64{height});
}

} // namespace

QImage TileSet::LoadBitmap(const QString& path)
{
    RefuseIrregularFile(path);
    QImage picture = ui::LoadPicture(path);
    const qint64 size = QFileInfo(path).size();
    if (const std::optional<qint64> needed = NeededBytes(path); needed && size < *needed)
        Fail(path, QStringLiteral("truncated: %1 of the %2 bytes its header promises")
                       .arg(size)
                       .arg(*needed));
    return picture;
}

TileSet::TileSet(const QString& folder, const TileUse& used, Fallback fallback)
{
    const auto& codes = TileCodes();
    for (int i = 0; i < kTileCodeCount; ++i) {
        if (!used[static_cast<std::size_t>(i)])
            continue;
        const QString path = TileBitmapNativePath(folder, codes[static_cast<std::size_t>(i)]);
        QImage picture;
        try {
            if (!folder.isEmpty())
                picture = LoadBitmap(path);
        } catch (const CliError&) {
            if (fallback == Fallback::Blank)
                throw;
        } catch (const ui::RuntimeError& error) {
            if (fallback == Fallback::Blank && error.number() != ui::RuntimeError::kFileNotFound)
                Fail(path, ReasonText(error));
        }
        if (picture.isNull() && fallback == Fallback::FlatColour) {
            picture = QImage(kTileSize, kTileSize, QImage::Format_RGB32);
            picture.fill(QColor::fromRgb(FlatColour(i)));
        }
        if (picture.isNull())
            continue;
        QImage& tile = m_tiles[static_cast<std::size_t>(i)];
        tile = picture.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        m_maxHeight = std::max(m_maxHeight, tile.height());
        m_allOpaque = m_allOpaque && Opaque(tile);
    }
}

const QImage* TileSet::tile(int index) const
{
    if (index < 0 || index >= kTileCodeCount || m_tiles[static_cast<std::size_t>(index)].isNull())
        return nullptr;
    return &m_tiles[static_cast<std::size_t>(index)];
}

std::optional<std::uint32_t> TileSet::unusedColour() const
{
    std::vector<std::uint32_t> used;
    for (const QImage& tile : m_tiles) {
        for (int y = 0; y < tile.height(); ++y) {
            const uchar* p = tile.constScanLine(y);
            for (int x = 0; x < tile.width(); ++x, p += 4)
                used.push_back(std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2]);
        }
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    // The first gap from black up: black itself for most tile sets.
    std::uint32_t candidate = 0;
    for (const std::uint32_t colour : used) {
        if (colour != candidate)
            break;
        ++candidate;
    }
    if (candidate > 0xFFFFFF)
        return std::nullopt;
    return candidate;
}

std::uint32_t TileSet::FlatColour(int index)
{
    return QColor::fromHsv(index * 360 / kTileCodeCount, 170, 210).rgb() & 0xFFFFFF;
}

} // namespace hollenby::cli
