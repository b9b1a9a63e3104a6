#include "Cli.TokenCommands.h"

#include "Cli.Database.h"
#include "Cli.Error.h"
#include "Cli.GeneratorOptions.h"
#include "Cli.Paths.h"
#include "Lockwyn.Format.h"

using namespace Lockwyn;

namespace {

const QString TransferTemplate = QStringLiteral("%0:s (%1:d)");
const QString DateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString FormatDate(const QDateTime& value)
{
    return value.isValid() ? value.toLocalTime().toString(DateFormat) : QString();
}

void RequireFreeTitle(ITokenGroup& group, const QString& title,
                      const std::shared_ptr<IToken>& excluded = nullptr)
{
    if (title.isEmpty())
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("A token needs a title"));
    if (!group.IsTokenTitleUnique(title, excluded))
        throw ECliError(TCliExitCode::cecAlreadyExists,
                        Format("A token titled %s exists already in that group", title));
}

// "NAME=VALUE"
std::pair<QString, QString> CustomValue(const QString& text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        throw ECliError(TCliExitCode::cecUsage, Format("--custom takes NAME=VALUE, not %s", text));
    return {text.left(equals), text.mid(equals + 1)};
}

void AddFieldOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {{"u", "username"}, "User name.", "NAME"},
        {"url", "Web address.", "URL"},
        {"notes", "Notes.", "TEXT"},
        {"expires", "Expiration date (2030-06-30 or 2030-06-30T12:00).", "DATE"},
        {"custom", "Custom property; may be repeated.", "NAME=VALUE"},
    });
    CliGeneratorOptions::AddTokenPasswordOptions(parser);
}

// Lists a group's subgroups ("Title/") and tokens, indented below their group.
void List(QTextStream& out, ITokenGroup& group, bool recursive, const QString& indent)
{
    for (const auto& child : group.GetGroups()) {
        out << indent << CliPaths::Join({child->GetTitle()}) << "/\n";
        if (recursive)
            List(out, *child, true, indent + QStringLiteral("  "));
    }
    for (const auto& token : group.GetTokens())
        out << indent << CliPaths::Join({token->GetTitle()}) << '\n';
}

void RunLs(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.Open(arguments.Positional(0));
    const auto group = CliPaths::RequireGroup(database.Root(), arguments.Positional(1));
    List(context.Console.Out(), *group, arguments.IsSet(QStringLiteral("recursive")), QString());
}

// The fields of a token by the names "show -a" accepts.
std::optional<QString> Field(IToken& token, const QString& name)
{
    const QString lower = name.toLower();
    if (lower == u"title")
        return token.GetTitle();
    if (lower == u"username")
        return token.GetUserName();
    if (lower == u"password")
        return token.GetPassword();
    if (lower == u"url")
        return token.GetURL();
    if (lower == u"notes")
        return token.GetNotes();
    const auto value = token.GetCustomProperties()->GetValue(name);
    if (value.GetHasValue())
        return value.GetValue();
    return std::nullopt;
}

void RunShow(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.Open(arguments.Positional(0));
    const auto token = CliPaths::RequireToken(database.Root(), arguments.Positional(1));
    auto& out = context.Console.Out();
    const QStringList attributes = arguments.Values(QStringLiteral("attribute"));
    for (const auto& name : attributes) {
        const auto value = Field(*token, name);
        if (!value)
            throw ECliError(TCliExitCode::cecNotFound, Format("The token has no field %s", name));
        out << *value << '\n';
    }
    if (!attributes.isEmpty())
        return;
    const bool showPassword = arguments.IsSet(QStringLiteral("show-protected"));
    out << "Title: " << token->GetTitle() << '\n'
        << "UserName: " << token->GetUserName() << '\n'
        << "Password: " << (showPassword ? token->GetPassword() : QStringLiteral("PROTECTED"))
        << '\n'
        << "URL: " << token->GetURL() << '\n'
        << "Notes: " << token->GetNotes() << '\n'
        << "Expires: "
        << (token->GetExpires() ? FormatDate(token->GetExpirationDate()) : QStringLiteral("Never"))
        << '\n'
        << "Created: " << FormatDate(token->GetCreationDate()) << '\n'
        << "Modified: " << FormatDate(token->GetModificationDate()) << '\n';
    const auto properties = token->GetCustomProperties();
    for (int i = 0; i < properties->GetCount(); ++i)
        out << properties->GetItem(i).GetName() << ": " << properties->GetItem(i).GetValue()
            << '\n';
}

