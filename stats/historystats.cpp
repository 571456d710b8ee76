#include "stats/historystats.h"

#include "records/recordstore.h"

#include <QHash>
#include <QMap>
#include <QSqlQuery>
#include <QVarLengthArray>
#include <QVariant>

#include <algorithm>

namespace {
constexpr qint64 kDayMs = 86400000;
constexpr qint64 kUnixEpochJulianDay = 2440588; // 1970-01-01
constexpr int kNamesFromRuns = 50;              // the value list: what the latest runs measured
const QString kPowerPrefix = QStringLiteral("/TxPowerAdj/");

// The filter as conditions on unit_records r, with the values of their ?s in order. Only runs
// of a recipe count: the window's and the tool's own reads and writes are not the line's.
struct Conditions
{
    QString sql;
    QVariantList values;
};

Conditions conditionsOf(const Stats::HistoryFilter &filter)
{
    Conditions c;
    QStringList parts{QStringLiteral("r.recipe_sha256 <> ''")};
    const auto add = [&](const QString &part, const QVariant &value) {
        parts.append(part);
        c.values.append(value);
    };
    if (filter.since.isValid())
        add(QStringLiteral("r.finished_ms >= ?"), filter.since.toMSecsSinceEpoch());
    if (filter.until.isValid())
        add(QStringLiteral("r.finished_ms < ?"), filter.until.toMSecsSinceEpoch());
    if (!filter.station.isEmpty())
        add(QStringLiteral("r.station = ?"), filter.station);
    if (!filter.recipeSha.isEmpty())
        add(QStringLiteral("r.recipe_sha256 = ?"), filter.recipeSha.toLower());
    if (!filter.revision.isEmpty())
        add(QStringLiteral("r.recipe_revision = ?"), filter.revision);
    if (!filter.model.isEmpty())
        add(QStringLiteral("r.model = ?"), filter.model);
    if (!filter.operatorName.isEmpty())
        add(QStringLiteral("r.operator_name = ?"), filter.operatorName);
    if (filter.lane)
        add(QStringLiteral("r.lane = ?"), *filter.lane);
    c.sql = parts.join(QStringLiteral(" AND "));
    return c;
}

// The day of finished_ms in the zone, as days since 1970-01-01: the zone's offset is constant
// between its transitions, so the expression is exact over the range and cheap per row.
QString dayExpression(const QTimeZone &zone, qint64 from, qint64 to)
{
    const auto offsetAt = [&](qint64 ms) {
        return qint64(zone.offsetFromUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC))) * 1000;
    };
    QString offset;
    const auto transitions = zone.transitions(QDateTime::fromMSecsSinceEpoch(from, Qt::UTC),
                                              QDateTime::fromMSecsSinceEpoch(to, Qt::UTC));
    if (transitions.isEmpty()) {
        offset = QString::number(offsetAt(from));
    } else {
        offset = QStringLiteral("CASE");
        qint64 before = offsetAt(from);
        for (const QTimeZone::OffsetData &t : transitions) {
            offset += QStringLiteral(" WHEN r.finished_ms < %1 THEN %2")
                          .arg(t.atUtc.toMSecsSinceEpoch())
                          .arg(before);
            before = qint64(t.offsetFromUtc) * 1000;
        }
        offset += QStringLiteral(" ELSE %1 END").arg(before);
    }
    return QStringLiteral("((r.finished_ms + %1) / %2)").arg(offset).arg(kDayMs);
}

qint64 number(const QSqlQuery &q, int column)
{
    return q.value(column).toLongLong();
}

// The latest measurement's limits: a recipe revised on the way draws its current ones.
std::optional<Stats::SpecLimits> limitsOf(const QVariant &min, const QVariant &max,
                                          const QVariant &marginal)
{
    if (min.isNull() || max.isNull())
        return std::nullopt;
    return Stats::SpecLimits{min.toDouble(), max.toDouble(),
                             marginal.isNull() ? 0.0 : marginal.toDouble()};
}
} // namespace

Stats::HistoryStats::HistoryStats(RecordStore &store)
    : m_store(store)
{}

QString Stats::HistoryStats::lastError() const
{
    return m_store.lastError();
}

