#include "clierror.h"

#include "printable.h"
#include "runtimeerror.h"

#include <QTextStream>

#include <cstring>

namespace hollenby::cli {

CliError::CliError(QString message)
    : std::runtime_error(message.toStdString()), m_message(std::move(message)), m_reason(m_message)
{}

CliError::CliError(const QString& file, const QString& reason)
    : CliError(file + QStringLiteral(": ") + reason)
{
    m_reason = reason;
}

void PrintError(const QString& message)
{
    QTextStream(stderr) << "hollenby-level: " << Printable(message, -1) << '\n';
}

void Fail(const QString& file, const QString& reason)
{
    throw CliError(file, reason);
}

QString SystemReason(int error)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return reason;
}

QString ReasonText(const ui::RuntimeError& error)
{
    switch (error.number()) {
    case 7:
        return QStringLiteral("out of memory");
    case 53:
    case 76:
        return QStringLiteral("no such file or folder");
    case 57:
        return QStringLiteral("input/output error");
    case 61:
        return QStringLiteral("no space left on the device");
    case 70:
        return QStringLiteral("permission denied");
    case 75:
        return QStringLiteral("not a regular file (a folder or a device)");
    case 481:
        return QStringLiteral("not a picture that can be decoded");
    default:
        return error.description().toLower();
    }
}

} // namespace hollenby::cli
