#include "mdlutils.h"

#include "picture.h"
#include "runtimeerror.h"
#include "sizetext.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace hollenby::utils {

namespace fs = std::filesystem;

namespace {

const QString kModule = QStringLiteral("Module mdlUtils");

// Lives for the whole run; every ShowOpenDialog call refills the fields it uses, and the dialog
// writes its outputs back into it.
ui::OpenFileName g_openFile;

constexpr int kRecordSize = 76;
constexpr int kFileBufferSize = 260;
constexpr int kHideReadOnlyFlag = 4;
constexpr qsizetype kMaxFilterLength = 32767;

// The path as the file system takes it: every "\" read as "/", encoded as the system expects.
// A path holding a NUL names nothing, since the system would read only the part before it.
std::optional<fs::path> SystemPath(const QString& path)
{
    if (path.contains(QChar(0)))
        return std::nullopt;
    const QByteArray encoded = QFile::encodeName(ui::NativePath(path));
    return fs::path(std::string(encoded.constData(), static_cast<std::size_t>(encoded.size())));
}

// Asks the file system what `path` is, following links. Nothing for a path it cannot answer for:
// missing, empty, too long, or refused.
std::optional<fs::file_status> StatusOf(const QString& path)
{
    const std::optional<fs::path> systemPath = SystemPath(path);
    if (!systemPath)
        return std::nullopt;
    std::error_code error;
    const fs::file_status status = fs::status(*systemPath, error);
    if (error)
        return std::nullopt;
    return status;
}

} // namespace

bool DirExists(ui::Dialogs& dialogs, const QString& path)
{
    try {
        const std::optional<fs::file_status> status = StatusOf(path);
        return status && fs::is_directory(*status);
    } catch (...) {
        const ui::RuntimeError error = ui::CurrentRuntimeError();
        dialogs.MsgBox(ui::ErrorText(error, QStringLiteral("DirExists"), kModule),
                       ui::MsgStyle::Plain);
        return false;
    }
}

bool FileExists(const QString& path)
{
    try {
        const std::optional<fs::file_status> status = StatusOf(path);
        return status && fs::is_regular_file(*status);
    } catch (...) {
        return false;
    }
}

QString FileSizeText(const QString& path)
{
    std::int64_t n = 0;
    try {
        if (const std::optional<fs::path> systemPath = SystemPath(path)) {
            std::error_code error;
            const std::uintmax_t size = fs::file_size(*systemPath, error);
            // A length beyond the signed 32-bit count is a failure like any other.
            if (!error && size <= static_cast<std::uintmax_t>(INT32_MAX))
                n = static_cast<std::int64_t>(size);
        }
    } catch (...) {
        n = 0;
    }
    return SizeText(n);
}

QString ShowOpenDialog(ui::Dialogs& dialogs, const QString& title, const QString& filterText,
                       const QString& defaultExtension)
{
    try {
        g_openFile.lpstrTitle = title;
        g_openFile.lpstrDefExt = defaultExtension;
        BuildDialogFilter(filterText);
        g_openFile.hInstance = static_cast<quintptr>(QCoreApplication::applicationPid());
        // One NUL, then spaces: the dialog starts with an empty file name, and a buffer that
        // still trims down to that NUL afterwards means the user cancelled.
        g_openFile.lpstrFile = QChar(0) + QString(kFileBufferSize - 1, QLatin1Char(' '));
        g_openFile.nMaxFile = kFileBufferSize;
        g_openFile.Flags = kHideReadOnlyFlag;
        g_openFile.lStructSize = kRecordSize;

        // The dialog works on its own copy and writes the whole record back when it closes, so a
        // second dialog opened meanwhile from the main window cannot answer for this one.
        ui::OpenFileName shown = g_openFile;
        dialogs.GetOpenFileName(shown);
        g_openFile = shown;

        const QString buffer = TrimSpaces(g_openFile.lpstrFile);
        if (buffer.size() == 1)
            return {};
        const qsizetype end = buffer.indexOf(QChar(0));
        return end < 0 ? buffer : buffer.left(end);
    } catch (...) {
        return {};
    }
}

void BuildDialogFilter(const QString& filterText)
{
    // The character position is a signed 16-bit count.
    if (filterText.size() > kMaxFilterLength)
        throw ui::RuntimeError::Overflow();
    QString filter;
    filter.reserve(filterText.size() + 1);
    for (const QChar character : filterText)
        filter.append(character == QLatin1Char('|') ? QChar(0) : character);
    filter.append(QChar(0));
    g_openFile.lpstrFilter = filter;
}

QString TrimSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

const ui::OpenFileName& OpenFileRecord()
{
    return g_openFile;
}

} // namespace hollenby::utils
