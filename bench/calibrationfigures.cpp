#include "bench/calibrationfigures.h"

#include "bench/simulator.h"
#include "instrument/instrument.h"
#include "serial/mserialport.h"
#include "station/calibrationrun.h"
#include "station/recipe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {
constexpr int kBaud = 9600; // the module's line rate
constexpr int kUnits = 5;   // simulated units, each with its own curves
constexpr double kCellTargetsDbm[] = {30.0, 33.0, 34.8, 36.0, 37.0}; // 1 W ... 5 W
constexpr std::array<quint32, 3> kPoints{45100000, 47000000, 48900000};
constexpr int kBitsPerByte = 10;  // 8N1: start, eight data bits, stop
constexpr int kSettleMs = 50;     // the simulated test set's measurement and completion time
constexpr int kGoalReadings = 10; // per target: an 8-bit value bisects in 8

// The calibrate step of docs/recipes.md's example, so that the figure follows the document.
std::optional<CalibrationPlan> documentedPlan(QString *why)
{
    QFile doc(QCoreApplication::applicationDirPath() + "/../../docs/recipes.md");
    if (!doc.open(QIODevice::ReadOnly)) {
        *why = doc.fileName() + ": " + doc.errorString();
        return std::nullopt;
    }
    const QByteArray text = doc.readAll();
    const int heading = text.indexOf("### Calibrate");
    const int from = text.indexOf("```json", heading) + 7;
    const int to = text.indexOf("```", from);
    QStringList problems;
    const auto recipe = Recipe::parse(R"({"Recipe": "example", "Revision": "1", "Steps": [)" +
                                          text.mid(from, to - from) + "]}",
                                      &problems);
    if (heading < 0 || !recipe || !recipe->steps.first().plan) {
        *why = "docs/recipes.md: no calibrate example: " + problems.join("; ");
        return std::nullopt;
    }
    return recipe->steps.first().plan;
}

// One unit through the documented calibrate step at the module's line rate, its test set
// settling as a bench instrument does: the wall time beside what the line and the settling
// alone take.
void printWholeCalibration(QTextStream &out)
{
    out << "\n(f) the example calibrate step of docs/recipes.md, one unit, lx815-sim at " << kBaud
        << " bit/s, test set settling " << kSettleMs << " ms per measurement and completion\n";
    QString why;
    const auto plan = documentedPlan(&why);
    if (!plan) {
        out << why << '\n';
        return;
    }
    QTemporaryDir dir;
    const QString log = dir.filePath("test-set.log");
    Simulator sim(kBaud, {"--test-set", "0", "--test-set-settle", QString::number(kSettleMs),
                          "--test-set-log", log});
    const QString url = sim.nextLine();
    MSerialPort port;
    port.setPortName(sim.path());
    port.open();
    port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    CommandEngine engine;
    engine.setDevice(&port);
    qint64 lineBytes = 0;
    QObject::connect(&port, &MSerialPort::onReceived, &engine, [&](const QByteArray &data) {
        lineBytes += data.size();
        engine.receive(data);
    });
    QObject::connect(&engine, &CommandEngine::frameSent,
                     [&](const QByteArray &frame) { lineBytes += frame.size(); });
    Instrument instrument(*InstrumentAddress::parse(url, nullptr),
                          *InstrumentProfile::load("generic-scpi", nullptr));
    instrument.connectToInstrument();
    CalibrationRun run(*plan, engine, instrument);
    QElapsedTimer clock;
    clock.start();
    const auto outcome = run.run(dir.path());
    const double seconds = clock.elapsed() / 1000.0;
    int readings = 0;
    for (const CalibrationTargetResult &result : outcome.targets)
        readings += result.readings;
    QFile heard(log);
    heard.open(QIODevice::ReadOnly);
    int settled = 0;
    for (const QByteArray &line : heard.readAll().split('\n')) {
        const int command = line.indexOf("\t< ");
        // As the test set settles: its measurements and its waits for completion.
        const QByteArray said = line.mid(command + 3).toUpper();
        settled += command >= 0 && (said.contains("*OPC?") || said.contains("MEAS:"));
    }
    const double lineSeconds = double(lineBytes) * kBitsPerByte / kBaud;
    const double settleSeconds = settled * kSettleMs / 1000.0;
    out << QString("%1 %2 %3 %4 %5 %6\n")
               .arg("targets", 8)
               .arg("readings", 9)
               .arg("seconds", 9)
               .arg("line s", 9)
               .arg("settle s", 9)
               .arg("line+settle", 12);
    out << QString("%1 %2 %3 %4 %5 %6%7\n")
               .arg(outcome.targets.size(), 8)
               .arg(readings, 9)
               .arg(seconds, 9, 'f', 1)
               .arg(lineSeconds, 9, 'f', 1)
               .arg(settleSeconds, 9, 'f', 1)
               .arg(lineSeconds + settleSeconds, 12, 'f', 1)
               .arg(outcome.ok ? QString() : QStringLiteral("  failed: ") + outcome.failure);
    out << QString("(%1 bytes on the module's line, %2 settling answers of the test set)\n")
               .arg(lineBytes)
               .arg(settled);
}

