// The line's figures against a small history worked out by hand.
#include "stats/powercurves.h"
#include "stats/runs.h"
#include "stats/series.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace Stats;

namespace {
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

QDateTime at(const char *utc)
{
    return QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
}

// Six units on recipe a1, the first one again on recipe b2; stations A and B.
QList<Run> history()
{
    const QString tcxo = QStringLiteral("/TCXO_BIAS = %1, above Max 160");
    const QString noReply = QStringLiteral("no reply from 4C5881500004 after 3 tries");
    return {
        {"4C5881500001", "a1", at("2026-12-06T23:30:00Z"), Outcome::Pass, "A", "", ""},
        {"4C5881500002", "a1", at("2026-12-07T09:10:00Z"), Outcome::Fail, "A", "check",
         tcxo.arg(171)},
        {"4C5881500003", "a1", at("2026-12-07T09:20:00Z"), Outcome::Marginal, "A", "", ""},
        {"4C5881500004", "a1", at("2026-12-07T09:30:00Z"), Outcome::Error, "A", "identify",
         noReply},
        // Given before the runs it follows: the time decides, not the order of the list.
        {"4C5881500005", "a1", at("2026-12-08T09:30:00Z"), Outcome::Fail, "B", "check",
         tcxo.arg(162)},
        {"4C5881500002", "a1", at("2026-12-07T10:00:00Z"), Outcome::Pass, "B", "", ""},
        {"4C5881500005", "a1", at("2026-12-08T08:00:00Z"), Outcome::Fail, "B", "check",
         tcxo.arg(165)},
        {"4C5881500004", "a1", at("2026-12-08T08:30:00Z"), Outcome::Error, "B", "identify",
         noReply},
        {"4C5881500006", "a1", at("2026-12-08T09:00:00Z"), Outcome::Fail, "B", "check",
         "/TxPowerAdj/cell42 = 12, below Min 20"},
        {"4C5881500001", "b2", at("2026-12-08T10:00:00Z"), Outcome::Pass, "B", "", ""},
    };
}

void compareYield(const YieldFigures &got, int units, int tested, int runs, int retests,
                  int firstPassed, int finalPassed, const QMap<Outcome, int> &outcomes)
{
    QCOMPARE(got.units, units);
    QCOMPARE(got.tested, tested);
    QCOMPARE(got.runs, runs);
    QCOMPARE(got.retests, retests);
    QCOMPARE(got.firstPassed, firstPassed);
    QCOMPARE(got.finalPassed, finalPassed);
    QCOMPARE(got.outcomes, outcomes);
}

void compareOptional(const std::optional<double> &got, double expected, const char *what)
{
    QVERIFY2(got.has_value() == !std::isnan(expected), what);
    if (got)
        QVERIFY2(
            std::abs(*got - expected) < 1e-9,
            qPrintable(QStringLiteral("%1: %2, expected %3").arg(what).arg(*got).arg(expected)));
}
} // namespace

class TestStats : public QObject
{
    Q_OBJECT

private slots:
    void yields();
    void paretoOfFirstFailures();
    void failureKeys_data();
    void failureKeys();
    void controlChart();
    void seriesEdges_data();
    void seriesEdges();
    void powerCurves();
};

