// The line's figures asked of a small history, in SQLite and in a real PostgreSQL server
// (scripts/pg-server): yields, Pareto and control limits worked out by hand below; the outlier
// hold's population figures and their cache; lx815-cli report's JSON and its one-file page.
#include "app/language.h"
#include "records/population.h"
#include "records/recordstore.h"
#include "station/limits.h"
#include "station/recipe.h"
#include "stats/historystats.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <cmath>

namespace {
const QString kRecipeA = QString(64, QLatin1Char('a'));
const QString kRecipeB = QString(64, QLatin1Char('b'));
const QString kRecipeC = QString(64, QLatin1Char('c'));
const QString kStatsDatabase = QStringLiteral("lx815_historystats");

UnitRecord run(const QString &serial, const char *time, const char *outcome, const char *station,
               const QString &recipe = kRecipeA, const char *step = "", const char *message = "")
{
    UnitRecord r = UnitRecord::create();
    r.serialNumber = serial;
    r.finished = QDateTime::fromString(QString::fromLatin1(time), Qt::ISODate);
    r.started = r.finished.addSecs(-60);
    r.station = QString::fromLatin1(station);
    r.operation = QStringLiteral("run");
    r.outcome = QString::fromLatin1(outcome);
    r.recipe = QStringLiteral("line");
    r.revision = recipe == kRecipeB ? QStringLiteral("2") : QStringLiteral("1");
    r.recipeSha256 = recipe;
    r.failedStep = QString::fromLatin1(step);
    r.message = QString::fromLatin1(message);
    r.model = QStringLiteral("LX-815");
    return r;
}

// December: 7 serial numbers, 8 units (01 under two recipes), 10 runs of a recipe and one run
// of none. Last outcomes PASS 01A 02 07 01B, MARGINAL 03, FAIL 05 06, ERROR 04 (aborted).
// First pass: 01A 03 07 01B (4/8); final: 01A 02 03 07 01B (5/8); retests 02 at B, 05 at B.
// 05 first finished at 02:00 UTC on the 8th, still the 7th in New York.
QVector<UnitRecord> december()
{
    QVector<UnitRecord> runs{
        run("01", "2026-12-07T09:00:00Z", "pass", "A"),
        run("02", "2026-12-07T09:10:00Z", "fail", "A", kRecipeA, "check",
            "/TCXO_BIAS = 171, above Max 160"),
        run("03", "2026-12-07T09:20:00Z", "marginal", "A"),
        run("04", "2026-12-07T09:30:00Z", "aborted", "A", kRecipeA, "identify",
            "no reply from 0123456789AB"),
        run("02", "2026-12-07T10:00:00Z", "pass", "B"),
        run("05", "2026-12-08T02:00:00Z", "fail", "B", kRecipeA, "check",
            "/TCXO_BIAS = 165, above Max 160"),
        run("06", "2026-12-08T09:00:00Z", "fail", "B", kRecipeA, "check",
            "/TxPowerAdj/cell42 = 12, below Min 20"),
        run("07", "2026-12-08T10:00:00Z", "pass", "B"),
        run("01", "2026-12-08T11:00:00Z", "pass", "B", kRecipeB),
        run("08", "2026-12-08T12:00:00Z", "error", "B", QString()),
    };
    // A second failure of 05 is not its first: it stays out of the Pareto.
    runs.append(run("05", "2026-12-08T12:30:00Z", "fail", "B", kRecipeA, "write", "refused"));
    return runs;
}

// November, recipe C: /TCXO_BIAS 10 10 11 10 10 11 10 10 11 30 in time order (stored shuffled).
// Mean 12.3; squares 6 x 2.3² + 3 x 1.3² + 17.7² = 350.1, sigma sqrt(350.1 / 9) = 6.2370;
// moving ranges 0 1 1 0 1 1 0 1 19 -> 24/9, UCL 12.3 + 2.66 x 24/9 = 19.3933, LCL 5.2067;
// S10 beyond UCL. Limits 0..40: Cp 40 / (6 sigma) = 1.0689, Cpk (12.3 - 0) / (3 sigma) = 0.6574.
QVector<UnitRecord> november()
{
    const double values[] = {10, 10, 11, 10, 10, 11, 10, 10, 11, 30};
    const int order[] = {9, 3, 0, 7, 5, 1, 8, 2, 6, 4};
    QVector<UnitRecord> runs;
    for (const int i : order) {
        UnitRecord r = run(QStringLiteral("S%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                           "2026-11-01T08:00:00Z", "pass", "C", kRecipeC);
        r.finished = r.finished.addSecs(60 * i);
        UnitRecord::Measurement m;
        m.name = QStringLiteral("/TCXO_BIAS");
        m.value = values[i];
        m.min = 0;
        m.max = 40;
        m.marginal = 5;
        m.outcome = QStringLiteral("pass");
        r.measurements.append(m);
        UnitRecord::Measurement cell;
        cell.name = QStringLiteral("/TxPowerAdj/cell42");
        cell.value = 100 + i;
        r.measurements.append(cell);
        runs.append(r);
    }
    return runs;
}

QString postgresUrl()
{
    QFile file(qEnvironmentVariable("LX_PG_STATE") + QStringLiteral("/url"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// A database of this test's own on the suite's server: other tests' entries stay out.
bool freshPostgresDatabase()
{
    const QUrl url(postgresUrl());
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("own"));
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(url.userName());
        db.setDatabaseName(url.path().mid(1));
        QSqlQuery query(db);
        ok = db.open() &&
             query.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(kStatsDatabase)) &&
             query.exec(QStringLiteral("CREATE DATABASE %1").arg(kStatsDatabase));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("own"));
    return ok;
}

QString groups(const QList<Stats::YieldGroup> &list)
{
    QStringList out;
    for (const Stats::YieldGroup &g : list)
        out.append(QStringLiteral("%1 %2/%3/%4 r%5 t%6")
                       .arg(g.key)
                       .arg(g.figures.firstPassed)
                       .arg(g.figures.finalPassed)
                       .arg(g.figures.tested)
                       .arg(g.figures.runs)
                       .arg(g.figures.retests));
    return out.join(QStringLiteral("; "));
}
} // namespace

class TestHistoryStats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void figures_data();
    void figures();
    void pareto_data();
    void pareto();
    void series_data();
    void series();
    void population();
    void report();

private:
    RecordsTarget target(bool postgres) const;
    void addDatabases();

    QTemporaryDir m_dir;
};

RecordsTarget TestHistoryStats::target(bool postgres) const
{
    QString error;
    QString text = m_dir.filePath(QStringLiteral("line.sqlite"));
    if (postgres) {
        QUrl url(postgresUrl());
        url.setPath(QLatin1Char('/') + kStatsDatabase);
        text = url.toString();
    }
    return *RecordsTarget::parse(text, &error);
}

void TestHistoryStats::addDatabases()
{
    QTest::addColumn<bool>("postgres");
}

void TestHistoryStats::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(Language::install(Language::kEnglish));
    QVERIFY2(!postgresUrl().isEmpty(), "no PostgreSQL server (the postgres fixture)");
    QVERIFY(freshPostgresDatabase());
    for (const bool postgres : {false, true}) {
        RecordStore store(target(postgres));
        QVERIFY2(store.insert(december() + november()), qPrintable(store.lastError()));
    }
}

