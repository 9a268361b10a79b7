// The shipped levels, tile set, pictures and desktop files fit together: every tile a level uses
// has a bitmap that decodes at the grid's 40 x 40, the levels show what they claim to show, and
// the pictures the application asks for by resource path are there at their nominal sizes.

#include "level.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

using namespace hollenby;

namespace {

constexpr int kTileSize = 40;
constexpr int kColumns = 8;

QString SamplesDir()
{
    return QStringLiteral(SAMPLES_DIR);
}

QString ResourcesDir()
{
    return SamplesDir() + QStringLiteral("/_resources");
}

QString AppResourcesDir()
{
    return QStringLiteral(APP_RESOURCES_DIR);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// An empty string when the bitmap decodes at 40 x 40, otherwise what went wrong.
QString TileProblem(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return path + QStringLiteral(": ") + reader.errorString();
    if (image.size() != QSize(kTileSize, kTileSize))
        return QStringLiteral("%1: %2 x %3").arg(path).arg(image.width()).arg(image.height());
    return {};
}

quint32 LittleEndian(const QByteArray& bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes.at(at + i));
    return value;
}

bool IsFinishLine(std::string_view line)
{
    const auto cells = SplitLevelCells(line);
    if (cells.size() != kColumns)
        return false;
    for (std::string_view cell : cells) {
        if (cell != "19")
            return false;
    }
    return true;
}

// Share of the opaque pixels whose colour passes the test.
double OpaqueShare(const QImage& image, const std::function<bool(QColor)>& test)
{
    int opaque = 0;
    int passing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour.alpha() < 200)
                continue;
            ++opaque;
            if (test(colour))
                ++passing;
        }
    }
    return opaque == 0 ? 0.0 : double(passing) / opaque;
}

// Key=value pairs of a desktop entry's main group.
QHash<QString, QString> DesktopEntry(const QByteArray& text)
{
    QHash<QString, QString> entry;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !line.startsWith(QLatin1Char('#')))
            entry.insert(line.left(equals), line.mid(equals + 1));
    }
    return entry;
}

} // namespace

class SamplesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTableTileIsA40x40Bmp_data()
    {
        QTest::addColumn<QString>("file");
        for (std::string_view code : TileCodes())
            QTest::newRow(std::string(code).c_str())
                << QString::fromStdString(TileBitmapFile(code));
    }

    void everyTableTileIsA40x40Bmp()
    {
        QFETCH(QString, file);
        const QString path = ResourcesDir() + QLatin1Char('/') + file;
        const QByteArray bytes = ReadFile(path);
        QVERIFY2(bytes.size() > 54, qPrintable(path + QStringLiteral(" is missing or truncated")));
        // The game reads plain 24-bit bitmaps; a PNG renamed to .bmp would still decode here.
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(LittleEndian(bytes, 28, 2), 24u);
        QCOMPARE(LittleEndian(bytes, 30, 4), 0u);
        QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
        const QString problem = TileProblem(path);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void tableTilesAreDistinct()
    {
        QHash<QString, QImage> seen;
        for (std::string_view code : TileCodes()) {
            const QString file = QString::fromStdString(TileBitmapFile(code));
            const QImage image(ResourcesDir() + QLatin1Char('/') + file);
            QVERIFY2(!image.isNull(), qPrintable(file));
            for (auto it = seen.cbegin(); it != seen.cend(); ++it)
                QVERIFY2(it.value() != image,
                         qPrintable(file + QStringLiteral(" repeats ") + it.key()));
            seen.insert(file, image);
        }
    }

    void folderHoldsOnlyTableAndKeyBitmaps()
    {
        // The key lists NN.bmp for 1 to 97 as well; the set carries a few beyond 20 to show it.
        static const QRegularExpression keyOnly(
            QStringLiteral("^(2[1-9]|[3-8][0-9]|9[0-7])\\.bmp$"));
        QSet<QString> table;
        for (std::string_view code : TileCodes())
            table.insert(QString::fromStdString(TileBitmapFile(code)));
        int keyOnlyCount = 0;
        const QStringList files = QDir(ResourcesDir()).entryList(QDir::Files);
        for (const QString& file : files) {
            if (keyOnly.match(file).hasMatch()) {
                ++keyOnlyCount;
                const QString problem = TileProblem(ResourcesDir() + QLatin1Char('/') + file);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
            } else {
                QVERIFY2(table.contains(file), qPrintable(file + QStringLiteral(" is no tile")));
            }
        }
        QVERIFY2(keyOnlyCount > 0, "no bitmap beyond 20.bmp to show in the key");
    }

    void levelTilesDecode_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList levels = QDir(SamplesDir()).entryList({QStringLiteral("*.lvl")});
        for (const char* expected : {"corners.lvl", "long.lvl", "short.lvl"})
            QVERIFY2(levels.contains(QLatin1String(expected)), expected);
        for (const QString& name : levels)
            QTest::newRow(qPrintable(name)) << name;
    }

    void levelTilesDecode()
    {
        QFETCH(QString, name);
        const QByteArray text = ReadFile(SamplesDir() + QLatin1Char('/') + name);
        QVERIFY(!text.isEmpty());
        QSet<QString> files;
        std::vector<std::string_view> cells;
        for (std::string_view line : SplitLevelLines(View(text))) {
            SplitLevelCells(line, cells);
            if (!IsLevelRow(cells))
                continue;
            for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c) {
                const std::string file = TileBitmapFile(cells[c]);
                if (!file.empty())
                    files.insert(QString::fromStdString(file));
            }
        }
        QVERIFY(!files.isEmpty());
        for (const QString& file : std::as_const(files)) {
            const QString problem = TileProblem(ResourcesDir() + QLatin1Char('/') + file);
            QVERIFY2(problem.isEmpty(), qPrintable(name + QStringLiteral(": ") + problem));
        }
    }

    void plainLevelsAreFullRowsFromStartToFinish_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        QTest::newRow("short") << QStringLiteral("short.lvl") << 40;
        QTest::newRow("long") << QStringLiteral("long.lvl") << 2000;
    }

    void plainLevelsAreFullRowsFromStartToFinish()
    {
        QFETCH(QString, name);
        QFETCH(int, lines);
        const QByteArray text = ReadFile(SamplesDir() + QLatin1Char('/') + name);
        const auto all = SplitLevelLines(View(text));
        QCOMPARE(int(all.size()), lines);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto cells = SplitLevelCells(all[i]);
            QVERIFY2(
                cells.size() == kColumns,
                qPrintable(QStringLiteral("line %1 has %2 cells").arg(i + 1).arg(cells.size())));
            for (std::string_view cell : cells) {
                QVERIFY2(!TileBitmapFile(cell).empty(),
                         qPrintable(QStringLiteral("line %1: \"%2\" is no tile code")
                                        .arg(i + 1)
                                        .arg(QString::fromLatin1(cell.data(), cell.size()))));
            }
        }
        // Play starts at the last line: the start line sits near the bottom, the finish near the
        // top.
        const auto near = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                if (IsFinishLine(all[i]))
                    return true;
            }
            return false;
        };
        QVERIFY2(near(0, 10), "no finish line among the first ten lines");
        QVERIFY2(near(all.size() - 10, all.size()), "no start line among the last ten lines");
    }

    void cornersLevelShowsEachCorner()
    {
        const QByteArray text = ReadFile(SamplesDir() + QStringLiteral("/corners.lvl"));
        const auto lines = SplitLevelLines(View(text));
        QVERIFY(lines.size() > 3);
        const auto any = [&](const std::function<bool(const std::vector<std::string_view>&)>& is) {
            for (std::string_view line : lines) {
                if (is(SplitLevelCells(line)))
                    return true;
            }
            return false;
        };
        const auto hasCell = [&](std::string_view wanted) {
            return any([wanted](const std::vector<std::string_view>& cells) {
                if (!IsLevelRow(cells))
                    return false;
                for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c) {
                    if (cells[c] == wanted)
                        return true;
                }
                return false;
            });
        };
        const auto blankBetweenRows = [&] {
            bool rowAbove = false;
            bool blankAfterRow = false;
            for (std::string_view line : lines) {
                if (IsLevelRowLine(line)) {
                    if (blankAfterRow)
                        return true;
                    rowAbove = true;
                } else if (line.empty() && rowAbove) {
                    blankAfterRow = true;
                }
            }
            return false;
        };
        const std::vector<std::pair<const char*, bool>> corners = {
            {"blank line between rows", blankBetweenRows()},
            {"row of more than 8 cells",
             any([](const auto& cells) { return IsLevelRow(cells) && cells.size() > kColumns; })},
            {"unknown code 00 in view", hasCell("00")},
            {"key-only code 21 in view", hasCell("21")},
            {"code with a leading space in view", hasCell(" 01")},
            {"line starting with a comma",
             any([](const auto& cells) { return cells.size() > 1 && cells.front().empty(); })},
            {"trailing comma", any([](const auto& cells) {
                 return IsLevelRow(cells) && cells.size() < kColumns && cells.back().empty();
             })},
            {"both warning signs", hasCell("98") && hasCell("99")},
            {"final CR LF", text.endsWith("\r\n")},
        };
        for (const auto& [corner, present] : corners)
            QVERIFY2(present, corner);
    }

    void appPicturesDecodeAtTheirSizes_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("colour");
        for (int n : {16, 24, 32, 48, 64, 128, 256}) {
            const QString path = QStringLiteral(":/icons/hollenby-level-editor-%1.png").arg(n);
            QTest::newRow(qPrintable(path)) << path << QSize(n, n) << QStringLiteral("red");
        }
        QTest::newRow(":/car.png")
            << QStringLiteral(":/car.png") << QSize(24, 24) << QStringLiteral("green");
        QTest::newRow(":/folder-search.png")
            << QStringLiteral(":/folder-search.png") << QSize(16, 16) << QStringLiteral("yellow");
    }

    void appPicturesDecodeAtTheirSizes()
    {
        QFETCH(QString, resource);
        QFETCH(QSize, size);
        QFETCH(QString, colour);
        QImageReader reader(resource);
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(),
                 qPrintable(resource + QStringLiteral(": ") + reader.errorString()));
        QCOMPARE(image.size(), size);
        // The pictures sit on buttons and title bars of any colour: the corners must show through.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(size.width() - 1, 0).alpha(), 0);
        const QHash<QString, std::function<bool(QColor)>> tests = {
            {QStringLiteral("red"), [](QColor c) { return c.red() > c.green() + c.blue(); }},
            {QStringLiteral("green"), [](QColor c) { return c.green() > c.red() + 30; }},
            {QStringLiteral("yellow"),
             [](QColor c) {
                 return c.red() > 150 && c.green() > 120 && c.blue() < c.green() - 40;
             }},
        };
        const double share = OpaqueShare(image, tests.value(colour));
        QVERIFY2(share > 0.5,
                 qPrintable(QStringLiteral("only %1 of it is %2").arg(share).arg(colour)));
    }

    void folderPictureFitsItsButton()
    {
        // The browse buttons are 315 x 285 twips: 21 x 19 pixels, borders included.
        const QImage image(QStringLiteral(":/folder-search.png"));
        QVERIFY(image.width() <= 21 - 4 && image.height() <= 19 - 2);
    }

    void desktopEntryMatchesMimeTypeAndIcons()
    {
        const auto entry = DesktopEntry(
            ReadFile(AppResourcesDir() + QStringLiteral("/hollenby-level-editor.desktop")));
        QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("hollenby-level-editor"));
        QCOMPARE(entry.value(QStringLiteral("Icon")), QStringLiteral("hollenby-level-editor"));
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        const QString mime = ReadFile(AppResourcesDir() + QStringLiteral("/hollenby-level.xml"));
        static const QRegularExpression typeAttr(QStringLiteral("<mime-type type=\"([^\"]+)\""));
        const QString type = typeAttr.match(mime).captured(1);
        QCOMPARE(type, QStringLiteral("application/x-hollenby-level"));
        QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.lvl\"/>")));
        QVERIFY(entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';')).contains(type));
        // The installed icon name is the PNGs' base name; a mismatch leaves menus without an icon.
        for (int n : {16, 32, 48, 256}) {
            const QString png = QStringLiteral("%1/icons/%2-%3.png")
                                    .arg(AppResourcesDir(), entry.value(QStringLiteral("Icon")))
                                    .arg(n);
            QVERIFY2(QFile::exists(png), qPrintable(png));
        }
    }
};

QTEST_GUILESS_MAIN(SamplesTest)
#include "samples_test.moc"
