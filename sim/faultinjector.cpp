#include "sim/faultinjector.h"

#include "device/wire.h"
#include "protocol/linkframe.h"

#include <QRegularExpression>

namespace {
struct KindName
{
    FaultKind kind;
    const char *name;
};

constexpr KindName kKindNames[] = {
    {FaultKind::None, "none"},
    {FaultKind::Drop, "drop"},
    {FaultKind::BadChecksum, "checksum"},
    {FaultKind::ShortByOne, "short"},
    {FaultKind::LongByOne, "long"},
    {FaultKind::WrongLead, "lead"},
    {FaultKind::Refuse, "refuse"},
    {FaultKind::Split, "split"},
    {FaultKind::Noise, "noise"},
    {FaultKind::Delay, "delay"},
    {FaultKind::Duplicate, "duplicate"},
    {FaultKind::Forget, "forget"},
};

// Noise never holds 0x55, so it cannot start a frame.
constexpr char kNoisePattern[] = {'\x13', '\xAA', '\x00', '\xFE', '\x7F', '\x2A'};
constexpr int kChecksumLowFromEnd = 2;

QByteArray noise(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(kNoisePattern[i % static_cast<int>(sizeof kNoisePattern)]);
    return bytes;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

QString faultName(FaultKind kind)
{
    for (const KindName &entry : kKindNames) {
        if (entry.kind == kind)
            return QString::fromLatin1(entry.name);
    }
    return QString();
}

std::optional<FaultKind> faultKindFromName(const QString &name)
{
    for (const KindName &entry : kKindNames) {
        if (name == QLatin1String(entry.name))
            return entry.kind;
    }
    return std::nullopt;
}

std::optional<FaultRule> FaultInjector::parseRule(const QString &ruleText, QString *error)
{
    const QStringList parts = ruleText.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3) {
        fail(error,
             QStringLiteral("fault \"%1\": expected PREFIX:KIND[=PARAM][:COUNT]").arg(ruleText));
        return std::nullopt;
    }
    FaultRule rule;
    QString prefix = parts[0];
    prefix.remove(QLatin1Char(' '));
    static const QRegularExpression hexPairs(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (prefix != QLatin1String("*")) {
        if (!hexPairs.match(prefix).hasMatch()) {
            fail(error, QStringLiteral("fault \"%1\": prefix is not hex bytes").arg(ruleText));
            return std::nullopt;
        }
        rule.prefix = QByteArray::fromHex(prefix.toLatin1());
    }

    const QStringList kindAndParam = parts[1].split(QLatin1Char('='));
    const auto kind = faultKindFromName(kindAndParam[0].trimmed().toLower());
    if (!kind || *kind == FaultKind::None || kindAndParam.size() > 2) {
        fail(error, QStringLiteral("fault \"%1\": unknown kind").arg(ruleText));
        return std::nullopt;
    }
    rule.fault.kind = *kind;
    if (kindAndParam.size() == 2) {
        bool ok = false;
        rule.fault.param = kindAndParam[1].toInt(&ok);
        if (!ok || rule.fault.param < 0) {
            fail(error, QStringLiteral("fault \"%1\": parameter is not a number").arg(ruleText));
            return std::nullopt;
        }
    }

    const QString count = parts.size() == 3 ? parts[2].trimmed() : QStringLiteral("1");
    if (count == QLatin1String("*")) {
        rule.remaining = FaultRule::kForever;
    } else if (count.startsWith(QLatin1Char('@'))) {
        rule.remaining = FaultRule::kForever;
        for (const QString &item : count.mid(1).split(QLatin1Char(','))) {
            bool ok = false;
            const int attempt = item.toInt(&ok);
            if (!ok || attempt < 1) {
                fail(error, QStringLiteral("fault \"%1\": bad attempt list").arg(ruleText));
                return std::nullopt;
            }
            rule.attempts.append(attempt);
        }
    } else {
        bool ok = false;
        rule.remaining = count.toInt(&ok);
        if (!ok || rule.remaining < 1) {
            fail(error, QStringLiteral("fault \"%1\": bad count").arg(ruleText));
            return std::nullopt;
        }
    }
    return rule;
}

void FaultInjector::setRandom(double rate, quint32 seed, const QList<FaultKind> &kinds)
{
    m_rate = kinds.isEmpty() ? 0.0 : rate;
    m_randomKinds = kinds;
    m_random.seed(seed);
}

QList<FaultKind> FaultInjector::defaultRandomKinds()
{
    return {FaultKind::Drop,      FaultKind::BadChecksum, FaultKind::ShortByOne,
            FaultKind::LongByOne, FaultKind::WrongLead,   FaultKind::Split,
            FaultKind::Noise,     FaultKind::Delay,       FaultKind::Duplicate};
}

std::optional<Fault> FaultInjector::scripted(const QByteArray &request)
{
    for (FaultRule &rule : m_rules) {
        if (rule.remaining == 0 || !request.startsWith(rule.prefix))
            continue;
        if (!rule.attempts.isEmpty() && !rule.attempts.contains(m_attempt))
            continue;
        if (rule.remaining != FaultRule::kForever)
            --rule.remaining;
        return rule.fault;
    }
    return std::nullopt;
}

Fault FaultInjector::next(const QByteArray &request, bool willReply)
{
    m_attempt = request == m_lastRequest && !m_lastClean ? m_attempt + 1 : 1;
    m_lastRequest = request;

    // The random draws happen for every request, so the random sequence does not depend on
    // which requests the scripted rules took.
    Fault fault;
    if (m_rate > 0.0) {
        const double draw = m_random.generateDouble();
        const int pick =
            static_cast<int>(m_random.bounded(static_cast<quint32>(m_randomKinds.size())));
        bool excluded = false;
        for (const QByteArray &prefix : m_excluded)
            excluded = excluded || request.startsWith(prefix);
        if (draw < m_rate && !excluded)
            fault.kind = m_randomKinds[pick];
        if (fault.kind == FaultKind::Delay)
            fault.param = kRandomDelayMs;
    }
    if (const auto rule = scripted(request))
        fault = *rule;

    if (fault.kind != FaultKind::None)
        ++m_counts[fault.kind];
    m_lastClean = willReply && fault.kind == FaultKind::None;
    return fault;
}

int FaultInjector::injectedTotal() const
{
    int total = 0;
    for (int count : m_counts)
        total += count;
    return total;
}

QList<Emission> FaultInjector::apply(const std::optional<QByteArray> &reply, const Fault &fault)
{
    if (fault.kind == FaultKind::Refuse)
        return {Emission{0, LinkFrame::encode(Wire::ackRefused())}};
    if (fault.kind == FaultKind::Noise) {
        const int count = fault.param > 0 ? fault.param : kDefaultNoiseBytes;
        return {Emission{0, noise(count) + (reply ? LinkFrame::encode(*reply) : QByteArray())}};
    }
    if (!reply || fault.kind == FaultKind::Drop)
        return {};

    QByteArray payload = *reply;
    QByteArray frame = LinkFrame::encode(payload);
    switch (fault.kind) {
    case FaultKind::BadChecksum:
        frame[frame.size() - kChecksumLowFromEnd] =
            static_cast<char>(frame.at(frame.size() - kChecksumLowFromEnd) + 1);
        return {Emission{0, frame}};
    case FaultKind::ShortByOne:
        payload.chop(1);
        return {Emission{0, LinkFrame::encode(payload)}};
    case FaultKind::LongByOne:
        payload.append('\0');
        return {Emission{0, LinkFrame::encode(payload)}};
    case FaultKind::WrongLead:
        if (!payload.isEmpty())
            payload[0] = static_cast<char>(payload.at(0) + 1);
        return {Emission{0, LinkFrame::encode(payload)}};
    case FaultKind::Split: {
        const int gap = fault.param > 0 ? fault.param : kDefaultSplitGapMs;
        const int half = frame.size() / 2;
        return {Emission{0, frame.left(half)}, Emission{gap, frame.mid(half)}};
    }
    case FaultKind::Delay:
        return {Emission{fault.param > 0 ? fault.param : kDefaultDelayMs, frame}};
    case FaultKind::Duplicate:
        return {Emission{0, frame}, Emission{0, frame}};
    default:
        return {Emission{0, frame}};
    }
}
