#include "soak/soaktotals.h"

#include "protocol/commandengine.h"
#include "serial/mserialport.h"
#include "sim/faultinjector.h"

#include <QFile>
#include <QRegularExpression>

namespace {
constexpr int kRequestsPerCycle = 110;    // 29 + 27 on the user side, 28 + 27 on the factory side
constexpr int kBytesPerCycle = 2600;      // requests and replies of one cycle, frames included
constexpr double kBaseMsPerRequest = 4.0; // an unspoilt exchange with the window's repaints
constexpr int kBitsPerByte = 10;
constexpr double kMsPerSecond = 1000.0;
constexpr double kKbPerMb = 1024.0;
constexpr double kMemoryGrowthLimitMb = 5.0;

struct Field
{
    const char *key;
    qint64 SoakTotals::*member;
};

constexpr Field kFields[] = {
    {"cycles", &SoakTotals::cycles},
    {"sequences", &SoakTotals::sequences},
    {"transactions", &SoakTotals::transactions},
    {"faults", &SoakTotals::faults},
    {"retries", &SoakTotals::retries},
    {"failuresReported", &SoakTotals::failuresReported},
    {"unreportedFailures", &SoakTotals::unreportedFailures},
    {"wrongValues", &SoakTotals::wrongValues},
    {"firmwareCutShort", &SoakTotals::firmwareCutShort},
    {"boxOnSuccess", &SoakTotals::boxOnSuccess},
    {"rssStartKb", &SoakTotals::rssStartKb},
    {"rssWarmKb", &SoakTotals::rssWarmKb},
    {"rssEndKb", &SoakTotals::rssEndKb},
};

// What one fault costs the tool beyond an unspoilt exchange.
double faultCostMs(FaultKind kind)
{
    switch (kind) {
    case FaultKind::Drop:
    case FaultKind::BadChecksum:
        return CommandEngine::kReplyTimeoutMs; // nothing usable arrives: the window runs out
    case FaultKind::Delay:
        return FaultInjector::kRandomDelayMs;
    case FaultKind::Split:
        return FaultInjector::kDefaultSplitGapMs;
    default:
        return MSerialPort::kDefaultRxTimeoutMs; // a burst that is no single frame waits quiet
    }
}

QString megabytes(qint64 kb)
{
    return kb < 0 ? QStringLiteral("n/a") : QString::number(kb / kKbPerMb, 'f', 1) + " MB";
}

void row(QTextStream &out, const QString &name, const QString &value)
{
    out << "  " << name.leftJustified(34, QLatin1Char(' ')) << value << '\n';
}

void row(QTextStream &out, const QString &name, qint64 value)
{
    row(out, name, QString::number(value));
}
} // namespace

QJsonObject SoakTotals::toJson() const
{
    QJsonObject object;
    for (const Field &field : kFields)
        object.insert(QLatin1String(field.key), this->*field.member);
    return object;
}

SoakTotals SoakTotals::fromJson(const QJsonObject &object)
{
    SoakTotals totals;
    for (const Field &field : kFields)
        totals.*field.member = object.value(QLatin1String(field.key)).toVariant().toLongLong();
    return totals;
}

void SoakTotals::add(const SoakTotals &later)
{
    const qint64 start = rssStartKb < 0 ? later.rssStartKb : rssStartKb;
    const qint64 warm = rssWarmKb < 0 ? later.rssWarmKb : rssWarmKb;
    for (const Field &field : kFields)
        this->*field.member += later.*field.member;
    rssStartKb = start;
    rssWarmKb = warm;
    rssEndKb = later.rssEndKb;
}

qint64 SoakReport::residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression vmRss(QStringLiteral("^VmRSS:\\s*(\\d+)\\s*kB"),
                                          QRegularExpression::MultilineOption);
    const auto match = vmRss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

double SoakReport::estimatedSecondsPerCycle(const SoakSettings &settings)
{
    const QList<FaultKind> kinds = FaultInjector::defaultRandomKinds();
    double meanFaultMs = 0;
    for (FaultKind kind : kinds)
        meanFaultMs += faultCostMs(kind) / kinds.size();
    const double lineMs =
        settings.baud > 0 ? kBytesPerCycle * kBitsPerByte * kMsPerSecond / settings.baud : 0;
    return (kRequestsPerCycle * (kBaseMsPerRequest + settings.rate * meanFaultMs) + lineMs) /
           kMsPerSecond;
}

bool SoakReport::print(QTextStream &out, const SoakSettings &settings, const SoakTotals &totals,
                       int crashes, int hangs, qint64 wallMs)
{
    const double seconds = wallMs / kMsPerSecond;
    const qint64 growthKb =
        totals.rssEndKb >= 0 && totals.rssWarmKb >= 0 ? totals.rssEndKb - totals.rssWarmKb : 0;
    out << "\nFault soak: " << totals.cycles << " cycles, fault rate "
        << QString::number(settings.rate, 'f', 2) << ", seed " << settings.seed << "\n";
    row(out, QStringLiteral("cycles"), totals.cycles);
    row(out, QStringLiteral("sequences"), totals.sequences);
    row(out, QStringLiteral("transactions"), totals.transactions);
    row(out, QStringLiteral("faults injected"), totals.faults);
    row(out, QStringLiteral("retries"), totals.retries);
    row(out, QStringLiteral("failures reported"), totals.failuresReported);
    row(out, QStringLiteral("unreported failures"), totals.unreportedFailures);
    row(out, QStringLiteral("wrong values accepted"), totals.wrongValues);
    row(out, QStringLiteral("firmware text cut short (*)"), totals.firmwareCutShort);
    row(out, QStringLiteral("failure box on success"), totals.boxOnSuccess);
    row(out, QStringLiteral("crashes"), crashes);
    row(out, QStringLiteral("hangs (no progress, killed)"), hangs);
    row(out, QStringLiteral("resident memory at start"), megabytes(totals.rssStartKb));
    row(out, QStringLiteral("resident memory after cycle 1"), megabytes(totals.rssWarmKb));
    row(out, QStringLiteral("resident memory at end"), megabytes(totals.rssEndKb));
    row(out, QStringLiteral("growth after cycle 1"),
        QString::number(growthKb / kKbPerMb, 'f', 2) + " MB");
    row(out, QStringLiteral("wall time"), QString::number(seconds, 'f', 1) + " s");
    if (totals.cycles > 0) {
        row(out, QStringLiteral("time per cycle"),
            QString::number(seconds / totals.cycles, 'f', 2) + " s (estimated " +
                QString::number(estimatedSecondsPerCycle(settings), 'f', 2) + " s)");
    }
    out << "  (*) a firmware reply one byte short is a valid frame with a shorter text: the\n"
           "      protocol gives the text no length, so no tool can tell it from a real one.\n";

    const bool met = totals.wrongValues == 0 && totals.unreportedFailures == 0 &&
                     totals.boxOnSuccess == 0 && crashes == 0 && hangs == 0 &&
                     growthKb / kKbPerMb < kMemoryGrowthLimitMb && totals.cycles == settings.cycles;
    out << (met ? "All targets met.\n" : "TARGETS MISSED.\n");
    out.flush();
    return met;
}
