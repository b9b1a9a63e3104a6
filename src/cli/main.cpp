// lockwyn-cli: Lockwyn password databases on the command line, over the same
// companion libraries as the program.

#include "Cli.CommandLine.h"
#include "Cli.DatabaseCommands.h"
#include "Cli.Error.h"
#include "Cli.GroupCommands.h"
#include "Cli.PasswordCommands.h"
#include "Cli.TokenCommands.h"
#include "LockwynLib.Interfaces.h"
#include "Platform.TimeZone.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    Platform::CacheLocalTimeZone();
    QCoreApplication app(argc, argv);
    TCliContext context;
    const QList<TCliCommand> commands =
        DatabaseCommands() + TokenCommands() + GroupCommands() + PasswordCommands();
    int code = int(TCliExitCode::cecOk);
    try {
        code = RunCommandLine(app.arguments().mid(1), context, commands);
    } catch (const ECliError& error) {
        context.Console.Error(error.Message());
        code = int(error.Code());
    } catch (const Lockwyn::ELimitExceeded& error) {
        context.Console.Error(QString::fromUtf8(error.what()));
        code = int(TCliExitCode::cecLimit);
    } catch (const std::exception& error) {
        context.Console.Error(QString::fromLocal8Bit(error.what()));
        code = int(TCliExitCode::cecFailure);
    }
    // Every file is written and every secret wiped by now. Freeing a database
    // of 100,000 tokens object by object would take a quarter of a command's
    // time, so the process ends without destroying anything.
    context.Console.Out().flush();
    std::fflush(nullptr);
    std::_Exit(code);
}
