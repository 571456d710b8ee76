// The statistics on a long history: a generator fills SQLite and the bench's PostgreSQL with
// N entries (default 100 000: a line's two months, realistic outcomes, /TCXO_BIAS drifting up
// in the last ten days), then, each in a process of its own so that its peak memory is its
// alone: the statistics window's first charts after a filter change, and lx815-cli report
// writing its page. Printed side by side with the targets.
//   lx815-statsbench [N]                 the figures (PostgreSQL from LX_BENCH_PG, when set)
//   lx815-statsbench generate DB N       fill DB (an SQLite file or a postgresql:// URL)
//   lx815-statsbench window DB           one window's times, as "first change series" in ms
#include "records/recordstore.h"
#include "stats/historystats.h"
#include "ui/stats/statisticswindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>
#include <QUrl>

#include <cmath>
#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr int kDefaultEntries = 100000;
constexpr int kDays = 60;
constexpr int kDriftDays = 10;     // /TCXO_BIAS climbs over the last days
constexpr double kDrift = 40.0;    // at the end, above its mean
constexpr int kBatch = 500;        // rows per INSERT
constexpr int kChanges = 3;        // filter changes timed; the slowest is printed
constexpr int kWaitMs = 60000;     // for one answer
constexpr double kChartsMs = 1000; // targets
constexpr double kReportMs = 3000;
constexpr double kMemoryMb = 150;
const QString kPostgresDatabase = QStringLiteral("lx815_bench");
const char *const kStations[] = {"S1", "S2", "S3", "S4"};
const char *const kOperators[] = {"wang", "li", "zhang"};

double cpuMsOf(const rusage &usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

double ownCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuMsOf(usage);
}

