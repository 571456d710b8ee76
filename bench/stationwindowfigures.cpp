// The station window's figures, printed by scripts/bench after the others: 16 lanes on 16
// simulated sockets at 9600 baud, each running a unit through a check and a snapshot, while a
// 10 ms timer on the window's thread measures how late the event loop lets it fire; then the
// units are taken out and the processor time of the whole program is measured while every lane
// waits for the next one.
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "ui/station/lanetile.h"
#include "ui/station/stationsetup.h"
#include "ui/station/stationwindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {
constexpr int kLanes = 16;
constexpr int kBaud = 9600;
constexpr int kTickMs = 10;
constexpr int kRunTimeoutMs = 180000;
constexpr int kWaitMeasureMs = 5000;
constexpr double kTargetStallMs = 50.0;
constexpr double kTargetCpuPerSecond = 0.02;

const QByteArray kRecipe = R"({
    "Recipe": "Bench station", "Revision": "1",
    "Steps": [ { "Step": "check", "Limits": { "/Volume": { "Min": 3, "Max": 7 } } },
               { "Step": "snapshot", "Folder": "shipped" } ] })";

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

// Runs the event loop until done() or the time is up.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// How late a 10 ms timer fires, the worst seen since the last reset.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const double late = m_clock.nsecsElapsed() / 1e6 - kTickMs;
            m_worst = std::max(m_worst, late);
            m_clock.restart();
        });
    }
    void start()
    {
        m_worst = 0.0;
        m_clock.start();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    double worstMs() const { return m_worst; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_worst = 0.0;
};
} // namespace

int main(int argc, char *argv[])
{
    // The window is measured, not looked at.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The frame log and the platform's notes would drown the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type != QtDebugMsg && type != QtWarningMsg)
            QTextStream(stderr) << text << '\n';
    });
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    auto config = MJsonConfig::inMemory();
    appConfig = config.get();
    appConfig->setValue(QStringLiteral("/Records/Database"), dir.filePath("history.sqlite"));
    write(dir.filePath("recipe.json"), kRecipe);

    // One socket per lane, each with its own unit in it.
    const QString sim = QCoreApplication::applicationDirPath() + "/../sim/lx815-sim";
    std::vector<std::unique_ptr<QProcess>> sockets;
    StationSetup setup;
    for (int lane = 1; lane <= kLanes; ++lane) {
        const QString units = dir.filePath(QStringLiteral("units-%1.json").arg(lane));
        write(units, QStringLiteral(R"([{"serialNumber": "4C58815000%1"}])")
                         .arg(lane, 2, 10, QLatin1Char('0'))
                         .toLatin1());
        auto process = std::make_unique<QProcess>();
        process->start(sim, {"--baud", QString::number(kBaud), "--units", units});
        if (!process->waitForReadyRead(10000)) {
            QTextStream(stderr) << "lx815-sim did not start\n";
            return 1;
        }
        setup.ports.append(QString::fromLocal8Bit(process->readLine()).trimmed());
        sockets.push_back(std::move(process));
    }
    setup.recipePath = dir.filePath("recipe.json");
    setup.operatorName = QStringLiteral("bench");
    setup.operatorSince = QDateTime::currentDateTimeUtc();
    setup.save(*appConfig);

    StationWindow window;
    window.show();
    // From the first event loop on: building the window is not what is measured.
    waitFor([] { return false; }, 100);
    StallMeter stall;
    stall.start();
    int mostRunning = 0;
    QTimer count;
    QObject::connect(&count, &QTimer::timeout, [&] {
        const auto tiles = window.tiles();
        mostRunning = std::max<int>(mostRunning,
                                    std::count_if(tiles.begin(), tiles.end(), [](LaneTile *tile) {
                                        return tile->tone() == LaneTile::Tone::Running;
                                    }));
    });
    count.start(kTickMs);
    QElapsedTimer running;
    running.start();
    const bool ran =
        waitFor([&] { return window.stationTotals().units() == kLanes; }, kRunTimeoutMs);
    count.stop();
    const double runSeconds = running.elapsed() / 1000.0;
    const double runningStall = stall.worstMs();
    stall.stop();

    // The units come out; every lane waits for the next.
    for (const auto &socket : sockets)
        ::kill(pid_t(socket->processId()), SIGUSR1);
    const QString waiting = LaneStatus::stateText(LaneStatus::State::Waiting);
    const bool allWaiting = waitFor(
        [&] {
            const auto tiles = window.tiles();
            return std::all_of(tiles.begin(), tiles.end(),
                               [&](LaneTile *tile) { return tile->stateWord() == waiting; });
        },
        10000);
    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    waitFor([] { return false; }, kWaitMeasureMs);
    const double waitCpu = (cpuSeconds() - cpuStart) / (wall.elapsed() / 1000.0);

    out << "(s) station window, " << kLanes << " lanes at " << kBaud
        << " baud: a check and a snapshot per unit, then every lane waiting\n";
    const auto verdict = [](bool met) {
        return met ? QStringLiteral("met") : QStringLiteral("MISSED");
    };
    out << QString("%1 %2 %3\n").arg("", -44).arg("measured", 10).arg("target", 10);
    out << QString("%1 %2 %3 %4\n")
               .arg(QString("longest event-loop stall, ms (%1 at once)").arg(mostRunning), -44)
               .arg(runningStall, 10, 'f', 1)
               .arg(QString("<= %1").arg(kTargetStallMs), 10)
               .arg(verdict(ran && runningStall <= kTargetStallMs));
    out << QString("%1 %2 %3 %4\n")
               .arg("processor s/s, every lane waiting", -44)
               .arg(waitCpu, 10, 'f', 4)
               .arg(QString("<= %1").arg(kTargetCpuPerSecond), 10)
               .arg(verdict(allWaiting && waitCpu <= kTargetCpuPerSecond));
    out << QString("%1 units in %2 s%3%4\n")
               .arg(window.stationTotals().units())
               .arg(runSeconds, 0, 'f', 1)
               .arg(ran ? QString() : QStringLiteral("  (not every unit finished)"))
               .arg(allWaiting ? QString() : QStringLiteral("  (not every lane waiting)"));
    out.flush();

    window.finishAndClose();
    waitFor([&] { return !window.isVisible(); }, 30000);
    for (const auto &socket : sockets) {
        socket->terminate();
        socket->waitForFinished(3000);
    }
    appConfig = nullptr;
    return 0;
}
