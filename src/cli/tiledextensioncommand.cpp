#include "tiledextensioncommand.h"

#include "clierror.h"
#include "standardstreams.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

namespace hollenby::cli {

namespace {

// The extension's files, built into the program so that the copy always matches it.
const QString kEmbedded = QStringLiteral(":/tiled-extension");
const QString kFolderName = QStringLiteral("hollenby-level");

// Where Tiled looks for extensions: $XDG_CONFIG_HOME/tiled/extensions, by default
// ~/.config/tiled/extensions. Tiled loads every script one folder deep, so the extension has a
// folder of its own.
QString InstalledFolder()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        throw CliError(QStringLiteral("tiled-extension: no configuration folder: neither "
                                      "XDG_CONFIG_HOME nor HOME is set"));
    return QDir(config).filePath(QStringLiteral("tiled/extensions/") + kFolderName);
}

void CopyEmbeddedFiles(const QString& into)
{
    QDirIterator files(kEmbedded, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = QDir(into).filePath(QDir(kEmbedded).relativeFilePath(from));
        if (!QDir().mkpath(QFileInfo(to).absolutePath()))
            Fail(to, QStringLiteral("cannot create its folder"));
        QFile source(from);
        QFile target(to);
        if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly) ||
            target.write(source.readAll()) != source.size() || !target.flush())
            Fail(to, QStringLiteral("cannot write: ") + target.errorString());
    }
}

// The new copy is made whole in a hidden folder beside the old one (Tiled skips hidden folders)
// and then takes its name, so Tiled never loads half an extension.
void Install(const QString& folder)
{
    const QString extensions = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(extensions))
        Fail(extensions, QStringLiteral("cannot create the folder"));
    QTemporaryDir fresh(
        QDir(extensions).filePath(QLatin1Char('.') + kFolderName + QStringLiteral(".new-XXXXXX")));
    if (!fresh.isValid())
        Fail(extensions, QStringLiteral("cannot write in it: ") + fresh.errorString());
    CopyEmbeddedFiles(fresh.path());
    // A temporary folder is private; the extension is as readable as the rest of the settings.
    QFile::setPermissions(fresh.path(), QFile::permissions(extensions));
    const QFileInfo old(folder);
    QString aside;
    if (old.exists() || old.isSymLink()) {
        if (!old.isDir() || old.isSymLink())
            Fail(folder, QStringLiteral("is in the way and not an older copy of the extension; "
                                        "move it away first"));
        aside = fresh.path() + QStringLiteral(".old");
        if (!QDir().rename(folder, aside))
            Fail(folder, QStringLiteral("cannot replace the older copy"));
    }
    if (!QDir().rename(fresh.path(), folder)) {
        if (!aside.isEmpty())
            QDir().rename(aside, folder);
        Fail(folder, QStringLiteral("cannot put the extension in place"));
    }
    if (!aside.isEmpty())
        QDir(aside).removeRecursively();
    fresh.setAutoRemove(false);
}

void Define(QCommandLineParser& parser)
{
    parser.addPositionalArgument(
        QStringLiteral("ACTION"),
        QStringLiteral("install copies the extension into Tiled's extensions folder, replacing "
                       "an older copy; path prints that folder."));
}

int Run(const QCommandLineParser& parser)
{
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    if (arguments.size() != 1 ||
        (action != QLatin1String("install") && action != QLatin1String("path")))
        throw CliError(QStringLiteral("tiled-extension: give install or path"));
    const QString folder = InstalledFolder();
    QTextStream& out = StandardOutput();
    if (action == QLatin1String("path")) {
        out << QDir::toNativeSeparators(folder) << '\n';
        return kExitClean;
    }
    Install(folder);
    out << "Installed the Tiled extension in " << QDir::toNativeSeparators(folder)
        << "; Tiled now opens and saves .lvl levels (restart Tiled if it is running).\n";
    return kExitClean;
}

} // namespace

Command TiledExtensionCommand()
{
    return {QStringLiteral("tiled-extension"), QStringLiteral("install|path"),
            QStringLiteral("Install the Tiled extension that opens and saves levels."), Define,
            Run};
}

} // namespace hollenby::cli
