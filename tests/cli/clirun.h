#pragma once
// Runs the real hollenby-level as a script or a file manager would, and keeps what it said.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <pty.h>
#include <unistd.h>

namespace hollenby::testing {

struct CliResult
{
    int status = -1; // the exit status; -1 when it crashed or did not finish
    QByteArray out;
    QByteArray err;
};

// Runs `program` with `arguments`, its standard input closed, waiting at most `timeoutMs`, in
// `folder` when one is given.
inline CliResult RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                            const QProcessEnvironment& environment, const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
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

// Runs `script` in bash, in `folder` when one is given, with the program's path as $H and
// `arguments` as "$@", so that its streams can be what a shell makes them.
inline CliResult RunScript(const QString& script, const QStringList& arguments = {},
                           const QString& folder = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("H"), QStringLiteral(HOLLENBY_LEVEL));
    return RunProgram(QStringLiteral("bash"),
                      QStringList{QStringLiteral("-c"), script, QStringLiteral("bash")} + arguments,
                      60000, environment, folder);
}

// Runs hollenby-level with its standard output on a terminal, as a user typing it would: `out`
// is what the terminal received.
inline CliResult
RunOnTerminal(const QStringList& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    int master = -1;
    int slave = -1;
    CliResult result;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return result;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([slave] { ::dup2(slave, STDOUT_FILENO); });
    process.start(QStringLiteral(HOLLENBY_LEVEL), arguments);
    const bool finished = process.waitForFinished(20000);
    ::close(slave);
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
        result.out.append(buffer, n);
    ::close(master);
    result.err = process.readAllStandardError();
    if (finished && process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    return result;
}

} // namespace hollenby::testing
