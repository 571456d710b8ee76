#pragma once

#include "device/wire.h"
#include "protocol/commandengine.h"

#include <QByteArray>

#include <array>

// The channel table on the wire: all frequencies and powers in one command, the other
// parameters of one channel per command.
namespace ChannelCommands {

using Records = std::array<Wire::ChannelRecord, Wire::kChannelCount>;

constexpr int kFreqPowerHeader = 3; // 01 14 00 / 01 15 00
constexpr int kFreqPowerReplyLength =
    kFreqPowerHeader + Wire::kChannelCount * Wire::kChannelRecordSize;
constexpr int kParamsReplyLength = 7; // 32 21 n b s c f

// A channel's parameters as they travel: bandwidth (0x55 narrow), squelch level, CTCSS/DCS,
// scan flag (0x55 scanned).
struct ParamBytes
{
    quint8 bandwidth = 0;
    quint8 squelch = 0;
    quint8 ctcssDcs = 0;
    quint8 scan = 0;
};

Command readFreqAndPower();
Command writeFreqAndPower(const Records &records);
Command readChannelParams(int channel);
Command writeChannelParams(int channel, const ParamBytes &params);

Records decodeFreqAndPower(const QByteArray &reply);
ParamBytes decodeChannelParams(const QByteArray &reply);

// Progress shown after channel step i (0 to 15) of reading or writing the table; the
// frequency step before them shows kFreqPowerPercent.
constexpr int kFreqPowerPercent = 5;
constexpr int tablePercent(int step)
{
    return (step * 100 + 200) / 17;
}

} // namespace ChannelCommands