QString sha(int revision)
{
    return QString(64, QLatin1Char(revision == 1 ? 'a' : 'b'));
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

// Rows are kept as SQL value lists and sent kBatch at a time: the generator holds little.
class Batch
{
public:
    Batch(QSqlDatabase &db, QString head)
        : m_db(db)
        , m_head(std::move(head))
    {}
    bool add(const QString &values)
    {
        m_rows.append(values);
        return m_rows.size() < kBatch || flush();
    }
    bool flush()
    {
        if (m_rows.isEmpty())
            return true;
        QSqlQuery query(m_db);
        const bool ok = query.exec(m_head + m_rows.join(QLatin1Char(',')));
        if (!ok)
            QTextStream(stderr) << query.lastError().text() << "\n";
        m_rows.clear();
        return ok;
    }

private:
    QSqlDatabase &m_db;
    QString m_head;
    QStringList m_rows;
};

bool generate(const RecordsTarget &target, int entries)
{
    {
        RecordStore store(target); // the schema, as the tool makes it
        if (!store.open()) {
            QTextStream(stderr) << store.lastError() << "\n";
            return false;
        }
    }
    const bool sqlite = target.kind == RecordsTarget::Kind::Sqlite;
    QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? "QSQLITE" : "QPSQL", "generator");
    if (sqlite) {
        db.setDatabaseName(target.path);
    } else {
        db.setHostName(target.host);
        db.setPort(target.port);
        db.setUserName(target.user);
        db.setDatabaseName(target.database);
    }
    if (!db.open() || !db.transaction())
        return false;
    Batch records(db, "INSERT INTO unit_records (entry_id, started_ms, finished_ms, station, "
                      "operator_name, port, tool_version, model, band, firmware, serial_number, "
                      "operation, file, file_sha256, outcome, message, requests, retries, "
                      "differences, snapshot, backup_file, recipe, recipe_revision, "
                      "recipe_sha256, lane, failed_step) VALUES ");
    Batch measurements(db, "INSERT INTO unit_measurements (entry_id, position, name, value, "
                           "min_value, max_value, marginal, outcome) VALUES ");
    std::mt19937 random(815);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::normal_distribution<double> normal(0, 1);
    const qint64 end = QDateTime(QDate(2026, 12, 8), QTime(18, 0), Qt::UTC).toMSecsSinceEpoch();
    const qint64 start = end - qint64(kDays) * 86400000;
    const qint64 step = (end - start) / entries;
    int written = 0;
    qint64 serial = 0x815000000000;
    bool ok = true;
    // A unit's runs: its first, and a retest after most failures.
    while (written < entries && ok) {
        const qint64 first = start + qint64(written) * step;
        const double day = double(first - start) / 86400000;
        const int revision = day < kDays / 2 ? 1 : 2;
        const QString serialNumber = QString::number(++serial, 16).toUpper();
        const double drift =
            day > kDays - kDriftDays ? kDrift * (day - (kDays - kDriftDays)) / kDriftDays : 0.0;
        for (int attempt = 0; attempt < 2 && written < entries && ok; ++attempt) {
            const qint64 finished = first + attempt * 600000;
            const int station = (written + attempt) % 4;
            const double bias = 150 + drift + 6 * normal(random);
            const double roll = uniform(random);
            QString outcome = QStringLiteral("pass");
            QString stepKind;
            QString message;
            if (bias > 200) {
                outcome = QStringLiteral("fail");
                stepKind = QStringLiteral("check");
                message = QStringLiteral("/TCXO_BIAS = %1, above Max 200").arg(qRound(bias));
            } else if (roll < (attempt ? 0.05 : 0.06)) {
                outcome = QStringLiteral("fail");
                stepKind = QStringLiteral("calibrate");
                message = QStringLiteral("/TxPowerAdj/cell4%1 %2 dBm not reached after 6 readings")
                              .arg(int(roll * 100) % 3)
                              .arg(36.5 + roll, 0, 'f', 2);
            } else if (roll < 0.08) {
                outcome = QStringLiteral("error");
                stepKind = QStringLiteral("identify");
                message = QStringLiteral("no reply from %1").arg(serialNumber);
            } else if (roll < 0.09) {
                outcome = QStringLiteral("fail");
                stepKind = QStringLiteral("write");
                message = QStringLiteral("module refused the write at 0x%1")
                              .arg(0x3200 + int(roll * 1000), 4, 16, QLatin1Char('0'));
            } else if (bias > 190) {
                outcome = QStringLiteral("marginal");
            }
            const QString entry = QStringLiteral("bench-%1").arg(written, 8, 10, QLatin1Char('0'));
            ok = records.add(
                QStringLiteral("(%1,%2,%3,'%4','%5','/dev/ttyUSB%6','lx815-cli 1.4','LX-815',1,"
                               "'V1.0','%7','run','','',%8,%9,40,0,'[]','{}','','line','%10',"
                               "'%11',%6,'%12')")
                    .arg(quoted(entry))
                    .arg(finished - 90000)
                    .arg(finished)
                    .arg(QLatin1String(kStations[station]))
                    .arg(QLatin1String(kOperators[(written / 500) % 3]))
                    .arg(station + 1)
                    .arg(serialNumber, quoted(outcome), quoted(message))
                    .arg(revision)
                    .arg(sha(revision), stepKind));
            int position = 0;
            ok = ok && measurements.add(QStringLiteral("(%1,%2,'/TCXO_BIAS',%3,100,200,10,%4)")
                                            .arg(quoted(entry))
                                            .arg(position++)
                                            .arg(qRound(bias))
                                            .arg(quoted(outcome == "pass" ? "pass" : outcome)));
            for (int level = 0; level < 5 && ok; ++level) {
                for (int point = 0; point < 3 && ok; ++point)
                    ok = measurements.add(
                        QStringLiteral("(%1,%2,'/TxPowerAdj/cell%3%4',%5,NULL,NULL,NULL,'')")
                            .arg(quoted(entry))
                            .arg(position++)
                            .arg(level)
                            .arg(point)
                            .arg(qRound(60 + level * 35 + point * 6 + 3 * normal(random))));
            }
            ++written;
            if (outcome == QLatin1String("pass") || outcome == QLatin1String("marginal") ||
                uniform(random) > 0.8)
                break;
        }
    }
    ok = ok && records.flush() && measurements.flush() && db.commit();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("generator");
    return ok;
}

