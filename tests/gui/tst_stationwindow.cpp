// The station window against the module simulator as a socket where units come and go
// (lx815-sim --units on real pseudo-terminals): what a lane's tile shows, the main window's port
// and an invalid history refused, the set-up kept, and a close that lets the running units
// finish.
#include "support/simharness.h"
#include "support/testenv.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "ui/mainwindow.h"
#include "ui/screenfit.h"
#include "ui/station/lanetile.h"
#include "ui/station/stationwindow.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {
constexpr int kUnitTimeoutMs = 30000;

// Volume 5 passes, 7 is within 1 of Max (MARGINAL), 9 is out of the limits.
const QByteArray kRecipe = R"({
    "Recipe": "Bench line", "Revision": "7",
    "Steps": [ { "Step": "check", "Limits": { "/Volume": { "Min": 3, "Max": 7, "Marginal": 1 } } },
               { "Step": "snapshot", "Folder": "shipped" } ] })";

const QByteArray kUnits = R"([
    {"serialNumber": "4C5881500001"},
    {"serialNumber": "4C5881500002"},
    {"serialNumber": "4C5881500003", "user": {"volume": 9}},
    {"serialNumber": "4C5881500004", "user": {"volume": 7}}
])";

void write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QString nextEvent(QProcess &process)
{
    QDeadlineTimer deadline(5000);
    while (!process.canReadLine() && !deadline.hasExpired())
        process.waitForReadyRead(50);
    return QString::fromLatin1(process.readLine()).trimmed();
}

// The words the tile showed, each once in a row, until it shows last (or time runs out).
QStringList watchTile(const LaneTile *tile, const QString &last, int timeoutMs = kUnitTimeoutMs)
{
    QStringList words;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString word = tile->stateWord();
        if (words.isEmpty() || words.last() != word)
            words.append(word);
        if (word == last)
            break;
        QTest::qWait(5);
    }
    return words;
}

// A lane at 9600 baud, so that a unit is seen running.
struct Socket
{
    QTemporaryDir dir;
    SimProcess sim;
    QString link;
    bool start(const QString &schedule = QString())
    {
        write(dir.filePath("units.json"), kUnits);
        write(dir.filePath("recipe.json"), kRecipe);
        link = dir.filePath("socket");
        QStringList arguments{"--units", dir.filePath("units.json"), "--link", link};
        if (!schedule.isEmpty())
            arguments << "--schedule" << schedule;
        return sim.start(arguments) && nextEvent(sim.process()).startsWith("in 1");
    }
    void signal(int number, const QStringList &events)
    {
        ::kill(pid_t(sim.process().processId()), number);
        for (const QString &event : events)
            QCOMPARE(nextEvent(sim.process()), event);
    }
};

// The set-up the tests start from: settings of its own, a history in the test's folder.
void setUp(ScopedSettings &settings, const QString &recipe, const QStringList &ports)
{
    appConfig->setValue("/Records/Database", settings.dirPath() + "/history.sqlite");
    StationSetup setup;
    setup.recipePath = recipe;
    setup.operatorName = QStringLiteral("Li Wei");
    setup.operatorSince = QDateTime::currentDateTimeUtc();
    setup.ports = ports;
    setup.save(*settings.config());
}
} // namespace

class TestStationWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unitsComeAndGo();
    void operatorStartsTheUnit_data();
    void operatorStartsTheUnit();
    void lanesRefused_data();
    void lanesRefused();
    void setupRestored_data();
    void setupRestored();
    void closeWhileRunningLetsUnitsFinish();
    void eightLanesFitALaptop();
    void productionMenuOpensOneStation();
};

void TestStationWindow::initTestCase()
{
    StationWindow::setOperatorAsker([](QWidget *, const QString &) { return QString(); });
}

