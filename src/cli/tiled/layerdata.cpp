#include "layerdata.h"

#include "maperror.h"
#include "printable.h"

#include <zlib.h>
#include <zstd.h>
#include <zstd_errors.h>

#include <cstdint>
#include <new>
#include <string>

namespace hollenby::cli::tiled {

namespace {

struct FormatName
{
    LayerFormat format;
    const char* name;
    const char* compression;
};

constexpr FormatName kFormats[] = {
    {LayerFormat::Csv, "csv", ""},
    {LayerFormat::Base64, "base64", ""},
    {LayerFormat::Base64Zlib, "base64-zlib", "zlib"},
    {LayerFormat::Base64Gzip, "base64-gzip", "gzip"},
    {LayerFormat::Base64Zstd, "base64-zstd", "zstd"},
};

QByteArray GidBytes(const std::vector<std::uint32_t>& gids)
{
    QByteArray bytes(static_cast<qsizetype>(gids.size() * 4), Qt::Uninitialized);
    char* out = bytes.data();
    for (const std::uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8)
            *out++ = static_cast<char>((gid >> shift) & 0xFF);
    }
    return bytes;
}

std::vector<std::uint32_t> GidsFromBytes(const std::string& bytes)
{
    std::vector<std::uint32_t> gids(bytes.size() / 4);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::uint32_t& gid : gids) {
        gid = std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 | std::uint32_t{in[2]} << 16 |
              std::uint32_t{in[3]} << 24;
        in += 4;
    }
    return gids;
}

