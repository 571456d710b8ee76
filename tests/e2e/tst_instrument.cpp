// The instrument layer against the simulated test set on 127.0.0.1, the profile reader, the
// radio model of the simulated unit, and lx815-cli instrument.
#include "app/language.h"
#include "instrument/instrument.h"
#include "sim/radiomodel.h"
#include "sim/testset.h"
#include "support/pty.h"
#include "support/simharness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
constexpr int kShortTimeoutMs = 400;
constexpr double kNoiseDb = 0.3; // far beyond the set's usual scatter

QJsonObject genericProfile()
{
    QFile file(QStringLiteral(":/instruments/generic-scpi.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

// The generic profile with changes: "Commands.X" members replace commands, others top members;
// an undefined value removes the member.
QByteArray profileWith(const QVariantMap &changes)
{
    QJsonObject profile = genericProfile();
    QJsonObject commands = profile.value("Commands").toObject();
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const bool command = it.key().startsWith("Commands.");
        QJsonObject &target = command ? commands : profile;
        const QString key = command ? it.key().mid(9) : it.key();
        if (it.value().isValid())
            target.insert(key, QJsonValue::fromVariant(it.value()));
        else
            target.remove(key);
    }
    if (!changes.contains("Commands"))
        profile.insert("Commands", commands);
    return QJsonDocument(profile).toJson();
}

struct Run
{
    bool ok = false;
    QString result;
    Instrument::Failure failure;
    qint64 elapsedMs = 0;
};

// The instrument on a worker thread, as a station's lane drives it; this thread keeps serving
// the simulated module and test set meanwhile.
Run onWorker(const QString &url, const InstrumentProfile &profile,
             const std::function<std::optional<QString>(Instrument &)> &work)
{
    Run run;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        QElapsedTimer clock;
        clock.start();
        Instrument instrument(*InstrumentAddress::parse(url, nullptr), profile);
        std::optional<QString> result;
        if (instrument.connectToInstrument())
            result = work(instrument);
        run.ok = result.has_value();
        run.result = result.value_or(QString());
        run.failure = instrument.failure();
        run.elapsedMs = clock.elapsed();
    }));
    QSignalSpy finished(thread.get(), &QThread::finished);
    thread->start();
    finished.wait(20000);
    return run;
}

std::optional<QString> measured(std::optional<double> value)
{
    return value ? std::optional<QString>(QString::number(*value, 'f', 2)) : std::nullopt;
}
} // namespace

