#include "bench/clifigures.h"

#include "bench/simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {
constexpr int kBaud = 9600;      // bit/s, the module's factory line rate
constexpr int kBitsPerByte = 10; // start, eight data bits, stop
constexpr int kModules = 4;      // programmed at once in (d)
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

struct Traffic
{
    int transactions = 0;
    int bytes = 0; // request frames and reply bytes, both directions
};

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
} // namespace

void printCliFigures(QTextStream &out)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("module.json");
    const QString log = dir.filePath("module.log");

    out << "\n(c) lx815-cli read-config of one module at " << kBaud << " baud, wall seconds\n";
    out << QString("%1 %2 %3 %4 %5 %6\n")
               .arg("requests", 9)
               .arg("bytes", 7)
               .arg("wire limit", 11)
               .arg("start-up", 9)
               .arg("read-config", 12)
               .arg("/limit", 7);
    {
        Simulator module(kBaud, {"--log", log});
        const double startUp = runCli({"--version"});
        const double read = runCli({"read-config", config, "--port", module.path()});
        const Traffic exchanged = traffic(log);
        const double wire = double(exchanged.bytes) * kBitsPerByte / kBaud;
        out << QString("%1 %2 %3 %4 %5 %6\n")
                   .arg(exchanged.transactions, 9)
                   .arg(exchanged.bytes, 7)
                   .arg(wire, 11, 'f', 3)
                   .arg(startUp, 9, 'f', 3)
                   .arg(read, 12, 'f', 3)
                   .arg(read / wire, 7, 'f', 2);
        out.flush();
    }

    out << "\n(d) lx815-cli write-config at " << kBaud << " baud, wall seconds\n";
    out << QString("%1 %2 %3\n")
               .arg("1 module", 9)
               .arg(QString("%1 at once").arg(kModules), 11)
               .arg("ratio", 7);
    std::vector<std::unique_ptr<Simulator>> modules;
    QStringList ports;
    for (int i = 0; i < kModules; ++i) {
        modules.push_back(std::make_unique<Simulator>(kBaud));
        ports << "--port" << modules.back()->path();
    }
    const double one = runCli({"write-config", config, "--port", modules.front()->path()});
    const double all = runCli(QStringList{"write-config", config} + ports);
    out << QString("%1 %2 %3\n").arg(one, 9, 'f', 3).arg(all, 11, 'f', 3).arg(all / one, 7, 'f', 2);
    out.flush();
}
