#pragma once
// The run-time failures the program's routines report. Each carries the number and description
// shown in "Error N (description) in procedure ..." messages.

#include <QString>

#include <exception>
#include <string>

namespace hollenby::ui {

class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString description);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

    // The ones this platform raises.
    static RuntimeError Overflow() { return {6, QStringLiteral("Overflow")}; }
    static RuntimeError OutOfMemory() { return {7, QStringLiteral("Out of memory")}; }
    static RuntimeError SubscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }
    static RuntimeError InternalError() { return {51, QStringLiteral("Internal error")}; }
    static RuntimeError BadFileNameOrNumber() { return {52, QStringLiteral("Bad file name or number")}; }
    static RuntimeError FileNotFound() { return {53, QStringLiteral("File not found")}; }
    static RuntimeError DeviceIOError() { return {57, QStringLiteral("Device I/O error")}; }
    static RuntimeError DiskFull() { return {61, QStringLiteral("Disk full")}; }
    static RuntimeError PermissionDenied() { return {70, QStringLiteral("Permission denied")}; }
    static RuntimeError PathFileAccessError() { return {75, QStringLiteral("Path/File access error")}; }
    static RuntimeError PathNotFound() { return {76, QStringLiteral("Path not found")}; }
    static RuntimeError ObjectNotSet()
    {
        return {91, QStringLiteral("Object variable or With block variable not set")};
    }
    static RuntimeError ControlArrayElementMissing()
    {
        return {340, QStringLiteral("Control array element does not exist")};
    }
    static RuntimeError ObjectAlreadyLoaded() { return {360, QStringLiteral("Object already loaded")}; }
    static RuntimeError InvalidPicture() { return {481, QStringLiteral("Invalid picture")}; }

    enum Numbers {
        kOverflow = 6,
        kFileNotFound = 53,
        kObjectNotSet = 91,
        kObjectAlreadyLoaded = 360,
        kInvalidPicture = 481,
    };

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

// The exception being handled, as a run-time failure: a RuntimeError as it is, running out of
// memory as error 7, anything else as error 51. Call only inside a catch block.
RuntimeError CurrentRuntimeError();

// "Error N (description) in procedure <procedure> of <owner>", owner being e.g. "Form frmMain".
QString ErrorText(const RuntimeError& error, const QString& procedure, const QString& owner);

} // namespace hollenby::ui