void RunSearch(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.Open(arguments.Positional(0));
    const QString text = arguments.Positional(1);
    const auto tokens = database.Root()->FindTokens(text, true);
    if (tokens.isEmpty())
        throw ECliError(TCliExitCode::cecNotFound, Format("No token matches %s", text));
    auto& out = context.Console.Out();
    for (const auto& token : tokens)
        out << CliPaths::PathOf(*token) << '\n';
}

void RunAdd(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    QStringList titles = CliPaths::Split(arguments.Positional(1));
    const QString title = titles.isEmpty() ? QString() : titles.takeLast();
    const auto group = CliPaths::RequireGroup(database.Root(), CliPaths::Join(titles));
    RequireFreeTitle(*group, title);
    auto properties = database.Factory().CreateCustomProperties();
    properties->ApplyTemplate(group->GetCustomPropertiesTemplate());
    for (const auto& text : arguments.Values(QStringLiteral("custom"))) {
        const auto [name, value] = CustomValue(text);
        properties->SetValue(name, value);
    }
    const bool expires = arguments.IsSet(QStringLiteral("expires"));
    const QString password = CliGeneratorOptions::TokenPassword(
                                 arguments, context, *database.Lockwyn().GetPasswordGenerator())
                                 .value_or(QString());
    database.Change(group->CreateAddTokenOperation(
        title, arguments.Value(QStringLiteral("username")), password,
        arguments.Value(QStringLiteral("url")), arguments.Value(QStringLiteral("notes")), expires,
        expires ? arguments.DateTime(QStringLiteral("expires")) : QDateTime(), false, properties,
        database.Factory().CreateWebSitesDBAutoLoginInfo()));
    context.Console.Out() << "Added token " << arguments.Positional(1) << '\n';
}

void ApplyEdits(TCliArguments& arguments, TCliContext& context, TCliDatabase& database,
                const std::shared_ptr<IToken>& token, IToken& copy)
{
    if (arguments.IsSet(QStringLiteral("title"))) {
        const QString title = arguments.Value(QStringLiteral("title"));
        RequireFreeTitle(*token->GetGroup(), title, token);
        copy.SetTitle(title);
    }
    if (arguments.IsSet(QStringLiteral("username")))
        copy.SetUserName(arguments.Value(QStringLiteral("username")));
    if (arguments.IsSet(QStringLiteral("url")))
        copy.SetURL(arguments.Value(QStringLiteral("url")));
    if (arguments.IsSet(QStringLiteral("notes")))
        copy.SetNotes(arguments.Value(QStringLiteral("notes")));
    if (arguments.IsSet(QStringLiteral("expires"))) {
        copy.SetExpires(true);
        copy.SetExpirationDate(arguments.DateTime(QStringLiteral("expires")));
    }
    if (arguments.IsSet(QStringLiteral("no-expiry")))
        copy.SetExpires(false);
    const auto properties = copy.GetCustomProperties();
    for (const auto& text : arguments.Values(QStringLiteral("custom"))) {
        const auto [name, value] = CustomValue(text);
        properties->SetValue(name, value);
    }
    for (const auto& name : arguments.Values(QStringLiteral("remove-custom"))) {
        if (!properties->Exists(name))
            throw ECliError(TCliExitCode::cecNotFound,
                            Format("The token has no custom property %s", name));
        properties->Delete(name);
    }
    if (const auto password = CliGeneratorOptions::TokenPassword(
            arguments, context, *database.Lockwyn().GetPasswordGenerator()))
        copy.SetPassword(*password);
}

