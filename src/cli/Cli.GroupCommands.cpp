#include "Cli.GroupCommands.h"

#include "Cli.Database.h"
#include "Cli.Error.h"
#include "Cli.Paths.h"
#include "Lockwyn.Format.h"

using namespace Lockwyn;

namespace {

void RunMkdir(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    QStringList titles = CliPaths::Split(arguments.Positional(1));
    if (titles.isEmpty())
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("A group needs a title"));
    const QString title = titles.takeLast();
    const auto parent = CliPaths::RequireGroup(database.Root(), CliPaths::Join(titles));
    if (!parent->IsGroupTitleUnique(title))
        throw ECliError(TCliExitCode::cecAlreadyExists,
                        Format("Group %s exists already", arguments.Positional(1)));
    database.Change(parent->CreateAddGroupOperation(
        title, false, QDateTime(), database.Factory().CreateCustomPropertiesTemplate()));
    context.Console.Out() << "Added group " << arguments.Positional(1) << '\n';
}

void RunRmdir(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    const QString path = arguments.Positional(1);
    const auto group = CliPaths::RequireGroup(database.Root(), path);
    const auto parent = group->GetParent();
    if (!parent)
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("The root group stays"));
    const bool empty = group->GetTokens().isEmpty() && group->GetGroups().isEmpty();
    if (!empty && !arguments.IsSet(QStringLiteral("force")))
        throw ECliError(TCliExitCode::cecUsage,
                        Format("Group %s is not empty; --force deletes it with its content", path));
    database.Change(parent->CreateDeleteGroupOperation(group));
    context.Console.Out() << "Deleted group " << path << '\n';
}

} // namespace

QList<TCliCommand> GroupCommands()
{
    return {
        {QStringLiteral("mkdir"),
         QStringLiteral("Add a group."),
         {QStringLiteral("database"), QStringLiteral("group")},
         nullptr,
         RunMkdir},
        {QStringLiteral("rmdir"),
         QStringLiteral("Delete a group."),
         {QStringLiteral("database"), QStringLiteral("group")},
         [](QCommandLineParser& parser) {
             parser.addOption(
                 {{"f", "force"}, "Delete a group that is not empty, with its content."});
         },
         RunRmdir},
    };
}
