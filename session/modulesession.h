#pragma once

#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "protocol/commandengine.h"

#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

// Who the module says it is: the three identification reads.
struct ModuleIdentity
{
    quint8 bandCode = 0;
    QString model;
    QString frequencyRange; // empty for a band the tool does not know
    quint32 freqMin = 0;    // 10 Hz
    quint32 freqMax = 0;    // 10 Hz
    QString firmware;
    QString serialNumber; // 12 upper-case hex digits

    QJsonObject toJson() const;
    // One line with the labels of the window's information bar.
    QString toText() const;
};

// The window's bulk operations on one module, on plain values instead of widgets: the same
// commands in the same order, the same guards and texts, the same progress percentages. Every
// transaction goes through the engine, which reports its failures.
class ModuleSession
{
public:
    using Progress = std::function<void(int percent)>;

    ModuleSession(CommandEngine &engine, FailureReporter &reporter, Progress progress = {});

    // Band, firmware version, serial number ("读取设备"); a band the tool does not know is a
    // failure, reported with the model text that names its code.
    bool identify();
    // The same reads for naming the unit a file came from: a band the tool does not know is
    // no failure here (its model text names the code).
    bool identifyUnit();
    const ModuleIdentity &identity() const { return m_identity; }

    // "读取所有参数": identification, channel table, user parameters; the values as the user
    // page shows them afterwards.
    std::optional<UserConfig> readUserConfig();
    // "写入所有参数" after an identification (the band limits check the frequencies).
    bool writeUserConfig(const UserConfig &config);

    // "读取全部参数" / "写入全部参数" of the LX-815 factory page.
    std::optional<FactoryCalibration> readFactoryCalibration();
    bool writeFactoryCalibration(const FactoryCalibration &calibration);

private:
    std::optional<QByteArray> transact(const Command &command);
    bool refuse(const QString &text);
    bool progressed(bool ok, int percent);
    // One read: its values go into the configuration, then the progress moves on.
    bool readInto(const Command &command, int percent,
                  const std::function<void(const QByteArray &)> &apply);

    bool readBand(bool unknownIsFailure = true);
    bool readFirmwareVersion();
    bool readSerialNumber();
    bool readFreqAndPower(UserConfig &config);
    bool readChannelParams(UserConfig &config, int channel);
    bool readUserParams(UserConfig &config);
    bool writeFreqAndPower(UserConfig &config);
    bool writeChannelParams(const UserConfig &config, int channel);
    bool writeUserParams(const UserConfig &config);

    bool readFactoryStep(const FactoryBulkStep &step, FactoryCalibration &calibration);
    bool writeFactoryStep(const FactoryBulkStep &step, const FactoryCalibration &calibration);

    CommandEngine &m_engine;
    FailureReporter &m_reporter;
    Progress m_progress;
    ModuleIdentity m_identity;
    bool m_bandKnown = false;
};
