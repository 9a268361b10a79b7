// Maps written by hand the way other tools write them: what import makes of each, and every bad
// one refused in one line with exit status 2 and no level written.

#include "clirun.h"
#include "testsupport.h"
#include "tiledtest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace hollenby::testing;

namespace {

// Tile 0 has a code and an image named otherwise, so the property must win; tiles 1 and 2 have
// only images named after game bitmaps; tile 3's image names no code.
const QString kTiles = R"(
  <tile id="0"><properties><property name="code" value="01"/></properties>
   <image width="40" height="40" source="art/02.bmp"/></tile>
  <tile id="1"><image width="40" height="40" source="../_resources/07.bmp"/></tile>
  <tile id="2"><image width="40" height="40" source="bmpOBJ_WarnFunnel.bmp"/></tile>
  <tile id="3"><image width="40" height="40" source="21.bmp"/></tile>
  <tile id="4"><properties><property name="code" value="0,1"/></properties></tile>)";
const QString kTileset =
    R"(<tileset firstgid="1" name="game" tilecount="5" columns="0">)" + kTiles + "</tileset>";

QString Map(const QString& body, int width = 8, int height = 1, int infinite = 0)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" orientation="orthogonal" width="%1" height="%2" tilewidth="40" tileheight="40" infinite="%3">
%4
</map>)")
        .arg(width)
        .arg(height)
        .arg(infinite)
        .arg(body);
}

QString Layer(const QString& name, const QString& csv, int width = 8, const QString& extra = {})
{
    const int height = int(csv.count(',') + 1) / width;
    return QStringLiteral(
               R"(<layer name="%1" width="%2" height="%3" %4><data encoding="csv">%5</data></layer>)")
        .arg(name)
        .arg(width)
        .arg(height)
        .arg(extra, csv);
}

QString ZlibBomb()
{
    // 16 MiB of empty cells in a layer of 16.
    const QByteArray zeros(16 << 20, '\0');
    QByteArray packed(int(compressBound(uLong(zeros.size()))), '\0');
    uLongf size = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(zeros.constData()), uLong(zeros.size()));
    packed.truncate(int(size));
    return R"(<layer name="level" width="8" height="2"><data encoding="base64" compression="zlib">)" +
           QString::fromLatin1(packed.toBase64()) + "</data></layer>";
}

const QString kRow = "1,2,3,0,0,0,0,1";
const QString kLevelRow = "01,07,99,00,00,00,00,01";

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT

