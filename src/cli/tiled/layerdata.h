#pragma once
// A tile layer's cells as the map files store them: comma-separated numbers, or little-endian
// 32-bit gids in base64, compressed with zlib, gzip or zstd or not at all.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace hollenby::cli::tiled {

enum class LayerFormat
{
    Csv,
    Base64,
    Base64Zlib,
    Base64Gzip,
    Base64Zstd
};

// "csv", "base64", "base64-zlib", "base64-gzip", "base64-zstd"; nothing for any other name.
std::optional<LayerFormat> LayerFormatFromName(const QString& name);
// The map files' `compression` value: "", "zlib", "gzip" or "zstd".
QString CompressionName(LayerFormat format);

// Rows of `width` numbers joined by ",", each row but the last followed by ",", every row on a
// line of its own, the text starting and ending with a line end: as Tiled writes it.
QString EncodeCsvGids(const std::vector<std::uint32_t>& gids, int width);
// Base64 of the gids' bytes, compressed as `format` says (which must not be Csv).
QByteArray EncodeBase64Gids(const std::vector<std::uint32_t>& gids, LayerFormat format);

// Exactly `count` gids, or MapError. Spaces and line ends around the numbers are allowed.
std::vector<std::uint32_t> DecodeCsvGids(QStringView text, std::int64_t count);
// Exactly `count` gids from base64 text (white space ignored), decompressed as `compression`
// says ("" for none). Never decodes more than count x 4 bytes: data that holds more, less or
// is broken is a MapError, found before any more memory is spent.
std::vector<std::uint32_t> DecodeBase64Gids(QByteArray text, const QString& compression,
                                            std::int64_t count);

} // namespace hollenby::cli::tiled
