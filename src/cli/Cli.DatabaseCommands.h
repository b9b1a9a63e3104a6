#pragma once
// create, info, passwd, import and export.

#include "Cli.CommandLine.h"

QList<TCliCommand> DatabaseCommands();
