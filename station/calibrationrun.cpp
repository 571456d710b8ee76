#include "station/calibrationrun.h"

#include "device/calibrationcommands.h"
#include "session/configfiles.h"
#include "session/modulesnapshot.h"
#include "station/calibrationsearch.h"

#include <QDateTime>
#include <QDir>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr int kChannel = 1;    // the table's channel a calibration transmits and receives on
constexpr int kHzPerUnit = 10; // frequencies are kept in 10 Hz
constexpr int kHzDecimals = 0; // of frequency readings in the texts
constexpr int kDbmDecimals = 1;
constexpr double kReadingScale = 1e6; // a reading kept to a millionth of its unit

// The squelch levels the module calibrates at, in uV.
struct SquelchLevel
{
    double uv;
    quint8 byte;
};
constexpr SquelchLevel kSquelchLevels[] = {
    {0.25, CalibrationCommands::kSquelchLowLevel},
    {0.45, CalibrationCommands::kSquelchHighLevel},
};
} // namespace

UnitRecord::Measurement CalibrationTargetResult::measurement() const
{
    UnitRecord::Measurement made;
    made.name = name;
    // An average's binary remainder (37.129999999999995) is no part of the reading.
    made.reading = std::round(reading * kReadingScale) / kReadingScale;
    const bool value = name.startsWith(QLatin1Char('/'));
    made.value = value ? after : *made.reading;
    if (value)
        made.before = before;
    made.target = target;
    made.tolerance = tolerance;
    made.readings = readings;
    made.unit = unit;
    made.outcome = ok ? QStringLiteral("pass") : QStringLiteral("fail");
    made.note = failure;
    return made;
}

CalibrationRun::CalibrationRun(const CalibrationPlan &plan, CommandEngine &engine,
                               Instrument &instrument)
    : m_plan(plan)
    , m_engine(engine)
    , m_module(engine, *this)
    , m_ownSource(std::make_unique<InstrumentSource>(instrument))
    , m_source(*m_ownSource)
{}

CalibrationRun::CalibrationRun(const CalibrationPlan &plan, CommandEngine &engine,
                               MeasurementSource &source)
    : m_plan(plan)
    , m_engine(engine)
    , m_module(engine, *this)
    , m_source(source)
{}

double CalibrationRun::uvToDbm(double uv)
{
    return dbuvToDbm(20.0 * std::log10(uv));
}

std::optional<quint8> CalibrationRun::squelchLevelByte(double uv)
{
    for (const SquelchLevel &level : kSquelchLevels) {
        if (std::abs(level.uv - uv) < 1e-9)
            return level.byte;
    }
    return std::nullopt;
}

QString CalibrationRun::failureText() const
{
    if (m_cancel)
        return tr("校准已取消");
    return m_lastFailure;
}

