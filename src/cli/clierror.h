#pragma once
// How a command that cannot run says so: one line on stderr naming the file and the reason, and
// exit status 2.

#include <QString>

#include <stdexcept>

namespace hollenby::ui {
class RuntimeError;
}

namespace hollenby::cli {

class CliError : public std::runtime_error
{
public:
    explicit CliError(QString message);
    // "FILE: reason"
    CliError(const QString& file, const QString& reason);
    const QString& message() const { return m_message; }
    // The reason without the file's name, for a message that names the file its own way; the
    // whole message when the error names no file.
    const QString& reason() const { return m_reason; }

private:
    QString m_message;
    QString m_reason;
};

// Prints "hollenby-level: message" as one line on stderr, anything a terminal would not show as
// itself escaped.
void PrintError(const QString& message);

// Throws CliError with "FILE: reason".
[[noreturn]] void Fail(const QString& file, const QString& reason);

// The system's reason for the last failed call (errno), as "no space left on device".
QString SystemReason(int error);

// The reason a file operation failed, in words a command line user reads ("no such file or
// folder", "is a folder", "permission denied", ...).
QString ReasonText(const ui::RuntimeError& error);

} // namespace hollenby::cli
