#include "device/usercommands.h"

#include "device/wire.h"

#include <QCoreApplication>

using Wire::bytes;

namespace {
constexpr int kTwoValueReply = 3; // code, sub-code or first value, value
constexpr int kThreeValueReply = 4;
constexpr int kRssiReply = 2;
constexpr quint8 kStoreChannel = 0x01;
constexpr quint8 kKeepChannel = 0x00;
constexpr quint8 kScanModePad = 0x00;

quint8 twoState(bool first)
{
    return first ? Wire::kOn : Wire::kOff;
}

quint8 byteOf(int value)
{
    return static_cast<quint8>(value);
}

Command readParam(quint8 subCode, int replyLength, const QString &failure)
{
    return Command::read(bytes({Wire::Cmd::kParam, subCode}), replyLength, failure);
}

Command writeParam(quint8 subCode, quint8 value, const QString &failure)
{
    return Command::write(bytes({Wire::Cmd::kParam, subCode, value}), failure);
}
} // namespace

using namespace Wire;

Command UserCommands::readCtrlMode()
{
    return readParam(ParamCmd::kReadCtrlMode, kTwoValueReply,
                     QCoreApplication::translate("MainWindow", "读频道控制模式失败！"));
}

Command UserCommands::writeCtrlMode(bool dipSwitch)
{
    return writeParam(ParamCmd::kWriteCtrlMode, twoState(dipSwitch),
                      QCoreApplication::translate("MainWindow", "设置频道控制模式失败！"));
}

Command UserCommands::readCurrentChannel()
{
    return Command::read(bytes({Cmd::kSystem, SystemCmd::kReadCurrentChannel}), kTwoValueReply,
                         QCoreApplication::translate("MainWindow", "读当前频道失败！"));
}

Command UserCommands::writeCurrentChannel(int channel, bool store)
{
    return Command::write(bytes({Cmd::kSystem, SystemCmd::kWriteCurrentChannel, byteOf(channel),
                                 store ? kStoreChannel : kKeepChannel}),
                          QCoreApplication::translate("MainWindow", "设置当前频道失败！"));
}

Command UserCommands::readTxProtect()
{
    return Command::read(bytes({Cmd::kReadTxProtect}), kTwoValueReply,
                         QCoreApplication::translate("MainWindow", "读发射保护时间失败！"));
}

Command UserCommands::writeTxProtect(int timeoutS, int stopTimeS)
{
    return Command::write(bytes({Cmd::kWriteTxProtect, byteOf(timeoutS), byteOf(stopTimeS)}),
                          QCoreApplication::translate("MainWindow", "设置发射保护时间失败！"));
}

Command UserCommands::readVolume()
{
    return Command::read(bytes({Cmd::kReadAdjust, kVolumeAdjustType}), kTwoValueReply,
                         QCoreApplication::translate("MainWindow", "读音量失败！"));
}

Command UserCommands::writeVolume(int volume)
{
    return Command::write(bytes({Cmd::kWriteAdjust, kVolumeAdjustType, byteOf(volume)}),
                          QCoreApplication::translate("MainWindow", "设置音量失败！"));
}

Command UserCommands::readPowerSave()
{
    return readParam(ParamCmd::kReadPowerSave, kTwoValueReply,
                     QCoreApplication::translate("MainWindow", "读省电模式失败！"));
}

Command UserCommands::writePowerSave(bool enabled)
{
    return writeParam(ParamCmd::kWritePowerSave, twoState(enabled),
                      QCoreApplication::translate("MainWindow", "设置省电模式失败！"));
}

Command UserCommands::readPowerSaveTime()
{
    return readParam(ParamCmd::kReadPowerSaveTime, kThreeValueReply,
                     QCoreApplication::translate("MainWindow", "读省电模式时间失败！"));
}

Command UserCommands::writePowerSaveTime(int sleepSteps, int standbySteps)
{
    return Command::write(bytes({Cmd::kParam, ParamCmd::kWritePowerSaveTime, byteOf(sleepSteps),
                                 byteOf(standbySteps)}),
                          QCoreApplication::translate("MainWindow", "设置省电模式时间失败！"));
}

Command UserCommands::readAudioWave()
{
    return readParam(ParamCmd::kReadAudioWave, kTwoValueReply,
                     QCoreApplication::translate("MainWindow", "读音频口输出波形类型失败！"));
}

Command UserCommands::writeAudioWave(bool squareWave)
{
    return writeParam(ParamCmd::kWriteAudioWave, twoState(squareWave),
                      QCoreApplication::translate("MainWindow", "设置音频口输出波形类型失败！"));
}

Command UserCommands::readSidetone()
{
    return readParam(ParamCmd::kReadSidetone, kTwoValueReply,
                     QCoreApplication::translate("MainWindow", "读侧音开关失败！"));
}

Command UserCommands::writeSidetone(bool enabled)
{
    return writeParam(ParamCmd::kWriteSidetone, twoState(enabled),
                      QCoreApplication::translate("MainWindow", "设置侧音开关失败！"));
}

Command UserCommands::readRssi()
{
    return Command::read(bytes({Cmd::kReadRssi}), kRssiReply,
                         QCoreApplication::translate("MainWindow", "读 RSSI 失败！"));
}

Command UserCommands::readScanMode()
{
    return readParam(ParamCmd::kReadScanMode, kThreeValueReply,
                     QCoreApplication::translate("MainWindow", "读频道扫描模式失败！"));
}

Command UserCommands::writeScanMode(int mode)
{
    return Command::write(
        bytes({Cmd::kParam, ParamCmd::kWriteScanMode, byteOf(mode), kScanModePad}),
        QCoreApplication::translate("MainWindow", "设置频道扫描模式失败！"));
}

Command UserCommands::disableVirtualPort()
{
    return writeParam(ParamCmd::kDisableVirtualPort, kOn,
                      QCoreApplication::translate("MainWindow", "设置停用虚拟串口失败！"));
}

bool UserParams::isFirstOption(quint8 byte)
{
    return byte == Wire::kOn;
}

int UserParams::scanModeIndex(quint8 byte)
{
    return byte < kScanModeCount ? byte : -1;
}

int UserParams::rssiFromWire(quint8 byte)
{
    return static_cast<qint8>(byte);
}