private slots:
    void mapBecomesLevelOrIsRefused_data()
    {
        QTest::addColumn<QString>("map");     // map.tmx, or map.tmj when it starts with "{"
        QTest::addColumn<QString>("tileset"); // written as tiles/game.tsx or .tsj
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("expected"); // the level, or a piece of the error line
        QTest::addColumn<QString>("warning");

        const QString level = Layer("level", kRow);
        QTest::newRow("code from property, else image name")
            << Map(kTileset + level) << "" << QStringList() << 0 << kLevelRow << "";
        QTest::newRow("--blank fills empty cells")
            << Map(kTileset + level) << "" << QStringList{"--blank", "05"} << 0
            << "01,07,99,05,05,05,05,01"
            << "";
        QTest::newRow("layer named level taken among others")
            << Map(kTileset + Layer("ground", "1,1,1,1,1,1,1,1") +
                   "<objectgroup name=\"things\"/>" + "<group name=\"g\">" + level + "</group>")
            << "" << QStringList() << 0 << kLevelRow << "";
        QTest::newRow("--layer takes a hidden layer")
            << Map(kTileset + Layer("ground", kRow, 8, "visible=\"0\"") +
                   Layer("notes", "0,0,0,0,0,0,0,0"))
            << "" << QStringList{"--layer", "ground"} << 0 << kLevelRow << "";
        QTest::newRow("several tile layers without a choice")
            << Map(kTileset + Layer("ground", kRow, 8, "visible=\"0\"") + Layer("notes", kRow))
            << "" << QStringList() << 2
            << "2 tile layers and none named \"level\": \"ground\" (hidden), \"notes\""
            << "";
        QTest::newRow("--layer naming an object layer")
            << Map(kTileset + level + "<objectgroup name=\"things\"/>") << ""
            << QStringList{"--layer", "things"} << 2 << "layer things (object layer) holds no tiles"
            << "";
        QTest::newRow("flips and rotations dropped with a warning")
            << Map(kTileset + Layer("level", "2147483649,1073741826,3,0,0,0,0,536870913")) << ""
            << QStringList() << 0 << kLevelRow << "layer \"level\": 3 cells are flipped or rotated";
        QTest::newRow("infinite map grows to its painted cells")
            << Map(kTileset + R"(<layer name="level" width="16" height="16"><data encoding="csv">
                   <chunk x="0" y="-2" width="8" height="2">1,2,3,0,0,0,0,1,0,0,0,0,0,0,0,0</chunk>
                   </data></layer>)",
                   8, 1, 1)
            << "" << QStringList() << 0
            << kLevelRow + "\r\n00,00,00,00,00,00,00,00\r\n00,00,00,00,00,00,00,00"
            << "";
        QTest::newRow("external XML tileset")
            << Map(R"(<tileset firstgid="1" source="tiles/game.tsx"/>)" + level)
            << R"(<?xml version="1.0"?><tileset name="game" tilecount="5" columns="0">)" + kTiles +
                   "</tileset>"
            << QStringList() << 0 << kLevelRow << "";
        QTest::newRow("external JSON tileset from a JSON map")
            << R"({"type": "map", "orientation": "orthogonal", "width": 8, "height": 1, "tilewidth": 40,
                  "tileheight": 40, "tilesets": [{"firstgid": 1, "source": "tiles/game.tsj"}],
                  "layers": [{"type": "tilelayer", "name": "level", "width": 8, "height": 1,
                              "data": [)" +
                   kRow + "]}]}"
            << R"({"type": "tileset", "name": "game", "tilecount": 3, "columns": 0, "tiles": [
                  {"id": 0, "image": "02.bmp", "properties": [{"name": "code", "type": "string", "value": "01"}]},
                  {"id": 1, "image": "07.bmp"}, {"id": 2, "image": "x\\bmpOBJ_WarnFunnel.bmp"}]})"
            << QStringList() << 0 << kLevelRow << "";
        QTest::newRow("map wider than a row")
            << Map(kTileset + Layer("level", kRow + ",2", 9), 9) << "" << QStringList() << 2
            << "layer \"level\" is 9 tiles wide"
            << "";
        QTest::newRow("--crop keeps the first 8 columns")
            << Map(kTileset + Layer("level", kRow + ",2", 9), 9) << "" << QStringList{"--crop"} << 0
            << kLevelRow << "";

        QTest::newRow("tile without a code")
            << Map(kTileset + Layer("level", "1,4,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "tile 3 of tileset \"game\" has no code property"
            << "";
        QTest::newRow("code that would split a row")
            << Map(kTileset + Layer("level", "5,0,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "tile 4 of tileset \"game\" has the code \"0,1\", which cannot be a level cell"
            << "";
        QTest::newRow("gid beyond every tileset")
            << Map(kTileset + Layer("level", "1,6,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "gid 6 is beyond every tileset"
            << "";
        QTest::newRow("layer data short of its cells")
            << Map(kTileset + "<layer name=\"level\" width=\"8\" height=\"1\"><data "
                              "encoding=\"csv\">1,2</data></layer>")
            << "" << QStringList() << 2 << "holds 2 cells where the layer has 8"
            << "";
        QTest::newRow("missing tileset file")
            << Map(R"(<tileset firstgid="1" source="none.tsx"/>)" + level) << "" << QStringList()
            << 2 << "/none.tsx: no such file"
            << "";
        QTest::newRow("malformed XML")
            << Map(kTileset + level).chopped(8) << "" << QStringList() << 2
            << "map.tmx: line 9, column 184: Premature end of document"
            << "";
        QTest::newRow("malformed JSON")
            << "{\"type\": \"map\",}"
            << "" << QStringList() << 2 << "map.tmj: not valid JSON at byte"
            << "";
        QTest::newRow("zip bomb in a zlib layer")
            << Map(kTileset + ZlibBomb(), 8, 2) << "" << QStringList() << 2
            << "the zlib data holds more than the layer's 64 bytes of cells"
            << "";
        QTest::newRow("blank that would split a row")
            << Map(kTileset + level) << "" << QStringList{"--blank", "0,0"} << 2
            << "--blank \"0,0\" cannot be a level cell"
            << "";
    }

    void mapBecomesLevelOrIsRefused()
    {
        QFETCH(QString, map);
        QFETCH(QString, tileset);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, expected);
        QFETCH(QString, warning);
        QTemporaryDir dir;
        const bool json = map.startsWith('{');
        const QString mapPath = dir.filePath(json ? "map.tmj" : "map.tmx");
        QVERIFY(WriteBytes(mapPath, map.toStdString()));
        if (!tileset.isEmpty()) {
            QDir(dir.path()).mkdir("tiles");
            QVERIFY(WriteBytes(dir.filePath(json ? "tiles/game.tsj" : "tiles/game.tsx"),
                               tileset.toStdString()));
        }
        const QString levelPath = dir.filePath("out.lvl");
        const CliResult result = RunCli(QStringList{"import", mapPath, "-o", levelPath} + options);
        if (status == 0) {
            QVERIFY2(result.status == 0, result.err.constData());
            QCOMPARE(QString::fromStdString(ReadBytes(levelPath)), expected);
            QCOMPARE(result.err.isEmpty(), warning.isEmpty());
            QVERIFY2(result.err.contains(warning.toUtf8()), result.err.constData());
            return;
        }
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.count('\n') == 1 && result.err.startsWith("hollenby-level: ") &&
                     result.err.contains(expected.toUtf8()),
                 result.err.constData());
        QVERIFY(!QFile::exists(levelPath));
    }

    // Refused by its size before a byte of it is decoded, quickly.
    void hugeLayerIsRefusedBeforeReading()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("huge.tmx"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Map(kTileset +
                       R"(<layer name="level" width="8" height="6553600"><data encoding="base64">)")
                       .chopped(7)
                       .toUtf8());
        const QByteArray block(1 << 20, 'A');
        for (int i = 0; i < 200; ++i)
            file.write(block);
        file.write("</data></layer></map>\n");
        file.close();
        const CliResult result = RunCli({"import", file.fileName(), "-o", dir.filePath("out.lvl")});
        QCOMPARE(result.status, 2);
        QVERIFY2(
            result.err.contains(
                "huge.tmx: the file is 200.0 MiB; a map or tileset file may be at most 16 MiB"),
            result.err.constData());
        QVERIFY(!QFile::exists(dir.filePath("out.lvl")));
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "import_test.moc"
