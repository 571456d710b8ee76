#include "ui/stats/yieldchart.h"

#include "ui/stats/chartparts.h"

#include <qwt_column_symbol.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_multi_barchart.h>

namespace {
constexpr double kFullScale = 110;    // % : room for the labels above a bar of 100 %
constexpr double kLabelOffset = 0.17; // category widths: above each bar of a pair

QwtColumnSymbol *column(const QColor &colour)
{
    auto *symbol = new QwtColumnSymbol(QwtColumnSymbol::Box);
    symbol->setPalette(QPalette(colour));
    symbol->setLineWidth(0);
    return symbol;
}
} // namespace

YieldChart::YieldChart(QWidget *parent)
    : QwtPlot(parent)
{
    ChartParts::prepare(this);
    setTitle(tr("良率"));
    setAxisTitle(QwtPlot::yLeft, tr("良率 (%)"));
    setAxisScale(QwtPlot::yLeft, 0, kFullScale, 20);
}

void YieldChart::setGroups(const QList<Stats::YieldGroup> &groups, Grouping grouping)
{
    qDeleteAll(m_items);
    m_items.clear();
    setAxisTitle(QwtPlot::xBottom,
                 grouping == Grouping::Day ? tr("日期（首次测试）") : tr("工位（首次测试）"));
    QStringList names;
    QVector<QVector<double>> samples;
    auto *bars = new QwtPlotMultiBarChart;
    bars->setBarTitles({QwtText(tr("直通率")), QwtText(tr("最终良率"))});
    bars->setSymbol(0, column(ChartParts::kPoints));
    bars->setSymbol(1, column(ChartParts::kSecondary));
    bars->setLegendIconSize(QSize(10, 10));
    for (int i = 0; i < groups.size(); ++i) {
        const Stats::YieldFigures &figures = groups.at(i).figures;
        names.append(groups.at(i).key);
        const auto first = figures.firstPassYield();
        const auto final = figures.finalYield();
        samples.append({first.value_or(0) * 100, final.value_or(0) * 100});
        // A group with no unit of its own (only retests) has no yield: no label, no bar.
        const std::pair<std::optional<double>, double> labels[] = {{first, -kLabelOffset},
                                                                   {final, kLabelOffset}};
        for (const auto &[value, offset] : labels) {
            if (!value)
                continue;
            auto *label = new QwtPlotMarker;
            label->setValue(i + offset, *value * 100);
            label->setLabel(ChartParts::percent(*value));
            label->setLabelAlignment(Qt::AlignTop | Qt::AlignHCenter);
            label->attach(this);
            m_items.append(label);
        }
    }
    bars->setSamples(samples);
    bars->attach(this);
    m_items.append(bars);
    ChartParts::setCategories(this, QwtPlot::xBottom, names);
    replot();
}
