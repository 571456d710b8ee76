#pragma once

#include "cli/clioptions.h"
#include "cli/console.h"
#include "session/modulesession.h"

#include <optional>

class LineTrace;

// The field-support side of lx815-cli: probing ports, the doctor, the report of --trace.
namespace SupportCommands {

// ports --probe: every listed port and every --port, all at once.
int probePorts(const CliOptions &options, Console &console, LineTrace *trace);
// doctor: one line per check; 0 when all passed.
int doctor(const CliOptions &options, Console &console, LineTrace *trace);
// --trace FILE: the support report of the run; the identification is the last module's that
// answered, none when no module said what it is.
void writeReport(const CliOptions &options, const LineTrace &trace,
                 const std::optional<ModuleIdentity> &identity, Console &console);

} // namespace SupportCommands
