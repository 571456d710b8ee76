// A station's lane against simulated modules on pseudo-terminals: the outcome of a unit, the
// waiting for units that come and go, a port that vanishes and comes back, a stop that lets
// the unit finish, a calibration cancelled while the module transmits; and lx815-cli run.
#include "app/language.h"
#include "device/wire.h"
#include "records/recorder.h"
#include "records/recordstore.h"
#include "sim/testset.h"
#include "station/lane.h"
#include "support/simharness.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {
constexpr int kUnitTimeoutMs = 20000;
constexpr int kProbeIntervalMs = 100; // a brisk lane, so the tests stay short
const QString kPass = QStringLiteral("4C5881500001");
const QString kMarginal = QStringLiteral("4C5881500002");
const QString kOutOfLimits = QStringLiteral("4C5881500003");
const QString kNoFile = QStringLiteral("4C5881500004");

QString cli()
{
    return QDir(qEnvironmentVariable("LX_BINARY_DIR")).filePath("cli/lx815-cli");
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

void writeJson(const QString &path, const QJsonDocument &document)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(document.toJson());
}

ModuleState unit(const QString &serial, const char *model = "LX-815 U2")
{
    quint8 band = ModuleState::kDefaultBand;
    for (const Wire::Band &b : Wire::bands()) {
        if (QLatin1String(b.model) == QLatin1String(model))
            band = b.code;
    }
    ModuleState state = ModuleState::defaults(band);
    state.serialNumber = QByteArray::fromHex(serial.toLatin1());
    return state;
}

// The lane's signals, gathered.
struct Watcher
{
    explicit Watcher(Lane &lane)
        : units(&lane, &Lane::unitFinished)
        , finished(&lane, &Lane::finished)
    {
        QObject::connect(&lane, &Lane::statusChanged,
                         [this](const LaneStatus &status) { states.append(status); });
    }
    LaneUnit unit(int i) const { return units.at(i).at(0).value<LaneUnit>(); }
    bool saw(LaneStatus::State state) const
    {
        return std::any_of(states.begin(), states.end(),
                           [state](const LaneStatus &s) { return s.state == state; });
    }

    QSignalSpy units;
    QSignalSpy finished;
    QList<LaneStatus> states;
};
} // namespace

class TestLane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void outcome_data();
    void outcome();
    void watchTakesEachUnitOnce();
    void portVanishesAndComesBack();
    void stopLetsTheUnitFinish();
    void stopKeysACalibrationDown();
    void cliWatchJsonAndSummary();
    void cliCalibrateLines_data();
    void cliCalibrateLines();

private:
    // The example recipe in the folder, with the steps given (the example's by default).
    QString recipe(const QJsonArray &steps = {}) const;
    // recipe: the example's file by default.
    LaneOptions options(const QString &port, bool watch, Recorder *recorder,
                        const QString &recipe = QString()) const;

    QTemporaryDir m_dir;
};

// The files of the example recipe: the configuration and the units' calibrations as a
// simulated module gives them, each unit's /TCXO_BIAS set for its outcome.
void TestLane::initTestCase()
{
    Language::install(Language::kEnglish);
    // The frame log is for the window's debugging.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QVERIFY(m_dir.isValid());
    SimProcess sim;
    QVERIFY2(sim.start({"--baud", "0"}), qPrintable(sim.error()));
    for (const QString command : {"read-config", "read-calibration"}) {
        QProcess read;
        read.start(cli(), {command, m_dir.filePath(command + ".json"), "--port", sim.portPath(),
                           "--no-records"});
        QVERIFY(read.waitForFinished(kUnitTimeoutMs));
        QCOMPARE(read.exitCode(), 0);
    }
    QVERIFY(QDir(m_dir.path()).mkpath("calibrations"));
    QJsonObject calibration = readJson(m_dir.filePath("read-calibration.json"));
    for (const auto &[serial, tcxo] :
         {std::pair{kPass, 130}, std::pair{kMarginal, 157}, std::pair{kOutOfLimits, 170}}) {
        calibration["TCXO_BIAS"] = tcxo;
        QJsonObject unit = calibration["Unit"].toObject();
        unit["SerialNumber"] = serial;
        calibration["Unit"] = unit;
        writeJson(m_dir.filePath("calibrations/" + serial + ".json"), QJsonDocument(calibration));
    }
}

