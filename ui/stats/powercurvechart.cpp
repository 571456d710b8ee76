#include "ui/stats/powercurvechart.h"

#include "ui/stats/chartparts.h"

#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

#include <cmath>

namespace {
constexpr int kSymbolSize = 7;                // px
constexpr QSize kLegendIcon{24, kSymbolSize}; // px: long enough to show a dash
} // namespace

PowerCurveChart::PowerCurveChart(QWidget *parent)
    : QwtPlot(parent)
{
    ChartParts::prepare(this);
    setAxisTitle(QwtPlot::xBottom, tr("功率档位 (W)"));
    setAxisTitle(QwtPlot::yLeft, tr("功率表值"));
    setAxisScale(QwtPlot::xBottom, 0.5, Stats::PowerCurves::kLevels + 0.5, 1);
    setAxisMaxMinor(QwtPlot::xBottom, 0);
}

void PowerCurveChart::setCurves(const QString &serialNumber, const Stats::PowerCurves &unit,
                                const Stats::PowerCurves &median,
                                const std::optional<Stats::PowerCurves> &previous)
{
    qDeleteAll(m_items);
    m_items.clear();
    setTitle(tr("%1 功率表").arg(serialNumber));
    const QString pointNames[] = {tr("低频点"), tr("中频点"), tr("高频点")};
    const auto add = [&](const Stats::PowerCurves &curves, int point, const QString &title,
                         Qt::PenStyle style, bool symbols) {
        QVector<QPointF> samples;
        for (int level = 0; level < Stats::PowerCurves::kLevels; ++level) {
            const double cell = curves.cells[point][level];
            if (std::isfinite(cell))
                samples.append({double(level + 1), cell}); // level 0 is 1 W
        }
        if (samples.isEmpty())
            return;
        const QColor colour = ChartParts::kFrequencyPoints[point];
        auto *curve = new QwtPlotCurve(title);
        curve->setPen(colour, symbols ? 2 : 1.5, style);
        if (symbols)
            curve->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(colour), QPen(colour),
                                           QSize(kSymbolSize, kSymbolSize)));
        // The legend shows the line, so that the median and the previous curve tell apart.
        curve->setLegendAttribute(QwtPlotCurve::LegendShowLine);
        curve->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
        curve->setLegendIconSize(kLegendIcon);
        curve->setSamples(samples);
        curve->attach(this);
        m_items.append(curve);
    };
    for (int point = 0; point < Stats::PowerCurves::kPoints; ++point) {
        add(unit, point, pointNames[point], Qt::SolidLine, true);
        add(median, point, tr("%1 全线中位数").arg(pointNames[point]), Qt::DashLine, false);
        if (previous)
            add(*previous, point, tr("%1 上次校准").arg(pointNames[point]), Qt::DotLine, false);
    }
    setAxisAutoScale(QwtPlot::yLeft);
    replot();
}
