// The module's line going away in the middle of "读取所有参数", at a hundred seeded points: the
// window ends the sequence at once, closes the port, tells the user once, and can open a new line.
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "records/recordstore.h"
#include "serial/mserialport.h"
#include "serial/portadvice.h"
#include "support/simharness.h"
#include "support/testenv.h"
#include "ui/loadingwidget.h"
#include "ui/mainwindow.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QAction>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
constexpr int kRows = 100;
constexpr quint32 kSeed = 815;
constexpr int kProcessEvery = 10;    // every tenth row kills a simulator process instead
constexpr int kReadAllRequests = 29; // band, firmware, serial, table, 16 channels, 9 values
constexpr int kWatchdogMs = 10000;   // a sequence still running then counts as hung
constexpr int kQuietMs = 100;        // time for a second report of the same loss to show
constexpr int kBoxWaitMs = 2000;

enum class Kill
{
    OnRequest,  // the line closes as the k-th request arrives, before its reply
    AfterReply, // the line closes right after the k-th reply has left
    Process,    // a simulator process gets SIGKILL as the window sends its k-th frame
};

MSerialButton *portButton(MainWindow &window)
{
    return window.serialSettings()->findChild<MSerialButton *>();
}

bool isLostLineBox(const MessageBox::Shown &box)
{
    return box.icon == QMessageBox::Critical && box.title == QStringLiteral("Error") &&
           box.informativeText == PortAdvice::forLostDevice();
}
} // namespace

Q_DECLARE_METATYPE(Kill)

class TestHangUp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void lineGoesAwayDuringReadAll_data();
    void lineGoesAwayDuringReadAll();

private:
    // Opens the port on path with the port button, as the user would.
    bool openWithButton(const QString &path);

    std::unique_ptr<ScopedSettings> m_settings;
    QTemporaryDir m_dir;
    std::unique_ptr<BoxRecorder> m_boxes;
    std::unique_ptr<MainWindow> m_window;
};

void TestHangUp::initTestCase()
{
    m_settings = std::make_unique<ScopedSettings>();
    appConfig->setValue("/Records/Enabled", true);
    appConfig->setValue("/Records/Database", m_dir.filePath(QStringLiteral("history.sqlite")));
    MPortList::setPortNameSource([] { return QStringList(); });
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
    m_boxes = std::make_unique<BoxRecorder>();
    // One window for every row: a session in which the line goes away a hundred times.
    m_window = std::make_unique<MainWindow>();
    m_window->show();
}

void TestHangUp::cleanupTestCase()
{
    m_window.reset();
    m_boxes.reset();
    MPortList::setPortNameSource({});
    m_settings.reset();
}

void TestHangUp::cleanup()
{
    if (appSerialPort->isOpen())
        appSerialPort->close();
    m_boxes->clear();
}

bool TestHangUp::openWithButton(const QString &path)
{
    if (!m_window->serialSettings()->selectPort(path))
        return false;
    QTest::mouseClick(portButton(*m_window), Qt::LeftButton);
    return appSerialPort->isOpen() && portButton(*m_window)->text() == QStringLiteral("关闭串口");
}

void TestHangUp::lineGoesAwayDuringReadAll_data()
{
    QTest::addColumn<Kill>("kill");
    QTest::addColumn<int>("point");

    QRandomGenerator random(kSeed);
    for (int row = 0; row < kRows; ++row) {
        Kill kill = random.bounded(2) ? Kill::OnRequest : Kill::AfterReply;
        if (row % kProcessEvery == kProcessEvery - 1)
            kill = Kill::Process;
        // After the last reply the sequence may succeed before the loss shows: not this case.
        const int last = kill == Kill::OnRequest ? kReadAllRequests : kReadAllRequests - 1;
        const int point = 1 + static_cast<int>(random.bounded(last));
        const char *name = kill == Kill::OnRequest    ? "on request"
                           : kill == Kill::AfterReply ? "after reply"
                                                      : "process killed at frame";
        QTest::addRow("%02d %s %d", row, name, point) << kill << point;
    }
}

void TestHangUp::lineGoesAwayDuringReadAll()
{
    QFETCH(Kill, kill);
    QFETCH(int, point);
    RecordStore history(
        *RecordsTarget::parse(m_dir.filePath(QStringLiteral("history.sqlite")), nullptr));
    const int entriesBefore = history.list().value_or(QVector<UnitRecord>()).size();

    std::unique_ptr<SimHarness> sim;
    std::unique_ptr<SimProcess> process;
    QString path;
    if (kill == Kill::Process) {
        process = std::make_unique<SimProcess>();
        QVERIFY2(process->start({QStringLiteral("--baud"), QStringLiteral("0")}),
                 qPrintable(process->error()));
        path = process->portPath();
    } else {
        sim = std::make_unique<SimHarness>();
        QVERIFY2(sim->isReady(), qPrintable(sim->error()));
        path = sim->portPath();
    }
    QVERIFY(openWithButton(path));

    QElapsedTimer sinceKill;
    int seen = 0;
    QObject rowScope; // the row's connections end with it
    const auto hangUpAt = [&] {
        if (++seen != point)
            return;
        sinceKill.start();
        if (process)
            process->process().kill();
        else
            sim->hangUp();
    };
    if (kill == Kill::Process)
        connect(&m_window->engine(), &CommandEngine::frameSent, &rowScope, hangUpAt);
    else if (kill == Kill::OnRequest)
        connect(&sim->simulator(), &ModuleSimulator::requestReceived, &rowScope, hangUpAt);
    else
        connect(&sim->simulator(), &ModuleSimulator::replySent, &rowScope, hangUpAt);
    bool hung = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, &rowScope, [&] {
        hung = true;
        m_window->engine().cancel();
    });
    watchdog.start(kWatchdogMs);

    m_window->findChild<QAction *>(QStringLiteral("action_6"))->trigger();
    const qint64 afterKillMs = sinceKill.isValid() ? sinceKill.elapsed() : -1;
    watchdog.stop();
    QVERIFY(seen >= point);
    QVERIFY(!hung);
    // The line's loss ends the waiting transaction: the sequence does not sit out a reply window.
    QVERIFY2(afterKillMs >= 0 && afterKillMs < CommandEngine::kReplyTimeoutMs,
             qPrintable(QStringLiteral("%1 ms after the kill").arg(afterKillMs)));

    QTRY_VERIFY_WITH_TIMEOUT(!m_boxes->shown.isEmpty() && isLostLineBox(m_boxes->shown.first()),
                             kBoxWaitMs);
    QTest::qWait(kQuietMs);
    // One box, from the serial error path, about the lost line; the broken sequence only ends.
    QCOMPARE(m_boxes->shown.size(), 1);
    QVERIFY(isLostLineBox(m_boxes->shown.at(0)));

    QVERIFY(!appSerialPort->isOpen());
    QCOMPARE(portButton(*m_window)->text(), QStringLiteral("打开串口"));
    QVERIFY(!portButton(*m_window)->isActive());
    QCOMPARE(m_window->statusBar()->currentMessage(), QStringLiteral("读取失败！"));
    QVERIFY(!m_window->isOperationRunning());
    QVERIFY(!m_window->findChild<LoadingWidget *>()->isVisible());

    // The read's entry: an error, with the failure text.
    std::optional<QVector<UnitRecord>> entries;
    QTRY_VERIFY((entries = history.list()) && entries->size() == entriesBefore + 1);
    QCOMPARE(entries->at(0).outcome, QStringLiteral("error"));
    QVERIFY(!entries->at(0).message.isEmpty());
}

QTEST_MAIN(TestHangUp)
#include "tst_hangup.moc"
