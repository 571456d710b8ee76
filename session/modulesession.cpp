// Identification and the user side of a module, in the order of the window's "读取所有参数"
// and "写入所有参数".
#include "session/modulesession.h"

#include "device/channelcodec.h"
#include "device/channelcommands.h"
#include "device/identificationcommands.h"
#include "device/usercommands.h"
#include "device/wire.h"

#include <QCoreApplication>

using UserCommands::kValueIndex;
using UserParams::isFirstOption;
using Wire::byteAt;

namespace {
QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

// One group of user parameters: its requests, where its values go, its guard and its place in
// the all-parameters progress.
struct UserParamStep
{
    UserStep step;
    Command (*read)();
    void (*apply)(UserConfig &config, const QByteArray &reply);
    Command (*write)(const UserConfig &config);
    const char *blankText;
    int readPercent;
    int writePercent;
};

quint8 value(const QByteArray &reply, int offset = 0)
{
    return byteAt(reply, kValueIndex + offset);
}

// RSSI is a measurement, not a setting: it is not part of the set.
const std::array<UserParamStep, 9> &userParamSteps()
{
    namespace R = AllParams::ReadPercent;
    namespace W = AllParams::WritePercent;
    using namespace UserParams;
    using C = UserConfig;
    using B = const QByteArray &;
    constexpr int kProtect = UserCommands::kTxProtectIndex;
    static const std::array<UserParamStep, 9> steps{{
        {UserStep::CtrlMode, UserCommands::readCtrlMode,
         [](C &c, B r) { c.dipSwitch = isFirstOption(value(r)); },
         [](const C &c) { return UserCommands::writeCtrlMode(c.dipSwitch); },
         QT_TRANSLATE_NOOP("MainWindow", "请选择频道控制模式！"), R::kCtrlMode, W::kCtrlMode},
        {UserStep::CurrentChannel, UserCommands::readCurrentChannel,
         [](C &c, B r) { c.currentChannel = kCurrentChannel.clamp(value(r)); },
         [](const C &c) {
             return UserCommands::writeCurrentChannel(c.currentChannel, c.saveChannel);
         },
         QT_TRANSLATE_NOOP("MainWindow", "请选择频道值！"), R::kCurrentChannel, W::kCurrentChannel},
        {UserStep::TxProtect, UserCommands::readTxProtect,
         [](C &c, B r) {
             c.txTimeout = kTxTimeout.clamp(byteAt(r, kProtect));
             c.stopTime = kStopTime.clamp(byteAt(r, kProtect + 1));
         },
         [](const C &c) { return UserCommands::writeTxProtect(c.txTimeout, c.stopTime); },
         QT_TRANSLATE_NOOP("MainWindow", "请配置发射保护时间值！"), R::kTxProtect, W::kTxProtect},
        {UserStep::Volume, UserCommands::readVolume,
         [](C &c, B r) { c.volume = kVolume.clamp(value(r)); },
         [](const C &c) { return UserCommands::writeVolume(c.volume); },
         QT_TRANSLATE_NOOP("MainWindow", "请配置音量！"), R::kVolume, W::kVolume},
        {UserStep::PowerSave, UserCommands::readPowerSave,
         [](C &c, B r) { c.powerSave = isFirstOption(value(r)); },
         [](const C &c) { return UserCommands::writePowerSave(c.powerSave); },
         QT_TRANSLATE_NOOP("MainWindow", "请选择省电模式！"), R::kPowerSave, W::kPowerSave},
        {UserStep::PowerSaveTime, UserCommands::readPowerSaveTime,
         [](C &c, B r) {
             c.sleepTime = kSleepTime.clamp(value(r));
             c.standbyTime = kStandbyTime.clamp(value(r, 1));
         },
         [](const C &c) { return UserCommands::writePowerSaveTime(c.sleepTime, c.standbyTime); },
         QT_TRANSLATE_NOOP("MainWindow", "请配置省电模式时间值！"), R::kPowerSaveTime,
         W::kPowerSaveTime},
        {UserStep::AudioWave, UserCommands::readAudioWave,
         [](C &c, B r) { c.squareWave = isFirstOption(value(r)); },
         [](const C &c) { return UserCommands::writeAudioWave(c.squareWave); },
         QT_TRANSLATE_NOOP("MainWindow", "请选择音频口输出波形类型！"), R::kAudioWave,
         W::kAudioWave},
        {UserStep::Sidetone, UserCommands::readSidetone,
         [](C &c, B r) { c.sidetone = isFirstOption(value(r)); },
         [](const C &c) { return UserCommands::writeSidetone(c.sidetone); },
         QT_TRANSLATE_NOOP("MainWindow", "请打开或关闭侧音！"), R::kSidetone, W::kSidetone},
        {UserStep::ScanMode, UserCommands::readScanMode,
         [](C &c, B r) { c.scanModeIndex = scanModeIndex(value(r)); },
         [](const C &c) { return UserCommands::writeScanMode(c.scanModeIndex); },
         QT_TRANSLATE_NOOP("MainWindow", "请选择频道扫描模式！"), R::kScanMode, W::kScanMode},
    }};
    return steps;
}

const UserParamStep *findUserParamStep(UserStep step)
{
    for (const UserParamStep &entry : userParamSteps()) {
        if (entry.step == step)
            return &entry;
    }
    return nullptr;
}
} // namespace

