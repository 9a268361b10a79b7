#pragma once
// Shrinks a picture that arrives one pixel row at a time by area averaging: each output pixel is
// the mean of the input area it covers, partial pixels weighted by how much of them it covers.
// Works on premultiplied RGBA8888, so transparent pixels add no colour to their neighbours.

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <vector>

namespace hollenby::cli {

class AreaScaler
{
public:
    // Output sizes must be from 1 to the input sizes.
    AreaScaler(int inWidth, std::int64_t inHeight, int outWidth, std::int64_t outHeight);

    // The first input row that output row `outRow` needs.
    std::int64_t firstInputRow(std::int64_t outRow) const;
    // Begins output at row `outRow`: the rows fed next start at firstInputRow(outRow).
    void start(std::int64_t outRow);

    // Takes the next input row; for each output row it completes, calls `deliver` with the row's
    // number and its outWidth premultiplied RGBA8888 pixels.
    using Deliver = std::function<void(std::int64_t outRow, const uchar* pixels)>;
    void feed(const uchar* pixels, const Deliver& deliver);

private:
    struct Share
    {
        int from;            // first output pixel this input pixel falls in
        float first, second; // its weight there and in the next output pixel
    };

    int m_inWidth;
    std::int64_t m_inHeight;
    int m_outWidth;
    std::int64_t m_outHeight;
    std::vector<Share> m_shares; // per input pixel
    std::int64_t m_inRow = 0;
    std::int64_t m_outRow = 0;
    std::vector<float> m_line, m_current, m_next;
    std::vector<uchar> m_out;
};

} // namespace hollenby::cli
