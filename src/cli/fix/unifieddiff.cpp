#include "unifieddiff.h"

#include "printable.h"
#include "terminalcolour.h"

#include <QFile>

#include <algorithm>

namespace hollenby::cli {

namespace {

constexpr std::size_t kContext = 3;

// The lines of `text`, each with the LF that ends it; the last may have none.
std::vector<std::string_view> LinesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The lines [first, last) of the text before, and what the edits among them made of them.
struct Block
{
    std::size_t first = 0;
    std::size_t last = 0;
    std::string after;
    std::vector<std::string_view> lines;
};

class DiffWriter
{
public:
    explicit DiffWriter(DiffStyle style) : m_style(style) {}

    void header(const QString& name)
    {
        for (const char* mark : {"--- ", "+++ "}) {
            const QByteArray shown =
                m_style.escaped ? Printable(name, -1).toUtf8() : QFile::encodeName(name);
            put(mark + shown, sgr::kLocus);
        }
    }

    void hunk(std::size_t oldStart, std::size_t oldCount, std::size_t newStart,
              std::size_t newCount)
    {
        // An empty side is named by the line before it, as diff does.
        const auto range = [](std::size_t start, std::size_t count) {
            return QByteArray::number(qulonglong(count == 0 ? start : start + 1)) + ',' +
                   QByteArray::number(qulonglong(count));
        };
        put("@@ -" + range(oldStart, oldCount) + " +" + range(newStart, newCount) + " @@",
            sgr::kHunk);
    }

    void line(char mark, std::string_view text)
    {
        const bool lastWithoutEnd = text.empty() || text.back() != '\n';
        QByteArray body(1, mark);
        if (m_style.escaped) {
            // CR LF ends every line of a level; any other end is shown for what it is.
            if (text.ends_with("\r\n"))
                text.remove_suffix(2);
            body += Printable(text, -1).toUtf8();
        } else {
            body += QByteArray(text.data(), qsizetype(text.size()));
            if (!lastWithoutEnd)
                body.chop(1);
        }
        put(body, mark == '-' ? sgr::kDeleted : mark == '+' ? sgr::kInserted : nullptr);
        if (lastWithoutEnd)
            m_out += "\\ No newline at end of file\n";
    }

    QByteArray take() { return std::move(m_out); }

private:
    DiffStyle m_style;
    QByteArray m_out;

    void put(const QByteArray& text, const char* style)
    {
        if (m_style.colour && style != nullptr)
            m_out += "\x1b[" + QByteArray(style) + 'm' + text + "\x1b[m\n";
        else
            m_out += text + '\n';
    }
};

} // namespace

QByteArray UnifiedDiff(std::string_view before, const std::vector<TextEdit>& edits,
                       const QString& name, DiffStyle style)
{
    if (edits.empty())
        return {};
    const std::vector<std::string_view> lines = LinesOf(before);
    const auto lineOf = [&](std::size_t offset) {
        const auto after = std::upper_bound(lines.begin(), lines.end(), offset,
                                            [&](std::size_t o, std::string_view line) {
                                                return o < std::size_t(line.data() - before.data());
                                            });
        return std::size_t(after - lines.begin()) - 1;
    };
    const auto startOf = [&](std::size_t line) {
        return line < lines.size() ? std::size_t(lines[line].data() - before.data())
                                   : before.size();
    };

    // The edits grouped by the lines they touch; each group's lines made again.
    std::vector<Block> blocks;
    std::vector<std::vector<TextEdit>> blockEdits;
    for (const TextEdit& edit : edits) {
        const std::size_t first = lineOf(edit.offset);
        const std::size_t last =
            lineOf(edit.offset + std::max<std::size_t>(edit.length, 1) - 1) + 1;
        if (!blocks.empty() && first < blocks.back().last) {
            blocks.back().last = std::max(blocks.back().last, last);
        } else {
            blocks.push_back({first, last, {}, {}});
            blockEdits.emplace_back();
        }
        blockEdits.back().push_back(edit);
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        Block& block = blocks[b];
        const std::size_t start = startOf(block.first);
        for (TextEdit& edit : blockEdits[b])
            edit.offset -= start;
        block.after = ApplyEdits(before.substr(start, startOf(block.last) - start), blockEdits[b]);
        block.lines = LinesOf(block.after);
    }

    DiffWriter out(style);
    out.header(name);
    std::ptrdiff_t shift = 0; // new line number less old, before the hunk
    for (std::size_t b = 0; b < blocks.size();) {
        // Blocks whose contexts meet make one hunk.
        std::size_t end = b + 1;
        while (end < blocks.size() && blocks[end].first - blocks[end - 1].last <= 2 * kContext)
            ++end;
        const std::size_t oldStart = blocks[b].first - std::min(blocks[b].first, kContext);
        const std::size_t oldEnd = std::min(lines.size(), blocks[end - 1].last + kContext);
        std::ptrdiff_t grown = 0;
        for (std::size_t k = b; k < end; ++k)
            grown += std::ptrdiff_t(blocks[k].lines.size()) -
                     std::ptrdiff_t(blocks[k].last - blocks[k].first);
        out.hunk(oldStart, oldEnd - oldStart, std::size_t(std::ptrdiff_t(oldStart) + shift),
                 std::size_t(std::ptrdiff_t(oldEnd - oldStart) + grown));
        std::size_t k = b;
        for (std::size_t line = oldStart; line < oldEnd;) {
            if (k < end && line == blocks[k].first) {
                for (std::size_t old = blocks[k].first; old < blocks[k].last; ++old)
                    out.line('-', lines[old]);
                for (const std::string_view made : blocks[k].lines)
                    out.line('+', made);
                line = blocks[k++].last;
            } else {
                out.line(' ', lines[line++]);
            }
        }
        shift += grown;
        b = end;
    }
    return out.take();
}

} // namespace hollenby::cli