void SessionHooks::stepStarting(UserStep, int) {}
void SessionHooks::stepRead(const ModuleSession &, UserStep, int) {}
void SessionHooks::stepWritten(UserStep, int) {}
void SessionHooks::channelEmptied(int) {}
void SessionHooks::channelUnused(int) {}
void SessionHooks::frequencyChecked(int, const QString &, bool) {}
bool SessionHooks::isBlank(UserStep) const
{
    return false;
}
void SessionHooks::factoryStepStarting(const FactoryBulkStep &) {}
void SessionHooks::factoryStepRead(const ModuleSession &, const FactoryBulkStep &) {}
bool SessionHooks::isBlank(const FactoryBulkStep &) const
{
    return false;
}

QString SessionHooks::refusalText(const QString &text, int channel, const QString &field,
                                  const QString &allowed) const
{
    // A line of text names the cell the window would mark.
    if (channel == 0)
        return text;
    const QString cell = ChannelCodec::cellName(channel, field);
    return QStringLiteral("%1 (%2)").arg(
        text, allowed.isEmpty() ? cell : QStringLiteral("%1: %2").arg(cell, allowed));
}

bool SessionHooks::reportsUnknownBand() const
{
    return true;
}

QJsonObject ModuleIdentity::toJson() const
{
    return QJsonObject{{QStringLiteral("band"), bandCode},
                       {QStringLiteral("model"), model},
                       {QStringLiteral("frequencyRange"), frequencyRange},
                       {QStringLiteral("freqMin"), static_cast<qint64>(freqMin)},
                       {QStringLiteral("freqMax"), static_cast<qint64>(freqMax)},
                       {QStringLiteral("firmware"), firmware},
                       {QStringLiteral("serialNumber"), serialNumber}};
}

QString ModuleIdentity::toText() const
{
    return QStringLiteral("%1 %2  %3 %4  %5 %6  %7 %8")
        .arg(windowText(QT_TRANSLATE_NOOP("MainWindow", "型号：")), model,
             windowText(QT_TRANSLATE_NOOP("MainWindow", "频率范围：")), frequencyRange,
             windowText(QT_TRANSLATE_NOOP("MainWindow", "固件版本：")), firmware,
             windowText(QT_TRANSLATE_NOOP("MainWindow", "序列码：")), serialNumber);
}

ModuleSession::ModuleSession(CommandEngine &engine, FailureReporter &reporter, Progress progress)
    : m_engine(engine)
    , m_reporter(reporter)
    , m_progress(std::move(progress))
{
    m_engine.setReporter(&m_reporter);
}

void ModuleSession::assumeBand(quint32 freqMin, quint32 freqMax)
{
    m_identity.freqMin = freqMin;
    m_identity.freqMax = freqMax;
    m_bandKnown = true;
}

std::optional<QByteArray> ModuleSession::transact(const Command &command)
{
    if (m_probeTimeoutMs <= 0)
        return m_engine.transact(command);
    Command quick = command;
    quick.attempts = 1;
    quick.timeoutMs = m_probeTimeoutMs;
    return m_engine.transact(quick);
}