void TestHistoryStats::figures_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QString>("station");
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QList<int>>("total"); // units tested runs retests first final
    QTest::addColumn<QString>("outcomes"); // PASS MARGINAL FAIL ERROR
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("stations");
    for (const bool postgres : {false, true}) {
        const char *db = postgres ? "postgres" : "sqlite";
        QTest::addRow("%s: all", db)
            << postgres << ""
            << "" << QByteArray("UTC") << QList<int>{7, 8, 10, 2, 4, 5} << "4 1 2 1"
            << "2026-12-07 2/3/4 r5 t1; 2026-12-08 2/2/4 r5 t1"
            << "A 2/3/4 r4 t0; B 2/2/4 r6 t2";
        QTest::addRow("%s: days in New York", db)
            << postgres << ""
            << "" << QByteArray("America/New_York") << QList<int>{7, 8, 10, 2, 4, 5} << "4 1 2 1"
            << "2026-12-07 2/3/5 r6 t1; 2026-12-08 2/2/3 r4 t1"
            << "A 2/3/4 r4 t0; B 2/2/4 r6 t2";
        // 02's first run was at A: at B it is a retest with no unit of its own.
        QTest::addRow("%s: station B", db)
            << postgres << "B"
            << "" << QByteArray("UTC") << QList<int>{5, 5, 6, 1, 3, 3} << "3 0 2 0"
            << "2026-12-07 1/1/1 r1 t0; 2026-12-08 2/2/4 r5 t1"
            << "B 3/3/5 r6 t1";
        QTest::addRow("%s: recipe B", db) << postgres << "" << kRecipeB << QByteArray("UTC")
                                          << QList<int>{1, 1, 1, 0, 1, 1} << "1 0 0 0"
                                          << "2026-12-08 1/1/1 r1 t0"
                                          << "B 1/1/1 r1 t0";
    }
}

