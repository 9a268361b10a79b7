// The folder and file tests, the size text, the dialog filter and the open-file dialog.

#include "mdlutils.h"
#include "qtdialogs.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>

using namespace hollenby;

class MdlUtilsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    QString open(ui::Dialogs& dialogs, const QString& filter = "Hollenby Level|*.lvl")
    {
        return utils::ShowOpenDialog(dialogs, "Select Level to Render ", filter, "lvl");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder/sub \u00fc\u65e5")));
        QVERIFY(testing::WriteBytes(at("file"), "x"));
        QVERIFY(QFile::link(at("folder"), at("folder link")));
    }

    void pathTests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<bool>("isFile");
        QTest::newRow("folder") << at("folder") << true << false;
        QTest::newRow("backslash, spaces, non-ASCII")
            << at("folder\\sub \u00fc\u65e5") << true << false;
        QTest::newRow("link to a folder") << at("folder link") << true << false;
        QTest::newRow("file") << at("file") << false << true;
        QTest::newRow("empty text") << "" << false << false;
        QTest::newRow("missing") << at("missing") << false << false;
        QTest::newRow("device") << "/dev/null" << false << false;
        QTest::newRow("NUL inside") << at("file") + QChar(0) << false << false;
    }

    void pathTests()
    {
        QFETCH(QString, path);
        QFETCH(bool, isFolder);
        QFETCH(bool, isFile);
        ui::ScriptedDialogs dialogs;
        QCOMPARE(utils::DirExists(dialogs, path), isFolder);
        QCOMPARE(utils::FileExists(path), isFile);
        QVERIFY(dialogs.messages.isEmpty());
    }

    // In German, so the separator is seen to come from the locale.
    void fileSizeText_data()
    {
        QTest::addColumn<qint64>("size"); // -1: no such file
        QTest::addColumn<QString>("text");
        QTest::newRow("1023") << 1023LL << "1023 bytes";
        QTest::newRow("1024") << 1024LL << "1,00 Kb";
        QTest::newRow("1152: half away from zero") << 1152LL << "1,13 Kb";
        QTest::newRow("1048575") << 1048575LL << "1024,00 Kb";
        QTest::newRow("1048576") << 1048576LL << "1,00 Mb";
        QTest::newRow("1073741823") << 1073741823LL << "1024,00 Mb";
        QTest::newRow("1073741824") << 1073741824LL << "1,00 Gb";
        QTest::newRow("2147483647") << 2147483647LL << "2,00 Gb";
        QTest::newRow("beyond 32 bits") << 2147483648LL << "0 bytes";
        QTest::newRow("missing file") << -1LL << "0 bytes";
    }

    void fileSizeText()
    {
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QFile file(at("sized"));
        file.remove();
        QVERIFY(size < 0 || (file.open(QIODevice::WriteOnly) && file.resize(size))); // sparse
        QLocale::setDefault(QLocale(QLocale::German));
        const QString got = utils::FileSizeText(file.fileName());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(got, text);
    }

    // "|" becomes NUL, and a NUL ends the filter; the longest filter its 16-bit counter allows.
    void scriptedOpenDialog()
    {
        const QChar nul(0);
        ui::ScriptedDialogs dialogs;
        dialogs.answerOpenFile(QStringLiteral("  /tmp/a b.lvl  "));
        dialogs.answerOpenFile(QString());
        QCOMPARE(open(dialogs), QStringLiteral("/tmp/a b.lvl  ")); // the caller trims the rest
        // Cancelled: the dialog writes nothing, and the record was refilled since the last answer.
        QCOMPARE(open(dialogs, QStringLiteral("Levels")), QString());
        QCOMPARE(dialogs.openFileRequests.value(1).lpstrFilter, QStringLiteral("Levels") + nul);
        utils::BuildDialogFilter(QString(32767, 'x'));
        QCOMPARE(utils::OpenFileRecord().lpstrFilter, QString(32767, 'x') + nul);
        // One character more fails quietly, before any dialog.
        QCOMPARE(open(dialogs, QString(32768, 'x')), QString());
        QCOMPARE(dialogs.openFileRequests.size(), 2);
    }

    // The real Qt dialog, used as a user would, takes a new name: the default extension is added,
    // and a name over 260 is kept. An existing name and a cancel are the desktop test's.
    void realOpenDialogTakesANewLongName()
    {
        const QString longName(240, 'n');
        QStringList shown;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeWindow())) {
                poll.stop();
                shown << dialog->windowTitle() << dialog->nameFilters() << dialog->defaultSuffix();
                dialog->setDirectory(m_dir.path());
                QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                                 longName);
                QDialog* asDialog = dialog; // accept() is public only on QDialog
                asDialog->accept();
                if (dialog->isVisible()) // refused to close: fail rather than hang
                    asDialog->reject();
            }
        });
        poll.start(10);
        ui::QtDialogs dialogs;
        QCOMPARE(open(dialogs), at(longName + ".lvl"));
        QCOMPARE(shown, (QStringList{"Select Level to Render ", "Hollenby Level (*.lvl)", "lvl"}));
    }
};

QTEST_MAIN(MdlUtilsTest)
#include "mdlutils_test.moc"
