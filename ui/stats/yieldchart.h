#pragma once

#include "stats/runs.h"

#include <qwt_plot.h>

// First-pass and final yield as bars, one pair per day or per station, each with its
// percentage above it.
class YieldChart : public QwtPlot
{
    Q_OBJECT

public:
    enum class Grouping
    {
        Day,
        Station,
    };

    explicit YieldChart(QWidget *parent = nullptr);
    void setGroups(const QList<Stats::YieldGroup> &groups, Grouping grouping);

private:
    QList<QwtPlotItem *> m_items; // replaced with the data; the grid stays
};