// The bench's database on the server, empty.
bool recreate(const QString &serverUrl)
{
    const QUrl admin(serverUrl);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "admin");
        db.setHostName(admin.host());
        db.setPort(admin.port());
        db.setUserName(admin.userName());
        db.setDatabaseName(admin.path().mid(1));
        QSqlQuery query(db);
        ok = db.open() && query.exec("DROP DATABASE IF EXISTS " + kPostgresDatabase) &&
             query.exec("CREATE DATABASE " + kPostgresDatabase);
        db.close();
    }
    QSqlDatabase::removeDatabase("admin");
    return ok;
}

// The entries a history holds, -1 when it cannot be read.
int entriesIn(const RecordsTarget &target)
{
    RecordStore store(target);
    int count = -1;
    if (!store.select("SELECT COUNT(*) FROM unit_records", {},
                      [&](const QSqlQuery &q) { count = q.value(0).toInt(); }))
        return -1;
    return count;
}

// The window's times: the first charts on opening, the slowest of a few filter changes (each
// to a station, then back), and a value's control chart.
int windowFigures(const RecordsTarget &target)
{
    StatisticsWindow window(target);
    QSignalSpy figures(&window, &StatisticsWindow::figuresShown);
    QSignalSpy series(&window, &StatisticsWindow::seriesShown);
    QSignalSpy failed(&window, &StatisticsWindow::failed);
    window.resize(1366, 768);
    window.show();
    Stats::HistoryFilter filter;
    filter.since = QDateTime(QDate(2026, 10, 1), QTime(0, 0), Qt::UTC);
    filter.until = QDateTime(QDate(2026, 12, 9), QTime(0, 0), Qt::UTC);
    window.setFilter(filter);
    if (!figures.wait(kWaitMs) || !failed.isEmpty())
        return 1;
    const qint64 first = window.lastFiguresMs();
    qint64 slowest = 0;
    double slowestCpu = 0;
    for (int i = 0; i < kChanges; ++i) {
        filter.station = i % 2 == 0 ? QString::fromLatin1(kStations[i % 4]) : QString();
        figures.clear();
        const double cpu = ownCpuMs();
        window.setFilter(filter);
        if (!figures.wait(kWaitMs))
            return 1;
        slowest = std::max(slowest, window.lastFiguresMs());
        slowestCpu = std::max(slowestCpu, ownCpuMs() - cpu);
    }
    series.clear();
    QElapsedTimer clock;
    clock.start();
    window.setValue("/TCXO_BIAS");
    while (series.isEmpty() && clock.elapsed() < kWaitMs)
        series.wait(kWaitMs);
    QTextStream(stdout) << first << " " << slowest << " " << clock.elapsed() << " "
                        << qRound(slowestCpu) << "\n";
    return series.isEmpty() ? 1 : 0;
}

struct Child
{
    QString out;
    double wallMs = -1;
    double cpuMs = -1; // user and system: the wall time of an idle machine, near enough
    double peakMb = -1;
};

// A program run to its end, with its own peak resident memory.
Child runChild(const QStringList &arguments)
{
    Child child;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return child;
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<QByteArray> bytes;
        for (const QString &a : arguments)
            bytes.push_back(a.toLocal8Bit());
        std::vector<char *> argv;
        for (QByteArray &b : bytes)
            argv.push_back(b.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    QByteArray out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, int(n));
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return child;
    child.wallMs = clock.elapsed();
    child.peakMb = usage.ru_maxrss / 1024.0; // kB
    child.cpuMs = cpuMsOf(usage);
    child.out = QString::fromUtf8(out).trimmed();
    return child;
}

double loadAverage()
{
    QFile file("/proc/loadavg");
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').value(0).toDouble() : -1;
}

