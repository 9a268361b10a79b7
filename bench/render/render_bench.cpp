// How long the render view takes on big levels, beside the work it cannot avoid: reading and
// splitting the file and decoding the bitmaps of one full view.
//
//   QT_QPA_PLATFORM=offscreen build/bench/render/bench_render

#include "doevents.h"
#include "files.h"
#include "level.h"
#include "levelrender.h"
#include "picture.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace hollenby;

namespace {

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string Level(int lines)
{
    std::string text;
    for (int n = 0; n < lines; ++n) {
        for (int column = 0; column < 8; ++column) {
            const int code = (n * 3 + column) % 20 + 1;
            if (column != 0)
                text += ',';
            text += (code < 10 ? "0" : "") + std::to_string(code);
        }
        text += "\r\n";
    }
    text.resize(text.size() - 2);
    return text;
}

// Reading and splitting the file and decoding the bitmaps of `rows` rows: no widgets.
void Baseline(const QString& level, const QString& res, int firstRow, int rows)
{
    const std::string text = ui::ReadFileBytes(level);
    const auto lines = SplitLevelLines(text);
    std::vector<std::string_view> cells;
    const std::string folder = ui::BytesFromText(res);
    for (int r = firstRow; r < firstRow + rows && r <= static_cast<int>(lines.size()); ++r) {
        SplitLevelCells(lines[static_cast<std::size_t>(r - 1)], cells);
        for (std::size_t c = 0; c < cells.size() && c < 8; ++c)
            (void)ui::LoadPicture(ui::TextFromBytes(TileBitmapPath(folder, cells[c])));
    }
    (void)LevelLineCount(text);
}

long PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    testing::MainWindowFixture f;
    ui::SetYieldInterval(2000); // as the program runs, not as the tests run
    const QString res = f.resources();
    auto& c = f.c();
    const int viewRows = static_cast<int>((c.VScroll1->Height() - 1) / 600);

    std::printf("render view, offscreen; scroll bar %.0f twips high: %d rows of 8 tiles a view\n",
                static_cast<double>(c.VScroll1->Height()), viewRows);
    std::printf("%8s  %-22s %10s %12s %8s\n", "lines", "operation", "median ms", "baseline ms",
                "ratio");
    for (const int lines : {1000, 10000, 32768}) {
        const QString level = f.path(QStringLiteral("bench-%1.lvl").arg(lines));
        testing::WriteBytes(level, Level(lines));
        f.setPaths(level, res);
        const int runs = lines > 10000 ? 9 : 15;

        const double load = MedianMs(runs, [&] { f.main().render().fnGoLevelRender(level, res); });
        const double loadBase = MedianMs(runs, [&] { Baseline(level, res, 1, viewRows); });
        std::printf("%8d  %-22s %10.2f %12.2f %8.1f\n", lines, "full load", load, loadBase,
                    load / loadBase);

        const int middle = lines / 2;
        const double mid =
            MedianMs(runs, [&] { f.main().render().fnShowImagesFromY(600 * middle, level, res); });
        const double midBase = MedianMs(runs, [&] { Baseline(level, res, middle, viewRows); });
        std::printf("%8d  %-22s %10.2f %12.2f %8.1f\n", lines, "scroll render, middle", mid,
                    midBase, mid / midBase);

        const double last =
            MedianMs(runs, [&] { f.main().render().fnShowImagesFromY(600 * lines, level, res); });
        const double lastBase = MedianMs(runs, [&] { Baseline(level, res, lines, 1); });
        std::printf("%8d  %-22s %10.2f %12.2f %8.1f\n", lines, "scroll render, last row", last,
                    lastBase, last / lastBase);
    }
    std::printf("peak resident memory: %ld MB\n", PeakRssMb());
    if (!f.dialogs.messages.isEmpty())
        std::printf("unexpected message: %s\n", qPrintable(f.dialogs.messages[0].text));
    return 0;
}
