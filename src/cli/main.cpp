// lockwyn-cli: Lockwyn password databases on the command line, over the same
// companion libraries as the program.

#include "Cli.CommandLine.h"
#include "Cli.DatabaseCommands.h"
#include "Cli.Error.h"
#include "Cli.GroupCommands.h"
#include "Cli.PasswordCommands.h"
#include "Cli.TokenCommands.h"
#include "Platform.TimeZone.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    Platform::CacheLocalTimeZone();
    QCoreApplication app(argc, argv);
    TCliContext context;
    const QList<TCliCommand> commands =
        DatabaseCommands() + TokenCommands() + GroupCommands() + PasswordCommands();
    try {
        return RunCommandLine(app.arguments().mid(1), context, commands);
    } catch (const ECliError& error) {
        context.Console.Error(error.Message());
        return int(error.Code());
    } catch (const std::exception& error) {
        context.Console.Error(QString::fromLocal8Bit(error.what()));
        return int(TCliExitCode::cecFailure);
    }
}
