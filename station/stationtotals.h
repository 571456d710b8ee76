#pragma once

#include "station/lane.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// What the units of a lane or of a whole station came to since it was started: the counts, the
// first-pass yield and the median cycle time. For the summary of
// `run --watch` and the station window's totals alike.
class StationTotals
{
    Q_DECLARE_TR_FUNCTIONS(StationTotals)

public:
    void add(const LaneUnit &unit);

    int units() const { return int(m_seconds.size()); }
    int count(LaneUnit::Outcome outcome) const;
    // Of the units run, those whose first run passed or was marginal, 0-1; nothing before a
    // unit. A unit is a serial number under one recipe, as in the line's statistics.
    std::optional<double> firstPassYield() const;
    // Seconds; nothing before a unit.
    std::optional<double> medianCycleSeconds() const;
    // "units 8, pass 4, marginal 1, fail 3, error 0, first-pass yield 62.5%, median cycle time
    // 6.3 s"; translated.
    QString summary() const;

private:
    QList<double> m_seconds;
    QList<int> m_counts{0, 0, 0, 0};    // by LaneUnit::Outcome
    QHash<QString, bool> m_firstPassed; // recipe and serial number: whether its first run passed
};
