#pragma once

#include "app/mjsonconfig.h"
#include "config/memberlimits.h"
#include "device/channelcommands.h"
#include "device/wire.h"

#include <QString>

#include <array>

// The user configuration file: the user page and the channel table as a JSON document. The
// values are what the widgets hold, so the window and the command-line tool write the same
// file.
struct UserChannel
{
    quint32 rxFreq = 0;    // 10 Hz, 0 for an unused channel
    quint32 txFreq = 0;    // 10 Hz
    int txPowerIndex = -1; // selector indices, -1 without selection
    int bandwidthIndex = -1;
    int sqLevelIndex = -1;
    int ctcssDcsIndex = -1;
    int scanIndex = -1;

    bool operator==(const UserChannel &other) const;
    bool operator!=(const UserChannel &other) const { return !(*this == other); }
};

struct UserConfig
{
    bool dipSwitch = false; // channel chosen by the DIP switch, else by program
    int currentChannel = 1;
    bool saveChannel = true;
    std::array<UserChannel, Wire::kChannelCount> channels{};
    int txTimeout = 0; // s
    int stopTime = 0;  // s
    int volume = 0;
    bool powerSave = false;
    int sleepTime = 0;   // x 20 ms
    int standbyTime = 0; // x 40 ms
    bool squareWave = false;
    bool sidetone = false;
    int scanModeIndex = -1;

    // Every member in the order a save writes them (124 entries).
    MJsonConfig::Entries entries() const;
    // The members of the 16 channels alone (112 entries), as entries() writes them.
    MJsonConfig::Entries channelEntries() const;
    // Missing and null members take their defaults; other values convert as JSON values do.
    static UserConfig fromStore(const MJsonConfig &store);
    // What each member of the file may hold: the ranges of the page's spin boxes, selectors
    // and frequency cells, the texts of its two-way choices; and the selections the write
    // needs of the scan mode and of each channel in use.
    static MemberLimits limits();
    // What the user page holds after showing these values: numbers clamped to the spin boxes'
    // ranges, frequencies as their cells read back, indices without an item as no selection.
    UserConfig normalised() const;

    bool operator==(const UserConfig &other) const;
    bool operator!=(const UserConfig &other) const { return !(*this == other); }
};

namespace UserConfigFile {
// A channel as the table holds it after reading the module: its frequency record and, for a
// channel in use, its parameter bytes (not read for a channel with a frequency of 0).
UserChannel channelFromModule(const Wire::ChannelRecord &record,
                              const ChannelCommands::ParamBytes &params);

constexpr int kEntryCount = 3 + Wire::kChannelCount * 7 + 9;
inline const QString kDipSwitch = QStringLiteral("DIP");
inline const QString kByProgram = QStringLiteral("Progrem"); // the file format's own spelling
inline const QString kSquareWave = QStringLiteral("Square");
inline const QString kSineWave = QStringLiteral("Sine");
} // namespace UserConfigFile
