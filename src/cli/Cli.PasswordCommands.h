#pragma once
// generate and estimate.

#include "Cli.CommandLine.h"

QList<TCliCommand> PasswordCommands();