void TestStats::yields()
{
    // Units under a recipe: ...01/a1, 02, 03, 04, 05, 06, ...01/b2 = 7 (6 serial numbers).
    // First runs passed: 01/a1 PASS, 03 MARGINAL, 01/b2 PASS = 3 -> 3/7.
    // Last runs passed: those 3 and 02 (retest PASS) = 4 -> 4/7; 04 ends ERROR, 05 and 06 FAIL.
    // Retests: 10 runs - 7 first runs = 3 (02 at B, 04 and 05 again).
    const YieldFigures all = yieldOf(history());
    compareYield(
        all, 6, 7, 10, 3, 3, 4,
        {{Outcome::Pass, 3}, {Outcome::Marginal, 1}, {Outcome::Fail, 2}, {Outcome::Error, 1}});
    QCOMPARE(*all.firstPassYield(), 3.0 / 7);
    QCOMPARE(*all.finalYield(), 4.0 / 7);
    QVERIFY(!yieldOf({}).firstPassYield() && !yieldOf({}).finalYield());

    // In the line's zone (UTC+8) the 23:30 UTC run is on 12-07. Units where their first run
    // was: 12-07: 01/a1, 02, 03, 04 (first passed 01, 03; final also 02: 3; runs 1-4 and 02's
    // retest = 5, 1 retest). 12-08: 05, 06, 01/b2 (first and final 01/b2 only; runs 5, of
    // which 05 and 04 again are retests, 04's belonging to 12-07's unit).
    const QList<YieldGroup> days = yieldPerDay(history(), QTimeZone(8 * 3600));
    QCOMPARE(days.size(), 2);
    QCOMPARE(days.at(0).key, QStringLiteral("2026-12-07"));
    compareYield(days.at(0).figures, 4, 4, 5, 1, 2, 3,
                 {{Outcome::Pass, 2}, {Outcome::Marginal, 1}, {Outcome::Error, 1}});
    QCOMPARE(days.at(1).key, QStringLiteral("2026-12-08"));
    compareYield(days.at(1).figures, 3, 3, 5, 2, 1, 1, {{Outcome::Pass, 1}, {Outcome::Fail, 2}});
    QCOMPARE(yieldPerDay(history(), QTimeZone::utc()).first().key, QStringLiteral("2026-12-06"));

    // Station A: 01/a1, 02, 03, 04 started there, 4 runs, no retest. Station B: 05, 06, 01/b2
    // started there; all 6 runs after the first four took place there, 3 of them retests.
    const QList<YieldGroup> stations = yieldPerStation(history());
    QCOMPARE(stations.size(), 2);
    QCOMPARE(stations.at(0).key, QStringLiteral("A"));
    compareYield(stations.at(0).figures, 4, 4, 4, 0, 2, 3,
                 {{Outcome::Pass, 2}, {Outcome::Marginal, 1}, {Outcome::Error, 1}});
    QCOMPARE(stations.at(1).key, QStringLiteral("B"));
    compareYield(stations.at(1).figures, 3, 3, 6, 3, 1, 1,
                 {{Outcome::Pass, 1}, {Outcome::Fail, 2}});
}

void TestStats::paretoOfFirstFailures()
{
    // Failed units 02, 04, 05, 06 = 4; 05's first failure is the one at 08:00 (165), 04's
    // second error is not counted. TCXO 2 (0.5, 0.5); then two of 1 (0.25): "check" before
    // "identify" although 04 failed before 06.
    const QList<ParetoRow> rows = pareto(history());
    QCOMPARE(rows.size(), 3);
    const struct
    {
        const char *step, *failure, *example;
        int count;
        double share, cumulative;
    } expected[] = {
        {"check", "/TCXO_BIAS = #, above Max #", "/TCXO_BIAS = 171, above Max 160", 2, 0.5, 0.5},
        {"check", "/TxPowerAdj/cell42 = #, below Min #", "/TxPowerAdj/cell42 = 12, below Min 20", 1,
         0.25, 0.75},
        {"identify", "no reply from # after # tries", "no reply from 4C5881500004 after 3 tries", 1,
         0.25, 1.0},
    };
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).step, QString::fromLatin1(expected[i].step));
        QCOMPARE(rows.at(i).failure, QString::fromLatin1(expected[i].failure));
        QCOMPARE(rows.at(i).example, QString::fromLatin1(expected[i].example));
        QCOMPARE(rows.at(i).count, expected[i].count);
        QCOMPARE(rows.at(i).share, expected[i].share);
        QCOMPARE(rows.at(i).cumulative, expected[i].cumulative);
    }
    QVERIFY(pareto({}).isEmpty());
}

