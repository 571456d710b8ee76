#include "device/wire.h"

namespace {
constexpr quint32 kDecimalDigits = 100000000; // eight BCD digits
constexpr quint8 kLowPointCell = 0x10;
constexpr quint8 kHighPointCell = 0x20;
constexpr quint8 kPowerIndexMask = 0x0F;
constexpr quint8 kPointMask = 0xF0;

const std::array<Wire::Band, 4> kBands{{
    {0x10, "LX-815 V", "136 MHz - 174 MHz", 13600000, 17400000},
    {0x11, "LX-815 U0", "400 MHz - 440 MHz", 40000000, 44000000},
    {0x12, "LX-815 U1", "430 MHz - 470 MHz", 43000000, 47000000},
    {0x13, "LX-815 U2", "450 MHz - 490 MHz", 45000000, 49000000},
}};
} // namespace

QByteArray Wire::ackDone()
{
    return QByteArray{"\x00\x01", 2};
}

QByteArray Wire::ackRefused()
{
    return QByteArray{"\x00\x02", 2};
}

QByteArray Wire::encodeFrequency(quint32 tenHz)
{
    quint32 rest = tenHz % kDecimalDigits;
    QByteArray bytes(kFrequencyBytes, '\0');
    for (int i = kFrequencyBytes - 1; i >= 0; --i) {
        const quint32 pair = rest % 100;
        rest /= 100;
        bytes[i] = static_cast<char>(((pair / 10) << 4) | (pair % 10));
    }
    return bytes;
}

quint32 Wire::decodeFrequency(const QByteArray &bytes, int offset)
{
    if (offset < 0 || offset + kFrequencyBytes > bytes.size())
        return 0;
    quint32 value = 0;
    for (int i = 0; i < kFrequencyBytes; ++i) {
        const quint8 b = byteAt(bytes, offset + i);
        value = value * 100 + (b >> 4) * 10 + (b & 0x0F);
    }
    return value;
}

bool Wire::isPlainBcd(const QByteArray &bytes, int offset, int count)
{
    if (offset < 0 || offset + count > bytes.size())
        return false;
    for (int i = offset; i < offset + count; ++i) {
        const quint8 b = byteAt(bytes, i);
        if ((b >> 4) > 9 || (b & 0x0F) > 9)
            return false;
    }
    return true;
}

bool Wire::ChannelRecord::operator==(const ChannelRecord &other) const
{
    return txFreq == other.txFreq && rxFreq == other.rxFreq && power == other.power;
}

QByteArray Wire::encodeChannelRecord(const ChannelRecord &record)
{
    QByteArray bytes = encodeFrequency(record.txFreq);
    bytes.append(encodeFrequency(record.rxFreq));
    bytes.append(static_cast<char>(record.power));
    return bytes;
}

Wire::ChannelRecord Wire::decodeChannelRecord(const QByteArray &bytes, int offset)
{
    if (offset < 0 || offset + kChannelRecordSize > bytes.size())
        return {};
    return ChannelRecord{decodeFrequency(bytes, offset),
                         decodeFrequency(bytes, offset + kFrequencyBytes),
                         byteAt(bytes, offset + 2 * kFrequencyBytes)};
}

const std::array<Wire::Band, 4> &Wire::bands()
{
    return kBands;
}

const Wire::Band *Wire::findBand(quint8 code)
{
    for (const Band &band : kBands) {
        if (band.code == code)
            return &band;
    }
    return nullptr;
}

bool Wire::isThreePointType(quint8 type)
{
    switch (type) {
    case 5:
    case 6:
    case 7:
    case 8:
    case 11:
    case 12:
        return true;
    default:
        return false;
    }
}

int Wire::powerTableIndex(int powerIndex, FreqPoint point)
{
    const int column = point == FreqPoint::Middle ? 0 : point == FreqPoint::Low ? 1 : 2;
    return powerIndex * 3 + column;
}

quint8 Wire::powerCellByte(int powerIndex, FreqPoint point)
{
    const quint8 pointBits = point == FreqPoint::Low    ? kLowPointCell
                             : point == FreqPoint::High ? kHighPointCell
                                                        : 0;
    return static_cast<quint8>(pointBits | (powerIndex & kPowerIndexMask));
}

std::optional<int> Wire::powerTableIndexOfCell(quint8 cell)
{
    const int powerIndex = cell & kPowerIndexMask;
    if (powerIndex >= kPowerSteps)
        return std::nullopt;
    switch (cell & kPointMask) {
    case 0:
        return powerTableIndex(powerIndex, FreqPoint::Middle);
    case kLowPointCell:
        return powerTableIndex(powerIndex, FreqPoint::Low);
    case kHighPointCell:
        return powerTableIndex(powerIndex, FreqPoint::High);
    default:
        return std::nullopt;
    }
}

QByteArray Wire::bytes(std::initializer_list<int> values)
{
    QByteArray result;
    result.reserve(static_cast<int>(values.size()));
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

quint8 Wire::byteAt(const QByteArray &bytes, int index)
{
    return index >= 0 && index < bytes.size() ? static_cast<quint8>(bytes.at(index)) : 0;
}
