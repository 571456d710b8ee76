#include "cli/clioptions.h"

#include "app/language.h"
#include "instrument/instrumentprofile.h"
#include "records/unitrecord.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

namespace {
const QMap<QString, CliOptions::Command> kCommands{
    {QStringLiteral("ports"), CliOptions::Command::Ports},
    {QStringLiteral("info"), CliOptions::Command::Info},
    {QStringLiteral("read-config"), CliOptions::Command::ReadConfig},
    {QStringLiteral("write-config"), CliOptions::Command::WriteConfig},
    {QStringLiteral("read-calibration"), CliOptions::Command::ReadCalibration},
    {QStringLiteral("write-calibration"), CliOptions::Command::WriteCalibration},
    {QStringLiteral("csv-to-config"), CliOptions::Command::CsvToConfig},
    {QStringLiteral("config-to-csv"), CliOptions::Command::ConfigToCsv},
    {QStringLiteral("history"), CliOptions::Command::History},
    {QStringLiteral("doctor"), CliOptions::Command::Doctor},
    {QStringLiteral("verify-config"), CliOptions::Command::VerifyConfig},
    {QStringLiteral("verify-calibration"), CliOptions::Command::VerifyCalibration},
    {QStringLiteral("snapshot"), CliOptions::Command::Snapshot},
    {QStringLiteral("restore"), CliOptions::Command::Restore},
    {QStringLiteral("instrument"), CliOptions::Command::Instrument},
    {QStringLiteral("run"), CliOptions::Command::Run},
};

// The words after "instrument".
const QMap<QString, CliOptions::InstrumentAction> kInstrumentActions{
    {QStringLiteral("idn"), CliOptions::InstrumentAction::Identify},
    {QStringLiteral("measure power"), CliOptions::InstrumentAction::MeasurePower},
    {QStringLiteral("measure frequency-error"),
     CliOptions::InstrumentAction::MeasureFrequencyError},
    {QStringLiteral("measure deviation"), CliOptions::InstrumentAction::MeasureDeviation},
};

const QMap<QString, QSerialPort::DataBits> kDataBits{
    {QStringLiteral("5"), QSerialPort::Data5},
    {QStringLiteral("6"), QSerialPort::Data6},
    {QStringLiteral("7"), QSerialPort::Data7},
    {QStringLiteral("8"), QSerialPort::Data8},
};

const QMap<QString, QSerialPort::Parity> kParities{
    {QStringLiteral("none"), QSerialPort::NoParity},
    {QStringLiteral("even"), QSerialPort::EvenParity},
    {QStringLiteral("odd"), QSerialPort::OddParity},
    {QStringLiteral("space"), QSerialPort::SpaceParity},
    {QStringLiteral("mark"), QSerialPort::MarkParity},
};

const QMap<QString, QSerialPort::StopBits> kStopBits{
    {QStringLiteral("1"), QSerialPort::OneStop},
    {QStringLiteral("1.5"), QSerialPort::OneAndHalfStop},
    {QStringLiteral("2"), QSerialPort::TwoStop},
};

const QMap<QString, QSerialPort::FlowControl> kFlowControls{
    {QStringLiteral("none"), QSerialPort::NoFlowControl},
    {QStringLiteral("hardware"), QSerialPort::HardwareControl},
    {QStringLiteral("software"), QSerialPort::SoftwareControl},
};

QString choices(const QStringList &keys)
{
    return keys.join(QLatin1Char('|'));
}

// The value of the option when it is one of the table's keys.
template<class T>
bool lookUp(const QCommandLineParser &parser, const QCommandLineOption &option,
            const QMap<QString, T> &table, T *value, QString *error)
{
    const QString text = parser.value(option).toLower();
    if (!table.contains(text)) {
        *error = QStringLiteral("--%1 expects %2, not \"%3\"")
                     .arg(option.names().constFirst(), choices(table.keys()), text);
        return false;
    }
    *value = table.value(text);
    return true;
}

// A date is its first moment in UTC; a time without a zone is UTC too.
QDateTime parseSince(const QString &text)
{
    // A date alone is its midnight; QDate would also take the date in front of a time.
    static const QRegularExpression dateOnly(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate date =
        dateOnly.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid() && time.timeSpec() == Qt::LocalTime)
        time.setTimeSpec(Qt::UTC);
    return time;
}
} // namespace

