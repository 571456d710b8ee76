#pragma once

#include "cli/clioptions.h"
#include "cli/console.h"

class LineTrace;

// lx815-cli run: a recipe on every port at once, one lane per port; with --watch a station
// without a window, until SIGINT or SIGTERM.
namespace RunCommand {
int run(const CliOptions &options, Console &console, LineTrace *trace);
}
