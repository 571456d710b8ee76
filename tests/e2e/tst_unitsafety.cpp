// Verified writes, backups and calibrations bound to their unit: lx815-cli as a child process
// against simulated modules on pseudo-terminals.
#include "support/factorystates.h"
#include "support/simharness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {
constexpr int kRunTimeoutMs = 30000;

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the tool with the event loop turning, so that the simulators in this process answer.
CliRun runCli(const QStringList &arguments)
{
    const QString binaryDir = qEnvironmentVariable("LX_BINARY_DIR");
    QProcess process;
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    process.start(QDir(binaryDir).filePath("cli/lx815-cli"), arguments);
    CliRun run;
    if (!finished.wait(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

void writeJson(const QString &path, const QJsonObject &object)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(object).toJson());
}

// The module's values without the moment they were read.
QJsonObject values(QJsonObject snapshot)
{
    QJsonObject unit = snapshot.value("Unit").toObject();
    unit.remove("ReadAt");
    snapshot.insert("Unit", unit);
    return snapshot;
}

SimHarness::Options module(const ModuleState &state, const QStringList &faults = {})
{
    SimHarness::Options options;
    options.state = state;
    options.faults = faults;
    return options;
}

ModuleState withSerial(ModuleState state, const char *hex)
{
    state.serialNumber = QByteArray::fromHex(hex);
    return state;
}
} // namespace

class TestUnitSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void forgottenWriteIsNotVerified_data();
    void forgottenWriteIsNotVerified();
    void backupHoldsTheStateBeforeTheWrite();
    void failedBackupWritesNothing();
    void backupsNeverOverwrite_data();
    void backupsNeverOverwrite();
    void backupFolderIsMade_data();
    void backupFolderIsMade();
    void configGoesIntoAnyUnit();
    void restoreFitsChannelsToItsBand();
    void calibrationStaysWithItsUnit();
    void badUnitSendsNothing_data();
    void badUnitSendsNothing();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestUnitSafety::initTestCase()
{
    qRegisterMetaType<QProcess::ExitStatus>();
    QVERIFY(m_dir.isValid());
}

void TestUnitSafety::forgottenWriteIsNotVerified_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fault"); // a change the module acknowledges and forgets
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("difference");
    QTest::newRow("user parameter") << "write-config"
                                    << "34:forget:*"
                                    << "/TxProtect/Timeout"
                                    << "TX timeout: expected 77, module has 60";
    QTest::newRow("factory value") << "write-calibration"
                                   << "A1 07:forget:*"
                                   << "/DataModFreqDiv/Mid"
                                   << "/DataModFreqDiv/Mid: expected 77, module has";
}

void TestUnitSafety::forgottenWriteIsNotVerified()
{
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QFETCH(QString, member);
    QFETCH(QString, difference);
    // The factory module's band holds none of the default channels' frequencies.
    const ModuleState state =
        command == "write-config" ? ModuleState::defaults() : FactoryStates::distinct();
    SimHarness source(module(state));
    SimHarness target(module(state, {fault}));
    QVERIFY(source.isReady() && target.isReady());
    const QString file = path("forgotten.json");
    QCOMPARE(runCli({"snapshot", file, "--port", source.portPath()}).exitCode, 0);
    QJsonObject snapshot = readJson(file);
    const QStringList keys = member.split('/', Qt::SkipEmptyParts);
    QJsonObject group = keys.size() > 1 ? snapshot.value(keys[0]).toObject() : snapshot;
    group.insert(keys.last(), 77);
    snapshot.insert(keys[0], keys.size() > 1 ? QJsonValue(group) : group.value(keys.last()));
    writeJson(file, snapshot);

    const CliRun run = runCli({command, file, "--port", target.portPath()});
    QCOMPARE(run.exitCode, 4);
    QCOMPARE(run.out, target.portPath() + ": Written but not verified!\n");
    const QStringList failures = run.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures[0].startsWith(target.portPath() + ": " + difference), qPrintable(run.err));

    // The same file without the forgetting module verifies.
    SimHarness healthy(module(state));
    QVERIFY(healthy.isReady());
    QCOMPARE(runCli({command, file, "--port", healthy.portPath()}).exitCode, 0);
    const CliRun verify =
        runCli({QString(command).replace("write", "verify"), file, "--port", healthy.portPath()});
    QCOMPARE(verify.exitCode, 0);
    QCOMPARE(verify.err, QString());
}

