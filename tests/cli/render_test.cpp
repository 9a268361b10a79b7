// render: where each tile lands on both grids, what stays transparent, row selection, shrinking
// across band boundaries, and the editor grid against the editor's own render view.

#include "clirun.h"
#include "level.h"
#include "levelrender.h"
#include "testsupport.h"

#include <QImage>
#include <QTest>

using namespace hollenby;
using testing::RunCli;
using testing::TileColour;

namespace {

// Three rows among lines that are not rows: a blank line, a line starting with ",", a row of
// twelve cells holding an unknown code and an empty cell, and the two object codes.
const std::string kLevel = "01,02,03\r\n"
                           "\r\n"
                           ",04,05\r\n"
                           "06,zz,,07,08,09,10,11,12,13,14,15\r\n"
                           "98,99";

struct Probe
{
    int x, y;
    const char* code; // "" for transparent
};

} // namespace

Q_DECLARE_METATYPE(Probe)

namespace {

// A 32-bit BMP of one colour with an alpha channel (a V4 header with an alpha mask), which Qt's
// own BMP writer does not make.
QByteArray AlphaBitmap(int width, int height, QRgb argb)
{
    QByteArray bmp(14 + 108 + width * height * 4, '\0');
    const auto put = [&bmp](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = char(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, quint32(bmp.size()), 4);
    put(10, 14 + 108, 4);
    put(14, 108, 4);
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, 32, 2);
    put(30, 3, 4); // bit fields: the masks that follow
    put(54, 0x00FF0000, 4);
    put(58, 0x0000FF00, 4);
    put(62, 0x000000FF, 4);
    put(66, 0xFF000000, 4);
    for (int i = 0; i < width * height; ++i)
        put(122 + i * 4, argb, 4);
    return bmp;
}

QString Describe(const QImage& image, int x, int y)
{
    const QColor colour = image.pixelColor(x, y);
    if (colour.alpha() == 0)
        return QStringLiteral("transparent");
    for (const auto code : TileCodes()) {
        if (TileColour(code) == colour)
            return QString::fromLatin1(code.data(), 2);
    }
    return colour.name(QColor::HexArgb);
}

} // namespace

class RenderTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QImage render(const QStringList& options)
    {
        const testing::CliResult result =
            RunCli(QStringList{QStringLiteral("render"), path("level.lvl"), QStringLiteral("-o"),
                               path("out.png")} +
                   options);
        if (result.status != 0)
            qWarning() << result.err;
        return QImage(path("out.png"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(testing::WriteTileSet(path("_resources")));
        QVERIFY(testing::WriteBytes(path("level.lvl"), kLevel));
    }

    void tilesLandOnTheirGrid_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<std::vector<Probe>>("probes");
        QTest::newRow("play grid: rows 40 px apart, non-rows take no place, 8 cells of 12")
            << QStringList{} << QSize(320, 120)
            << std::vector<Probe>{{0, 0, "01"},    {119, 39, "03"}, {120, 0, ""},
                                  {0, 40, "06"},   {60, 60, ""},    {100, 60, ""},
                                  {300, 79, "11"}, {20, 100, "98"}, {60, 100, "99"}};
        QTest::newRow("editor grid: columns 39 px apart, a later tile over an earlier one")
            << QStringList{QStringLiteral("--grid"), QStringLiteral("editor")} << QSize(313, 120)
            << std::vector<Probe>{{38, 0, "01"},  {39, 0, "02"}, {77, 0, "02"},   {78, 0, "03"},
                                  {117, 0, "03"}, {118, 0, ""},  {312, 79, "11"}, {39, 100, "99"}};
        QTest::newRow("rows 2 to 3 only")
            << QStringList{QStringLiteral("--rows"), QStringLiteral("2:3")} << QSize(320, 80)
            << std::vector<Probe>{{0, 0, "06"}, {20, 60, "98"}};
        QTest::newRow("a row past the end is no error for LAST")
            << QStringList{QStringLiteral("--rows"), QStringLiteral("3:99")} << QSize(320, 40)
            << std::vector<Probe>{{60, 20, "99"}};
        QTest::newRow("background fills blank slots and short rows")
            << QStringList{QStringLiteral("--background"), QStringLiteral("#123456")}
            << QSize(320, 120) << std::vector<Probe>{{0, 0, "01"}, {300, 0, "#ff123456"}};
    }

    void tilesLandOnTheirGrid()
    {
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        QFETCH(std::vector<Probe>, probes);
        const QImage image = render(options);
        QCOMPARE(image.size(), size);
        for (const Probe& probe : probes) {
            const QString want =
                *probe.code == 0 ? QStringLiteral("transparent") : QString::fromLatin1(probe.code);
            QCOMPARE(Describe(image, probe.x, probe.y) +
                         QStringLiteral(" at %1,%2").arg(probe.x).arg(probe.y),
                     want + QStringLiteral(" at %1,%2").arg(probe.x).arg(probe.y));
        }
    }

    // Pictures are made in bands on several threads. Shrunk, each output row must weigh exactly
    // the input rows it covers, wherever a band starts.
    void bandsJoinSeamlessly()
    {
        const int rows = 300;
        QVERIFY(testing::WriteBytes(path("stripes.lvl"),
                                    testing::RepeatLines("01\r\n02", rows / 2, false)));
        const testing::CliResult result =
            RunCli({QStringLiteral("render"), path("stripes.lvl"), QStringLiteral("-o"),
                    path("stripes.png"), QStringLiteral("--scale"), QStringLiteral("0.3")});
        QCOMPARE(result.status, 0);
        // At full scale each level row is one band, and a row met again reuses its band.
        QCOMPARE(RunCli({QStringLiteral("render"), path("stripes.lvl"), QStringLiteral("-o"),
                         path("full.png")})
                     .status,
                 0);
        const QImage full(path("full.png"));
        for (int row = 0; row < rows; ++row)
            QCOMPARE(full.pixelColor(5, row * 40 + 39), TileColour(row % 2 == 0 ? "01" : "02"));

        const QImage image(path("stripes.png"));
        const std::int64_t inHeight = std::int64_t{rows} * 40;
        QCOMPARE(image.size(), QSize(96, 3600));
        const QColor one = TileColour("01");
        const QColor two = TileColour("02");
        for (int y = 0; y < image.height(); ++y) {
            // The share of "02" rows in [y, y + 1) of the output, on the input's scale.
            double twos = 0;
            for (std::int64_t i = y * inHeight / 3600; i * 3600 < (y + 1) * inHeight; ++i) {
                const std::int64_t overlap =
                    std::min((i + 1) * 3600, (y + 1) * inHeight) - std::max(i * 3600, y * inHeight);
                if (i / 40 % 2 == 1)
                    twos += static_cast<double>(overlap) / inHeight;
            }
            const double red = one.red() + twos * (two.red() - one.red());
            const QColor got = image.pixelColor(5, y);
            if (std::abs(got.red() - red) > 1.0 || got.alpha() != 255)
                QFAIL(qPrintable(
                    QStringLiteral("row %1: red %2, expected %3").arg(y).arg(got.red()).arg(red)));
        }
    }

    // Tiles are laid over what lies beneath them as the window lays them: a half-transparent
    // one blends, a tall one reaches into the rows below, and no tile's colour is ever taken for
    // the blank slots' transparency.
    void tilesLayerAsInTheWindow_data()
    {
        QTest::addColumn<QByteArray>("bitmap"); // 05.bmp
        QTest::addColumn<std::string>("level");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        const QByteArray half = AlphaBitmap(40, 40, qRgba(255, 0, 0, 128));
        QTest::newRow("half-transparent tile over the background")
            << half << std::string("05") << QStringList{"--background", "#0000ff"} << QPoint(20, 20)
            << QColor(128, 0, 127);
        QTest::newRow("half-transparent tile over nothing")
            << half << std::string("05") << QStringList() << QPoint(20, 20)
            << QColor(255, 0, 0, 128);
        const QByteArray tall = AlphaBitmap(40, 60, qRgb(0, 200, 0));
        QTest::newRow("tall tile into the row below")
            << tall << std::string("05,05\r\n01") << QStringList() << QPoint(60, 50)
            << QColor(0, 200, 0);
        QTest::newRow("tall tile under a later one")
            << tall << std::string("05,05\r\n01") << QStringList() << QPoint(20, 50)
            << TileColour("01");
        QTest::newRow("tall tile's end") << tall << std::string("05,05\r\n01") << QStringList()
                                         << QPoint(60, 70) << QColor(0, 0, 0, 0);
        const QByteArray black = AlphaBitmap(40, 40, qRgb(0, 0, 0));
        QTest::newRow("pure black tile stays black")
            << black << std::string("05,zz") << QStringList() << QPoint(20, 20)
            << QColor(Qt::black);
        QTest::newRow("beside it, a blank slot stays transparent")
            << black << std::string("05,zz") << QStringList() << QPoint(60, 20)
            << QColor(0, 0, 0, 0);
    }

    void tilesLayerAsInTheWindow()
    {
        QFETCH(QByteArray, bitmap);
        QFETCH(std::string, level);
        QFETCH(QStringList, options);
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        QTemporaryDir dir;
        QVERIFY(testing::WriteTileSet(dir.filePath("_resources")));
        QVERIFY(testing::WriteBytes(dir.filePath("_resources/05.bmp"), bitmap.toStdString()));
        QVERIFY(testing::WriteBytes(dir.filePath("level.lvl"), level));
        const testing::CliResult result =
            RunCli(QStringList{"render", dir.filePath("level.lvl"), "-o", dir.filePath("out.png")} +
                   options);
        QVERIFY2(result.status == 0, result.err.constData());
        const QColor got = QImage(dir.filePath("out.png")).pixelColor(at);
        if (colour.alpha() == 0) {
            QCOMPARE(got.alpha(), 0);
            return;
        }
        const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
        QVERIFY2(near(got.red(), colour.red()) && near(got.green(), colour.green()) &&
                     near(got.blue(), colour.blue()) && near(got.alpha(), colour.alpha()),
                 qPrintable(got.name(QColor::HexArgb) + " for " + colour.name(QColor::HexArgb)));
    }

    // Several levels: each picture named after its level; one that fails stops none of the
    // others; names that would meet are refused before anything is drawn.
    void severalLevels_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "@" for the test's folder
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("err");
        QTest::newRow("into a new folder, one failing")
            << QStringList{"@/a.lvl", "@/bin.lvl", "@/sub/b.lvl", "--output-dir", "@/made"}
            << QStringList{"made/a.png", "made/b.png"}
            << "hollenby-level: @/bin.lvl: not a level but a binary file";
        QTest::newRow("each beside its level") << QStringList{"@/a.lvl", "@/sub/b.lvl"}
                                               << QStringList{"a.png", "sub/b.png"} << QString();
        QTest::newRow("two pictures of one name")
            << QStringList{"@/a.lvl", "@/sub/a.lvl", "--output-dir", "@/out"} << QStringList()
            << "hollenby-level: render: @/a.lvl and @/sub/a.lvl would both be drawn to @/out/a.png";
        QTest::newRow("-o for several")
            << QStringList{"@/a.lvl", "@/sub/b.lvl", "-o", "@/out/a.png"} << QStringList()
            << "hollenby-level: render: -o names the picture of one level; give --output-dir DIR "
               "for several";
    }

    void severalLevels()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, written);
        QFETCH(QString, err);
        QTemporaryDir dir;
        QVERIFY(testing::WriteTileSet(dir.filePath("_resources")));
        QVERIFY(testing::WriteTileSet(dir.filePath("sub/_resources")));
        QVERIFY(QDir().mkpath(dir.filePath("out")));
        for (const char* level : {"a.lvl", "sub/a.lvl", "sub/b.lvl"})
            QVERIFY(testing::WriteBytes(dir.filePath(level), "01,02\r\n"));
        QVERIFY(testing::WriteBytes(dir.filePath("bin.lvl"), std::string("01\0", 3)));
        arguments.replaceInStrings("@", dir.path());
        const testing::CliResult result = RunCli(QStringList{"render"} + arguments);
        QCOMPARE(result.status, err.isEmpty() ? 0 : 2);
        err.replace('@', dir.path());
        QVERIFY2(result.err.startsWith(err.toUtf8()) && result.err.count('\n') == !err.isEmpty(),
                 result.err.constData());
        for (const QString& picture : written)
            QCOMPARE(QImage(dir.filePath(picture)).size(), QSize(320, 40));
        const QStringList made = QDir(dir.path()).entryList({"*.png"}, QDir::Files) +
                                 QDir(dir.filePath("out")).entryList(QDir::Files) +
                                 QDir(dir.filePath("made")).entryList(QDir::Files) +
                                 QDir(dir.filePath("sub")).entryList({"*.png"}, QDir::Files);
        QCOMPARE(made.size(), written.size());
    }

    void editorGridMatchesTheRenderView()
    {
        testing::MainWindowFixture f;
        QVERIFY(testing::WriteBytes(f.path("level.lvl"), kLevel));
        QVERIFY(f.main().render().fnGoLevelRender(f.path("level.lvl"), f.resources()));
        const QImage view =
            f.c().fmeRender->container()->grab().toImage().convertToFormat(QImage::Format_ARGB32);

        const testing::CliResult result =
            RunCli({QStringLiteral("render"), f.path("level.lvl"), QStringLiteral("-r"),
                    f.resources(), QStringLiteral("-o"), f.path("out.png"),
                    QStringLiteral("--grid"), QStringLiteral("editor")});
        QCOMPARE(result.status, 0);
        const QImage ours = QImage(f.path("out.png")).convertToFormat(QImage::Format_ARGB32);
        // The view's first row is at Top 600 twips, 40 px into the frame.
        const QRgb blank = view.pixel(200, 40 + 20);
        int compared = 0;
        for (int y = 0; y < ours.height(); ++y) {
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb want = qAlpha(ours.pixel(x, y)) == 0 ? blank : ours.pixel(x, y);
                if (view.pixel(x, 40 + y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));
                ++compared;
            }
        }
        QCOMPARE(compared, 313 * 120);
    }
};

QTEST_MAIN(RenderTest)
#include "render_test.moc"
