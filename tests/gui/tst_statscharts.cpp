// The statistics charts drawn offscreen from the hand-worked history of tst_stats: each export
// holds the figures' lines, labels and marks.
#include "app/language.h"
#include "stats/powercurves.h"
#include "stats/runs.h"
#include "stats/series.h"
#include "ui/stats/chartexport.h"
#include "ui/stats/chartparts.h"
#include "ui/stats/controlchart.h"
#include "ui/stats/paretochart.h"
#include "ui/stats/powercurvechart.h"
#include "ui/stats/yieldchart.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using Build = std::function<QwtPlot *()>;
Q_DECLARE_METATYPE(Build)

namespace {
Stats::Run run(const char *serial, const char *time, Stats::Outcome outcome, const char *station,
               const char *text = "")
{
    return {serial,  "a1", QDateTime::fromString(time, Qt::ISODate), outcome, station,
            "check", text};
}

// Day 1: 4 units, 2 pass first time, 3 in the end (50 %, 75 %); day 2: 3 units, 1 passes (33 %).
QList<Stats::Run> history()
{
    using O = Stats::Outcome;
    return {run("01", "2026-12-07T09:00:00Z", O::Pass, "A"),
            run("02", "2026-12-07T09:10:00Z", O::Fail, "A", "/TCXO_BIAS = 171, above Max 160"),
            run("03", "2026-12-07T09:20:00Z", O::Marginal, "A"),
            run("04", "2026-12-07T09:30:00Z", O::Error, "A", "no reply"),
            run("02", "2026-12-07T10:00:00Z", O::Pass, "B"),
            run("05", "2026-12-08T08:00:00Z", O::Fail, "B", "/TCXO_BIAS = 165, above Max 160"),
            run("06", "2026-12-08T09:00:00Z", O::Fail, "B", "/TxPowerAdj/cell42 = 12"),
            run("07", "2026-12-08T10:00:00Z", O::Pass, "B")};
}

// 10 10 11 10 10 11 10 10 11 30: CL 12.3, UCL 12.3 + 2.66 * 24/9 = 19.393, LCL 5.2067; S10 is
// beyond UCL, S01..S09 a run below the line.
Stats::SeriesFigures drifting()
{
    const double values[] = {10, 10, 11, 10, 10, 11, 10, 10, 11, 30};
    QList<Stats::SeriesPoint> points;
    for (int i = 0; i < 10; ++i)
        points.append({QStringLiteral("S%1").arg(i + 1),
                       QDateTime(QDate(2026, 12, 8), QTime(8, i), Qt::UTC), values[i]});
    return Stats::analyseSeries(points, Stats::SpecLimits{0, 40, 5});
}

Stats::PowerCurves curves(double base)
{
    Stats::PowerCurves result;
    for (int point = 0; point < Stats::PowerCurves::kPoints; ++point) {
        for (int level = 0; level < Stats::PowerCurves::kLevels; ++level)
            result.cells[point][level] = base + 20 * level + 5 * point;
    }
    return result;
}

QString colour(const QColor &colour)
{
    return colour.name(); // "#d62728", as the SVG writes a stroke or a fill
}
} // namespace

class TestStatsCharts : public QObject
{
    Q_OBJECT

private slots:
    void exports_data();
    void exports();
    void fileErrors();
};