QString TestLane::recipe(const QJsonArray &steps) const
{
    const QJsonArray example = QJsonDocument::fromJson(R"([
        {"Step": "backup", "Folder": "backups"},
        {"Step": "write-calibration", "Folder": "calibrations"},
        {"Step": "write-config", "File": "read-config.json"},
        {"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 100, "Max": 160, "Marginal": 5},
                                     "/Volume": {"Min": 0, "Max": 7}}},
        {"Step": "snapshot", "Folder": "shipped"}])")
                                   .array();
    const QString path = m_dir.filePath(steps.isEmpty() ? "recipe.json" : "other-recipe.json");
    writeJson(path, QJsonDocument(
                        QJsonObject{{"Recipe", "Line A"},
                                    {"Revision", "3"},
                                    {"Accept", QJsonObject{{"Models", QJsonArray{"LX-815 U2"}}}},
                                    {"Steps", steps.isEmpty() ? example : steps}}));
    return path;
}

LaneOptions TestLane::options(const QString &port, bool watch, Recorder *recorder,
                              const QString &recipePath) const
{
    QStringList problems;
    const auto loaded = Recipe::load(recipePath.isEmpty() ? recipe() : recipePath, &problems);
    [&] {
        QVERIFY2(loaded, qPrintable(problems.join('\n')));
    }();
    LaneOptions options = LaneOptions::forRecipe(std::make_shared<const Recipe>(*loaded));
    options.port = port;
    options.watch = watch;
    options.recorder = recorder;
    options.probeIntervalMs = kProbeIntervalMs;
    return options;
}

// One unit on its own: judged by its values, refused before anything is written, failed for a
// missing file, an error for a port lost under it or an entry kept nowhere; the entry is
// in the history before the unit is reported.
void TestLane::outcome_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("model");
    // "hang-up" after the identification, "no-records", "population" (the line's last ten units
    // all near 120)
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("failure");
    QTest::newRow("pass") << kPass << "LX-815 U2"
                          << ""
                          << "pass"
                          << "";
    QTest::newRow("marginal") << kMarginal << "LX-815 U2"
                              << ""
                              << "marginal"
                              << "/TCXO_BIAS = 157, within 5 of Max 160";
    QTest::newRow("out of limits") << kOutOfLimits << "LX-815 U2"
                                   << ""
                                   << "fail"
                                   << "/TCXO_BIAS = 170, above Max 160";
    QTest::newRow("no calibration file") << kNoFile << "LX-815 U2"
                                         << ""
                                         << "fail"
                                         << "no calibration for unit 4C5881500004";
    QTest::newRow("model not accepted") << kPass << "LX-815 V"
                                        << ""
                                        << "fail"
                                        << "model LX-815 V is not accepted by this recipe";
    QTest::newRow("outlier held") << kPass << "LX-815 U2"
                                  << "population"
                                  << "marginal"
                                  << "/TCXO_BIAS 130 is 6.7 σ above the last 10 units";
    QTest::newRow("port lost") << kPass << "LX-815 U2"
                               << "hang-up"
                               << "error"
                               << "";
    QTest::newRow("entry kept nowhere") << kPass << "LX-815 U2"
                                        << "no-records"
                                        << "error"
                                        << "neither in the history nor in its spool";
}