bool ModuleSession::refuse(const QString &text, int channel, const QString &field,
                           const QString &allowed)
{
    const QString reported = m_hooks->refusalText(text, channel, field, allowed);
    if (!reported.isEmpty())
        m_reporter.reportFailure(reported);
    return false;
}

bool ModuleSession::progressed(bool ok, int percent)
{
    if (ok && m_progress)
        m_progress(percent);
    return ok;
}

bool ModuleSession::identify()
{
    return readBand() && readFirmwareVersion() && readSerialNumber();
}

bool ModuleSession::identifyUnit()
{
    return readBand(false) && readFirmwareVersion() && readSerialNumber();
}

bool ModuleSession::readBand(bool unknownIsFailure)
{
    m_bandKnown = false;
    m_identity.model.clear();
    m_identity.frequencyRange.clear();
    m_hooks->stepStarting(UserStep::Band, 0);
    const auto reply = transact(IdentificationCommands::readBand());
    if (!reply)
        return false;
    m_identity.bandCode = IdentificationCommands::bandCode(*reply);
    m_identity.model = IdentificationCommands::modelText(m_identity.bandCode);
    const Wire::Band *band = Wire::findBand(m_identity.bandCode);
    if (band) {
        // The limits stay: only a recognised band replaces them.
        m_identity.frequencyRange = QString::fromLatin1(band->range);
        m_identity.freqMin = band->freqMin;
        m_identity.freqMax = band->freqMax;
        m_bandKnown = true;
    }
    m_hooks->stepRead(*this, UserStep::Band, 0);
    if (!band) {
        if (!unknownIsFailure)
            return true;
        return m_hooks->reportsUnknownBand() ? refuse(m_identity.model) : false;
    }
    return true;
}

bool ModuleSession::readFirmwareVersion()
{
    m_identity.firmware.clear();
    m_hooks->stepStarting(UserStep::Firmware, 0);
    const auto reply = transact(IdentificationCommands::readFirmwareVersion());
    if (!reply)
        return false;
    m_identity.firmware = IdentificationCommands::firmwareText(*reply);
    m_hooks->stepRead(*this, UserStep::Firmware, 0);
    return true;
}

bool ModuleSession::readSerialNumber()
{
    m_identity.serialNumber.clear();
    m_hooks->stepStarting(UserStep::SerialNumber, 0);
    const auto reply = transact(IdentificationCommands::readSerialNumber());
    if (!reply)
        return false;
    m_identity.serialNumber = IdentificationCommands::serialNumberText(*reply);
    m_hooks->stepRead(*this, UserStep::SerialNumber, 0);
    return true;
}

std::optional<UserConfig> ModuleSession::readUserConfig()
{
    using namespace AllParams::ReadPercent;
    m_user = UserConfig(); // what the form shows before any read: "存储频道值" stays checked
    if (!progressed(readBand(), kBand) || !progressed(readFirmwareVersion(), kFirmware) ||
        !progressed(readSerialNumber(), kSerial) || !readChannels(kFreqPower, channel))
        return std::nullopt;
    for (const UserParamStep &entry : userParamSteps()) {
        if (!progressed(readUserStep(entry.step), entry.readPercent))
            return std::nullopt;
    }
    return m_user;
}

bool ModuleSession::readChannelTable()
{
    return readChannels(ChannelCommands::kFreqPowerPercent,
                        [](int n) { return ChannelCommands::tablePercent(n - 1); });
}

bool ModuleSession::readChannels(int freqPercent,
                                 const std::function<int(int channel)> &channelPercent)
{
    if (!progressed(readFreqAndPower(), freqPercent))
        return false;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!progressed(readChannelParams(n), channelPercent(n)))
            return false;
    }
    return true;
}