CalibrationRun::Outcome CalibrationRun::run(const QString &folder)
{
    Outcome outcome;
    // Failures become the outcome's texts; the caller's reporter is back afterwards.
    struct Reporter
    {
        CommandEngine &engine;
        FailureReporter *previous;
        ~Reporter() { engine.setReporter(previous); }
    } reporter{m_engine, m_engine.reporter()};
    m_engine.setReporter(this);
    ModuleSession session(m_engine, *this);
    const auto fail = [&](const QString &text) {
        outcome.failure = text.isEmpty() ? failureText() : text;
        return outcome;
    };
    if (m_cancel)
        return fail(QString());
    if (!session.identifyUnit())
        return fail(QString());
    outcome.identity = session.identity();

    // The channel table and the current channel go back as they were, on every way out.
    m_channels = m_module.readChannels();
    const auto current = m_channels ? m_module.readCurrentChannel() : std::nullopt;
    if (!current)
        return fail(QString());
    const ChannelCommands::Records original = *m_channels;
    struct Restore
    {
        CalibrationRun &run;
        const ChannelCommands::Records &channels;
        int channel;
        ~Restore()
        {
            run.m_engine.clearCancel();
            if (run.m_channels && *run.m_channels != channels)
                run.m_module.writeChannels(channels);
            if (channel != kChannel)
                run.m_module.writeCurrentChannel(channel);
        }
    } restore{*this, original, *current};
    if (*current != kChannel && !m_module.writeCurrentChannel(kChannel))
        return fail(QString());

    for (m_index = 0; m_index < m_plan.targets.size(); ++m_index) {
        if (m_cancel)
            return fail(QString());
        CalibrationTargetResult result;
        const bool ok = target(m_plan.targets[m_index], &result);
        result.ok = ok;
        if (!ok && result.failure.isEmpty())
            result.failure = failureText();
        outcome.targets.append(result);
        if (!ok)
            return fail(result.failure);
    }

    // The values found are in the module: read back whole, compared, and kept as the unit's
    // calibration file.
    outcome.calibration = session.readFactoryCalibration();
    if (!outcome.calibration)
        return fail(QString());
    for (int i = 0; i < m_plan.targets.size(); ++i) {
        const CalibrationTarget &t = m_plan.targets[i];
        if (t.kind != CalibrationTarget::Kind::Value)
            continue;
        const int held = outcome.calibration->numbers[size_t(t.field)];
        if (held != outcome.targets[i].after) {
            return fail(tr("%1：写入 %2，模块中为 %3")
                            .arg(t.value)
                            .arg(outcome.targets[i].after)
                            .arg(held));
        }
    }
    const QString path =
        QDir(folder).filePath(outcome.identity.serialNumber + QStringLiteral(".json"));
    MJsonConfig::Entries entries = outcome.calibration->entries();
    entries += FileUnit::entries(outcome.identity, QDateTime::currentDateTimeUtc());
    QString error;
    if (!ConfigFiles::save(path, entries, &error))
        return fail(error);
    outcome.file = path;
    outcome.ok = true;
    return outcome;
}

bool CalibrationRun::target(const CalibrationTarget &target, CalibrationTargetResult *result)
{
    result->target = target.target;
    result->tolerance = target.tolerance;
    if (target.kind == CalibrationTarget::Kind::Value)
        return valueTarget(target, result);
    return levelsTarget(target, result);
}

// The calibration channel on the target's point and power; written only when it changes.
bool CalibrationRun::tune(const CalibrationTarget &target)
{
    ChannelCommands::Records records = *m_channels;
    const quint32 frequency = m_plan.frequency(target.point);
    records[kChannel - 1] = {frequency, frequency, quint8(target.power)};
    if (records == *m_channels)
        return true;
    if (!m_module.writeChannels(records))
        return false;
    m_channels = records;
    return true;
}

bool CalibrationRun::valueTarget(const CalibrationTarget &target, CalibrationTargetResult *result)
{
    const FactoryNumberField &field = FactoryCalibration::numberFields()[size_t(target.field)];
    result->name = target.value;
    result->unit = Instrument::unit(target.measure);
    const auto before = m_module.readValue(field);
    if (!before || !tune(target) ||
        !m_source.tune(qint64(m_plan.frequency(target.point)) * kHzPerUnit, target.power)) {
        result->failure = before ? m_source.failure() : QString();
        if (result->failure.isEmpty())
            result->failure = failureText();
        return false;
    }
    result->before = result->after = *before;

    CalibrationSearch::Settings settings;
    settings.name = target.value;
    settings.unit = result->unit;
    settings.minimum = field.minimum;
    settings.maximum = field.maximum;
    settings.start = *before;
    settings.target = target.target;
    settings.tolerance = target.tolerance;
    settings.decimals =
        target.measure == Instrument::Measurement::Power ? kDbmDecimals : kHzDecimals;

    // An instrument reads the whole search in one transmission; a person at the bench takes
    // longer per reading than a module should transmit for a whole search, so the module then
    // transmits only while a reading is awaited.
    const bool perReading = m_source.isManual();
    TransmitGuard transmit(m_module, m_plan.maxTransmitSeconds);
    int held = *before;
    const auto measure = [&](int value, QString *failure) -> std::optional<double> {
        if (m_cancel) {
            *failure = failureText();
            return std::nullopt;
        }
        if (transmit.expired()) {
            *failure = limitText(target, transmit);
            return std::nullopt;
        }
        if (value != held) {
            // Whether a write cut short reached the module is not known: the end of a failed
            // target writes the value before back.
            held = value;
            if (!withinLimit(transmit, [&] { return m_module.writeValue(field, value); })) {
                *failure = transmit.expired() ? limitText(target, transmit) : failureText();
                return std::nullopt;
            }
        }
        if (perReading && !withinLimit(transmit, [&] { return transmit.keyUp(); })) {
            *failure = transmit.expired() ? limitText(target, transmit) : failureText();
            return std::nullopt;
        }
        const auto reading = m_source.measure(target.measure, transmit.remainingMs());
        // A reading that came in after the limit is not trusted to be the last one.
        const bool late = transmit.expired();
        if (perReading && !transmit.keyDown()) {
            *failure = lostText();
            return std::nullopt;
        }
        if (!reading || late) {
            *failure = m_cancel ? failureText()
                       : late   ? limitText(target, transmit)
                                : m_source.failure();
            return std::nullopt;
        }
        if (m_progress)
            m_progress(m_index, value, *reading);
        return reading;
    };
    if (!perReading && !withinLimit(transmit, [&] { return transmit.keyUp(); })) {
        result->failure = keyDownFailure(transmit, transmit.expired() ? limitText(target, transmit)
                                                                      : failureText());
        return false;
    }
    const CalibrationSearch::Result found = CalibrationSearch::run(settings, measure);
    result->readings = found.readings;
    result->reading = found.reading;
    result->failure = keyDownFailure(transmit, found.failure);
    if (found.found() && result->failure.isEmpty()) {
        result->after = found.value;
        if (held != found.value && !m_module.writeValue(field, found.value)) {
            result->failure = failureText();
            return false;
        }
        return true;
    }
    // A failed target leaves its value as it was.
    if (held != *before && !m_module.writeValue(field, *before) && result->failure.isEmpty())
        result->failure = failureText();
    return false;
}

