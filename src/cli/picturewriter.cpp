#include "picturewriter.h"

#include "areascaler.h"
#include "outputfile.h"
#include "pngwriter.h"
#include "progressline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace hollenby::cli {

namespace {

constexpr std::int64_t kBandBytes = 1 << 16;

// Premultiplied RGBA to the PNG's pixels.
void Convert(const uchar* rgba, int width, const PngHeader& header, uchar* out)
{
    if (header.alpha) {
        for (int x = 0; x < width; ++x, rgba += 4, out += 4) {
            const int alpha = rgba[3];
            if (alpha == 255 || alpha == 0) {
                std::memcpy(out, rgba, 4);
                continue;
            }
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<uchar>(std::min(255, (rgba[k] * 255 + alpha / 2) / alpha));
            out[3] = static_cast<uchar>(alpha);
        }
        return;
    }
    const std::uint32_t key = header.transparentColour.value_or(0);
    const uchar keyBytes[3] = {static_cast<uchar>(key >> 16), static_cast<uchar>(key >> 8),
                               static_cast<uchar>(key)};
    for (int x = 0; x < width; ++x, rgba += 4, out += 3)
        std::memcpy(out, rgba[3] == 0 ? keyBytes : rgba, 3);
}

} // namespace

PictureSize ScaledSize(PictureSize size, double scale)
{
    return {static_cast<int>(std::max(1L, std::lround(size.width * scale))),
            std::max<std::int64_t>(1, std::llround(static_cast<double>(size.height) * scale))};
}

void WritePicture(const LevelRaster& raster, const TileSet& tiles, bool background,
                  const PictureOptions& options, OutputFile& out)
{
    const bool scaled =
        options.size.width != raster.width() || options.size.height != raster.height();
    PngHeader header;
    header.width = options.size.width;
    header.height = options.size.height;
    if (background) {
        header.alpha = false;
    } else if (!scaled && tiles.allOpaque()) {
        // Every pixel is a tile's or nothing, so one unused colour can mark the nothing.
        header.transparentColour = tiles.unusedColour();
        header.alpha = !header.transparentColour;
    } else {
        header.alpha = true;
    }
    const std::int64_t scanline = header.scanlineBytes();

    ScanlineSource source;
    BandKey key;
    int bandRows = 0;
    if (!scaled) {
        const int pitch = raster.rowPitch();
        if (tiles.maxHeight() <= pitch) {
            // One band per level row: a row's pixels are then its eight slots' alone, and a row
            // met again reuses its compressed band.
            bandRows = pitch;
            key = [&raster](std::int64_t index) -> std::optional<std::uint64_t> {
                std::uint64_t packed = 0;
                for (const std::int8_t tile : raster.rows()[static_cast<std::size_t>(index)].tile)
                    packed = packed << 8 | static_cast<std::uint8_t>(tile);
                return packed;
            };
        } else {
            const std::int64_t rows = (kBandBytes + pitch * scanline - 1) / (pitch * scanline);
            bandRows = static_cast<int>(rows * pitch);
        }
        source = [&raster, &header, scanline](std::int64_t first, int count, uchar* lines) {
            std::vector<uchar> rgba(static_cast<std::size_t>(raster.width()) * 4);
            for (int i = 0; i < count; ++i) {
                uchar* line = lines + i * scanline;
                raster.drawRow(first + i, rgba.data());
                line[0] = 0;
                Convert(rgba.data(), raster.width(), header, line + 1);
            }
        };
    } else {
        bandRows = static_cast<int>(std::max<std::int64_t>(16, kBandBytes / scanline));
        source = [&raster, &header, scanline](std::int64_t first, int count, uchar* lines) {
            AreaScaler scaler(raster.width(), raster.height(), header.width, header.height);
            scaler.start(first);
            std::vector<uchar> rgba(static_cast<std::size_t>(raster.width()) * 4);
            int emitted = 0;
            const AreaScaler::Deliver deliver = [&](std::int64_t row, const uchar* pixels) {
                uchar* line = lines + (row - first) * scanline;
                line[0] = 0;
                Convert(pixels, header.width, header, line + 1);
                ++emitted;
            };
            for (std::int64_t y = scaler.firstInputRow(first);
                 emitted < count && y < raster.height(); ++y) {
                raster.drawRow(y, rgba.data());
                scaler.feed(rgba.data(), deliver);
            }
        };
    }

    std::optional<ProgressLine> progress;
    if (!options.progressLabel.isEmpty())
        progress.emplace(options.progressLabel, header.height);
    WritePng(out.device(), out.path(), header, bandRows, source, key, options.threads,
             [&progress](std::int64_t rows) {
                 if (progress)
                     progress->update(rows);
             });
}

} // namespace hollenby::cli
