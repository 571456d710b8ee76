#include "stats/historystats.h"

#include "records/recordstore.h"

#include <QHash>
#include <QSqlQuery>
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

    // A unit is a serial number under one recipe: n numbers its runs, oldest first; its first
    // run (n = 1) carries the unit's figures into the group of that run, every run its own
    // count and retest into the group where it took place.
    const QString sql =
        QStringLiteral(
            "WITH f AS (SELECT r.id, r.serial_number AS s, r.recipe_sha256 AS k, "
            "r.finished_ms AS t, r.station AS st, %1 AS d, LOWER(r.outcome) AS o, "
            "CASE WHEN LOWER(r.outcome) IN ('pass', 'marginal') THEN 1 ELSE 0 END AS ok "
            "FROM unit_records r WHERE %2), "
            "u AS (SELECT s, d, st, ok, "
            "ROW_NUMBER() OVER (PARTITION BY s, k ORDER BY t, id) AS n, "
            "FIRST_VALUE(ok) OVER (PARTITION BY s, k ORDER BY t DESC, id DESC) AS last_ok, "
            "FIRST_VALUE(o) OVER (PARTITION BY s, k ORDER BY t DESC, id DESC) AS last_o "
            "FROM f) "
            "SELECT %3, COUNT(*), SUM(CASE WHEN n > 1 THEN 1 ELSE 0 END), "
            "SUM(CASE WHEN n = 1 THEN 1 ELSE 0 END), COUNT(DISTINCT CASE WHEN n = 1 THEN s END), "
            "SUM(CASE WHEN n = 1 THEN ok ELSE 0 END), SUM(CASE WHEN n = 1 THEN last_ok ELSE 0 "
            "END), SUM(CASE WHEN n = 1 AND last_o = 'pass' THEN 1 ELSE 0 END), "
            "SUM(CASE WHEN n = 1 AND last_o = 'marginal' THEN 1 ELSE 0 END), "
            "SUM(CASE WHEN n = 1 AND last_o = 'fail' THEN 1 ELSE 0 END), "
            "SUM(CASE WHEN n = 1 AND last_o NOT IN ('pass', 'marginal', 'fail') THEN 1 ELSE 0 "
            "END) FROM u%4")
            .arg(dayExpression(zone, from, to), c.sql);
    const auto figuresOf = [](const QSqlQuery &q) {
        YieldFigures y;
        y.runs = int(number(q, 1));
        y.retests = int(number(q, 2));
        y.tested = int(number(q, 3));
        y.units = int(number(q, 4));
        y.firstPassed = int(number(q, 5));
        y.finalPassed = int(number(q, 6));
        const Outcome outcomes[] = {Outcome::Pass, Outcome::Marginal, Outcome::Fail,
                                    Outcome::Error};
        for (int i = 0; i < 4; ++i) {
            if (const int count = int(number(q, 7 + i)))
                y.outcomes.insert(outcomes[i], count);
        }
        return y;
    };

    HistoryFigures result;
    const QString totalSql = sql.arg(QStringLiteral("''"), QString());
    if (!m_store.select(totalSql, c.values,
                        [&](const QSqlQuery &q) { result.total = figuresOf(q); }))
        return std::nullopt;
    if (!m_store.select(sql.arg(QStringLiteral("d"), QStringLiteral(" GROUP BY d ORDER BY d")),
                        c.values, [&](const QSqlQuery &q) {
                            const QDate day =
                                QDate::fromJulianDay(number(q, 0) + kUnixEpochJulianDay);
                            result.perDay.append({day.toString(Qt::ISODate), figuresOf(q)});
                        }))
        return std::nullopt;
    if (!m_store.select(sql.arg(QStringLiteral("st"), QStringLiteral(" GROUP BY st")), c.values,
                        [&](const QSqlQuery &q) {
                            result.perStation.append({q.value(0).toString(), figuresOf(q)});
                        }))
        return std::nullopt;
    // Name order in code points, whatever the database's collation.
    std::sort(result.perStation.begin(), result.perStation.end(),
              [](const YieldGroup &a, const YieldGroup &b) { return a.key < b.key; });

    // Each failed unit's first failure, grouped in the database by its exact text; the texts'
    // variable parts go here, by the same key as runs.h's Pareto.
    const QString paretoSql =
        QStringLiteral(
            "WITH f AS (SELECT r.failed_step AS step, r.message AS m, r.finished_ms AS t, "
            "ROW_NUMBER() OVER (PARTITION BY r.serial_number, r.recipe_sha256 ORDER BY "
            "r.finished_ms, r.id) AS n FROM unit_records r WHERE %1 AND LOWER(r.outcome) NOT IN "
            "('pass', 'marginal')) "
            "SELECT step, m, COUNT(*), MIN(t) FROM f WHERE n = 1 GROUP BY step, m")
            .arg(c.sql);
    QHash<QPair<QString, QString>, int> rowOf;
    QList<qint64> earliest;
    int failed = 0;
    if (!m_store.select(paretoSql, c.values, [&](const QSqlQuery &q) {
            const QString step = q.value(0).toString();
            const QString text = q.value(1).toString();
            const int count = int(number(q, 2));
            const qint64 time = number(q, 3);
            failed += count;
            const QPair<QString, QString> group{step, failureKey(text)};
            const auto found = rowOf.constFind(group);
            if (found == rowOf.constEnd()) {
                rowOf.insert(group, result.pareto.size());
                result.pareto.append({group.first, group.second, text, count});
                earliest.append(time);
                return;
            }
            ParetoRow &row = result.pareto[*found];
            row.count += count;
            if (time < earliest.at(*found) || (time == earliest.at(*found) && text < row.example)) {
                earliest[*found] = time;
                row.example = text;
            }
        }))
        return std::nullopt;
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