// A lane waits while the socket is empty, runs a unit that comes, shows PASS; the next unit,
// out of its limits, FAILs naming the value; a third near a limit is MARGINAL. The totals count
// them.
void TestStationWindow::unitsComeAndGo()
{
    ScopedSettings settings;
    BoxRecorder boxes;
    Socket socket;
    QVERIFY(socket.start());
    socket.signal(SIGUSR1, {"out 1 4C5881500001"});
    setUp(settings, socket.dir.filePath("recipe.json"), {socket.link});
    StationWindow window;
    window.show();
    QCOMPARE(window.tiles().size(), 1);
    LaneTile *tile = window.tiles().first();
    QCOMPARE(watchTile(tile, "等待模块").last(), QStringLiteral("等待模块"));

    struct Unit
    {
        QStringList events;
        QString word;
        QString detail;
        LaneTile::Tone tone;
    };
    const QList<Unit> units{
        {{"in 2 4C5881500002"}, "PASS", "", LaneTile::Tone::Pass},
        {{"out 2 4C5881500002", "in 3 4C5881500003"}, "FAIL", "/Volume", LaneTile::Tone::Fail},
        {{"out 3 4C5881500003", "in 4 4C5881500004"},
         "MARGINAL",
         "/Volume",
         LaneTile::Tone::Marginal},
    };
    for (const Unit &unit : units) {
        socket.signal(SIGUSR2, unit.events);
        const QStringList words = watchTile(tile, unit.word);
        QVERIFY2(words.contains("运行中") && words.last() == unit.word,
                 qPrintable(words.join(',')));
        QCOMPARE(tile->tone(), unit.tone);
        QVERIFY2(tile->detailText().contains(unit.detail), qPrintable(tile->detailText()));
    }
    const StationTotals &totals = window.stationTotals();
    QCOMPARE(totals.units(), 3);
    QCOMPARE(totals.count(LaneUnit::Outcome::Fail), 1);
    QCOMPARE(totals.count(LaneUnit::Outcome::Marginal), 1);
    QCOMPARE(*totals.firstPassYield(), 2.0 / 3.0);
    QVERIFY(window.findChild<QLabel *>("stationTotals")->text().contains("MARGINAL 1"));
    QVERIFY(boxes.shown.isEmpty());
}

void TestStationWindow::operatorStartsTheUnit_data()
{
    QTest::addColumn<QString>("option"); // the recipe's member
    QTest::addColumn<QString>("action"); // "start", "start all", or the serial number scanned
    QTest::addColumn<QString>("waiting");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("Start button") << R"("Start": "button")"
                                  << "start"
                                  << "请按开始"
                                  << "PASS";
    QTest::newRow("Start all") << R"("Start": "button")"
                               << "start all"
                               << "请按开始"
                               << "PASS";
    QTest::newRow("scanned") << R"("Scan": true)"
                             << "4C5881500001"
                             << "请扫描序列码"
                             << "PASS";
    QTest::newRow("another scanned") << R"("Scan": true)"
                                     << "4C5881500009"
                                     << "请扫描序列码"
                                     << "FAIL";
}

// With "Start": "button" a unit waits for the lane's Start (or Start all); with "Scan" for its
// serial number, typed or scanned with Enter, and a unit that says another fails.
void TestStationWindow::operatorStartsTheUnit()
{
    QFETCH(QString, option);
    QFETCH(QString, action);
    QFETCH(QString, waiting);
    QFETCH(QString, outcome);
    ScopedSettings settings;
    BoxRecorder boxes;
    Socket socket;
    QVERIFY(socket.start());
    QByteArray recipe = kRecipe;
    recipe.replace("\"Revision\": \"7\",", "\"Revision\": \"7\", " + option.toUtf8() + ',');
    write(socket.dir.filePath("recipe.json"), recipe);
    setUp(settings, socket.dir.filePath("recipe.json"), {socket.link});
    StationWindow window;
    window.show();
    LaneTile *tile = window.tiles().first();
    QCOMPARE(watchTile(tile, waiting).last(), waiting);
    QTest::qWait(1500); // a few probes: nothing starts by itself
    QCOMPARE(tile->stateWord(), waiting);
    auto *start = tile->findChild<QPushButton *>("laneStart");
    auto *scan = tile->findChild<QLineEdit *>("laneScan");
    if (action == "start") {
        QVERIFY(start->isVisible() && start->isEnabled());
        QTest::mouseClick(start, Qt::LeftButton);
    } else if (action == "start all") {
        QTest::mouseClick(window.findChild<QPushButton *>("stationStartAll"), Qt::LeftButton);
    } else {
        QVERIFY(scan->isVisible() && scan->isEnabled());
        QTest::keyClicks(scan, action);
        QTest::keyClick(scan, Qt::Key_Return);
    }
    QCOMPARE(watchTile(tile, outcome).last(), outcome);
}

