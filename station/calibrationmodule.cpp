#include "station/calibrationmodule.h"

#include "device/calibrationcommands.h"
#include "device/usercommands.h"

namespace {
using Kind = FactorySource::Kind;
using UserCommands::kValueIndex;
} // namespace

std::optional<int> CalibrationModule::readValue(const FactoryNumberField &field)
{
    const FactorySource &source = field.source;
    if (source.kind == Kind::PowerCell) {
        m_powerTable = m_steps.readPowerTable();
        if (!m_powerTable)
            return std::nullopt;
        return quint8(m_powerTable->at(
            Wire::powerTableIndex(source.power, static_cast<Wire::FreqPoint>(source.point))));
    }
    return m_steps.readAdjust(source.adjustType, source.point, field.isSigned());
}

bool CalibrationModule::writeValue(const FactoryNumberField &field, int value)
{
    const FactorySource &source = field.source;
    if (source.kind == Kind::PowerCell) {
        if (!m_powerTable && !readValue(field))
            return false;
        QByteArray table = *m_powerTable;
        table[Wire::powerTableIndex(source.power, static_cast<Wire::FreqPoint>(source.point))] =
            static_cast<char>(value);
        if (!m_steps.writePowerTable(table))
            return false;
        m_powerTable = table;
        return true;
    }
    return m_steps.writeAdjust(source.adjustType, source.point, value);
}

std::optional<ChannelCommands::Records> CalibrationModule::readChannels()
{
    const auto reply = m_engine.transact(ChannelCommands::readFreqAndPower());
    if (!reply)
        return std::nullopt;
    return ChannelCommands::decodeFreqAndPower(*reply);
}

bool CalibrationModule::writeChannels(const ChannelCommands::Records &records)
{
    return m_engine.transact(ChannelCommands::writeFreqAndPower(records)).has_value();
}

std::optional<int> CalibrationModule::readCurrentChannel()
{
    const auto reply = m_engine.transact(UserCommands::readCurrentChannel());
    if (!reply)
        return std::nullopt;
    return Wire::byteAt(*reply, kValueIndex);
}

bool CalibrationModule::writeCurrentChannel(int channel)
{
    // Not stored: the channel the module keeps is restored afterwards anyway.
    return m_engine.transact(UserCommands::writeCurrentChannel(channel, false)).has_value();
}

bool CalibrationModule::keyUp()
{
    return m_steps.setTransmitTestMode(FactorySteps::TransmitMode::DataPtt);
}

bool CalibrationModule::keyDown()
{
    // A cancel of the work must not stop the one request that ends a transmission.
    m_engine.clearCancel();
    return m_steps.setTransmitTestMode(FactorySteps::TransmitMode::Normal);
}

bool CalibrationModule::calibrateRssi(quint8 levelDbuv)
{
    return m_engine.transact(CalibrationCommands::calibrateRssi(levelDbuv)).has_value();
}

bool CalibrationModule::calibrateSquelch(quint8 level)
{
    return m_engine.transact(CalibrationCommands::calibrateSquelch(level)).has_value();
}

bool TransmitGuard::keyUp()
{
    // Keyed as soon as the request may have reached the module, answered or not.
    m_keyed.start();
    return m_module.keyUp();
}

bool TransmitGuard::keyDown()
{
    if (!m_keyed.isValid())
        return true;
    m_keyed.invalidate();
    return m_module.keyDown();
}

bool TransmitGuard::expired() const
{
    return m_keyed.isValid() && m_keyed.elapsed() >= m_maxMs;
}