std::optional<Stats::HistoryFigures> Stats::HistoryStats::figures(const HistoryFilter &filter,
                                                                  const QTimeZone &zone)
{
    const Conditions c = conditionsOf(filter);
    qint64 from = 0;
    qint64 to = 0;
    if (!m_store.select(QStringLiteral("SELECT MIN(r.finished_ms), MAX(r.finished_ms) FROM "
                                       "unit_records r WHERE %1")
                            .arg(c.sql),
                        c.values, [&](const QSqlQuery &q) {
                            from = number(q, 0);
                            to = number(q, 1);
                        }))
        return std::nullopt;

    // One scan in the order of the history's index on units: each serial number's runs come
    // together, oldest first, so that a unit's first and last run are known when its serial
    // number ends, with nothing else held. The failure texts come only for failed runs.
    const QString sql =
        QStringLiteral(
            "SELECT r.serial_number, r.recipe_sha256, %1, r.station, LOWER(r.outcome), "
            "CASE WHEN LOWER(r.outcome) IN ('pass', 'marginal') THEN NULL ELSE r.failed_step "
            "END, CASE WHEN LOWER(r.outcome) IN ('pass', 'marginal') THEN NULL ELSE r.message "
            "END, r.finished_ms FROM unit_records r WHERE %2 ORDER BY r.serial_number, "
            "r.started_ms, r.id")
            .arg(dayExpression(zone, from, to), c.sql);

    struct Row
    {
        QString recipe;
        qint64 day = 0;
        QString station;
        Outcome outcome = Outcome::Pass;
        QString step;
        QString message;
        qint64 finished = 0;
    };
    YieldFigures total;
    QMap<qint64, YieldFigures> days;
    QMap<QString, YieldFigures> stations;
    struct Failure
    {
        int count = 0;
        qint64 earliest = 0;
        QString example;
    };
    QMap<QPair<QString, QString>, Failure> failures;
    QHash<QString, QString> keys; // failureKey() of each text met
    int failed = 0;
    QString serial;
    QList<Row> rows; // the current serial number's
    const QHash<QString, Outcome> outcomes{{QStringLiteral("pass"), Outcome::Pass},
                                           {QStringLiteral("marginal"), Outcome::Marginal},
                                           {QStringLiteral("fail"), Outcome::Fail}};

    const auto count = [](YieldFigures &y, const Row &first, const Row &last) {
        ++y.tested;
        y.firstPassed += passes(first.outcome) ? 1 : 0;
        y.finalPassed += passes(last.outcome) ? 1 : 0;
        ++y.outcomes[last.outcome];
    };
    const auto endSerial = [&] {
        if (rows.isEmpty())
            return;
        // A serial number has a run or two: short lists beat hashing here.
        QVarLengthArray<qint64, 4> unitDays;
        QVarLengthArray<QString, 4> unitStations;
        QVarLengthArray<QString, 4> recipes;
        for (int i = 0; i < rows.size(); ++i) {
            const Row &run = rows.at(i);
            const bool first = !recipes.contains(run.recipe);
            YieldFigures *const groups[] = {&total, &days[run.day], &stations[run.station]};
            for (YieldFigures *y : groups) {
                ++y->runs;
                y->retests += first ? 0 : 1;
            }
            if (!first)
                continue;
            recipes.append(run.recipe);
            // The unit under this recipe: its last run, and its first failure.
            const Row *last = &run;
            const Row *failure = passes(run.outcome) ? nullptr : &run;
            for (int j = i + 1; j < rows.size(); ++j) {
                if (rows.at(j).recipe != run.recipe)
                    continue;
                last = &rows.at(j);
                if (!failure && !passes(last->outcome))
                    failure = last;
            }
            for (YieldFigures *y : groups)
                count(*y, run, *last);
            if (!unitDays.contains(run.day))
                unitDays.append(run.day);
            if (!unitStations.contains(run.station))
                unitStations.append(run.station);
            if (failure) {
                ++failed;
                auto key = keys.constFind(failure->message);
                if (key == keys.constEnd())
                    key = keys.insert(failure->message, failureKey(failure->message));
                Failure &f = failures[{failure->step, *key}];
                if (f.count++ == 0 || failure->finished < f.earliest ||
                    (failure->finished == f.earliest && failure->message < f.example)) {
                    f.earliest = failure->finished;
                    f.example = failure->message;
                }
            }
        }
        ++total.units;
        for (const qint64 day : unitDays)
            ++days[day].units;
        for (const QString &station : unitStations)
            ++stations[station].units;
        rows.clear();
    };
    if (!m_store.select(sql, c.values, [&](const QSqlQuery &q) {
            const QString here = q.value(0).toString();
            if (here != serial) {
                endSerial();
                serial = here;
            }
            rows.append({q.value(1).toString(), number(q, 2), q.value(3).toString(),
                         outcomes.value(q.value(4).toString(), Outcome::Error),
                         q.value(5).toString(), q.value(6).toString(), number(q, 7)});
        }))
        return std::nullopt;
    endSerial();

    HistoryFigures result;
    result.total = total;
    for (auto it = days.begin(); it != days.end(); ++it)
        result.perDay.append(
            {QDate::fromJulianDay(it.key() + kUnixEpochJulianDay).toString(Qt::ISODate), *it});
    for (auto it = stations.begin(); it != stations.end(); ++it)
        result.perStation.append({it.key(), *it});
    for (auto it = failures.begin(); it != failures.end(); ++it)
        result.pareto.append({it.key().first, it.key().second, it->example, it->count});
    std::sort(result.pareto.begin(), result.pareto.end(),
              [](const ParetoRow &a, const ParetoRow &b) {
                  if (a.count != b.count)
                      return a.count > b.count;
                  return a.step != b.step ? a.step < b.step : a.failure < b.failure;
              });
    int sum = 0;
    for (ParetoRow &row : result.pareto) {
        sum += row.count;
        row.share = double(row.count) / failed;
        row.cumulative = double(sum) / failed;
    }
    return result;
}

