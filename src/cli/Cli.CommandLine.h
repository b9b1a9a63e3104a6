#pragma once
// The commands of lockwyn-cli, each with its own options and "--help", and the
// dispatcher that runs one of them.

#include "Cli.Console.h"
#include "Cli.LibraryConnections.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <functional>

class TCliContext
{
public:
    TCliConsole Console;
    TCliLibraries Libraries;
};

// The parsed command line of one command.
class TCliArguments
{
public:
    explicit TCliArguments(QCommandLineParser& parser) : FParser(parser) {}

    // The positional arguments in order; optional ones may be missing.
    QString Positional(int index) const;
    int PositionalCount() const { return int(FParser.positionalArguments().size()); }
    bool IsSet(const QString& option) const { return FParser.isSet(option); }
    QString Value(const QString& option) const { return FParser.value(option); }
    QStringList Values(const QString& option) const { return FParser.values(option); }
    // Absent when the option is not given; a usage error when it is no number in range.
    std::optional<qint64> Number(const QString& option, qint64 min, qint64 max) const;
    // A date ("2030-06-30") or date and time ("2030-06-30T12:00"); usage error otherwise.
    QDateTime DateTime(const QString& option) const;

private:
    QCommandLineParser& FParser;
};

struct TCliCommand
{
    QString Name;
    QString Description;
    // Names of the positional arguments; an optional one is written "[name]".
    QStringList Positionals;
    std::function<void(QCommandLineParser&)> AddOptions;
    std::function<void(TCliArguments&, TCliContext&)> Run;
};

// Runs the command named by the first argument (arguments without the program
// name); returns the exit code.
int RunCommandLine(const QStringList& arguments, TCliContext& context,
                   const QList<TCliCommand>& commands);
