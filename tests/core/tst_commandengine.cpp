#include "protocol/commandengine.h"
#include "serial/mserialport.h"
#include "support/hexbytes.h"
#include "support/simharness.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

namespace {
struct Recorder : FailureReporter
{
    QStringList texts;
    void reportFailure(const QString &text) override { texts.append(text); }
};

const Command kReadBand = Command::read(hex("3223"), 3, QStringLiteral("band failed"));
const Command kWriteBand = Command::write(hex("322412"), QStringLiteral("band write failed"));
} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(CommandEngine::Outcome)

class TestCommandEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void faultyReplies_data();
    void faultyReplies();
    void answersOnlyTheThirdRequest();
    void staleReplyIsPurged();
    void cancelStopsAtOnce();
    void closedPortReportsOnlyThat();
    void nestedTransactionIsRefused();

private:
    std::unique_ptr<SimHarness> m_sim;
    std::unique_ptr<MSerialPort> m_port;
    Recorder m_recorder;
    CommandEngine m_engine;
};

void TestCommandEngine::init()
{
    m_sim = std::make_unique<SimHarness>();
    QVERIFY2(m_sim->isReady(), qPrintable(m_sim->error()));
    m_port = std::make_unique<MSerialPort>();
    m_port->setPortName(m_sim->portPath());
    m_port->setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    QVERIFY(m_port->open());
    connect(m_port.get(), &MSerialPort::onReceived, &m_engine, &CommandEngine::receive);
    m_recorder.texts.clear();
    m_engine.setReporter(&m_recorder);
    m_engine.setDevice(m_port.get());
    m_engine.clearCancel();
}

void TestCommandEngine::cleanup()
{
    m_port->close();
    m_port.reset();
    m_sim.reset();
}

void TestCommandEngine::faultyReplies_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<int>("requests");
    QTest::addColumn<CommandEngine::Outcome>("outcome");
    using O = CommandEngine::Outcome;
    QTest::newRow("first reply good") << kReadBand << "" << true << 1 << O::Ok;
    QTest::newRow("short three times") << kReadBand << "3223:short:*" << false << 3 << O::NoReply;
    QTest::newRow("long once") << kReadBand << "3223:long:1" << true << 2 << O::Ok;
    QTest::newRow("wrong lead once") << kReadBand << "3223:lead:1" << true << 2 << O::Ok;
    QTest::newRow("bad checksum once") << kReadBand << "3223:checksum:1" << true << 2 << O::Ok;
    QTest::newRow("split in time") << kReadBand << "3223:split=100:1" << true << 1 << O::Ok;
    QTest::newRow("noise before") << kReadBand << "3223:noise:1" << true << 1 << O::Ok;
    QTest::newRow("duplicated") << kReadBand << "3223:duplicate:1" << true << 1 << O::Ok;
    QTest::newRow("refusal ends at once")
        << kWriteBand << "3224:refuse:1" << false << 1 << O::Refused;
    QTest::newRow("write repeated after a wrong reply")
        << kWriteBand << "3224:lead:1" << true << 2 << O::Ok;
    QTest::newRow("step sent once") << Command::step(hex("A20201"), QStringLiteral("step failed"))
                                    << "A2:drop:1" << false << 1 << O::NoReply;
}

void TestCommandEngine::faultyReplies()
{
    QFETCH(Command, command);
    QFETCH(QString, fault);
    QFETCH(bool, succeeds);
    QFETCH(int, requests);
    QFETCH(CommandEngine::Outcome, outcome);
    if (!fault.isEmpty())
        QVERIFY(m_sim->addFault(fault));
    const auto reply = m_engine.transact(command);
    QCOMPARE(reply.has_value(), succeeds);
    QCOMPARE(m_engine.lastOutcome(), outcome);
    QList<QByteArray> sent;
    for (int i = 0; i < requests; ++i)
        sent.append(command.request);
    QCOMPARE(m_sim->requests(), sent);
    QCOMPARE(m_recorder.texts, succeeds ? QStringList() : QStringList{command.failureText});
    if (succeeds)
        QVERIFY(command.accepts(*reply));
}

void TestCommandEngine::answersOnlyTheThirdRequest()
{
    QVERIFY(m_sim->addFault(QStringLiteral("3223:drop:2")));
    QElapsedTimer clock;
    clock.start();
    const auto reply = m_engine.transact(kReadBand);
    QVERIFY(reply);
    QCOMPARE(*reply, hex("322313"));
    const auto &log = m_sim->log();
    QCOMPARE(log.size(), 3);
    for (int i = 1; i < log.size(); ++i) {
        const qint64 gap = log.at(i).elapsedMs - log.at(i - 1).elapsedMs;
        QVERIFY2(gap >= 1000 && gap < 1200, qPrintable(QString::number(gap)));
    }
}

void TestCommandEngine::staleReplyIsPurged()
{
    QVERIFY(m_sim->addFault(QStringLiteral("3223:delay=1300:1")));
    Command once = kReadBand;
    once.attempts = 1;
    QVERIFY(!m_engine.transact(once));
    // The late reply (band 13) lands in the queue while nobody waits for it.
    QTRY_COMPARE(m_engine.ResponseQueue.size(), 1);
    m_sim->state().band = 0x10;
    const auto reply = m_engine.transact(kReadBand);
    QVERIFY(reply);
    QCOMPARE(*reply, hex("322310"));
}

void TestCommandEngine::cancelStopsAtOnce()
{
    QVERIFY(m_sim->addFault(QStringLiteral("3223:drop:*")));
    QTimer::singleShot(200, &m_engine, [this] { m_engine.cancel(); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!m_engine.transact(kReadBand));
    QVERIFY2(clock.elapsed() < 200 + 2 * CommandEngine::kPollSliceMs,
             qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_engine.lastOutcome(), CommandEngine::Outcome::Cancelled);
    QCOMPARE(m_sim->requests().size(), 1);
    QCOMPARE(m_recorder.texts, QStringList{kReadBand.failureText});
    // The flag stays set: the next transaction sends once and fails at its first wait.
    QVERIFY(!m_engine.transact(kReadBand));
    QVERIFY(m_sim->waitForRequests(2));
    QCOMPARE(m_sim->requests().size(), 2);
}

void TestCommandEngine::closedPortReportsOnlyThat()
{
    m_port->close();
    QVERIFY(!m_engine.transact(kReadBand));
    QCOMPARE(m_engine.lastOutcome(), CommandEngine::Outcome::NotOpen);
    QCOMPARE(m_recorder.texts, QStringList{QStringLiteral("串口未打开，请检查！")});
}

void TestCommandEngine::nestedTransactionIsRefused()
{
    m_sim->simulator().setLatency(100);
    std::optional<QByteArray> inner = QByteArray("untouched");
    QTimer::singleShot(20, &m_engine, [&] { inner = m_engine.transact(kWriteBand); });
    QVERIFY(m_engine.transact(kReadBand));
    QVERIFY(!inner);
    QCOMPARE(m_sim->requests(), QList<QByteArray>{kReadBand.request});
}

QTEST_GUILESS_MAIN(TestCommandEngine)
#include "tst_commandengine.moc"