void TestLane::outcome()
{
    QFETCH(QString, serial);
    QFETCH(QString, model);
    QFETCH(QString, fault);
    QFETCH(QString, outcome);
    QFETCH(QString, failure);
    SimHarness::Options simOptions;
    simOptions.state = unit(serial, qPrintable(model));
    SimHarness sim(simOptions);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    const ModuleState before = sim.state();
    QTemporaryDir records;
    RecordsTarget target;
    // Under a plain file, neither the history nor its spool can be made.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (fault == "no-records") {
        QFile(records.filePath("file")).open(QIODevice::WriteOnly);
        qputenv("XDG_DATA_HOME", records.filePath("file/data").toUtf8());
    }
    target.path = records.filePath(fault == "no-records" ? "file/records.sqlite" : "r.sqlite");
    QString recipePath;
    if (fault == "population") {
        recipePath = recipe(QJsonDocument::fromJson(R"([
            {"Step": "write-calibration", "Folder": "calibrations"},
            {"Step": "check", "Limits": {"/TCXO_BIAS": {"Min": 100, "Max": 160, "Marginal": 5,
                                         "Population": {"Units": 10, "Sigma": 4}}}}])")
                                .array());
        const auto held = Recipe::load(recipePath, nullptr);
        QVERIFY(held);
        QVector<UnitRecord> line;
        for (int i = 0; i < 10; ++i) {
            UnitRecord passed = UnitRecord::create();
            passed.finished = QDateTime::currentDateTimeUtc().addSecs(i - 60);
            passed.started = passed.finished.addSecs(-10);
            passed.serialNumber = QStringLiteral("4C58815009%1").arg(i, 2, 10, QLatin1Char('0'));
            passed.operation = passed.outcome = QStringLiteral("pass");
            passed.recipeSha256 = held->sha256;
            UnitRecord::Measurement tcxo;
            tcxo.name = QStringLiteral("/TCXO_BIAS");
            tcxo.value = 118 + i % 5; // mean 120, sample sigma 1.49
            passed.measurements = {tcxo};
            line.append(passed);
        }
        QVERIFY(RecordStore(target).insert(line));
    }
    auto recorder = std::make_unique<Recorder>(target);
    Lane lane(options(sim.portPath(), false, recorder.get(), recipePath));
    Watcher watcher(lane);
    lane.start();
    if (fault == "hang-up") {
        QVERIFY(sim.waitForRequests(6));
        sim.hangUp();
    }
    QVERIFY(watcher.finished.wait(kUnitTimeoutMs));
    qputenv("XDG_DATA_HOME", dataHome);
    QCOMPARE(watcher.units.size(), 1);
    const LaneUnit unit = watcher.unit(0);
    QCOMPARE(LaneUnit::outcomeKey(unit.outcome), outcome);
    QVERIFY2(unit.failure.contains(failure), qPrintable(unit.failure));
    QCOMPARE(watcher.states.constLast().state, LaneStatus::State::Stopped);
    // The unit is named while it runs, not only once it has ended.
    if (fault != "hang-up")
        QVERIFY(std::any_of(watcher.states.begin(), watcher.states.end(), [&](const auto &s) {
            return s.state == LaneStatus::State::Running && s.serialNumber == serial &&
                   s.model == model;
        }));
    if (model != "LX-815 U2")
        QVERIFY2(sim.state() == before, qPrintable(sim.state().diff(before).join('\n')));
    if (fault == "no-records") {
        QVERIFY(unit.entryId.isEmpty());
        return;
    }
    // The entry is there, with its outcome, when the unit is reported.
    const auto entries = RecordStore(target).list(unit.identity.serialNumber, QDateTime());
    QVERIFY(entries && entries->size() == 1);
    QCOMPARE(entries->first().entryId, unit.entryId);
    QCOMPARE(entries->first().outcome, outcome);
    QCOMPARE(entries->first().recipeSha256, unit.recipeSha256);
    QCOMPARE(entries->first().lane, 1);
    QCOMPARE(entries->first().failedStep, unit.failedStep);
    QCOMPARE(entries->first().measurements, unit.measurements);
}

