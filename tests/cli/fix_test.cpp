// fix: only what has one answer changes, a level is rewritten whole or not at all, a clean one
// is left alone, and --dry-run's diff is one that patch applies.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

using namespace hollenby;
using testing::RunCli;

namespace {

struct FileState
{
    ino_t inode = 0;
    timespec modified{};
    mode_t mode = 0;
};

FileState StateOf(const QString& path)
{
    struct stat status = {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return {status.st_ino, status.st_mtim, status.st_mode};
}

} // namespace

class FixTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_levels = 0;
    QString newLevel(const std::string& text)
    {
        const QString level = m_dir.filePath(QStringLiteral("level%1.lvl").arg(m_levels++));
        return testing::WriteBytes(level, text) ? level : QString();
    }

private slots:
    void onlyWhatHasOneAnswer_data()
    {
        QTest::addColumn<std::string>("before");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<std::string>("after");
        const auto row = [](const char* name, const std::string& before, const QStringList& options,
                            const std::string& after) {
            QTest::newRow(name) << before << options << after;
        };
        row("empty lines at the end", "01\r\n\r\n\r\n", {}, "01\r\n");
        row("spaces and tabs in codes", "01, 02 ,0\t3,  98", {}, "01,02,03,98");
        row("look-alike codes", "0l,O1,9B,lO,Z0", {}, "01,01,98,10,20");
        row("cells not sure of", "2l,7,zz,0 1 2,00,,O,Ol1", {}, "");
        row("cells never drawn", "01,01,01,01,01,01,01,01, 02\r\n,0l\r\n", {}, "");
        row("a level that needs nothing", "01,02\r\n", {}, "");
        row("lone line ends left alone", "01\n0l\r02\r\n\r\n\n", {}, "");
        row("lone line ends with --line-ends", "01\n0l\r02\r\n\n\n", {"--line-ends"},
            "01\r\n01\r\n02\r\n");
        row("--ignore leaves a kind alone", " 01,0l\r\n\r\n\r\n",
            {"--ignore", "whitespace,trailing-empty-lines"}, " 01,01\r\n\r\n\r\n");
    }

    void onlyWhatHasOneAnswer()
    {
        QFETCH(std::string, before);
        QFETCH(QStringList, options);
        QFETCH(std::string, after);
        const QString level = newLevel(before);
        QVERIFY(::chmod(QFile::encodeName(level).constData(), 0640) == 0);
        const FileState was = StateOf(level);
        const testing::CliResult result = RunCli(QStringList{"fix", level} + options);
        QCOMPARE(result.status, 0);
        const FileState is = StateOf(level);
        if (after.empty()) {
            // Not touched at all: a build that watches time stamps sees nothing new.
            QCOMPARE(testing::ReadBytes(level), before);
            QCOMPARE(is.modified.tv_nsec, was.modified.tv_nsec);
            QCOMPARE(is.inode, was.inode);
            QVERIFY(result.out.isEmpty());
            return;
        }
        QCOMPARE(testing::ReadBytes(level), after);
        // A new file took the level's name, keeping its permissions.
        QVERIFY(is.inode != was.inode);
        QCOMPARE(is.mode, was.mode);
        QVERIFY2(result.out.startsWith((level + ": fixed ").toUtf8()), result.out.constData());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), m_levels);
    }

    // Three hunks, a line without its end, text a terminal would obey: patch makes of the level
    // what fix makes of it.
    void dryRunDiffIsAPatch()
    {
        std::string text = "0l\r\n";
        for (int i = 0; i < 20; ++i)
            text += i == 0   ? "01\r01\r\n"
                    : i == 8 ? "01,\x1b[2J\r\n"
                    : i == 9 ? "02, 03\n"
                             : "01\r\n";
        text += "01,O1";
        const QString level = newLevel(text);
        const QString fixed = newLevel(text);
        const FileState was = StateOf(level);
        const testing::CliResult diff = RunCli({"fix", "--dry-run", "--line-ends", level});
        QCOMPARE(diff.status, 1);
        QCOMPARE(testing::ReadBytes(level), text);
        QCOMPARE(StateOf(level).modified.tv_nsec, was.modified.tv_nsec);
        // A lone CR made CR LF adds a line, which the later hunks count.
        QStringList hunks;
        for (auto match = QRegularExpression("\n(@@ [^@]* @@)\n").globalMatch(diff.out);
             match.hasNext();)
            hunks << match.next().captured(1);
        QCOMPARE(hunks, QStringList({"@@ -1,5 +1,6 @@", "@@ -8,7 +9,7 @@", "@@ -19,4 +20,4 @@"}));
        // On a terminal, what the level holds is shown without letting it steer anything.
        const QByteArray shown =
            testing::RunOnTerminal({"fix", "--dry-run", "--line-ends", "--color=never", level}).out;
        QVERIFY2(shown.contains("01,\\x1b[2J") && !shown.contains('\x1b'), shown.constData());
        QVERIFY(diff.out.contains("\n\\ No newline at end of file\n"));
        QCOMPARE(RunCli({"fix", "--line-ends", fixed}).status, 0);

        QProcess patch;
        patch.start(QStringLiteral("patch"), {"-s", level});
        patch.write(diff.out);
        patch.closeWriteChannel();
        QVERIFY(patch.waitForFinished(20000));
        QCOMPARE(patch.exitCode(), 0);
        QCOMPARE(testing::ReadBytes(level), testing::ReadBytes(fixed));
    }

    void refusedInOneLine_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("message");
        QTest::newRow("binary file") << "@bin.lvl"
                                     << "@bin.lvl: not a level but a binary file";
        QTest::newRow("standard input") << "-"
                                        << "fix: rewrites level files";
        QTest::newRow("missing file") << "@none.lvl"
                                      << "@none.lvl: no such file or folder";
    }

    void refusedInOneLine()
    {
        QFETCH(QString, level);
        QFETCH(QString, message);
        QVERIFY(testing::WriteBytes(m_dir.filePath("bin.lvl"), std::string("0l\0", 3)));
        level.replace('@', m_dir.path() + '/');
        message.replace('@', m_dir.path() + '/');
        const testing::CliResult result = RunCli({"fix", level});
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.startsWith(("hollenby-level: " + message).toUtf8()) &&
                     result.err.count('\n') == 1,
                 result.err.constData());
        QCOMPARE(testing::ReadBytes(m_dir.filePath("bin.lvl")), std::string("0l\0", 3));
    }
};

QTEST_GUILESS_MAIN(FixTest)
#include "fix_test.moc"
