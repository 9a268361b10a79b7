// Levels in pipelines: read from standard input or a shell's <(...), named as the caller says,
// and pictures and maps written to standard output exactly as into a file.

#include "clierror.h"
#include "clirun.h"
#include "inputfile.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <unistd.h>

using namespace hollenby;
using testing::RunCli;
using testing::RunScript;

class StreamsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    testing::CliResult RunScriptIn(const QString& script) const
    {
        return RunScript(script, {}, m_dir.path());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(testing::WriteTileSet(path("levels/_resources")));
        QVERIFY(testing::WriteBytes(path("levels/.hollenby-level.ini"),
                                    "[check]\nerror = unknown-code\n"));
    }

    // A pre-commit hook checks what is staged, not the file as it is in the folder, under the
    // level's own name, with its own resources folder and project file.
    void preCommitChecksTheStagedText()
    {
        QVERIFY(testing::WriteBytes(path("levels/a.lvl"), "01,zz\r\n02\r\n"));
        const testing::CliResult staged =
            RunScriptIn("git init -q . && git add levels/a.lvl && "
                        "printf '01,02\\r\\n' > levels/a.lvl && "
                        "git show :levels/a.lvl | \"$H\" check - --stdin-name "
                        "levels/a.lvl");
        QCOMPARE(QString::fromUtf8(staged.out),
                 QStringLiteral("levels/a.lvl:1:4: error: \"zz\" is not a tile code, so it is a "
                                "blank slot [unknown-code]\n"
                                "1 error, 0 warnings, 0 notes in 1 level\n"));
        QCOMPARE(staged.status, 1);
    }

    void streamsAreReadAsTheyCome_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("out");
        QTest::newRow("check <(...)")
            << "\"$H\" check <(printf '01,zz') -r levels/_resources --max-findings=1"
            << "/dev/fd/63:1:4: warning: \"zz\" is not a tile code";
        QTest::newRow("check - without a name: resources from the current folder")
            << "cd levels && printf '01,02' | \"$H\" check -"
            << "0 errors, 0 warnings";
        QTest::newRow("info of standard input, among files")
            << "printf '01,02\\r\\n' | \"$H\" info levels/a.lvl - --stdin-name b.lvl"
            << "\nfile:            b.lvl\nsize:            7 bytes";
        QTest::newRow("render from standard input, named")
            << "\"$H\" render - --stdin-name levels/b.lvl --output-dir . < levels/a.lvl && "
               "head -c 4 b.png"
            << "PNG";
    }

    void streamsAreReadAsTheyCome()
    {
        QFETCH(QString, script);
        QFETCH(QString, out);
        QVERIFY(testing::WriteBytes(path("levels/a.lvl"), "01,02\r\n"));
        const testing::CliResult result = RunScriptIn(script);
        QVERIFY2(result.out.contains(out.toUtf8()), result.out + result.err);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
    }

    // What goes to standard output is what a file would hold.
    void standardOutputAsAFile_data()
    {
        QTest::addColumn<QString>("toFile");
        QTest::addColumn<QString>("toPipe");
        QTest::newRow("render") << "\"$H\" render levels/a.lvl -o out.png"
                                << "\"$H\" render - --stdin-name levels/a.lvl -o - < levels/a.lvl";
        QTest::newRow("export as TMX")
            << "\"$H\" export levels/a.lvl -o out.tmx"
            << "\"$H\" export - --stdin-name levels/a.lvl -o - < levels/a.lvl";
        QTest::newRow("export as JSON") << "\"$H\" export levels/a.lvl -o out.tmj"
                                        << "\"$H\" export levels/a.lvl -o - --map-format json";
    }

    void standardOutputAsAFile()
    {
        QFETCH(QString, toFile);
        QFETCH(QString, toPipe);
        QVERIFY(testing::WriteBytes(path("levels/a.lvl"), "01,02\r\n07,0l\r\n"));
        QCOMPARE(RunScriptIn(toFile).status, 0);
        const QString file = path(toFile.section(' ', -1));
        const testing::CliResult piped = RunScriptIn(toPipe);
        QCOMPARE(piped.status, 0);
        QVERIFY(!piped.out.isEmpty());
        QCOMPARE(piped.out, QByteArray::fromStdString(testing::ReadBytes(file)));
    }

    void noPictureOntoATerminal()
    {
        const testing::CliResult result =
            testing::RunOnTerminal({"render", path("levels/a.lvl"), "-o", "-"});
        QCOMPARE(result.status, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY2(result.err.contains("standard output is a terminal, where a PNG would be noise"),
                 result.err.constData());
    }

    // A stream's length is known only at its end: the limit holds while it arrives.
    void streamLimitedWhileReading()
    {
        int ends[2];
        QCOMPARE(::pipe(ends), 0);
        const std::string bytes(5000, 'x');
        QCOMPARE(::write(ends[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
        ::close(ends[1]);
        const QString stream = QStringLiteral("/dev/fd/%1").arg(ends[0]);
        QVERIFY(cli::IsStream(stream));
        try {
            cli::ReadInputFile(stream, 1000, {}, QStringLiteral("<stdin>"));
            QFAIL("a stream past the limit was read");
        } catch (const cli::CliError& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("<stdin>: the file is larger than 1000 bytes"));
        }
        ::close(ends[0]);
    }
};

QTEST_GUILESS_MAIN(StreamsTest)
#include "streams_test.moc"
