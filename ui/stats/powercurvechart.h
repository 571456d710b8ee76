#pragma once

#include "stats/powercurves.h"

#include <qwt_plot.h>

#include <optional>

// A unit's transmit power table as curves, power level against cell value for each frequency
// point, beside the line's median (dashed) and the unit's previous calibration (dotted).
class PowerCurveChart : public QwtPlot
{
    Q_OBJECT

public:
    explicit PowerCurveChart(QWidget *parent = nullptr);
    void setCurves(const QString &serialNumber, const Stats::PowerCurves &unit,
                   const Stats::PowerCurves &median,
                   const std::optional<Stats::PowerCurves> &previous);

private:
    QList<QwtPlotItem *> m_items;
};
