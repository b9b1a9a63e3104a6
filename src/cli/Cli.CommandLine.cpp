#include "Cli.CommandLine.h"

#include "Cli.Error.h"
#include "Lockwyn.Format.h"

#include <algorithm>

using namespace Lockwyn;

namespace {

const QString ProgramName = QStringLiteral("lockwyn-cli");

const QString ExitCodesText =
    QStringLiteral("Exit codes: 0 done, 1 failure, 2 usage error, 3 wrong master password,\n"
                   "4 not a Lockwyn database or damaged, 5 not found, 6 already exists,\n"
                   "7 input/output failure, 8 input file of a wrong format, 9 the database\n"
                   "was changed by another program meanwhile (nothing written), 10 more than\n"
                   "a database holds.\n");

QString GeneralHelp(const QList<TCliCommand>& commands)
{
    QString text = Format("Usage: %s COMMAND [options] [arguments]\n\n"
                          "Lockwyn password databases on the command line. Master passwords are\n"
                          "read from the terminal without echo, or line by line from standard\n"
                          "input when that is not a terminal.\n\nCommands:\n",
                          ProgramName);
    for (const auto& command : commands)
        text += QStringLiteral("  ") + command.Name.leftJustified(10) + command.Description + u'\n';
    return text +
           Format("\nRun \"%s COMMAND --help\" for the options of a command.\n", ProgramName) +
           ExitCodesText;
}

QString CommandHelp(const TCliCommand& command, const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    const qsizetype options = text.indexOf(QStringLiteral("[options]"));
    const qsizetype lineEnd = text.indexOf(u'\n');
    if (options >= 0 && options < lineEnd)
        text.replace(0, options, Format("Usage: %s %s ", ProgramName, command.Name));
    return text + u'\n' + ExitCodesText;
}

QString PositionalDescription(const QString& name)
{
    if (name == u"database")
        return QStringLiteral("The database file.");
    if (name == u"path")
        return QStringLiteral("Group titles and the token title joined by \"/\".");
    if (name == u"group")
        return QStringLiteral("Group titles joined by \"/\"; empty for the top.");
    if (name == u"text")
        return QStringLiteral("The text to find.");
    return QStringLiteral("The file to read or write.");
}

int RequiredCount(const QStringList& positionals)
{
    return int(std::count_if(positionals.begin(), positionals.end(),
                             [](const QString& name) { return !name.startsWith(u'['); }));
}

void Prepare(const TCliCommand& command, QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setApplicationDescription(command.Description);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help.")));
    if (command.AddOptions)
        command.AddOptions(parser);
    for (const auto& name : command.Positionals) {
        QString bare = name;
        bare.remove(u'[').remove(u']');
        parser.addPositionalArgument(bare, PositionalDescription(bare), name);
    }
}

int RunCommand(const TCliCommand& command, const QStringList& arguments, TCliContext& context)
{
    QCommandLineParser parser;
    Prepare(command, parser);
    const auto usageError = [&](const QString& message) {
        throw ECliError(TCliExitCode::cecUsage, Format("%s\nRun \"%s %s --help\" for help.",
                                                       message, ProgramName, command.Name));
    };
    if (!parser.parse(QStringList{ProgramName} + arguments))
        usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        context.Console.Out() << CommandHelp(command, parser);
        return int(TCliExitCode::cecOk);
    }
    const int count = int(parser.positionalArguments().size());
    if (count < RequiredCount(command.Positionals) || count > command.Positionals.size())
        usageError(QStringLiteral("Wrong number of arguments."));
    TCliArguments parsed(parser);
    command.Run(parsed, context);
    return int(TCliExitCode::cecOk);
}

} // namespace

QString TCliArguments::Positional(int index) const
{
    return FParser.positionalArguments().value(index);
}

std::optional<qint64> TCliArguments::Number(const QString& option, qint64 min, qint64 max) const
{
    if (!IsSet(option))
        return std::nullopt;
    bool ok = false;
    const qint64 number = Value(option).toLongLong(&ok);
    if (!ok || number < min || number > max)
        throw ECliError(TCliExitCode::cecUsage,
                        Format("--%s takes a number from %d to %d", option, min, max));
    return number;
}

QDateTime TCliArguments::DateTime(const QString& option) const
{
    const QString text = Value(option);
    QDateTime value = QDateTime::fromString(text, Qt::ISODate);
    if (!value.isValid())
        value = QDate::fromString(text, Qt::ISODate).startOfDay();
    if (!value.isValid())
        throw ECliError(TCliExitCode::cecUsage,
                        Format("--%s takes a date like 2030-06-30 or 2030-06-30T12:00", option));
    return value;
}

int RunCommandLine(const QStringList& arguments, TCliContext& context,
                   const QList<TCliCommand>& commands)
{
    const QString name = arguments.value(0);
    if (name.isEmpty() || name == u"--help" || name == u"-h" || name == u"help") {
        context.Console.Out() << GeneralHelp(commands);
        return int(name.isEmpty() ? TCliExitCode::cecUsage : TCliExitCode::cecOk);
    }
    for (const auto& command : commands)
        if (command.Name == name)
            return RunCommand(command, arguments.mid(1), context);
    throw ECliError(
        TCliExitCode::cecUsage,
        Format("Unknown command %s\nRun \"%s --help\" for the commands.", name, ProgramName));
}
