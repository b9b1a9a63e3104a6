#include "Cli.Console.h"

#include "Cli.Error.h"
#include "Platform.Console.h"

#include <cstdio>

TCliConsole::TCliConsole() : FOut(stdout)
{
    FOut.setEncoding(QStringConverter::Utf8);
}

void TCliConsole::Error(const QString& message)
{
    FOut.flush();
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << message << '\n';
}

QString TCliConsole::ReadPassword(const QString& prompt)
{
    FOut.flush();
    const auto line = Platform::ReadSecretLine(prompt);
    if (!line)
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("No password given"));
    return *line;
}

QString TCliConsole::ReadNewPassword(const QString& prompt)
{
    const QString password = ReadPassword(prompt);
    if (password.isEmpty())
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("The password must not be empty"));
    if (Platform::IsInputTerminal() && ReadPassword(QStringLiteral("Repeat: ")) != password)
        throw ECliError(TCliExitCode::cecUsage, QStringLiteral("The passwords do not match"));
    return password;
}