bool ModuleSession::readFreqAndPower()
{
    // A failed read leaves every channel empty rather than half old, half new.
    m_user.channels.fill(UserChannel{});
    m_hooks->stepStarting(UserStep::FreqAndPower, 0);
    const auto reply = transact(ChannelCommands::readFreqAndPower());
    if (!reply)
        return false;
    const ChannelCommands::Records records = ChannelCommands::decodeFreqAndPower(*reply);
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const Wire::ChannelRecord &record = records[n - 1];
        UserChannel &channel = m_user.channels[n - 1];
        // A cell holds what its mask lets it show, and that is what is read back from it.
        channel.txFreq = ChannelCodec::shownFrequency(record.txFreq);
        channel.rxFreq = ChannelCodec::shownFrequency(record.rxFreq);
        channel.txPowerIndex = ChannelCodec::txPowerIndexFromRecord(record);
    }
    m_hooks->stepRead(*this, UserStep::FreqAndPower, 0);
    return true;
}

bool ModuleSession::readChannelParams(int channel)
{
    UserChannel &cells = m_user.channels[channel - 1];
    if (cells.rxFreq == 0 || cells.txFreq == 0) {
        // An unused channel has no parameters; its selectors stay empty.
        m_hooks->channelUnused(channel);
        return true;
    }
    m_hooks->stepStarting(UserStep::ChannelParams, channel);
    const auto reply = transact(ChannelCommands::readChannelParams(channel));
    if (!reply)
        return false;
    const ChannelCommands::ParamBytes params = ChannelCommands::decodeChannelParams(*reply);
    cells.bandwidthIndex = ChannelCodec::bandwidthIndexFromWire(params.bandwidth);
    cells.sqLevelIndex = ChannelCodec::sqLevelIndexFromWire(params.squelch);
    cells.ctcssDcsIndex = ChannelCodec::ctcssDcsIndexFromWire(params.ctcssDcs);
    cells.scanIndex = ChannelCodec::scanIndexFromWire(params.scan);
    m_hooks->stepRead(*this, UserStep::ChannelParams, channel);
    return true;
}

std::optional<int> ModuleSession::readRssi()
{
    const auto reply = transact(UserCommands::readRssi());
    if (!reply)
        return std::nullopt;
    return UserParams::rssiFromWire(byteAt(*reply, UserCommands::kRssiIndex));
}

bool ModuleSession::disableVirtualPort()
{
    return transact(UserCommands::disableVirtualPort()).has_value();
}

bool ModuleSession::readUserStep(UserStep step)
{
    const UserParamStep *entry = findUserParamStep(step);
    if (!entry)
        return false;
    m_hooks->stepStarting(step, 0);
    const auto reply = transact(entry->read());
    if (!reply)
        return false;
    entry->apply(m_user, *reply);
    m_hooks->stepRead(*this, step, 0);
    return true;
}

bool ModuleSession::writeUserConfig(const UserConfig &loaded)
{
    using namespace AllParams::WritePercent;
    // The values the window would hold after loading the file are the values it would send.
    m_user = loaded.normalised();
    return writeChannels(kFreqPower, channel) && writeUserParams();
}

bool ModuleSession::writeChannelTable(const UserConfig &config)
{
    m_user = config.normalised();
    return writeChannels(ChannelCommands::kFreqPowerPercent,
                         [](int n) { return ChannelCommands::tablePercent(n - 1); });
}

bool ModuleSession::writeChannels(int freqPercent,
                                  const std::function<int(int channel)> &channelPercent)
{
    if (!progressed(writeFreqAndPower(), freqPercent))
        return false;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!progressed(writeChannelParams(n), channelPercent(n)))
            return false;
    }
    return true;
}

bool ModuleSession::checkFrequency(int channel, const QString &field, quint32 value,
                                   quint32 freqMin, quint32 freqMax)
{
    const bool bad = value != 0 && ChannelCodec::isOutOfBand(value, freqMin, freqMax);
    m_hooks->frequencyChecked(channel, field, bad);
    return !bad || refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "频率超出范围！")), channel,
                          field, ChannelCodec::bandText(freqMin, freqMax));
}

bool ModuleSession::fitsBand(const UserConfig &config, quint32 freqMin, quint32 freqMax)
{
    // The frequencies the write would send: as the cells show them.
    const UserConfig shown = config.normalised();
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const UserChannel &channel = shown.channels[n - 1];
        if (!checkFrequency(n, ChannelCodec::kTxFreq, channel.txFreq, freqMin, freqMax) ||
            !checkFrequency(n, ChannelCodec::kRxFreq, channel.rxFreq, freqMin, freqMax))
            return false;
    }
    return true;
}

