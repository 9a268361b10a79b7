#include "pngwriter.h"

#include "clierror.h"

#include <QIODevice>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace hollenby::cli {

namespace {

// Level 1, no filter: measured the fastest here and, on tile pictures, also the smallest of the
// fast choices (see bench/cli).
constexpr int kDeflateLevel = 1;
constexpr std::size_t kChunkBytes = 1 << 18;
// Compressed bands kept for reuse; when full it starts again, following the level as it goes,
// unless it has been of little use (a level whose rows hardly repeat).
constexpr std::size_t kCacheBytes = std::size_t{16} << 20;

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift & 0xFF));
}

// One deflated band: its compressed bytes and the Adler-32 and length of what went in.
struct Band
{
    std::string deflated;
    uLong adler = 0;
    std::int64_t length = 0;
    std::exception_ptr error;
    bool ready = false;
};

// A raw deflate stream reused for band after band, each started afresh so that it depends on
// nothing before it.
class BandDeflater
{
public:
    BandDeflater()
    {
        if (deflateInit2(&m_stream, kDeflateLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
    }
    ~BandDeflater() { deflateEnd(&m_stream); }
    BandDeflater(const BandDeflater&) = delete;
    BandDeflater& operator=(const BandDeflater&) = delete;

    // The last band ends the stream; every other one ends on a byte boundary with an empty
    // stored block, so the next band's blocks can follow it directly.
    void deflate(const uchar* data, std::int64_t length, bool last, Band& band)
    {
        deflateReset(&m_stream);
        band.adler = adler32_z(adler32_z(0, nullptr, 0), data, static_cast<z_size_t>(length));
        band.length = length;
        band.deflated.resize(deflateBound(&m_stream, static_cast<uLong>(length)) + 16);
        m_stream.next_in = const_cast<uchar*>(data);
        m_stream.avail_in = static_cast<uInt>(length);
        std::size_t written = 0;
        for (;;) {
            m_stream.next_out = reinterpret_cast<Bytef*>(band.deflated.data() + written);
            m_stream.avail_out = static_cast<uInt>(band.deflated.size() - written);
            const int result = ::deflate(&m_stream, last ? Z_FINISH : Z_SYNC_FLUSH);
            written = band.deflated.size() - m_stream.avail_out;
            if (last ? result == Z_STREAM_END : m_stream.avail_out != 0)
                break;
            band.deflated.resize(band.deflated.size() * 2);
        }
        band.deflated.resize(written);
    }

private:
    z_stream m_stream{};
};

// Compressed bands by key, shared by the worker threads.
class BandCache
{
public:
    bool find(std::uint64_t key, Band& band)
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_bands.find(key);
        if (found == m_bands.end()) {
            ++m_misses;
            return false;
        }
        ++m_hits;
        band.deflated = found->second.deflated;
        band.adler = found->second.adler;
        band.length = found->second.length;
        return true;
    }

    void insert(std::uint64_t key, const Band& band)
    {
        const std::lock_guard lock(m_mutex);
        if (m_off)
            return;
        if (m_bytes + band.deflated.size() > kCacheBytes) {
            m_bands.clear();
            m_bytes = 0;
            m_off = m_hits < m_misses;
            if (m_off)
                return;
        }
        Band& kept = m_bands[key];
        kept.deflated = band.deflated;
        kept.adler = band.adler;
        kept.length = band.length;
        m_bytes += band.deflated.size();
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::uint64_t, Band> m_bands;
    std::size_t m_bytes = 0;
    std::int64_t m_hits = 0;
    std::int64_t m_misses = 0;
    bool m_off = false;
};

// Frames the zlib stream into PNG chunks as the bands arrive.
class ChunkWriter
{
public:
    ChunkWriter(QIODevice& out, const QString& name) : m_out(out), m_name(name) {}

    void chunk(const char type[4], const std::string& data)
    {
        std::string head;
        PutBigEndian(head, static_cast<std::uint32_t>(data.size()));
        head.append(type, 4);
        uLong crc = crc32_z(0, reinterpret_cast<const Bytef*>(type), 4);
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(data.data()), data.size());
        std::string tail;
        PutBigEndian(tail, static_cast<std::uint32_t>(crc));
        write(head);
        write(data);
        write(tail);
    }

    void write(const std::string& bytes)
    {
        errno = 0;
        if (m_out.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
            Fail(m_name, QStringLiteral("cannot write: ") +
                             (errno != 0 ? SystemReason(errno) : m_out.errorString()));
        }
    }

    // Image data, sent on in chunks of kChunkBytes.
    void data(const std::string& bytes, bool flush)
    {
        m_pending.append(bytes);
        if (m_pending.size() >= kChunkBytes || (flush && !m_pending.empty())) {
            chunk("IDAT", m_pending);
            m_pending.clear();
        }
    }

private:
    QIODevice& m_out;
    const QString& m_name;
    std::string m_pending;
};

std::string HeaderChunk(const PngHeader& header)
{
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<std::uint32_t>(header.width));
    PutBigEndian(ihdr, static_cast<std::uint32_t>(header.height));
    ihdr.push_back(8);                     // bits per sample
    ihdr.push_back(header.alpha ? 6 : 2);  // RGBA or RGB
    ihdr.append(std::string("\0\0\0", 3)); // deflate, adaptive filtering, no interlace
    return ihdr;
}

