// hollenby-level render at full scale on levels of 1 000 and 32 768 lines, beside Tiled's
// tmxrasterizer drawing the same 1 000 lines from an equivalent map; check beside reading and
// splitting the level it checks; and thumbnail of a 200 MB level beside one of 1 000 lines, with
// a goal (exit status 1 when missed). Medians of several runs; peak memory of each process.
//
//   cmake --build build --target bench_cli && build/bench/cli/bench_cli [check|thumbnail]
//
// Two kinds of level: "varied", every cell an independent pick among the 22 codes (no two rows
// alike, the hardest case), and "generated", made by the generator of samples/long.lvl (what a
// real level looks like: long stretches of a few rows; 5% of its rows are distinct at 32 768).

#include "level.h"
#include "check/levelcheck.h"
#include "levelinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0; // on all cores, user and system: what an idle machine needs
    long peakKb = 0;
    bool ok = false;
};

// Runs a program to its end; its wall time and its own peak resident memory.
Run Spawn(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        run.peakKb = usage.ru_maxrss;
        const auto seconds = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
        };
        run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

Run Median(int runs, const std::vector<std::string>& argv, const std::string& output = {})
{
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        if (!output.empty())
            QFile::remove(QString::fromStdString(output));
        all.push_back(Spawn(argv));
        if (!output.empty() && !QFile::exists(QString::fromStdString(output)))
            all.back().ok = false;
    }
    std::sort(all.begin(), all.end(),
              [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run median = all[all.size() / 2];
    for (const Run& run : all)
        median.ok = median.ok && run.ok;
    return median;
}

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

std::vector<std::vector<int>> VariedRows(int count)
{
    std::mt19937 random(20240607);
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(count));
    for (auto& row : rows) {
        for (int column = 0; column < 8; ++column)
            row.push_back(static_cast<int>(random() % 22));
    }
    return rows;
}

// A level as the sample long level is made, by tools/art's generator, `count` lines long.
std::vector<std::vector<int>> GeneratedRows(int count)
{
    QProcess python;
    python.setWorkingDirectory(QStringLiteral(TOOLS_DIR));
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys; from art import levels; sys.stdout.buffer.write("
                                 "levels.level_file(levels.to_codes(levels.long_level(%1))))")
                      .arg(count)});
    python.waitForFinished(-1);
    const std::string text = python.readAllStandardOutput().toStdString();
    if (text.empty()) {
        std::fprintf(stderr, "python3 could not run tools/art's level generator\n");
        std::exit(1);
    }
    const auto& codes = hollenby::TileCodes();
    std::vector<std::vector<int>> rows;
    for (const std::string_view line : hollenby::SplitLevelLines(text)) {
        std::vector<int> row;
        for (const std::string_view cell : hollenby::SplitLevelCells(line))
            row.push_back(
                static_cast<int>(std::find(codes.begin(), codes.end(), cell) - codes.begin()));
        rows.push_back(row);
    }
    return rows;
}

void WriteLevel(const QString& path, const std::vector<std::vector<int>>& rows)
{
    std::string text;
    const auto& codes = hollenby::TileCodes();
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c != 0)
                text += ',';
            text += row[c] < 22 ? std::string(codes[static_cast<std::size_t>(row[c])]) : "00";
        }
        text += "\r\n";
    }
    text.resize(text.size() - 2);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// The same level as a Tiled map: an image-collection tileset of the same bitmaps, one CSV layer.
void WriteTmx(const QString& path, const std::vector<std::vector<int>>& rows)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" "
                      "width=\"8\" height=\"" +
                      std::to_string(rows.size()) +
                      "\" tilewidth=\"40\" tileheight=\"40\" infinite=\"0\" nextlayerid=\"2\" "
                      "nextobjectid=\"1\">\n"
                      " <tileset firstgid=\"1\" name=\"tiles\" tilewidth=\"40\" tileheight=\"40\" "
                      "tilecount=\"22\" columns=\"0\">\n"
                      "  <grid orientation=\"orthogonal\" width=\"1\" height=\"1\"/>\n";
    const auto& codes = hollenby::TileCodes();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        xml += "  <tile id=\"" + std::to_string(i) +
               "\"><image width=\"40\" height=\"40\" source=\"_resources/" +
               hollenby::TileBitmapFile(codes[i]) + "\"/></tile>\n";
    }
    xml += " </tileset>\n <layer id=\"1\" name=\"level\" width=\"8\" height=\"" +
           std::to_string(rows.size()) + "\">\n  <data encoding=\"csv\">\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < 8; ++c) {
            const int tile = c < rows[r].size() && rows[r][c] < 22 ? rows[r][c] + 1 : 0;
            xml += std::to_string(tile);
            if (r + 1 < rows.size() || c + 1 < 8)
                xml += ',';
        }
        xml += '\n';
    }
    xml += "  </data>\n </layer>\n</map>\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(xml.data(), static_cast<qint64>(xml.size()));
}

