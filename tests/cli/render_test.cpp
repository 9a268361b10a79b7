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
