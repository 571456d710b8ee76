#pragma once

#include "cli/clioptions.h"
#include "cli/console.h"

#include <optional>

class RecordStore;

// report: the line's figures from the history, as one JSON object or as an HTML page with its
// charts and the tables as CSV files.
namespace ReportCommand {

int run(const CliOptions &options, const RecordsTarget &records, Console &console);

// Whether the program's arguments ask for the charts, so that main() makes the application they
// need (widgets, offscreen) before any other: a word "report" anywhere, unless --json alone
// asks for numbers only.
bool drawsCharts(int argc, char **argv);

// A --recipe shorter than a SHA-256 names the one recipe whose SHA-256 it begins, and becomes
// it; one that begins none stays as it is. An exit code when the store cannot say or the
// prefix is ambiguous, with its message said.
std::optional<int> resolveRecipe(RecordStore &store, QString *sha, Console &console);

} // namespace ReportCommand
