// The field-support side: the line trace, the support report, replay of a recorded run, the
// port finder's probe and the port checks.
#include "protocol/linetrace.h"
#include "serial/mserialport.h"
#include "serial/portchecks.h"
#include "session/portprobe.h"
#include "sim/replayscript.h"
#include "support/pty.h"
#include "support/redaction.h"
#include "support/simharness.h"
#include "support/supportreport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

using Check = PortChecks::Check;
Q_DECLARE_METATYPE(Check::Result)

namespace {
QString cliPath()
{
    return QDir(qEnvironmentVariable("LX_BINARY_DIR")).filePath("cli/lx815-cli");
}

// stdout and stderr lines of one run, with this process's simulators answering meanwhile.
QStringList runCli(const QStringList &arguments)
{
    qRegisterMetaType<QProcess::ExitStatus>();
    QProcess process;
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    process.start(cliPath(), arguments);
    if (!finished.wait(20000))
        return {QStringLiteral("timed out")};
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
        .split('\n', Qt::SkipEmptyParts);
}

QList<QByteArray> sentFrames(const QString &reportPath)
{
    QFile file(reportPath);
    file.open(QIODevice::ReadOnly);
    QList<QByteArray> frames;
    const QJsonArray events =
        QJsonDocument::fromJson(file.readAll()).object()["trace"].toObject()["events"].toArray();
    for (const QJsonValue &value : events) {
        if (value["dir"] == "tx")
            frames.append(value["hex"].toString().toLatin1());
    }
    return frames;
}
} // namespace

class TestFieldSupport : public QObject
{
    Q_OBJECT

private slots:
    void ringKeepsTheLastEventsInOrder_data();
    void ringKeepsTheLastEventsInOrder();
    void reportIsValidJsonWithNastyTexts();
    void passwordsLeaveNoText_data();
    void passwordsLeaveNoText();
    void replayShowsTheSameFailures();
    void probeTellsModuleSilentAndBusyApart();
    void portChecks_data();
    void portChecks();
};

void TestFieldSupport::ringKeepsTheLastEventsInOrder_data()
{
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("recorded");
    QTest::newRow("not full") << 5 << 3;
    QTest::newRow("exactly full") << 5 << 5;
    QTest::newRow("wrapped once and a bit") << 5 << 12;
    QTest::newRow("default size wrapped") << LineTrace::kCapacity << LineTrace::kCapacity + 7;
}

void TestFieldSupport::ringKeepsTheLastEventsInOrder()
{
    QFETCH(int, capacity);
    QFETCH(int, recorded);
    LineTrace trace(capacity);
    for (int i = 0; i < recorded; ++i)
        trace.record(LineEvent::Direction::Rx, QString(), QByteArray::number(i), QString());
    const QList<LineEvent> events = trace.events();
    QCOMPARE(events.size(), std::min(capacity, recorded));
    QCOMPARE(trace.recorded(), qint64(recorded));
    for (int i = 0; i < events.size(); ++i)
        QCOMPARE(events[i].bytes, QByteArray::number(recorded - events.size() + i));
}

