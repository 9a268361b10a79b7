// Frames per second of playback, beside a baseline taken in the same run: reading and splitting
// the level file and decoding the 48 bitmaps of a frame, with no widgets at all. Every frame
// reads everything again, as playback does; nothing is carried from one frame to the next.
// The last row plays a level of nothing but "01" with "01.bmp" missing from the tile set: each
// of its 48 cells a frame then costs a listing of the folder, looking for the name in another
// case.
//
//   cmake --build build --target bench_play && QT_QPA_PLATFORM=offscreen
//   build/bench/play/bench_play
//
// On an X display (QT_QPA_PLATFORM=xcb) every frame also travels to the server; bench/run.sh
// runs it on both. Goals: 300 frames/s at 1000 lines; at 32 768 lines 150 offscreen and 300 on
// an X display; always within 3x of the baseline. Exits with 2 when one is missed.

#include "controls.h"
#include "files.h"
#include "form.h"
#include "frmplay.h"
#include "level.h"
#include "maincontrols.h"
#include "resourcefiles.h"
#include "runtimeerror.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace hollenby;

namespace {

constexpr int kRounds = 5;
constexpr qint64 kRoundNs = 600'000'000;
constexpr int kWarmUpFrames = 20;

// Eight cells a line, the codes in turn; or only the first code.
bool WriteLevel(const QString& path, int lines, bool firstCodeOnly)
{
    const auto& codes = TileCodes();
    std::string text;
    for (int line = 0; line < lines; ++line) {
        if (line != 0)
            text += "\r\n";
        for (int column = 0; column < 8; ++column) {
            if (column != 0)
                text += ',';
            text +=
                codes[firstCodeOnly ? 0 : static_cast<std::size_t>(line + column) % codes.size()];
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
}

bool WriteTiles(const QString& folder, std::string_view missing)
{
    QDir().mkpath(folder);
    int n = 0;
    for (const auto code : TileCodes()) {
        QImage image(40, 40, QImage::Format_RGB888);
        image.fill(QColor::fromHsv((n++ * 16) % 360, 200, 200));
        if (code == missing)
            continue;
        const QString file = QString::fromStdString(TileBitmapFile(code));
        if (!image.save(folder + QLatin1Char('/') + file, "BMP"))
            return false;
    }
    return true;
}

// What a frame cannot do without: the file read whole and cut into lines, and the bitmaps of
// the six rows at the end of the level decoded, or looked for in vain.
double BaselineFramesPerSecond(const QString& level, const QString& res)
{
    const std::string folder = res.toStdString();
    long long frames = 0;
    std::size_t keep = 0;
    QElapsedTimer timer;
    timer.start();
    while (timer.nsecsElapsed() < kRoundNs) {
        const std::string text = ui::ReadFileBytes(level);
        const auto lines = SplitLevelLines(text);
        int decoded = 0;
        for (auto line = lines.end() - 6; line != lines.end(); ++line) {
            for (const auto cell : SplitLevelCells(*line)) {
                if (decoded++ == 48)
                    break;
                try {
                    keep += static_cast<std::size_t>(
                        ui::LoadResourcePicture(
                            QString::fromStdString(TileBitmapPath(folder, cell)))
                            .width());
                } catch (const ui::RuntimeError&) {
                    ++keep;
                }
            }
        }
        ++frames;
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return keep == 0 ? 0 : static_cast<double>(frames) / seconds;
}

// The main window's part in playback: the buttons it disables and enables again.
struct MainStandIn
{
    ui::Form form{15.0, 130, 665};
    editor::MainControls controls;

    MainStandIn()
    {
        controls.form = &form;
        auto button = [this] { return std::make_unique<ui::CommandButton>(form.client(), 15.0); };
        controls.cmdPlay = button();
        controls.cmdRefresh = button();
        controls.cmdSaveRefresh = button();
        controls.cmdSelectFile = button();
        controls.cmdSelectRes = button();
    }
};

// Plays for one round and gives the frames per second after a short warm-up.
double PlayFramesPerSecond(MainStandIn& main, const QString& level, const QString& res)
{
    play::frmPlay play(main.controls);
    long long frames = 0;
    QElapsedTimer timer;
    play.AfterFrame = [&](std::int32_t) {
        ++frames;
        if (frames == kWarmUpFrames)
            timer.start();
        else if (frames > kWarmUpFrames && timer.nsecsElapsed() >= kRoundNs)
            play.form().window()->close();
    };
    play.setFileFQN(level);
    play.setResFQN(res);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    return static_cast<double>(frames - kWarmUpFrames) / seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString res = dir.filePath(QStringLiteral("_resources"));
    const QString resMissing = dir.filePath(QStringLiteral("_resources_missing"));
    if (!dir.isValid() || !WriteTiles(res, {}) || !WriteTiles(resMissing, "01")) {
        std::fprintf(stderr, "cannot write the tile set\n");
        return 1;
    }
    MainStandIn main;

    struct Case
    {
        int lines;
        double goal;
        bool missing; // every cell 01, and 01.bmp missing
    };
    const bool display = QGuiApplication::platformName() != QLatin1String("offscreen");
    std::printf("play window, %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("%-20s %14s %14s %8s %10s %6s\n", "lines", "baseline fps", "play fps", "ratio",
                "goal fps", "met");
    bool allMet = true;
    const double longGoal = display ? 300.0 : 150.0;
    for (const Case c :
         {Case{1000, 300, false}, Case{32768, longGoal, false}, Case{32768, longGoal, true}}) {
        const QString level = dir.filePath(QStringLiteral("level%1%2.lvl")
                                               .arg(c.lines)
                                               .arg(c.missing ? QStringLiteral("-01") : QString()));
        if (!WriteLevel(level, c.lines, c.missing)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(level));
            return 1;
        }
        std::vector<double> baseline;
        std::vector<double> played;
        for (int round = 0; round < kRounds; ++round) {
            const QString& tiles = c.missing ? resMissing : res;
            baseline.push_back(BaselineFramesPerSecond(level, tiles));
            played.push_back(PlayFramesPerSecond(main, level, tiles));
        }
        const double base = Median(baseline);
        const double fps = Median(played);
        const double ratio = base / fps;
        const bool met = fps >= c.goal && ratio <= 3.0;
        allMet = allMet && met;
        const QString lines =
            QString::number(c.lines) + (c.missing ? QStringLiteral(", all missing") : QString());
        std::printf("%-20s %14.0f %14.0f %7.2fx %10.0f %6s\n", qPrintable(lines), base, fps, ratio,
                    c.goal, met ? "yes" : "no");
    }
    std::printf("goals: the frame rate at least the goal, and within 3x of the baseline\n");
    return allMet ? 0 : 2;
}
