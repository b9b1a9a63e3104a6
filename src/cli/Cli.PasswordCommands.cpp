#include "Cli.PasswordCommands.h"

#include "Cli.GeneratorOptions.h"

using namespace Lockwyn;

namespace {

void RunGenerate(TCliArguments& arguments, TCliContext& context)
{
    auto generator = context.Libraries.Lockwyn().GetPasswordGenerator();
    context.Console.Out() << generator->GeneratePassword(
                                 CliGeneratorOptions::Settings(arguments, *generator))
                          << '\n';
}

void RunEstimate(TCliArguments&, TCliContext& context)
{
    const QString password = context.Console.ReadPassword(QStringLiteral("Password: "));
    context.Console.Out() << context.Libraries.Lockwyn().GetPasswordQualityMeter()->GetQuality(
                                 password)
                          << '\n';
}

} // namespace

QList<TCliCommand> PasswordCommands()
{
    return {
        {QStringLiteral("generate"),
         QStringLiteral("Generate a password."),
         {},
         CliGeneratorOptions::AddGeneratorOptions,
         RunGenerate},
        {QStringLiteral("estimate"),
         QStringLiteral("Rate the strength of a password (0 to 100), read like a master password."),
         {},
         nullptr,
         RunEstimate},
    };
}