void TestFieldSupport::reportIsValidJsonWithNastyTexts()
{
    const QString nasty = QStringLiteral("a\"b\\c\nd\te") + QChar(0xD800) + QChar(0x1) +
                          QString::fromUtf8("\xff\xfe\xc3(");
    SupportReport report;
    report.tool = nasty;
    report.port = nasty;
    report.ports.append(
        PortListing{nasty, nasty, nasty, nasty, nasty, 0x1a86, 0x7523, {nasty}, {nasty}});
    ModuleIdentity identity;
    identity.firmware = nasty;
    report.identity = identity;
    LineTrace trace;
    trace.record(LineEvent::Direction::Tx, nasty, QByteArray("\x00\xff", 2), nasty);
    report.trace = trace.toJson();
    report.log = QStringList{nasty};

    const QByteArray bytes = report.toBytes();
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    QCOMPARE(state.invalidChars, 0);
    QJsonParseError error{};
    const QJsonObject object = QJsonDocument::fromJson(bytes, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    for (const char *key :
         {"tool", "os", "settings", "port", "ports", "doctor", "identification", "trace", "log"})
        QVERIFY2(object.contains(QLatin1String(key)), key);
    QCOMPARE(object["ports"][0]["description"].toString().left(10), nasty.left(10));
    QCOMPARE(object["identification"]["firmware"].toString().left(10), nasty.left(10));
    QCOMPARE(object["trace"]["events"][0]["hex"].toString(), QStringLiteral("00 ff"));
}

void TestFieldSupport::passwordsLeaveNoText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString url = QStringLiteral("postgresql://line:%1@db.line:5432/line");
    QTest::newRow("URL, escaped") << url.arg("Zq7%40x%3A%2F#ü'\"s3") << url.arg(Redaction::kMask);
    QTest::newRow("URL, '@' not escaped") << url.arg("Zq7@x") << url.arg(Redaction::kMask);
    QTest::newRow("in a message") << "cannot open " + url.arg("Zq7") + ": timeout"
                                  << "cannot open " + url.arg(Redaction::kMask) + ": timeout";
    QTest::newRow("mistyped URL") << "postgresql:line:Zq7@db.line/line"
                                  << "postgresql:line:***@db.line/line";
    QTest::newRow("key=value") << "host=db.line password='Zq7 x' user=line"
                               << "host=db.line password=*** user=line";
    QTest::newRow("environment") << "PGPASSWORD=Zq7 lx815-cli"
                                 << "PGPASSWORD=*** lx815-cli";
    QTest::newRow("URL without password") << "postgresql://line@db.line:5432/line"
                                          << "postgresql://line@db.line:5432/line";
    QTest::newRow("path with ':' and '@'") << "/srv/a:b:c@d/x.json"
                                           << "/srv/a:b:c@d/x.json";
    QTest::newRow("Windows path") << "C:\\line\\a@b.json"
                                  << "C:\\line\\a@b.json";
}

// Whatever holds a password (settings, the copied command line, a log line), a report keeps
// the rest and shows the mask.
void TestFieldSupport::passwordsLeaveNoText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Redaction::text(text), expected);
    SupportReport report;
    report.settings =
        QJsonObject{{"values", QJsonObject{{"Records", QJsonObject{{"Database", text}}}}},
                    {"arguments", QJsonArray{"--records", text}}};
    report.log = QStringList{"warning: " + text};
    const QJsonObject object = QJsonDocument::fromJson(report.toBytes()).object();
    QCOMPARE(object["settings"]["values"]["Records"]["Database"].toString(), expected);
    QCOMPARE(object["settings"]["arguments"][1].toString(), expected);
    QCOMPARE(object["log"][0].toString(), "warning: " + expected);
    if (text != expected)
        QVERIFY(!report.toBytes().contains("Zq7"));
}

void TestFieldSupport::replayShowsTheSameFailures()
{
    // A refusal, a dropped reply and a short reply in one read-config.
    SimHarness::Options options;
    options.faults = QStringList{"32:refuse:1", "01 18:drop:1", "C6:short:*"};
    SimHarness faulty(options);
    QVERIFY2(faulty.isReady(), qPrintable(faulty.error()));
    QTemporaryDir dir;
    const QString recorded = dir.filePath("recorded.json");
    const QString replayed = dir.filePath("replayed.json");
    const QStringList first = runCli(
        {"read-config", dir.filePath("a.json"), "--port", faulty.portPath(), "--trace", recorded});
    QVERIFY(first.size() >= 2);

    QFile report(recorded);
    QVERIFY(report.open(QIODevice::ReadOnly));
    QString error;
    const auto script = ReplayScript::fromReport(report.readAll(), &error);
    QVERIFY2(script, qPrintable(error));
    SimHarness replay;
    QVERIFY(replay.isReady());
    replay.simulator().setReplay(*script);
    QStringList second = runCli(
        {"read-config", dir.filePath("a.json"), "--port", replay.portPath(), "--trace", replayed});
    second.replaceInStrings(replay.portPath(), faulty.portPath());
    QCOMPARE(second, first);
    QCOMPARE(sentFrames(replayed), sentFrames(recorded));
}