void TestUnitSafety::backupHoldsTheStateBeforeTheWrite()
{
    const ModuleState before = ModuleState::defaults();
    ModuleState changed = FactoryStates::scrambled(before);
    changed.band = before.band; // the band of its channels
    changed.volume = 7;
    changed.txTimeout = 33;
    SimHarness sim(module(before));
    SimHarness other(module(changed));
    QVERIFY(sim.isReady() && other.isReady());
    QCOMPARE(runCli({"snapshot", path("before.json"), "--port", sim.portPath()}).exitCode, 0);
    QCOMPARE(runCli({"snapshot", path("other.json"), "--port", other.portPath()}).exitCode, 0);
    QDir backups(path("backups"));
    QVERIFY(backups.mkpath("."));

    const CliRun run = runCli({"restore", path("other.json"), "--force-unit", "--backup",
                               backups.path(), "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 0);
    const QStringList files = backups.entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    const QString serial =
        readJson(path("before.json")).value("Unit").toObject().value("SerialNumber").toString();
    const QString port = QFileInfo(sim.portPath()).fileName();
    QVERIFY2(QRegularExpression("^" + serial + "-\\d{8}-\\d{6}\\.\\d{3}-" + port + "\\.json$")
                 .match(files[0])
                 .hasMatch(),
             qPrintable(files[0]));
    QCOMPARE(values(readJson(backups.filePath(files[0]))), values(readJson(path("before.json"))));

    // The module now holds the other one's values, and the backup puts its own back.
    QCOMPARE(runCli({"verify-config", path("other.json"), "--port", sim.portPath()}).exitCode, 0);
    const CliRun back = runCli({"restore", backups.filePath(files[0]), "--port", sim.portPath()});
    QVERIFY2(back.exitCode == 0, qPrintable(back.err));
    QCOMPARE(runCli({"snapshot", path("after.json"), "--port", sim.portPath()}).exitCode, 0);
    QCOMPARE(values(readJson(path("after.json"))), values(readJson(path("before.json"))));
}

void TestUnitSafety::failedBackupWritesNothing()
{
    SimHarness sim(module(FactoryStates::distinct(), {"A0:drop:*"}));
    QVERIFY(sim.isReady());
    SimHarness source;
    QVERIFY(source.isReady());
    QCOMPARE(runCli({"read-config", path("config.json"), "--port", source.portPath()}).exitCode, 0);
    QSignalSpy changes(&sim.simulator(), &ModuleSimulator::stateChanged);
    const CliRun run = runCli(
        {"write-config", path("config.json"), "--backup", m_dir.path(), "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("nothing was written"), qPrintable(run.err));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(QDir(m_dir.path()).entryList({"4C58*"}), QStringList());
}

void TestUnitSafety::backupsNeverOverwrite_data()
{
    QTest::addColumn<int>("modules"); // blank units, all with one serial number
    QTest::addColumn<int>("runs");    // one after the other, each well within a second
    QTest::newRow("one module twice") << 1 << 2;
    QTest::newRow("three units of one serial at once") << 3 << 1;
}

void TestUnitSafety::backupsNeverOverwrite()
{
    QFETCH(int, modules);
    QFETCH(int, runs);
    std::vector<std::unique_ptr<SimHarness>> sims;
    QStringList ports;
    for (int i = 0; i < modules; ++i) {
        sims.push_back(std::make_unique<SimHarness>(
            module(withSerial(ModuleState::defaults(), "000000000000"))));
        QVERIFY(sims.back()->isReady());
        ports << "--port" << sims.back()->portPath();
    }
    QCOMPARE(runCli({"read-config", path("plan.json"), "--port", sims[0]->portPath()}).exitCode, 0);
    QTemporaryDir backups;
    const QString records = backups.filePath("history.sqlite");
    const QString folder = backups.filePath("backups");
    QVERIFY(QDir().mkpath(folder));
    for (int run = 0; run < runs; ++run) {
        const CliRun write = runCli(QStringList{"write-config", path("plan.json"), "--backup",
                                                folder, "--records", records} +
                                    ports);
        QVERIFY2(write.exitCode == 0, qPrintable(write.err));
    }
    QStringList files = QDir(folder).entryList(QDir::Files);
    QCOMPARE(files.size(), modules * runs);
    for (QString &file : files) {
        file = QDir(folder).filePath(file);
        QVERIFY(readJson(file).contains("Channel"));
    }
    // Each entry names its own backup.
    const CliRun history = runCli({"history", "--json", "--records", records});
    QStringList named;
    for (const QString &line : history.out.split('\n', Qt::SkipEmptyParts))
        named << QJsonDocument::fromJson(line.toUtf8()).object().value("backup").toString();
    named.sort();
    QCOMPARE(named, files);
}

void TestUnitSafety::backupFolderIsMade_data()
{
    QTest::addColumn<QString>("folder"); // below the test's folder, where "file" is a file
    QTest::addColumn<QString>("error");  // empty: made and used
    QTest::newRow("missing, with its parents") << "new/deeper"
                                               << "";
    QTest::newRow("a file in the way") << "file"
                                       << "is a file, not a folder";
    QTest::newRow("below a file") << "file/sub"
                                  << "is a file, not a folder";
}

void TestUnitSafety::backupFolderIsMade()
{
    QFETCH(QString, folder);
    QFETCH(QString, error);
    QTemporaryDir root;
    writeJson(root.filePath("file"), {});
    SimHarness sim;
    QVERIFY(sim.isReady());
    QCOMPARE(runCli({"read-config", path("plan.json"), "--port", sim.portPath()}).exitCode, 0);
    sim.clearLog();
    const QString dir = root.filePath(folder);
    const CliRun run =
        runCli({"write-config", path("plan.json"), "--backup", dir, "--port", sim.portPath()});
    if (error.isEmpty()) {
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 1);
        return;
    }
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(error), qPrintable(run.err));
    QCOMPARE(sim.requests(), QList<QByteArray>());
}

void TestUnitSafety::configGoesIntoAnyUnit()
{
    SimHarness a(module(withSerial(ModuleState::defaults(), "4C5881500001")));
    SimHarness b(module(withSerial(ModuleState::defaults(), "4C58815000B2")));
    QVERIFY(a.isReady() && b.isReady());
    QCOMPARE(runCli({"snapshot", path("unit-a-plan.json"), "--port", a.portPath()}).exitCode, 0);
    const CliRun run = runCli({"write-config", path("unit-a-plan.json"), "--port", b.portPath()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // Its factory side stays bound to unit A.
    QCOMPARE(runCli({"restore", path("unit-a-plan.json"), "--port", b.portPath()}).exitCode, 1);
}

void TestUnitSafety::restoreFitsChannelsToItsBand()
{
    SimHarness sim(module(ModuleState::defaults()));
    QVERIFY(sim.isReady());
    const QString file = path("out-of-band.json");
    QCOMPARE(runCli({"snapshot", file, "--port", sim.portPath()}).exitCode, 0);
    QJsonObject snapshot = readJson(file);
    QJsonObject channels = snapshot.value("Channel").toObject();
    QJsonObject channel = channels.value("3").toObject();
    channel.insert("TxFreq", 99999999);
    channels.insert("3", channel);
    snapshot.insert("Channel", channels);
    writeJson(file, snapshot);
    QSignalSpy changes(&sim.simulator(), &ModuleSimulator::stateChanged);

    const CliRun run = runCli({"restore", file, "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, sim.portPath() +
                          ": Frequency is out of range! (CH3_TxFreq: 450.00000–490.00000 MHz)\n");
    QCOMPARE(changes.count(), 0);
}

void TestUnitSafety::calibrationStaysWithItsUnit()
{
    const ModuleState unitA = withSerial(FactoryStates::distinct(), "4C5881500001");
    const ModuleState unitB =
        withSerial(FactoryStates::scrambled(FactoryStates::distinct()), "4C58815000B2");
    SimHarness a(module(unitA));
    SimHarness b(module(unitB));
    QVERIFY(a.isReady() && b.isReady());
    const QString file = path("unit-a.json");
    QCOMPARE(runCli({"read-calibration", file, "--port", a.portPath()}).exitCode, 0);
    QCOMPARE(readJson(file).value("Unit").toObject().value("SerialNumber").toString(),
             QString("4C5881500001"));

    b.clearLog();
    const CliRun refused = runCli({"write-calibration", file, "--port", b.portPath()});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("4C5881500001") && refused.err.contains("4C58815000B2"),
             qPrintable(refused.err));
    QCOMPARE(b.requests().size(), 3); // the identification, nothing written
    QCOMPARE(runCli({"verify-calibration", file, "--port", b.portPath()}).exitCode, 4);

    const QString history = path("history.sqlite");
    const CliRun forced = runCli(
        {"write-calibration", file, "--force-unit", "--port", b.portPath(), "--records", history});
    QCOMPARE(forced.exitCode, 0);
    // The history says whose calibration the unit got.
    const CliRun listed = runCli({"history", "--records", history});
    QVERIFY2(listed.out.contains("4C58815000B2") && listed.out.contains("--force-unit") &&
                 listed.out.contains("4C5881500001"),
             qPrintable(listed.out));
    QCOMPARE(runCli({"verify-calibration", file, "--port", b.portPath()}).exitCode, 0);
}

void TestUnitSafety::badUnitSendsNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QJsonValue>("unit");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an object")
        << "write-calibration" << QJsonValue("4C5881500001") << "/Unit is not an object.";
    QTest::newRow("serial number as a number")
        << "restore" << QJsonValue(QJsonObject{{"SerialNumber", 4}})
        << "/Unit/SerialNumber is not a serial number of 12 hex digits.";
    QTest::newRow("eleven digits")
        << "write-calibration" << QJsonValue(QJsonObject{{"SerialNumber", "4C588150000"}})
        << "/Unit/SerialNumber is not a serial number of 12 hex digits.";
    QTest::newRow("not hex") << "restore"
                             << QJsonValue(QJsonObject{{"SerialNumber", "4C588150000G"}})
                             << "/Unit/SerialNumber is not a serial number of 12 hex digits.";
    QTest::newRow("band as text") << "write-calibration"
                                  << QJsonValue(QJsonObject{{"SerialNumber", "4C5881500001"},
                                                            {"Band", "19"}})
                                  << "/Unit/Band has the wrong type.";
}

void TestUnitSafety::badUnitSendsNothing()
{
    QFETCH(QString, command);
    QFETCH(QJsonValue, unit);
    QFETCH(QString, message);
    SimHarness sim(module(FactoryStates::distinct()));
    QVERIFY(sim.isReady());
    const QString file = path("bad-unit.json");
    QCOMPARE(runCli({"snapshot", file, "--port", sim.portPath()}).exitCode, 0);
    QJsonObject snapshot = readJson(file);
    snapshot.insert("Unit", unit);
    writeJson(file, snapshot);
    sim.clearLog();

    const CliRun run = runCli({command, file, "--force-unit", "--port", sim.portPath()});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, "The file " + file + ": " + message + "\n");
    QCOMPARE(sim.requests(), QList<QByteArray>());
}

QTEST_MAIN(TestUnitSafety)
#include "tst_unitsafety.moc"
