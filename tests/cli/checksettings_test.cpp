// check: which findings a project or a command line silences or makes more severe, how many of
// each kind are shown, and a project file's mistakes named in one line.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

using namespace hollenby;
using testing::RunCli;

class CheckSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // proj/sub/level.lvl, with the project files given for proj/ and proj/sub/.
    QString makeLevel(const std::string& outerIni, const std::string& innerIni,
                      const std::string& text = "01,zz, 01\r\n\r\n02\r\n")
    {
        const QString project = m_dir.filePath(QString::number(m_projects++));
        const QString sub = project + QStringLiteral("/sub");
        if (!QDir().mkpath(sub) || !testing::WriteTileSet(sub + QStringLiteral("/_resources")))
            return {};
        for (const auto& [folder, ini] : {std::pair{project, outerIni}, std::pair{sub, innerIni}}) {
            if (!ini.empty() && !testing::WriteBytes(folder + "/.hollenby-level.ini", ini))
                return {};
        }
        return testing::WriteBytes(sub + "/level.lvl", text) ? sub + "/level.lvl" : QString();
    }
    int m_projects = 0;

    // "id:severity" of each finding line, in order.
    static QStringList Findings(const QByteArray& out)
    {
        QStringList found;
        for (const QString& line : QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts)) {
            const QString severity = line.section(QStringLiteral(": "), 1, 1);
            if (line.endsWith(']'))
                found << line.section('[', -1).chopped(1) + ':' + severity;
        }
        return found;
    }

private slots:
    void findingsAsChosen_data()
    {
        QTest::addColumn<std::string>("outerIni");
        QTest::addColumn<std::string>("innerIni");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("findings");
        QTest::addColumn<int>("status");
        const QStringList all = {"unknown-code:warning", "whitespace:warning", "blank-line:note"};
        QTest::newRow("defaults") << std::string() << std::string() << QStringList() << all << 0;
        QTest::newRow("--ignore with two ids")
            << std::string() << std::string() << QStringList{"--ignore", "unknown-code,blank-line"}
            << QStringList{"whitespace:warning"} << 0;
        QTest::newRow("--error fails the check")
            << std::string() << std::string() << QStringList{"--error=whitespace"}
            << QStringList{"unknown-code:warning", "whitespace:error", "blank-line:note"} << 1;
        QTest::newRow("--warn makes a note a warning")
            << std::string() << std::string() << QStringList{"--warn", "blank-line", "--strict"}
            << QStringList{"unknown-code:warning", "whitespace:warning", "blank-line:warning"} << 1;
        QTest::newRow("the later option wins")
            << std::string() << std::string()
            << QStringList{"--ignore",   "whitespace", "--error",
                           "whitespace", "--ignore",   "unknown-code"}
            << QStringList{"whitespace:error", "blank-line:note"} << 1;
        QTest::newRow("project file a folder up")
            << std::string("[check]\nignore = unknown-code, blank-line\nerror = whitespace\n")
            << std::string() << QStringList() << QStringList{"whitespace:error"} << 1;
        QTest::newRow("the command line wins over the project file")
            << std::string("[check]\nignore = whitespace,blank-line\n") << std::string()
            << QStringList{"--warn", "whitespace"}
            << QStringList{"unknown-code:warning", "whitespace:warning"} << 0;
        QTest::newRow("the nearest project file alone counts")
            << std::string("[check]\nignore = unknown-code\n")
            << std::string("; the level's own\n[check]\nignore = blank-line\n") << QStringList()
            << QStringList{"unknown-code:warning", "whitespace:warning"} << 0;
    }

    void findingsAsChosen()
    {
        QFETCH(std::string, outerIni);
        QFETCH(std::string, innerIni);
        QFETCH(QStringList, options);
        QFETCH(QStringList, findings);
        QFETCH(int, status);
        const QString level = makeLevel(outerIni, innerIni);
        const testing::CliResult result = RunCli(QStringList{"check", level} + options);
        QCOMPARE(Findings(result.out), findings);
        QCOMPARE(result.status, status);
    }

    // The summary counts every finding; the note for those not shown is no finding of the kind.
    void findingsShownAtMost_data()
    {
        QTest::addColumn<std::string>("ini");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("note");
        QTest::newRow("--max-findings 2")
            << std::string() << QStringList{"--max-findings", "2"} << 2
            << ":1:10: note: 3 more unknown-code findings not shown; the first is here\n";
        QTest::newRow("--max-findings 0 shows all")
            << std::string("[check]\nmax-findings = 1\n") << QStringList{"--max-findings", "0"} << 5
            << QString();
        QTest::newRow("max-findings of the project file")
            << std::string("[check]\nmax-findings = 4\n") << QStringList() << 4
            << ":2:4: note: 1 more unknown-code finding not shown; it is here\n";
    }

    void findingsShownAtMost()
    {
        QFETCH(std::string, ini);
        QFETCH(QStringList, options);
        QFETCH(int, shown);
        QFETCH(QString, note);
        const QString level = makeLevel(ini, {}, "01,zz,zz,zz\r\nzz,zz\r\n");
        const testing::CliResult result = RunCli(QStringList{"check", level} + options);
        const QString out = QString::fromUtf8(result.out);
        QCOMPARE(out.count(QLatin1String("[unknown-code]")), shown);
        QCOMPARE(out.contains(QLatin1String("not shown")), !note.isEmpty());
        QVERIFY2(note.isEmpty() || out.contains(level + note), qPrintable(out));
        QVERIFY2(out.endsWith(QLatin1String("0 errors, 5 warnings, 0 notes in 1 level\n")),
                 qPrintable(out));
    }

    void mistakesNamedInOneLine_data()
    {
        QTest::addColumn<std::string>("ini");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const std::string& ini, const QStringList& options,
                            const QString& message) {
            QTest::newRow(name) << ini << options << message;
        };
        row("unknown key", "[check]\nignored = whitespace\n", {},
            "@: unknown key \"ignored\"; [check] takes ignore, warn, error and max-findings");
        row("key outside [check]", "ignore = whitespace\n", {},
            "@: key \"ignore\" outside [check]");
        row("unknown section", "[chek]\nignore = whitespace\n", {}, "@: unknown section [chek]");
        row("unknown id", "[check]\nwarn = whitespace, bogus\n", {},
            "@: warn \"bogus\": no kind of finding has this id; 'hollenby-level help check' "
            "lists them");
        row("one id under two keys", "[check]\nignore = whitespace\nerror = whitespace\n", {},
            "@: \"whitespace\" is under both error and ignore; give each id once");
        row("negative max-findings", "[check]\nmax-findings = -1\n", {},
            "@: max-findings \"-1\": must be a whole number from 0");
        row("unknown id on the command line", {}, {"--ignore", "whitespace,bogus"},
            "--ignore \"bogus\": no kind of finding has this id");
        row("max-findings not a number", {}, {"--max-findings", "ten"},
            "--max-findings \"ten\": must be a whole number from 0");
    }

    void mistakesNamedInOneLine()
    {
        QFETCH(std::string, ini);
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const QString level = makeLevel({}, ini);
        message.replace('@', QFileInfo(level).path() + "/.hollenby-level.ini");
        const testing::CliResult result = RunCli(QStringList{"check", level} + options);
        QCOMPARE(result.status, 2);
        QVERIFY(result.out.isEmpty());
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.startsWith("hollenby-level: " + message) && err.count('\n') == 1,
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(CheckSettingsTest)
#include "checksettings_test.moc"
