#include "runtimeerror.h"

#include <new>

namespace hollenby::ui {

RuntimeError::RuntimeError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what("Error " + std::to_string(number) + " (" + m_description.toStdString() + ")")
{
}

RuntimeError CurrentRuntimeError()
{
    try {
        throw;
    } catch (const RuntimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return RuntimeError::OutOfMemory();
    } catch (...) {
        return RuntimeError::InternalError();
    }
}

QString ErrorText(const RuntimeError& error, const QString& procedure, const QString& owner)
{
    return QStringLiteral("Error %1 (%2) in procedure %3 of %4")
        .arg(error.number())
        .arg(error.description(), procedure, owner);
}

} // namespace hollenby::ui
