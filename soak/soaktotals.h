#pragma once

#include <QJsonObject>
#include <QTextStream>

// The running totals of a fault soak. The child process that runs the cycles sends them as one
// JSON line after every cycle; the supervising process adds up the children (a crash starts a
// new one) and prints the table.
struct SoakTotals
{
    qint64 cycles = 0;
    qint64 sequences = 0;
    qint64 transactions = 0;
    qint64 faults = 0;
    qint64 retries = 0;
    qint64 failuresReported = 0;
    qint64 unreportedFailures = 0; // a failed sequence without a failure box
    qint64 wrongValues = 0;        // a successful sequence with a value that differs
    qint64 firmwareCutShort = 0;   // see UserSide::isFirmwareCutShort
    qint64 boxOnSuccess = 0;       // a failure box in a sequence that reported success
    qint64 rssStartKb = -1;        // before the first cycle
    qint64 rssWarmKb = -1;         // after the first cycle
    qint64 rssEndKb = -1;          // after the last cycle

    QJsonObject toJson() const;
    static SoakTotals fromJson(const QJsonObject &object);
    // Adds the counters of a later child; memory: the first start, the last end.
    void add(const SoakTotals &later);
};

struct SoakSettings
{
    static constexpr double kDefaultRate = 0.10;
    int cycles = 0;
    double rate = kDefaultRate;
    quint32 seed = 1;
    int baud = 0; // of the simulated line; 0 = bytes take no time
};

namespace SoakReport {

// Resident memory of this process in kB from /proc/self/status; -1 where there is none.
qint64 residentKb();
// A rough time per cycle from the fault rate and the cost of each fault kind.
double estimatedSecondsPerCycle(const SoakSettings &settings);
// The table; true when every target is met.
bool print(QTextStream &out, const SoakSettings &settings, const SoakTotals &totals, int crashes,
           int hangs, qint64 wallMs);

} // namespace SoakReport
