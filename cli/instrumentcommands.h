#pragma once

#include "cli/clioptions.h"
#include "cli/console.h"
#include "serial/portchecks.h"

// The bench's instrument from the command line: instrument idn|measure ..., and its doctor line.
namespace InstrumentCommands {

int run(const CliOptions &options, Console &console);
// The doctor's check of --instrument, run on a worker thread like a station's lane.
PortChecks::Check doctorCheck(const CliOptions &options);

} // namespace InstrumentCommands