QString verdict(double value, double target)
{
    return value >= 0 && value <= target ? QStringLiteral("ok") : QStringLiteral("OVER");
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString error;
    if (args.value(1) == "generate" && args.size() == 4) {
        const auto target = RecordsTarget::parse(args.at(2), &error);
        return target && generate(*target, args.at(3).toInt()) ? 0 : 1;
    }
    if (args.value(1) == "window" && args.size() == 3) {
        const auto target = RecordsTarget::parse(args.at(2), &error);
        return target ? windowFigures(*target) : 1;
    }

    const int entries = args.size() > 1 ? args.at(1).toInt() : kDefaultEntries;
    QTextStream out(stdout);
    const QString folder = QCoreApplication::applicationDirPath() + "/../bench-stats";
    QDir().mkpath(folder);
    QList<QPair<QString, QString>> databases{
        {"SQLite", QStringLiteral("%1/history-%2.sqlite").arg(folder).arg(entries)}};
    const QString postgres = qEnvironmentVariable("LX_BENCH_PG");
    if (!postgres.isEmpty()) {
        QUrl url(postgres);
        url.setPath(QLatin1Char('/') + kPostgresDatabase);
        databases.append({"PostgreSQL", url.toString()});
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString cli = QCoreApplication::applicationDirPath() + "/../cli/lx815-cli";
    out << QStringLiteral("Statistics on %1 entries (targets: first charts after a filter change "
                          "<= %2 ms, report <= %3 ms, memory <= %4 MB)\n")
               .arg(entries)
               .arg(kChartsMs)
               .arg(kReportMs)
               .arg(kMemoryMb);
    out << "(ms: wall time, with the CPU time of the process in brackets; the machine's load "
           "average now "
        << QString::number(loadAverage(), 'f', 1) << " on " << QThread::idealThreadCount()
        << " cores)\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg("history", -11)
               .arg("generate s", 11)
               .arg("open ms", 8)
               .arg("change ms (cpu)", 16)
               .arg("series ms", 10)
               .arg("window MB", 10)
               .arg("report ms (cpu)", 16)
               .arg("report MB", 10);
    out.flush();
    bool allMet = true;
    for (const auto &database : databases) {
        const auto target = RecordsTarget::parse(database.second, &error);
        if (!target) {
            out << database.first << ": " << error << "\n";
            return 1;
        }
        double generated = 0;
        if (entriesIn(*target) != entries) {
            if (target->kind == RecordsTarget::Kind::Sqlite)
                QFile::remove(target->path);
            else if (!recreate(postgres))
                return 1;
            QElapsedTimer clock;
            clock.start();
            const Child g = runChild({self, "generate", database.second, QString::number(entries)});
            if (g.wallMs < 0) {
                out << database.first << ": the generator failed\n";
                return 1;
            }
            generated = clock.elapsed() / 1000.0;
        }
        const Child window = runChild({self, "window", database.second});
        const QStringList times = window.out.split(' ');
        const QString dir = QStringLiteral("%1/report-%2").arg(folder, database.first);
        const Child report =
            runChild({cli, "report", "--records", database.second, "--value", "/TCXO_BIAS",
                      "--value", "/TxPowerAdj/cell42", "--out", dir, "--quiet"});
        const double change = window.wallMs < 0 ? -1 : times.value(1).toDouble();
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                   .arg(database.first, -11)
                   .arg(generated > 0 ? QString::number(generated, 'f', 1) : "(kept)", 11)
                   .arg(times.value(0), 8)
                   .arg(QStringLiteral("%1 (%2)").arg(change, 0, 'f', 0).arg(times.value(3)), 16)
                   .arg(times.value(2), 10)
                   .arg(window.peakMb, 10, 'f', 0)
                   .arg(QStringLiteral("%1 (%2)")
                            .arg(report.wallMs, 0, 'f', 0)
                            .arg(report.cpuMs, 0, 'f', 0),
                        16)
                   .arg(report.peakMb, 10, 'f', 0);
        out << QStringLiteral("%1 change %2, report %3, memory %4/%5\n")
                   .arg(QString(), -11)
                   .arg(verdict(change, kChartsMs), verdict(report.wallMs, kReportMs),
                        verdict(window.peakMb, kMemoryMb), verdict(report.peakMb, kMemoryMb));
        out.flush();
        allMet = allMet && change >= 0 && change <= kChartsMs && report.wallMs >= 0 &&
                 report.wallMs <= kReportMs && window.peakMb <= kMemoryMb &&
                 report.peakMb <= kMemoryMb && window.peakMb >= 0;
    }
    return allMet ? 0 : 1;
}
