// check's output for machines and for people: SARIF that code-review systems accept, and on a
// terminal only what is asked for, coloured only where colour belongs.

#include "clirun.h"
#include "testsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QUrl>

using namespace hollenby;
using testing::RunCli;

namespace {

QString Require(const QJsonObject& object, const char* key, const QString& where)
{
    return object.contains(QLatin1String(key)) ? QString()
                                               : where + QStringLiteral(" lacks ") + key + '\n';
}

} // namespace

class CheckFormatsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // What SARIF 2.1.0 requires of a log, its tool and each result, and each result where the
    // finding is.
    void sarifOfTheSamples()
    {
        const QStringList levels =
            QDir(QStringLiteral(SAMPLES_DIR)).entryList({QStringLiteral("*.lvl")}, QDir::Files);
        QStringList arguments = {QStringLiteral("check")};
        for (const QString& level : levels)
            arguments << QStringLiteral(SAMPLES_DIR "/") + level;
        const testing::CliResult text = RunCli(arguments);
        const testing::CliResult sarif = RunCli(arguments + QStringList{"--format", "sarif"});
        QCOMPARE(sarif.status, text.status);

        QJsonParseError error;
        const QJsonObject log = QJsonDocument::fromJson(sarif.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(log["version"].toString(), QStringLiteral("2.1.0"));
        QCOMPARE(log["runs"].toArray().size(), 1);
        const QJsonObject run = log["runs"][0].toObject();
        QString missing = Require(run, "tool", "run");
        const QJsonObject driver = run["tool"]["driver"].toObject();
        QVERIFY(!driver["name"].toString().isEmpty());
        QCOMPARE(run["columnKind"].toString(), QStringLiteral("unicodeCodePoints"));
        QStringList rules;
        for (const QJsonValue rule : driver["rules"].toArray()) {
            missing += Require(rule.toObject(), "id", "rule");
            missing += Require(rule.toObject(), "shortDescription", "rule");
            rules << rule["id"].toString();
        }
        QCOMPARE(QSet<QString>(rules.begin(), rules.end()).size(), rules.size());

        QStringList places;
        for (const QJsonValue value : run["results"].toArray()) {
            const QJsonObject result = value.toObject();
            for (const char* key : {"ruleId", "level", "message", "locations"})
                missing += Require(result, key, "result");
            QCOMPARE(rules.value(result["ruleIndex"].toInt()), result["ruleId"].toString());
            QVERIFY(QStringList({"none", "note", "warning", "error"})
                        .contains(result["level"].toString()));
            QVERIFY(!result["message"]["text"].toString().isEmpty());
            const QJsonObject physical = result["locations"][0]["physicalLocation"].toObject();
            const QJsonObject region = physical["region"].toObject();
            places << QStringLiteral("%1:%2:%3: %4:")
                          .arg(QUrl(physical["artifactLocation"]["uri"].toString()).toLocalFile())
                          .arg(region["startLine"].toInt())
                          .arg(region["startColumn"].toInt())
                          .arg(result["level"].toString());
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        // The same findings at the same places as the text format gives them.
        QStringList textPlaces;
        for (const QString& line : QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts)) {
            if (line.endsWith(']'))
                textPlaces << line.section(QStringLiteral(": "), 0, 1) + ':';
        }
        QVERIFY(!places.isEmpty());
        QCOMPARE(places, textPlaces);
    }

    // A relative name stays relative, written as a URI.
    void sarifNamesAsUris()
    {
        QProcess process;
        process.start(QStringLiteral(HOLLENBY_LEVEL),
                      {"check", "-", "--stdin-name", "levels/my level.lvl", "--format", "sarif"});
        process.write("zz,01");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(20000));
        const QJsonObject run =
            QJsonDocument::fromJson(process.readAllStandardOutput()).object()["runs"][0].toObject();
        QCOMPARE(run["artifacts"][0]["location"]["uri"].toString(),
                 QStringLiteral("levels/my%20level.lvl"));
    }

    void onlyWhatFailsWhenQuiet_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("errors alone, no summary")
            << std::string("01,zz\n02") << QStringList() << QStringList{"line-end"};
        QTest::newRow("nothing for a level that passes")
            << std::string("01,zz\r\n\r\n02") << QStringList() << QStringList();
        QTest::newRow("warnings too with --strict")
            << std::string("01,zz\r\n\r\n02") << QStringList{"--strict"}
            << QStringList{"unknown-code"};
    }

    void onlyWhatFailsWhenQuiet()
    {
        QFETCH(std::string, text);
        QFETCH(QStringList, options);
        QFETCH(QStringList, ids);
        const QString level = m_dir.filePath(QStringLiteral("quiet.lvl"));
        QVERIFY(testing::WriteBytes(level, text));
        const QString resources = QStringLiteral(SAMPLES_DIR "/_resources");
        const testing::CliResult result =
            RunCli(QStringList{"check", "-q", level, "-r", resources} + options);
        QStringList found;
        for (const QString& line : QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts))
            found << line.section('[', -1).chopped(1);
        QCOMPARE(found, ids);
        QCOMPARE(result.status, ids.isEmpty() ? 0 : 1);
    }

    void colourOnlyWhereItBelongs_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("environment"); // NAME=VALUE, or NAME to unset
        QTest::addColumn<bool>("coloured");
        const QStringList plain = {"TERM=xterm", "NO_COLOR"};
        QTest::newRow("on a terminal") << true << QStringList() << plain << true;
        QTest::newRow("into a pipe") << false << QStringList() << plain << false;
        QTest::newRow("NO_COLOR on a terminal")
            << true << QStringList() << QStringList{"TERM=xterm", "NO_COLOR=1"} << false;
        QTest::newRow("TERM=dumb on a terminal")
            << true << QStringList() << QStringList{"TERM=dumb", "NO_COLOR"} << false;
        QTest::newRow("never on a terminal")
            << true << QStringList{"--color=never"} << plain << false;
        QTest::newRow("always into a pipe")
            << false << QStringList{"--color", "always"} << QStringList{"NO_COLOR=1"} << true;
    }

    void colourOnlyWhereItBelongs()
    {
        QFETCH(bool, terminal);
        QFETCH(QStringList, options);
        QFETCH(QStringList, environment);
        QFETCH(bool, coloured);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : environment) {
            if (setting.contains('='))
                env.insert(setting.section('=', 0, 0), setting.section('=', 1));
            else
                env.remove(setting);
        }
        const QString level = m_dir.filePath(QStringLiteral("colour.lvl"));
        QVERIFY(testing::WriteBytes(level, "01,zz\n02"));
        const QStringList arguments = QStringList{"check", level} + options;
        const QByteArray out = terminal ? testing::RunOnTerminal(arguments, env).out
                                        : RunCli(arguments, 20000, env).out;
        QVERIFY2(out.contains("error"), out.constData());
        QCOMPARE(out.contains("\x1b[1;31merror:\x1b[m"), coloured);
        QCOMPARE(out.contains('\x1b'), coloured);
    }
};

QTEST_GUILESS_MAIN(CheckFormatsTest)
#include "checkformats_test.moc"
