#include "device/channelcodec.h"

namespace {
constexpr quint32 kTenHzPerMHz = 100000;
constexpr int kFractionDigits = 5;
constexpr int kMaskIntegerDigits = 3;
constexpr int kMaskDigits = 8;

// Entry grids in 10 Hz units, each with the offset that rounds half up onto it.
constexpr quint32 kGrid5k = 500; // 5 kHz
constexpr quint32 kHalf5k = 250;
constexpr quint32 kGrid6k25 = 625; // 6.25 kHz
constexpr quint32 kHalf6k25 = 313; // rounds a remainder of 312 up as well
constexpr quint32 kGrid7k5 = 750;  // 7.5 kHz
constexpr quint32 kHalf7k5 = 375;
// Only a band inside 136-174 MHz uses the 7.5 kHz grid.
constexpr quint32 kVhfLowestMin = 13599999; // freqMin must be above this
constexpr quint32 kVhfHighestMax = 17400000;

// Selector items and wire bytes.
constexpr quint8 kCtcssDisabled = 0xFF;
constexpr quint8 kSwitchSignal = 0x30;
constexpr int kDisableIndex = 0;
constexpr int kSwitchSignalIndex = 1;
constexpr int kFirstToneIndex = 4;
constexpr int kToneCount = 48; // wire 0x00 .. 0x2F
constexpr int kFirstDcsIndex = 54;
constexpr int kDcsCount = 104; // wire 0x80 .. 0xE7
constexpr quint8 kFirstDcsByte = 0x80;
constexpr int kPowerSteps = 5;
constexpr int kSquelchLevels = 6;
constexpr int kFirstOptionIndex = 0;  // narrow, scan on
constexpr int kSecondOptionIndex = 1; // wide, scan off

const char kCtcssDcsList[] =
    "Disable, Switch Signal, ---------, CTCSS, 67.0Hz, 69.3Hz, 71.9Hz, 74.4Hz, 77.0Hz, 79.7Hz, "
    "82.5Hz, 85.4Hz, 88.5Hz, 91.5Hz, 94.8Hz, 97.4Hz, 100.0Hz, 103.5Hz, 107.2Hz, 110.9Hz, "
    "114.8Hz, 118.8Hz, 123.0Hz, 127.3Hz, 131.8Hz, 136.5Hz, 141.3Hz, 146.2Hz, 151.4Hz, 156.7Hz, "
    "162.2Hz, 167.9Hz, 173.8Hz, 179.9Hz, 186.2Hz, 192.8Hz, 203.5Hz, 210.7Hz, 218.1Hz, 225.7Hz, "
    "233.6Hz, 241.8Hz, 250.3Hz, 62.5Hz, 64.7Hz, 159.8Hz, 183.5Hz, 189.9Hz, 196.6Hz, 199.5Hz, "
    "206.5Hz, 229.1Hz, ---------, DCS, 023, 025, 026, 031, 032, 043, 047, 051, 054, 065, 071, "
    "072, 073, 074, 114, 115, 116, 125, 131, 132, 134, 143, 152, 155, 156, 162, 165, 172, 174, "
    "205, 223, 226, 243, 244, 245, 251, 261, 263, 265, 271, 306, 311, 315, 331, 343, 346, 351, "
    "364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 464, 465, 466, 503, 506, 516, 532, 546, "
    "565, 606, 612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754, "
    "036, 053, 122, 145, 212, 225, 246, 252, 255, 266, 274, 325, 332, 356, 446, 452, 454, 455, "
    "462, 523, 526";

quint32 roundedTo(quint32 value, quint32 half, quint32 grid)
{
    return (value + half) / grid * grid;
}

quint32 distance(quint32 a, quint32 b)
{
    return a > b ? a - b : b - a;
}

int twoStateIndex(quint8 byte)
{
    return byte == Wire::kOn ? kFirstOptionIndex : kSecondOptionIndex;
}

std::optional<quint8> twoStateWire(int index)
{
    if (index == kFirstOptionIndex)
        return Wire::kOn;
    if (index == kSecondOptionIndex)
        return Wire::kOff;
    return std::nullopt;
}
} // namespace

QString ChannelCodec::cellName(int channel, const QString &field)
{
    return QStringLiteral("CH%1_%2").arg(channel).arg(field);
}

int ChannelCodec::channelOfCellName(const QString &name)
{
    const int underscore = name.indexOf(QLatin1Char('_'));
    return name.mid(2, underscore - 2).toInt();
}

QStringList ChannelCodec::headerTexts()
{
    return {QStringLiteral("CH"),        QStringLiteral("RX(MHz)"),   QStringLiteral("TX(MHz)"),
            QStringLiteral("Power(W)"),  QStringLiteral("Bandwidth"), QStringLiteral("SQ Level"),
            QStringLiteral("CTCSS/DCS"), QStringLiteral("Scan")};
}

QStringList ChannelCodec::txPowerItems()
{
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
            QStringLiteral("5")};
}

QStringList ChannelCodec::bandwidthItems()
{
    return {QStringLiteral("Narrow"), QStringLiteral("Wide")};
}

