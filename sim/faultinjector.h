#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRandomGenerator>
#include <QString>

#include <optional>

// The ways the simulated module can misbehave on one request.
enum class FaultKind
{
    None,
    Drop,        // no reply at all
    BadChecksum, // the reply frame with a wrong checksum
    ShortByOne,  // a valid frame whose payload lacks its last byte
    LongByOne,   // a valid frame whose payload has one byte too many
    WrongLead,   // a valid frame whose first payload byte is off by one
    Refuse,      // 00 02 instead of the reply
    Split,       // the reply frame in two halves with a gap between them
    Noise,       // bytes that start no frame, sent before the reply
    Delay,       // the reply after an extra pause
    Duplicate,   // the reply frame twice
    Forget,      // a change acknowledged as done, but the module keeps its old state
};

QString faultName(FaultKind kind);
std::optional<FaultKind> faultKindFromName(const QString &name);

struct Fault
{
    FaultKind kind = FaultKind::None;
    int param = 0; // Split: gap in ms; Delay: pause in ms; Noise: byte count; 0 = the default
};

// A scripted fault: which requests it hits and how often.
struct FaultRule
{
    static constexpr int kForever = -1;
    QByteArray prefix; // leading request bytes; empty matches every request
    Fault fault;
    int remaining = 1;   // matching requests still to hit, or kForever
    QList<int> attempts; // when not empty, only these attempt numbers (1 = first sending)
};

// One piece of what the module transmits: bytes after a pause.
struct Emission
{
    int delayMs = 0; // after the previous piece of the same reply, or after the reply is ready
    QByteArray bytes;
};

// Chooses faults for requests, scripted or at random (reproducible from a seed), and turns a
// reply payload into what the faulty module puts on the line.
//
// The attempt number of a request is 1, or one more than the previous request's when the
// previous request was the same bytes and was not answered cleanly (silence or any fault):
// that is how the tool's repeats of one request look from the module's side.
class FaultInjector
{
public:
    static constexpr int kDefaultSplitGapMs = 100; // under the tool's 500 ms staleness rule
    static constexpr int kDefaultDelayMs = 1500;   // past the tool's 1000 ms reply window
    static constexpr int kDefaultNoiseBytes = 4;
    static constexpr int kRandomDelayMs = 300; // random delays stay inside the reply window

    // Rules are tried in the order added; the first that hits wins over a random fault.
    void addRule(const FaultRule &rule) { m_rules.append(rule); }
    // "PREFIX:KIND[=PARAM][:COUNT|:*|:@A,B]", e.g. "A2:drop:1", "3223:split=600:*",
    // "*:delay=1500:@1,2". PREFIX is hex (blanks allowed) or "*" for every request.
    static std::optional<FaultRule> parseRule(const QString &ruleText, QString *error);
    void clearRules() { m_rules.clear(); }
    const QList<FaultRule> &rules() const { return m_rules; }

    // Each request is hit with probability rate by one of kinds; requests that start with an
    // excluded prefix are never hit at random (steps, which the tool sends only once).
    void setRandom(double rate, quint32 seed, const QList<FaultKind> &kinds = defaultRandomKinds());
    void setRandomExcluded(const QList<QByteArray> &prefixes) { m_excluded = prefixes; }
    static QList<FaultKind> defaultRandomKinds(); // every kind the tool recovers from by retrying

    // The fault for the next request; counts it and advances the attempt number.
    Fault next(const QByteArray &request, bool willReply = true);
    int lastAttempt() const { return m_attempt; }

    // What the module sends for reply (nothing when it is silent) under fault.
    static QList<Emission> apply(const std::optional<QByteArray> &reply, const Fault &fault);

    int injected(FaultKind kind) const { return m_counts.value(kind, 0); }
    int injectedTotal() const;
    void resetCounts() { m_counts.clear(); }

private:
    std::optional<Fault> scripted(const QByteArray &request);

    QList<FaultRule> m_rules;
    double m_rate = 0.0;
    QList<FaultKind> m_randomKinds;
    QList<QByteArray> m_excluded;
    QRandomGenerator m_random;
    QMap<FaultKind, int> m_counts;
    QByteArray m_lastRequest;
    bool m_lastClean = true;
    int m_attempt = 0;
};
