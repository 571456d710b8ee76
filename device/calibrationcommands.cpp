#include "device/calibrationcommands.h"

#include "device/adjustcommands.h"
#include "device/wire.h"

#include <QCoreApplication>

using Wire::bytes;

namespace {
constexpr int kRssiOffsetReplyLength = 3; // C2, the point and the offset

QByteArray powerTableRequest(quint8 operation)
{
    return bytes({Wire::Cmd::kSystem, Wire::SystemCmd::kPowerTable, operation});
}

QString transmitModeFailure()
{
    return QCoreApplication::translate("MainWindow", "进入/离开发射模式失败！");
}
} // namespace

Command CalibrationCommands::setTransmitTestMode(int mode)
{
    const auto pattern = [](const std::array<quint8, 3> &ptt) {
        return bytes(
            {Wire::Cmd::kForceTransmit, Wire::Cmd::kForceTransmitKey, ptt[0], ptt[1], ptt[2]});
    };
    switch (static_cast<TransmitMode>(mode)) {
    case TransmitMode::DataPtt:
        return Command::write(pattern(Wire::kDataPttPattern), transmitModeFailure());
    case TransmitMode::VoicePtt:
        return Command::write(pattern(Wire::kVoicePttPattern), transmitModeFailure());
    default:
        return Command::write(bytes({Wire::Cmd::kNormalMode}), transmitModeFailure());
    }
}

Command CalibrationCommands::setSensitivityTestMode(quint8 mode)
{
    return Command::write(
        bytes({Wire::Cmd::kParam, Wire::ParamCmd::kSensitivityTest, mode}),
        QCoreApplication::translate("MainWindow", "接收灵敏度测试模式切换失败！"));
}

Command CalibrationCommands::calibrateSquelch(quint8 level)
{
    return Command::write(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kCalibrateSquelch, level}),
                          QCoreApplication::translate("MainWindow", "静噪校准失败！"));
}

Command CalibrationCommands::calibrateRssi(quint8 levelDbuv)
{
    return Command::write(bytes({Wire::Cmd::kCalibrateRssi, levelDbuv}),
                          QCoreApplication::translate("MainWindow", "场强校准失败！"));
}

QString CalibrationCommands::rssiOffsetBlankText()
{
    return QCoreApplication::translate("MainWindow", "请配置场强校准值！");
}

Command CalibrationCommands::readRssiOffset(int point)
{
    return Command::read(bytes({Wire::Cmd::kReadRssiOffset, point}), kRssiOffsetReplyLength,
                         QCoreApplication::translate("MainWindow", "读场强校准值失败！"));
}

Command CalibrationCommands::writeRssiOffset(int point, int value)
{
    return Command::write(bytes({Wire::Cmd::kWriteRssiOffset, point, value}),
                          QCoreApplication::translate("MainWindow", "设置场强校准值失败！"));
}

Command CalibrationCommands::stepRssiOffset(int point, int delta)
{
    return AdjustCommands::stepCommand(
        bytes({Wire::Cmd::kStepRssiOffset, point, delta}),
        QCoreApplication::translate("MainWindow", "按偏移量修改场强校准值失败！"));
}

int CalibrationCommands::decodeRssiOffset(const QByteArray &reply)
{
    return AdjustCommands::decodeValue(reply, true);
}

QString CalibrationCommands::powerTableBlankText()
{
    return QCoreApplication::translate("MainWindow", "请配置发射功率校准值！");
}

QString CalibrationCommands::noPointSelectedText()
{
    return QCoreApplication::translate("MainWindow", "请选择频段！");
}

QString CalibrationCommands::noPowerSelectedText()
{
    return QCoreApplication::translate("MainWindow", "请选择功率！");
}

Command CalibrationCommands::readPowerTable()
{
    return Command::read(powerTableRequest(Wire::SystemCmd::kPowerTableRead), kPowerReplyLength,
                         QCoreApplication::translate("MainWindow", "读发射功率校准值失败！"));
}

Command CalibrationCommands::writePowerTable(const QByteArray &table)
{
    return Command::write(powerTableRequest(Wire::SystemCmd::kPowerTableWrite) +
                              table.left(Wire::kPowerTableSize),
                          QCoreApplication::translate("MainWindow", "设置发射功率校准值失败！"));
}

Command CalibrationCommands::stepPowerCell(quint8 cell, int delta)
{
    return AdjustCommands::stepCommand(
        powerTableRequest(Wire::SystemCmd::kPowerTableStep) + bytes({cell, delta}),
        QCoreApplication::translate("MainWindow", "按偏移量修改发射功率校准值失败！"));
}

QByteArray CalibrationCommands::decodePowerTable(const QByteArray &reply)
{
    return reply.mid(kPowerReplyLength - Wire::kPowerTableSize, Wire::kPowerTableSize);
}