void TestStationWindow::lanesRefused_data()
{
    QTest::addColumn<bool>("mainWindowPort"); // the lane's port is open in the main window
    QTest::addColumn<QString>("database");    // /Records/Database; empty: a file of the test's
    QTest::addColumn<QString>("detail");      // what the tile says
    QTest::addColumn<QString>("box");         // what the box says; empty: not looked at
    QTest::newRow("main window's port") << true << ""
                                        << "{port}"
                                        << "主窗口";
    QTest::newRow("history setting invalid") << false << "pgsql:lx815"
                                             << "/Records/Database"
                                             << "";
}

// The port the main window has open is the technician's; a unit whose entry cannot be kept
// must not PASS. No lane runs then, and the tile says why.
void TestStationWindow::lanesRefused()
{
    QFETCH(bool, mainWindowPort);
    QFETCH(QString, database);
    QFETCH(QString, detail);
    QFETCH(QString, box);
    ScopedSettings settings;
    BoxRecorder boxes;
    SimHarness module;
    QVERIFY(module.isReady());
    if (mainWindowPort) {
        appSerialPort->setPortName(module.portPath());
        QVERIFY(appSerialPort->open());
    }
    QTemporaryDir dir;
    write(dir.filePath("recipe.json"), kRecipe);
    setUp(settings, dir.filePath("recipe.json"), {module.portPath()});
    if (!database.isEmpty())
        appConfig->setValue("/Records/Database", database);
    {
        StationWindow window;
        window.show();
        QCOMPARE(window.activeLanes(), 0);
        LaneTile *tile = window.tiles().first();
        QCOMPARE(tile->stateWord(), QStringLiteral("未启用"));
        QVERIFY2(tile->detailText().contains(detail.replace("{port}", module.portPath())),
                 qPrintable(tile->detailText()));
        if (!box.isEmpty()) {
            QTRY_COMPARE(boxes.shown.size(), 1);
            QVERIFY(boxes.shown.first().text.contains(box));
        }
    }
    appSerialPort->close();
    QVERIFY(module.requests().isEmpty());
}

void TestStationWindow::setupRestored_data()
{
    QTest::addColumn<int>("hoursAgo"); // when the operator gave the name
    QTest::addColumn<bool>("asked");
    QTest::newRow("same shift") << 1 << false;
    QTest::newRow("next shift") << 9 << true;
}

// What was set up comes back at the next start; the operator is asked again only on another
// shift.
void TestStationWindow::setupRestored()
{
    QFETCH(int, hoursAgo);
    QFETCH(bool, asked);
    ScopedSettings settings;
    BoxRecorder boxes;
    QTemporaryDir dir;
    write(dir.filePath("recipe.json"), kRecipe);
    const QStringList ports{dir.filePath("none-1"), dir.filePath("none-2")};
    {
        StationWindow window;
        window.setOperatorName("Li Wei");
        window.setPorts(ports);
        QVERIFY(window.loadRecipe(dir.filePath("recipe.json")));
    }
    StationSetup setup = StationSetup::load(*settings.config());
    setup.operatorSince = QDateTime::currentDateTimeUtc().addSecs(-hoursAgo * 3600);
    setup.save(*settings.config());

    int questions = 0;
    StationWindow::setOperatorAsker([&](QWidget *, const QString &current) {
        ++questions;
        return current == "Li Wei" ? QStringLiteral("Zhang Min") : QString();
    });
    StationWindow window;
    window.show();
    QTest::qWait(50);
    StationWindow::setOperatorAsker([](QWidget *, const QString &) { return QString(); });
    QCOMPARE(questions, asked ? 1 : 0);
    QCOMPARE(window.setup().ports, ports);
    QCOMPARE(window.setup().operatorName, asked ? "Zhang Min" : "Li Wei");
    QCOMPARE(window.findChild<QLabel *>("stationRecipe")->text(), "Bench line（版本 7）");
    QVERIFY(window.findChild<QLabel *>("stationRecipeSteps")->text().contains("check → snapshot"));
    QCOMPARE(window.tiles().size(), 2);
    QCOMPARE(window.tiles().at(1)->port(), ports.at(1));
}