void Report(const char* what, const Run& run)
{
    std::printf("%-50s %7.2f s %7.2f s %7.1f MB%s\n", what, run.seconds, run.cpuSeconds,
                static_cast<double>(run.peakKb) / 1024.0,
                run.ok ? "" : "   (failed or no picture)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("_resources")));
    for (const auto code : hollenby::TileCodes()) {
        const QString file = QString::fromStdString(hollenby::TileBitmapFile(code));
        QFile::copy(QStringLiteral(SAMPLES_DIR "/_resources/") + file,
                    dir.filePath(QStringLiteral("_resources/") + file));
    }
    const auto path = [&dir](const char* name) {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    };
    const std::string exe = HOLLENBY_LEVEL;
    const std::string out = path("out.png");
    const auto render = [&](const std::string& level, const std::vector<std::string>& more = {}) {
        std::vector<std::string> argv{exe, "render", level, "-o", out};
        argv.insert(argv.end(), more.begin(), more.end());
        return argv;
    };

    const auto varied1k = VariedRows(1000);
    WriteLevel(QString::fromStdString(path("varied-1000.lvl")), varied1k);
    WriteTmx(QString::fromStdString(path("varied-1000.tmx")), varied1k);
    const auto generated1k = GeneratedRows(1000);
    WriteLevel(QString::fromStdString(path("generated-1000.lvl")), generated1k);
    WriteTmx(QString::fromStdString(path("generated-1000.tmx")), generated1k);
    WriteLevel(QString::fromStdString(path("varied-32768.lvl")), VariedRows(32768));
    WriteLevel(QString::fromStdString(path("generated-32768.lvl")), GeneratedRows(32768));

    // Other work on the machine slows every row alike; say how busy it was.
    const auto load = [] {
        QFile file(QStringLiteral("/proc/loadavg"));
        return file.open(QIODevice::ReadOnly) ? file.readLine().split(' ').first().toStdString()
                                              : std::string("?");
    };
    std::printf("load average %s, %u cores\n", load().c_str(), std::thread::hardware_concurrency());
    std::printf("%-50s %9s %9s %10s\n", "(medians)", "time", "cpu time", "peak mem");
    const bool tmx = !QStandardPaths::findExecutable(QStringLiteral("tmxrasterizer")).isEmpty();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // "bench_cli check" measures check alone, "bench_cli thumbnail" thumbnail alone.
    const QString only = QCoreApplication::arguments().value(1);
    const bool renders = only.isEmpty();
    for (const char* kind : {"varied", "generated"}) {
        if (!renders)
            break;
        const std::string level = path(kind) + "-1000";
        if (tmx) {
            const Run theirs = Median(3, {"tmxrasterizer", level + ".tmx", out}, out);
            Report((std::string("tmxrasterizer, 1 000 lines, ") + kind).c_str(), theirs);
            const Run ours = Median(5, render(level + ".lvl"), out);
            Report((std::string("hollenby-level, 1 000 lines, ") + kind).c_str(), ours);
            std::printf("%-50s %7.1fx\n", "  faster than tmxrasterizer by",
                        theirs.seconds / ours.seconds);
        }
        Report((std::string("hollenby-level, 1 000 lines, one thread, ") + kind).c_str(),
               Median(5, render(level + ".lvl", {"--jobs", "1"}), out));
        Report((std::string("hollenby-level, 32 768 lines, ") + kind).c_str(),
               Median(3, render(path(kind) + "-32768.lvl"), out));
    }

    // check, in process: what it adds to reading the level and cutting it into lines and cells.
    const QString level = QString::fromStdString(path("generated-32768.lvl"));
    if (only != QLatin1String("thumbnail")) {
        const QString resources = dir.filePath(QStringLiteral("_resources"));
        std::vector<std::string_view> cells;
        const double read = MedianMs(51, [&] {
            const hollenby::cli::LevelText text(level);
            for (const std::string_view line : text.lines())
                hollenby::SplitLevelCells(line, cells);
        });
        const double check = MedianMs(51, [&] {
            const hollenby::cli::LevelText text(level);
            hollenby::cli::CheckLevel(text, resources);
        });
        std::printf("\n%-50s %7.2f ms\n%-50s %7.2f ms (%.1fx)\n", "read and split 32 768 lines",
                    read, "check 32 768 lines", check, check / read);
    }

    // thumbnail: a file manager asks for a preview of every level in a folder it opens, so a
    // long level must cost what a short one does. The goal: at most 1.5x the time and 1.25x the
    // memory of a 1 000-line level for a 200 MB one.
    bool met = true;
    if (only.isEmpty() || only == QLatin1String("thumbnail")) {
        QFile source(level);
        source.open(QIODevice::ReadOnly);
        const QByteArray piece = source.readAll();
        const std::string huge = path("generated-200MB.lvl");
        QFile file(QString::fromStdString(huge));
        file.open(QIODevice::WriteOnly);
        while (file.size() < 200LL * 1000 * 1000)
            file.write(piece);
        file.close();
        const auto thumbnail = [&](const std::string& lvl) {
            return Median(7, {exe, "thumbnail", "-s", "256", lvl, out}, out);
        };
        std::printf("\n");
        const Run small = thumbnail(path("generated-1000.lvl"));
        Report("thumbnail -s 256, 1 000 lines", small);
        const Run large = thumbnail(huge);
        Report("thumbnail -s 256, 200 MB", large);
        met = large.ok && large.seconds <= 1.5 * small.seconds &&
              static_cast<double>(large.peakKb) <= 1.25 * static_cast<double>(small.peakKb);
        std::printf("%-50s %7.2fx %8.2fx %s\n", "  200 MB against 1 000 lines (goal 1.5x, 1.25x)",
                    large.seconds / small.seconds,
                    static_cast<double>(large.peakKb) / static_cast<double>(small.peakKb),
                    met ? "met" : "MISSED");
        QFile::remove(QString::fromStdString(huge));
    }
    std::printf("load average %s\n", load().c_str());
    return met ? 0 : 1;
}
