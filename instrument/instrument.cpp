#include "instrument/instrument.h"

#include "instrument/scpireply.h"
#include "instrument/scpitransport.h"

#include <algorithm>

namespace {
const QByteArray kComplete = QByteArrayLiteral("1");

InstrumentNeed needOf(Instrument::Measurement measurement)
{
    switch (measurement) {
    case Instrument::Measurement::Power:
        return InstrumentNeed::MeasurePower;
    case Instrument::Measurement::FrequencyError:
        return InstrumentNeed::MeasureFrequencyError;
    case Instrument::Measurement::Deviation:
        return InstrumentNeed::MeasureDeviation;
    }
    return InstrumentNeed::MeasurePower;
}
} // namespace

Instrument::Instrument(InstrumentAddress address, InstrumentProfile profile)
    : m_address(std::move(address))
    , m_profile(std::move(profile))
{}

Instrument::~Instrument() = default;

QString Instrument::unit(Measurement measurement)
{
    return measurement == Measurement::Power ? QStringLiteral("dBm") : QStringLiteral("Hz");
}

bool Instrument::fail(Failure::Kind kind, const QString &text)
{
    m_failure = {kind, QStringLiteral("%1: %2").arg(m_address.text, text)};
    return false;
}

bool Instrument::connectToInstrument()
{
    m_failure = {};
    auto transport = ScpiTransport::create(m_address);
    QString error;
    if (transport->open(QDeadlineTimer(m_profile.timeoutMs), &error) != ScpiTransport::Status::Ok)
        return fail(Failure::Kind::Connect, tr("无法连接：%1").arg(error));
    m_transport = std::move(transport);
    return drainErrorQueue();
}

bool Instrument::drainErrorQueue()
{
    if (!m_profile.checkErrors)
        return true;
    const auto command = commandText(InstrumentNeed::ErrorQuery);
    for (int i = 0; command && i < kMaxErrorEntries; ++i) {
        const auto reply = exchange(*command, true);
        if (!reply)
            return false;
        if (ScpiReply::errorCode(*reply).value_or(0) == 0)
            return true;
    }
    return command.has_value();
}

std::optional<QString> Instrument::commandText(InstrumentNeed need, const QString &value)
{
    const auto &command = m_profile.command(need);
    if (!command) {
        fail(Failure::Kind::Instrument,
             tr("仪器配置 “%1” 没有 “%2” 的命令")
                 .arg(m_profile.name, InstrumentProfile::memberName(need)));
        return std::nullopt;
    }
    const QString placeholder = InstrumentProfile::placeholder(need);
    return placeholder.isEmpty() ? *command : QString(*command).replace(placeholder, value);
}

std::optional<QByteArray> Instrument::exchange(const QString &command, bool answered)
{
    if (!m_transport) {
        fail(Failure::Kind::Connect, tr("未连接"));
        return std::nullopt;
    }
    QDeadlineTimer deadline(m_profile.timeoutMs);
    if (m_within < deadline)
        deadline = m_within;
    const qint64 allowedMs = std::max<qint64>(0, deadline.remainingTime());
    QString error;
    m_transport->discardInput();
    ScpiTransport::Status status = m_transport->writeLine(command.toUtf8(), deadline, &error);
    QByteArray reply;
    if (status == ScpiTransport::Status::Ok && answered)
        status = m_transport->readLine(&reply, deadline, &error);
    switch (status) {
    case ScpiTransport::Status::Ok:
        return reply;
    case ScpiTransport::Status::TimedOut:
        fail(Failure::Kind::Instrument,
             tr("“%1” 在 %2 毫秒内没有回答").arg(command).arg(allowedMs));
        return std::nullopt;
    case ScpiTransport::Status::Failed:
        // A connection that broke is gone for good: the next command says so at once.
        m_transport.reset();
        fail(Failure::Kind::Instrument, tr("“%1” 失败：%2").arg(command, error));
        return std::nullopt;
    }
    return std::nullopt;
}

