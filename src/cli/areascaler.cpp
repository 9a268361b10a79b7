#include "areascaler.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace hollenby::cli {

namespace {

// Input pixel i spans [i * out, (i + 1) * out) and output pixel j spans [j * in, (j + 1) * in) on
// a common scale, so every overlap is a whole number and nothing drifts over a long picture.
struct Overlap
{
    std::int64_t from;   // the output pixel where input pixel i starts
    std::int64_t first;  // its overlap with that pixel
    std::int64_t second; // its overlap with the next one
};

Overlap OverlapOf(std::int64_t i, std::int64_t in, std::int64_t out)
{
    const std::int64_t start = i * out;
    const std::int64_t end = start + out;
    const std::int64_t from = start / in;
    const std::int64_t boundary = (from + 1) * in;
    if (end <= boundary)
        return {from, out, 0};
    return {from, boundary - start, end - boundary};
}

} // namespace

AreaScaler::AreaScaler(int inWidth, std::int64_t inHeight, int outWidth, std::int64_t outHeight)
    : m_inWidth(inWidth), m_inHeight(inHeight), m_outWidth(outWidth), m_outHeight(outHeight),
      m_shares(static_cast<std::size_t>(inWidth)), m_line(static_cast<std::size_t>(outWidth) * 4),
      m_current(m_line.size()), m_next(m_line.size()), m_out(m_line.size())
{
    for (int x = 0; x < inWidth; ++x) {
        const Overlap overlap = OverlapOf(x, inWidth, outWidth);
        m_shares[static_cast<std::size_t>(x)] = {static_cast<int>(overlap.from),
                                                 static_cast<float>(overlap.first) / inWidth,
                                                 static_cast<float>(overlap.second) / inWidth};
    }
}

std::int64_t AreaScaler::firstInputRow(std::int64_t outRow) const
{
    return outRow * m_inHeight / m_outHeight;
}

void AreaScaler::start(std::int64_t outRow)
{
    m_outRow = outRow;
    m_inRow = firstInputRow(outRow);
    std::fill(m_current.begin(), m_current.end(), 0.0f);
    std::fill(m_next.begin(), m_next.end(), 0.0f);
}

void AreaScaler::feed(const uchar* pixels, const Deliver& deliver)
{
    std::fill(m_line.begin(), m_line.end(), 0.0f);
    for (int x = 0; x < m_inWidth; ++x) {
        const Share& share = m_shares[static_cast<std::size_t>(x)];
        float* target = m_line.data() + std::ptrdiff_t{4} * share.from;
        for (int k = 0; k < 4; ++k)
            target[k] += share.first * pixels[4 * x + k];
        if (share.second > 0) {
            for (int k = 0; k < 4; ++k)
                target[4 + k] += share.second * pixels[4 * x + k];
        }
    }

    const Overlap overlap = OverlapOf(m_inRow, m_inHeight, m_outHeight);
    ++m_inRow;
    // The row's share of each output row it touches; a share of a row emitted before start()
    // (the first row fed may straddle that boundary) is dropped.
    const std::pair<std::int64_t, std::int64_t> parts[] = {{overlap.from, overlap.first},
                                                           {overlap.from + 1, overlap.second}};
    for (const auto& [row, amount] : parts) {
        if (amount == 0 || row < m_outRow)
            continue;
        std::vector<float>& target = row == m_outRow ? m_current : m_next;
        const float weight = static_cast<float>(amount) / static_cast<float>(m_inHeight);
        for (std::size_t i = 0; i < m_line.size(); ++i)
            target[i] += weight * m_line[i];
    }

    // Output row m_outRow is complete once the input has reached its lower edge.
    const bool complete = m_inRow * m_outHeight >= (m_outRow + 1) * m_inHeight;
    if (!complete)
        return;
    for (std::size_t i = 0; i < m_out.size(); ++i)
        m_out[i] = static_cast<uchar>(std::clamp(std::lround(m_current[i]), 0L, 255L));
    deliver(m_outRow, m_out.data());
    ++m_outRow;
    std::swap(m_current, m_next);
    std::fill(m_next.begin(), m_next.end(), 0.0f);
}

} // namespace hollenby::cli
