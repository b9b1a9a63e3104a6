#pragma once
// mkdir and rmdir.

#include "Cli.CommandLine.h"

QList<TCliCommand> GroupCommands();