void TestFieldSupport::probeTellsModuleSilentAndBusyApart()
{
    SimHarness module;
    PseudoTerminal silent;
    PseudoTerminal busy;
    QVERIFY(module.isReady() && silent.isValid() && busy.isValid());
    MSerialPort holder;
    holder.setPortName(busy.slavePath());
    QVERIFY(holder.open());

    const ProbeResult found = PortProbe::probe(module.portPath(), LineSettings());
    QCOMPARE(found.status, ProbeResult::Status::Module);
    QVERIFY(!found.identity.frequencyRange.isEmpty());
    QCOMPARE(found.identity.serialNumber.size(), 12);
    QCOMPARE(module.requests().size(), 2); // one attempt each

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(PortProbe::probe(silent.slavePath(), LineSettings()).status,
             ProbeResult::Status::NoModule);
    QVERIFY(clock.elapsed() < 3 * PortProbe::kTimeoutMs);
    QCOMPARE(PortProbe::probe(busy.slavePath(), LineSettings()).status, ProbeResult::Status::Busy);
}

void TestFieldSupport::portChecks_data()
{
    QTest::addColumn<bool>("onLinux");
    QTest::addColumn<QStringList>("processGroups");
    QTest::addColumn<QStringList>("accountGroups");
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<Check::Result>("group");
    QTest::addColumn<Check::Result>("modemManager");
    QTest::addColumn<QString>("advice"); // part of the fix of a refused open

    const QStringList dialout{"users", "dialout"};
    const QStringList users{"users"};
    QTest::newRow("all well") << true << dialout << dialout << QStringList{"bash"}
                              << Check::Result::Pass << Check::Result::Pass << QString();
    QTest::newRow("not in the group")
        << true << users << users << QStringList{} << Check::Result::Fail << Check::Result::Pass
        << "usermod -aG dialout";
    QTest::newRow("added after login")
        << true << users << dialout << QStringList{} << Check::Result::Fail << Check::Result::Pass
        << "注销并重新登录";
    QTest::newRow("ModemManager") << true << dialout << dialout
                                  << QStringList{"bash", "ModemManager"} << Check::Result::Pass
                                  << Check::Result::Fail << QString();
    QTest::newRow("not Linux") << false << users << users << QStringList{"ModemManager"}
                               << Check::Result::NotApplicable << Check::Result::NotApplicable
                               << QString();
}

void TestFieldSupport::portChecks()
{
    QFETCH(bool, onLinux);
    QFETCH(QStringList, processGroups);
    QFETCH(QStringList, accountGroups);
    QFETCH(QStringList, programs);
    QFETCH(Check::Result, group);
    QFETCH(Check::Result, modemManager);
    QFETCH(QString, advice);

    QTemporaryDir links;
    QDir(links.path()).mkpath("by-id");
    PseudoTerminal pty;
    QVERIFY(QFile::link(pty.slavePath(), links.filePath("by-id/usb-QinHeng_CH340-if00")));
    PortChecks::SystemFacts facts;
    facts.onLinux = onLinux;
    facts.deviceExists = [](const QString &) {
        return true;
    };
    facts.deviceGroup = [](const QString &) {
        return QStringLiteral("dialout");
    };
    facts.processGroups = [&] {
        return processGroups;
    };
    facts.accountGroups = [&] {
        return accountGroups;
    };
    facts.runningPrograms = [&] {
        return programs;
    };
    facts.brlttyInstalled = [] {
        return false;
    };
    facts.serialLinkRoot = links.path();

    const QList<Check> checks = PortChecks::systemChecks(pty.slavePath(), facts);
    QCOMPARE(checks.size(), 5);
    QCOMPARE(checks[1].result, group);
    QCOMPARE(checks[2].result, modemManager);
    QCOMPARE(checks[4].result, onLinux ? Check::Result::Pass : Check::Result::NotApplicable);
    if (onLinux)
        QVERIFY(checks[4].detail.endsWith("by-id/usb-QinHeng_CH340-if00"));
    for (const Check &check : checks)
        QCOMPARE(check.fix.isEmpty(), check.result != Check::Result::Fail);
    const QString refused = PortChecks::openFailureAdvice(pty.slavePath(), true, facts);
    QCOMPARE(refused.isEmpty(), advice.isEmpty());
    QVERIFY(refused.contains(advice));
    QCOMPARE(PortChecks::openFailureAdvice(pty.slavePath(), false, facts).contains("ModemManager"),
             modemManager == Check::Result::Fail);
}

QTEST_MAIN(TestFieldSupport)
#include "tst_fieldsupport.moc"
