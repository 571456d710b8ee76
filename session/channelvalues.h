#pragma once

#include "device/channelcodec.h"

// The channel table as the pages show it: the channel count, cell names, selector items,
// frequency texts, their mask and marking, and the rounding of typed frequencies. Pure values
// of the channel codec, named here so that the window reaches nothing of the wire but through
// session/.
namespace ChannelValues {

using ChannelCodec::kChannelCount;

using ChannelCodec::kBandwidth;
using ChannelCodec::kCtcssDcs;
using ChannelCodec::kRxFreq;
using ChannelCodec::kScan;
using ChannelCodec::kSqLevel;
using ChannelCodec::kTxFreq;
using ChannelCodec::kTxPower;

using ChannelCodec::cellName;
using ChannelCodec::channelOfCellName;

using ChannelCodec::bandwidthItems;
using ChannelCodec::ctcssDcsItems;
using ChannelCodec::headerTexts;
using ChannelCodec::kNoSelection;
using ChannelCodec::scanItems;
using ChannelCodec::sqLevelItems;
using ChannelCodec::txPowerItems;

using ChannelCodec::frequencyFromText;
using ChannelCodec::frequencyText;
using ChannelCodec::isOutOfBand;
using ChannelCodec::kFrequencyMask;
using ChannelCodec::kMaxFrequency;
using ChannelCodec::kOutOfBandStyle;
using ChannelCodec::shownFrequency;
using ChannelCodec::snapFrequency;

} // namespace ChannelValues