// Watching: each unit once, however long it stays; a swap within a moment is a new unit; a
// reinserted unit after it was gone is run again.
void TestLane::watchTakesEachUnitOnce()
{
    QTemporaryDir dir;
    writeJson(dir.filePath("units.json"),
              QJsonDocument(QJsonArray{QJsonObject{{"serialNumber", kPass}},
                                       QJsonObject{{"serialNumber", kMarginal}}}));
    SimProcess sim;
    QVERIFY2(sim.start({"--units", dir.filePath("units.json"), "--baud", "0"}),
             qPrintable(sim.error()));
    Lane lane(options(sim.portPath(), true, nullptr));
    Watcher watcher(lane);
    lane.start();
    QVERIFY(watcher.units.wait(kUnitTimeoutMs));
    // Many probes later, the same unit still in: not run again.
    QTest::qWait(10 * kProbeIntervalMs);
    QCOMPARE(watcher.units.size(), 1);
    ::kill(sim.process().processId(), SIGUSR2); // swapped at once for the next one
    QTRY_COMPARE_WITH_TIMEOUT(watcher.units.size(), 2, kUnitTimeoutMs);
    ::kill(sim.process().processId(), SIGUSR1); // taken out
    QTRY_VERIFY(watcher.states.constLast().state == LaneStatus::State::Waiting);
    QCOMPARE(watcher.units.size(), 2);
    lane.stop();
    QVERIFY(watcher.finished.wait(kUnitTimeoutMs));
    QCOMPARE(watcher.unit(0).identity.serialNumber, kPass);
    QCOMPARE(watcher.unit(1).identity.serialNumber, kMarginal);
    QCOMPARE(watcher.unit(1).outcome, LaneUnit::Outcome::Marginal);
}

