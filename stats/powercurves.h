#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <array>

namespace Stats {

// A unit's transmit power table as curves: for each frequency point (low, middle, high) the
// cell against the five power levels (1 W ... 5 W). NaN where the unit has no value.
struct PowerCurves
{
    static constexpr int kPoints = 3;
    static constexpr int kLevels = 5;
    std::array<std::array<double, kLevels>, kPoints> cells;

    PowerCurves();
    // From a unit's values by path ("/TxPowerAdj/cell42": power 4, high point), as the
    // calibration file names them; other paths are ignored.
    static PowerCurves fromValues(const QHash<QString, double> &values);
    // Cell by cell, the median of the units that have the cell (the mean of the two middle
    // values for an even count).
    static PowerCurves median(const QList<PowerCurves> &units);

    bool isEmpty() const; // no cell has a value
};

} // namespace Stats
