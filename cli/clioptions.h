#pragma once

#include "records/recordstarget.h"

#include <QDateTime>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <optional>

// The exit codes of lx815-cli.
namespace ExitCode {
constexpr int kOk = 0;
constexpr int kModule = 1; // the module did not answer, refused, or a value was refused
constexpr int kUsage = 2;  // bad arguments, or a file that cannot be read or written
constexpr int kPort = 3;   // the port could not be opened
} // namespace ExitCode

// Line parameters of every port of the run.
struct SerialSettings
{
    qint32 baudRate = 9600; // bit/s
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

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
        History
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
    bool quiet = false;
    // The unit history: where it lives (nothing: the user's own SQLite file), who records.
    std::optional<RecordsTarget> records;
    bool recording = true;
    QString station;
    QString operatorName;
    // history: which entries.
    QString serialNumber;
    QDateTime since;

    bool readsFile() const
    {
        return command == Command::WriteConfig || command == Command::WriteCalibration;
    }
    bool writesFile() const
    {
        return command == Command::ReadConfig || command == Command::ReadCalibration;
    }
    bool convertsCsv() const
    {
        return command == Command::CsvToConfig || command == Command::ConfigToCsv;
    }
    bool needsPort() const
    {
        return command != Command::Ports && command != Command::History && !convertsCsv();
    }
    static QString commandName(Command command);
    // The file a read on this port saves to.
    QString fileForPort(const QString &port) const;

    // The options, or the usage error to print. --help and --version print and exit here.
    static std::optional<CliOptions> parse(const QStringList &arguments, QString *error);
};
