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

// A tileset of one tile, gid 6 after the game's five, whose code property is written as given.
QString CodeTileset(const QString& property)
{
    return R"(<tileset firstgid="6" name="typed" tilecount="1" columns="0"><tile id="0"><properties>)" +
           property + "</properties></tile></tileset>";
}

QString MapProperty(const QString& property)
{
    return "<properties>" + property + "</properties>";
}

// A 30 x 20 map, Tiled's default, painted in columns 3 to 9 of its first row only.
QString DefaultSizeMap()
{
    QStringList cells(600, "0");
    for (int x = 3; x <= 9; ++x)
        cells[x] = "1";
    return Map(
        kTileset +
            QStringLiteral(
                R"(<layer name="level" width="30" height="20"><data encoding="csv">%1</data></layer>)")
                .arg(cells.join(',')),
        30, 20);
}

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
        QTest::newRow("--crop 0 keeps the first 8 columns")
            << Map(kTileset + Layer("level", kRow + ",2", 9), 9) << "" << QStringList{"--crop", "0"}
            << 0 << kLevelRow << "";
        QTest::newRow("Tiled's default size, painted in 7 columns")
            << DefaultSizeMap() << "" << QStringList() << 2
            << "layer \"level\" is 30 tiles wide; a level row draws 8; its tiles are in columns 3 "
               "to 9 (x in Tiled): --crop 3 takes them"
            << "";
        QTest::newRow("--crop takes the painted columns")
            << DefaultSizeMap() << "" << QStringList{"--crop", "3"} << 0
            << "01,01,01,01,01,01,01,00" + QString("\r\n00,00,00,00,00,00,00,00").repeated(19)
            << "";
        QTest::newRow("--crop past the edge")
            << DefaultSizeMap() << "" << QStringList{"--crop", "30"} << 2
            << "--crop 30: layer \"level\" is 30 tiles wide, so its columns end at 29"
            << "";
        QTest::newRow("empty lines the map records come back")
            << Map(MapProperty(R"(<property name="trailing-empty-lines" type="int" value="2"/>)") +
                   kTileset + level)
            << "" << QStringList() << 0 << kLevelRow + "\r\n\r\n"
            << "";
        QTest::newRow("a million empty lines, in JSON")
            << R"({"type": "map", "orientation": "orthogonal", "width": 8, "height": 1, "tilewidth": 40,
                  "tileheight": 40, "properties": [{"name": "trailing-empty-lines", "type": "int",
                  "value": 1000000}], "tilesets": [{"firstgid": 1, "source": "tiles/game.tsj"}],
                  "layers": [{"type": "tilelayer", "name": "level", "width": 8, "height": 1,
                              "data": [)" +
                   kRow + "]}]}"
            << R"({"type": "tileset", "name": "game", "tiles": [
                  {"id": 0, "image": "01.bmp"}, {"id": 1, "image": "07.bmp"}, {"id": 2, "image": "bmpOBJ_WarnFunnel.bmp"}]})"
            << QStringList() << 0 << kLevelRow + QString("\r\n").repeated(1000000) << "";
        QTest::newRow("empty lines recorded as a string")
            << Map(MapProperty(R"(<property name="trailing-empty-lines" value="1"/>)") + kTileset +
                   level)
            << "" << QStringList() << 2
            << "the map property \"trailing-empty-lines\" is the string \"1\"; it must be an int "
               "from 0 to 4194304"
            << "";
        QTest::newRow("empty lines fewer than none")
            << Map(MapProperty(R"(<property name="trailing-empty-lines" type="int" value="-1"/>)") +
                   kTileset + level)
            << "" << QStringList() << 2
            << "the map property \"trailing-empty-lines\" is the int \"-1\""
            << "";
        QTest::newRow("hexagonal rotation bit cleared, no warning")
            << Map(kTileset + Layer("level", "268435457,2,3,0,0,0,0,1")) << "" << QStringList() << 0
            << kLevelRow << "";
        QTest::newRow("a gid quoted as written")
            << Map(kTileset + Layer("level", "4294967295,0,0,0,0,0,0,0")) << "" << QStringList()
            << 2 << "gid 4294967295 is beyond every tileset"
            << "";

        QTest::newRow("tile without a code")
            << Map(kTileset + Layer("level", "1,4,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "tile 3 of tileset \"game\" has no code property"
            << "";
        QTest::newRow("code that would split a row")
            << Map(kTileset + Layer("level", "5,0,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "tile 4 of tileset \"game\": its code \"0,1\" has a comma, which a level cell "
               "cannot hold"
            << "";
        const QString typed = Layer("level", "6,0,0,0,0,0,0,0");
        QTest::newRow("code typed int")
            << Map(kTileset + CodeTileset(R"(<property name="code" type="int" value="1"/>)") +
                   typed)
            << "" << QStringList() << 2
            << "tile 0 of tileset \"typed\": its code property is of type int; make it a string "
               "property, e.g. \"01\""
            << "";
        QTest::newRow("code typed float")
            << Map(kTileset + CodeTileset(R"(<property name="code" type="float" value="1.5"/>)") +
                   typed)
            << "" << QStringList() << 2 << "its code property is of type float"
            << "";
        QTest::newRow("code with a space")
            << Map(kTileset + CodeTileset(R"(<property name="code" value="0 1"/>)") + typed) << ""
            << QStringList() << 2 << "its code \"0 1\" has a space"
            << "";
        QTest::newRow("code with a line break")
            << Map(kTileset + CodeTileset("<property name=\"code\" value=\"0&#10;1\"/>") + typed)
            << "" << QStringList() << 2 << "its code \"0\\x0a1\" has a line break"
            << "";
        QTest::newRow("code with a tab")
            << Map(kTileset + CodeTileset("<property name=\"code\" value=\"0&#9;1\"/>") + typed)
            << "" << QStringList() << 2 << "its code \"0\\x091\" has a control character (\\x09)"
            << "";
        QTest::newRow("code of the game's 22 or none")
            << Map(kTileset + CodeTileset(R"(<property name="code" value="21"/>)") + typed) << ""
            << QStringList() << 0 << "21,00,00,00,00,00,00,00"
            << "map.tmx: warning: tile 0 of tileset \"typed\" has the code \"21\", which is not a "
               "tile code, so its cells are blank slots [unknown-code]";
        QTest::newRow("code 00, a blank slot on purpose")
            << Map(kTileset + CodeTileset(R"(<property name="code" value="00"/>)") + typed) << ""
            << QStringList() << 0 << "00,00,00,00,00,00,00,00"
            << "";
        QTest::newRow("code with a NUL, from JSON")
            << R"({"type": "map", "orientation": "orthogonal", "width": 8, "height": 1, "tilewidth": 40,
                  "tileheight": 40, "tilesets": [{"firstgid": 1, "name": "j", "tiles": [
                  {"id": 0, "properties": [{"name": "code", "type": "string", "value": "0\u0000"}]}]}],
                  "layers": [{"type": "tilelayer", "name": "level", "width": 8, "height": 1,
                              "data": [1,0,0,0,0,0,0,0]}]})"
            << "" << QStringList() << 2 << "its code \"0\\x00\" has a NUL"
            << "";
        QTest::newRow("JSON from before Tiled 1.2: tiles by id, properties beside")
            << R"({"type": "map", "orientation": "orthogonal", "width": 8, "height": 1, "tilewidth": 40,
                  "tileheight": 40, "tilesets": [{"firstgid": 1, "name": "old", "tilecount": 3,
                  "tiles": {"0": {"image": "02.bmp"}, "1": {"image": "07.bmp"}},
                  "tileproperties": {"0": {"code": "01"}, "2": {"code": "99"}},
                  "tilepropertytypes": {"0": {"code": "string"}, "2": {"code": "string"}}}],
                  "layers": [{"type": "tilelayer", "name": "level", "width": 8, "height": 1,
                              "data": [)" +
                   kRow + "]}]}"
            << "" << QStringList() << 0 << kLevelRow << "";
        QTest::newRow("JSON from before Tiled 1.2: a number for a code")
            << R"({"type": "map", "orientation": "orthogonal", "width": 8, "height": 1, "tilewidth": 40,
                  "tileheight": 40, "tilesets": [{"firstgid": 1, "name": "old",
                  "tileproperties": {"0": {"code": 1}}}],
                  "layers": [{"type": "tilelayer", "name": "level", "width": 8, "height": 1,
                              "data": [1,0,0,0,0,0,0,0]}]})"
            << "" << QStringList() << 2 << "its code property is of type int"
            << "";
        const QString atlas = R"(<tileset firstgid="1" name="atlas" tilewidth="40" tileheight="40">
            <image source="atlas.png" width="120" height="80"/>
            <tile id="5"><properties><property name="code" value="05"/></properties></tile></tileset>)";
        QTest::newRow("atlas without a tile count, counted from its image")
            << Map(atlas + Layer("level", "6,0,0,0,0,0,0,0")) << "" << QStringList() << 0
            << "05,00,00,00,00,00,00,00"
            << "";
        QTest::newRow("atlas without a tile count: a tile within its image")
            << Map(atlas + Layer("level", "5,0,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "tile 4 of tileset \"atlas\" has no code property"
            << "";
        QTest::newRow("atlas without a tile count: a gid past its image")
            << Map(atlas + Layer("level", "7,0,0,0,0,0,0,0")) << "" << QStringList() << 2
            << "gid 7 is beyond every tileset"
            << "";
        QTest::newRow("elements nested past 100")
            << Map(kTileset + QString("<x>").repeated(101) + QString("</x>").repeated(101) + level)
            << "" << QStringList() << 2 << "elements nest more than 100 deep"
            << "";
        // 120 references to a 200 KiB tileset: 23 MiB if each were read again.
        QString references;
        for (int i = 0; i < 120; ++i)
            references += QStringLiteral(R"(<tileset firstgid="%1" source="tiles/game.tsx"/>)")
                              .arg(1 + 5 * i);
        QTest::newRow("a tileset named many times is read once")
            << Map(references + level)
            << R"(<?xml version="1.0"?><tileset name="game" tilecount="5" columns="0">)" + kTiles +
                   "<!--" + QString(200 << 10, 'x') + "--></tileset>"
            << QStringList() << 0 << kLevelRow << "";
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
            << 2 << "map.tmx: line 3: tileset none.tsx: no such file or folder"
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