QString CliOptions::commandName(Command command)
{
    return kCommands.key(command);
}

QString CliOptions::fileForPort(const QString &port) const
{
    QString path = file;
    return path.replace(QLatin1String(kPortPlaceholder), QFileInfo(port).fileName());
}

std::optional<CliOptions> CliOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Identifies LX-815 modules and reads or writes their user configuration or factory "
        "calibration in the files of the configuration tool, on one or several serial ports at "
        "once.\n\nExit codes: 0 success, 1 the module (or instrument) did not answer or "
        "refused, 2 usage error or bad file, 3 the port (or instrument) could not be opened, 4 "
        "written but not verified (or a verify "
        "found differences)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Serial port of a module; repeat it to run on several modules at once."),
        QStringLiteral("path"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate."),
                                        QStringLiteral("n"), QStringLiteral("9600"));
    const QCommandLineOption dataBitsOption(QStringLiteral("data-bits"),
                                            QStringLiteral("Data bits: 5|6|7|8."),
                                            QStringLiteral("n"), QStringLiteral("8"));
    const QCommandLineOption parityOption(QStringLiteral("parity"),
                                          QStringLiteral("Parity: none|even|odd|space|mark."),
                                          QStringLiteral("p"), QStringLiteral("none"));
    const QCommandLineOption stopBitsOption(QStringLiteral("stop-bits"),
                                            QStringLiteral("Stop bits: 1|1.5|2."),
                                            QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption flowOption(QStringLiteral("flow-control"),
                                        QStringLiteral("Flow control: none|hardware|software."),
                                        QStringLiteral("f"), QStringLiteral("none"));
    const QCommandLineOption langOption(QStringLiteral("lang"),
                                        QStringLiteral("Language of the messages: en_US|zh_CN."),
                                        QStringLiteral("code"), Language::kEnglish);
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("info: print one JSON object per module; run: one per unit."));
    const QCommandLineOption watchOption(
        QStringLiteral("watch"),
        QStringLiteral("run: each port waits for a unit, runs it, waits until it is gone, and "
                       "so on until SIGINT or SIGTERM; then a summary."));
    const QCommandLineOption quietOption(
        QStringLiteral("quiet"),
        QStringLiteral("No progress and no result lines for modules that succeeded."));
    const QCommandLineOption probeOption(QStringLiteral("probe"),
                                         QStringLiteral("ports: ask every port for a module."));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("Write the support report (line trace, ports, checks) to FILE at the end."),
        QStringLiteral("file"));
    parser.addOptions({portOption, baudOption, dataBitsOption, parityOption, stopBitsOption,
                       flowOption, langOption, jsonOption, watchOption, quietOption, probeOption,
                       traceOption});
    const QCommandLineOption recordsOption(
        QStringLiteral("records"),
        QStringLiteral("The unit history: an SQLite file, or postgresql://user@host:port/db "
                       "shared by the stations of a line (default: records.sqlite in the "
                       "user's data folder)."),
        QStringLiteral("database"));
    const QCommandLineOption stationOption(QStringLiteral("station"),
                                           QStringLiteral("Station named in the history "
                                                          "(default: the host name)."),
                                           QStringLiteral("name"));
    const QCommandLineOption operatorOption(QStringLiteral("operator"),
                                            QStringLiteral("Operator named in the history "
                                                           "(default: the user)."),
                                            QStringLiteral("name"));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
                                          QStringLiteral("history: one unit's entries."),
                                          QStringLiteral("SN"));
    const QCommandLineOption sinceOption(
        QStringLiteral("since"),
        QStringLiteral("history: entries from this date (2026-03-01) or UTC time on."),
        QStringLiteral("date"));
    const QCommandLineOption recipeOption(
        QStringLiteral("recipe"),
        QStringLiteral("history: entries of the recipe with this SHA-256 (its 64 hex digits, or "
                       "the first 8 or more when no other recipe in the history begins so)."),
        QStringLiteral("SHA"));
    const QCommandLineOption noRecordsOption(QStringLiteral("no-records"),
                                             QStringLiteral("Record nothing in the history."));
    parser.addOptions({recordsOption, noRecordsOption, stationOption, operatorOption, serialOption,
                       sinceOption, recipeOption});
    const QCommandLineOption noVerifyOption(
        QStringLiteral("no-verify"), QStringLiteral("Writes: do not read back what was written."));
    const QCommandLineOption backupOption(
        QStringLiteral("backup"),
        QStringLiteral(
            "Writes: first save the module's snapshot as a new file "
            "DIR/SERIAL-yyyyMMdd-HHmmss.zzz-PORT.json (UTC; -2, -3, ... before .json when that "
            "name is taken; DIR is made when missing); nothing is written when that read fails."),
        QStringLiteral("DIR"));
    const QCommandLineOption forceUnitOption(
        QStringLiteral("force-unit"),
        QStringLiteral("write-calibration, restore: write even into a unit other than the "
                       "file's /Unit/SerialNumber."));
    parser.addOptions({noVerifyOption, backupOption, forceUnitOption});
    const QCommandLineOption instrumentOption(
        QStringLiteral("instrument"),
        QStringLiteral("instrument, doctor: the test set, tcp://HOST[:PORT] (default port "
                       "5025), usbtmc:///dev/usbtmc0 or serial:///dev/ttyUSB1?baud=9600."),
        QStringLiteral("URL"));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        QStringLiteral("instrument, doctor: the instrument profile, a JSON file or the name of "
                       "a built-in one."),
        QStringLiteral("FILE"), QLatin1String(InstrumentProfile::kDefaultName));
    parser.addOptions({instrumentOption, profileOption});
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral(
            "ports [--probe] | doctor | info | read-config FILE | write-config FILE | "
            "read-calibration FILE | write-calibration FILE | verify-config FILE | "
            "verify-calibration FILE | snapshot FILE | restore FILE | csv-to-config "
            "CSV FILE | config-to-csv FILE CSV | history | instrument idn | instrument measure "
            "power|frequency-error|deviation | run RECIPE [--watch]. With several ports a read "
            "saves one file per port: put %1 in FILE. The CSV commands convert CHIRP "
            "CSV channel plans without a module.")
            .arg(QLatin1String(kPortPlaceholder)),
        QStringLiteral("COMMAND [FILE]"));

    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(ExitCode::kOk);
    if (parser.isSet(version))
        parser.showVersion();

    CliOptions options;
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty() || !kCommands.contains(positional.constFirst())) {
        *error = positional.isEmpty()
                     ? QStringLiteral("no command given")
                     : QStringLiteral("unknown command \"%1\"").arg(positional.constFirst());
        return std::nullopt;
    }
    options.command = kCommands.value(positional.constFirst());
    const bool takesFile =
        options.readsFile() || options.writesFile() || options.command == Command::Run;
    if (options.command == Command::Instrument) {
        const QString action = positional.mid(1).join(QLatin1Char(' '));
        if (!kInstrumentActions.contains(action)) {
            *error = QStringLiteral("instrument expects %1")
                         .arg(kInstrumentActions.keys().join(QStringLiteral(" | ")));
            return std::nullopt;
        }
        options.instrumentAction = kInstrumentActions.value(action);
    } else if (options.convertsCsv()) {
        if (positional.size() != 3) {
            *error = QStringLiteral("%1 needs two files").arg(positional.constFirst());
            return std::nullopt;
        }
        const bool fromCsv = options.command == Command::CsvToConfig;
        options.csvFile = positional.at(fromCsv ? 1 : 2);
        options.file = positional.at(fromCsv ? 2 : 1);
    } else if (positional.size() != (takesFile ? 2 : 1)) {
        *error = takesFile
                     ? QStringLiteral("%1 needs exactly one FILE").arg(positional.constFirst())
                     : QStringLiteral("%1 takes no further argument").arg(positional.constFirst());
        return std::nullopt;
    } else if (takesFile) {
        options.file = positional.at(1);
    }

    options.ports = parser.values(portOption);
    if (options.needsPort() && options.ports.isEmpty()) {
        *error = QStringLiteral("%1 needs --port").arg(positional.constFirst());
        return std::nullopt;
    }
    if (options.ports.removeDuplicates() > 0) {
        *error = QStringLiteral("the same --port is given twice");
        return std::nullopt;
    }
    if (options.writesFile()) {
        QStringList files;
        for (const QString &port : qAsConst(options.ports))
            files.append(options.fileForPort(port));
        if (files.removeDuplicates() > 0) {
            *error = QStringLiteral("each module needs a file of its own: put %1 in FILE, and "
                                    "name ports whose file names differ")
                         .arg(QLatin1String(kPortPlaceholder));
            return std::nullopt;
        }
    }

    bool ok = false;
    options.serial.baudRate = parser.value(baudOption).toInt(&ok);
    if (!ok || options.serial.baudRate <= 0) {
        *error = QStringLiteral("--baud expects a positive number");
        return std::nullopt;
    }
    if (!lookUp(parser, dataBitsOption, kDataBits, &options.serial.dataBits, error) ||
        !lookUp(parser, parityOption, kParities, &options.serial.parity, error) ||
        !lookUp(parser, stopBitsOption, kStopBits, &options.serial.stopBits, error) ||
        !lookUp(parser, flowOption, kFlowControls, &options.serial.flowControl, error))
        return std::nullopt;

    options.language = parser.value(langOption);
    if (options.language != Language::kEnglish && options.language != Language::kChinese) {
        *error = QStringLiteral("--lang expects %1|%2").arg(Language::kEnglish, Language::kChinese);
        return std::nullopt;
    }
    options.json = parser.isSet(jsonOption);
    options.watch = parser.isSet(watchOption);
    if (options.watch && options.command != Command::Run) {
        *error = QStringLiteral("--watch goes with run");
        return std::nullopt;
    }
    options.recording = !parser.isSet(noRecordsOption);
    options.quiet = parser.isSet(quietOption);
    if (parser.isSet(recordsOption) &&
        !(options.records = RecordsTarget::parse(parser.value(recordsOption), error)))
        return std::nullopt;
    options.station =
        parser.isSet(stationOption) ? parser.value(stationOption) : UnitRecord::defaultStation();
    options.operatorName =
        parser.isSet(operatorOption) ? parser.value(operatorOption) : UnitRecord::defaultOperator();
    options.serialNumber = parser.value(serialOption).toUpper();
    if (parser.isSet(sinceOption) &&
        !(options.since = parseSince(parser.value(sinceOption))).isValid()) {
        *error =
            QStringLiteral("--since expects a date (2026-03-01) or an ISO 8601 time, not \"%1\"")
                .arg(parser.value(sinceOption));
        return std::nullopt;
    }
    options.recipeSha256 = parser.value(recipeOption).toLower();
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9a-f]{8,64}$"));
    if (parser.isSet(recipeOption) && !hexDigits.match(options.recipeSha256).hasMatch()) {
        *error = QStringLiteral("--recipe expects a SHA-256: 8 to 64 hex digits, not \"%1\"")
                     .arg(parser.value(recipeOption));
        return std::nullopt;
    }
    options.probe = parser.isSet(probeOption);
    options.traceFile = parser.value(traceOption);
    options.arguments = arguments;
    options.verify = !parser.isSet(noVerifyOption);
    options.backupDir = parser.value(backupOption);
    options.forceUnit = parser.isSet(forceUnitOption);
    options.instrument = parser.value(instrumentOption);
    options.profile = parser.value(profileOption);
    const bool usesInstrument =
        options.command == Command::Instrument || options.command == Command::Doctor;
    if (options.command == Command::Instrument && options.instrument.isEmpty()) {
        *error = QStringLiteral("instrument needs --instrument");
        return std::nullopt;
    }
    if (!usesInstrument && (parser.isSet(instrumentOption) || parser.isSet(profileOption))) {
        *error = QStringLiteral("--instrument and --profile go with instrument or doctor");
        return std::nullopt;
    }
    if (!options.backupDir.isEmpty() && !options.writesModule()) {
        *error = QStringLiteral("--backup goes with a command that writes a module");
        return std::nullopt;
    }
    return options;
}
