#pragma once

#include "stats/powercurves.h"
#include "stats/runs.h"
#include "stats/series.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <optional>

class RecordStore;

namespace Stats {

// Which runs of recipes the figures are about; an empty member is any.
struct HistoryFilter
{
    QDateTime since; // finished at or after
    QDateTime until; // finished before
    QString station;
    QString recipeSha;
    QString revision;
    QString model;
    QString operatorName;
    std::optional<int> lane;
};

struct HistoryFigures
{
    YieldFigures total;
    QList<YieldGroup> perDay; // in the zone asked for, oldest first
    QList<YieldGroup> perStation;
    QList<ParetoRow> pareto;
};

// A value's points and the recipe's limits on it (the latest run's that has them).
struct ValueSeries
{
    QString name;
    SeriesFigures figures;
    std::optional<SpecLimits> limits;
};

// One run as the statistics window's table lists it.
struct HistoryEntry
{
    QString entryId;
    QString serialNumber;
    QDateTime finished;
    QString station;
    QString outcome;
    QString recipe;
    QString revision;
    QString failedStep;
    QString message;
};

// A unit's transmit power table beside the line's.
struct UnitPowerCurves
{
    PowerCurves unit;
    PowerCurves median; // of the latest units of the filter
    std::optional<PowerCurves> previous;
};

// The line's figures asked of the history's database: the aggregation and the ordering run
// there, over only the columns they need, so that a long history is never loaded whole; the
// numbers are those of runs.h and series.h on the same runs. One object per thread, on that
// thread's store.
class HistoryStats
{
public:
    static constexpr int kMedianUnits = 200; // the line's median power curves: the latest units

    explicit HistoryStats(RecordStore &store);

    std::optional<HistoryFigures> figures(const HistoryFilter &filter,
                                          const QTimeZone &zone = QTimeZone::utc());
    std::optional<ValueSeries> series(const HistoryFilter &filter, const QString &name);
    // Newest first.
    std::optional<QList<HistoryEntry>> entries(const HistoryFilter &filter, int limit);
    // The values the latest runs measured, in name order.
    std::optional<QStringList> valueNames(const HistoryFilter &filter);
    // The unit's latest run with a power table, and the one before it; nothing without one.
    std::optional<UnitPowerCurves> powerCurves(const HistoryFilter &filter,
                                               const QString &serialNumber);

    QString lastError() const;

private:
    RecordStore &m_store;
};

} // namespace Stats
