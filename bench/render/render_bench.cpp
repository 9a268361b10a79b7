// How long the render view takes on big levels, beside the work it cannot avoid: reading and
// splitting the file and decoding the bitmaps of one full view. On an X display every painted
// pixel also travels to the server, so run it on both (bench/run.sh does):
//
//   QT_QPA_PLATFORM=offscreen build/bench/render/bench_render
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb build/bench/render/bench_render
//
// Goals at 32 768 lines: a full load within 200 ms; a scroll render of a full view anywhere
// within 3x its baseline offscreen and 4x on an X display. Exits with 2 when one is missed.

#include "doevents.h"
#include "files.h"
#include "level.h"
#include "levelrender.h"
#include "picture.h"
#include "testsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>

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

struct Goals
{
    double ratio;  // a scroll render against its baseline
    double loadMs; // a full load
    bool met = true;
};

// One line of the table; the goal applies to the largest level only.
void Row(int lines, const char* operation, double ms, double baseMs, bool judged, bool isLoad,
         Goals& goals)
{
    const double ratio = ms / baseMs;
    char goal[32] = "";
    bool met = true;
    if (judged && isLoad) {
        std::snprintf(goal, sizeof goal, "%.0f ms", goals.loadMs);
        met = ms <= goals.loadMs;
    } else if (judged) {
        std::snprintf(goal, sizeof goal, "%.1fx", goals.ratio);
        met = ratio <= goals.ratio;
    }
    goals.met = goals.met && met;
    std::printf("%8d  %-24s %10.2f %12.2f %8.1f", lines, operation, ms, baseMs, ratio);
    if (judged)
        std::printf(" %8s %5s", goal, met ? "yes" : "no");
    std::printf("\n");
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
    ui::SetYieldInterval(ui::kYieldInterval); // as the program runs, not as the tests run
    const QString res = f.resources();
    auto& c = f.c();
    const int viewRows = static_cast<int>((c.VScroll1->Height() - 1) / 600);

    const QString platform = QGuiApplication::platformName();
    Goals goals{platform == QLatin1String("offscreen") ? 3.0 : 4.0, 200.0};
    std::printf("render view, %s; scroll bar %.0f twips high: %d rows of 8 tiles a view\n",
                qPrintable(platform), static_cast<double>(c.VScroll1->Height()), viewRows);
    std::printf("%8s  %-24s %10s %12s %8s %8s %5s\n", "lines", "operation", "median ms",
                "baseline ms", "ratio", "goal", "met");
    for (const int lines : {1000, 10000, 32768}) {
        const QString level = f.path(QStringLiteral("bench-%1.lvl").arg(lines));
        testing::WriteBytes(level, Level(lines));
        f.setPaths(level, res);
        const int runs = lines > 10000 ? 9 : 15;
        const bool judged = lines == 32768;
        auto& render = f.main().render();

        const double load = MedianMs(runs, [&] { render.fnGoLevelRender(level, res); });
        const double loadBase = MedianMs(runs, [&] { Baseline(level, res, 1, viewRows); });
        Row(lines, "full load", load, loadBase, judged, true, goals);

        const double first = MedianMs(runs, [&] { render.fnShowImagesFromY(600, level, res); });
        Row(lines, "scroll render, first row", first, loadBase, judged, false, goals);

        const int middle = lines / 2;
        const double mid =
            MedianMs(runs, [&] { render.fnShowImagesFromY(600 * middle, level, res); });
        const double midBase = MedianMs(runs, [&] { Baseline(level, res, middle, viewRows); });
        Row(lines, "scroll render, middle", mid, midBase, judged, false, goals);

        const double last =
            MedianMs(runs, [&] { render.fnShowImagesFromY(600 * lines, level, res); });
        const double lastBase = MedianMs(runs, [&] { Baseline(level, res, lines, 1); });
        Row(lines, "scroll render, last row", last, lastBase, judged, false, goals);
    }
    std::printf("peak resident memory: %ld MB\n", PeakRssMb());
    if (!f.dialogs.messages.isEmpty())
        std::printf("unexpected message: %s\n", qPrintable(f.dialogs.messages[0].text));
    return goals.met ? 0 : 2;
}
