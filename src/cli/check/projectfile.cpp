#include "projectfile.h"

#include "clierror.h"
#include "inputfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <vector>

namespace hollenby::cli {

namespace {

// A project file holds a few lines; anything much larger is something else under its name.
constexpr qint64 kMaxProjectFileBytes = qint64{64} * 1024;

const QString kSection = QStringLiteral("check");

struct Key
{
    const char* name;
    CheckSettings::Treatment treatment;
};

constexpr Key kTreatmentKeys[] = {{"ignore", CheckSettings::Treatment::Ignore},
                                  {"warn", CheckSettings::Treatment::Warning},
                                  {"error", CheckSettings::Treatment::Error}};

[[noreturn]] void UnknownKey(const QString& path, const QString& key)
{
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    const QString known = QStringLiteral("[check] takes ignore, warn, error and max-findings");
    if (slash < 0)
        Fail(path, QStringLiteral("key \"%1\" outside [check]; %2").arg(key, known));
    if (key.left(slash) != kSection)
        Fail(path, QStringLiteral("unknown section [%1]; %2").arg(key.left(slash), known));
    Fail(path, QStringLiteral("unknown key \"%1\"; %2").arg(key.mid(slash + 1), known));
}

} // namespace

CheckSettings ProjectFiles::Read(const QString& path)
{
    // Refuses what is no regular file, or unreadable, or far too large, in the usual words.
    ReadInputFile(path, kMaxProjectFileBytes, [](qint64) {
        return QStringLiteral("larger than %1 KiB; a project file holds a few lines")
            .arg(kMaxProjectFileBytes / 1024);
    });
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        Fail(path, QStringLiteral("not in the INI format"));

    CheckSettings settings;
    std::map<QString, QString> keyOfId; // so that no id is given two treatments
    for (const QString& key : file.allKeys()) {
        const QString name = key.mid(kSection.size() + 1);
        const QString value = file.value(key).toStringList().join(QLatin1Char(','));
        if (!key.startsWith(kSection + QLatin1Char('/'))) {
            UnknownKey(path, key);
        } else if (name == QLatin1String("max-findings")) {
            bool ok = false;
            const int max = value.trimmed().toInt(&ok);
            if (!ok || max < 0)
                Fail(path, QStringLiteral("max-findings \"%1\": must be a whole number from 0 "
                                          "(0 shows every finding)")
                               .arg(value));
            settings.setMaxFindings(max);
        } else {
            const auto* treatment = std::find_if(
                std::begin(kTreatmentKeys), std::end(kTreatmentKeys),
                [&name](const Key& known) { return name == QLatin1String(known.name); });
            if (treatment == std::end(kTreatmentKeys))
                UnknownKey(path, key);
            const QStringList ids = CheckSettings::Ids(value, path + QStringLiteral(": ") + name);
            for (const QString& id : ids) {
                const auto [given, fresh] = keyOfId.emplace(id, name);
                if (!fresh && given->second != name)
                    Fail(path, QStringLiteral("\"%1\" is under both %2 and %3; give each id once")
                                   .arg(id, given->second, name));
            }
            settings.set(ids, treatment->treatment);
        }
    }
    return settings;
}

const CheckSettings& ProjectFiles::settingsFor(const QString& levelName)
{
    const QString start = QDir::cleanPath(QFileInfo(levelName).absolutePath());
    std::vector<QString> passed; // folders without a file of their own, nearest first
    CheckSettings found;
    for (QString folder = start;;) {
        if (const auto known = m_byFolder.find(folder); known != m_byFolder.end()) {
            found = known->second;
            break;
        }
        const QString file = QDir(folder).filePath(QLatin1String(kProjectFileName));
        if (QFileInfo(file).exists() || QFileInfo(file).isSymLink()) {
            found = m_byFolder.emplace(folder, Read(file)).first->second;
            break;
        }
        passed.push_back(folder);
        if (folder == QLatin1String("/"))
            break;
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        folder = slash <= 0 ? QStringLiteral("/") : folder.left(slash);
    }
    for (const QString& folder : passed)
        m_byFolder.emplace(folder, found);
    return m_byFolder.at(start);
}

} // namespace hollenby::cli
