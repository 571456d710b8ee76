#pragma once

#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "protocol/commandengine.h"
#include "session/sessionhooks.h"

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

// The module sequences on plain values: identification, the user side and the LX-815 factory
// side, each step in the order the window's buttons run it, with its guards, texts and progress
// percentages. The window runs them with hooks that follow each step on its widgets, the
// command-line tool on files. Every transaction goes through the engine, which reports its
// failures.
class ModuleSession
{
public:
    using Progress = std::function<void(int percent)>;

    ModuleSession(CommandEngine &engine, FailureReporter &reporter, Progress progress = {});

    void setHooks(SessionHooks *hooks) { m_hooks = hooks ? hooks : &m_noHooks; }
    // Band limits of an identification made before this session (the window's information bar).
    void assumeBand(quint32 freqMin, quint32 freqMax);

    // Band, firmware version, serial number ("读取设备"); a band the tool does not know is a
    // failure, reported with the model text that names its code.
    bool identify();
    // The same reads for naming the unit a file came from: a band the tool does not know is
    // no failure here (its model text names the code).
    bool identifyUnit();
    const ModuleIdentity &identity() const { return m_identity; }
    // The port finder's question: the band read and, when it answered, the serial number, each
    // with one attempt of timeoutMs. Nothing is reported.
    bool probe(int timeoutMs);

    // "读取所有参数": identification, channel table, user parameters; the values as the user
    // page shows them afterwards.
    std::optional<UserConfig> readUserConfig();
    // "写入所有参数" after an identification (the band limits check the frequencies).
    bool writeUserConfig(const UserConfig &config);
    // "读取频道" / "写入频道": the channel table only.
    bool readChannelTable();
    bool writeChannelTable(const UserConfig &config);
    // The frequencies of config against a band, as the table write checks them: the first one
    // outside it is refused as that write refuses it, with the band's limits. Sends nothing, so
    // that a file which does not fit is refused before anything is written.
    bool fitsBand(const UserConfig &config, quint32 freqMin, quint32 freqMax);
    // One group of user parameters, as its own read or set button does it.
    bool readUserStep(UserStep step);
    bool writeUserStep(UserStep step, const UserConfig &config);
    // What the reads so far have filled in.
    const UserConfig &userValues() const { return m_user; }
    // The user page's two single requests outside the configuration: the received signal
    // strength as shown (dBm), and turning the module's virtual serial port off.
    std::optional<int> readRssi();
    bool disableVirtualPort();

    // "读取全部参数" / "写入全部参数" of the LX-815 factory page.
    std::optional<FactoryCalibration> readFactoryCalibration();
    bool writeFactoryCalibration(const FactoryCalibration &calibration);
    const FactoryCalibration &factoryValues() const { return m_factory; }
    // The coupling shown again in the test group; the file keeps only the other one.
    bool testCouplingIsDc() const { return m_testCouplingDc; }

private:
    std::optional<QByteArray> transact(const Command &command);
    bool refuse(const QString &text, int channel = 0, const QString &field = QString(),
                const QString &allowed = QString());
    bool checkFrequency(int channel, const QString &field, quint32 value, quint32 freqMin,
                        quint32 freqMax);
    bool progressed(bool ok, int percent);

    bool readBand(bool unknownIsFailure = true);
    bool readFirmwareVersion();
    bool readSerialNumber();
    bool readFreqAndPower();
    bool readChannelParams(int channel);
    bool readChannels(int freqPercent, const std::function<int(int channel)> &channelPercent);
    bool writeFreqAndPower();
    bool writeChannelParams(int channel);
    bool writeChannels(int freqPercent, const std::function<int(int channel)> &channelPercent);
    bool writeUserParams();
    bool sendUserStep(UserStep step);

    bool readFactoryStep(const FactoryBulkStep &step);
    bool writeFactoryStep(const FactoryBulkStep &step);

    CommandEngine &m_engine;
    FailureReporter &m_reporter;
    Progress m_progress;
    SessionHooks m_noHooks;
    SessionHooks *m_hooks = &m_noHooks;
    ModuleIdentity m_identity;
    bool m_bandKnown = false;
    UserConfig m_user;
    FactoryCalibration m_factory;
    bool m_testCouplingDc = true;
    int m_probeTimeoutMs = 0; // while probing: one short attempt per command
};
