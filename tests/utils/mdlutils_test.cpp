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

#include <sys/stat.h>

using namespace hollenby;

class MdlUtilsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    QString open(ui::Dialogs& dialogs,
                 const QString& filter = QStringLiteral("Hollenby Level|*.lvl"))
    {
        return utils::ShowOpenDialog(dialogs, QStringLiteral("Select Level to Render "), filter,
                                     QStringLiteral("lvl"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder/sub \u00fc\u65e5")));
        QVERIFY(testing::WriteBytes(at("read only"), "x"));
        QVERIFY(QFile::setPermissions(at("read only"), QFile::ReadOwner));
        QVERIFY(QFile::link(at("folder"), at("folder link")));
        QCOMPARE(::mkfifo(QFile::encodeName(at("fifo")).constData(), 0600), 0);
    }

    void pathTests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<bool>("isFile");
        QTest::newRow("folder") << at("folder") << true << false;
        QTest::newRow("root") << "/" << true << false;
        QTest::newRow("trailing separator") << at("folder/") << true << false;
        QTest::newRow("backslash, spaces, non-ASCII")
            << at("folder\\sub \u00fc\u65e5") << true << false;
        QTest::newRow("link to a folder") << at("folder link") << true << false;
        QTest::newRow("read-only file") << at("read only") << false << true;
        QTest::newRow("empty text") << "" << false << false;
        QTest::newRow("missing") << at("missing") << false << false;
        QTest::newRow("below a file") << at("read only/x") << false << false;
        QTest::newRow("device") << "/dev/null" << false << false;
        QTest::newRow("pipe") << at("fifo") << false << false;
        QTest::newRow("4000 characters")
            << at(QStringLiteral("x/").repeated(2000)).left(4000) << false << false;
        QTest::newRow("NUL inside") << at("read only") + QChar(0) << false << false;
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

    void fileSizeText_data()
    {
        QTest::addColumn<qint64>("size"); // -1: no such file
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        const QString en = QStringLiteral("en_US");
        QTest::newRow("0") << 0LL << en << "0 bytes";
        QTest::newRow("1023") << 1023LL << en << "1023 bytes";
        QTest::newRow("1024") << 1024LL << en << "1.00 Kb";
        QTest::newRow("1152, half away from zero") << 1152LL << en << "1.13 Kb";
        QTest::newRow("1048575") << 1048575LL << en << "1024.00 Kb";
        QTest::newRow("1048576") << 1048576LL << en << "1.00 Mb";
        QTest::newRow("1073741823") << 1073741823LL << en << "1024.00 Mb";
        QTest::newRow("1073741824") << 1073741824LL << en << "1.00 Gb";
        QTest::newRow("2147483647") << 2147483647LL << en << "2.00 Gb";
        QTest::newRow("beyond 32 bits") << 2147483648LL << en << "0 bytes";
        QTest::newRow("German separator") << 1152LL << "de_DE"
                                          << "1,13 Kb";
        QTest::newRow("missing file") << -1LL << en << "0 bytes";
    }

    void fileSizeText()
    {
        QFETCH(qint64, size);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFile file(at("sized"));
        file.remove();
        if (size >= 0) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size)); // sparse: takes no disk space
        }
        QLocale::setDefault(QLocale(locale));
        const QString got = utils::FileSizeText(file.fileName());
        QLocale::setDefault(QLocale::c());
        file.remove();
        QCOMPARE(got, text);
    }

    void buildDialogFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("filter");
        const QChar nul(0);
        QTest::newRow("one pair") << "Hollenby Level|*.lvl"
                                  << QStringLiteral("Hollenby Level") + nul + "*.lvl" + nul;
        QTest::newRow("no bar") << "Levels" << QStringLiteral("Levels") + nul;
        QTest::newRow("empty parts") << "A||" << QStringLiteral("A") + nul + nul + nul;
        QTest::newRow("longest allowed") << QString(32767, 'x') << QString(32767, 'x') + nul;
    }

    void buildDialogFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, filter);
        utils::BuildDialogFilter(text);
        QCOMPARE(utils::OpenFileRecord().lpstrFilter, filter);
    }

    void openDialogRecord()
    {
        ui::ScriptedDialogs dialogs;
        dialogs.answerOpenFile(QStringLiteral("  /tmp/a b.lvl  "));
        dialogs.answerOpenFile(QString());
        QCOMPARE(open(dialogs), QStringLiteral("/tmp/a b.lvl  ")); // the caller trims the rest
        QCOMPARE(open(dialogs), QString());                        // cancelled
        // Each dialog starts from a refilled record, not from what the last one wrote.
        for (const ui::OpenFileName& shown : dialogs.openFileRequests) {
            QCOMPARE(shown.lpstrTitle, QStringLiteral("Select Level to Render "));
            QCOMPARE(shown.lpstrDefExt, QStringLiteral("lvl"));
            QCOMPARE(shown.lpstrFilter,
                     QStringLiteral("Hollenby Level") + QChar(0) + "*.lvl" + QChar(0));
            QCOMPARE(shown.lpstrFile, QChar(0) + QString(259, ' '));
            QCOMPARE(shown.nMaxFile, 260);
            QCOMPARE(shown.Flags, 4);
            QCOMPARE(shown.lStructSize, 76);
        }
        // A filter too long for its 16-bit counter fails quietly, before any dialog.
        QCOMPARE(open(dialogs, QString(32768, 'x')), QString());
        QCOMPARE(dialogs.openFileRequests.size(), 2);
    }

    // The real Qt dialog, found among the top-level windows and used as a user would.
    void realOpenDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("result");
        const QString longName(240, 'n');
        QTest::newRow("existing file") << "level.lvl" << true << at("level.lvl");
        QTest::newRow("new name, default extension") << "fresh" << true << at("fresh.lvl");
        QTest::newRow("path over 260 kept whole") << longName << true << at(longName + ".lvl");
        QTest::newRow("cancelled") << "level.lvl" << false << "";
    }

    void realOpenDialog()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(QString, result);
        QVERIFY(testing::WriteBytes(at("level.lvl"), "01"));
        QFileDialog* seen = nullptr;
        QStringList shown;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(widget);
                if (!dialog || !dialog->isVisible() || seen)
                    continue;
                seen = dialog;
                shown << dialog->windowTitle() << dialog->nameFilters() << dialog->defaultSuffix();
                dialog->setDirectory(m_dir.path());
                QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                                 typed);
                QDialog* asDialog = dialog; // accept() is public only on QDialog
                accept ? asDialog->accept() : asDialog->reject();
                if (dialog->isVisible()) // refused to close: fail rather than hang
                    asDialog->reject();
                QVERIFY(!dialog->parentWidget());
            }
        });
        poll.start(10);
        ui::QtDialogs dialogs;
        QCOMPARE(open(dialogs), result);
        QCOMPARE(shown, (QStringList{"Select Level to Render ", "Hollenby Level (*.lvl)", "lvl"}));
    }
};

QTEST_MAIN(MdlUtilsTest)
#include "mdlutils_test.moc"
