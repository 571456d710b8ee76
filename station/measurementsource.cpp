#include "station/measurementsource.h"

#include <algorithm>

namespace {
constexpr double kHzPerMhz = 1e6;
constexpr int kMhzDecimals = 5; // 10 Hz, the resolution of the module's frequencies
constexpr int kDbmDecimals = 1;
} // namespace

bool InstrumentSource::tune(qint64 hz, int)
{
    return m_instrument.setAnalyserFrequency(hz);
}

std::optional<double> InstrumentSource::measure(Instrument::Measurement measurement,
                                                qint64 withinMs)
{
    // An instrument that stops answering must not keep the module transmitting for its timeout.
    return m_instrument.measure(measurement, QDeadlineTimer(std::max<qint64>(0, withinMs)));
}

bool InstrumentSource::setGenerator(qint64 hz, double dbm)
{
    if (hz != m_generatorHz) {
        if (!m_instrument.setGeneratorFrequency(hz))
            return false;
        m_generatorHz = hz;
    }
    if (!m_instrument.setGeneratorLevel(dbm))
        return false;
    if (!m_output && !(m_output = m_instrument.setGeneratorOutput(true)))
        return false;
    return true;
}

bool InstrumentSource::generatorOff()
{
    if (!m_output)
        return true;
    m_output = false;
    return m_instrument.setGeneratorOutput(false);
}

QString ManualRequest::megahertz(qint64 hz)
{
    return QString::number(double(hz) / kHzPerMhz, 'f', kMhzDecimals);
}

QString ManualRequest::text() const
{
    const QString mhz = megahertz(hz);
    const int watts = power + 1;
    switch (kind) {
    case Kind::Reading:
        switch (measurement) {
        case Instrument::Measurement::Power:
            return tr("在 %1 MHz、%2 W 读功率计（dBm）").arg(mhz).arg(watts);
        case Instrument::Measurement::FrequencyError:
            return tr("在 %1 MHz、%2 W 读载波频率误差（Hz）").arg(mhz).arg(watts);
        case Instrument::Measurement::Deviation:
            return tr("在 %1 MHz、%2 W 读调制分析仪的频偏（Hz，峰值）").arg(mhz).arg(watts);
        }
        break;
    case Kind::Generator:
        return tr("把信号源设为 %1 MHz、%2 dBm，打开输出，然后确认")
            .arg(mhz, QString::number(dbm, 'f', kDbmDecimals));
    case Kind::GeneratorOff:
        return tr("关闭信号源的输出");
    }
    return QString();
}

bool ManualSource::tune(qint64 hz, int power)
{
    m_hz = hz;
    m_power = power;
    return true;
}

std::optional<double> ManualSource::measure(Instrument::Measurement measurement, qint64 withinMs)
{
    ManualRequest request;
    request.measurement = measurement;
    request.hz = m_hz;
    request.power = m_power;
    request.withinMs = withinMs;
    const auto reading = m_ask(request);
    m_failure = reading ? QString() : tr("没有输入读数");
    return reading;
}

bool ManualSource::setGenerator(qint64 hz, double dbm)
{
    ManualRequest request;
    request.kind = ManualRequest::Kind::Generator;
    request.hz = hz;
    request.dbm = dbm;
    m_output = true;
    const bool confirmed = m_ask(request).has_value();
    m_failure = confirmed ? QString() : tr("信号源没有确认");
    return confirmed;
}

bool ManualSource::generatorOff()
{
    if (!m_output)
        return true;
    m_output = false;
    ManualRequest request;
    request.kind = ManualRequest::Kind::GeneratorOff;
    m_ask(request);
    return true;
}