class TestInstrument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Language::install(Language::kEnglish);
        qRegisterMetaType<QProcess::ExitStatus>();
        QVERIFY2(m_sim.isReady(), qPrintable(m_sim.error()));
        QString error;
        QVERIFY2(m_testSet.listen(0, &error), qPrintable(error));
    }
    void init()
    {
        m_testSet.faults() = {};
        m_testSet.answer("*RST;*CLS");
        m_sim.state() = ModuleState::defaults();
    }

    void builtInProfile()
    {
        QString error;
        const auto profile = InstrumentProfile::load("generic-scpi", &error);
        QVERIFY2(profile, qPrintable(error));
        QStringList commands;
        for (const auto &command : profile->commands)
            commands.append(command.value_or("null"));
        QCOMPARE(commands,
                 QStringList({"*IDN?", "*RST", "*OPC?", "SYST:ERR?", "SENS:FREQ {hz}", "MEAS:POW?",
                              "MEAS:FREQ:ERR?", "MEAS:FM:DEV?", "SOUR:FREQ {hz}", "SOUR:POW {dbm}",
                              "OUTP ON", "OUTP OFF"}));
        QVERIFY(profile->checkErrors);
        QCOMPARE(profile->timeoutMs, 5000);
    }

    void profile_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error"); // part of the error; empty: the profile is good
        const QVariant none;
        QTest::newRow("generic") << profileWith({}) << "";
        QTest::newRow("no generator")
            << profileWith({{"Commands.GeneratorOn", QVariant::fromValue(nullptr)}}) << "";
        QTest::newRow("unknown member")
            << profileWith({{"Timeout", 5}}) << "unknown member \"Timeout\"";
        QTest::newRow("unknown command")
            << profileWith({{"Commands.Measure", "X?"}}) << "unknown command \"Measure\"";
        QTest::newRow("missing command") << profileWith({{"Commands.MeasureDeviation", none}})
                                         << "command \"MeasureDeviation\" is missing";
        QTest::newRow("no commands")
            << profileWith({{"Commands", none}}) << "\"Commands\" is missing";
        QTest::newRow("no name") << profileWith({{"Name", none}}) << "\"Name\" must be";
        QTest::newRow("placeholder missing")
            << profileWith({{"Commands.GeneratorLevel", "SOUR:POW"}}) << "must hold {dbm}";
        QTest::newRow("wrong placeholder")
            << profileWith({{"Commands.GeneratorLevel", "SOUR:POW {hz}"}}) << "placeholder {hz}";
        QTest::newRow("placeholder in a query")
            << profileWith({{"Commands.MeasurePower", "MEAS:POW? {dbm}"}}) << "placeholder {dbm}";
        QTest::newRow("two lines")
            << profileWith({{"Commands.Reset", "*RST\n*CLS"}}) << "must be one line";
        QTest::newRow("number command")
            << profileWith({{"Commands.Reset", 5}}) << "must be one line";
        QTest::newRow("timeout too short")
            << profileWith({{"TimeoutMs", 10}}) << "\"TimeoutMs\" must be";
        QTest::newRow("timeout fraction")
            << profileWith({{"TimeoutMs", 1000.5}}) << "\"TimeoutMs\" must be";
        QTest::newRow("check errors text")
            << profileWith({{"CheckErrors", "yes"}}) << "\"CheckErrors\" must be";
        QTest::newRow("not json") << QByteArray("{\"Name\": ") << "bench.json: ";
        QTest::newRow("array") << QByteArray("[]") << "expected a JSON object";
    }
    void profile()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QString text;
        const auto profile = InstrumentProfile::fromJson(json, "bench.json", &text);
        QCOMPARE(profile.has_value(), error.isEmpty());
        QVERIFY2(text.startsWith("bench.json: ") || error.isEmpty(), qPrintable(text));
        QVERIFY2(text.contains(error), qPrintable(text));
    }

    void address_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("where"); // host:port, path@baud, or empty when refused
        QTest::newRow("tcp default port") << "tcp://10.0.0.20"
                                          << "10.0.0.20:5025";
        QTest::newRow("tcp port") << "tcp://bench-3:5555"
                                  << "bench-3:5555";
        QTest::newRow("usbtmc") << "usbtmc:///dev/usbtmc0"
                                << "/dev/usbtmc0@9600";
        QTest::newRow("serial baud") << "serial:///dev/ttyUSB1?baud=115200"
                                     << "/dev/ttyUSB1@115200";
        QTest::newRow("tcp path") << "tcp://host:5025/x"
                                  << "";
        QTest::newRow("tcp no host") << "tcp://:5025"
                                     << "";
        QTest::newRow("serial other query") << "serial:///dev/ttyUSB1?rate=9600"
                                            << "";
        QTest::newRow("serial bad baud") << "serial:///dev/ttyUSB1?baud=fast"
                                         << "";
        QTest::newRow("usbtmc host") << "usbtmc://host/dev/usbtmc0"
                                     << "";
        QTest::newRow("other scheme") << "http://10.0.0.20"
                                      << "";
        QTest::newRow("no scheme") << "10.0.0.20"
                                   << "";
    }
    void address()
    {
        QFETCH(QString, url);
        QFETCH(QString, where);
        QString error;
        const auto address = InstrumentAddress::parse(url, &error);
        QCOMPARE(address.has_value(), !where.isEmpty());
        QVERIFY(address || error.contains(url));
        if (!address)
            return;
        QCOMPARE(address->scheme == InstrumentAddress::Scheme::Tcp
                     ? QString("%1:%2").arg(address->host).arg(address->port)
                     : QString("%1@%2").arg(address->path).arg(address->baud),
                 where);
    }

    // What the tool gets from the simulated set, and how each failure names its cause.
    void transport_data()
    {
        QTest::addColumn<QVariantMap>("changes"); // to the generic profile
        QTest::addColumn<QString>("fault");       // of the test set
        QTest::addColumn<int>("transmitMode");    // of the module
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected"); // the result, or a part of the failure
        QTest::newRow("identify") << QVariantMap() << "" << 0 << "idn"
                                  << "LX815-SIM,TEST-SET,4C5881500001,1.0";
        QTest::newRow("power, receiving") << QVariantMap() << "" << 0 << "power"
                                          << "-100.00";
        QTest::newRow("power, data PTT") << QVariantMap() << "" << 1 << "power"
                                         << "model";
        QTest::newRow("deviation, receiving") << QVariantMap() << "" << 0 << "deviation"
                                              << ": \"MEAS:FM:DEV?\" measured nothing (9.91E+37)";
        QTest::newRow("settings") << QVariantMap() << "" << 0 << "settings"
                                  << "470000000 -73.5 1";
        QTest::newRow("level out of range") << QVariantMap() << "" << 0 << "level 50"
                                            << ": the instrument reports the error -222,\"Data out "
                                               "of range\" after \"SOUR:POW 50.0\"";
        QTest::newRow("unknown header")
            << QVariantMap{{"Commands.MeasurePower", "MEAS:POWER?"}} << "" << 1 << "power"
            << "no answer to \"MEAS:POWER?\"";
        QTest::newRow("unknown setting")
            << QVariantMap{{"Commands.Reset", "*RESET"}} << "" << 0 << "reset"
            << "reports the error -113,\"Undefined header\" after \"*RESET\"";
        QTest::newRow("unchecked error")
            << QVariantMap{{"Commands.Reset", "*RESET"}, {"CheckErrors", false}} << "" << 0
            << "reset"
            << "done";
        QTest::newRow("not a number")
            << QVariantMap{{"Commands.MeasurePower", "*IDN?"}} << "" << 1 << "power"
            << ": the answer to \"*IDN?\" is not a number: LX815-SIM";
        // Errors left by an earlier session are not blamed on this one's first command.
        QTest::newRow("stale error") << QVariantMap() << "stale" << 0 << "idn"
                                     << "LX815-SIM,TEST-SET,4C5881500001,1.0";
        QTest::newRow("silent") << QVariantMap() << "mute=1" << 1 << "power"
                                << ": no answer to \"MEAS:POW?\" within 400 ms";
        QTest::newRow("silent after the setting") << QVariantMap() << "mute=2" << 0 << "settings"
                                                  << ": no answer to \"*OPC?\" within 400 ms";
        QTest::newRow("no such command")
            << QVariantMap{{"Commands.GeneratorOn", QVariant::fromValue(nullptr)}} << "" << 0
            << "settings"
            << "the profile \"generic-scpi\" has no command for \"GeneratorOn\"";
    }
    void transport()
    {
        QFETCH(QVariantMap, changes);
        QFETCH(QString, fault);
        QFETCH(int, transmitMode);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        if (fault == "stale")
            m_testSet.answer("*RESET");
        else
            QVERIFY(fault.isEmpty() || TestSet::parseFault(fault, &m_testSet.faults(), nullptr));
        m_sim.state().transmitMode = quint8(transmitMode);
        changes.insert("TimeoutMs", kShortTimeoutMs);
        const auto profile = InstrumentProfile::fromJson(profileWith(changes), "test", nullptr);
        QVERIFY(profile);

        Run run = onWorker(
            m_testSet.url(), *profile, [&](Instrument &instrument) -> std::optional<QString> {
                if (action == "idn")
                    return instrument.identify();
                if (action == "power")
                    return measured(instrument.measure(Instrument::Measurement::Power));
                if (action == "deviation")
                    return measured(instrument.measure(Instrument::Measurement::Deviation));
                if (action == "reset")
                    return instrument.reset() ? std::optional<QString>("done") : std::nullopt;
                if (action == "level 50")
                    return instrument.setGeneratorLevel(50) ? std::optional<QString>("set")
                                                            : std::nullopt;
                if (!instrument.setGeneratorFrequency(470000000) ||
                    !instrument.setGeneratorLevel(-73.5) || !instrument.setGeneratorOutput(true))
                    return std::nullopt;
                return QString("set");
            });
        if (run.ok && run.result == "set")
            run.result = QString(*m_testSet.answer("SOUR:FREQ?") + ' ' +
                                 *m_testSet.answer("SOUR:POW?") + ' ' + *m_testSet.answer("OUTP?"));
        if (expected == "model") {
            QVERIFY2(run.ok, qPrintable(run.failure.text));
            const double model = RadioModel::carrier(m_sim.state()).dbm;
            QVERIFY2(qAbs(run.result.toDouble() - model) < kNoiseDb, qPrintable(run.result));
        } else if (run.ok) {
            QCOMPARE(run.result, expected);
        } else {
            QCOMPARE(run.failure.kind, Instrument::Failure::Kind::Instrument);
            QVERIFY2(run.failure.text.startsWith(m_testSet.url() + ": "),
                     qPrintable(run.failure.text));
            QVERIFY2(run.failure.text.contains(expected), qPrintable(run.failure.text));
        }
        // The deadline holds each command to its time, no more.
        QVERIFY2(run.elapsedMs < 4 * kShortTimeoutMs, qPrintable(QString::number(run.elapsedMs)));
    }

    // The serial line and the usbtmc device on a pseudo-terminal, whose far end hands each line
    // to the simulated set.
    void lineTransports_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("answering");
        QTest::newRow("serial") << "serial://%1?baud=115200" << true;
        QTest::newRow("usbtmc") << "usbtmc://%1" << true;
        QTest::newRow("serial, silent") << "serial://%1" << false;
        QTest::newRow("usbtmc, silent") << "usbtmc://%1" << false;
    }
    void lineTransports()
    {
        QFETCH(QString, url);
        QFETCH(bool, answering);
        PseudoTerminal line;
        QVERIFY(line.isValid());
        QByteArray heard;
        QTimer farEnd;
        connect(&farEnd, &QTimer::timeout, this, [&] {
            heard += line.readAvailable();
            for (int end; (end = heard.indexOf('\n')) >= 0; heard.remove(0, end + 1)) {
                const auto reply = m_testSet.answer(heard.left(end));
                if (reply && answering)
                    line.write(*reply + "\r\n");
            }
        });
        farEnd.start(5);
        auto profile = InstrumentProfile::load("generic-scpi", nullptr);
        profile->timeoutMs = kShortTimeoutMs;
        m_sim.state().transmitMode = 1;
        const Run run = onWorker(url.arg(line.slavePath()), *profile, [](Instrument &i) {
            return i.setAnalyserFrequency(455000000)
                       ? measured(i.measure(Instrument::Measurement::Power))
                       : std::nullopt;
        });
        if (!answering) {
            QVERIFY2(run.failure.text.endsWith("no answer to \"SYST:ERR?\" within 400 ms"),
                     qPrintable(run.failure.text));
            return;
        }
        QVERIFY2(run.ok, qPrintable(run.failure.text));
        QVERIFY(qAbs(run.result.toDouble() - RadioModel::carrier(m_sim.state()).dbm) < kNoiseDb);
    }

    void connectFailure()
    {
        const auto profile = InstrumentProfile::load("generic-scpi", nullptr);
        const Run run =
            onWorker("tcp://127.0.0.1:1", *profile, [](Instrument &i) { return i.identify(); });
        QCOMPARE(run.failure.kind, Instrument::Failure::Kind::Connect);
        QVERIFY2(run.failure.text.startsWith("tcp://127.0.0.1:1: cannot connect: "),
                 qPrintable(run.failure.text));
    }

    // RSSI and squelch calibrations leave the generator's level where the set can be asked.
    void calibrationWitness()
    {
        const auto profile = InstrumentProfile::load("generic-scpi", nullptr);
        onWorker(m_testSet.url(), *profile, [](Instrument &i) -> std::optional<QString> {
            i.setGeneratorLevel(-97.0);
            i.setGeneratorOutput(true);
            return QString();
        });
        const int before = m_testSet.calibrations().size();
        QSerialPort line(m_sim.portPath());
        QVERIFY(line.open(QIODevice::ReadWrite));
        line.write(LinkFrame::encode(Wire::bytes({Wire::Cmd::kCalibrateRssi, 10})));
        QVERIFY(line.waitForBytesWritten(1000));
        QVERIFY(m_sim.waitForRequests(m_sim.requests().size() + 1));
        QVERIFY(line.waitForReadyRead(1000)); // the module's acknowledgement, not left for others
        line.readAll();
        QCOMPARE(m_testSet.calibrations().size(), before + 1);
        const TestSet::Calibration heard = m_testSet.calibrations().constLast();
        QCOMPARE(heard.kind, QString("rssi"));
        QCOMPARE(heard.level, 10);
        QCOMPARE(heard.generatorDbm, -97.0);
        QVERIFY(heard.generatorOn);
    }

    // A settling set answers a measurement and the wait for completion late; a plain query not.
    void settling()
    {
        constexpr int kSettleMs = 300;
        const auto profile = InstrumentProfile::load("generic-scpi", nullptr);
        m_testSet.setSettleMs(kSettleMs);
        const Run plain = onWorker(m_testSet.url(), *profile, [](Instrument &i) {
            i.identify();
            return i.identify();
        });
        const Run settled = onWorker(m_testSet.url(), *profile, [](Instrument &i) {
            i.identify();
            return measured(i.setAnalyserFrequency(470000000)
                                ? i.measure(Instrument::Measurement::Power)
                                : std::nullopt);
        });
        m_testSet.setSettleMs(0);
        QVERIFY2(plain.ok && settled.ok, qPrintable(settled.failure.text));
        QVERIFY(settled.elapsedMs - plain.elapsedMs >= 2 * kSettleMs);
        QVERIFY(settled.elapsedMs - plain.elapsedMs < 4 * kSettleMs);
    }

    // The set's faults on a 5 W carrier at the high point whose cell is at full drive.
    void testSetFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<double>("lowest");  // of the mean reading, dBm
        QTest::addColumn<double>("highest"); // of the mean reading, dBm
        QTest::addColumn<bool>("scattered"); // readings spread over more than 0.3 dB
        QTest::newRow("clean") << "" << 37.0 << 40.0 << false;
        QTest::newRow("noisy") << "noisy" << 37.0 << 40.0 << true;
        QTest::newRow("weak cell") << "weak-cell=42" << 30.0 << 37.0 << false;
        QTest::newRow("another weak cell") << "weak-cell=41" << 37.0 << 40.0 << false;
    }
    void testSetFaults()
    {
        QFETCH(QString, fault);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        QFETCH(bool, scattered);
        QVERIFY(fault.isEmpty() || TestSet::parseFault(fault, &m_testSet.faults(), nullptr));
        ModuleState &state = m_sim.state();
        state.channels[0].txFreq = 48900000;
        state.channels[0].power = 4;
        state.powerTable[size_t(Wire::powerTableIndex(4, Wire::FreqPoint::High))] = 255;
        state.transmitMode = 1;
        double sum = 0, low = 1e9, high = -1e9;
        constexpr int kReadings = 20;
        for (int i = 0; i < kReadings; ++i) {
            const double reading = m_testSet.answer("MEAS:POW?")->toDouble();
            sum += reading;
            low = qMin(low, reading);
            high = qMax(high, reading);
        }
        QVERIFY2(sum / kReadings > lowest && sum / kReadings < highest,
                 qPrintable(QString::number(sum / kReadings)));
        QCOMPARE(high - low > kNoiseDb, scattered);
    }

    // Each response rises with its value, bends, and differs from unit to unit.
    void radioModel()
    {
        const QList<QByteArray> serials{QByteArray::fromHex("4C5881500001"),
                                        QByteArray::fromHex("4C5881500002"),
                                        QByteArray::fromHex("4C58815000FF")};
        const QList<std::function<double(const QByteArray &, int)>> responses{
            [](const QByteArray &sn, int v) {
                return RadioModel::powerDbm(sn, Wire::FreqPoint::High, v);
            },
            [](const QByteArray &sn, int v) { return RadioModel::frequencyErrorHz(sn, v, 470e6); },
            [](const QByteArray &sn, int v) {
                return RadioModel::deviationHz(sn, v);
            }};
        for (const auto &response : responses) {
            for (const QByteArray &sn : serials) {
                double lowestStep = 1e9, highestStep = -1e9;
                for (int v = 1; v <= 255; ++v) {
                    const double step = response(sn, v) - response(sn, v - 1);
                    QVERIFY2(step > 0,
                             qPrintable(QString("%1 at %2").arg(QString(sn.toHex())).arg(v)));
                    lowestStep = qMin(lowestStep, step);
                    highestStep = qMax(highestStep, step);
                }
                QVERIFY(highestStep > 1.5 * lowestStep); // not a straight line
            }
            QVERIFY(response(serials[0], 128) != response(serials[1], 128));
        }
        // Every unit reaches 5 W (37 dBm) at full drive, unless its cell is weak.
        for (int unit = 0; unit < 256; ++unit) {
            const QByteArray sn = QByteArray::fromHex("4C58815000") + char(unit);
            QVERIFY(RadioModel::powerDbm(sn, Wire::FreqPoint::High, 255, false) > 37.0);
            QVERIFY(RadioModel::powerDbm(sn, Wire::FreqPoint::High, 255, true) < 37.0);
        }
    }

    void cli_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("idn") << QStringList{"idn"} << 0 << "LX815-SIM,TEST-SET,4C5881500001,1.0";
        QTest::newRow("power") << QStringList{"measure", "power"} << 0 << " dBm";
        QTest::newRow("frequency error") << QStringList{"measure", "frequency-error"} << 0 << " Hz";
        QTest::newRow("deviation json")
            << QStringList{"measure", "deviation", "--json"} << 0 << "\"unit\":\"Hz\"";
        QTest::newRow("unknown action")
            << QStringList{"measure", "voltage"} << 2 << "instrument expects";
        QTest::newRow("bad profile")
            << QStringList{"idn", "--profile", "/nonexistent.json"} << 2 << "no instrument profile";
        QTest::newRow("cannot connect")
            << QStringList{"idn", "--instrument", "tcp://127.0.0.1:1"} << 3 << "cannot connect";
        QTest::newRow("silent") << QStringList{"idn", "--profile", "SHORT"} << 1
                                << "no answer to \"*IDN?\"";
        QTest::newRow("doctor") << QStringList{"doctor", "--port", "PTY"} << 0
                                << "[PASS] instrument: tcp://127.0.0.1:";
        QTest::newRow("doctor, silent")
            << QStringList{"doctor", "--port", "PTY", "--profile", "SHORT"} << 1
            << "[FAIL] instrument: tcp://127.0.0.1:";
    }
    void cli()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        m_sim.state().transmitMode = 1;
        if (arguments.contains("SHORT")) {
            QVERIFY(TestSet::parseFault("mute=1", &m_testSet.faults(), nullptr));
            QFile file(m_dir.filePath("short.json"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(profileWith({{"TimeoutMs", kShortTimeoutMs}}));
            file.close();
            arguments.replace(arguments.indexOf("SHORT"), file.fileName());
        }
        if (arguments.contains("PTY"))
            arguments.replace(arguments.indexOf("PTY"), m_sim.portPath());
        if (!arguments.contains("--instrument"))
            arguments << "--instrument" << m_testSet.url();
        if (arguments.constFirst() != "doctor")
            arguments.prepend("instrument");
        QProcess process;
        QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
        process.start(QDir(qEnvironmentVariable("LX_BINARY_DIR")).filePath("cli/lx815-cli"),
                      arguments);
        QVERIFY(finished.wait(20000));
        const QString text =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        QVERIFY2(process.exitCode() == exitCode, qPrintable(text));
        QVERIFY2(text.contains(output), qPrintable(text));
    }

private:
    SimHarness m_sim;
    TestSet m_testSet{m_sim.simulator()};
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestInstrument)
#include "tst_instrument.moc"
