#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>

// The module's user parameters on the wire, and how their replies sit in the user page's
// widgets. Shared by the window and the command-line tool.
namespace UserCommands {

Command readCtrlMode();
Command writeCtrlMode(bool dipSwitch);
Command readCurrentChannel();
Command writeCurrentChannel(int channel, bool store);
Command readTxProtect();
Command writeTxProtect(int timeoutS, int stopTimeS);
Command readVolume();
Command writeVolume(int volume);
Command readPowerSave();
Command writePowerSave(bool enabled);
Command readPowerSaveTime();
Command writePowerSaveTime(int sleepSteps, int standbySteps);
Command readAudioWave();
Command writeAudioWave(bool squareWave);
Command readSidetone();
Command writeSidetone(bool enabled);
Command readRssi();
Command readScanMode();
Command writeScanMode(int mode);
Command disableVirtualPort();

// Where the value bytes sit in the replies.
constexpr int kValueIndex = 2;     // 32 xx v, 01 16 c, A0 09 v, 32 03 a b, 32 1D m x
constexpr int kTxProtectIndex = 1; // 33 t p
constexpr int kRssiIndex = 1;      // C1 r

} // namespace UserCommands

// The user page's value ranges (the form's spin boxes) and reply conversions.
namespace UserParams {

struct Range
{
    int minimum;
    int maximum;
    // What a spin box of this range shows for a value.
    constexpr int clamp(int value) const
    {
        return value < minimum ? minimum : value > maximum ? maximum : value;
    }
    constexpr bool contains(int value) const { return value >= minimum && value <= maximum; }
};

constexpr Range kCurrentChannel{1, 16};
constexpr Range kTxTimeout{0, 255}; // s
constexpr Range kStopTime{0, 255};  // s
constexpr Range kVolume{0, 9};
constexpr Range kSleepTime{0, 25};   // x 20 ms
constexpr Range kStandbyTime{0, 15}; // x 40 ms
constexpr int kScanModeCount = 4;    // "Mode 0" .. "Mode 3"

// A two-state byte: only 0x55 is the first option.
bool isFirstOption(quint8 byte);
// The selector index of a scan mode byte; -1 for a mode without an item.
int scanModeIndex(quint8 byte);
// RSSI travels as a signed byte, in dBuV.
int rssiFromWire(quint8 byte);

} // namespace UserParams

// Progress of reading and writing all parameters, in percent after each step.
namespace AllParams {

namespace ReadPercent {
constexpr int kBand = 0;
constexpr int kFirmware = 3;
constexpr int kSerial = 6;
constexpr int kFreqPower = 10;
constexpr int channel(int n)
{
    return (300 + 100 * n) / 29;
}
constexpr int kCtrlMode = 68;
constexpr int kCurrentChannel = 72;
constexpr int kTxProtect = 75;
constexpr int kVolume = 79;
constexpr int kPowerSave = 82;
constexpr int kPowerSaveTime = 86;
constexpr int kAudioWave = 89;
constexpr int kSidetone = 93;
constexpr int kScanMode = 96;
} // namespace ReadPercent

namespace WritePercent {
constexpr int kFreqPower = 0;
constexpr int channel(int n)
{
    return 100 * n / 26;
}
constexpr int kCtrlMode = 65;
constexpr int kCurrentChannel = 69; // also when the DIP switch chooses the channel
constexpr int kTxProtect = 73;
constexpr int kVolume = 76;
constexpr int kPowerSave = 80;
constexpr int kPowerSaveTime = 84;
constexpr int kAudioWave = 88;
constexpr int kSidetone = 92;
constexpr int kScanMode = 96;
} // namespace WritePercent

} // namespace AllParams
