// The simulator as a station's socket where units come and go: lx815-sim --units on a real
// pseudo-terminal, identified by lx815-cli as a station would.
#include "sim/modulesimulator.h"
#include "sim/unitsocket.h"
#include "support/simharness.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {
constexpr int kEventTimeoutMs = 5000;
constexpr int kCliTimeoutMs = 30000;

const QByteArray kUnits = R"([
    {"serialNumber": "4C5881500001"},
    {"serialNumber": "4C5881500002", "model": "LX-815 V", "firmware": "V1.3.0"}
])";

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// The next line the simulator printed after its terminal's path.
QString nextEvent(QProcess &process)
{
    QDeadlineTimer deadline(kEventTimeoutMs);
    while (!process.canReadLine() && !deadline.hasExpired())
        process.waitForReadyRead(50);
    return QString::fromLatin1(process.readLine()).trimmed();
}

// lx815-cli info --json: the serial number, model and firmware, or "silent" when nothing
// answered.
QString identify(const QString &port)
{
    QProcess cli;
    cli.start(QDir(qEnvironmentVariable("LX_BINARY_DIR")).filePath("cli/lx815-cli"),
              {"info", "--json", "--port", port});
    if (!cli.waitForFinished(kCliTimeoutMs))
        return QStringLiteral("hung");
    if (cli.exitCode() == 1)
        return QStringLiteral("silent");
    const QJsonObject info = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    return QStringList{info.value("serialNumber").toString(), info.value("model").toString(),
                       info.value("firmware").toString()}
        .join(' ');
}
} // namespace

class TestSimUnits : public QObject
{
    Q_OBJECT

private slots:
    void unitsComeAndGo();
    void scheduleAndRestartOnTheSameLink();
    void unitKeepsItsValues();
    void badOptions_data();
    void badOptions();
};

// Each signal's change is announced, and identification follows it: the unit in the socket
// answers, nothing answers while the socket is empty.
void TestSimUnits::unitsComeAndGo()
{
    QTemporaryDir dir;
    write(dir.filePath("units.json"), kUnits);
    const QString link = dir.filePath("socket");
    SimProcess sim;
    QVERIFY2(sim.start({"--units", dir.filePath("units.json"), "--link", link, "--baud", "0"}),
             qPrintable(sim.error()));
    QCOMPARE(nextEvent(sim.process()), QStringLiteral("in 1 4C5881500001"));

    struct Step
    {
        int signal; // 0: none
        QStringList events;
        QString identified;
    };
    const QList<Step> steps{
        {0, {}, "4C5881500001 LX-815 U2 V1.4.2"},
        {SIGUSR1, {"out 1 4C5881500001"}, "silent"},
        {SIGUSR2, {"in 2 4C5881500002"}, "4C5881500002 LX-815 V V1.3.0"},
        {SIGUSR2, {"out 2 4C5881500002", "empty"}, "silent"},
    };
    for (const Step &step : steps) {
        if (step.signal)
            ::kill(pid_t(sim.process().processId()), step.signal);
        for (const QString &event : step.events)
            QCOMPARE(nextEvent(sim.process()), event);
        QCOMPARE(identify(link), step.identified);
    }
    QCOMPARE(sim.stop(), 0);
}

// A timed schedule plays the same changes without a signal; a simulator stopped and started
// again on the same link is found there by the next identification.
void TestSimUnits::scheduleAndRestartOnTheSameLink()
{
    QTemporaryDir dir;
    write(dir.filePath("units.json"), kUnits);
    const QString link = dir.filePath("socket");
    SimProcess sim;
    QVERIFY(sim.start({"--units", dir.filePath("units.json"), "--link", link, "--baud", "0",
                       "--schedule", "100:out,100:in,100:next"}));
    const QStringList expected{"in 1 4C5881500001", "out 1 4C5881500001", "in 1 4C5881500001",
                               "out 1 4C5881500001", "in 2 4C5881500002"};
    for (const QString &event : expected)
        QCOMPARE(nextEvent(sim.process()), event);
    QCOMPARE(identify(link), QStringLiteral("4C5881500002 LX-815 V V1.3.0"));
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    write(dir.filePath("state.json"), R"({"serialNumber": "4C5881500003"})");
    SimProcess again;
    QVERIFY(again.start({"--state", dir.filePath("state.json"), "--link", link, "--baud", "0"}));
    QCOMPARE(identify(link), QStringLiteral("4C5881500003 LX-815 U2 V1.4.2"));
}

// What was written into a unit stays with it while another one is in the socket.
void TestSimUnits::unitKeepsItsValues()
{
    ModuleSimulator simulator;
    UnitSocket socket(simulator, {ModuleState::defaults(), ModuleState::defaults(0x10)});
    QVERIFY(simulator.isSilent());
    socket.start();
    QCOMPARE(socket.current(), 0);
    simulator.state().volume = 9;
    socket.apply(UnitSocket::Action::Remove);
    QVERIFY(simulator.isSilent());
    QCOMPARE(socket.current(), -1);
    socket.apply(UnitSocket::Action::Next);
    QCOMPARE(simulator.state().band, quint8(0x10));
    QCOMPARE(socket.units().at(0).volume, quint8(9));
    simulator.state().volume = 2;
    socket.apply(UnitSocket::Action::Next);
    QVERIFY(simulator.isSilent());
    QCOMPARE(socket.units().at(1).volume, quint8(2));
}

void TestSimUnits::badOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("units");
    QTest::newRow("units with state") << QStringList{"--state", "x.json"} << kUnits;
    QTest::newRow("units with band") << QStringList{"--band", "0x10"} << kUnits;
    QTest::newRow("schedule item") << QStringList{"--schedule", "100:jump"} << kUnits;
    QTest::newRow("schedule delay") << QStringList{"--schedule", "-5:out"} << kUnits;
    QTest::newRow("not a list") << QStringList() << QByteArray(R"({"serialNumber": "1"})");
    QTest::newRow("empty list") << QStringList() << QByteArray("[]");
    QTest::newRow("unknown model") << QStringList() << QByteArray(R"([{"model": "LX-900"}])");
    QTest::newRow("model and band")
        << QStringList() << QByteArray(R"([{"model": "LX-815 V", "band": 16}])");
    QTest::newRow("bad serial") << QStringList() << QByteArray(R"([{"serialNumber": "12"}])");
}

void TestSimUnits::badOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, units);
    QTemporaryDir dir;
    write(dir.filePath("units.json"), units);
    QProcess sim;
    sim.start(SimProcess::executablePath(),
              QStringList{"--units", dir.filePath("units.json")} + arguments);
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 2);
    QCOMPARE(sim.readAllStandardOutput(), QByteArray());
    QVERIFY(sim.readAllStandardError().startsWith("lx815-sim: "));
}

QTEST_GUILESS_MAIN(TestSimUnits)
#include "tst_simunits.moc"
