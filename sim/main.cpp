#include "app/termination.h"
#include "sim/modulesimulator.h"
#include "sim/testset.h"
#include "sim/unitsocket.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {
constexpr int kDefaultBaud = 9600; // bit/s, the module's factory line rate
constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

int usageError(const QString &text)
{
    QTextStream(stderr) << "lx815-sim: " << text << '\n';
    return kExitUsage;
}

std::optional<quint8> parseByte(QString text)
{
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.mid(2);
    const uint value = text.toUInt(&ok, 16);
    if (!ok || value > 0xFF)
        return std::nullopt;
    return static_cast<quint8>(value);
}

QString logLine(const ModuleSimulator::LogEntry &entry)
{
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
        .arg(entry.time.toString(Qt::ISODateWithMs), toHexText(LinkFrame::encode(entry.request)),
             entry.replyBytes.isEmpty() ? QStringLiteral("-") : toHexText(entry.replyBytes),
             faultName(entry.fault))
        .arg(entry.attempt);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lx815-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LX_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the LX-815 radio module on a pseudo-terminal and prints the terminal's path on "
        "the first line of standard output."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption stateOption(QStringLiteral("state"),
                                         QStringLiteral("Module state file to load (JSON)."),
                                         QStringLiteral("file"));
    const QCommandLineOption saveOption(QStringLiteral("save"),
                                        QStringLiteral("Save the state file after each change."));
    const QCommandLineOption logOption(
        QStringLiteral("log"),
        QStringLiteral("Request log: time, request frame, reply bytes, fault, attempt."),
        QStringLiteral("file"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
                                        QStringLiteral("Line rate in bit/s; 0 turns pacing off."),
                                        QStringLiteral("n"), QString::number(kDefaultBaud));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Reply latency in ms."),
                                           QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption rateOption(QStringLiteral("fault-rate"),
                                        QStringLiteral("Share of requests hit by a random fault."),
                                        QStringLiteral("r"), QStringLiteral("0"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the random faults."),
                                        QStringLiteral("s"), QStringLiteral("1"));
    const QCommandLineOption kindsOption(
        QStringLiteral("fault-kinds"),
        QStringLiteral("Comma-separated kinds of random fault (default: all the tool retries)."),
        QStringLiteral("kinds"));
    const QCommandLineOption excludeOption(
        QStringLiteral("fault-exclude"),
        QStringLiteral("Hex request prefix never hit at random (repeatable)."),
        QStringLiteral("hex"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral("Scripted fault PREFIX:KIND[=PARAM][:COUNT|*|@A,B], e.g. A2:drop:1 "
                       "(repeatable). Kinds: drop checksum short long lead refuse split noise "
                       "delay duplicate."),
        QStringLiteral("rule"));
    const QCommandLineOption bandOption(
        QStringLiteral("band"), QStringLiteral("Band code, e.g. 0x12."), QStringLiteral("code"));
    const QCommandLineOption linkOption(
        QStringLiteral("link"), QStringLiteral("Also make a symbolic link to the terminal."),
        QStringLiteral("path"));
    const QCommandLineOption replayOption(
        QStringLiteral("replay"),
        QStringLiteral("Play the module of a support report: recorded answers in trace order."),
        QStringLiteral("report"));
    const QCommandLineOption unitsOption(
        QStringLiteral("units"),
        QStringLiteral("A socket where units come and go: a JSON list of unit states, the first "
                       "one in; SIGUSR1 takes the unit out (silence), SIGUSR2 puts the next in. "
                       "Each change is a line on standard output: \"in N SERIAL\", "
                       "\"out N SERIAL\" or \"empty\"."),
        QStringLiteral("file"));
    const QCommandLineOption scheduleOption(
        QStringLiteral("schedule"),
        QStringLiteral("With --units: timed changes DELAY_MS:out|next|in, comma-separated, each "
                       "after the previous one, e.g. 3000:out,500:next."),
        QStringLiteral("items"));
    parser.addOptions({unitsOption, scheduleOption});
    parser.addOption(replayOption);
    const QCommandLineOption testSetOption(
        QStringLiteral("test-set"),
        QStringLiteral("Also play a bench test set (generic-scpi) on this TCP port of 127.0.0.1 "
                       "(0 picks a free one); its URL is the second line of output."),
        QStringLiteral("port"));
    const QCommandLineOption testSetFaultOption(
        QStringLiteral("test-set-fault"),
        QStringLiteral("Test set fault (repeatable): mute[=N] falls silent after N commands, "
                       "noisy[=FACTOR] scatters its readings, weak-cell=NN keeps that power "
                       "cell (as in /TxPowerAdj/cellNN) 3 dB short."),
        QStringLiteral("fault"));
    const QCommandLineOption testSetLogOption(
        QStringLiteral("test-set-log"),
        QStringLiteral("Test set log: each command, answer, and calibration it witnessed."),
        QStringLiteral("file"));
    const QCommandLineOption testSetSettleOption(
        QStringLiteral("test-set-settle"),
        QStringLiteral("Test set settling: each measurement and each wait for completion after a "
                       "setting answers after this many ms (default 0)."),
        QStringLiteral("ms"));
    parser.addOptions({testSetOption, testSetFaultOption, testSetLogOption, testSetSettleOption});
    parser.addOptions({stateOption, saveOption, logOption, baudOption, latencyOption, rateOption,
                       seedOption, kindsOption, excludeOption, faultOption, bandOption,
                       linkOption});
    parser.process(app);

    std::optional<quint8> band;
    if (parser.isSet(bandOption) && !(band = parseByte(parser.value(bandOption))))
        return usageError(QStringLiteral("--band expects a hex byte"));
    const QString statePath = parser.value(stateOption);
    if (parser.isSet(saveOption) && statePath.isEmpty())
        return usageError(QStringLiteral("--save needs --state"));
    ModuleState state = ModuleState::defaults(band.value_or(ModuleState::kDefaultBand));
    if (!statePath.isEmpty() && QFileInfo::exists(statePath)) {
        QString error;
        const auto loaded = ModuleState::load(statePath, &error);
        if (!loaded)
            return usageError(error);
        state = *loaded;
        if (band)
            state.band = *band;
    }

    std::optional<QList<ModuleState>> units;
    std::optional<QList<UnitSocket::ScheduleItem>> schedule;
    if (parser.isSet(unitsOption)) {
        if (parser.isSet(stateOption) || parser.isSet(replayOption) || parser.isSet(bandOption))
            return usageError(QStringLiteral("--units goes without --state, --replay and --band"));
        QString error;
        if (!(units = UnitSocket::loadUnits(parser.value(unitsOption), &error)))
            return usageError(error);
    }
    if (parser.isSet(scheduleOption)) {
        QString error;
        if (!units)
            return usageError(QStringLiteral("--schedule needs --units"));
        if (!(schedule = UnitSocket::parseSchedule(parser.value(scheduleOption), &error)))
            return usageError(error);
    }

    bool ok = false;
    const int baud = parser.value(baudOption).toInt(&ok);
    if (!ok || baud < 0)
        return usageError(QStringLiteral("--baud expects a number"));
    const int latency = parser.value(latencyOption).toInt(&ok);
    if (!ok || latency < 0)
        return usageError(QStringLiteral("--latency expects a number of ms"));
    const double rate = parser.value(rateOption).toDouble(&ok);
    if (!ok || rate < 0.0 || rate > 1.0)
        return usageError(QStringLiteral("--fault-rate expects a number from 0 to 1"));
    const quint32 seed = parser.value(seedOption).toUInt(&ok);
    if (!ok)
        return usageError(QStringLiteral("--seed expects a number"));

    ModuleSimulator simulator;
    simulator.setState(state);
    if (parser.isSet(replayOption)) {
        QFile report(parser.value(replayOption));
        if (!report.open(QIODevice::ReadOnly))
            return usageError(report.fileName() + QStringLiteral(": ") + report.errorString());
        QString replayError;
        const auto script = ReplayScript::fromReport(report.readAll(), &replayError);
        if (!script)
            return usageError(report.fileName() + QStringLiteral(": ") + replayError);
        simulator.setReplay(*script);
    }
    simulator.setBaud(baud);
    simulator.setLatency(latency);
    for (const QString &ruleText : parser.values(faultOption)) {
        QString error;
        const auto rule = FaultInjector::parseRule(ruleText, &error);
        if (!rule)
            return usageError(error);
        simulator.faults().addRule(*rule);
    }
    QList<FaultKind> kinds = FaultInjector::defaultRandomKinds();
    if (parser.isSet(kindsOption)) {
        kinds.clear();
        for (const QString &name : parser.value(kindsOption).split(QLatin1Char(','))) {
            const auto kind = faultKindFromName(name.trimmed());
            if (!kind || *kind == FaultKind::None)
                return usageError(QStringLiteral("unknown fault kind \"%1\"").arg(name));
            kinds.append(*kind);
        }
    }
    simulator.faults().setRandom(rate, seed, kinds);
    QList<QByteArray> excluded;
    for (const QString &hex : parser.values(excludeOption))
        excluded.append(QByteArray::fromHex(hex.toLatin1()));
    simulator.faults().setRandomExcluded(excluded);

    TestSet testSet(simulator);
    testSet.setSeed(seed);
    for (const QString &faultText : parser.values(testSetFaultOption)) {
        QString faultError;
        if (!TestSet::parseFault(faultText, &testSet.faults(), &faultError))
            return usageError(faultError);
    }
    if (parser.isSet(testSetSettleOption)) {
        const int settleMs = parser.value(testSetSettleOption).toInt(&ok);
        if (!ok || settleMs < 0)
            return usageError(QStringLiteral("--test-set-settle expects milliseconds"));
        testSet.setSettleMs(settleMs);
    }
    const quint16 testSetPort = static_cast<quint16>(parser.value(testSetOption).toUInt(&ok));
    if (parser.isSet(testSetOption) && (!ok || parser.value(testSetOption).toUInt() > 65535))
        return usageError(QStringLiteral("--test-set expects a port number"));
    QFile testSetLog(parser.value(testSetLogOption));
    if (parser.isSet(testSetLogOption) &&
        !testSetLog.open(QIODevice::WriteOnly | QIODevice::Append))
        return usageError(testSetLog.fileName() + QStringLiteral(": ") + testSetLog.errorString());
    if (testSetLog.isOpen()) {
        QObject::connect(&testSet, &TestSet::logLine, [&](const QString &line) {
            testSetLog.write(
                QStringLiteral("%1\t%2\n")
                    .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), line)
                    .toUtf8());
            testSetLog.flush();
        });
    }

    QFile logFile(parser.value(logOption));
    if (parser.isSet(logOption) && !logFile.open(QIODevice::WriteOnly | QIODevice::Append))
        return usageError(logFile.fileName() + QStringLiteral(": ") + logFile.errorString());
    if (logFile.isOpen()) {
        QObject::connect(&simulator, &ModuleSimulator::requestReceived, [&] {
            logFile.write(logLine(simulator.log().last()).toUtf8());
            logFile.flush();
        });
    }
    if (parser.isSet(saveOption)) {
        QObject::connect(&simulator, &ModuleSimulator::stateChanged, [&] {
            QString error;
            if (!simulator.state().save(statePath, &error))
                QTextStream(stderr) << "lx815-sim: " << error << '\n';
        });
    }

    QString error;
    if (!simulator.open(&error)) {
        QTextStream(stderr) << "lx815-sim: " << error << '\n';
        return kExitFailure;
    }
    if (parser.isSet(saveOption) && !QFileInfo::exists(statePath))
        simulator.state().save(statePath, nullptr);
    const QString linkPath = parser.value(linkOption);
    if (!linkPath.isEmpty()) {
        if (QFileInfo(linkPath).isSymLink())
            QFile::remove(linkPath);
        if (!QFile::link(simulator.slavePath(), linkPath))
            return usageError(QStringLiteral("cannot create the link %1").arg(linkPath));
    }
    // Quits on SIGTERM and SIGINT, so the symbolic link is removed and files closed.
    if (!installTerminationHandler(app))
        return kExitFailure;

    QString testSetError;
    if (parser.isSet(testSetOption) && !testSet.listen(testSetPort, &testSetError)) {
        QTextStream(stderr) << "lx815-sim: " << testSetError << '\n';
        return kExitFailure;
    }
    std::fprintf(stdout, "%s\n", qPrintable(simulator.slavePath()));
    if (parser.isSet(testSetOption))
        std::fprintf(stdout, "%s\n", qPrintable(testSet.url()));
    std::fflush(stdout);
    std::unique_ptr<UnitSocket> socket;
    if (units) {
        socket = std::make_unique<UnitSocket>(simulator, *units);
        QObject::connect(socket.get(), &UnitSocket::changed, [](const QString &event) {
            std::fprintf(stdout, "%s\n", qPrintable(event));
            std::fflush(stdout);
        });
        if (!installUnitSignals(*socket))
            return kExitFailure;
        socket->start();
        if (schedule)
            socket->runSchedule(*schedule);
    }
    const int result = app.exec();
    if (!linkPath.isEmpty())
        QFile::remove(linkPath);
    simulator.close();
    return result;
}
