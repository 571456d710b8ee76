#include "stats/runs.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {
using Key = QPair<QString, QString>; // serial number, recipe

// The runs' indexes in time order; equal times keep the order given.
QVector<int> timeOrder(const QList<Stats::Run> &runs)
{
    QVector<int> order(runs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return runs.at(a).time < runs.at(b).time; });
    return order;
}

struct Unit
{
    int first = -1;
    int last = -1;
};

// Each unit's first and last run, units in the order of their first run.
QList<Unit> unitsOf(const QList<Stats::Run> &runs, const QVector<int> &order)
{
    QHash<Key, int> index;
    QList<Unit> units;
    for (const int i : order) {
        const Key key{runs.at(i).serialNumber, runs.at(i).recipeSha};
        const auto found = index.constFind(key);
        if (found == index.constEnd()) {
            index.insert(key, units.size());
            units.append({i, i});
        } else {
            units[*found].last = i;
        }
    }
    return units;
}

QList<Stats::YieldGroup> grouped(const QList<Stats::Run> &runs,
                                 const std::function<QString(const Stats::Run &)> &groupOf)
{
    const QVector<int> order = timeOrder(runs);
    const QList<Unit> units = unitsOf(runs, order);
    QMap<QString, Stats::YieldFigures> groups;
    QMap<QString, QSet<QString>> serials;
    QVector<bool> isFirst(runs.size(), false);
    for (const Unit &unit : units) {
        isFirst[unit.first] = true;
        const Stats::Run &first = runs.at(unit.first);
        const Stats::Run &last = runs.at(unit.last);
        const QString group = groupOf(first);
        Stats::YieldFigures &figures = groups[group];
        serials[group].insert(first.serialNumber);
        ++figures.tested;
        figures.firstPassed += Stats::passes(first.outcome) ? 1 : 0;
        figures.finalPassed += Stats::passes(last.outcome) ? 1 : 0;
        ++figures.outcomes[last.outcome];
    }
    for (int i = 0; i < runs.size(); ++i) {
        Stats::YieldFigures &figures = groups[groupOf(runs.at(i))];
        ++figures.runs;
        figures.retests += isFirst.at(i) ? 0 : 1;
    }
    QList<Stats::YieldGroup> result;
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        it->units = serials.value(it.key()).size();
        result.append({it.key(), *it});
    }
    return result;
}

std::optional<double> fraction(int part, int whole)
{
    if (whole == 0)
        return std::nullopt;
    return double(part) / whole;
}
} // namespace

QString Stats::outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Pass:
        return QStringLiteral("PASS");
    case Outcome::Marginal:
        return QStringLiteral("MARGINAL");
    case Outcome::Fail:
        return QStringLiteral("FAIL");
    case Outcome::Error:
        break;
    }
    return QStringLiteral("ERROR");
}

std::optional<Stats::Outcome> Stats::outcomeFromName(const QString &name)
{
    for (const Outcome outcome :
         {Outcome::Pass, Outcome::Marginal, Outcome::Fail, Outcome::Error}) {
        if (name.compare(outcomeName(outcome), Qt::CaseInsensitive) == 0)
            return outcome;
    }
    return std::nullopt;
}

bool Stats::passes(Outcome outcome)
{
    return outcome == Outcome::Pass || outcome == Outcome::Marginal;
}

std::optional<double> Stats::YieldFigures::firstPassYield() const
{
    return fraction(firstPassed, tested);
}

std::optional<double> Stats::YieldFigures::finalYield() const
{
    return fraction(finalPassed, tested);
}

Stats::YieldFigures Stats::yieldOf(const QList<Run> &runs)
{
    const QList<YieldGroup> all = grouped(runs, [](const Run &) { return QString(); });
    return all.isEmpty() ? YieldFigures() : all.first().figures;
}

QList<Stats::YieldGroup> Stats::yieldPerDay(const QList<Run> &runs, const QTimeZone &zone)
{
    return grouped(runs, [&](const Run &run) {
        return run.time.toTimeZone(zone).date().toString(Qt::ISODate);
    });
}

QList<Stats::YieldGroup> Stats::yieldPerStation(const QList<Run> &runs)
{
    return grouped(runs, [](const Run &run) { return run.station; });
}

QList<Stats::ParetoRow> Stats::pareto(const QList<Run> &runs)
{
    QHash<Key, bool> seen;
    QList<ParetoRow> rows;
    QHash<QPair<QString, QString>, int> rowOf;
    int failed = 0;
    for (const int i : timeOrder(runs)) {
        const Run &run = runs.at(i);
        if (passes(run.outcome))
            continue;
        const Key unit{run.serialNumber, run.recipeSha};
        if (seen.contains(unit))
            continue;
        seen.insert(unit, true);
        ++failed;
        const QPair<QString, QString> group{run.failureStep, failureKey(run.failureText)};
        const auto found = rowOf.constFind(group);
        if (found != rowOf.constEnd()) {
            ++rows[*found].count;
            continue;
        }
        rowOf.insert(group, rows.size());
        rows.append({group.first, group.second, run.failureText, 1});
    }
    std::sort(rows.begin(), rows.end(), [](const ParetoRow &a, const ParetoRow &b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.step != b.step ? a.step < b.step : a.failure < b.failure;
    });
    int sum = 0;
    for (ParetoRow &row : rows) {
        sum += row.count;
        row.share = double(row.count) / failed;
        row.cumulative = double(sum) / failed;
    }
    return rows;
}

QString Stats::failureKey(const QString &text)
{
    // Tried at each position in this order: a path (kept, its serial numbers aside), a serial
    // number, a number. ASCII word characters only, so that a number inside Chinese text goes.
    static const QString serial = QStringLiteral(R"((?<!\w)(?=[A-Fa-f]*\d)[0-9A-Fa-f]{12}(?!\w))");
    static const QRegularExpression serialOnly(serial);
    static const QRegularExpression token(
        QStringLiteral(R"x((?<path>(?<![\w.])/[^\s,;=()"']+)|)x") + serial +
        QStringLiteral(R"(|(?<![\w.])(?<!\w-)(?:(?<=^|[\s(=:,;<>\[])[-+])?)"
                       R"((?:0[xX][0-9A-Fa-f]+|\d+(?:[-:/.]\d+)*(?:[eE][-+]?\d+)?))"
                       R"((?!\.?\d)(?=[A-Za-z%]*(?!\w)))"));
    const QString hash = QStringLiteral("#");
    QString result;
    int done = 0;
    auto matches = token.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        result += text.midRef(done, match.capturedStart() - done);
        QString path = match.captured(QStringLiteral("path"));
        result += path.isNull() ? hash : path.replace(serialOnly, hash);
        done = match.capturedEnd();
    }
    result += text.midRef(done);
    return result;
}