// A port whose device goes away (the simulator ends, its link is removed) and comes back (a
// new simulator on the same link) is opened again, and its unit run.
void TestLane::portVanishesAndComesBack()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("socket");
    for (const QString &serial : {kPass, kMarginal})
        writeJson(dir.filePath(serial + ".json"),
                  QJsonDocument(QJsonArray{QJsonObject{{"serialNumber", serial}}}));
    auto sim = std::make_unique<SimProcess>();
    QVERIFY2(sim->start({"--units", dir.filePath(kPass + ".json"), "--link", link, "--baud", "0"}),
             qPrintable(sim->error()));
    Lane lane(options(link, true, nullptr));
    Watcher watcher(lane);
    lane.start();
    QVERIFY(watcher.units.wait(kUnitTimeoutMs));
    QCOMPARE(sim->stop(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(watcher.saw(LaneStatus::State::PortGone), kUnitTimeoutMs);
    sim = std::make_unique<SimProcess>();
    QVERIFY2(
        sim->start({"--units", dir.filePath(kMarginal + ".json"), "--link", link, "--baud", "0"}),
        qPrintable(sim->error()));
    QTRY_COMPARE_WITH_TIMEOUT(watcher.units.size(), 2, kUnitTimeoutMs);
    QCOMPARE(watcher.unit(1).identity.serialNumber, kMarginal);
    lane.stop();
    QVERIFY(watcher.finished.wait(kUnitTimeoutMs));
}

// A stop while a unit is written: the unit runs to its end and is reported, then the lane ends.
void TestLane::stopLetsTheUnitFinish()
{
    SimHarness::Options simOptions;
    simOptions.state = unit(kPass);
    simOptions.baud = 9600; // slow enough to be caught writing
    SimHarness sim(simOptions);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    LaneOptions laneOptions = options(sim.portPath(), true, nullptr);
    Lane lane(laneOptions);
    Watcher watcher(lane);
    lane.start();
    QTRY_VERIFY_WITH_TIMEOUT(!watcher.states.isEmpty() &&
                                 watcher.states.constLast().step == "write-config",
                             kUnitTimeoutMs);
    lane.stop();
    QVERIFY(watcher.finished.wait(kUnitTimeoutMs));
    QCOMPARE(watcher.units.size(), 1);
    QCOMPARE(watcher.unit(0).outcome, LaneUnit::Outcome::Pass);
    QCOMPARE(watcher.unit(0).steps.constLast().step, QStringLiteral("snapshot"));
}

// A stop while the module transmits for a calibration keys it down before the lane ends: the
// last transmit request the module heard is "back to normal mode".
void TestLane::stopKeysACalibrationDown()
{
    SimHarness::Options simOptions;
    simOptions.state = unit(kPass);
    SimHarness sim(simOptions);
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    TestSet testSet(sim.simulator());
    QVERIFY(testSet.listen(0, nullptr));
    const QString path = recipe(QJsonDocument::fromJson(QStringLiteral(R"([
        {"Step": "calibrate", "Instrument": "%1", "Folder": "calibrated",
         "Points": {"Low": 45100000, "Mid": 47000000, "High": 48900000},
         "Targets": [{"Value": "/TCXO_BIAS", "Measure": "frequency-error", "Point": "Mid",
                      "Power": 0, "Target": 0, "Tolerance": 50}]}])")
                                                            .arg(testSet.url())
                                                            .toUtf8())
                                    .array());
    QStringList problems;
    const auto loaded = Recipe::load(path, &problems);
    QVERIFY2(loaded, qPrintable(problems.join('\n')));
    LaneOptions laneOptions = options(sim.portPath(), false, nullptr);
    laneOptions.recipe = std::make_shared<const Recipe>(*loaded);
    Lane lane(laneOptions);
    Watcher watcher(lane);
    lane.start();
    QTRY_VERIFY_WITH_TIMEOUT(sim.state().transmitMode != 0, kUnitTimeoutMs);
    lane.stop();
    QVERIFY(watcher.finished.wait(kUnitTimeoutMs));
    QCOMPARE(watcher.unit(0).outcome, LaneUnit::Outcome::Error);
    QVERIFY2(watcher.unit(0).failure.contains("cancelled"), qPrintable(watcher.unit(0).failure));
    quint8 lastMode = 0;
    for (const QByteArray &request : sim.requests()) {
        if (request.startsWith(char(Wire::Cmd::kForceTransmit)) ||
            request.startsWith(char(Wire::Cmd::kNormalMode)))
            lastMode = quint8(request.at(0));
    }
    QCOMPARE(lastMode, Wire::Cmd::kNormalMode);
    QCOMPARE(sim.state().transmitMode, 0);
}

// lx815-cli run --watch --json: a JSON object per unit as it ends, with exactly its keys; on
// SIGTERM the summary on standard error and exit code 0.
void TestLane::cliWatchJsonAndSummary()
{
    QTemporaryDir dir;
    writeJson(dir.filePath("units.json"),
              QJsonDocument(QJsonArray{QJsonObject{{"serialNumber", kOutOfLimits}},
                                       QJsonObject{{"serialNumber", kPass}}}));
    SimProcess sim;
    QVERIFY2(sim.start({"--units", dir.filePath("units.json"), "--baud", "0"}),
             qPrintable(sim.error()));
    QProcess run;
    run.start(cli(), {"run", recipe(), "--port", sim.portPath(), "--watch", "--json", "--records",
                      dir.filePath("r.sqlite")});
    QList<QJsonObject> lines;
    const auto nextLine = [&] {
        QDeadlineTimer deadline(kUnitTimeoutMs);
        while (!run.canReadLine() && !deadline.hasExpired())
            run.waitForReadyRead(100);
        lines.append(QJsonDocument::fromJson(run.readLine()).object());
    };
    nextLine();
    ::kill(sim.process().processId(), SIGUSR2);
    nextLine();
    ::kill(run.processId(), SIGTERM);
    QVERIFY(run.waitForFinished(kUnitTimeoutMs));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    QStringList keys = lines.at(0).keys();
    QCOMPARE(keys, QStringList({"entryId", "finished", "firmware", "measurements", "model",
                                "outcome", "port", "recipe", "recipeSha256", "revision",
                                "serialNumber", "started", "steps"}));
    QCOMPARE(lines.at(0).value("outcome").toString(), QStringLiteral("fail"));
    QCOMPARE(lines.at(1).value("outcome").toString(), QStringLiteral("pass"));
    const QJsonObject measurement = lines.at(0).value("measurements").toArray().at(0).toObject();
    QCOMPARE(measurement.keys(),
             QStringList({"marginal", "max", "min", "name", "outcome", "value"}));
    QCOMPARE(lines.at(0).value("steps").toArray().at(0).toObject().keys(),
             QStringList({"message", "outcome", "seconds", "step"}));
    const QString summary = QString::fromUtf8(run.readAllStandardError());
    QVERIFY2(summary.contains("units 2, pass 1, marginal 0, fail 1, error 0, first-pass yield "
                              "50.0%"),
             qPrintable(summary));
    QVERIFY(run.readAllStandardOutput().isEmpty());
}