bool CalibrationRun::withinLimit(const TransmitGuard &transmit,
                                 const std::function<bool()> &request)
{
    // A module that does not answer takes every attempt's timeout, longer than a short limit
    // leaves: the engine is cancelled when the limit is reached (keyDown() clears the cancel).
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, &m_engine, &CommandEngine::cancel);
    limit.start(int(std::clamp<qint64>(transmit.remainingMs(), 0, INT_MAX)));
    return request();
}

QString CalibrationRun::limitText(const CalibrationTarget &target,
                                  const TransmitGuard &transmit) const
{
    return tr("%1：发射达到 %2 秒的上限，已停止发射").arg(target.value).arg(transmit.maxSeconds());
}

QString CalibrationRun::lostText()
{
    return tr("模块没有确认回到正常模式，它可能仍在发射：请立即断开它的电源");
}

QString CalibrationRun::keyDownFailure(TransmitGuard &transmit, const QString &failure)
{
    if (transmit.keyDown())
        return failure;
    const QString lost = lostText();
    return failure.isEmpty() ? lost : failure + QStringLiteral("; ") + lost;
}

bool CalibrationRun::levelsTarget(const CalibrationTarget &target, CalibrationTargetResult *result)
{
    const bool rssi = target.kind == CalibrationTarget::Kind::Rssi;
    result->name = rssi ? QStringLiteral("rssi") : QStringLiteral("squelch");
    result->unit = rssi ? QStringLiteral("dBµV") : QStringLiteral("µV");
    const qint64 hz = qint64(m_plan.frequency(target.point)) * kHzPerUnit;
    if (!tune(target)) {
        result->failure = failureText();
        return false;
    }
    // The generator goes off again on every way out, as a transmission does.
    struct Output
    {
        MeasurementSource &source;
        ~Output() { source.generatorOff(); }
    } output{m_source};
    for (const double level : target.levels) {
        if (m_cancel) {
            result->failure = failureText();
            return false;
        }
        const double dbm = rssi ? dbuvToDbm(level) : uvToDbm(level);
        if (!m_source.setGenerator(hz, dbm)) {
            result->failure = m_cancel ? failureText() : m_source.failure();
            return false;
        }
        const bool sent = rssi ? m_module.calibrateRssi(quint8(qRound(level)))
                               : m_module.calibrateSquelch(*squelchLevelByte(level));
        if (!sent) {
            result->failure = failureText();
            return false;
        }
        ++result->readings;
        result->reading = level;
        if (m_progress)
            m_progress(m_index, result->readings, level);
    }
    return true;
}
