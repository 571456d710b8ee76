#pragma once

#include "station/lane.h"

#include <QSet>
#include <QString>
#include <QVector>

// What a station has done in a period: units, PASS, MARGINAL, FAIL, ERROR, the first-pass
// yield and the median cycle time. A unit run again (same serial number) counts as one more
// run, and only its first run counts for the first-pass yield.
class UnitTotals
{
public:
    void add(LaneUnit::Outcome outcome, const QString &serialNumber, double seconds);

    int units() const { return m_units; }
    int count(LaneUnit::Outcome outcome) const { return m_counts[int(outcome)]; }
    // Share of distinct units that passed (or were marginal) on their first run; nothing
    // before the first unit.
    std::optional<double> firstPassYield() const;
    // Of every run's cycle time; nothing before the first unit.
    std::optional<double> medianSeconds() const;

private:
    int m_units = 0;
    int m_counts[4] = {};
    int m_firstRuns = 0;      // distinct units (a unit without a serial number is its own)
    int m_firstRunPasses = 0; // of those, passed or marginal on the first run
    QSet<QString> m_seen;
    QVector<double> m_seconds;
};
