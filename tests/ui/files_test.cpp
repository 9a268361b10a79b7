// Writing a whole file: the file named is replaced completely, or, when the write fails,
// everything is left as it was.

#include "files.h"
#include "runtimeerror.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace hollenby::ui;

namespace {

void Write(const QString& path, std::string_view bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// Every entry under `folder`, with a regular file's content, to see that a failed write changed
// nothing and left no temporary file.
QStringList Snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = info.filePath();
        if (info.isFile())
            entry += " = " + QString::fromStdString(ReadFileBytes(info.filePath()));
        entries << entry;
    }
    entries.sort();
    return entries;
}

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
        Write(real, "01,02,03,04\r\n");
        Chmod(real, 0640);
        QVERIFY(QFile::link(real, dir.filePath("link.lvl")));
        // Through a link its target is replaced, keeping its permissions; the link stays.
        WriteFileBytesSafely(dir.filePath("link.lvl"), "05\r\n");
        QVERIFY(QFileInfo(dir.filePath("link.lvl")).isSymLink());
        QCOMPARE(ReadFileBytes(real), std::string("05\r\n"));
        QCOMPARE(ModeOf(real) & 07777, mode_t(0640));
        WriteFileBytesSafely(dir.path() + "\\sub\\real.lvl", std::string("\0\r", 2));
        QCOMPARE(ReadFileBytes(real), std::string("\0\r", 2));
        QCOMPARE(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"real.lvl"});
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        QTest::newRow("missing folder") << "missing/level.lvl" << 76;
        QTest::newRow("folder below a file") << "shared/level.lvl/x.lvl" << 76;
        QTest::newRow("path naming a folder") << "shared" << 75;
        QTest::newRow("read-only file") << "shared/level.lvl" << 70;
        QTest::newRow("read-only folder") << "shared/level.lvl" << 70;
        QTest::newRow("device out of space") << "full.lvl" << 61;
        QTest::newRow("file size limit") << "shared/level.lvl" << 61;
    }

    void failedWriteChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(int, error);
        const QByteArray setup = QTest::currentDataTag();
        QTemporaryDir dir;
        const QString path = dir.filePath(target);
        const QString shared = dir.filePath("shared");
        // Open to everyone, so that only the file or the folder under test refuses.
        Chmod(dir.path(), 0755);
        QVERIFY(QDir().mkpath(shared));
        Chmod(shared, 0777);
        Write(shared + "/level.lvl", "03,04\r\n");
        Chmod(shared + "/level.lvl", 0666);
        const auto undo = qScopeGuard([&] { Chmod(shared, 0777); });
        if (setup == "read-only file")
            Chmod(path, 0444);
        else if (setup == "read-only folder")
            Chmod(shared, 0555);
        else if (setup == "device out of space")
            QVERIFY(QFile::link("/dev/full", path));
        const QStringList before = Snapshot(dir.path());

        int raised = 0;
        {
            // Root may write whatever the permission bits say; it is refused only as a user.
            const bool asUser = setup.startsWith("read-only") && ::geteuid() == 0;
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
            if (setup == "file size limit")
                QVERIFY(::setrlimit(RLIMIT_FSIZE, &cap) == 0);
            try {
                WriteFileBytesSafely(path, std::string(std::size_t{256} * 1024, '7'));
            } catch (const RuntimeError& e) {
                raised = e.number();
            }
        }
        QCOMPARE(raised, error);
        QCOMPARE(Snapshot(dir.path()), before);
        QVERIFY(S_ISCHR(ModeOf("/dev/full")));
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