void TestStats::failureKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("limit") << "/TCXO_BIAS = 171, above Max 160"
                           << "/TCXO_BIAS = #, above Max #";
    QTest::newRow("path with a number, signed decimal") << "/TxPowerAdj/cell42 = -3.5, below Min 0"
                                                        << "/TxPowerAdj/cell42 = #, below Min #";
    QTest::newRow("serial number") << "no reply from 4C5881500004 after 3 tries"
                                   << "no reply from # after # tries";
    QTest::newRow("serial number in a file path") << "cannot write /srv/backups/4C5881500004.json"
                                                  << "cannot write /srv/backups/#.json";
    QTest::newRow("names keep their numbers") << "model LX-815 V1 is not accepted by this recipe"
                                              << "model LX-815 V1 is not accepted by this recipe";
    QTest::newRow("Chinese limit") << "/TCXO_BIAS = 171，高于上限 160"
                                   << "/TCXO_BIAS = #，高于上限 #";
    QTest::newRow("Chinese text, units") << "功率171mW低于下限200mW"
                                         << "功率#mW低于下限#mW";
    QTest::newRow("date, time, hex, exponent, percent, full stop")
        << "at 2026-12-08 19:45:00, 0x1F, 1e-3, 50%. 3 W: 12.5 dB."
        << "at # #, #, #, #%. # W: # dB.";
}

void TestStats::failureKeys()
{
    QFETCH(QString, text);
    QTEST(failureKey(text), "key");
}

