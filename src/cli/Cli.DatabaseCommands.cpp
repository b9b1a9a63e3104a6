#include "Cli.DatabaseCommands.h"

#include "Cli.Database.h"
#include "Cli.Error.h"
#include "Lockwyn.Format.h"

#include <QFileInfo>

using namespace Lockwyn;

namespace {

const QString ImportTemplate = QStringLiteral("%0:s (Imported %1:d)");

struct TFormat
{
    const char* Name;
    int Converter;
};
constexpr TFormat ImportFormats[] = {{"lockwyn-xml", 0}, {"keepass-xml", 3}, {"pwsafe-xml", 4}};
constexpr TFormat ExportFormats[] = {{"lockwyn-xml", 0}, {"text", 1}};

template <size_t N> int ConverterIndex(const QString& name, const TFormat (&formats)[N])
{
    QStringList names;
    for (const auto& format : formats) {
        if (name == QLatin1String(format.Name))
            return format.Converter;
        names.append(QString::fromLatin1(format.Name));
    }
    throw ECliError(TCliExitCode::cecUsage,
                    Format("--format takes one of %s", names.join(QStringLiteral(", "))));
}

std::shared_ptr<IConverter> Converter(TCliContext& context, int index)
{
    return context.Libraries.Converters().GetConverter(index);
}

void AddKdfOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {"kdf-memory", "Memory of the key derivation in MiB (default: the library's).", "MIB"},
        {"kdf-passes", "Passes of the key derivation (default: the library's).", "N"},
    });
}

TCliKdfOptions KdfOptions(const TCliArguments& arguments)
{
    TCliKdfOptions options;
    if (const auto memory = arguments.Number(QStringLiteral("kdf-memory"), 1, 4096))
        options.MemoryMiB = std::uint64_t(*memory);
    if (const auto passes = arguments.Number(QStringLiteral("kdf-passes"), 1, 100))
        options.Passes = std::uint64_t(*passes);
    return options;
}

void AddFormatOption(QCommandLineParser& parser, const QString& formats)
{
    parser.addOption({"format", Format("File format: %s.", formats), "FORMAT"});
}

void RunCreate(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.PrepareNew(arguments.Positional(0), KdfOptions(arguments));
    database.CreateFile();
    context.Console.Out() << "Created database " << arguments.Positional(0) << '\n';
}

void RunInfo(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.Open(arguments.Positional(0));
    const auto root = database.Root();
    const auto tokens = root->GetAllTokens();
    const auto expired =
        std::count_if(tokens.begin(), tokens.end(), [](const auto& t) { return t->GetExpired(); });
    context.Console.Out() << "File: " << database.File().GetFileName() << '\n'
                          << "Format version: " << database.Storage().GetLoadedVersion() << '\n'
                          << "Groups: " << root->GetAllGroups().size() << '\n'
                          << "Tokens: " << tokens.size() << '\n'
                          << "Expired tokens: " << expired << '\n';
}

void RunPasswd(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    const QString password =
        context.Console.ReadNewPassword(QStringLiteral("New master password: "));
    database.SetKdf(KdfOptions(arguments));
    database.Storage().SetMasterPassword(password);
    database.Save();
    context.Console.Out() << "Changed the master password of " << arguments.Positional(0) << '\n';
}

void RunImport(TCliArguments& arguments, TCliContext& context)
{
    const QString input = arguments.Positional(0);
    const QString fileName = arguments.Positional(1);
    const int index = ConverterIndex(arguments.Value(QStringLiteral("format")), ImportFormats);
    if (!QFileInfo(input).isFile())
        throw ECliError(TCliExitCode::cecNotFound, Format("File %s does not exist", input));
    const auto converter = Converter(context, index);
    const auto imported = converter->Import(input);
    if (!imported)
        throw ECliError(TCliExitCode::cecWrongFormat,
                        Format("Input file %s has a wrong format", QFileInfo(input).fileName()));
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    const bool existing = QFileInfo::exists(fileName);
    if (existing)
        database.OpenForUpdate(fileName);
    else
        database.PrepareNew(fileName, KdfOptions(arguments));
    database.Lockwyn().GetOperationHistory()->Execute(
        database.Root()->CreateImportOperation(imported, true, ImportTemplate));
    if (existing)
        database.Save();
    else
        database.CreateFile();
    if (database.Storage().GetVersion() < converter->GetImportedVersion())
        context.Console.Error(QStringLiteral("Imported database was created in a newer version of "
                                             "Lockwyn. Some data may not be imported."));
    context.Console.Out() << "Imported " << input << " into " << fileName << '\n';
}

void RunExport(TCliArguments& arguments, TCliContext& context)
{
    const QString output = arguments.Positional(1);
    const int index = ConverterIndex(arguments.Value(QStringLiteral("format")), ExportFormats);
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.Open(arguments.Positional(0));
    if (!Converter(context, index)->Export(database.StoragePtr(), output))
        throw ECliError(TCliExitCode::cecIoFailure,
                        Format("Export to %s failed", QFileInfo(output).fileName()));
    context.Console.Out() << "Exported " << arguments.Positional(0) << " to " << output << '\n';
}

} // namespace

QList<TCliCommand> DatabaseCommands()
{
    return {
        {QStringLiteral("create"),
         QStringLiteral("Create a database."),
         {QStringLiteral("database")},
         AddKdfOptions,
         RunCreate},
        {QStringLiteral("info"),
         QStringLiteral("Show facts about a database."),
         {QStringLiteral("database")},
         nullptr,
         RunInfo},
        {QStringLiteral("passwd"),
         QStringLiteral("Change the master password of a database."),
         {QStringLiteral("database")},
         AddKdfOptions,
         RunPasswd},
        {QStringLiteral("import"),
         QStringLiteral("Import a file into a database, which is created when it does not exist."),
         {QStringLiteral("file"), QStringLiteral("database")},
         [](QCommandLineParser& parser) {
             AddFormatOption(parser, QStringLiteral("lockwyn-xml, keepass-xml or pwsafe-xml"));
             AddKdfOptions(parser);
         },
         RunImport},
        {QStringLiteral("export"),
         QStringLiteral("Export a database to a file."),
         {QStringLiteral("database"), QStringLiteral("file")},
         [](QCommandLineParser& parser) {
             AddFormatOption(parser, QStringLiteral("lockwyn-xml or text"));
         },
         RunExport},
    };
}