QStringList ChannelCodec::sqLevelItems()
{
    return {QStringLiteral("L0"), QStringLiteral("L1"), QStringLiteral("L2"),
            QStringLiteral("L3"), QStringLiteral("L4"), QStringLiteral("L5")};
}

QStringList ChannelCodec::ctcssDcsItems()
{
    return QString::fromLatin1(kCtcssDcsList).split(QStringLiteral(", "), Qt::KeepEmptyParts);
}

QStringList ChannelCodec::scanItems()
{
    return {QStringLiteral("ON"), QStringLiteral("OFF")};
}

int ChannelCodec::txPowerIndexFromWire(quint8 power)
{
    return power < kPowerSteps ? power : kNoSelection;
}

int ChannelCodec::bandwidthIndexFromWire(quint8 byte)
{
    return twoStateIndex(byte);
}

int ChannelCodec::sqLevelIndexFromWire(quint8 byte)
{
    return byte < kSquelchLevels ? byte : kNoSelection;
}

int ChannelCodec::ctcssDcsIndexFromWire(quint8 byte)
{
    if (byte == kCtcssDisabled)
        return kDisableIndex;
    if (byte == kSwitchSignal)
        return kSwitchSignalIndex;
    if (byte < kToneCount)
        return kFirstToneIndex + byte;
    if (byte >= kFirstDcsByte && byte < kFirstDcsByte + kDcsCount)
        return kFirstDcsIndex + (byte - kFirstDcsByte);
    return kNoSelection;
}

int ChannelCodec::scanIndexFromWire(quint8 byte)
{
    return twoStateIndex(byte);
}

int ChannelCodec::txPowerIndexFromRecord(const Wire::ChannelRecord &record)
{
    return record.txFreq == 0 ? kNoSelection : txPowerIndexFromWire(record.power);
}

std::optional<quint8> ChannelCodec::bandwidthWireFromIndex(int index)
{
    return twoStateWire(index);
}

std::optional<quint8> ChannelCodec::sqLevelWireFromIndex(int index)
{
    if (index < 0 || index >= kSquelchLevels)
        return std::nullopt;
    return static_cast<quint8>(index);
}

std::optional<quint8> ChannelCodec::ctcssDcsWireFromIndex(int index)
{
    if (index == kDisableIndex)
        return kCtcssDisabled;
    if (index == kSwitchSignalIndex)
        return kSwitchSignal;
    if (index >= kFirstToneIndex && index < kFirstToneIndex + kToneCount)
        return static_cast<quint8>(index - kFirstToneIndex);
    if (index >= kFirstDcsIndex && index < kFirstDcsIndex + kDcsCount)
        return static_cast<quint8>(kFirstDcsByte + (index - kFirstDcsIndex));
    return std::nullopt;
}

std::optional<quint8> ChannelCodec::scanWireFromIndex(int index)
{
    return twoStateWire(index);
}

QString ChannelCodec::frequencyText(quint32 value)
{
    return QStringLiteral("%1.%2")
        .arg(value / kTenHzPerMHz)
        .arg(value % kTenHzPerMHz, kFractionDigits, 10, QLatin1Char('0'));
}

quint32 ChannelCodec::frequencyFromText(const QString &displayText)
{
    QString digits = displayText;
    digits.remove(QLatin1Char('.'));
    bool ok = false;
    const uint value = digits.toUInt(&ok);
    return ok ? value : 0;
}

quint32 ChannelCodec::shownFrequency(quint32 value)
{
    const quint32 whole = value / kTenHzPerMHz;
    const quint32 fraction = value % kTenHzPerMHz;
    const QString wholeText = QString::number(whole);
    if (wholeText.size() <= kMaskIntegerDigits) {
        quint32 scale = 1;
        for (int i = wholeText.size(); i < kMaskIntegerDigits; ++i)
            scale *= 10;
        return whole * scale * kTenHzPerMHz + fraction;
    }
    const QString digits =
        wholeText + QStringLiteral("%1").arg(fraction, kFractionDigits, 10, QLatin1Char('0'));
    return digits.left(kMaskDigits).toUInt();
}

bool ChannelCodec::isOutOfBand(quint32 value, quint32 freqMin, quint32 freqMax)
{
    return value < freqMin || value > freqMax;
}

QString ChannelCodec::bandText(quint32 freqMin, quint32 freqMax)
{
    return QStringLiteral("%1\u2013%2 MHz").arg(frequencyText(freqMin), frequencyText(freqMax));
}

quint32 ChannelCodec::snapFrequency(quint32 typed, quint32 freqMin, quint32 freqMax)
{
    quint32 chosen = 0;
    const auto consider = [&](quint32 candidate) {
        if (distance(candidate, typed) < distance(chosen, typed))
            chosen = candidate;
    };
    consider(roundedTo(typed, kHalf5k, kGrid5k));
    consider(roundedTo(typed, kHalf6k25, kGrid6k25));
    if (freqMin > kVhfLowestMin && freqMax <= kVhfHighestMax)
        consider(roundedTo(typed, kHalf7k5, kGrid7k5));
    return chosen;
}
