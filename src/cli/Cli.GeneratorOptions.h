#pragma once
// Options that choose a password: the generator's length and character classes
// (generate, add, edit), and where a token's password comes from (add, edit).

#include "Cli.CommandLine.h"

#include <optional>

namespace CliGeneratorOptions {

void AddGeneratorOptions(QCommandLineParser& parser);
// The library's defaults, changed by the options given.
Lockwyn::TPasswordGeneratorSettings Settings(const TCliArguments& arguments,
                                             Lockwyn::IPasswordGenerator& generator);

// -p (prompt, or the next line of standard input) and -g (generate) with the
// generator options.
void AddTokenPasswordOptions(QCommandLineParser& parser);
// The password the options ask for; nothing when neither -p nor -g is given.
std::optional<QString> TokenPassword(const TCliArguments& arguments, TCliContext& context,
                                     Lockwyn::IPasswordGenerator& generator);

} // namespace CliGeneratorOptions
