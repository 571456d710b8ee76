#pragma once

#include "stats/runs.h"

#include <qwt_plot.h>

// The failures, largest first, as bars of their count, and their cumulative share as a line on
// the right axis; each bar is named by its rank and step (the table beside it gives the text).
class ParetoChart : public QwtPlot
{
    Q_OBJECT

public:
    explicit ParetoChart(QWidget *parent = nullptr);
    void setRows(const QList<Stats::ParetoRow> &rows);

private:
    QList<QwtPlotItem *> m_items;
};
