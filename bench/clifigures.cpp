#include "bench/clifigures.h"

#include "bench/simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {
constexpr int kBaud = 9600;             // bit/s, the module's factory line rate
constexpr int kBitsPerByte = 10;        // start, eight data bits, stop
const int kModuleCounts[] = {1, 4, 16}; // programmed at once in (d)
constexpr int kRunTimeoutMs = 60000;

// Wall seconds of one lx815-cli run; negative when it failed.
double runCli(const QStringList &arguments)
{
    QProcess process;
    QElapsedTimer wall;
    wall.start();
    process.start(QCoreApplication::applicationDirPath() + "/../cli/lx815-cli", arguments);
    const bool ok = process.waitForFinished(kRunTimeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ok ? wall.elapsed() / 1000.0 : -1.0;
}

} // namespace

// Counts what the simulator's request log says went over the line: one line per request,
// "time<TAB>request frame<TAB>reply bytes or -<TAB>fault<TAB>attempt", bytes as hex pairs.
Traffic traffic(const QString &logPath)
{
    Traffic counted;
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        return counted;
    while (!log.atEnd()) {
        const QList<QByteArray> fields = log.readLine().split('\t');
        if (fields.size() < 3)
            continue;
        ++counted.transactions;
        for (int i : {1, 2}) {
            if (fields.at(i) != "-")
                counted.bytes += QByteArray::fromHex(fields.at(i)).size();
        }
    }
    return counted;
}

void printCliFigures(QTextStream &out)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("module.json");
    const QString calibration = dir.filePath("calibration.json");

    out << "\n(c) lx815-cli on one module at " << kBaud
        << " baud, wall seconds less the tool's start-up, next to the line time of what it "
           "exchanged\n";
    out << QString("%1 %2 %3 %4 %5 %6 %7\n")
               .arg("command", -28)
               .arg("requests", 9)
               .arg("bytes", 7)
               .arg("wire", 7)
               .arg("wall", 7)
               .arg("/wire", 6)
               .arg("target", 15);
    const double startUp = runCli({"--version"});
    struct Row
    {
        QString name;
        QStringList arguments;
        QString target; // what the figure must stay within, as printed
        double factor;  // of the wire time
        double slack;   // seconds
    };
    // The reads come first: the writes send what they saved.
    const QList<Row> rows{
        {"read-config", {"read-config", config}, "", 0, 0},
        {"write-config (verified)", {"write-config", config}, "1.05 x + 0.020", 1.05, 0.020},
        {"write-config --no-verify", {"write-config", config, "--no-verify"}, "", 0, 0},
        {"read-calibration", {"read-calibration", calibration}, "", 0, 0},
        {"write-calibration (verified)", {"write-calibration", calibration}, "", 0, 0},
    };
    for (const Row &row : rows) {
        const QString log = dir.filePath(row.name.section(' ', 0, 0) + ".log");
        QFile::remove(log);
        Simulator module(kBaud, {"--log", log});
        const double wall =
            runCli(row.arguments + QStringList{"--no-records", "--port", module.path()}) - startUp;
        const Traffic exchanged = traffic(log);
        const double wire = double(exchanged.bytes) * kBitsPerByte / kBaud;
        QString target = row.target;
        if (row.factor > 0)
            target = QString("%1 %2")
                         .arg(row.factor * wire + row.slack, 0, 'f', 3)
                         .arg(wall <= row.factor * wire + row.slack ? "met" : "MISSED");
        out << QString("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(row.name, -28)
                   .arg(exchanged.transactions, 9)
                   .arg(exchanged.bytes, 7)
                   .arg(wire, 7, 'f', 3)
                   .arg(wall, 7, 'f', 3)
                   .arg(wall / wire, 6, 'f', 2)
                   .arg(target, 15);
        out.flush();
    }

    out << "\n(d) lx815-cli write-config (verified) at " << kBaud
        << " baud on several modules at once, wall seconds\n";
    out << QString("%1 %2 %3\n").arg("modules", 8).arg("wall", 8).arg("/one", 6);
    double one = 0;
    for (int count : kModuleCounts) {
        std::vector<std::unique_ptr<Simulator>> modules;
        QStringList ports;
        for (int i = 0; i < count; ++i) {
            modules.push_back(std::make_unique<Simulator>(kBaud));
            ports << "--port" << modules.back()->path();
        }
        const double wall = runCli(QStringList{"write-config", config, "--no-records"} + ports);
        if (count == 1)
            one = wall;
        out << QString("%1 %2 %3\n").arg(count, 8).arg(wall, 8, 'f', 3).arg(wall / one, 6, 'f', 2);
        out.flush();
    }
}
