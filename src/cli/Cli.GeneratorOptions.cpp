#include "Cli.GeneratorOptions.h"

#include "Cli.Error.h"

using namespace Lockwyn;

namespace CliGeneratorOptions {

namespace {

struct TClassOption
{
    QStringList Names;
    const char* Description;
    TPasswordGeneratorCharOption Option;
};

const QList<TClassOption>& ClassOptions()
{
    static const QList<TClassOption> options = {
        {{"U", "upper"}, "Use upper-case letters.", TPasswordGeneratorCharOption::pgcoUseUpperCase},
        {{"l", "lower"}, "Use lower-case letters.", TPasswordGeneratorCharOption::pgcoUseLowerCase},
        {{"n", "digits"}, "Use digits.", TPasswordGeneratorCharOption::pgcoUseDigits},
        {{"minus"}, "Use the minus sign.", TPasswordGeneratorCharOption::pgcoUseMinus},
        {{"underline"}, "Use the underline.", TPasswordGeneratorCharOption::pgcoUseUnderline},
        {{"s", "special"},
         "Use special characters.",
         TPasswordGeneratorCharOption::pgcoUseSpecialCharacters},
        {{"brackets"}, "Use brackets.", TPasswordGeneratorCharOption::pgcoUseBrackets},
    };
    return options;
}

} // namespace

void AddGeneratorOptions(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption({QStringLiteral("L"), QStringLiteral("length")},
                                        QStringLiteral("Length of the generated password."),
                                        QStringLiteral("N")));
    for (const auto& option : ClassOptions())
        parser.addOption(QCommandLineOption(option.Names, QString::fromLatin1(option.Description)));
}

TPasswordGeneratorSettings Settings(const TCliArguments& arguments, IPasswordGenerator& generator)
{
    auto settings = generator.GetDefaultSettings();
    if (const auto length = arguments.Number(QStringLiteral("length"), 1, 4096))
        settings.Length = std::int32_t(*length);
    TPasswordGeneratorCharOptions chosen;
    for (const auto& option : ClassOptions())
        if (arguments.IsSet(option.Names.last()))
            chosen.Include(option.Option);
    if (!chosen.IsEmpty())
        settings.Options = chosen;
    return settings;
}

void AddTokenPasswordOptions(QCommandLineParser& parser)
{
    parser.addOption(QCommandLineOption(
        {QStringLiteral("p"), QStringLiteral("password-prompt")},
        QStringLiteral("Ask for the password (or read it as the next line of standard input).")));
    parser.addOption(QCommandLineOption({QStringLiteral("g"), QStringLiteral("generate")},
                                        QStringLiteral("Generate the password.")));
    AddGeneratorOptions(parser);
}

std::optional<QString> TokenPassword(const TCliArguments& arguments, TCliContext& context,
                                     IPasswordGenerator& generator)
{
    const bool prompt = arguments.IsSet(QStringLiteral("password-prompt"));
    const bool generate = arguments.IsSet(QStringLiteral("generate"));
    if (prompt && generate)
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("Use either -p or -g, not both."));
    if (prompt)
        return context.Console.ReadNewPassword(QStringLiteral("Password of the token: "));
    if (generate)
        return generator.GeneratePassword(Settings(arguments, generator));
    return std::nullopt;
}

} // namespace CliGeneratorOptions
