#pragma once

#include "app/mjsonconfig.h"
#include "config/factoryconfig.h"
#include "config/userconfig.h"

#include <QJsonValue>
#include <QString>

// The two contents the crash writer alternates between, for each kind of file the tool saves.
// Shared by the writer and the test that kills it, so both agree on what a whole file holds.
namespace CrashDocuments {
enum class Kind
{
    Settings, // the settings file, changed one value at a time with setValue
    User,     // a user configuration, saved at once with setValues
    Factory   // a factory calibration, saved at once with setValues
};

inline const QString kSettingsToggle = QStringLiteral("/SerialPort/PortName");

inline bool kindFromName(const QString &name, Kind *kind)
{
    if (name == QLatin1String("settings"))
        *kind = Kind::Settings;
    else if (name == QLatin1String("user"))
        *kind = Kind::User;
    else if (name == QLatin1String("factory"))
        *kind = Kind::Factory;
    else
        return false;
    return true;
}

inline QString nameOf(Kind kind)
{
    switch (kind) {
    case Kind::Settings:
        return QStringLiteral("settings");
    case Kind::User:
        return QStringLiteral("user");
    case Kind::Factory:
        return QStringLiteral("factory");
    }
    return QString();
}

// The settings differ in one value only, of a different length, so that the only change a
// setValue makes is one between the two contents.
inline MJsonConfig::Entries settings(int variant)
{
    const bool first = variant == 0;
    return {
        {QStringLiteral("/Language"), QStringLiteral("zh_CN")},
        {kSettingsToggle,
         first ? QStringLiteral("COM3")
               : QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")},
        {QStringLiteral("/SerialPort/Baudrate"), 9600},
        {QStringLiteral("/SerialPort/DataBits"), 8},
        {QStringLiteral("/SerialPort/Parity"), 0},
        {QStringLiteral("/SerialPort/StopBits"), 1},
        {QStringLiteral("/SerialPort/FlowCtrl"), 0},
    };
}

inline UserConfig userConfig(int variant)
{
    const bool first = variant == 0;
    UserConfig config;
    config.dipSwitch = !first;
    config.currentChannel = first ? 1 : 16;
    config.saveChannel = first;
    for (int n = 0; n < int(config.channels.size()); ++n) {
        UserChannel &channel = config.channels[size_t(n)];
        // 10 Hz units: empty channels against a filled 435 MHz table.
        channel.rxFreq = first ? 0 : 43512500u + quint32(n) * 1250u;
        channel.txFreq = first ? 0 : 43012500u + quint32(n) * 1250u;
        channel.txPowerIndex = first ? -1 : n % 5;
        channel.bandwidthIndex = first ? -1 : n % 2;
        channel.sqLevelIndex = first ? -1 : n % 10;
        channel.ctcssDcsIndex = first ? -1 : 100 + n;
        channel.scanIndex = first ? -1 : n % 2;
    }
    config.txTimeout = first ? 0 : 600;
    config.stopTime = first ? 0 : 30;
    config.volume = first ? 0 : 7;
    config.powerSave = !first;
    config.sleepTime = first ? 0 : 250;
    config.standbyTime = first ? 0 : 125;
    config.squareWave = !first;
    config.sidetone = !first;
    config.scanModeIndex = first ? -1 : 2;
    return config;
}

inline FactoryCalibration factoryCalibration(int variant)
{
    const bool first = variant == 0;
    FactoryCalibration calibration;
    const auto &fields = FactoryCalibration::numberFields();
    for (size_t i = 0; i < fields.size(); ++i)
        calibration.numbers[i] = first ? 0 : fields[i].maximum - int(i % 7);
    calibration.dcCoupling = first;
    calibration.radioBandIndex = first ? -1 : 3;
    return calibration.normalised();
}

inline MJsonConfig::Entries entries(Kind kind, int variant)
{
    switch (kind) {
    case Kind::Settings:
        return settings(variant);
    case Kind::User:
        return userConfig(variant).entries();
    case Kind::Factory:
        return factoryCalibration(variant).entries();
    }
    return {};
}
} // namespace CrashDocuments
