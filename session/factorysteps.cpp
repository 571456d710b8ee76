#include "session/factorysteps.h"

#include "device/adjustcommands.h"
#include "device/calibrationcommands.h"
#include "device/factorycommands.h"
#include "device/wire.h"

namespace {
using CalibrationCommands::TransmitMode;

constexpr quint8 squelchLevel(FactorySteps::Level level)
{
    return level == FactorySteps::Level::Low ? CalibrationCommands::kSquelchLowLevel
                                             : CalibrationCommands::kSquelchHighLevel;
}

constexpr quint8 rssiLevel(FactorySteps::Level level)
{
    return level == FactorySteps::Level::Low ? CalibrationCommands::kRssiLowLevel
                                             : CalibrationCommands::kRssiHighLevel;
}

constexpr TransmitMode wireMode(FactorySteps::TransmitMode mode)
{
    switch (mode) {
    case FactorySteps::TransmitMode::DataPtt:
        return TransmitMode::DataPtt;
    case FactorySteps::TransmitMode::VoicePtt:
        return TransmitMode::VoicePtt;
    case FactorySteps::TransmitMode::Normal:
        break;
    }
    return TransmitMode::Normal;
}
} // namespace

FactorySteps::FactorySteps(CommandEngine &engine, FailureReporter &reporter)
    : m_engine(engine)
    , m_reporter(reporter)
{
    m_engine.setReporter(&m_reporter);
}

std::optional<QByteArray> FactorySteps::transact(const Command &command)
{
    return m_engine.transact(command);
}

bool FactorySteps::refuse(const QString &text)
{
    m_reporter.reportFailure(text);
    return false;
}

std::optional<int> FactorySteps::readAdjust(quint8 type, int point, bool isSigned)
{
    const auto reply =
        transact(AdjustCommands::read(type, point, AdjustCommands::readFailureText()));
    if (!reply)
        return std::nullopt;
    return AdjustCommands::decodeValue(*reply, isSigned);
}

bool FactorySteps::writeAdjust(quint8 type, int point, std::optional<int> value)
{
    if (!value)
        return refuse(AdjustCommands::blankRefusalText());
    return sent(AdjustCommands::write(type, point, *value, AdjustCommands::writeFailureText()));
}

bool FactorySteps::stepAdjust(quint8 type, int point, int delta)
{
    return sent(AdjustCommands::step(type, point, delta, AdjustCommands::writeFailureText()));
}

std::optional<int> FactorySteps::readRssiOffset(int point)
{
    const auto reply = transact(CalibrationCommands::readRssiOffset(point));
    if (!reply)
        return std::nullopt;
    return CalibrationCommands::decodeRssiOffset(*reply);
}

bool FactorySteps::writeRssiOffset(int point, std::optional<int> value)
{
    if (!value)
        return refuse(CalibrationCommands::rssiOffsetBlankText());
    return sent(CalibrationCommands::writeRssiOffset(point, *value));
}

bool FactorySteps::stepRssiOffset(int point, int delta)
{
    return sent(CalibrationCommands::stepRssiOffset(point, delta));
}

std::optional<QByteArray> FactorySteps::readPowerTable()
{
    const auto reply = transact(CalibrationCommands::readPowerTable());
    if (!reply)
        return std::nullopt;
    return CalibrationCommands::decodePowerTable(*reply);
}

bool FactorySteps::writePowerTable(const std::optional<QByteArray> &wireOrder)
{
    if (!wireOrder)
        return refuse(CalibrationCommands::powerTableBlankText());
    return sent(CalibrationCommands::writePowerTable(*wireOrder));
}

bool FactorySteps::stepPowerCell(std::optional<int> power, std::optional<int> point, int delta)
{
    if (!point)
        return refuse(CalibrationCommands::noPointSelectedText());
    if (!power)
        return refuse(CalibrationCommands::noPowerSelectedText());
    const quint8 cell = Wire::powerCellByte(*power, static_cast<Wire::FreqPoint>(*point));
    return sent(CalibrationCommands::stepPowerCell(cell, delta));
}

bool FactorySteps::setTransmitTestMode(TransmitMode mode)
{
    return sent(CalibrationCommands::setTransmitTestMode(static_cast<int>(wireMode(mode))));
}

bool FactorySteps::setSensitivityTestMode(bool on)
{
    return sent(CalibrationCommands::setSensitivityTestMode(on ? Wire::kOn : Wire::kOff));
}

bool FactorySteps::calibrateSquelch(Level level)
{
    return sent(CalibrationCommands::calibrateSquelch(squelchLevel(level)));
}

bool FactorySteps::calibrateRssi(Level level)
{
    return sent(CalibrationCommands::calibrateRssi(rssiLevel(level)));
}

std::optional<int> FactorySteps::readRadioBand()
{
    const auto reply = transact(FactoryCommands::readRadioBand());
    if (!reply)
        return std::nullopt;
    return FactoryCommands::decodeRadioBand(*reply);
}

bool FactorySteps::writeRadioBand(int index)
{
    if (index < 0)
        return refuse(FactoryCommands::bandBlankText());
    return sent(FactoryCommands::writeRadioBand(index));
}

std::optional<QString> FactorySteps::readSerialNumber()
{
    const auto reply = transact(FactoryCommands::readSerialNumber());
    if (!reply)
        return std::nullopt;
    return FactoryCommands::formatSerialNumber(*reply);
}

bool FactorySteps::writeSerialNumber(const std::optional<QString> &text)
{
    if (!text)
        return refuse(FactoryCommands::serialEmptyText());
    const std::optional<quint64> serial = FactoryCommands::parseSerialNumber(*text);
    if (!serial)
        return refuse(FactoryCommands::serialInvalidText());
    return sent(FactoryCommands::writeSerialNumber(*serial));
}

std::optional<int> FactorySteps::readSidetoneVolume()
{
    const auto reply = transact(FactoryCommands::readSidetoneVolume());
    if (!reply)
        return std::nullopt;
    return FactoryCommands::decodeSidetoneVolume(*reply);
}

bool FactorySteps::writeSidetoneVolume(std::optional<int> volume)
{
    if (!volume)
        return refuse(FactoryCommands::sidetoneBlankText());
    return sent(FactoryCommands::writeSidetoneVolume(*volume));
}

std::optional<bool> FactorySteps::readCoupling()
{
    const auto reply = transact(FactoryCommands::readCoupling());
    if (!reply)
        return std::nullopt;
    return FactoryCommands::decodeIsDcCoupling(*reply);
}

bool FactorySteps::writeCoupling(std::optional<bool> dc)
{
    if (!dc)
        return refuse(FactoryCommands::couplingBlankText());
    return sent(FactoryCommands::writeCoupling(*dc));
}
