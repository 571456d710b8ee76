// Closed-loop calibration: the search over responses of every shape and over the simulated
// units' curves, and the calibrate step against the simulator and its test set.
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "instrument/instrument.h"
#include "serial/mserialport.h"
#include "sim/radiomodel.h"
#include "sim/testset.h"
#include "station/calibrationrun.h"
#include "station/calibrationsearch.h"
#include "station/measurementsource.h"
#include "support/simharness.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
using Response = std::function<double(int value)>;

// The responses the search meets, by name; "noisy" adds the given one-sigma scatter.
Response response(const QString &name)
{
    if (name == "rising")
        return [](int v) {
            return 10.0 + 0.1 * v;
        };
    if (name == "falling")
        return [](int v) {
            return 40.0 - 0.1 * v;
        };
    if (name == "bent") // steep at first, flat near the top
        return [](int v) {
            return 39.5 - 25.0 * std::exp(-v / 70.0);
        };
    if (name == "saturating") // flat above 150
        return [](int v) {
            return 20.0 + 0.1 * std::min(v, 150);
        };
    if (name == "cubic") // a crystal far from its centre
        return [](int v) {
            return 0.045 * (v - 128) + 1.5e-6 * std::pow(v - 128, 3);
        };
    if (name == "peak")
        return [](int v) {
            return 30.0 - 0.002 * (v - 128) * (v - 128);
        };
    if (name == "coarse") // whole units per step: no value between 20 and 21
        return [](int v) {
            return double(v);
        };
    return {};
}

CalibrationSearch::Result searchOn(const Response &f, double noise, double target, double tolerance,
                                   int start, int budget = CalibrationSearch::kDefaultMaxReadings)
{
    QRandomGenerator random(7);
    CalibrationSearch::Settings settings;
    settings.name = "/TxPowerAdj/cell42";
    settings.unit = "dBm";
    settings.start = start;
    settings.target = target;
    settings.tolerance = tolerance;
    settings.maxReadings = budget;
    return CalibrationSearch::run(settings, [&](int value, QString *) -> std::optional<double> {
        const double u = 1.0 - random.generateDouble(), w = random.generateDouble();
        return f(value) + noise * std::sqrt(-2.0 * std::log(u)) * std::cos(2 * M_PI * w);
    });
}
constexpr std::array<quint32, 3> kPoints{45100000, 47000000, 48900000};
// A transmission's end past its limit: the key-down's request, and a progress report that is
// slow on purpose ("slow" below: 300 ms).
constexpr qint64 kKeyDownMarginMs = 500;

CalibrationTarget levelsTarget(CalibrationTarget::Kind kind, QList<double> levels)
{
    CalibrationTarget t;
    t.kind = kind;
    t.levels = levels;
    return t;
}

// The example recipe's targets, and a 5 W cell at the high point.
CalibrationPlan examplePlan()
{
    using M = Instrument::Measurement;
    using P = Wire::FreqPoint;
    CalibrationPlan plan;
    plan.points = kPoints;
    plan.targets = {
        CalibrationTarget::onValue("/TCXO_BIAS", M::FrequencyError, P::Middle, 0, 0, 50),
        CalibrationTarget::onValue("/TxPowerAdj/cell01", M::Power, P::Middle, 0, 30.0, 0.3),
        CalibrationTarget::onValue("/DataModFreqDiv/Mid", M::Deviation, P::Middle, 0, 2400, 60),
        CalibrationTarget::onValue("/TxPowerAdj/cell42", M::Power, P::High, 4, 37.0, 0.3),
        levelsTarget(CalibrationTarget::Kind::Rssi, {10, 40}),
        levelsTarget(CalibrationTarget::Kind::Squelch, {0.25, 0.45})};
    return plan;
}

// After each reading, and with target -1 before the run starts.
using Hook = std::function<void(CalibrationRun &run, int target)>;

// The run on a worker thread with its own port, engine and instrument, as a lane runs it; this
// thread serves the simulated module and test set meanwhile.
// A technician at the bench: reads the test set's meter and sets its generator as asked.
std::optional<double> technician(Instrument &meter, const ManualRequest &request,
                                 QStringList *asked)
{
    asked->append(request.text());
    switch (request.kind) {
    case ManualRequest::Kind::Reading:
        if (!meter.setAnalyserFrequency(request.hz))
            return std::nullopt;
        return meter.measure(request.measurement);
    case ManualRequest::Kind::Generator:
        if (!meter.setGeneratorFrequency(request.hz) || !meter.setGeneratorLevel(request.dbm) ||
            !meter.setGeneratorOutput(true))
            return std::nullopt;
        return 0.0;
    case ManualRequest::Kind::GeneratorOff:
        meter.setGeneratorOutput(false);
        break;
    }
    return 0.0;
}