std::optional<Stats::ValueSeries> Stats::HistoryStats::series(const HistoryFilter &filter,
                                                              const QString &name)
{
    Conditions c = conditionsOf(filter);
    c.values.prepend(name);
    const QString sql =
        QStringLiteral("SELECT r.serial_number, r.finished_ms, m.value, m.min_value, "
                       "m.max_value, m.marginal FROM unit_measurements m JOIN unit_records "
                       "r ON r.entry_id = m.entry_id WHERE m.name = ? AND %1 ORDER BY "
                       "r.finished_ms, r.id, m.position")
            .arg(c.sql);
    QList<SeriesPoint> points;
    std::optional<SpecLimits> limits;
    if (!m_store.select(sql, c.values, [&](const QSqlQuery &q) {
            points.append({q.value(0).toString(),
                           QDateTime::fromMSecsSinceEpoch(number(q, 1), Qt::UTC),
                           q.value(2).toDouble()});
            if (const auto here = limitsOf(q.value(3), q.value(4), q.value(5)))
                limits = here;
        }))
        return std::nullopt;
    return ValueSeries{name, analyseSeries(points, limits), limits};
}

std::optional<QList<Stats::HistoryEntry>> Stats::HistoryStats::entries(const HistoryFilter &filter,
                                                                       int limit)
{
    const Conditions c = conditionsOf(filter);
    const QString sql = QStringLiteral("SELECT r.entry_id, r.serial_number, r.finished_ms, "
                                       "r.station, r.outcome, r.recipe, r.recipe_revision, "
                                       "r.failed_step, r.message FROM unit_records r WHERE %1 "
                                       "ORDER BY r.finished_ms DESC, r.id DESC LIMIT %2")
                            .arg(c.sql)
                            .arg(std::max(0, limit));
    QList<HistoryEntry> result;
    if (!m_store.select(sql, c.values, [&](const QSqlQuery &q) {
            result.append({q.value(0).toString(), q.value(1).toString(),
                           QDateTime::fromMSecsSinceEpoch(number(q, 2), Qt::UTC),
                           q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                           q.value(6).toString(), q.value(7).toString(), q.value(8).toString()});
        }))
        return std::nullopt;
    return result;
}

std::optional<QStringList> Stats::HistoryStats::valueNames(const HistoryFilter &filter)
{
    const Conditions c = conditionsOf(filter);
    const QString sql = QStringLiteral("SELECT DISTINCT m.name FROM unit_measurements m WHERE "
                                       "m.entry_id IN (SELECT r.entry_id FROM unit_records r "
                                       "WHERE %1 ORDER BY r.finished_ms DESC LIMIT %2)")
                            .arg(c.sql)
                            .arg(kNamesFromRuns);
    QStringList names;
    if (!m_store.select(sql, c.values,
                        [&](const QSqlQuery &q) { names.append(q.value(0).toString()); }))
        return std::nullopt;
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<Stats::UnitPowerCurves> Stats::HistoryStats::powerCurves(const HistoryFilter &filter,
                                                                       const QString &serialNumber)
{
    // The unit's runs with a power table, newest first, whatever the filter: its previous
    // calibration may be older than the time range.
    QList<QString> unitRuns;
    QHash<QString, QHash<QString, double>> values;
    const QString like = kPowerPrefix + QLatin1Char('%');
    const QString unitSql = QStringLiteral(
        "SELECT r.entry_id, m.name, m.value FROM unit_records r JOIN unit_measurements m ON "
        "m.entry_id = r.entry_id WHERE r.serial_number = ? AND m.name LIKE ? ORDER BY "
        "r.finished_ms DESC, r.id DESC");
    if (!m_store.select(unitSql, {serialNumber, like}, [&](const QSqlQuery &q) {
            const QString entry = q.value(0).toString();
            if (!values.contains(entry))
                unitRuns.append(entry);
            values[entry].insert(q.value(1).toString(), q.value(2).toDouble());
        }))
        return std::nullopt;
    if (unitRuns.isEmpty())
        return std::nullopt;

    Conditions c = conditionsOf(filter);
    c.values.append(like);
    const QString lineSql =
        QStringLiteral("SELECT m.entry_id, m.name, m.value FROM unit_measurements m "
                       "WHERE m.entry_id IN (SELECT r.entry_id FROM unit_records r "
                       "WHERE %1 ORDER BY r.finished_ms DESC LIMIT %2) AND m.name LIKE ?")
            .arg(c.sql)
            .arg(kMedianUnits);
    QHash<QString, QHash<QString, double>> line;
    if (!m_store.select(lineSql, c.values, [&](const QSqlQuery &q) {
            line[q.value(0).toString()].insert(q.value(1).toString(), q.value(2).toDouble());
        }))
        return std::nullopt;
    QList<PowerCurves> lineCurves;
    for (const auto &unitValues : qAsConst(line))
        lineCurves.append(PowerCurves::fromValues(unitValues));

    UnitPowerCurves result;
    result.unit = PowerCurves::fromValues(values.value(unitRuns.at(0)));
    result.median = PowerCurves::median(lineCurves);
    if (unitRuns.size() > 1)
        result.previous = PowerCurves::fromValues(values.value(unitRuns.at(1)));
    return result;
}