// lx815-cli run with a calibrate step: below the unit's line, a line per target with what its
// history entry keeps.
void TestLane::cliCalibrateLines_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("valueLine"); // name, before, after, reading, readings
    QTest::addColumn<QString>("levelsLine");
    QTest::newRow("en") << "en_US"
                        << "  %1: before %2, after %3, reading %4 Hz (target 0 ± 50), %5 readings  "
                           "PASS"
                        << "  rssi: 2 levels sent, the last 40 dBµV  PASS";
    QTest::newRow("zh") << "zh_CN"
                        << "  %1：校准前 %2，校准后 %3，读数 %4 Hz（目标 0 ± 50），%5 次读数  PASS"
                        << "  rssi：发送了 2 个电平，最后 40 dBµV  PASS";
}

void TestLane::cliCalibrateLines()
{
    QFETCH(QString, language);
    QFETCH(QString, valueLine);
    QFETCH(QString, levelsLine);
    QTemporaryDir dir;
    SimProcess sim;
    QVERIFY2(sim.start({"--test-set", "0", "--baud", "0"}), qPrintable(sim.error()));
    QVERIFY(sim.process().canReadLine() || sim.process().waitForReadyRead(5000));
    const QString url = QString::fromLocal8Bit(sim.process().readLine()).trimmed();
    const QString path = recipe(QJsonDocument::fromJson(QStringLiteral(R"([
        {"Step": "calibrate", "Instrument": "%1", "Folder": "calibrated",
         "Points": {"Low": 45100000, "Mid": 47000000, "High": 48900000},
         "Targets": [{"Value": "/TCXO_BIAS", "Measure": "frequency-error", "Point": "Mid",
                      "Power": 0, "Target": 0, "Tolerance": 50},
                     {"Calibrate": "rssi", "Point": "Mid", "Levels": [10, 40]}]}])")
                                                            .arg(url)
                                                            .toUtf8())
                                    .array());
    const QString records = dir.filePath("r.sqlite");
    QProcess run;
    run.start(cli(),
              {"run", path, "--port", sim.portPath(), "--records", records, "--lang", language});
    QVERIFY(run.waitForFinished(kUnitTimeoutMs));
    QCOMPARE(run.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(run.readAllStandardOutput()).split('\n');
    RecordStore store(*RecordsTarget::parse(records, nullptr));
    const auto entries = store.list();
    QVERIFY(entries && entries->size() == 1 && entries->first().measurements.size() == 2);
    const UnitRecord::Measurement &tcxo = entries->first().measurements.first();
    QCOMPARE(lines.value(1), valueLine.arg(tcxo.name)
                                 .arg(*tcxo.before)
                                 .arg(tcxo.value)
                                 .arg(*tcxo.reading)
                                 .arg(*tcxo.readings));
    QCOMPARE(lines.value(2), levelsLine);
}

QTEST_GUILESS_MAIN(TestLane)
#include "tst_lane.moc"
