#pragma once

#include <QString>

class Console;
struct CliOptions;

// The conversions between a CHIRP CSV channel plan and a user configuration file; they need no
// module. The summary goes to standard error; the exit code is ExitCode's.
namespace CsvCommands {

// csv-to-config or config-to-csv, as the options say.
int run(const CliOptions &options, Console &console);

// Writes the 16 channels of the plan into the file's channel members (its other members stay).
int csvToConfig(const QString &csvPath, const QString &configPath, Console &console);
// Writes the file's channels in use as a CSV file.
int configToCsv(const QString &configPath, const QString &csvPath, Console &console);

} // namespace CsvCommands