// asked: when given, the run takes its readings from a technician, whose requests go there.
CalibrationRun::Outcome runOnWorker(const CalibrationPlan &plan, const QString &port,
                                    const QString &url, const QString &folder,
                                    const Hook &hook = {}, QStringList *asked = nullptr)
{
    CalibrationRun::Outcome outcome;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        MSerialPort serial;
        serial.setPortName(port);
        serial.open();
        CommandEngine engine;
        engine.setDevice(&serial);
        QObject::connect(&serial, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
        Instrument instrument(*InstrumentAddress::parse(url, nullptr),
                              *InstrumentProfile::load("generic-scpi", nullptr));
        instrument.connectToInstrument();
        InstrumentSource driven(instrument);
        ManualSource manual(
            [&](const ManualRequest &request) { return technician(instrument, request, asked); });
        CalibrationRun run(plan, engine, asked ? static_cast<MeasurementSource &>(manual) : driven);
        if (hook) {
            run.setProgress([&](int target, int, double) { hook(run, target); });
            hook(run, -1);
        }
        try {
            outcome = run.run(folder);
        } catch (const std::exception &e) {
            outcome.failure = QString("exception: ") + e.what();
        }
    }));
    QSignalSpy finished(thread.get(), &QThread::finished);
    thread->start();
    finished.wait(120000);
    return outcome;
}
} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Language::install(Language::kEnglish); }

    void search_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<double>("noise");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("maxReadings");
        QTest::addColumn<QString>("failure"); // what the text says
        using O = CalibrationSearch::Outcome;
        const int found = int(O::Found);
        QTest::newRow("rising") << "rising" << 0.0 << 27.3 << 0.05 << 128 << found << 6 << "";
        QTest::newRow("falling") << "falling" << 0.0 << 27.3 << 0.05 << 0 << found << 6 << "";
        QTest::newRow("already there") << "rising" << 0.0 << 22.8 << 0.1 << 128 << found << 2 << "";
        QTest::newRow("bent") << "bent" << 0.0 << 37.0 << 0.1 << 40 << found << 10 << "";
        QTest::newRow("bent low") << "bent" << 0.0 << 20.0 << 0.3 << 200 << found << 10 << "";
        QTest::newRow("saturating")
            << "saturating" << 0.0 << 34.0 << 0.05 << 0 << found << 12 << "";
        QTest::newRow("cubic") << "cubic" << 0.0 << 0.0 << 0.02 << 20 << found << 10 << "";
        QTest::newRow("noisy") << "bent" << 0.3 << 33.0 << 0.3 << 128 << found << 24 << "";
        QTest::newRow("out of reach above")
            << "bent" << 0.0 << 40.0 << 0.1 << 128 << int(O::OutOfReach) << 3
            << "/TxPowerAdj/cell42 reaches only 38.8 dBm at 255, target 40.0";
        QTest::newRow("out of reach below")
            << "falling" << 0.0 << 12.0 << 0.1 << 50 << int(O::OutOfReach) << 3
            << "/TxPowerAdj/cell42 reaches only 14.5 dBm at 255, target 12.0";
        QTest::newRow("flat beyond reach")
            << "saturating" << 0.0 << 36.0 << 0.1 << 255 << int(O::OutOfReach) << 2
            << "reaches only 35.0 dBm at 255, target 36.0";
        QTest::newRow("peak")
            << "peak" << 0.0 << 20.0 << 0.1 << 128 << int(O::NotMonotonic) << 3
            << "does not respond monotonically: -2.8 dBm at 0, 30.0 dBm at 128, -2.3 dBm at 255";
        QTest::newRow("no value in tolerance")
            << "coarse" << 0.0 << 20.5 << 0.2 << 0 << int(O::NoValue) << 12
            << "no value of /TxPowerAdj/cell42 is within tolerance: 20.0 dBm at 20, 21.0 dBm at "
               "21, target 20.5 ± 0.2";
        QTest::newRow("budget spent")
            << "bent" << 0.0 << 37.0 << 0.01 << 0 << int(O::Exhausted) << 5
            << "did not reach target 37.0 ± 0.01 in 5 readings; closest:";
    }
    void search()
    {
        QFETCH(QString, shape);
        QFETCH(double, noise);
        QFETCH(double, target);
        QFETCH(double, tolerance);
        QFETCH(int, start);
        QFETCH(int, outcome);
        QFETCH(int, maxReadings);
        QFETCH(QString, failure);
        const Response f = response(shape);
        // The budget row gives the search fewer readings than it needs.
        const bool budgetRow = outcome == int(CalibrationSearch::Outcome::Exhausted);
        const auto result =
            searchOn(f, noise, target, tolerance, start,
                     budgetRow ? maxReadings : CalibrationSearch::kDefaultMaxReadings);
        QVERIFY2(int(result.outcome) == outcome, qPrintable(result.failure));
        QVERIFY2(result.readings <= maxReadings, qPrintable(QString::number(result.readings)));
        QVERIFY2(result.failure.contains(failure), qPrintable(result.failure));
        if (result.found())
            QVERIFY(std::abs(f(result.value) - target) <= tolerance + 2 * noise);
    }

    // Every way out of a calibration leaves the module in normal mode, its channels as they
    // were, and says why it ended.
    void run_data()
    {
        QTest::addColumn<QString>("fault"); // of the test set
        QTest::addColumn<QString>("exit");  // what happens during the second target
        QTest::addColumn<int>("limit");     // MaxTransmitSeconds
        QTest::addColumn<QString>("failure");
        QTest::newRow("converges") << ""
                                   << "" << 10 << "";
        QTest::newRow("weak cell") << "weak-cell=42"
                                   << "" << 10 << "/TxPowerAdj/cell42 reaches only 3";
        QTest::newRow("instrument mute") << "mute=30"
                                         << "" << 10 << "127.0.0.1";
        // The first measurement goes unanswered, the instrument's timeout longer than the limit.
        QTest::newRow("instrument mute, short limit")
            << "mute=4"
            << "" << 1 << "/TCXO_BIAS: the transmission reached its limit of 1 s";
        QTest::newRow("cancel") << ""
                                << "cancel" << 10 << "calibration cancelled";
        QTest::newRow("cancel before start") << ""
                                             << "early" << 10 << "calibration cancelled";
        QTest::newRow("exception") << ""
                                   << "throw" << 10 << "exception: thrown";
        QTest::newRow("transmit limit")
            << ""
            << "slow" << 1 << "/TxPowerAdj/cell01: the transmission reached its limit of 1 s";
        // The module stops answering the power table's writes, each retried for seconds.
        QTest::newRow("module mute while transmitting")
            << ""
            << "module mute" << 1 << ": the transmission reached its limit of 1 s";
        QTest::newRow("unplugged") << ""
                                   << "unplug" << 10 << "may still be transmitting";
    }
    void run()
    {
        QFETCH(QString, fault);
        QFETCH(QString, exit);
        QFETCH(int, limit);
        QFETCH(QString, failure);
        SimHarness sim;
        QVERIFY2(sim.isReady(), qPrintable(sim.error()));
        TestSet testSet(sim.simulator());
        QVERIFY(testSet.listen(0, nullptr));
        QVERIFY(fault.isEmpty() || TestSet::parseFault(fault, &testSet.faults(), nullptr));
        const auto channels = sim.state().channels;
        const int channel = sim.state().currentChannel;
        CalibrationPlan plan = examplePlan();
        plan.maxTransmitSeconds = limit;
        QTemporaryDir folder;
        const auto outcome = runOnWorker(
            plan, sim.portPath(), testSet.url(), folder.path(), [&](CalibrationRun &run, int i) {
                if (exit == "early" && i == -1)
                    run.cancel();
                if (i != 1)
                    return;
                if (exit == "cancel")
                    run.cancel();
                if (exit == "throw")
                    throw std::runtime_error("thrown");
                if (exit == "slow")
                    QThread::msleep(300);
                if (exit == "unplug")
                    QMetaObject::invokeMethod(
                        &sim.simulator(), [&] { sim.hangUp(); }, Qt::BlockingQueuedConnection);
                if (exit == "module mute")
                    QMetaObject::invokeMethod(
                        &sim.simulator(), [&] { sim.addFault("018101:drop:*"); },
                        Qt::BlockingQueuedConnection);
            });
        QVERIFY2(outcome.failure.contains(failure), qPrintable(outcome.failure));
        QCOMPARE(outcome.ok, failure.isEmpty());
        // The last transmit request the module heard: back to normal, but for the unplugged one.
        QByteArray lastMode;
        for (const QByteArray &request : sim.requests()) {
            if (request.startsWith(char(Wire::Cmd::kForceTransmit)) ||
                request.startsWith(char(Wire::Cmd::kNormalMode)))
                lastMode = request;
        }
        if (exit == "early")
            QVERIFY2(lastMode.isEmpty(), "keyed up after a cancel");
        else
            QCOMPARE(quint8(lastMode.at(0)),
                     exit == "unplug" ? Wire::Cmd::kForceTransmit : Wire::Cmd::kNormalMode);
        if (exit == "unplug")
            return;
        // No transmission outlasts its limit by more than the key-down takes.
        qint64 keyed = -1;
        qint64 longest = 0;
        for (const ModuleSimulator::LogEntry &entry : sim.log()) {
            if (entry.request.startsWith(char(Wire::Cmd::kForceTransmit)) && keyed < 0)
                keyed = entry.elapsedMs;
            if (entry.request.startsWith(char(Wire::Cmd::kNormalMode)) && keyed >= 0) {
                longest = std::max(longest, entry.elapsedMs - keyed);
                keyed = -1;
            }
        }
        QVERIFY2(longest <= limit * 1000 + kKeyDownMarginMs, qPrintable(QString::number(longest)));
        QCOMPARE(sim.state().transmitMode, 0);
        QVERIFY(sim.state().channels == channels);
        QCOMPARE(sim.state().currentChannel, channel);
        if (!outcome.ok)
            return;
        // Each value within tolerance, in the module and in the unit's file.
        MJsonConfig file(outcome.file);
        QCOMPARE(file.value("/Unit/SerialNumber").toString(), outcome.identity.serialNumber);
        for (int i = 0; i < 4; ++i) {
            const CalibrationTargetResult &r = outcome.targets[i];
            qInfo("%s: %d -> %d, %.1f %s in %d readings", qPrintable(r.name), r.before, r.after,
                  r.reading, qPrintable(r.unit), r.readings);
            QVERIFY(std::abs(r.reading - r.target) <= r.tolerance);
            QCOMPARE(file.value(r.name).toInt(), r.after);
        }
        // The generator's level at each receiver calibration, dBuV and uV into dBm.
        const QList<double> heard{-97.0, -67.0, -119.0, -113.9};
        QCOMPARE(testSet.calibrations().size(), heard.size());
        for (int i = 0; i < heard.size(); ++i) {
            QCOMPARE(testSet.calibrations()[i].generatorDbm, heard[i]);
            QCOMPARE(testSet.calibrations()[i].generatorHz, qint64(kPoints[1]) * 10);
        }
    }

    // A technician typing the meter's readings drives the same search to the same values as the
    // instrument does, reading for reading, and is told what to read and where.
    void manualReadings()
    {
        QList<CalibrationRun::Outcome> outcomes;
        QList<QList<TestSet::Calibration>> heard;
        QStringList asked;
        for (const bool manual : {false, true}) {
            SimHarness sim;
            QVERIFY2(sim.isReady(), qPrintable(sim.error()));
            TestSet testSet(sim.simulator());
            QVERIFY(testSet.listen(0, nullptr));
            QTemporaryDir folder;
            outcomes.append(runOnWorker(examplePlan(), sim.portPath(), testSet.url(), folder.path(),
                                        {}, manual ? &asked : nullptr));
            QVERIFY2(outcomes.constLast().ok, qPrintable(outcomes.constLast().failure));
            QCOMPARE(sim.state().transmitMode, 0);
            heard.append(testSet.calibrations());
        }
        QCOMPARE(outcomes[1].targets.size(), outcomes[0].targets.size());
        for (int i = 0; i < outcomes[0].targets.size(); ++i) {
            const CalibrationTargetResult &driven = outcomes[0].targets[i];
            const CalibrationTargetResult &typed = outcomes[1].targets[i];
            QCOMPARE(typed.after, driven.after);
            QCOMPARE(typed.readings, driven.readings);
            QCOMPARE(typed.reading, driven.reading);
        }
        QCOMPARE(outcomes[1].calibration->numbers, outcomes[0].calibration->numbers);
        QCOMPARE(heard[1].size(), heard[0].size());
        for (const QString &text :
             {QStringLiteral("Read the power meter (dBm) at 470.00000 MHz, 1 W"),
              QStringLiteral("Read the power meter (dBm) at 489.00000 MHz, 5 W"),
              QStringLiteral("Read the carrier frequency error (Hz) at 470.00000 MHz, 1 W"),
              QStringLiteral("Set the signal generator to 470.00000 MHz, -97.0 dBm with its "
                             "output on, then confirm"),
              QStringLiteral("Turn the signal generator's output off")})
            QVERIFY2(asked.contains(text), qPrintable(asked.join('\n')));
    }

    // The example targets against lx815-sim and its test set, as a station meets them: every
    // target converges into the unit's file, or the weak 5 W high cell fails out of reach; the
    // simulator's log ends the transmissions with "back to normal mode" either way.
    void simulatorProcess_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("failure");
        QTest::newRow("converges") << ""
                                   << "";
        QTest::newRow("weak cell") << "weak-cell=42"
                                   << "/TxPowerAdj/cell42 reaches only 3";
    }
    void simulatorProcess()
    {
        QFETCH(QString, fault);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString log = dir.filePath("sim.log");
        QStringList arguments{"--test-set", "0", "--baud", "0", "--log", log};
        if (!fault.isEmpty())
            arguments << "--test-set-fault" << fault;
        SimProcess sim;
        QVERIFY2(sim.start(arguments), qPrintable(sim.error()));
        QVERIFY(sim.process().canReadLine() || sim.process().waitForReadyRead(5000));
        const QString url = QString::fromLocal8Bit(sim.process().readLine()).trimmed();
        const auto outcome = runOnWorker(examplePlan(), sim.portPath(), url, dir.path());
        QVERIFY2(outcome.failure.contains(failure), qPrintable(outcome.failure));
        if (!failure.isEmpty())
            QVERIFY2(outcome.failure.endsWith(" at 255, target 37.0"), qPrintable(outcome.failure));
        QCOMPARE(QFileInfo::exists(outcome.file), failure.isEmpty());
        QCOMPARE(sim.stop(), 0);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        quint8 lastMode = 0;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QByteArray frame = QByteArray::fromHex(line.split('\t').value(1));
            const quint8 code = Wire::byteAt(frame, 3);
            if (code == Wire::Cmd::kForceTransmit || code == Wire::Cmd::kNormalMode)
                lastMode = code;
        }
        QCOMPARE(lastMode, Wire::Cmd::kNormalMode);
    }

    // The simulated units' own curves, as a bench calibrates them: fifteen power cells, the
    // crystal and the deviation, over many serial numbers; readings counted per target.
    void radioModelUnits()
    {
        QList<int> counts;
        constexpr double kCellTargetsDbm[] = {30.0, 33.0, 34.8, 36.0, 37.0}; // 1 W ... 5 W
        for (int unit = 0; unit < 64; ++unit) {
            const QByteArray sn = QByteArray::fromHex("4C58815000") + char(unit);
            const auto count = [&](const Response &f, double noise, double target, double tol) {
                const auto result = searchOn(f, noise, target, tol, 128);
                QVERIFY2(result.found(), qPrintable(result.failure));
                counts.append(result.readings);
            };
            for (int power = 0; power < 5; ++power) {
                for (const auto point :
                     {Wire::FreqPoint::Low, Wire::FreqPoint::Middle, Wire::FreqPoint::High}) {
                    count([&](int v) { return RadioModel::powerDbm(sn, point, v); }, 0.03,
                          kCellTargetsDbm[power], 0.3);
                }
            }
            count([&](int v) { return RadioModel::frequencyErrorHz(sn, v, 470e6); }, 2.0, 0.0,
                  50.0);
            for (int i = 0; i < 3; ++i)
                count([&](int v) { return RadioModel::deviationHz(sn, v); }, 6.0, 2400.0, 60.0);
        }
        std::sort(counts.begin(), counts.end());
        const int median = counts[counts.size() / 2];
        qInfo("readings per target over %d targets: median %d, max %d", int(counts.size()), median,
              counts.constLast());
        QVERIFY(median <= 8);
        QVERIFY(counts.constLast() <= 10);
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
