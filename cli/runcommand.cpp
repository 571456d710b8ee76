#include "cli/runcommand.h"

#include "app/termination.h"
#include "records/recorder.h"
#include "station/lane.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

// What the units of a run came to, for the summary of --watch.
struct Totals
{
    int units = 0;
    int pass = 0;
    int marginal = 0;
    int fail = 0;
    int error = 0;
    QList<double> seconds;
    QSet<QString> seen;        // serial numbers run so far
    QSet<QString> firstPassed; // those whose first run passed

    void add(const LaneUnit &unit)
    {
        ++units;
        const bool passed =
            unit.outcome == LaneUnit::Outcome::Pass || unit.outcome == LaneUnit::Outcome::Marginal;
        (unit.outcome == LaneUnit::Outcome::Pass       ? pass
         : unit.outcome == LaneUnit::Outcome::Marginal ? marginal
         : unit.outcome == LaneUnit::Outcome::Fail     ? fail
                                                       : error) += 1;
        seconds.append(unit.seconds());
        const QString serial = unit.identity.serialNumber;
        if (serial.isEmpty() || seen.contains(serial))
            return;
        seen.insert(serial);
        if (passed)
            firstPassed.insert(serial);
    }

    double median() const
    {
        if (seconds.isEmpty())
            return 0.0;
        QList<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        const int n = int(sorted.size());
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
    }

    // Units that passed the first time they were run, of the units run.
    QString summary() const
    {
        const double yield = seen.isEmpty() ? 0.0 : 100.0 * firstPassed.size() / seen.size();
        return text(QT_TRANSLATE_NOOP("CommandLine", "模块 %1，通过 %2，临界 %3，失败 %4，错误 %5，"
                                                     "一次通过率 %6%，周期时间中位数 %7 秒"))
            .arg(units)
            .arg(pass)
            .arg(marginal)
            .arg(fail)
            .arg(error)
            .arg(yield, 0, 'f', 1)
            .arg(median(), 0, 'f', 1);
    }
};

// "PORT: PASS SERIAL 12.3 s", and the first failure for anything but PASS.
QString unitLine(const LaneUnit &unit)
{
    QString line = QStringLiteral("%1: %2  %3  %4 s")
                       .arg(unit.port, LaneUnit::outcomeKey(unit.outcome).toUpper(),
                            unit.identity.serialNumber.isEmpty() ? QStringLiteral("-")
                                                                 : unit.identity.serialNumber)
                       .arg(unit.seconds(), 0, 'f', 1);
    if (unit.outcome != LaneUnit::Outcome::Pass && !unit.failure.isEmpty())
        line += QStringLiteral("  ") +
                (unit.failedStep.isEmpty()
                     ? unit.failure
                     : QStringLiteral("%1: %2").arg(unit.failedStep, unit.failure));
    return line;
}
} // namespace

int RunCommand::run(const CliOptions &options, Console &console, LineTrace *trace)
{
    QStringList problems;
    const auto loaded = Recipe::load(options.file, &problems);
    if (!loaded) {
        for (const QString &problem : qAsConst(problems))
            console.error(problem);
        return ExitCode::kUsage;
    }
    const auto recipe = std::make_shared<const Recipe>(*loaded);
    std::unique_ptr<Recorder> recorder;
    if (options.recording) {
        recorder =
            std::make_unique<Recorder>(options.records.value_or(RecordsTarget::userDefault()));
        QObject::connect(recorder.get(), &Recorder::problem,
                         [&console](const QString &problem) { console.error(problem); });
    }

    QEventLoop loop;
    Totals totals;
    int exitCode = ExitCode::kOk;
    int running = 0;
    std::vector<std::unique_ptr<Lane>> lanes;
    for (const QString &port : options.ports) {
        LaneOptions laneOptions = LaneOptions::forRecipe(recipe);
        laneOptions.lane = int(lanes.size()) + 1;
        laneOptions.port = port;
        laneOptions.line = options.serial;
        laneOptions.watch = options.watch;
        laneOptions.source = {options.station, options.operatorName, UnitRecord::thisTool()};
        laneOptions.recorder = recorder.get();
        // No Start button and no scanner here: every unit starts when it answers.
        laneOptions.startOnButton = false;
        laneOptions.scan = false;
        laneOptions.trace = trace;
        auto lane = std::make_unique<Lane>(laneOptions);
        QObject::connect(lane.get(), &Lane::statusChanged, [&console, port](const LaneStatus &s) {
            if (s.state == LaneStatus::State::Running)
                console.progress(port, s.percent);
            else if (s.state == LaneStatus::State::PortGone && !s.failure.isEmpty())
                console.failure(port, s.failure);
        });
        QObject::connect(lane.get(), &Lane::unitFinished, [&](const LaneUnit &unit) {
            totals.add(unit);
            if (unit.outcome == LaneUnit::Outcome::Fail || unit.outcome == LaneUnit::Outcome::Error)
                exitCode = std::max(exitCode, int(ExitCode::kModule));
            console.result(
                unit.port,
                options.json
                    ? QString::fromUtf8(QJsonDocument(unit.toJson()).toJson(QJsonDocument::Compact))
                    : unitLine(unit));
        });
        QObject::connect(lane.get(), &Lane::finished, [&, port](const QString &portFailure) {
            if (!portFailure.isEmpty()) {
                exitCode = ExitCode::kPort;
                console.result(port, QStringLiteral("%1: %2").arg(port, portFailure));
            }
            if (--running == 0)
                loop.quit();
        });
        lanes.push_back(std::move(lane));
    }
    // Every running unit finishes first: no module is left half-written, a calibration keys
    // its module down.
    bool stopped = false;
    installTerminationHandler(*QCoreApplication::instance(), [&] {
        stopped = true;
        for (const auto &lane : lanes)
            lane->stop();
    });
    running = int(lanes.size());
    for (const auto &lane : lanes)
        lane->start();
    loop.exec();
    console.clearProgress();
    if (recorder)
        recorder->drain();
    if (options.watch) {
        const QString summary = totals.summary();
        if (options.json)
            console.error(summary);
        else
            console.result(QString(), summary);
        return stopped ? ExitCode::kOk : exitCode;
    }
    return exitCode;
}
