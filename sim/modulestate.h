#pragma once

#include "device/wire.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// One channel as the module stores it; the bytes are kept as they travel on the wire.
struct ChannelState
{
    quint32 txFreq = 0;           // 10 Hz, 0 = channel not in use
    quint32 rxFreq = 0;           // 10 Hz
    quint8 power = 0;             // 0 = 1 W ... 4 = 5 W
    quint8 bandwidth = Wire::kOn; // 0x55 narrow, else wide
    quint8 squelch = 0;           // 0..5
    quint8 ctcssDcs = 0xFF;       // CTCSS/DCS wire byte, 0xFF disabled
    quint8 scan = Wire::kOff;     // 0x55 scanned

    bool operator==(const ChannelState &other) const;
    bool operator!=(const ChannelState &other) const { return !(*this == other); }
};

// Everything the simulated module remembers. Plain values, so tests can set any of them
// (including values the module would refuse over the wire) and compare two modules.
struct ModuleState
{
    static constexpr quint8 kDefaultBand = 0x13;
    static constexpr int kSerialBytes = 6;

    // Identity
    quint8 band = kDefaultBand;
    QString firmware;
    QByteArray serialNumber; // kSerialBytes bytes, most significant first
    std::array<ChannelState, Wire::kChannelCount> channels{};

    // User parameters
    quint8 ctrlMode = Wire::kOff; // 0x55 DIP switch, else software
    quint8 currentChannel = 1;    // 1..16
    quint8 storeChannel = 1;      // store flag of the last channel change
    quint8 txTimeout = 0;         // s
    quint8 protectTime = 0;       // s
    quint8 volume = 0;            // 0..9, also adjust type 9
    quint8 powerSave = Wire::kOff;
    quint8 sleepTime = 0;         // x 20 ms, 0..25
    quint8 standbyTime = 0;       // x 40 ms, 0..15
    quint8 audioWave = Wire::kOn; // 0x55 square wave
    quint8 sidetone = Wire::kOn;
    qint8 rssi = 0;      // dBuV
    quint8 scanMode = 0; // 0..3
    bool virtualPortDisabled = false;

    // Factory values. Single-value adjust types keep their value at the middle point; the entry
    // of type 9 is unused because that type is the volume.
    std::array<std::array<quint8, Wire::kAdjustPoints>, Wire::kAdjustTypeCount> adjust{};
    std::array<qint8, 3> rssiOffsets{};
    std::array<quint8, Wire::kPowerTableSize> powerTable{}; // wire order
    quint8 sidetoneVolume = 0;                              // 0..9
    quint8 coupling = 0;                                    // 0x00 DC, else AC

    // Test modes
    quint8 transmitMode = 0; // 0 normal, 1 forced with data PTT, 2 forced with voice PTT
    bool sensitivityTest = false;
    quint8 squelchCalibration = 0; // level byte of the last squelch calibration, 0 = none yet
    quint8 rssiCalibration = 0;    // dBuV of the last RSSI calibration, 0 = none yet

    // A plausible module of the band: every channel in use and inside the band.
    static ModuleState defaults(quint8 band = kDefaultBand);

    quint8 adjustValue(quint8 type, int point) const;
    void setAdjustValue(quint8 type, int point, quint8 value);

    QJsonObject toJson() const;
    // Keys left out keep the defaults of the document's band; a wrong type or range is an error.
    static std::optional<ModuleState> fromJson(const QJsonObject &object, QString *error);
    static std::optional<ModuleState> load(const QString &path, QString *error);
    bool save(const QString &path, QString *error) const; // atomic: the old file or the new

    // One line per differing value, "channels[3].tx: 45012500 -> 45012600"; empty when equal.
    QStringList diff(const ModuleState &other) const;
    bool operator==(const ModuleState &other) const;
    bool operator!=(const ModuleState &other) const { return !(*this == other); }
};
