// Verified writes, backups and calibrations bound to their unit: lx815-cli as a child process
// against simulated modules on pseudo-terminals.
#include "support/factorystates.h"
#include "support/simharness.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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
    QVERIFY2(QRegularExpression("^" + serial + "-\\d{8}-\\d{6}\\.json$").match(files[0]).hasMatch(),
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
