#include "station/stationtotals.h"

#include <algorithm>

void StationTotals::add(const LaneUnit &unit)
{
    m_seconds.append(unit.seconds());
    ++m_counts[static_cast<int>(unit.outcome)];
    // A unit that never said its serial number cannot be told from the next one.
    if (unit.identity.serialNumber.isEmpty())
        return;
    const QString key = unit.recipeSha256 + QLatin1Char('/') + unit.identity.serialNumber;
    if (!m_firstPassed.contains(key))
        m_firstPassed.insert(key, unit.outcome == LaneUnit::Outcome::Pass ||
                                      unit.outcome == LaneUnit::Outcome::Marginal);
}

int StationTotals::count(LaneUnit::Outcome outcome) const
{
    return m_counts.at(static_cast<int>(outcome));
}

std::optional<double> StationTotals::firstPassYield() const
{
    if (m_firstPassed.isEmpty())
        return std::nullopt;
    const auto passed = std::count(m_firstPassed.cbegin(), m_firstPassed.cend(), true);
    return double(passed) / m_firstPassed.size();
}

std::optional<double> StationTotals::medianCycleSeconds() const
{
    if (m_seconds.isEmpty())
        return std::nullopt;
    QList<double> sorted = m_seconds;
    std::sort(sorted.begin(), sorted.end());
    const int n = int(sorted.size());
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

QString StationTotals::summary() const
{
    using O = LaneUnit::Outcome;
    return tr("模块 %1，通过 %2，临界 %3，失败 %4，错误 %5，一次通过率 %6%，周期时间中位数 %7 秒")
        .arg(units())
        .arg(count(O::Pass))
        .arg(count(O::Marginal))
        .arg(count(O::Fail))
        .arg(count(O::Error))
        .arg(firstPassYield().value_or(0.0) * 100.0, 0, 'f', 1)
        .arg(medianCycleSeconds().value_or(0.0), 0, 'f', 1);
}
