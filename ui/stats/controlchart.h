#pragma once

#include "stats/series.h"

#include <qwt_plot.h>

#include <optional>

class QwtPlotMarker;

// An individuals control chart of one value: the points in time order, the centre line, UCL
// and LCL, the recipe's Min and Max with their marginal bands, the points beyond the control
// limits and those of a run marked, and the unit chosen in the table highlighted.
class ControlChart : public QwtPlot
{
    Q_OBJECT

public:
    explicit ControlChart(QWidget *parent = nullptr);
    // valueName titles the chart and its axis: "/TCXO_BIAS".
    void setSeries(const QString &valueName, const Stats::SeriesFigures &figures,
                   const std::optional<Stats::SpecLimits> &limits);
    // The chart's title, with how many points are drawn when not all: "/TCXO_BIAS control chart
    // (the latest 2000 of 100000 points)".
    static QString titleOf(const QString &valueName, const Stats::SeriesFigures &shown,
                           const Stats::SeriesFigures &all);
    // A point of figures.points; -1: none.
    void highlight(int index);

private:
    void addLine(double value, const QString &label, const QColor &colour, Qt::PenStyle style);

    QList<QwtPlotItem *> m_items;
    QwtPlotMarker *m_highlight = nullptr;
    Stats::SeriesFigures m_figures;
};
