#include "station/unittotals.h"

#include <algorithm>

void UnitTotals::add(LaneUnit::Outcome outcome, const QString &serialNumber, double seconds)
{
    ++m_units;
    ++m_counts[int(outcome)];
    m_seconds.append(seconds);
    if (!serialNumber.isEmpty() && m_seen.contains(serialNumber))
        return;
    if (!serialNumber.isEmpty())
        m_seen.insert(serialNumber);
    ++m_firstRuns;
    if (outcome == LaneUnit::Outcome::Pass || outcome == LaneUnit::Outcome::Marginal)
        ++m_firstRunPasses;
}

std::optional<double> UnitTotals::firstPassYield() const
{
    if (m_firstRuns == 0)
        return std::nullopt;
    return double(m_firstRunPasses) / m_firstRuns;
}

std::optional<double> UnitTotals::medianSeconds() const
{
    if (m_seconds.isEmpty())
        return std::nullopt;
    QVector<double> sorted = m_seconds;
    std::sort(sorted.begin(), sorted.end());
    const int middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2.0;
}
