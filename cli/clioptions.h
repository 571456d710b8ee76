#pragma once

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
        VerifyConfig,
        VerifyCalibration,
        Snapshot,
        Restore
    };

    // Placeholder in the file of a read with several ports: each port gets its own file.
    static constexpr char kPortPlaceholder[] = "{port}";

    Command command = Command::Ports;
    QString file;
    QStringList ports;
    SerialSettings serial;
    QString language;
    bool json = false;
    bool quiet = false;
    bool verify = true;     // writes read back what they wrote
    QString backupDir;      // writes save the module's state here first
    bool forceUnit = false; // write a calibration into a unit other than the file's

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
    bool needsPort() const { return command != Command::Ports; }
    // The file a read on this port saves to.
    QString fileForPort(const QString &port) const;

    // The options, or the usage error to print. --help and --version print and exit here.
    static std::optional<CliOptions> parse(const QStringList &arguments, QString *error);
};
