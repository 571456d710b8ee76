#include "device/channelcommands.h"

#include <QCoreApplication>

using Wire::byteAt;
using Wire::bytes;

namespace {
constexpr int kParamsFirstByte = 3;
} // namespace

Command ChannelCommands::readFreqAndPower()
{
    return Command::read(bytes({Wire::Cmd::kSystem, Wire::SystemCmd::kReadFreqPower,
                                Wire::SystemCmd::kFreqPowerPage}),
                         kFreqPowerReplyLength,
                         QCoreApplication::translate("MainWindow", "读频率和功率失败！"));
}

Command ChannelCommands::writeFreqAndPower(const Records &records)
{
    QByteArray request = bytes(
        {Wire::Cmd::kSystem, Wire::SystemCmd::kWriteFreqPower, Wire::SystemCmd::kFreqPowerPage});
    for (const Wire::ChannelRecord &record : records)
        request.append(Wire::encodeChannelRecord(record));
    return Command::write(request,
                          QCoreApplication::translate("MainWindow", "设置频道的频率和功率失败！"));
}

Command ChannelCommands::readChannelParams(int channel)
{
    return Command::read(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kReadChannelParams,
                                static_cast<quint8>(channel)}),
                         kParamsReplyLength,
                         QCoreApplication::translate("MainWindow", "读频道参数失败！"));
}

Command ChannelCommands::writeChannelParams(int channel, const ParamBytes &params)
{
    return Command::write(
        bytes({Wire::Cmd::kParam, Wire::ParamCmd::kWriteChannelParams, static_cast<quint8>(channel),
               params.bandwidth, params.squelch, params.ctcssDcs, params.scan}),
        QCoreApplication::translate("MainWindow", "设置频道参数失败！"));
}

ChannelCommands::Records ChannelCommands::decodeFreqAndPower(const QByteArray &reply)
{
    Records records{};
    for (int i = 0; i < Wire::kChannelCount; ++i)
        records[i] =
            Wire::decodeChannelRecord(reply, kFreqPowerHeader + i * Wire::kChannelRecordSize);
    return records;
}

ChannelCommands::ParamBytes ChannelCommands::decodeChannelParams(const QByteArray &reply)
{
    return ParamBytes{byteAt(reply, kParamsFirstByte), byteAt(reply, kParamsFirstByte + 1),
                      byteAt(reply, kParamsFirstByte + 2), byteAt(reply, kParamsFirstByte + 3)};
}
