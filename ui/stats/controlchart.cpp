#include "ui/stats/controlchart.h"

#include "ui/stats/chartparts.h"

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_zoneitem.h>
#include <qwt_symbol.h>

#include <algorithm>

namespace {
constexpr int kPointSize = 6;        // px
constexpr int kMarkSize = 11;        // px: a ring around a point that is out of control or in a run
constexpr int kHighlightSize = 16;   // px
constexpr int kBandAlpha = 110;      // the bands stay behind the points and lines
constexpr double kMargin = 0.08;     // of the range, above and below
constexpr double kMinimumMargin = 1; // for a constant series

QwtSymbol *symbol(QwtSymbol::Style style, const QColor &colour, int size, bool filled)
{
    return new QwtSymbol(style, filled ? QBrush(colour) : QBrush(Qt::NoBrush), QPen(colour, 2),
                         QSize(size, size));
}
} // namespace

ControlChart::ControlChart(QWidget *parent)
    : QwtPlot(parent)
{
    ChartParts::prepare(this);
    setAxisTitle(QwtPlot::xBottom, tr("测试序号（按时间）"));
}

void ControlChart::addLine(double value, const QString &label, const QColor &colour,
                           Qt::PenStyle style)
{
    auto *line = new QwtPlotMarker;
    line->setLineStyle(QwtPlotMarker::HLine);
    line->setLinePen(colour, 1.5, style);
    line->setYValue(value);
    line->setLabel(ChartParts::coloured(label, colour));
    line->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    line->attach(this);
    m_items.append(line);
}

void ControlChart::setSeries(const QString &valueName, const Stats::SeriesFigures &figures,
                             const std::optional<Stats::SpecLimits> &limits)
{
    qDeleteAll(m_items);
    m_items.clear();
    m_highlight = nullptr;
    m_figures = figures;
    setTitle(tr("%1 控制图").arg(valueName));
    setAxisTitle(QwtPlot::yLeft, valueName);

    if (limits && limits->marginal > 0) {
        for (const auto &[from, to] : {std::pair(limits->min, limits->min + limits->marginal),
                                       std::pair(limits->max - limits->marginal, limits->max)}) {
            auto *band = new QwtPlotZoneItem;
            band->setOrientation(Qt::Horizontal);
            band->setInterval(from, to);
            QColor fill = ChartParts::kMarginalBand;
            fill.setAlpha(kBandAlpha);
            band->setBrush(fill);
            band->setTitle(tr("临界带"));
            band->setItemAttribute(QwtPlotItem::Legend, from == limits->min);
            band->attach(this);
            m_items.append(band);
        }
    }
    if (limits) {
        addLine(limits->max, tr("上限 %1").arg(ChartParts::number(limits->max)),
                ChartParts::kSpecLimits, Qt::SolidLine);
        addLine(limits->min, tr("下限 %1").arg(ChartParts::number(limits->min)),
                ChartParts::kSpecLimits, Qt::SolidLine);
    }
    if (figures.mean)
        addLine(*figures.mean, QStringLiteral("CL %1").arg(ChartParts::number(*figures.mean)),
                ChartParts::kSecondary, Qt::SolidLine);
    if (figures.ucl && figures.lcl) {
        addLine(*figures.ucl, QStringLiteral("UCL %1").arg(ChartParts::number(*figures.ucl)),
                ChartParts::kControlLimits, Qt::DashLine);
        addLine(*figures.lcl, QStringLiteral("LCL %1").arg(ChartParts::number(*figures.lcl)),
                ChartParts::kControlLimits, Qt::DashLine);
    }

    QVector<QPointF> values;
    for (int i = 0; i < figures.points.size(); ++i)
        values.append({double(i + 1), figures.points.at(i).value});
    auto *curve = new QwtPlotCurve(valueName);
    curve->setPen(ChartParts::kPoints, 1);
    curve->setSymbol(symbol(QwtSymbol::Ellipse, ChartParts::kPoints, kPointSize, true));
    curve->setSamples(values);
    curve->attach(this);
    m_items.append(curve);

    const auto addMarks = [&](const QString &title, const QList<int> &indexes,
                              const QColor &colour) {
        if (indexes.isEmpty())
            return;
        QVector<QPointF> points;
        for (const int i : indexes)
            points.append(values.at(i));
        auto *marks = new QwtPlotCurve(title);
        marks->setStyle(QwtPlotCurve::NoCurve);
        marks->setSymbol(symbol(QwtSymbol::Ellipse, colour, kMarkSize, false));
        marks->setSamples(points);
        marks->attach(this);
        m_items.append(marks);
    };
    QList<int> inRuns;
    for (const Stats::ControlRun &run : figures.runs) {
        for (int i = run.first; i <= run.last; ++i)
            inRuns.append(i);
    }
    addMarks(tr("连续 %1 点在中心线同侧").arg(Stats::kRunLength), inRuns, ChartParts::kRun);
    addMarks(tr("超出控制限"), figures.outOfControl, ChartParts::kControlLimits);

    // The lines are markers, which do not scale the axis: the range holds them and the points.
    QVector<double> heights;
    for (const QPointF &point : values)
        heights.append(point.y());
    for (const auto &line : {figures.ucl, figures.lcl})
        heights.append(line ? *line : figures.mean.value_or(0));
    if (limits)
        heights << limits->min << limits->max;
    const auto [low, high] = std::minmax_element(heights.begin(), heights.end());
    const double margin = qMax((*high - *low) * kMargin, kMinimumMargin);
    setAxisScale(QwtPlot::yLeft, *low - margin, *high + margin);
    setAxisScale(QwtPlot::xBottom, 0, figures.points.size() + 1);
    replot();
}

void ControlChart::highlight(int index)
{
    delete m_highlight;
    m_items.removeAll(m_highlight);
    m_highlight = nullptr;
    if (index < 0 || index >= m_figures.points.size()) {
        replot();
        return;
    }
    m_highlight = new QwtPlotMarker(m_figures.points.at(index).serialNumber);
    m_highlight->setValue(index + 1, m_figures.points.at(index).value);
    m_highlight->setSymbol(
        symbol(QwtSymbol::Diamond, ChartParts::kHighlight, kHighlightSize, false));
    m_highlight->setLabel(
        ChartParts::coloured(m_figures.points.at(index).serialNumber, ChartParts::kHighlight));
    m_highlight->setLabelAlignment(Qt::AlignRight | Qt::AlignBottom);
    m_highlight->attach(this);
    m_items.append(m_highlight);
    replot();
}

QString ControlChart::titleOf(const QString &valueName, const Stats::SeriesFigures &shown,
                              const Stats::SeriesFigures &all)
{
    if (shown.points.size() == all.points.size())
        return tr("%1 控制图").arg(valueName);
    return tr("%1 控制图（最近 %2 点，共 %3 点）")
        .arg(valueName)
        .arg(shown.points.size())
        .arg(all.points.size());
}