void RunEdit(TCliArguments& arguments, TCliContext& context)
{
    if (arguments.IsSet(QStringLiteral("expires")) && arguments.IsSet(QStringLiteral("no-expiry")))
        throw ECliError(TCliExitCode::cecUsage,
                        QStringLiteral("Use either --expires or --no-expiry, not both."));
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    const auto token = CliPaths::RequireToken(database.Root(), arguments.Positional(1));
    const auto copy = token->GetCloner()->Clone();
    ApplyEdits(arguments, context, database, token, *copy);
    if (token->GetComparer()->Equals(copy)) {
        context.Console.Out() << "Nothing changed\n";
        return;
    }
    const auto operation = token->CreateUpdateOperation(copy);
    database.Change(operation);
    context.Console.Out() << "Changed token " << CliPaths::PathOf(*operation->GetResult()) << '\n';
}

void RunRm(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    const auto token = CliPaths::RequireToken(database.Root(), arguments.Positional(1));
    database.Change(database.Storage().CreateDeleteTokensOperation({token}));
    context.Console.Out() << "Deleted token " << arguments.Positional(1) << '\n';
}

void RunMv(TCliArguments& arguments, TCliContext& context)
{
    TCliDatabase database(context.Libraries.Lockwyn(), context.Console);
    database.OpenForUpdate(arguments.Positional(0));
    const auto token = CliPaths::RequireToken(database.Root(), arguments.Positional(1));
    const auto target = CliPaths::RequireGroup(database.Root(), arguments.Positional(2));
    if (target == token->GetGroup()) {
        context.Console.Out() << "Nothing changed\n";
        return;
    }
    RequireFreeTitle(*target, token->GetTitle());
    const auto operation =
        database.Storage().CreateMoveTokenOperation(token, target, TransferTemplate);
    database.Change(operation);
    context.Console.Out() << "Moved token to " << CliPaths::PathOf(*operation->GetResult()) << '\n';
}

} // namespace

QList<TCliCommand> TokenCommands()
{
    return {
        {QStringLiteral("ls"),
         QStringLiteral("List the groups and tokens of a group."),
         {QStringLiteral("database"), QStringLiteral("[group]")},
         [](QCommandLineParser& parser) {
             parser.addOption({{"R", "recursive"}, "List the groups below, too."});
         },
         RunLs},
        {QStringLiteral("show"),
         QStringLiteral("Show the fields of a token."),
         {QStringLiteral("database"), QStringLiteral("path")},
         [](QCommandLineParser& parser) {
             parser.addOptions({
                 {{"s", "show-protected"}, "Show the password."},
                 {{"a", "attribute"},
                  "Print only this field's value (Title, UserName, Password, URL, Notes or a "
                  "custom property); may be repeated.",
                  "NAME"},
             });
         },
         RunShow},
        {QStringLiteral("search"),
         QStringLiteral("Find tokens by title, user name, URL, notes or "
                        "custom properties."),
         {QStringLiteral("database"), QStringLiteral("text")},
         nullptr,
         RunSearch},
        {QStringLiteral("add"),
         QStringLiteral("Add a token."),
         {QStringLiteral("database"), QStringLiteral("path")},
         AddFieldOptions,
         RunAdd},
        {QStringLiteral("edit"),
         QStringLiteral("Change a token."),
         {QStringLiteral("database"), QStringLiteral("path")},
         [](QCommandLineParser& parser) {
             AddFieldOptions(parser);
             parser.addOptions({
                 {{"t", "title"}, "New title.", "TITLE"},
                 {"no-expiry", "The token does not expire."},
                 {"remove-custom", "Remove a custom property; may be repeated.", "NAME"},
             });
         },
         RunEdit},
        {QStringLiteral("rm"),
         QStringLiteral("Delete a token."),
         {QStringLiteral("database"), QStringLiteral("path")},
         nullptr,
         RunRm},
        {QStringLiteral("mv"),
         QStringLiteral("Move a token to another group."),
         {QStringLiteral("database"), QStringLiteral("path"), QStringLiteral("group")},
         nullptr,
         RunMv},
    };
}
