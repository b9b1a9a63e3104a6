#pragma once
// ls, show, search, add, edit, rm and mv.

#include "Cli.CommandLine.h"

QList<TCliCommand> TokenCommands();
