// The folder and file tests, the size text, the dialog filter and the open-file dialog.

#include "mdlutils.h"
#include "qtdialogs.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace hollenby;
using testing::WriteBytes;

namespace {

// Runs `act` on the open-file dialog as soon as it shows, from inside its own event loop.
void WhenFileDialogShows(std::function<void(QFileDialog&)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(*dialog);
                return;
            }
        }
    });
    timer->start(10);
}

} // namespace

class MdlUtilsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString at(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder/sub")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a folder \u00fc\u65e5")));
        QVERIFY(WriteBytes(at(QStringLiteral("file")), "x"));
        QVERIFY(WriteBytes(at(QStringLiteral("read only")), "x"));
        QVERIFY(QFile::setPermissions(at(QStringLiteral("read only")), QFile::ReadOwner));
        QVERIFY(WriteBytes(at(QStringLiteral(".hidden \u00e9")), "x"));
        QVERIFY(QFile::link(at(QStringLiteral("folder")), at(QStringLiteral("folder link"))));
        QVERIFY(QFile::link(at(QStringLiteral("file")), at(QStringLiteral("file link"))));
        QVERIFY(QFile::link(at(QStringLiteral("gone")), at(QStringLiteral("dangling"))));
        QCOMPARE(::mkfifo(QFile::encodeName(at(QStringLiteral("fifo"))).constData(), 0600), 0);
    }

    void pathTests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<bool>("isFile");
        const QString deep = m_dir.path() + QStringLiteral("/x").repeated(2000);
        QTest::newRow("folder") << at("folder") << true << false;
        QTest::newRow("root") << QStringLiteral("/") << true << false;
        QTest::newRow("trailing separator") << at("folder/") << true << false;
        QTest::newRow("backslash separators") << at("folder\\sub") << true << false;
        QTest::newRow("spaces and non-ASCII") << at("a folder \u00fc\u65e5") << true << false;
        QTest::newRow("link to folder") << at("folder link") << true << false;
        QTest::newRow("file") << at("file") << false << true;
        QTest::newRow("read-only file") << at("read only") << false << true;
        QTest::newRow("hidden file") << at(".hidden \u00e9") << false << true;
        QTest::newRow("link to file") << at("file link") << false << true;
        QTest::newRow("file by backslash") << at("folder\\..\\file") << false << true;
        QTest::newRow("empty text") << QString() << false << false;
        QTest::newRow("missing") << at("missing") << false << false;
        QTest::newRow("below a file") << at("file/sub") << false << false;
        QTest::newRow("dangling link") << at("dangling") << false << false;
        QTest::newRow("device") << QStringLiteral("/dev/null") << false << false;
        QTest::newRow("pipe") << at("fifo") << false << false;
        QTest::newRow("4000 characters") << deep.left(4000) << false << false;
        QTest::newRow("NUL inside")
            << at("file") + QChar(0) + QStringLiteral("x") << false << false;
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        const QString en = QStringLiteral("en_US");
        QTest::newRow("0") << "sized" << 0LL << en << "0 bytes";
        QTest::newRow("1023") << "sized" << 1023LL << en << "1023 bytes";
        QTest::newRow("1024") << "sized" << 1024LL << en << "1.00 Kb";
        QTest::newRow("1152, half up") << "sized" << 1152LL << en << "1.13 Kb";
        QTest::newRow("1048575") << "sized" << 1048575LL << en << "1024.00 Kb";
        QTest::newRow("1048576") << "sized" << 1048576LL << en << "1.00 Mb";
        QTest::newRow("1073741823") << "sized" << 1073741823LL << en << "1024.00 Mb";
        QTest::newRow("1073741824") << "sized" << 1073741824LL << en << "1.00 Gb";
        QTest::newRow("2147483647") << "sized" << 2147483647LL << en << "2.00 Gb";
        QTest::newRow("beyond 32 bits") << "sized" << 2147483648LL << en << "0 bytes";
        QTest::newRow("German separator")
            << "sized" << 1152LL << QStringLiteral("de_DE") << "1,13 Kb";
        QTest::newRow("missing file") << "missing" << -1LL << en << "0 bytes";
        QTest::newRow("folder") << "folder" << -1LL << en << "0 bytes";
        QTest::newRow("device") << "/dev/zero" << -1LL << en << "0 bytes";
    }

    void fileSizeText()
    {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const QString path = at(name);
        if (size >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(size)); // sparse: no real disk space
        }
        QLocale::setDefault(QLocale(locale));
        const QString got = utils::FileSizeText(path);
        QLocale::setDefault(QLocale::c());
        if (size >= 0)
            QFile::remove(path);
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
        QTest::newRow("empty") << "" << QString(nul);
        QTest::newRow("empty parts") << "A||" << QStringLiteral("A") + nul + nul + nul;
        QTest::newRow("longest allowed")
            << QString(32767, QLatin1Char('x')) << QString(32767, QLatin1Char('x')) + nul;
    }

    void buildDialogFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, filter);
        utils::BuildDialogFilter(text);
        QCOMPARE(utils::OpenFileRecord().lpstrFilter, filter);
    }

    void scriptedOpenDialog_data()
    {
        QTest::addColumn<QString>("filterText");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("dialogsShown");
        QTest::addColumn<QString>("result");
        const QString filter = QStringLiteral("Hollenby Level|*.lvl");
        QTest::newRow("cancelled") << filter << "" << 1 << "";
        QTest::newRow("chosen") << filter << "/tmp/a b.lvl" << 1 << "/tmp/a b.lvl";
        QTest::newRow("spaces before the path trimmed")
            << filter << "  /tmp/x.lvl" << 1 << "/tmp/x.lvl";
        QTest::newRow("filter too long: no dialog")
            << QString(32768, QLatin1Char('x')) << "/tmp/x.lvl" << 0 << "";
    }

    void scriptedOpenDialog()
    {
        QFETCH(QString, filterText);
        QFETCH(QString, answer);
        QFETCH(int, dialogsShown);
        QFETCH(QString, result);
        ui::ScriptedDialogs dialogs;
        // A dialog before leaves a path in the shared record; the next call starts afresh.
        dialogs.answerOpenFile(QStringLiteral("/earlier.lvl"));
        QCOMPARE(utils::ShowOpenDialog(dialogs, QStringLiteral("First"), QStringLiteral("A|*.a"),
                                       QStringLiteral("a")),
                 QStringLiteral("/earlier.lvl"));
        dialogs.answerOpenFile(answer);
        QCOMPARE(utils::ShowOpenDialog(dialogs, QStringLiteral("Title "), filterText,
                                       QStringLiteral("lvl")),
                 result);
        QCOMPARE(dialogs.openFileRequests.size(), 1 + dialogsShown);
        const ui::OpenFileName& shown = dialogs.openFileRequests.last();
        if (dialogsShown == 0)
            return;
        QCOMPARE(shown.lpstrTitle, QStringLiteral("Title "));
        QCOMPARE(shown.lpstrDefExt, QStringLiteral("lvl"));
        QCOMPARE(shown.lpstrFilter,
                 QStringLiteral("Hollenby Level") + QChar(0) + "*.lvl" + QChar(0));
        QCOMPARE(shown.lpstrFile, QChar(0) + QString(259, QLatin1Char(' ')));
        QCOMPARE(shown.nMaxFile, 260);
        QCOMPARE(shown.Flags, 4);
        QCOMPARE(shown.lStructSize, 76);
        QVERIFY(shown.hInstance != 0);
    }

    // The real Qt dialog, driven as a user would.
    void realOpenDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("result");
        QTest::newRow("existing file") << "level.lvl" << true << at("level.lvl");
        QTest::newRow("new name gets the default extension") << "fresh" << true << at("fresh.lvl");
        const QString longName(240, QLatin1Char('n'));
        QTest::newRow("path longer than 260 kept whole")
            << longName << true << at(longName + QStringLiteral(".lvl"));
        QTest::newRow("cancelled") << "level.lvl" << false << "";
    }

    void realOpenDialog()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(QString, result);
        QVERIFY(WriteBytes(at(QStringLiteral("level.lvl")), "01"));
        QString title;
        QStringList filters;
        QString suffix;
        bool shown = false;
        QWidget* owner = nullptr;
        WhenFileDialogShows([&](QFileDialog& dialog) {
            shown = true;
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            suffix = dialog.defaultSuffix();
            owner = dialog.parentWidget();
            dialog.setDirectory(m_dir.path());
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QTest::keyClicks(name, typed);
            QDialog& asDialog = dialog; // accept() is public only on QDialog
            accept ? asDialog.accept() : asDialog.reject();
            // A dialog that refused to close must not hang the test.
            if (dialog.isVisible())
                asDialog.reject();
        });
        ui::QtDialogs dialogs;
        QCOMPARE(utils::ShowOpenDialog(dialogs, QStringLiteral("Select Level to Render "),
                                       QStringLiteral("Hollenby Level|*.lvl"),
                                       QStringLiteral("lvl")),
                 result);
        QVERIFY(shown);
        QCOMPARE(title, QStringLiteral("Select Level to Render "));
        QCOMPARE(filters, QStringList{QStringLiteral("Hollenby Level (*.lvl)")});
        QCOMPARE(suffix, QStringLiteral("lvl"));
        QCOMPARE(owner, nullptr);
    }
};

QTEST_MAIN(MdlUtilsTest)
#include "mdlutils_test.moc"
