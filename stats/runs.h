#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QTimeZone>

#include <optional>

// The line's figures from the units' runs: plain values in, numbers out, so that the history's
// queries, the statistics window and the report compute them the same way.
namespace Stats {

enum class Outcome
{
    Pass,
    Marginal,
    Fail,
    Error, // the run stopped before a verdict (a lost port, a refused write)
};

// "PASS", "MARGINAL", "FAIL", "ERROR", as the records and the report write them.
QString outcomeName(Outcome outcome);
// The outcome of a name in any letter case; nothing for another text.
std::optional<Outcome> outcomeFromName(const QString &name);
// A pass for the yields: PASS or MARGINAL (a marginal unit ships, it is looked at).
bool passes(Outcome outcome);

// One run of a recipe on a unit, as the history keeps it.
struct Run
{
    QString serialNumber;
    QString recipeSha;
    QDateTime time;
    Outcome outcome = Outcome::Pass;
    QString station;
    QString failureStep; // the first step that failed; empty for a pass
    QString failureText; // its text, as the record gives it
};

// A unit in the yields is a serial number under one recipe: a unit calibrated on one recipe and
// tested on another has a first run of each.
struct YieldFigures
{
    int units = 0;               // distinct serial numbers
    int tested = 0;              // units under a recipe: the yields' denominator
    int runs = 0;                // every run
    int retests = 0;             // runs after a unit's first run of its recipe
    int firstPassed = 0;         // units whose first run passed
    int finalPassed = 0;         // units whose last run passed
    QMap<Outcome, int> outcomes; // the outcome of each unit's last run

    // Fractions 0-1; nothing without a unit.
    std::optional<double> firstPassYield() const;
    std::optional<double> finalYield() const;
};

// The figures of one day or one station. A unit belongs to the group of its first run (so its
// first pass and its final outcome count where it started); runs and retests count where they
// took place, so that a rework station shows its retests with no units of its own.
struct YieldGroup
{
    QString key; // "2026-12-08" or the station's name
    YieldFigures figures;
};

// Runs in any order; equal times keep the order given.
YieldFigures yieldOf(const QList<Run> &runs);
// Days in the line's time zone, oldest first.
QList<YieldGroup> yieldPerDay(const QList<Run> &runs, const QTimeZone &zone);
// Stations in name order.
QList<YieldGroup> yieldPerStation(const QList<Run> &runs);

// One bar of the failure Pareto: the first failure (FAIL or ERROR) of each unit that failed,
// grouped by its step and its text without the variable parts.
struct ParetoRow
{
    QString step;
    QString failure; // failureKey() of the texts
    QString example; // the earliest text of the group, as written
    int count = 0;
    double share = 0.0;      // of the failed units, 0-1
    double cumulative = 0.0; // this row's share and every larger one's
};

// Largest first; rows of equal count by step, then failure, in code-point order, so that the
// order does not depend on the order of the runs or on the database.
QList<ParetoRow> pareto(const QList<Run> &runs);

// A failure text without what changes from unit to unit: a serial number (twelve hexadecimal
// digits) anywhere, and outside a value's path every number, date or time (a sign, a decimal
// point, an exponent, a hexadecimal 0x.., digits joined by - : / .) becomes "#". A path stays,
// its serial numbers aside: "/TxPowerAdj/cell42" names the value that failed, which is what the
// Pareto is about. A number joined to a word ("V1", "LX-815", "cell42") stays, as it names a
// thing; a unit after a number stays ("171mV" -> "#mV").
//   "/TCXO_BIAS = 171, above Max 160" -> "/TCXO_BIAS = #, above Max #"
QString failureKey(const QString &text);

} // namespace Stats
