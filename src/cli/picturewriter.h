#pragma once
// Turns a level raster into a PNG file: chooses the pixel format, shrinks when asked, and
// streams the rows out through the band writer.

#include "levelraster.h"

#include <QString>

#include <cstdint>

namespace hollenby::cli {

class OutputFile;

struct PictureSize
{
    int width = 0;
    std::int64_t height = 0;
};

// The size of `size` scaled by `scale` (0 < scale <= 1), each side rounded and at least 1.
PictureSize ScaledSize(PictureSize size, double scale);

struct PictureOptions
{
    PictureSize size;      // the PNG's size; smaller than the raster's means area averaged
    int threads = 1;       // threads that make and compress rows
    QString progressLabel; // shown on a terminal while writing; empty shows nothing
};

// Writes `raster` to `out` (not committed). Opaque tiles without a background give RGB with a
// colour that stands for transparency (a quarter less to compress than RGBA); a background gives
// plain RGB; anything else, RGBA.
void WritePicture(const LevelRaster& raster, const TileSet& tiles, bool background,
                  const PictureOptions& options, OutputFile& out);

} // namespace hollenby::cli
