#include "bench/stationfigures.h"

#include "bench/clifigures.h"
#include "bench/simulator.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int kBaud = 9600;      // bit/s, the module's factory line rate
constexpr int kBitsPerByte = 10; // start, eight data bits, stop
constexpr int kLanes = 16;
constexpr int kRunTimeoutMs = 120000;
constexpr double kLineFactor = 1.10; // cycle time <= 1.10 x line time + 100 ms
constexpr double kLineSlack = 0.100; // s
constexpr double kLanesFactor = 1.15;

// The example recipe of docs/recipes.md, word for word.
const char kRecipe[] = R"({
  "Recipe": "Line A: LX-815 U2 for customer 47",
  "Revision": "3",
  "Accept": { "Models": ["LX-815 U2"], "Firmware": ["V1.4.2"] },
  "Steps": [
    { "Step": "backup",            "Folder": "backups" },
    { "Step": "write-calibration", "Folder": "calibrations" },
    { "Step": "write-config",      "File": "customer47.json" },
    { "Step": "check", "Limits": {
        "/TCXO_BIAS": { "Min": 100, "Max": 160, "Marginal": 5 },
        "/Volume":    { "Min": 5,   "Max": 7 } } },
    { "Step": "snapshot",          "Folder": "shipped" }
  ]
})";

QString serialOf(int lane)
{
    return QStringLiteral("4C58815000%1").arg(lane, 2, 16, QLatin1Char('0')).toUpper();
}

QString cli()
{
    return QCoreApplication::applicationDirPath() + "/../cli/lx815-cli";
}

bool runCli(const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(cli(), arguments);
    const bool ok = process.waitForFinished(kRunTimeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput();
    return ok;
}

// The recipe's folder: the configuration and a calibration file per unit, as a simulated
// module gives them.
bool prepare(const QDir &dir)
{
    Simulator module(0);
    const QString calibration = dir.filePath("read-calibration.json");
    if (!runCli({"read-config", dir.filePath("customer47.json"), "--port", module.path(),
                 "--no-records"}) ||
        !runCli({"read-calibration", calibration, "--port", module.path(), "--no-records"}))
        return false;
    QFile file(calibration);
    file.open(QIODevice::ReadOnly);
    QJsonObject values = QJsonDocument::fromJson(file.readAll()).object();
    dir.mkpath("calibrations");
    for (int lane = 1; lane <= kLanes; ++lane) {
        QJsonObject unit = values["Unit"].toObject();
        unit["SerialNumber"] = serialOf(lane);
        values["Unit"] = unit;
        QFile out(dir.filePath(QStringLiteral("calibrations/%1.json").arg(serialOf(lane))));
        out.open(QIODevice::WriteOnly);
        out.write(QJsonDocument(values).toJson());
    }
    QFile recipe(dir.filePath("recipe.json"));
    recipe.open(QIODevice::WriteOnly);
    return recipe.write(kRecipe) > 0;
}

// The cycle seconds of each unit of one run on these many lanes; empty when a unit did not pass.
QList<double> cycles(const QDir &dir, int lanes, const QString &log = QString())
{
    std::vector<std::unique_ptr<Simulator>> modules;
    QStringList arguments{"run", dir.filePath("recipe.json"), "--json", "--no-records"};
    for (int lane = 1; lane <= lanes; ++lane) {
        const QString units = dir.filePath(QStringLiteral("unit%1.json").arg(lane));
        QFile file(units);
        file.open(QIODevice::WriteOnly);
        file.write(
            QJsonDocument(QJsonArray{QJsonObject{{"serialNumber", serialOf(lane)}}}).toJson());
        file.close();
        QStringList extra{"--units", units};
        if (!log.isEmpty())
            extra << "--log" << log;
        modules.push_back(std::make_unique<Simulator>(kBaud, extra));
        arguments << "--port" << modules.back()->path();
    }
    QByteArray output;
    if (!runCli(arguments, &output))
        return {};
    QList<double> seconds;
    for (const QByteArray &line : output.split('\n')) {
        const QJsonObject unit = QJsonDocument::fromJson(line).object();
        if (unit.isEmpty())
            continue;
        const QDateTime started =
            QDateTime::fromString(unit["started"].toString(), Qt::ISODateWithMs);
        const QDateTime finished =
            QDateTime::fromString(unit["finished"].toString(), Qt::ISODateWithMs);
        seconds.append(started.msecsTo(finished) / 1000.0);
    }
    return seconds;
}
} // namespace

void printStationFigures(QTextStream &out)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    out << "\n(f) the station: lx815-cli run with the example recipe of docs/recipes.md at "
        << kBaud << " baud, a unit's cycle seconds (identification to its last step)\n";
    out.flush();
    if (!prepare(dir)) {
        out << "could not prepare the recipe's files\n";
        return;
    }
    const QString log = dir.filePath("one.log");
    const QList<double> one = cycles(dir, 1, log);
    const Traffic exchanged = traffic(log);
    const double wire = double(exchanged.bytes) * kBitsPerByte / kBaud;
    if (one.size() != 1) {
        out << "the unit did not pass\n";
        return;
    }
    const double limit = kLineFactor * wire + kLineSlack;
    out << QString("%1 %2 %3 %4 %5 %6\n")
               .arg("one unit", -12)
               .arg("requests", 9)
               .arg("bytes", 7)
               .arg("wire", 7)
               .arg("cycle", 7)
               .arg("target (1.10 x wire + 0.100)", 30);
    out << QString("%1 %2 %3 %4 %5 %6\n")
               .arg("", -12)
               .arg(exchanged.transactions, 9)
               .arg(exchanged.bytes, 7)
               .arg(wire, 7, 'f', 3)
               .arg(one.first(), 7, 'f', 3)
               .arg(QString("%1 %2, cycle/wire %3")
                        .arg(limit, 0, 'f', 3)
                        .arg(one.first() <= limit ? "met" : "MISSED")
                        .arg(one.first() / wire, 0, 'f', 3),
                    30);
    out.flush();
    const QList<double> many = cycles(dir, kLanes);
    if (many.size() != kLanes) {
        out << "not every one of the " << kLanes << " lanes passed its unit\n";
        return;
    }
    const double slowest = *std::max_element(many.begin(), many.end());
    QList<double> sorted = many;
    std::sort(sorted.begin(), sorted.end());
    const double median = (sorted[kLanes / 2 - 1] + sorted[kLanes / 2]) / 2.0;
    out << QString("%1 lanes at once: median cycle %2 s, slowest %3 s; slowest / one lane = "
                   "%4 (target <= %5: %6)\n")
               .arg(kLanes)
               .arg(median, 0, 'f', 3)
               .arg(slowest, 0, 'f', 3)
               .arg(slowest / one.first(), 0, 'f', 3)
               .arg(kLanesFactor, 0, 'f', 2)
               .arg(slowest <= kLanesFactor * one.first() ? "met" : "MISSED");
    out.flush();
}