QByteArray Deflate(const QByteArray& raw, bool gzip)
{
    z_stream stream = {};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzip ? MAX_WBITS + 16 : MAX_WBITS,
                     8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    QByteArray packed(static_cast<qsizetype>(deflateBound(&stream, uLong(raw.size()))),
                      Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.truncate(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::bad_alloc();
    return packed;
}

QByteArray ZstdCompress(const QByteArray& raw)
{
    QByteArray packed(static_cast<qsizetype>(ZSTD_compressBound(std::size_t(raw.size()))),
                      Qt::Uninitialized);
    const std::size_t size = ZSTD_compress(packed.data(), std::size_t(packed.size()),
                                           raw.constData(), std::size_t(raw.size()), 3);
    if (ZSTD_isError(size))
        throw std::bad_alloc();
    packed.truncate(static_cast<qsizetype>(size));
    return packed;
}

// Inflates into exactly `size` bytes. A stream that would give more stops as soon as the buffer
// is full, so a small bomb costs no more than the layer it claims to be.
std::string Inflate(const QByteArray& packed, std::size_t size, bool gzip)
{
    std::string raw(size, '\0');
    z_stream stream = {};
    if (inflateInit2(&stream, gzip ? MAX_WBITS + 16 : MAX_WBITS) != Z_OK)
        throw std::bad_alloc();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(raw.data());
    stream.avail_out = uInt(size);
    const int status = inflate(&stream, Z_FINISH);
    const QString message = stream.msg != nullptr ? QString::fromLatin1(stream.msg) : QString();
    const uLong produced = stream.total_out;
    const bool inputLeft = stream.avail_in > 0;
    inflateEnd(&stream);
    const QString name = gzip ? QStringLiteral("gzip") : QStringLiteral("zlib");
    if (status == Z_STREAM_END && produced == size)
        return raw;
    if (status == Z_STREAM_END)
        MapFail(QStringLiteral("the %1 data holds %2 bytes of cells where the layer has %3")
                    .arg(name)
                    .arg(produced)
                    .arg(size));
    if (status != Z_DATA_ERROR && produced == size && inputLeft)
        MapFail(QStringLiteral("the %1 data holds more than the layer's %2 bytes of cells")
                    .arg(name)
                    .arg(size));
    MapFail(QStringLiteral("the %1 data is broken (%2)")
                .arg(name, message.isEmpty() ? QStringLiteral("it ends early") : message));
}

std::string ZstdDecompress(const QByteArray& packed, std::size_t size)
{
    std::string raw(size, '\0');
    char spare = 0;
    // One-shot decompression writes straight into the buffer and keeps no window of its own, so
    // a frame that declares a huge window cannot make it allocate one.
    const std::size_t got = ZSTD_decompress(size == 0 ? &spare : raw.data(), size,
                                            packed.constData(), std::size_t(packed.size()));
    if (ZSTD_isError(got)) {
        if (ZSTD_getErrorCode(got) == ZSTD_error_dstSize_tooSmall)
            MapFail(QStringLiteral("the zstd data holds more than the layer's %1 bytes of cells")
                        .arg(size));
        MapFail(QStringLiteral("the zstd data is broken (%1)")
                    .arg(QString::fromLatin1(ZSTD_getErrorName(got)).toLower()));
    }
    if (got != size)
        MapFail(QStringLiteral("the zstd data holds %1 bytes of cells where the layer has %2")
                    .arg(got)
                    .arg(size));
    return raw;
}

} // namespace

std::optional<LayerFormat> LayerFormatFromName(const QString& name)
{
    for (const FormatName& entry : kFormats) {
        if (name == QLatin1String(entry.name))
            return entry.format;
    }
    return std::nullopt;
}

QString CompressionName(LayerFormat format)
{
    for (const FormatName& entry : kFormats) {
        if (entry.format == format)
            return QLatin1String(entry.compression);
    }
    return {};
}

QString EncodeCsvGids(const std::vector<std::uint32_t>& gids, int width)
{
    QString text = QStringLiteral("\n");
    for (std::size_t i = 0; i < gids.size(); ++i) {
        text += QString::number(gids[i]);
        if (i + 1 < gids.size())
            text += QLatin1Char(',');
        if ((i + 1) % std::size_t(width) == 0 || i + 1 == gids.size())
            text += QLatin1Char('\n');
    }
    return text;
}

QByteArray EncodeBase64Gids(const std::vector<std::uint32_t>& gids, LayerFormat format)
{
    const QByteArray raw = GidBytes(gids);
    switch (format) {
    case LayerFormat::Base64Zlib:
    case LayerFormat::Base64Gzip:
        return Deflate(raw, format == LayerFormat::Base64Gzip).toBase64();
    case LayerFormat::Base64Zstd:
        return ZstdCompress(raw).toBase64();
    case LayerFormat::Csv:
    case LayerFormat::Base64:
        break;
    }
    return raw.toBase64();
}

std::vector<std::uint32_t> DecodeCsvGids(QStringView text, std::int64_t count)
{
    std::vector<std::uint32_t> gids;
    gids.reserve(std::size_t(count));
    qsizetype at = 0;
    const qsizetype end = text.size();
    const auto skipSpace = [&] {
        while (at < end && text[at].isSpace())
            ++at;
    };
    skipSpace();
    while (at < end || std::int64_t(gids.size()) < count) {
        if (std::int64_t(gids.size()) == count)
            MapFail(QStringLiteral("the layer data holds more than its %1 cells").arg(count));
        std::uint64_t value = 0;
        const qsizetype start = at;
        while (at < end && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9') &&
               value <= UINT32_MAX)
            value = value * 10 + std::uint64_t(text[at++].unicode() - '0');
        if (at == start || value > UINT32_MAX) {
            if (at == end)
                MapFail(QStringLiteral("the layer data holds %1 cells where the layer has %2")
                            .arg(gids.size())
                            .arg(count));
            MapFail(QStringLiteral("the layer data has \"%1\" where a tile number belongs")
                        .arg(Printable(text.mid(start, 12))));
        }
        gids.push_back(std::uint32_t(value));
        skipSpace();
        if (at < end && text[at] == QLatin1Char(',')) {
            ++at;
            skipSpace();
        } else if (at < end) {
            MapFail(QStringLiteral("the layer data has \"%1\" where a comma belongs")
                        .arg(Printable(text.mid(at, 12))));
        }
    }
    return gids;
}

std::vector<std::uint32_t> DecodeBase64Gids(QByteArray text, const QString& compression,
                                            std::int64_t count)
{
    // Other writers wrap base64 in lines; only white space between the characters is allowed.
    text = text.simplified();
    text.replace(' ', QByteArray());
    const QByteArray::FromBase64Result result =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        MapFail(QStringLiteral("the layer data is not base64"));
    const QByteArray* decoded = &result.decoded;
    const std::size_t size = std::size_t(count) * 4;
    std::string raw;
    if (compression.isEmpty()) {
        if (std::size_t(decoded->size()) != size)
            MapFail(QStringLiteral("the layer data holds %1 bytes of cells where the layer has %2")
                        .arg(decoded->size())
                        .arg(size));
        raw.assign(decoded->constData(), size);
    } else if (compression == QLatin1String("zlib") || compression == QLatin1String("gzip")) {
        raw = Inflate(*decoded, size, compression == QLatin1String("gzip"));
    } else if (compression == QLatin1String("zstd")) {
        raw = ZstdDecompress(*decoded, size);
    } else {
        MapFail(QStringLiteral("the layer data's compression \"%1\" is not zlib, gzip or zstd")
                    .arg(Printable(compression)));
    }
    return GidsFromBytes(raw);
}

} // namespace hollenby::cli::tiled
