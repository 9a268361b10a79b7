// Writing a whole file: the file named is replaced completely, or, when the write fails,
// everything is left as it was.

#include "files.h"
#include "runtimeerror.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#include <sys/mount.h>
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

// Every entry under `folder` with a regular file's content and a link's target, to see that a
// failed write changed nothing and left no temporary file.
QStringList Snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = info.filePath();
        if (info.isSymLink())
            entry += " -> " + info.symLinkTarget();
        else if (info.isFile())
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

mode_t ModeOf(const char* path)
{
    struct stat status = {};
    return ::stat(path, &status) == 0 ? status.st_mode : 0;
}

// Makes root see permissions as any user does, for as long as it lives.
class UnprivilegedScope
{
public:
    UnprivilegedScope() : m_wasRoot(::geteuid() == 0)
    {
        m_ok = !m_wasRoot || ::seteuid(65534) == 0;
    }
    ~UnprivilegedScope()
    {
        if (m_wasRoot && m_ok)
            QVERIFY(::seteuid(0) == 0);
    }
    bool ok() const { return m_ok; }

private:
    bool m_wasRoot;
    bool m_ok;
};

class TmpfsMount
{
public:
    TmpfsMount(const QString& where, const char* options) : m_where(QFile::encodeName(where))
    {
        QDir().mkpath(where);
        m_ok = ::mount("tmpfs", m_where.constData(), "tmpfs", 0, options) == 0;
    }
    ~TmpfsMount()
    {
        if (m_ok)
            ::umount2(m_where.constData(), MNT_DETACH);
    }
    bool ok() const { return m_ok; }

private:
    QByteArray m_where;
    bool m_ok;
};

enum class Setup
{
    MissingFolder,
    BelowAFile,
    Folder,
    ReadOnlyFile,
    ReadOnlyFolder,
    FullDevice,
    FullDisk
};

} // namespace

Q_DECLARE_METATYPE(Setup)

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
        QCOMPARE(ModeOf(QFile::encodeName(real).constData()) & 07777, mode_t(0640));
        WriteFileBytesSafely(dir.path() + "\\sub\\real.lvl", std::string("\0\r", 2));
        QCOMPARE(ReadFileBytes(real), std::string("\0\r", 2));
        QCOMPARE(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"real.lvl"});
    }

    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        QTest::newRow("missing folder")
            << Setup::MissingFolder << QString("missing/level.lvl") << 76;
        QTest::newRow("folder below a file")
            << Setup::BelowAFile << QString("level.lvl/x.lvl") << 76;
        QTest::newRow("path naming a folder") << Setup::Folder << QString("shared") << 75;
        QTest::newRow("read-only file") << Setup::ReadOnlyFile << QString("shared/level.lvl") << 70;
        QTest::newRow("folder refusing new files")
            << Setup::ReadOnlyFolder << QString("shared/level.lvl") << 70;
        QTest::newRow("device out of space") << Setup::FullDevice << QString("full.lvl") << 61;
        QTest::newRow("disk full") << Setup::FullDisk << QString("small/level.lvl") << 61;
    }

    void failedWriteChangesNothing()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, target);
        QFETCH(int, error);
        QTemporaryDir dir;
        // Open to everyone, so that only the file or the folder under test refuses.
        Chmod(dir.path(), 0755);
        QVERIFY(QDir().mkpath(dir.filePath("shared")));
        Chmod(dir.filePath("shared"), 0777);
        Write(dir.filePath("level.lvl"), "01,02\r\n");
        Write(dir.filePath("shared/level.lvl"), "03,04\r\n");
        Chmod(dir.filePath("shared/level.lvl"), 0666);

        std::unique_ptr<TmpfsMount> small;
        const bool refusedByPermission =
            setup == Setup::ReadOnlyFile || setup == Setup::ReadOnlyFolder;
        if (setup == Setup::ReadOnlyFile)
            Chmod(dir.filePath(target), 0444);
        if (setup == Setup::ReadOnlyFolder)
            Chmod(dir.filePath("shared"), 0555);
        if (setup == Setup::FullDevice)
            QVERIFY(QFile::link("/dev/full", dir.filePath(target)));
        if (setup == Setup::FullDisk) {
            small = std::make_unique<TmpfsMount>(dir.filePath("small"), "size=64k");
            if (!small->ok())
                QSKIP("mounting a small tmpfs is not permitted here");
            Write(dir.filePath(target), "05,06\r\n");
        }
        const QStringList before = Snapshot(dir.path());

        std::optional<RuntimeError> raised;
        {
            // Root may write whatever the permission bits say; it is refused only as a user.
            std::optional<UnprivilegedScope> unprivileged;
            if (refusedByPermission)
                unprivileged.emplace();
            if (unprivileged && !unprivileged->ok())
                QSKIP("cannot act as an ordinary user to be refused");
            try {
                WriteFileBytesSafely(dir.filePath(target), std::string(256 * 1024, '7'));
            } catch (const RuntimeError& e) {
                raised = e;
            }
        }
        QVERIFY(raised.has_value());
        QCOMPARE(raised->number(), error);
        QCOMPARE(Snapshot(dir.path()), before);
        QVERIFY(S_ISCHR(ModeOf("/dev/full")));
        Chmod(dir.filePath("shared"), 0777);
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
