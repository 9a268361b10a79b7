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

#include <sys/stat.h>

using namespace hollenby;
using testing::RunCli;

namespace {

enum class Bitmap
{
    Good,
    Missing,
    Truncated,
    Oversized,
    Fifo,
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
        if (bitmap == Bitmap::Fifo &&
            (!QFile::remove(seven) || ::mkfifo(QFile::encodeName(seven).constData(), 0644) != 0))
            return {};
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
                            const std::string& finding) {
            QTest::newRow(name) << text << static_cast<int>(bitmap)
                                << QString::fromStdString(finding);
        };
        row("lone LF", "01,02\n03\r\n04", Bitmap::Good, "1:6: error: line end is a lone LF");
        row("lone CR", "01\r\n02\r03", Bitmap::Good, "2:3: error: line end is a lone CR");
        row("too many lines", testing::RepeatLines("01", 32769, false), Bitmap::Good,
            "32769:1: error: the level has 32769 lines; the editor loads at most 32768");
        row("unknown code", "01,0l,03", Bitmap::Good,
            "1:4: warning: \"0l\" is not a tile code, so it is a blank slot (did you mean 01?) "
            "[unknown-code]");
        row("space before a code", "01, 02", Bitmap::Good, "1:4: warning: \" 02\" has a space");
        row("spaces both sides of a code", "01, 01 ,02", Bitmap::Good,
            "1:4: warning: \" 01 \" has a space or tab; cells are not trimmed, so it is a blank "
            "slot, not 01 [whitespace]");
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
        row("a FIFO for a bitmap", "07", Bitmap::Fifo,
            "1:1: error: %1/07.bmp: is a FIFO, not a regular file; the editor stops drawing at the "
            "first 07 [bad-bitmap]");
        // What a cell holds is shown, never sent to the terminal as it is.
        row("escape sequence in a cell", "01,\x1b]0;owned\x07", Bitmap::Good,
            "1:4: warning: \"\\x1b]0;owned\\x07\" is not a tile code");
        row("long cell cut short", "01," + std::string(100, 'z'), Bitmap::Good,
            "1:4: warning: \"" + std::string(63, 'z') + "\u2026\" is not a tile code");
    }

    void findingsNameTheirPlace()
    {
        QFETCH(std::string, text);
        QFETCH(int, bitmap);
        QFETCH(QString, finding);
        const QString level = makeLevel(text, static_cast<Bitmap>(bitmap));
        finding.replace(QLatin1String("%1"), QFileInfo(level).path() + "/_resources");
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

    // Positions as text editors and grep count them: a line after every LF, a lone CR starting
    // none, columns in bytes from the start of that line.
    void positionsAsEditorsCount_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<QStringList>("places");
        QTest::newRow("after a lone LF")
            << std::string("07,01\n02\r\nzz")
            << QStringList{"1:4 unknown-code", "1:6 line-end", "3:1 unknown-code"};
        QTest::newRow("a lone CR starts no line")
            << std::string("07,01\r02\r\nzz")
            << QStringList{"1:4 unknown-code", "1:6 line-end", "2:1 unknown-code"};
        QTest::newRow("columns from the last LF")
            << std::string("01,02\n03,zz\r\n")
            << QStringList{"1:4 unknown-code", "1:6 line-end", "2:4 unknown-code"};
        // A level the editor saved ends in one CR LF; blank slots written on purpose are fine.
        QTest::newRow("one final CR LF") << std::string("01,02\r\n03\r\n") << QStringList();
        QTest::newRow("00 and empty cells")
            << std::string("01,00,,02,00\r\n00,01") << QStringList();
    }

    void positionsAsEditorsCount()
    {
        QFETCH(std::string, text);
        QFETCH(QStringList, places);
        const QString level = makeLevel(text, Bitmap::Good);
        const testing::CliResult result = RunCli({QStringLiteral("check"), level});
        QStringList found;
        for (const QString& line : QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(level))
                continue;
            const QStringList parts = line.mid(level.size() + 1).split(':');
            found << parts[0] + ':' + parts[1] + ' ' + line.section('[', -1).chopped(1);
        }
        QCOMPARE(found, places);
        QCOMPARE(result.status, places.isEmpty() ? 0 : 1);
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

        // One object for the run: what was checked, what could not be, every count.
        const QString absent = m_dir.filePath(QStringLiteral("absent.lvl"));
        const testing::CliResult result = RunCli(
            {QStringLiteral("check"), QStringLiteral("--format=json"), warned, absent, broken});
        QCOMPARE(result.status, 2);
        const QJsonObject run = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(run.value("files").toArray(), QJsonArray({warned, broken}));
        QCOMPARE(run.value("unreadable").toArray(),
                 QJsonArray({QJsonObject{{"file", absent}, {"reason", "no such file or folder"}}}));
        QCOMPARE(run.value("counts").toObject(),
                 QJsonObject({{"error", 1}, {"warning", 2}, {"note", 0}}));
        QCOMPARE(run.value("countsByKind").toObject(),
                 QJsonObject({{"line-end", 1}, {"unknown-code", 2}}));
        const QJsonArray findings = run.value("findings").toArray();
        QCOMPARE(findings.size(), 3);
        QCOMPARE(findings.at(0).toObject(), QJsonObject({{"file", warned},
                                                         {"line", 1},
                                                         {"column", 4},
                                                         {"severity", "warning"},
                                                         {"id", "unknown-code"},
                                                         {"message", findings.at(0)["message"]}}));
        QCOMPARE(findings.at(2)["id"].toString(), QStringLiteral("line-end"));
    }
};

QTEST_GUILESS_MAIN(CheckTest)
#include "check_test.moc"
