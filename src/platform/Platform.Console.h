#pragma once
// Standard input for command-line tools: whether a person types at a terminal,
// and reading one line (a secret without echo at a terminal).

#include <QString>

#include <optional>

namespace Platform {

bool IsInputTerminal();

// Reads one line from standard input without its line end; nothing at end of
// input. At a terminal the prompt goes to standard error and what is typed is
// not echoed. The buffer the line passed through is wiped.
std::optional<QString> ReadSecretLine(const QString& prompt);

} // namespace Platform
