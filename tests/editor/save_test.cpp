// "Save and Refresh": the raw text and one CR LF replace the level file, the view is redrawn
// from it, and nothing else is reloaded.

#include "testsupport.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace hollenby;
using testing::MainWindowFixture;
using testing::ReadBytes;
using testing::RepeatLines;
using testing::WriteBytes;

class SaveTest : public QObject
{
    Q_OBJECT

private slots:
    void writesTextAndOneCrLf_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("withResources");
        QTest::newRow("replaces the file and redraws") << true << true;
        QTest::newRow("creates a new file") << false << true;
        QTest::newRow("no resources: writes, draws nothing") << true << false;
    }

    void writesTextAndOneCrLf()
    {
        QFETCH(bool, existing);
        QFETCH(bool, withResources);
        MainWindowFixture f;
        const QString level = f.path("level.lvl");
        if (existing)
            QVERIFY(WriteBytes(level, "20,20,20\r\n20\r\n20\r\n20\r\n"));
        f.setPaths(level, withResources ? f.resources() : QString());
        f.c().txtLvlRaw->setText("01,02\r\n03,04");
        const QStringList before = f.visibleTiles();
        f.c().cmdSaveRefresh->click();
        QCOMPARE(ReadBytes(level), std::string("01,02\r\n03,04\r\n"));
        const QStringList twoRows{"0,600=01", "585,600=02", "0,1200=03", "585,1200=04"};
        QCOMPARE(f.visibleTiles(), withResources ? twoRows : before);
        QCOMPARE(f.dialogs.texts(), QStringList());
    }

    void everyLoadAndSaveAddsOneCrLf()
    {
        MainWindowFixture f;
        std::string original;
        for (int c = 0; c < 256; ++c)
            original += static_cast<char>(c);
        original += "01\r02\n03\r\n04";
        const QString level = f.writeLevel(original);
        QVERIFY(f.load(level));
        f.c().cmdSaveRefresh->click();
        QCOMPARE(ReadBytes(level), original + "\r\n");
        QVERIFY(f.load(level));
        f.c().cmdSaveRefresh->click();
        QCOMPARE(ReadBytes(level), original + "\r\n\r\n");
        QCOMPARE(f.dialogs.texts(), QStringList());
    }

    void addedRowsLieBeyondScrollRange()
    {
        MainWindowFixture f;
        const QString level = f.writeLevel(RepeatLines("01", 3, false));
        QVERIFY(f.load(level));
        f.c().VScroll1->setValue(2);
        QStringList rows; // row n shows code n
        for (int n = 1; n <= 20; ++n)
            rows << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        f.c().txtLvlRaw->setText(rows.join("\r\n"));
        f.c().cmdSaveRefresh->click();
        // Redrawn from row 2 as far as the view reaches (13 rows); the range is left alone.
        const QStringList tiles = f.visibleTiles();
        QCOMPARE(tiles.size(), 13);
        QCOMPARE(tiles.first(), QStringLiteral("0,600=02"));
        QCOMPARE(tiles.last(), QStringLiteral("0,7800=14"));
        QCOMPARE(f.c().VScroll1->Max(), 2);
        QCOMPARE(f.c().VScroll1->Value(), 2);
        QVERIFY(f.load(level));
        QCOMPARE(f.c().VScroll1->Max(), 20);
    }

    void secondSaveDuringRedrawLeavesWholeFile()
    {
        MainWindowFixture f;
        const QString level = f.writeLevel("01");
        f.c().txtLvlRaw->setText(QString::fromStdString(RepeatLines("01,02,03", 30, false)));
        bool inFirstSave = true;
        bool secondRanInside = false;
        QTimer::singleShot(0, [&] {
            secondRanInside = inFirstSave;
            f.c().txtLvlRaw->setText(QStringLiteral("04"));
            f.c().cmdSaveRefresh->click();
        });
        f.c().cmdSaveRefresh->click();
        inFirstSave = false;
        QVERIFY(secondRanInside);
        QCOMPARE(ReadBytes(level), std::string("04\r\n"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"level.lvl"});
        QCOMPARE(f.dialogs.texts(), QStringList());
    }

    // A shared folder of levels: the level may be written, its folder may not.
    void savesALevelInAFolderItMayNotWrite()
    {
        MainWindowFixture f;
        const QString level = f.writeLevel("05,06");
        QVERIFY(f.load(level));
        QVERIFY(::chmod(QFile::encodeName(level).constData(), 0666) == 0);
        QVERIFY(::chmod(QFile::encodeName(f.dir.path()).constData(), 0555) == 0);
        f.c().txtLvlRaw->setText("07,08");
        {
            // Root may write any folder; an ordinary user may not write this one.
            const bool asUser = ::geteuid() == 0;
            if (asUser && ::seteuid(65534) != 0)
                QSKIP("cannot act as an ordinary user");
            const auto privileged =
                qScopeGuard([asUser] { QVERIFY(!asUser || ::seteuid(0) == 0); });
            f.c().cmdSaveRefresh->click();
        }
        QVERIFY(::chmod(QFile::encodeName(f.dir.path()).constData(), 0700) == 0);
        QCOMPARE(f.dialogs.texts(), QStringList());
        QCOMPARE(ReadBytes(level), std::string("07,08\r\n"));
        QCOMPARE(f.visibleTiles(), (QStringList{"0,600=07", "585,600=08"}));
    }

    void refusalsLeaveFileUntouched_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("typedPath"); // in the level's folder; empty for none
        QTest::addColumn<QString>("message");
        QTest::newRow("empty raw text") << QString() << QStringLiteral("level.lvl")
                                        << "Validation Error; no level data to save";
        QTest::newRow("empty level path") << QStringLiteral("01") << QString()
                                          << "Validation Error; missing level or resources folder";
        QTest::newRow("failed write")
            << QStringLiteral("07") << QStringLiteral("missing\\level.lvl")
            << "Error 76 (Path not found) in procedure "
               "cmdSaveRefresh_Click of Form frmMain";
    }

    void refusalsLeaveFileUntouched()
    {
        QFETCH(QString, raw);
        QFETCH(QString, typedPath);
        QFETCH(QString, message);
        MainWindowFixture f;
        const QString level = f.writeLevel("05,06");
        QVERIFY(f.load(level));
        const QStringList tiles = f.visibleTiles();
        // A path typed after the load, without Enter, is where the text goes.
        f.c().txtFileLocation->setText(typedPath.isEmpty() ? QString()
                                                           : f.dir.path() + '\\' + typedPath);
        f.c().txtLvlRaw->setText(raw);
        f.c().cmdSaveRefresh->click();
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Hollenby Systems - (Level Editor)"));
        QCOMPARE(f.dialogs.messages[0].style,
                 message.startsWith("Error") ? ui::MsgStyle::Plain : ui::MsgStyle::Exclamation);
        QCOMPARE(ReadBytes(level), std::string("05,06"));
        QVERIFY(!QFileInfo::exists(f.path("missing")));
        QCOMPARE(f.visibleTiles(), tiles);
    }
};

QTEST_MAIN(SaveTest)
#include "save_test.moc"