void TestStats::controlChart()
{
    // In time order: 10 10 11 10 10 11 10 10 11 30 (S01..S10), limits 0..40.
    // mean = (6*10 + 3*11 + 30) / 10 = 12.3
    // squares: 6*2.3^2 + 3*1.3^2 + 17.7^2 = 31.74 + 5.07 + 313.29 = 350.1; sigma = sqrt(350.1/9)
    // moving ranges 0 1 1 0 1 1 0 1 19 = 24 / 9; UCL/LCL = 12.3 +- 2.66 * 24/9 = 19.393/5.207
    // S10 = 30 > UCL; S01..S09 all below 12.3: one run of 9.
    // Cp = 40 / (6 sigma); Cpk = min(40 - 12.3, 12.3 - 0) / (3 sigma).
    const double values[] = {10, 10, 11, 10, 10, 11, 10, 10, 11, 30};
    QList<SeriesPoint> points;
    for (int i = 0; i < 10; ++i)
        points.append({QStringLiteral("S%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                       at("2026-12-08T08:00:00Z").addSecs(60 * i), values[i]});
    points.swapItemsAt(0, 9); // the input's order does not matter
    const SeriesFigures figures = analyseSeries(points, SpecLimits{0, 40, 5});
    const double sigma = std::sqrt(350.1 / 9);
    QCOMPARE(figures.count, 10);
    compareOptional(figures.mean, 12.3, "mean");
    compareOptional(figures.sigma, sigma, "sigma");
    compareOptional(figures.movingRange, 24.0 / 9, "moving range");
    compareOptional(figures.ucl, 12.3 + 2.66 * 24 / 9, "UCL");
    compareOptional(figures.lcl, 12.3 - 2.66 * 24 / 9, "LCL");
    compareOptional(figures.cp, 40 / (6 * sigma), "Cp");
    compareOptional(figures.cpk, 12.3 / (3 * sigma), "Cpk");
    QCOMPARE(figures.outOfControlSerials(), QStringList{"S10"});
    QCOMPARE(figures.runs.size(), 1);
    QCOMPARE(figures.runs.first().first, 0);
    QCOMPARE(figures.runs.first().last, 8);
    QVERIFY(!figures.runs.first().above);
}

void TestStats::seriesEdges_data()
{
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<bool>("limits"); // 0..10
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("sigma");
    QTest::addColumn<double>("ucl");
    QTest::addColumn<double>("cp");
    QTest::addColumn<int>("outOfControl");
    QTest::addColumn<int>("runs");
    QTest::newRow("empty") << QVector<double>{} << true << 0 << kNone << kNone << kNone << kNone
                           << 0 << 0;
    QTest::newRow("one point") << QVector<double>{5} << true << 1 << 5.0 << kNone << kNone << kNone
                               << 0 << 0;
    // Nine times 0.1 summed is not 0.9: the mean must still be 0.1, every point on the line.
    QTest::newRow("constant") << QVector<double>(9, 0.1) << true << 9 << 0.1 << 0.0 << 0.1 << kNone
                              << 0 << 0;
    // 4, 6: mean 5, sigma sqrt(2), moving range 2, UCL 5 + 5.32; Cp = Cpk = 10 / (6 sqrt 2).
    QTest::newRow("not a number left out")
        << QVector<double>{4, kNone, 6} << true << 2 << 5.0 << std::sqrt(2.0) << 10.32
        << 10 / (6 * std::sqrt(2.0)) << 0 << 0;
    QTest::newRow("no limits") << QVector<double>{4, 6} << false << 2 << 5.0 << std::sqrt(2.0)
                               << 10.32 << kNone << 0 << 0;
    // 1 2 1 2 1 2 1 2 then the same below 0: mean 0, squares 8 * (1 + 4) = 40 over 15; moving
    // ranges 7 * 1 + 3 + 7 * 1 = 17 over 15: UCL 2.66 * 17/15 = 3.01. A run of 8 on each side.
    QVector<double> sides{1, 2, 1, 2, 1, 2, 1, 2};
    for (int i = 0; i < 8; ++i)
        sides.append(-sides.at(i));
    QTest::newRow("runs of eight")
        << sides << false << 16 << 0.0 << std::sqrt(40.0 / 15) << 2.66 * 17 / 15 << kNone << 0 << 2;
    // 1 x 7 then 0: mean 0.875, squares 7 * 0.125^2 + 0.875^2 = 0.875 over 7, moving range 1/7,
    // LCL 0.875 - 0.38 = 0.495 > 0: the last point is out; seven on one side is no run.
    QTest::newRow("seven") << QVector<double>(7, 1.0) + QVector<double>{0} << false << 8 << 0.875
                           << std::sqrt(0.875 * 0.125 * 8 / 7) << 0.875 + 2.66 / 7 << kNone << 1
                           << 0;
}

void TestStats::seriesEdges()
{
    QFETCH(QVector<double>, values);
    QFETCH(bool, limits);
    QList<SeriesPoint> points;
    for (int i = 0; i < values.size(); ++i)
        points.append({QString::number(i), at("2026-12-08T08:00:00Z").addSecs(i), values.at(i)});
    const SeriesFigures figures =
        analyseSeries(points, limits ? std::optional<SpecLimits>({0, 10, 0}) : std::nullopt);
    QTEST(figures.count, "count");
    QFETCH(double, mean);
    QFETCH(double, sigma);
    QFETCH(double, ucl);
    QFETCH(double, cp);
    compareOptional(figures.mean, mean, "mean");
    compareOptional(figures.sigma, sigma, "sigma");
    compareOptional(figures.ucl, ucl, "UCL");
    compareOptional(figures.cp, cp, "Cp");
    compareOptional(figures.cpk, cp, "Cpk"); // every series with limits is centred in 0..10
    QTEST(int(figures.outOfControl.size()), "outOfControl");
    QTEST(int(figures.runs.size()), "runs");
}

void TestStats::powerCurves()
{
    // Cell "/TxPowerAdj/cellPL": power P (0 = 1 W), point L (0 low, 2 high).
    const auto unit = [](double base) {
        return PowerCurves::fromValues(
            {{"/TxPowerAdj/cell00", base}, {"/TxPowerAdj/cell42", base + 40}, {"/TCXO_BIAS", 1}});
    };
    QCOMPARE(unit(10).cells[0][0], 10.0);
    QCOMPARE(unit(10).cells[2][4], 50.0);
    QVERIFY(std::isnan(unit(10).cells[1][0]));
    // Medians: of 10 30 20 -> 20; of 10 30 (a unit without the cell) -> 20; none -> NaN.
    PowerCurves third = unit(20);
    third.cells[2][4] = kNone;
    const PowerCurves median = PowerCurves::median({unit(10), unit(30), third});
    QCOMPARE(median.cells[0][0], 20.0);
    QCOMPARE(median.cells[2][4], 60.0);
    QVERIFY(std::isnan(median.cells[1][1]));
    QVERIFY(PowerCurves().isEmpty() && !median.isEmpty());
}

QTEST_GUILESS_MAIN(TestStats)
#include "tst_stats.moc"
