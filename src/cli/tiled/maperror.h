#pragma once
// What is wrong inside a map file, said without the file's name: the reader that knows the file
// (and, for XML, the line) turns it into the command's one-line error.

#include <QString>

#include <stdexcept>

namespace hollenby::cli::tiled {

class MapError : public std::runtime_error
{
public:
    explicit MapError(QString reason)
        : std::runtime_error(reason.toStdString()), m_reason(std::move(reason))
    {}
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

[[noreturn]] inline void MapFail(QString reason)
{
    throw MapError(std::move(reason));
}

} // namespace hollenby::cli::tiled