void TestHistoryStats::figures()
{
    QFETCH(bool, postgres);
    QFETCH(QString, station);
    QFETCH(QString, recipe);
    QFETCH(QByteArray, zone);
    QFETCH(QList<int>, total);
    QFETCH(QString, outcomes);
    QFETCH(QString, days);
    QFETCH(QString, stations);
    RecordStore store(target(postgres));
    Stats::HistoryStats stats(store);
    Stats::HistoryFilter filter;
    filter.since = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
    filter.station = station;
    filter.recipeSha = recipe;
    const auto figures = stats.figures(filter, QTimeZone(zone));
    QVERIFY2(figures, qPrintable(stats.lastError()));
    const Stats::YieldFigures &y = figures->total;
    QCOMPARE((QList<int>{y.units, y.tested, y.runs, y.retests, y.firstPassed, y.finalPassed}),
             total);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(y.outcomes.value(Stats::Outcome::Pass))
                 .arg(y.outcomes.value(Stats::Outcome::Marginal))
                 .arg(y.outcomes.value(Stats::Outcome::Fail))
                 .arg(y.outcomes.value(Stats::Outcome::Error)),
             outcomes);
    QCOMPARE(groups(figures->perDay), days);
    QCOMPARE(groups(figures->perStation), stations);
}

void TestHistoryStats::pareto_data()
{
    addDatabases();
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgres") << true;
}

// 4 failed units: 02 and 05 above Max (2: 50 %), 06 below Min, 04 without a reply.
void TestHistoryStats::pareto()
{
    QFETCH(bool, postgres);
    RecordStore store(target(postgres));
    Stats::HistoryStats stats(store);
    Stats::HistoryFilter filter;
    filter.since = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
    const auto figures = stats.figures(filter);
    QVERIFY2(figures, qPrintable(stats.lastError()));
    QStringList rows;
    for (const Stats::ParetoRow &r : figures->pareto)
        rows.append(QStringLiteral("%1|%2|%3|%4|%5|%6")
                        .arg(r.step, r.failure, r.example)
                        .arg(r.count)
                        .arg(r.share)
                        .arg(r.cumulative));
    QCOMPARE(
        rows,
        (QStringList{"check|/TCXO_BIAS = #, above Max #|/TCXO_BIAS = 171, above Max 160|2|0.5|0.5",
                     "check|/TxPowerAdj/cell42 = #, below Min #|/TxPowerAdj/cell42 = 12, below "
                     "Min 20|1|0.25|0.75",
                     "identify|no reply from #|no reply from 0123456789AB|1|0.25|1"}));
}

void TestHistoryStats::series_data()
{
    pareto_data();
}

void TestHistoryStats::series()
{
    QFETCH(bool, postgres);
    RecordStore store(target(postgres));
    Stats::HistoryStats stats(store);
    Stats::HistoryFilter filter;
    filter.until = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
    const auto series = stats.series(filter, QStringLiteral("/TCXO_BIAS"));
    QVERIFY2(series, qPrintable(stats.lastError()));
    const Stats::SeriesFigures &f = series->figures;
    QCOMPARE(f.count, 10);
    QCOMPARE(f.points.first().serialNumber, QStringLiteral("S01"));
    QCOMPARE(f.points.last().value, 30.0);
    const double sigma = std::sqrt(350.1 / 9);
    QVERIFY(qFuzzyCompare(*f.mean, 12.3));
    QVERIFY(qFuzzyCompare(*f.sigma, sigma));
    QVERIFY(qFuzzyCompare(*f.ucl, 12.3 + 2.66 * 24 / 9));
    QVERIFY(qFuzzyCompare(*f.lcl, 12.3 - 2.66 * 24 / 9));
    QVERIFY(qFuzzyCompare(*f.cp, 40 / (6 * sigma)));
    QVERIFY(qFuzzyCompare(*f.cpk, 12.3 / (3 * sigma)));
    QCOMPARE(f.outOfControlSerials(), QStringList{"S10"});
    QVERIFY(series->limits && series->limits->marginal == 5.0);

    const auto names = stats.valueNames(filter);
    QVERIFY(names);
    QCOMPARE(*names, (QStringList{"/TCXO_BIAS", "/TxPowerAdj/cell42"}));
    // A value without limits: no Cp; none of December's runs measured it.
    filter.until = QDateTime();
    const auto cells = stats.series(filter, QStringLiteral("/TxPowerAdj/cell42"));
    QVERIFY(cells && cells->figures.count == 10 && !cells->figures.cp && !cells->limits);
    filter.since = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
    QCOMPARE(stats.series(filter, QStringLiteral("/TCXO_BIAS"))->figures.count, 0);
}

