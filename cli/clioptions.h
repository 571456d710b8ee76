#pragma once

#include "records/recordstarget.h"

#include "serial/linesettings.h"
#include <QDateTime>

#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <optional>

// The exit codes of lx815-cli.
namespace ExitCode {
constexpr int kOk = 0;
constexpr int kModule = 1;      // the module did not answer, refused, or a value was refused
constexpr int kUsage = 2;       // bad arguments, or a file that cannot be read or written
constexpr int kPort = 3;        // the port could not be opened
constexpr int kNotVerified = 4; // written, but the module does not hold what the file says
} // namespace ExitCode

// Line parameters of every port of the run.
using SerialSettings = LineSettings;

// What the command line asks for.
struct CliOptions
{
    enum class Command
    {
        Ports,
        Info,
        ReadConfig,
        WriteConfig,
        ReadCalibration,
        WriteCalibration,
        CsvToConfig, // file conversions, no module
        ConfigToCsv,
        History,
        Doctor,
        VerifyConfig,
        VerifyCalibration,
        Snapshot,
        Restore,
        Instrument, // a test set of the bench, no module
        Run         // a recipe on every port, one lane each
    };
    // What instrument asks of the instrument.
    enum class InstrumentAction
    {
        Identify,
        MeasurePower,
        MeasureFrequencyError,
        MeasureDeviation
    };

    // Placeholder in the file of a read with several ports: each port gets its own file.
    static constexpr char kPortPlaceholder[] = "{port}";

    Command command = Command::Ports;
    QString file;
    QString csvFile; // of the CSV conversions; file is their user configuration file
    QStringList ports;
    SerialSettings serial;
    QString language;
    bool json = false;
    bool watch = false; // run: wait for units until SIGINT or SIGTERM
    bool quiet = false;
    // The unit history: where it lives (nothing: the user's own SQLite file), who records.
    std::optional<RecordsTarget> records;
    bool recording = true;
    QString station;
    QString operatorName;
    // history: which entries.
    QString serialNumber;
    QDateTime since;
    QString recipeSha256;   // lower case; fewer than 64 digits: the one recipe they begin
    bool probe = false;     // ports: ask each port for a module
    QString traceFile;      // the support report, written when the command ends
    QStringList arguments;  // as given, for the report
    bool verify = true;     // writes read back what they wrote
    QString backupDir;      // writes save the module's state here first
    bool forceUnit = false; // write a calibration into a unit other than the file's
    // instrument, doctor: the bench's test set and its profile (a built-in name or a file).
    QString instrument;
    QString profile;
    InstrumentAction instrumentAction = InstrumentAction::Identify;

    bool readsFile() const
    {
        return command == Command::WriteConfig || command == Command::WriteCalibration ||
               command == Command::VerifyConfig || command == Command::VerifyCalibration ||
               command == Command::Restore;
    }
    bool writesFile() const
    {
        return command == Command::ReadConfig || command == Command::ReadCalibration ||
               command == Command::Snapshot;
    }
    bool writesModule() const
    {
        return command == Command::WriteConfig || command == Command::WriteCalibration ||
               command == Command::Restore;
    }
    bool convertsCsv() const
    {
        return command == Command::CsvToConfig || command == Command::ConfigToCsv;
    }
    bool needsPort() const
    {
        return command != Command::Ports && command != Command::History &&
               command != Command::Doctor && command != Command::Instrument && !convertsCsv();
    }
    static QString commandName(Command command);
    // The file a read on this port saves to.
    QString fileForPort(const QString &port) const;

    // The options, or the usage error to print. --help and --version print and exit here.
    static std::optional<CliOptions> parse(const QStringList &arguments, QString *error);
};
