#include "ui/stats/paretochart.h"

#include "ui/stats/chartparts.h"

#include <qwt_column_symbol.h>
#include <qwt_plot_barchart.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>

namespace {
constexpr double kFullScale = 110; // %: room for the labels above 100 %
constexpr int kSymbolSize = 7;     // px
} // namespace

ParetoChart::ParetoChart(QWidget *parent)
    : QwtPlot(parent)
{
    ChartParts::prepare(this);
    setTitle(tr("失效排列图"));
    setAxisTitle(QwtPlot::xBottom, tr("首次失效（按步骤）"));
    setAxisTitle(QwtPlot::yLeft, tr("单元数"));
    enableAxis(QwtPlot::yRight);
    setAxisTitle(QwtPlot::yRight, tr("累计 (%)"));
    setAxisScale(QwtPlot::yRight, 0, kFullScale, 20);
}

void ParetoChart::setRows(const QList<Stats::ParetoRow> &rows)
{
    qDeleteAll(m_items);
    m_items.clear();
    QStringList names;
    QVector<double> counts;
    QVector<QPointF> cumulative;
    int largest = 0;
    for (int i = 0; i < rows.size(); ++i) {
        names.append(QStringLiteral("%1 %2").arg(i + 1).arg(rows.at(i).step));
        counts.append(rows.at(i).count);
        cumulative.append({double(i), rows.at(i).cumulative * 100});
        largest = qMax(largest, rows.at(i).count);
        auto *label = new QwtPlotMarker;
        label->setYAxis(QwtPlot::yRight);
        label->setValue(i, rows.at(i).cumulative * 100);
        label->setLabel(ChartParts::coloured(ChartParts::percent(rows.at(i).cumulative),
                                             ChartParts::kCumulative));
        label->setLabelAlignment(Qt::AlignTop | Qt::AlignHCenter);
        label->attach(this);
        m_items.append(label);
    }
    auto *bars = new QwtPlotBarChart(tr("失效数"));
    auto *column = new QwtColumnSymbol(QwtColumnSymbol::Box);
    column->setPalette(QPalette(ChartParts::kPoints));
    column->setLineWidth(0);
    bars->setSymbol(column);
    bars->setLegendMode(QwtPlotBarChart::LegendChartTitle);
    bars->setSamples(counts);
    bars->attach(this);
    m_items.append(bars);

    auto *line = new QwtPlotCurve(tr("累计占比"));
    line->setYAxis(QwtPlot::yRight);
    line->setPen(ChartParts::kCumulative, 2);
    line->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(ChartParts::kCumulative),
                                  QPen(ChartParts::kCumulative), QSize(kSymbolSize, kSymbolSize)));
    line->setSamples(cumulative);
    line->attach(this);
    m_items.append(line);

    ChartParts::setCategories(this, QwtPlot::xBottom, names);
    // Whole units on the left, about five ticks; a little room above the largest bar.
    setAxisScale(QwtPlot::yLeft, 0, qMax(1.0, largest * 1.1), qMax(1, (largest + 4) / 5));
    setAxisMaxMinor(QwtPlot::yLeft, 0);
    replot();
}
