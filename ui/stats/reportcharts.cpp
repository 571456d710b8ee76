// The report's charts drawn by the statistics window's own charts, offscreen. Linked into the
// command line as an object of its own: it installs itself when the program starts, so that
// the command line's code never names a widget.
#include "stats/historyreport.h"
#include "ui/stats/chartexport.h"
#include "ui/stats/controlchart.h"
#include "ui/stats/paretochart.h"
#include "ui/stats/yieldchart.h"

#include <QApplication>

namespace {
class WidgetReportCharts : public Stats::ReportCharts
{
public:
    QByteArray yield(const QList<Stats::YieldGroup> &groups, bool perStation) override
    {
        YieldChart chart;
        chart.setGroups(groups,
                        perStation ? YieldChart::Grouping::Station : YieldChart::Grouping::Day);
        return ChartExport::svg(&chart);
    }
    QByteArray pareto(const QList<Stats::ParetoRow> &rows) override
    {
        ParetoChart chart;
        chart.setRows(rows);
        return ChartExport::svg(&chart);
    }
    QByteArray control(const Stats::ValueSeries &series) override
    {
        ControlChart chart;
        const Stats::SeriesFigures shown = Stats::latestPoints(series.figures);
        chart.setSeries(series.name, shown, series.limits);
        chart.setTitle(ControlChart::titleOf(series.name, shown, series.figures));
        return ChartExport::svg(&chart);
    }
};

QCoreApplication *makeApplication(int &argc, char **argv)
{
    // No display is needed, nor wanted: a report is made on a server as well.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
}

WidgetReportCharts charts;
[[maybe_unused]] const bool installed = Stats::ReportCharts::install(&charts, makeApplication);
} // namespace
