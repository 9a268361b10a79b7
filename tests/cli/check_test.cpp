// check: each finding at its line and column with its severity, and the exit statuses that build
// pipelines act on.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace hollenby;
using testing::RunCli;

namespace {

enum class Bitmap
{
    Good,
    Missing,
    Truncated,
    Oversized,
    UpperCase // named "07.BMP", as a tile set copied from Windows may be
};

} // namespace

class CheckTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A level with a full tile set beside it, "07.bmp" as asked.
    QString makeLevel(const std::string& text, Bitmap bitmap)
    {
        const QString folder = m_dir.filePath(QString::number(m_levels++));
        const QString resources = folder + QStringLiteral("/_resources");
        if (!testing::WriteTileSet(resources))
            return {};
        const QString seven = resources + QStringLiteral("/07.bmp");
        if (bitmap == Bitmap::Missing)
            QFile::remove(seven);
        if (bitmap == Bitmap::Truncated)
            QFile::resize(seven, 1000);
        if (bitmap == Bitmap::Oversized)
            testing::WriteBitmap(seven, Qt::red, 48, 40);
        if (bitmap == Bitmap::UpperCase)
            QFile::rename(seven, resources + QStringLiteral("/07.BMP"));
        const QString level = folder + QStringLiteral("/level.lvl");
        return testing::WriteBytes(level, text) ? level : QString();
    }
    int m_levels = 0;

private slots:
    void findingsNameTheirPlace_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<int>("bitmap");
        QTest::addColumn<QString>("finding");
        const auto row = [](const char* name, const std::string& text, Bitmap bitmap,
                            const char* finding) {
            QTest::newRow(name) << text << static_cast<int>(bitmap) << QString::fromLatin1(finding);
        };
        row("lone LF", "01,02\n03\r\n04", Bitmap::Good, "1:6: error: line end is a lone LF");
        row("lone CR", "01\r\n02\r03", Bitmap::Good, "2:3: error: line end is a lone CR");
        row("too many lines", testing::RepeatLines("01", 32769, false), Bitmap::Good,
            "32769:1: error: the level has 32769 lines; the editor loads at most 32768");
        row("unknown code", "01,0l,03", Bitmap::Good,
            "1:4: warning: \"0l\" is not a tile code, so it is a blank slot (did you mean 01?) "
            "[unknown-code]");
        row("space before a code", "01, 02", Bitmap::Good, "1:4: warning: \" 02\" has a space");
        row("tab inside a code", "01,0\t2", Bitmap::Good,
            "1:5: warning: \"0\\x092\" has a space or tab; cells are not trimmed, so it is a blank "
            "slot, not 02 [whitespace]");
        row("row of 9 cells", "01,02,03,04,05,06,08,09,10", Bitmap::Good,
            "1:25: warning: row has 9 cells; only the first 8 are drawn [long-row]");
        row("line starting with a comma", "01\r\n,02", Bitmap::Good,
            "2:1: warning: line starts with \",\"");
        row("blank line", "01\r\n\r\n\r\n02", Bitmap::Good, "2:1: note: 2 blank lines");
        row("trailing empty lines", "01\r\n\r\n\r\n", Bitmap::Good,
            "2:1: warning: 2 empty lines at the end");
        row("empty level", "", Bitmap::Good, "1:1: error: the level has no rows");
        row("no tile code at all", "zz", Bitmap::Good, "1:1: error: no cell of the level");
        row("binary file", std::string("01\r\n0\0", 6), Bitmap::Good, "2:2: error: a NUL byte");
        row("missing bitmap", "01,02\r\n03,07,07", Bitmap::Missing,
            "2:4: error: no bitmap for 07:");
        row("truncated bitmap", "07", Bitmap::Truncated, "1:1: error: ");
        row("bitmap of another size", "07", Bitmap::Oversized, "1:1: warning: ");
    }

    void findingsNameTheirPlace()
    {
        QFETCH(std::string, text);
        QFETCH(int, bitmap);
        QFETCH(QString, finding);
        const QString level = makeLevel(text, static_cast<Bitmap>(bitmap));
        const testing::CliResult result = RunCli({QStringLiteral("check"), level});
        const QString out = QString::fromUtf8(result.out);
        QVERIFY2(out.contains(level + QLatin1Char(':') + finding), qPrintable(out));
        // The finding and the summary; a lone line end, and a level of no tile code, also have a
        // cell that is no code.
        const bool alsoUnknown =
            finding.contains(QLatin1String("lone")) || finding.contains(QLatin1String("no cell"));
        QCOMPARE(out.count(QLatin1Char('\n')), alsoUnknown ? 3 : 2);
        QCOMPARE(result.status, finding.contains(QLatin1String(": error: ")) ? 1 : 0);
    }

    void exitStatusesAndJson()
    {
        const QString clean = makeLevel("01,02\r\n03", Bitmap::Good);
        const QString warned = makeLevel("01,zz", Bitmap::Good);
        const QString broken = makeLevel("01,02\n03", Bitmap::Good);
        const auto status = [](const QStringList& arguments) {
            return RunCli(QStringList{QStringLiteral("check")} + arguments).status;
        };
        QCOMPARE(status({clean}), 0);
        QCOMPARE(status({makeLevel("07", Bitmap::UpperCase)}), 0); // not a missing bitmap
        QCOMPARE(status({clean, warned}), 0);
        QCOMPARE(status({clean, warned, QStringLiteral("--strict")}), 1);
        QCOMPARE(status({clean, broken}), 1);
        QCOMPARE(status({clean, m_dir.filePath(QStringLiteral("absent.lvl"))}), 2);
        QCOMPARE(status({clean, QStringLiteral("-r"), m_dir.filePath(QStringLiteral("none"))}), 1);

        const testing::CliResult result =
            RunCli({QStringLiteral("check"), QStringLiteral("--format"), QStringLiteral("json"),
                    warned, broken});
        const QJsonArray findings = QJsonDocument::fromJson(result.out).array();
        QCOMPARE(findings.size(), 3);
        const QJsonObject first = findings.at(0).toObject();
        QCOMPARE(first.value(QStringLiteral("file")).toString(), warned);
        QCOMPARE(first.value(QStringLiteral("line")).toInt(), 1);
        QCOMPARE(first.value(QStringLiteral("column")).toInt(), 4);
        QCOMPARE(first.value(QStringLiteral("severity")).toString(), QStringLiteral("warning"));
        QCOMPARE(first.value(QStringLiteral("id")).toString(), QStringLiteral("unknown-code"));
        QCOMPARE(findings.at(2).toObject().value(QStringLiteral("id")).toString(),
                 QStringLiteral("line-end"));
    }
};

QTEST_GUILESS_MAIN(CheckTest)
#include "check_test.moc"
