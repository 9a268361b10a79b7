#pragma once
// Runs Debian's Tiled with the extension installed in a private home, offscreen, as CI does, and
// hollenby-level beside it.

#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace hollenby::testing {

const QString kSamples = QStringLiteral(SAMPLES_DIR);

class TiledHome
{
public:
    // A home of its own: nothing of the user's Tiled settings or extensions is seen or touched.
    TiledHome()
    {
        m_environment.insert(QStringLiteral("HOME"), m_home.path());
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath("config"));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath("runtime"));
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QDir().mkpath(m_home.filePath("runtime"));
        QFile::setPermissions(m_home.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString extensions() const { return m_home.filePath("config/tiled/extensions"); }

    CliResult tiled(const QStringList& arguments, const QString& program = "tiled") const
    {
        return RunProgram(program, arguments, 60000, m_environment);
    }
    CliResult cli(const QStringList& arguments) const
    {
        return RunProgram(HOLLENBY_LEVEL, arguments, 60000, m_environment);
    }

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

// What the extension said: Tiled prints a script's lines to stderr after "qml: ".
inline QStringList ExtensionLines(const QByteArray& err)
{
    QStringList lines;
    for (const QString& line : QString::fromUtf8(err).split('\n')) {
        if (line.startsWith(QLatin1String("qml: ")))
            lines << line.mid(5);
    }
    return lines;
}

// A folder holding a copy of the sample tile set as "_resources", for levels written into it.
inline bool CopySampleResources(const QString& folder)
{
    return RunProgram("cp", {"-r", kSamples + "/_resources", folder}, 60000,
                      QProcessEnvironment::systemEnvironment())
               .status == 0;
}

} // namespace hollenby::testing