void TestStatsCharts::exports_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("contains");
    QTest::addColumn<QStringList>("lacks");
    QTest::newRow("yield per day") << Build([] {
        auto *chart = new YieldChart;
        chart->setGroups(Stats::yieldPerDay(history(), QTimeZone::utc()),
                         YieldChart::Grouping::Day);
        return chart;
    })
                                   << QStringList{"2026-12-07",
                                                  "2026-12-08",
                                                  "50%",
                                                  "75%",
                                                  "33%",
                                                  colour(ChartParts::kPoints),
                                                  colour(ChartParts::kSecondary)}
                                   << QStringList{"67%"};
    // TCXO 2 of 4 (50 %), then 75 %, 100 %.
    QTest::newRow("pareto") << Build([] {
        auto *chart = new ParetoChart;
        chart->setRows(Stats::pareto(history()));
        return chart;
    }) << QStringList{"1 check", "3 check", "50%", "75%", "100%", colour(ChartParts::kCumulative)}
                            << QStringList{"4 check"};
    QTest::newRow("control chart, S3 chosen") << Build([] {
        auto *chart = new ControlChart;
        chart->setSeries("/TCXO_BIAS", drifting(), Stats::SpecLimits{0, 40, 5});
        chart->highlight(2);
        return chart;
    })
                                              << QStringList{"CL 12.3",
                                                             "UCL 19.393",
                                                             "LCL 5.2067",
                                                             "40",
                                                             "S3",
                                                             colour(ChartParts::kControlLimits),
                                                             colour(ChartParts::kSpecLimits),
                                                             colour(ChartParts::kMarginalBand),
                                                             colour(ChartParts::kRun),
                                                             colour(ChartParts::kHighlight)}
                                              << QStringList{};
    QTest::newRow("control chart without limits or a choice")
        << Build([] {
               auto *chart = new ControlChart;
               chart->setSeries("/TCXO_BIAS", drifting(), std::nullopt);
               chart->highlight(2);
               chart->highlight(-1);
               return chart;
           })
        << QStringList{"UCL 19.393", colour(ChartParts::kControlLimits)}
        << QStringList{colour(ChartParts::kSpecLimits), colour(ChartParts::kMarginalBand),
                       colour(ChartParts::kHighlight)};
    QTest::newRow("power curves") << Build([] {
        auto *chart = new PowerCurveChart;
        chart->setCurves("4C5881500001", curves(100),
                         Stats::PowerCurves::median({curves(90), curves(110)}), curves(95));
        return chart;
    })
                                  << QStringList{"4C5881500001",
                                                 colour(ChartParts::kFrequencyPoints[0]),
                                                 colour(ChartParts::kFrequencyPoints[2])}
                                  << QStringList{};
    QTest::newRow("power curves in English")
        << Build([] {
               Language::install(Language::kEnglish);
               auto *chart = new PowerCurveChart;
               chart->setCurves("4C5881500001", curves(100), curves(100), curves(95));
               Language::install(Language::kChinese);
               return chart;
           })
        << QStringList{"Power level (W)", "Low point, line median",
                       "High point, previous calibration"}
        << QStringList{"低频点"};
}

void TestStatsCharts::exports()
{
    QFETCH(Build, build);
    QFETCH(QStringList, contains);
    QFETCH(QStringList, lacks);
    const std::unique_ptr<QwtPlot> chart(build());
    const QString svg = QString::fromUtf8(ChartExport::svg(chart.get()));
    QVERIFY(svg.startsWith("<?xml"));
    for (const QString &needle : contains)
        QVERIFY2(svg.contains(needle), qPrintable(needle));
    for (const QString &needle : lacks)
        QVERIFY2(!svg.contains(needle), qPrintable(needle));

    // LX_CHART_DIR keeps the images to look at.
    QTemporaryDir temporary;
    const QDir dir(qEnvironmentVariable("LX_CHART_DIR", temporary.path()));
    const QString png = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".png");
    QString error;
    QVERIFY2(ChartExport::save(chart.get(), png, &error), qPrintable(error));
    QVERIFY2(ChartExport::save(chart.get(), QString(png).replace(".png", ".svg"), &error),
             qPrintable(error));
    const QImage image(png);
    QCOMPARE(image.size(), ChartExport::kSize);
    QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2) != QColor(Qt::black));
}

void TestStatsCharts::fileErrors()
{
    YieldChart chart;
    QTemporaryDir dir;
    QString error;
    QVERIFY(!ChartExport::save(&chart, dir.filePath("chart.pdf"), &error));
    QVERIFY(error.contains("chart.pdf"));
    QVERIFY(!ChartExport::save(&chart, dir.filePath("none/chart.svg"), &error));
    QVERIFY(error.contains("none/chart.svg"));
}

QTEST_MAIN(TestStatsCharts)
#include "tst_statscharts.moc"
