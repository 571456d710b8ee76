#pragma once

#include <QByteArray>

#include <array>
#include <initializer_list>
#include <optional>

// Byte-level pieces of the module protocol shared by the tool's operations and the module
// simulator: request codes, frequencies, channel records, bands, adjust types, the power table.
namespace Wire {

// A payload written as its byte values: bytes({0x32, 0x23}).
QByteArray bytes(std::initializer_list<int> values);
// The byte at index as unsigned, 0 outside the array.
quint8 byteAt(const QByteArray &bytes, int index);

// Two-state values: 0x55 is the first option; on reading any other byte is the second.
constexpr quint8 kOn = 0x55;
constexpr quint8 kOff = 0x00;

// Acknowledgement of a change: 00 01 done; 00 with any other status is a refusal.
constexpr quint8 kAckLead = 0x00;
constexpr quint8 kAckDone = 0x01;
constexpr quint8 kAckRefused = 0x02; // the status the simulated module refuses with
QByteArray ackDone();
QByteArray ackRefused();

// First byte of every request. The kSystem and kParam families carry a sub-code second.
namespace Cmd {
constexpr quint8 kSystem = 0x01;
constexpr quint8 kParam = 0x32;
constexpr quint8 kReadTxProtect = 0x33;
constexpr quint8 kWriteTxProtect = 0x34;
constexpr quint8 kReadCoupling = 0x39;
constexpr quint8 kWriteCoupling = 0x3A;
constexpr quint8 kReadAdjust = 0xA0;
constexpr quint8 kWriteAdjust = 0xA1;
constexpr quint8 kStepAdjust = 0xA2;
constexpr quint8 kForceTransmit = 0xA6; // followed by kForceTransmitKey and a PTT pattern
constexpr quint8 kNormalMode = 0xA7;
constexpr quint8 kReadRssi = 0xC1;
constexpr quint8 kReadRssiOffset = 0xC2;
constexpr quint8 kWriteRssiOffset = 0xC3;
constexpr quint8 kStepRssiOffset = 0xC4;
constexpr quint8 kCalibrateRssi = 0xC5;
constexpr quint8 kReadSerial = 0xC6;
constexpr quint8 kWriteSerial = 0xC7;
constexpr quint8 kForceTransmitKey = 0x6A;
} // namespace Cmd

// Second byte after Cmd::kSystem.
namespace SystemCmd {
constexpr quint8 kReadFreqPower = 0x14;
constexpr quint8 kWriteFreqPower = 0x15;
constexpr quint8 kReadCurrentChannel = 0x16;
constexpr quint8 kWriteCurrentChannel = 0x17;
constexpr quint8 kReadFirmware = 0x18;
constexpr quint8 kPowerTable =
    0x81; // third byte: kPowerTableRead, kPowerTableWrite, kPowerTableStep
constexpr quint8 kPowerTableRead = 0x00;
constexpr quint8 kPowerTableWrite = 0x01;
constexpr quint8 kPowerTableStep = 0x02;
constexpr quint8 kFreqPowerPage = 0x00; // third byte of the frequency and power commands
} // namespace SystemCmd

// Second byte after Cmd::kParam.
namespace ParamCmd {
constexpr quint8 kReadPowerSave = 0x01;
constexpr quint8 kWritePowerSave = 0x02;
constexpr quint8 kReadPowerSaveTime = 0x03;
constexpr quint8 kWritePowerSaveTime = 0x04;
constexpr quint8 kReadAudioWave = 0x05;
constexpr quint8 kWriteAudioWave = 0x06;
constexpr quint8 kReadSidetone = 0x07;
constexpr quint8 kWriteSidetone = 0x08;
constexpr quint8 kReadCtrlMode = 0x09;
constexpr quint8 kWriteCtrlMode = 0x0A;
constexpr quint8 kCalibrateSquelch = 0x13;
constexpr quint8 kSensitivityTest = 0x1A;
constexpr quint8 kReadScanMode = 0x1D;
constexpr quint8 kWriteScanMode = 0x1E;
constexpr quint8 kDisableVirtualPort = 0x20;
constexpr quint8 kReadChannelParams = 0x21;
constexpr quint8 kWriteChannelParams = 0x22;
constexpr quint8 kReadBand = 0x23;
constexpr quint8 kWriteBand = 0x24;
constexpr quint8 kReadSidetoneVolume = 0x25;
constexpr quint8 kWriteSidetoneVolume = 0x26;
} // namespace ParamCmd

// The forced-transmit PTT patterns after A6 6A.
constexpr std::array<quint8, 3> kDataPttPattern{0x11, 0x22, 0x33};
constexpr std::array<quint8, 3> kVoicePttPattern{0x33, 0x22, 0x11};

// Frequencies: 10 Hz counts, 4 bytes of packed BCD with the most significant digit pair first.
constexpr int kFrequencyBytes = 4;
QByteArray encodeFrequency(quint32 tenHz); // keeps the lowest eight decimal digits
// Each nibble times its decimal weight, without checking that it is below 10.
quint32 decodeFrequency(const QByteArray &bytes, int offset = 0);
bool isPlainBcd(const QByteArray &bytes, int offset, int count);

// One channel in the frequency and power commands: TX first, then RX, then the power index.
constexpr int kChannelCount = 16;
constexpr int kChannelRecordSize = 9;
struct ChannelRecord
{
    quint32 txFreq = 0; // 10 Hz
    quint32 rxFreq = 0; // 10 Hz
    quint8 power = 0;   // 0 = 1 W ... 4 = 5 W
    bool operator==(const ChannelRecord &other) const;
};
QByteArray encodeChannelRecord(const ChannelRecord &record);
// The record at offset; an all-zero record when the bytes end before it.
ChannelRecord decodeChannelRecord(const QByteArray &bytes, int offset);

// Band codes of the band query and the band write.
struct Band
{
    quint8 code;
    const char *model; // shown as it stands, not translated
    const char *range;
    quint32 freqMin; // 10 Hz
    quint32 freqMax; // 10 Hz
};
const std::array<Band, 4> &bands();
const Band *findBand(quint8 code);

// Adjust values: types 0 to 12; type 9 is the user volume. Three-point types carry a point byte.
constexpr int kAdjustTypeCount = 13;
constexpr quint8 kVolumeAdjustType = 0x09;
constexpr int kAdjustPoints = 3; // 0 low difference, 1 middle value, 2 high difference
constexpr int kMiddlePoint = 1;
bool isThreePointType(quint8 type);

// Transmit power table: 5 powers x 3 frequency points; per power the wire order is middle, low,
// high. The step command names one cell: high nibble the point, low nibble the power index.
enum class FreqPoint
{
    Low,
    Middle,
    High
};
constexpr int kPowerSteps = 5;
constexpr int kPowerTableSize = 15;
int powerTableIndex(int powerIndex, FreqPoint point);
quint8 powerCellByte(int powerIndex, FreqPoint point);
// The wire index of the cell a step names, or nothing for a byte that names no cell.
std::optional<int> powerTableIndexOfCell(quint8 cell);

} // namespace Wire
