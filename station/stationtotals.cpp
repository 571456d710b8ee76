#include "station/stationtotals.h"

#include <algorithm>

namespace {
Stats::Outcome statsOutcome(LaneUnit::Outcome outcome)
{
    switch (outcome) {
    case LaneUnit::Outcome::Pass:
        return Stats::Outcome::Pass;
    case LaneUnit::Outcome::Marginal:
        return Stats::Outcome::Marginal;
    case LaneUnit::Outcome::Fail:
        return Stats::Outcome::Fail;
    case LaneUnit::Outcome::Error:
        break;
    }
    return Stats::Outcome::Error;
}
} // namespace

void StationTotals::add(const LaneUnit &unit)
{
    m_seconds.append(unit.seconds());
    ++m_counts[static_cast<int>(unit.outcome)];
    if (unit.identity.serialNumber.isEmpty())
        return;
    Stats::Run run;
    run.serialNumber = unit.identity.serialNumber;
    run.recipeSha = unit.recipeSha256;
    run.time = unit.started;
    run.outcome = statsOutcome(unit.outcome);
    m_runs.append(run);
}

int StationTotals::count(LaneUnit::Outcome outcome) const
{
    return m_counts.at(static_cast<int>(outcome));
}

std::optional<double> StationTotals::firstPassYield() const
{
    return Stats::yieldOf(m_runs).firstPassYield();
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
