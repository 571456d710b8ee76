#include "cli/runcommand.h"

#include "app/termination.h"
#include "records/recorder.h"
#include "station/lane.h"
#include "station/stationtotals.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

// Below the unit's line, one per calibration target begun: a value's before, after and final
// reading against its target, or the levels a receiver calibration was sent.
QString targetLines(const LaneUnit &unit)
{
    QString lines;
    for (const LaneMeasurement &m : unit.measurements) {
        if (!m.reading || !m.readings)
            continue; // a check's value, shown by the history
        const QString number = QString::number(*m.reading);
        const QString line =
            m.before ? text(QT_TRANSLATE_NOOP(
                                "CommandLine",
                                "%1：校准前 %2，校准后 %3，读数 %4 %5（目标 %6 ± %7），%8 次读数"))
                           .arg(m.name)
                           .arg(*m.before)
                           .arg(m.value)
                           .arg(number, m.unit)
                           .arg(m.target.value_or(0))
                           .arg(m.tolerance.value_or(0))
                           .arg(*m.readings)
                     : text(QT_TRANSLATE_NOOP("CommandLine", "%1：发送了 %2 个电平，最后 %3 %4"))
                           .arg(m.name)
                           .arg(*m.readings)
                           .arg(number, m.unit);
        lines += QStringLiteral("\n  ") + line + QStringLiteral("  ") + m.outcome.toUpper();
    }
    return lines;
}

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
    return line + targetLines(unit);
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
    StationTotals totals;
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