// Makes and deflates bands on worker threads, handing them back in order, with at most a few
// bands per thread waiting at any time.
class BandPipeline
{
public:
    BandPipeline(const PngHeader& header, int bandRows, const ScanlineSource& source,
                 const BandKey& key, int threads)
        : m_header(header), m_bandRows(bandRows), m_source(source), m_key(key),
          m_count((header.height + bandRows - 1) / bandRows),
          m_slots(static_cast<std::size_t>(threads) * 3)
    {
        for (int i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }

    ~BandPipeline()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        for (std::thread& worker : m_workers)
            worker.join();
    }
    BandPipeline(const BandPipeline&) = delete;
    BandPipeline& operator=(const BandPipeline&) = delete;

    std::int64_t count() const { return m_count; }

    // Band `index`, waiting for it; indexes must be asked for in order.
    Band take(std::int64_t index)
    {
        std::unique_lock lock(m_mutex);
        Band& slot = m_slots[static_cast<std::size_t>(index) % m_slots.size()];
        m_done.wait(lock, [&slot] { return slot.ready; });
        Band band = std::move(slot);
        slot = Band();
        m_taken = index + 1;
        lock.unlock();
        m_wake.notify_all();
        if (band.error)
            std::rethrow_exception(band.error);
        return band;
    }

private:
    const PngHeader& m_header;
    int m_bandRows;
    const ScanlineSource& m_source;
    const BandKey& m_key;
    BandCache m_cache;
    std::int64_t m_count;
    std::vector<Band> m_slots;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    std::int64_t m_next = 0;
    std::int64_t m_taken = 0;
    bool m_stopping = false;

    void work()
    {
        std::vector<uchar> scanlines;
        std::unique_ptr<BandDeflater> deflater;
        for (;;) {
            std::int64_t index = 0;
            {
                std::unique_lock lock(m_mutex);
                const auto slotFree = static_cast<std::int64_t>(m_slots.size());
                m_wake.wait(lock, [&] {
                    return m_stopping || m_next >= m_count || m_next < m_taken + slotFree;
                });
                if (m_stopping || m_next >= m_count)
                    return;
                index = m_next++;
            }
            Band band;
            try {
                // The last band ends the stream, so it is never the same as another.
                const bool last = index + 1 == m_count;
                const std::optional<std::uint64_t> named =
                    m_key && !last ? m_key(index) : std::nullopt;
                const bool keyed = named.has_value();
                const std::uint64_t key = named.value_or(0);
                if (!keyed || !m_cache.find(key, band)) {
                    if (!deflater)
                        deflater = std::make_unique<BandDeflater>();
                    const std::int64_t first = index * m_bandRows;
                    const int rows = static_cast<int>(
                        std::min<std::int64_t>(m_bandRows, m_header.height - first));
                    const std::int64_t length = rows * m_header.scanlineBytes();
                    scanlines.resize(static_cast<std::size_t>(length));
                    m_source(first, rows, scanlines.data());
                    deflater->deflate(scanlines.data(), length, last, band);
                    if (keyed)
                        m_cache.insert(key, band);
                }
            } catch (...) {
                band.error = std::current_exception();
            }
            band.ready = true;
            {
                const std::lock_guard lock(m_mutex);
                m_slots[static_cast<std::size_t>(index) % m_slots.size()] = std::move(band);
            }
            m_done.notify_all();
        }
    }
};

} // namespace

void WritePng(QIODevice& out, const QString& outName, const PngHeader& header, int bandRows,
              const ScanlineSource& source, const BandKey& key, int threads,
              const Progress& progress)
{
    ChunkWriter writer(out, outName);
    writer.write(std::string("\x89PNG\r\n\x1a\n", 8));
    writer.chunk("IHDR", HeaderChunk(header));
    if (!header.alpha && header.transparentColour) {
        std::string trns;
        for (const int shift : {16, 8, 0}) {
            trns.push_back(0);
            trns.push_back(static_cast<char>(*header.transparentColour >> shift & 0xFF));
        }
        writer.chunk("tRNS", trns);
    }

    // zlib header: deflate with a 32 KB window, fastest compression, check bits.
    writer.data(std::string("\x78\x01", 2), false);
    uLong adler = adler32_z(0, nullptr, 0);
    BandPipeline pipeline(header, bandRows, source, key, std::max(threads, 1));
    for (std::int64_t index = 0; index < pipeline.count(); ++index) {
        const Band band = pipeline.take(index);
        adler = adler32_combine64(adler, band.adler, band.length);
        writer.data(band.deflated, false);
        if (progress)
            progress(std::min(header.height, (index + 1) * bandRows));
    }
    std::string trailer;
    PutBigEndian(trailer, static_cast<std::uint32_t>(adler));
    writer.data(trailer, true);
    writer.chunk("IEND", {});
}

} // namespace hollenby::cli