// Closing while a unit runs asks first; No keeps the station, Yes lets the unit finish, and
// only then the window closes, the unit's snapshot whole and its entry in today's totals.
void TestStationWindow::closeWhileRunningLetsUnitsFinish()
{
    ScopedSettings settings;
    BoxRecorder boxes(QMessageBox::No);
    Socket socket;
    QVERIFY(socket.start());
    setUp(settings, socket.dir.filePath("recipe.json"), {socket.link});
    StationWindow window;
    window.show();
    LaneTile *tile = window.tiles().first();
    QCOMPARE(watchTile(tile, "运行中").last(), QStringLiteral("运行中"));

    QVERIFY(!window.close());
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(window.isVisible());
    boxes.setAnswer(QMessageBox::Yes);
    QSignalSpy stopped(&window, &StationWindow::lanesStopped);
    window.close();
    QCOMPARE(boxes.shown.size(), 2);
    QVERIFY(window.isVisible()); // the unit is still running
    QVERIFY(stopped.wait(kUnitTimeoutMs));
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(tile->stateWord(), QStringLiteral("已停止"));
    QCOMPARE(window.stationTotals().units(), 1);
    QCOMPARE(window.stationTotals().count(LaneUnit::Outcome::Pass), 1);
    QFile snapshot(socket.dir.filePath("shipped/4C5881500001.json"));
    QVERIFY(snapshot.open(QIODevice::ReadOnly));
    QVERIFY(QJsonDocument::fromJson(snapshot.readAll()).isObject());

    // The next opening counts the unit among today's, from the history.
    QCOMPARE(socket.sim.stop(), 0);
    StationWindow next;
    auto *today = next.findChild<QLabel *>("stationToday");
    QTRY_VERIFY2(today->text().contains("：1 件  PASS 1"), qPrintable(today->text()));
}

// On a 1366 x 768 laptop (its panel left out) eight lanes are seen whole; sixteen scroll.
void TestStationWindow::eightLanesFitALaptop()
{
    ScopedSettings settings;
    BoxRecorder boxes;
    ScreenFit::setAvailableGeometryForTests(QRect(0, 0, 1366, 728));
    QTemporaryDir dir;
    write(dir.filePath("recipe.json"), kRecipe);
    QStringList ports;
    for (int lane = 1; lane <= 16; ++lane)
        ports.append(dir.filePath(QStringLiteral("none-%1").arg(lane)));
    setUp(settings, dir.filePath("recipe.json"), ports);
    StationWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QRect(0, 0, 1366, 728).contains(window.frameGeometry()));
    auto *scroll = window.findChild<QScrollArea *>("laneScroll");
    const QRect viewport = scroll->viewport()->rect();
    for (LaneTile *tile : window.tiles().mid(0, 8)) {
        const QRect shown(tile->mapTo(scroll->viewport(), QPoint()), tile->size());
        QVERIFY2(viewport.contains(shown), qPrintable(tile->objectName()));
    }
    QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
    ScreenFit::setAvailableGeometryForTests(QRect());
}

// "生产 → 工位…" opens the station as a window of its own, once however often it is chosen.
void TestStationWindow::productionMenuOpensOneStation()
{
    ScopedSettings settings;
    BoxRecorder boxes;
    MainWindow main;
    main.show();
    auto *menu = main.findChild<QMenu *>("menuProduction");
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("生产(&P)"));
    auto *entry = main.findChild<QAction *>("actStation");
    QVERIFY(menu->actions().contains(entry));
    entry->trigger();
    entry->trigger();
    QList<StationWindow *> stations;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *station = qobject_cast<StationWindow *>(widget))
            stations.append(station);
    }
    QCOMPARE(stations.size(), 1);
    QVERIFY(stations.first()->isVisible() && !stations.first()->parentWidget());
    QVERIFY(stations.first()->close());
    QTRY_VERIFY(QApplication::topLevelWidgets().indexOf(stations.first()) < 0);
}

QTEST_MAIN(TestStationWindow)
#include "tst_stationwindow.moc"
