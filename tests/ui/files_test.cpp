// Writing a whole file: the file named is replaced completely, or, when the write fails,
// everything is left as it was.

#include "files.h"
#include "runtimeerror.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace hollenby::ui;
using hollenby::testing::Snapshot;
using hollenby::testing::WriteBytes;

namespace {

void Chmod(const QString& path, mode_t mode)
{
    QVERIFY(::chmod(QFile::encodeName(path).constData(), mode) == 0);
}

mode_t ModeOf(const QString& path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

} // namespace

class FilesTest : public QObject
{
    Q_OBJECT

private slots:
    void writeReachesTheFileItNames()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("sub"));
        const QString real = dir.filePath("sub/real.lvl");
        QVERIFY(WriteBytes(real, "01,02,03,04\r\n"));
        Chmod(real, 0640);
        QVERIFY(QFile::link(real, dir.filePath("link.lvl")));
        // Through a link its target is replaced, keeping its permissions; the link stays.
        WriteFileBytesSafely(dir.filePath("link.lvl"), "05\r\n");
        QVERIFY(QFileInfo(dir.filePath("link.lvl")).isSymLink());
        QCOMPARE(ReadFileBytes(real), std::string("05\r\n"));
        QCOMPARE(ModeOf(real) & 07777, mode_t(0640));
        QCOMPARE(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"real.lvl"});
    }

    // Each row: the file written, how the folders are set up, whether the write may fall back
    // to writing in place, and the error it gives (0: written). A write that fails changes
    // nothing; one that succeeds changes only the file's content, and leaves no temporary file.
    void writeAsAnOrdinaryUser_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<int>("error");
        QTest::newRow("missing folder") << "missing/level.lvl" << true << 76;
        QTest::newRow("folder below a file") << "shared/level.lvl/x.lvl" << true << 76;
        QTest::newRow("path naming a folder") << "shared" << true << 75;
        QTest::newRow("read-only file") << "shared/level.lvl" << true << 70;
        QTest::newRow("read-only folder, refused") << "shared/level.lvl" << false << 70;
        QTest::newRow("read-only folder, in place") << "shared/level.lvl" << true << 0;
        QTest::newRow("read-only folder, new file") << "shared/new.lvl" << true << 70;
        QTest::newRow("read-only folder, unreadable file") << "shared/level.lvl" << true << 70;
        QTest::newRow("sticky folder, in place") << "shared/level.lvl" << true << 0;
        QTest::newRow("device out of space") << "full.lvl" << true << 61;
        QTest::newRow("file size limit") << "shared/level.lvl" << true << 61;
        QTest::newRow("read-only folder, file size limit") << "shared/level.lvl" << true << 61;
    }

    void writeAsAnOrdinaryUser()
    {
        QFETCH(QString, target);
        QFETCH(bool, inPlace);
        QFETCH(int, error);
        const QByteArray setup = QTest::currentDataTag();
        QTemporaryDir dir;
        const QString path = dir.filePath(target);
        const QString shared = dir.filePath("shared");
        // Open to everyone, so that only the file or the folder under test refuses; the level is
        // the folder owner's, as in a shared folder of levels.
        Chmod(dir.path(), 0755);
        QVERIFY(QDir().mkpath(shared));
        Chmod(shared, 0777);
        QVERIFY(WriteBytes(shared + "/level.lvl", "03,04\r\n"));
        Chmod(shared + "/level.lvl", 0666);
        const auto undo = qScopeGuard([&] { Chmod(shared, 0777); });
        if (setup.contains("read-only file"))
            Chmod(path, 0444);
        if (setup.contains("unreadable file"))
            Chmod(path, 0222);
        if (setup.startsWith("read-only folder"))
            Chmod(shared, 0555);
        else if (setup.startsWith("sticky folder"))
            Chmod(shared, 01777);
        else if (setup == "device out of space")
            QVERIFY(QFile::link("/dev/full", path));
        const QStringList before = Snapshot(dir.path());
        const std::string bytes(std::size_t{256} * 1024, '7');

        int raised = 0;
        {
            // Root may write whatever the permission bits say, and replace another user's file
            // in a sticky folder; it is refused only as an ordinary user.
            const bool asUser = ::geteuid() == 0;
            if (asUser && ::seteuid(65534) != 0)
                QSKIP("cannot act as an ordinary user to be refused");
            const auto privileged =
                qScopeGuard([asUser] { QVERIFY(!asUser || ::seteuid(0) == 0); });
            // Past a file size limit a write fails part-way, for any user, as on a full disk
            // (EFBIG, once the signal that would end the process is ignored).
            rlimit limit = {};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
            const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
            const auto uncapped = qScopeGuard([&] {
                QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
                std::signal(SIGXFSZ, oldSignal);
            });
            const rlimit cap = {rlim_t{64} * 1024, limit.rlim_max};
            if (setup.endsWith("file size limit"))
                QVERIFY(::setrlimit(RLIMIT_FSIZE, &cap) == 0);
            try {
                WriteFileBytesSafely(path, bytes,
                                     inPlace ? InPlaceFallback::WhenRefusedOnly
                                             : InPlaceFallback::Refuse);
            } catch (const RuntimeError& e) {
                raised = e.number();
            }
        }
        QCOMPARE(raised, error);
        QStringList after = before;
        if (error == 0) {
            after.replaceInStrings(QRegularExpression(" = 03,04\r\n$"),
                                   " = " + QString::fromStdString(bytes));
            QCOMPARE(ModeOf(path) & 07777, mode_t(0666));
        }
        QCOMPARE(Snapshot(dir.path()), after);
        QVERIFY(S_ISCHR(ModeOf("/dev/full")));
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
