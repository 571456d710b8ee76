#include "bench/recordfigures.h"

#include "bench/simulator.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {
constexpr int kBaud = 9600;  // bit/s
constexpr int kRuns = 7;     // per variant; the median is printed
constexpr int kModules = 16; // at once, recording to PostgreSQL
constexpr int kRunTimeoutMs = 60000;

double runCli(const QStringList &arguments, const QString &dataDir)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", dataDir);
    process.setProcessEnvironment(environment);
    QElapsedTimer wall;
    wall.start();
    process.start(QCoreApplication::applicationDirPath() + "/../cli/lx815-cli", arguments);
    const bool ok = process.waitForFinished(kRunTimeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return ok ? double(wall.elapsed()) : -1.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
} // namespace

void printRecordFigures(QTextStream &out)
{
    const QString postgres = qEnvironmentVariable("LX_BENCH_PG");
    QTemporaryDir dir;
    const QString config = dir.filePath("module.json");
    Simulator module(kBaud);
    const QStringList write{"write-config", config, "--port", module.path()};
    runCli({"read-config", config, "--port", module.path(), "--no-records"}, dir.path());

    out << "\n(e) lx815-cli write-config at " << kBaud << " baud with the unit history, median of "
        << kRuns << " runs, ms (interleaved)\n";
    const QList<QPair<QString, QStringList>> variants{
        {"no records", {"--no-records"}},
        {"SQLite", {"--records", dir.filePath("records.sqlite")}},
        {"PostgreSQL", {"--records", postgres}},
    };
    std::vector<std::vector<double>> times(variants.size());
    for (int run = 0; run < kRuns; ++run) {
        for (int v = 0; v < variants.size(); ++v) {
            if (!variants.at(v).second.last().isEmpty())
                times[v].push_back(runCli(write + variants.at(v).second, dir.path()));
        }
    }
    const double bare = median(times[0]);
    out << QString("%1 %2 %3\n").arg("", 12).arg("ms", 9).arg("added", 9);
    for (int v = 0; v < variants.size(); ++v) {
        if (times[v].empty()) {
            out << QString("%1 (no server: scripts/bench starts one)\n")
                       .arg(variants.at(v).first, 12);
            continue;
        }
        const double ms = median(times[v]);
        out << QString("%1 %2 %3\n")
                   .arg(variants.at(v).first, 12)
                   .arg(ms, 9, 'f', 1)
                   .arg(ms - bare, 9, 'f', 1);
    }
    out.flush();
    if (postgres.isEmpty())
        return;

    out << "\n(f) " << kModules << " modules at once recording to PostgreSQL, wall ms\n";
    std::vector<std::unique_ptr<Simulator>> modules;
    QStringList ports;
    for (int i = 0; i < kModules; ++i) {
        modules.push_back(std::make_unique<Simulator>(kBaud));
        ports << "--port" << modules.back()->path();
    }
    const QStringList records{"--records", postgres};
    const double one =
        runCli(QStringList{"write-config", config, "--port", modules.front()->path()} + records,
               dir.path());
    const double all = runCli(QStringList{"write-config", config} + ports + records, dir.path());
    out << QString("%1 %2 %3\n")
               .arg("1 module", 9)
               .arg(QString("%1 at once").arg(kModules), 12)
               .arg("ratio", 7);
    out << QString("%1 %2 %3\n").arg(one, 9, 'f', 0).arg(all, 12, 'f', 0).arg(all / one, 7, 'f', 2);
    out.flush();
}