bool Instrument::checkErrorQueue(const QString &after)
{
    if (!m_profile.checkErrors)
        return true;
    const auto command = commandText(InstrumentNeed::ErrorQuery);
    if (!command)
        return false;
    QByteArray first;
    // Emptied, so that the next command's check sees only its own errors.
    for (int i = 0; i < kMaxErrorEntries; ++i) {
        const auto reply = exchange(*command, true);
        if (!reply)
            return false;
        const auto code = ScpiReply::errorCode(*reply);
        if (!code)
            return fail(Failure::Kind::Instrument,
                        tr("“%1” 的回答不是错误条目：%2")
                            .arg(*command, QString::fromUtf8(reply->left(80))));
        if (*code == 0)
            break;
        if (first.isEmpty())
            first = *reply;
    }
    if (first.isEmpty())
        return true;
    return fail(Failure::Kind::Instrument,
                tr("“%1” 之后仪器报告错误 %2").arg(after, QString::fromUtf8(first.left(200))));
}

bool Instrument::set(InstrumentNeed need, const QString &value)
{
    const auto command = commandText(need, value);
    if (!command || !exchange(*command, false))
        return false;
    const auto wait = commandText(InstrumentNeed::WaitComplete);
    if (!wait)
        return false;
    const auto reply = exchange(*wait, true);
    if (!reply)
        return false;
    if (reply->trimmed() != kComplete)
        return fail(Failure::Kind::Instrument,
                    tr("“%1” 之后 “%2” 的回答不是 1：%3")
                        .arg(*command, *wait, QString::fromUtf8(reply->left(80))));
    return checkErrorQueue(*command);
}

std::optional<QByteArray> Instrument::query(InstrumentNeed need)
{
    const auto command = commandText(need);
    if (!command)
        return std::nullopt;
    const auto reply = exchange(*command, true);
    if (!reply || !checkErrorQueue(*command))
        return std::nullopt;
    return reply;
}

std::optional<QString> Instrument::identify()
{
    const auto reply = query(InstrumentNeed::Identify);
    if (!reply)
        return std::nullopt;
    return QString::fromUtf8(reply->trimmed());
}

bool Instrument::reset()
{
    return set(InstrumentNeed::Reset);
}

bool Instrument::setAnalyserFrequency(qint64 hz)
{
    return set(InstrumentNeed::AnalyserFrequency, QString::number(hz));
}

bool Instrument::setGeneratorFrequency(qint64 hz)
{
    return set(InstrumentNeed::GeneratorFrequency, QString::number(hz));
}

bool Instrument::setGeneratorLevel(double dbm)
{
    return set(InstrumentNeed::GeneratorLevel, QString::number(dbm, 'f', 1));
}

bool Instrument::setGeneratorOutput(bool on)
{
    return set(on ? InstrumentNeed::GeneratorOn : InstrumentNeed::GeneratorOff);
}

std::optional<double> Instrument::measure(Measurement measurement, QDeadlineTimer within)
{
    const InstrumentNeed need = needOf(measurement);
    m_within = within;
    const auto reply = query(need);
    m_within = QDeadlineTimer(QDeadlineTimer::Forever);
    if (!reply)
        return std::nullopt;
    const ScpiReply::Number number = ScpiReply::parseNumber(*reply);
    const QString command = *m_profile.command(need);
    const QString text = QString::fromUtf8(reply->left(80));
    switch (number.kind) {
    case ScpiReply::Number::Kind::Value:
        return number.value;
    case ScpiReply::Number::Kind::NotANumber:
        fail(Failure::Kind::Instrument, tr("“%1” 没有测到数值（%2）").arg(command, text));
        return std::nullopt;
    case ScpiReply::Number::Kind::Infinity:
        fail(Failure::Kind::Instrument, tr("“%1” 的测量超出仪器的量程（%2）").arg(command, text));
        return std::nullopt;
    case ScpiReply::Number::Kind::Invalid:
        break;
    }
    fail(Failure::Kind::Instrument, tr("“%1” 的回答不是数字：%2").arg(command, text));
    return std::nullopt;
}
