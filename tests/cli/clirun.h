#pragma once
// Runs the real hollenby-level as a script or a file manager would, and keeps what it said.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace hollenby::testing {

struct CliResult
{
    int status = -1; // the exit status; -1 when it crashed or did not finish
    QByteArray out;
    QByteArray err;
};

// Runs `program` with `arguments`, its standard input closed, waiting at most `timeoutMs`.
inline CliResult RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                            const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(program);
    process.setArguments(arguments);
    process.start();
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    return result;
}

inline CliResult
RunCli(const QStringList& arguments, int timeoutMs = 120000,
       const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    return RunProgram(QStringLiteral(HOLLENBY_LEVEL), arguments, timeoutMs, environment);
}

} // namespace hollenby::testing