bool ModuleSession::writeFreqAndPower()
{
    if (!m_bandKnown)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请先读取设备信息！")));
    const auto inBand = [this](int channel, const QString &field, quint32 value) {
        return checkFrequency(channel, field, value, m_identity.freqMin, m_identity.freqMax);
    };
    ChannelCommands::Records records{};
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        UserChannel &channel = m_user.channels[n - 1];
        if (!inBand(n, ChannelCodec::kTxFreq, channel.txFreq) ||
            !inBand(n, ChannelCodec::kRxFreq, channel.rxFreq))
            return false;
        int power = channel.txPowerIndex;
        if (power == ChannelCodec::kNoSelection) {
            if (channel.rxFreq != 0 && channel.txFreq != 0)
                return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择发射功率值！")), n,
                              ChannelCodec::kTxPower);
            power = 0;
        }
        if (channel.rxFreq == 0 || channel.txFreq == 0) {
            // Half a channel is no channel: it goes out empty and counts as empty from here on.
            channel.rxFreq = 0;
            channel.txFreq = 0;
            channel.txPowerIndex = ChannelCodec::kNoSelection;
            m_hooks->channelEmptied(n);
            continue;
        }
        records[n - 1] =
            Wire::ChannelRecord{channel.txFreq, channel.rxFreq, static_cast<quint8>(power)};
    }
    if (!transact(ChannelCommands::writeFreqAndPower(records)))
        return false;
    m_hooks->stepWritten(UserStep::FreqAndPower, 0);
    return true;
}

bool ModuleSession::writeChannelParams(int channel)
{
    using namespace ChannelCodec;
    const UserChannel &cells = m_user.channels[channel - 1];
    if (cells.rxFreq == 0 || cells.txFreq == 0) {
        m_hooks->channelUnused(channel);
        return true;
    }
    const auto bandwidth = bandwidthWireFromIndex(cells.bandwidthIndex);
    if (!bandwidth)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频道带宽！")), channel,
                      kBandwidth);
    const auto squelch = sqLevelWireFromIndex(cells.sqLevelIndex);
    if (!squelch)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频道静噪等级！")), channel,
                      kSqLevel);
    const auto ctcssDcs = ctcssDcsWireFromIndex(cells.ctcssDcsIndex);
    if (!ctcssDcs)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择亚音频/数字亚音频！")),
                      channel, kCtcssDcs);
    const auto scan = scanWireFromIndex(cells.scanIndex);
    if (!scan)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频是否扫描频道！")),
                      channel, kScan);
    const ChannelCommands::ParamBytes params{*bandwidth, *squelch, *ctcssDcs, *scan};
    if (!transact(ChannelCommands::writeChannelParams(channel, params)))
        return false;
    m_hooks->stepWritten(UserStep::ChannelParams, channel);
    return true;
}

bool ModuleSession::writeUserParams()
{
    for (const UserParamStep &entry : userParamSteps()) {
        // Under the DIP switch the module takes its channel from the switch, not from us.
        const bool skipped = entry.step == UserStep::CurrentChannel && m_user.dipSwitch;
        if (!progressed(skipped || sendUserStep(entry.step), entry.writePercent))
            return false;
    }
    return true;
}

bool ModuleSession::writeUserStep(UserStep step, const UserConfig &config)
{
    m_user = config.normalised();
    return sendUserStep(step);
}

bool ModuleSession::sendUserStep(UserStep step)
{
    const UserParamStep *entry = findUserParamStep(step);
    if (!entry)
        return false;
    const bool blank =
        m_hooks->isBlank(step) || (step == UserStep::ScanMode && m_user.scanModeIndex < 0);
    if (blank)
        return refuse(windowText(entry->blankText));
    if (!transact(entry->write(m_user)))
        return false;
    m_hooks->stepWritten(step, 0);
    return true;
}

bool ModuleSession::probe(int timeoutMs)
{
    m_probeTimeoutMs = timeoutMs;
    const bool ok = readBand() && readSerialNumber();
    m_probeTimeoutMs = 0;
    return ok;
}