// The population is recipe C's ten passing units (mean 12.3, sigma 6.2370): 40 is 4.4 sigma
// above; an unreadable history falls back on the figures cached by the last good reading.
void TestHistoryStats::population()
{
    const QString cache = m_dir.filePath(QStringLiteral("population"));
    Limits::Limit limit{QStringLiteral("/TCXO_BIAS"),   Limits::Side::Factory, 0, 50, 0,
                        Limits::PopulationLimit{200, 4}};
    RecordStore store(target(false));
    const auto figures =
        Population::figures(store, cache, kRecipeC, QStringLiteral("/TCXO_BIAS"), 200);
    QVERIFY(figures && !figures->fromCache);
    QCOMPARE(figures->units, 10);
    QVERIFY(qFuzzyCompare(figures->mean, 12.3));
    QCOMPARE(Limits::judge(35, limit, figures).verdict, Limits::Verdict::Pass); // 3.6 sigma
    const Limits::Judgement held = Limits::judge(40, limit, figures);
    QCOMPARE(held.verdict, Limits::Verdict::Marginal);
    QCOMPARE(held.text, QStringLiteral("/TCXO_BIAS 40 is 4.4 σ above the last 10 units"));
    // Too few units of recipe A: no hold.
    QVERIFY(!Population::figures(store, cache, kRecipeA, QStringLiteral("/TCXO_BIAS"), 200));

    QString error;
    RecordStore away(*RecordsTarget::parse(m_dir.path(), &error)); // a folder: cannot open
    const auto cached =
        Population::figures(away, cache, kRecipeC, QStringLiteral("/TCXO_BIAS"), 200);
    QVERIFY(cached && cached->fromCache);
    QVERIFY(qFuzzyCompare(cached->sigma, figures->sigma));
    QVERIFY(Limits::judge(40, limit, cached).text.contains(QStringLiteral("could not be read")));
    QVERIFY(!Population::figures(away, cache, kRecipeC, QStringLiteral("/TCXO_BIAS"), 100));
}

void TestHistoryStats::report()
{
    const QString cli = qEnvironmentVariable("LX_BINARY_DIR") + QStringLiteral("/cli/lx815-cli");
    const QStringList common{"report",  "--records",  target(false).path, "--since", "2026-11-01",
                             "--value", "/TCXO_BIAS", "--value",          "/NONE"};
    QProcess process;
    process.start(cli, common + QStringList{"--json"});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    QCOMPARE(json.value("units").toInt(), 17);
    QCOMPARE(json.value("runs").toInt(), 20);
    QCOMPARE(json.value("firstPassYield").toDouble(), 14.0 / 18);
    QCOMPARE(json.value("finalYield").toDouble(), 15.0 / 18);
    QCOMPARE(json.value("outcomes").toObject().value("PASS").toInt(), 14);
    const QJsonObject first = json.value("pareto").toArray().first().toObject();
    QCOMPARE(QStringList(first.keys()),
             (QStringList{"count", "cumulative", "failure", "share", "step"}));
    QCOMPARE(first.value("count").toInt(), 2);
    const QJsonObject series = json.value("series").toObject();
    const QJsonObject bias = series.value("/TCXO_BIAS").toObject();
    QCOMPARE(QStringList(bias.keys()),
             (QStringList{"count", "cp", "cpk", "lcl", "mean", "outOfControl", "sigma", "ucl"}));
    QCOMPARE(bias.value("outOfControl").toArray(), QJsonArray{"S10"});
    QVERIFY(series.value("/NONE").toObject().value("cp").isNull());
    QCOMPARE(series.value("/NONE").toObject().value("count").toInt(), 0);

    const QString out = m_dir.filePath(QStringLiteral("report"));
    process.start(cli, common + QStringList{"--out", out, "--lang", "zh_CN"});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    QCOMPARE(QDir(out).entryList(QDir::Files),
             (QStringList{"pareto.csv", "report.html", "series-NONE.csv", "series-TCXO_BIAS.csv",
                          "yield-per-day.csv", "yield-per-station.csv"}));
    QFile page(QDir(out).filePath(QStringLiteral("report.html")));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QCOMPARE(html.count(QStringLiteral("<svg")), 5); // two yields, the Pareto, two values
    QVERIFY(html.contains(QStringLiteral("直通率")));
    // Nothing fetched: no link, script, image or style from elsewhere; a URL only as an XML
    // namespace's name.
    QVERIFY(!html.contains(QRegularExpression(QStringLiteral("<(link|script|img|iframe)\\b"))));
    QVERIFY(!html.contains(QRegularExpression(QStringLiteral("(src|href)\\s*=\\s*\"(?!#|data:)"))));
    QVERIFY(!html.contains(QRegularExpression(QStringLiteral("url\\((?!#)"))));
    QCOMPARE(
        html.count(QRegularExpression(QStringLiteral("(?<!xmlns=\")(?<!xmlns:xlink=\")https?:"))),
        0);
    QFile csv(QDir(out).filePath(QStringLiteral("series-TCXO_BIAS.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count('\n'), 11);
}

QTEST_GUILESS_MAIN(TestHistoryStats)
#include "tst_historystats.moc"
