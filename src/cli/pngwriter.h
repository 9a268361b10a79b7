#pragma once
// Writes a PNG of any height as a stream: the picture is made in bands of rows, each band
// filtered and deflated on its own (so bands can be compressed on every core at once, as
// parallel gzip tools do), and the bands joined in order into the one zlib stream PNG wants.
// Memory stays a few bands per thread, whatever the picture's height.

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>

class QIODevice;

namespace hollenby::cli {

// The tallest and widest picture PNG allows.
inline constexpr std::int64_t kPngMaxSide = 0x7FFFFFFF;

struct PngHeader
{
    int width = 0;
    std::int64_t height = 0; // from 1 to kPngMaxSide
    bool alpha = false;      // RGBA; else RGB
    // For RGB: the colour (0xRRGGBB) that stands for a transparent pixel.
    std::optional<std::uint32_t> transparentColour;

    int bytesPerPixel() const { return alpha ? 4 : 3; }
    // Bytes of one scanline: the filter-type byte and the pixels.
    std::int64_t scanlineBytes() const { return 1 + std::int64_t{width} * bytesPerPixel(); }
};

// Fills `scanlines` with the image's rows [first, first + count), each a filter-type byte 0
// followed by the pixels in the header's format. Called from several threads at once.
using ScanlineSource = std::function<void(std::int64_t first, int count, uchar* scanlines)>;

// Told the number of rows written so far, from the writing thread.
using Progress = std::function<void(std::int64_t rowsWritten)>;

// A name for what band `index` holds, when bands can be told apart by one: two bands with the
// same key must have the same pixels. Called from several threads at once.
using BandKey = std::function<std::optional<std::uint64_t>(std::int64_t index)>;

// Writes the whole PNG to `out`, bands of `bandRows` rows made on `threads` threads. A band whose
// key has been seen recently is not made again: its compressed bytes are reused, which levels,
// with their long stretches of the same few rows, gain much from. Throws CliError naming
// `outName` when a write fails, and passes on whatever `source` throws; either way no more is
// written.
void WritePng(QIODevice& out, const QString& outName, const PngHeader& header, int bandRows,
              const ScanlineSource& source, const BandKey& key, int threads,
              const Progress& progress);

} // namespace hollenby::cli
