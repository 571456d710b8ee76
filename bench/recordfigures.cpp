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

// Wall ms of one run (-1 when it failed); its standard output in *out.
double runCli(const QStringList &arguments, const QString &dataDir, QString *out = nullptr)
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
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return ok ? double(wall.elapsed()) : -1.0;
}

// Entries of one station in a history, -1 when it cannot be read.
int entriesOf(const QString &station, const QStringList &records, const QString &dataDir)
{
    QString out;
    if (runCli(QStringList{"history", "--json"} + records, dataDir, &out) < 0)
        return -1;
    return out.count(QString("\"station\":\"%1\"").arg(station));
}

// Each variant's runs name a station of their own, so that their entries can be counted.
QString station(int variant)
{
    return QString("bench-%1-%2").arg(QCoreApplication::applicationPid()).arg(variant);
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
        << kRuns << " runs, ms (interleaved); entries: what each variant left in the histories\n";
    struct Variant
    {
        QString name;
        QStringList options;
    };
    const QString sqlite = dir.filePath("records.sqlite");
    const QList<Variant> variants{
        {"no records", {"--no-records"}},
        {"SQLite", {"--records", sqlite}},
        {"PostgreSQL", {"--records", postgres}},
    };
    // Every history a run could have written to: the user's default, the file, the server.
    QList<QStringList> histories{{}, {"--records", sqlite}};
    if (!postgres.isEmpty())
        histories.append({"--records", postgres});
    std::vector<std::vector<double>> times(variants.size());
    for (int run = 0; run < kRuns; ++run) {
        for (int v = 0; v < variants.size(); ++v) {
            if (!variants.at(v).options.last().isEmpty())
                times[v].push_back(
                    runCli(write + variants.at(v).options + QStringList{"--station", station(v)},
                           dir.path()));
        }
    }
    const double bare = median(times[0]);
    out << QString("%1 %2 %3 %4\n").arg("", 12).arg("ms", 9).arg("added", 9).arg("entries", 8);
    bool baselineClean = true;
    for (int v = 0; v < variants.size(); ++v) {
        if (times[v].empty()) {
            out << QString("%1 (no server: scripts/bench starts one)\n")
                       .arg(variants.at(v).name, 12);
            continue;
        }
        int entries = 0;
        for (const QStringList &history : qAsConst(histories))
            entries += std::max(0, entriesOf(station(v), history, dir.path()));
        if (v == 0)
            baselineClean = entries == 0;
        const double ms = median(times[v]);
        out << QString("%1 %2 %3 %4\n")
                   .arg(variants.at(v).name, 12)
                   .arg(ms, 9, 'f', 1)
                   .arg(ms - bare, 9, 'f', 1)
                   .arg(entries, 8);
    }
    out << (baselineClean ? "the baseline recorded nothing: checked in every history\n"
                          : "THE BASELINE RECORDED ENTRIES: the figures above measure nothing\n");
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
