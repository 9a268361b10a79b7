#pragma once
// A project's own say on check's findings: the file .hollenby-level.ini (Qt's INI format) in a
// level's folder or the nearest folder above it, whose [check] section holds the keys ignore,
// warn and error (finding ids separated by commas) and max-findings. The commands that check
// read it; the editor, which has no settings, never does.

#include "checksettings.h"

#include <QString>

#include <map>

namespace hollenby::cli {

inline constexpr char kProjectFileName[] = ".hollenby-level.ini";

class ProjectFiles
{
public:
    // The settings of the project file nearest the level named `levelName` (its folder is
    // where the level lies: see LevelName); no change to any default when no folder up to the
    // root has one. Throws CliError naming the file when it cannot be read, or holds a section,
    // key, id or value check does not know, or one id under two keys.
    const CheckSettings& settingsFor(const QString& levelName);

    // The settings in the project file `path`, with the same errors.
    static CheckSettings Read(const QString& path);

private:
    std::map<QString, CheckSettings> m_byFolder; // each folder looked in: what applies there
};

} // namespace hollenby::cli