// The fifteen power cells, the crystal and the three deviations.
CalibrationPlan benchPlan()
{
    using M = Instrument::Measurement;
    using P = Wire::FreqPoint;
    CalibrationPlan plan;
    plan.points = kPoints;
    const P points[] = {P::Low, P::Middle, P::High};
    for (int power = 0; power < 5; ++power) {
        for (int column = 0; column < 3; ++column) {
            plan.targets.append(CalibrationTarget::onValue(
                QString("/TxPowerAdj/cell%1%2").arg(power).arg(column), M::Power, points[column],
                power, kCellTargetsDbm[power], 0.3));
        }
    }
    plan.targets.append(
        CalibrationTarget::onValue("/TCXO_BIAS", M::FrequencyError, P::Middle, 0, 0, 50));
    plan.targets.append(
        CalibrationTarget::onValue("/DataModFreqDiv/Mid", M::Deviation, P::Middle, 0, 2400, 60));
    plan.targets.append(
        CalibrationTarget::onValue("/DataModFreqDiv/LowDiff", M::Deviation, P::Low, 0, 2400, 60));
    plan.targets.append(
        CalibrationTarget::onValue("/DataModFreqDiv/HighDiff", M::Deviation, P::High, 0, 2400, 60));
    return plan;
}

// The goal holds for every target, so the maximum is what meets it or not.
QString figure(QList<int> counts)
{
    std::sort(counts.begin(), counts.end());
    return counts.isEmpty() ? QString("-")
                            : QString("median %1, max %2 (%3 targets); goal <= %4 per target: %5")
                                  .arg(counts[counts.size() / 2])
                                  .arg(counts.constLast())
                                  .arg(counts.size())
                                  .arg(kGoalReadings)
                                  .arg(counts.constLast() <= kGoalReadings ? "met" : "MISSED");
}
} // namespace

void printCalibrationFigures(QTextStream &out)
{
    out << "\n(e) closed-loop calibration against lx815-sim --test-set at " << kBaud
        << " bit/s: readings per target, " << kUnits << " units\n";
    const CalibrationPlan plan = benchPlan();
    QList<int> cells, tcxo, deviations;
    QTemporaryDir folder;
    for (int unit = 0; unit < kUnits; ++unit) {
        QTemporaryDir stateDir;
        const QString state = stateDir.filePath("unit.json");
        // Each unit its own serial number, and so its own curves.
        QFile file(state);
        file.open(QIODevice::WriteOnly);
        file.write(QString(R"({"serialNumber": "4C588150%1"})")
                       .arg(QString("%1").arg(unit + 0x10, 4, 16, QLatin1Char('0')).toUpper())
                       .toUtf8());
        file.close();
        Simulator sim(kBaud,
                      {"--state", state, "--test-set", "0", "--seed", QString::number(unit + 1)});
        const QString url = sim.nextLine();
        MSerialPort port;
        port.setPortName(sim.path());
        port.open();
        port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
        CommandEngine engine;
        engine.setDevice(&port);
        QObject::connect(&port, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
        Instrument instrument(*InstrumentAddress::parse(url, nullptr),
                              *InstrumentProfile::load("generic-scpi", nullptr));
        instrument.connectToInstrument();
        CalibrationRun run(plan, engine, instrument);
        QElapsedTimer clock;
        clock.start();
        const auto outcome = run.run(folder.path());
        out << QString("unit %1: %2 targets in %3 s%4\n")
                   .arg(outcome.identity.serialNumber)
                   .arg(outcome.targets.size())
                   .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                   .arg(outcome.ok ? QString() : QStringLiteral(", failed: ") + outcome.failure);
        for (const CalibrationTargetResult &result : outcome.targets) {
            QList<int> &into = result.name.startsWith("/TxPowerAdj") ? cells
                               : result.name == "/TCXO_BIAS"         ? tcxo
                                                                     : deviations;
            into.append(result.readings);
        }
    }
    out << "power cells:  " << figure(cells) << '\n';
    out << "TCXO:         " << figure(tcxo) << '\n';
    out << "deviations:   " << figure(deviations) << '\n';
    printWholeCalibration(out);
}
