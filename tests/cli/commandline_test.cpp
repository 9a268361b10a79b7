// What every command shares: help that fits a terminal and a man page, results that must reach
// standard output or be reported, and text from files that cannot steer the terminal.

#include "clirun.h"
#include "command.h"
#include "printable.h"
#include "standardstreams.h"
#include "testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace hollenby;
using testing::RunCli;

class CommandLineTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void helpFitsEightyColumns_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{QStringLiteral("--help")};
        QTest::newRow("help help") << QStringList{QStringLiteral("help"), QStringLiteral("help")};
        for (const cli::Command& command : cli::Commands()) {
            QTest::addRow("help %s", qPrintable(command.name))
                << QStringList{QStringLiteral("help"), command.name};
            QTest::addRow("%s --help", qPrintable(command.name))
                << QStringList{command.name, QStringLiteral("--help")};
        }
    }

    void helpFitsEightyColumns()
    {
        QFETCH(QStringList, arguments);
        const testing::CliResult result = RunCli(arguments);
        QCOMPARE(result.status, 0);
        QVERIFY(result.out.startsWith("Usage: hollenby-level "));
        for (const QString& line : QString::fromUtf8(result.out).split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 80, qPrintable(line));
        // The man page and the shell completion take a command from each line of the list.
        const QString out = QString::fromUtf8(result.out);
        if (arguments.first() == QLatin1String("--help")) {
            const QString list =
                out.section(QStringLiteral("Commands:\n"), 1).section("\n\n", 0, 0);
            QCOMPARE(list.count(QLatin1Char('\n')) + 1, qsizetype(cli::Commands().size()));
        }
    }

    // A command line that cannot be read is answered as command-line tools answer it, naming
    // the option as it was typed and where the help is.
    void optionErrorsInTheProgramsWords_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("err");
        const QByteArray check = "hollenby-level check: ";
        const QByteArray tryCheck = "\nTry 'hollenby-level help check'.\n";
        QTest::newRow("unknown option") << QStringList{"check", "--bogus", "a.lvl"}
                                        << check + "unknown option '--bogus'" + tryCheck;
        QTest::newRow("unknown option with a value")
            << QStringList{"render", "--colour=red", "a.lvl"}
            << QByteArray("hollenby-level render: unknown option '--colour'\nTry "
                          "'hollenby-level help render'.\n");
        QTest::newRow("unknown short option")
            << QStringList{"check", "-z", "a.lvl"} << check + "unknown option '-z'" + tryCheck;
        QTest::newRow("missing value") << QStringList{"check", "a.lvl", "--format"}
                                       << check + "option '--format' needs a value" + tryCheck;
        QTest::newRow("value for a flag") << QStringList{"check", "--strict=yes", "a.lvl"}
                                          << check + "option '--strict' takes no value" + tryCheck;
        QTest::newRow("before any command")
            << QStringList{"--bogus"}
            << QByteArray("hollenby-level: unknown option '--bogus'\nTry 'hollenby-level "
                          "--help'.\n");
    }

    void optionErrorsInTheProgramsWords()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, err);
        const testing::CliResult result = RunCli(arguments);
        QCOMPARE(result.err, err);
        QCOMPARE(result.status, 2);
        QVERIFY(result.out.isEmpty());
    }

    void versionEitherWay()
    {
        const QByteArray version = "hollenby-level " HOLLENBY_VERSION "\n";
        QCOMPARE(RunCli({"-V"}).out, version);
        QCOMPARE(RunCli({"--version"}).out, version);
    }

    // Results that did not arrive are no success; a reader that stopped reading is no failure.
    void outputThatDoesNotArriveIsReported_data()
    {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("err");
        const QString level = QStringLiteral(SAMPLES_DIR "/long.lvl");
        const QByteArray full = "hollenby-level: standard output: no space left on device\n";
        QTest::newRow("--help into a full disk")
            << "%1 >/dev/full" << QStringList{"--help"} << 2 << full;
        QTest::newRow("--version into a full disk")
            << "%1 >/dev/full" << QStringList{"--version"} << 2 << full;
        QTest::newRow("help render into a full disk")
            << "%1 >/dev/full" << QStringList{"help", "render"} << 2 << full;
        QTest::newRow("info into a full disk")
            << "%1 >/dev/full" << QStringList{"info", level} << 2 << full;
        QTest::newRow("check into a full disk")
            << "%1 >/dev/full" << QStringList{"check", "--format", "json", level} << 2 << full;
        QTest::newRow("--version into a closed standard output")
            << "%1 >&-" << QStringList{"--version"} << 2
            << QByteArray("hollenby-level: standard output: bad file descriptor\n");
        // Far more than a pipe holds, so that the writes meet the pipe closed.
        QStringList many = {"check"};
        for (int i = 0; i < 400; ++i)
            many << QStringLiteral(SAMPLES_DIR "/corners.lvl");
        QTest::newRow("a reader that goes away")
            << "%1 | head -c 10 >/dev/null" << many << 0 << QByteArray();
        QTest::newRow("a reader that goes away, SIGPIPE ignored")
            << "trap '' PIPE; %1 | head -c 10 >/dev/null" << many << 0 << QByteArray();
    }

    void outputThatDoesNotArriveIsReported()
    {
        QFETCH(QString, shell);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QByteArray, err);
        const testing::CliResult result =
            testing::RunScript(shell.arg(QStringLiteral("\"$H\" \"$@\"")), arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(result.err, err);
    }

    // A closed standard descriptor gets /dev/null, opened so that using it still fails: no file
    // opened later can take its number.
    void closedDescriptorsAreGuarded()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(STDOUT_FILENO);
            cli::GuardStandardDescriptors();
            struct stat status = {};
            const bool guarded = ::fstat(STDOUT_FILENO, &status) == 0 && S_ISCHR(status.st_mode) &&
                                 (::fcntl(STDOUT_FILENO, F_GETFL) & O_ACCMODE) == O_RDONLY &&
                                 ::open("/dev/null", O_RDONLY) > STDERR_FILENO;
            ::_exit(guarded ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void textFromFilesIsMadeSafe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("terminal title")
            << QStringLiteral("\x1b]0;owned\x07") << "\\x1b]0;owned\\x07";
        QTest::newRow("clear screen") << QStringLiteral("\x1b[2J") << "\\x1b[2J";
        QTest::newRow("line feed and NUL") << QString::fromLatin1("a\nb\0c", 5) << "a\\x0ab\\x00c";
        QTest::newRow("C1 control") << QStringLiteral("a\u009bb") << "a\\x9bb";
        QTest::newRow("right-to-left override") << QStringLiteral("ab\u202Ec") << "ab\\u{202e}c";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << "\\u{d800}";
        QTest::newRow("letters and symbols stay") << QStringLiteral("é…😀") << "é…😀";
        QTest::newRow("64 characters stay whole") << QString(64, 'x') << QString(64, 'x');
        QTest::newRow("65 are cut with an ellipsis")
            << QString(65, 'x') << QString(63, 'x') + QStringLiteral("…");
        QTest::newRow("an escape is not cut in half")
            << QString(60, 'x') + QStringLiteral("\x1b\x1b")
            << QString(60, 'x') + QStringLiteral("…");
    }

    void textFromFilesIsMadeSafe()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(cli::Printable(text), shown);
        QVERIFY(cli::Printable(text).size() <= cli::kShownCharacters);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
