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

// The window marks the offending cell; a line of text names it instead.
QString withCell(const QString &text, int channel, const QString &field)
{
    return QStringLiteral("%1 (%2)").arg(text, ChannelCodec::cellName(channel, field));
}
} // namespace

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

std::optional<QByteArray> ModuleSession::transact(const Command &command)
{
    return m_engine.transact(command);
}

bool ModuleSession::refuse(const QString &text)
{
    m_reporter.reportFailure(text);
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
    const auto reply = transact(IdentificationCommands::readBand());
    if (!reply)
        return false;
    m_identity.bandCode = IdentificationCommands::bandCode(*reply);
    m_identity.model = IdentificationCommands::modelText(m_identity.bandCode);
    const Wire::Band *band = Wire::findBand(m_identity.bandCode);
    if (!band)
        return !unknownIsFailure || refuse(m_identity.model);
    m_identity.frequencyRange = QString::fromLatin1(band->range);
    m_identity.freqMin = band->freqMin;
    m_identity.freqMax = band->freqMax;
    m_bandKnown = true;
    return true;
}

bool ModuleSession::readFirmwareVersion()
{
    m_identity.firmware.clear();
    const auto reply = transact(IdentificationCommands::readFirmwareVersion());
    if (!reply)
        return false;
    m_identity.firmware = IdentificationCommands::firmwareText(*reply);
    return true;
}

bool ModuleSession::readSerialNumber()
{
    m_identity.serialNumber.clear();
    const auto reply = transact(IdentificationCommands::readSerialNumber());
    if (!reply)
        return false;
    m_identity.serialNumber = IdentificationCommands::serialNumberText(*reply);
    return true;
}

std::optional<UserConfig> ModuleSession::readUserConfig()
{
    using namespace AllParams::ReadPercent;
    UserConfig config; // what the form shows before any read: "存储频道值" stays checked
    if (!progressed(readBand(), kBand) || !progressed(readFirmwareVersion(), kFirmware) ||
        !progressed(readSerialNumber(), kSerial) ||
        !progressed(readFreqAndPower(config), kFreqPower))
        return std::nullopt;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!progressed(readChannelParams(config, n), channel(n)))
            return std::nullopt;
    }
    if (!readUserParams(config))
        return std::nullopt;
    return config;
}

bool ModuleSession::readFreqAndPower(UserConfig &config)
{
    const auto reply = transact(ChannelCommands::readFreqAndPower());
    if (!reply)
        return false;
    const ChannelCommands::Records records = ChannelCommands::decodeFreqAndPower(*reply);
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const Wire::ChannelRecord &record = records[n - 1];
        UserChannel &channel = config.channels[n - 1];
        // A cell holds what its mask lets it show, and that is what is read back from it.
        channel.txFreq = ChannelCodec::shownFrequency(record.txFreq);
        channel.rxFreq = ChannelCodec::shownFrequency(record.rxFreq);
        channel.txPowerIndex = ChannelCodec::txPowerIndexFromRecord(record);
    }
    return true;
}

bool ModuleSession::readChannelParams(UserConfig &config, int channel)
{
    UserChannel &cells = config.channels[channel - 1];
    if (cells.rxFreq == 0 || cells.txFreq == 0)
        return true; // an unused channel has no parameters; its selectors stay empty
    const auto reply = transact(ChannelCommands::readChannelParams(channel));
    if (!reply)
        return false;
    const ChannelCommands::ParamBytes params = ChannelCommands::decodeChannelParams(*reply);
    cells.bandwidthIndex = ChannelCodec::bandwidthIndexFromWire(params.bandwidth);
    cells.sqLevelIndex = ChannelCodec::sqLevelIndexFromWire(params.squelch);
    cells.ctcssDcsIndex = ChannelCodec::ctcssDcsIndexFromWire(params.ctcssDcs);
    cells.scanIndex = ChannelCodec::scanIndexFromWire(params.scan);
    return true;
}

bool ModuleSession::readInto(const Command &command, int percent,
                             const std::function<void(const QByteArray &)> &apply)
{
    const auto reply = transact(command);
    if (reply)
        apply(*reply);
    return progressed(reply.has_value(), percent);
}

bool ModuleSession::readUserParams(UserConfig &config)
{
    namespace Percent = AllParams::ReadPercent;
    using namespace UserParams;
    using Reply = const QByteArray &;
    constexpr int kProtectIndex = UserCommands::kTxProtectIndex;
    // RSSI is a measurement, not a setting: it is not part of the set.
    return readInto(UserCommands::readCtrlMode(), Percent::kCtrlMode,
                    [&](Reply r) { config.dipSwitch = isFirstOption(byteAt(r, kValueIndex)); }) &&
           readInto(UserCommands::readCurrentChannel(), Percent::kCurrentChannel,
                    [&](Reply r) {
                        config.currentChannel = kCurrentChannel.clamp(byteAt(r, kValueIndex));
                    }) &&
           readInto(UserCommands::readTxProtect(), Percent::kTxProtect,
                    [&](Reply r) {
                        config.txTimeout = kTxTimeout.clamp(byteAt(r, kProtectIndex));
                        config.stopTime = kStopTime.clamp(byteAt(r, kProtectIndex + 1));
                    }) &&
           readInto(UserCommands::readVolume(), Percent::kVolume,
                    [&](Reply r) { config.volume = kVolume.clamp(byteAt(r, kValueIndex)); }) &&
           readInto(UserCommands::readPowerSave(), Percent::kPowerSave,
                    [&](Reply r) { config.powerSave = isFirstOption(byteAt(r, kValueIndex)); }) &&
           readInto(UserCommands::readPowerSaveTime(), Percent::kPowerSaveTime,
                    [&](Reply r) {
                        config.sleepTime = kSleepTime.clamp(byteAt(r, kValueIndex));
                        config.standbyTime = kStandbyTime.clamp(byteAt(r, kValueIndex + 1));
                    }) &&
           readInto(UserCommands::readAudioWave(), Percent::kAudioWave,
                    [&](Reply r) { config.squareWave = isFirstOption(byteAt(r, kValueIndex)); }) &&
           readInto(UserCommands::readSidetone(), Percent::kSidetone,
                    [&](Reply r) { config.sidetone = isFirstOption(byteAt(r, kValueIndex)); }) &&
           readInto(UserCommands::readScanMode(), Percent::kScanMode,
                    [&](Reply r) { config.scanModeIndex = scanModeIndex(byteAt(r, kValueIndex)); });
}

bool ModuleSession::writeUserConfig(const UserConfig &loaded)
{
    using namespace AllParams::WritePercent;
    // The values the window would hold after loading the file are the values it would send.
    UserConfig config = loaded.normalised();
    if (!m_bandKnown)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请先读取设备信息！")));
    if (!progressed(writeFreqAndPower(config), kFreqPower))
        return false;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!progressed(writeChannelParams(config, n), channel(n)))
            return false;
    }
    return writeUserParams(config);
}

bool ModuleSession::writeFreqAndPower(UserConfig &config)
{
    const auto inBand = [this](int channel, const QString &field, quint32 value) {
        const bool bad =
            value != 0 && ChannelCodec::isOutOfBand(value, m_identity.freqMin, m_identity.freqMax);
        return !bad ||
               refuse(withCell(windowText(QT_TRANSLATE_NOOP("MainWindow", "频率超出范围！")),
                               channel, field));
    };
    ChannelCommands::Records records{};
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        UserChannel &channel = config.channels[n - 1];
        if (!inBand(n, ChannelCodec::kTxFreq, channel.txFreq) ||
            !inBand(n, ChannelCodec::kRxFreq, channel.rxFreq))
            return false;
        int power = channel.txPowerIndex;
        if (power == ChannelCodec::kNoSelection) {
            if (channel.rxFreq != 0 && channel.txFreq != 0)
                return refuse(
                    withCell(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择发射功率值！")), n,
                             ChannelCodec::kTxPower));
            power = 0;
        }
        if (channel.rxFreq == 0 || channel.txFreq == 0) {
            // Half a channel goes out as an empty one, and counts as empty from here on.
            channel.rxFreq = 0;
            channel.txFreq = 0;
            channel.txPowerIndex = ChannelCodec::kNoSelection;
            continue;
        }
        records[n - 1] =
            Wire::ChannelRecord{channel.txFreq, channel.rxFreq, static_cast<quint8>(power)};
    }
    return transact(ChannelCommands::writeFreqAndPower(records)).has_value();
}

bool ModuleSession::writeChannelParams(const UserConfig &config, int channel)
{
    using namespace ChannelCodec;
    const UserChannel &cells = config.channels[channel - 1];
    if (cells.rxFreq == 0 || cells.txFreq == 0)
        return true;
    const auto bandwidth = bandwidthWireFromIndex(cells.bandwidthIndex);
    if (!bandwidth)
        return refuse(withCell(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频道带宽！")),
                               channel, kBandwidth));
    const auto squelch = sqLevelWireFromIndex(cells.sqLevelIndex);
    if (!squelch)
        return refuse(withCell(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频道静噪等级！")),
                               channel, kSqLevel));
    const auto ctcssDcs = ctcssDcsWireFromIndex(cells.ctcssDcsIndex);
    if (!ctcssDcs)
        return refuse(
            withCell(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择亚音频/数字亚音频！")),
                     channel, kCtcssDcs));
    const auto scan = scanWireFromIndex(cells.scanIndex);
    if (!scan)
        return refuse(withCell(
            windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频是否扫描频道！")), channel, kScan));
    const ChannelCommands::ParamBytes params{*bandwidth, *squelch, *ctcssDcs, *scan};
    return transact(ChannelCommands::writeChannelParams(channel, params)).has_value();
}

bool ModuleSession::writeUserParams(const UserConfig &config)
{
    using namespace AllParams::WritePercent;
    const auto sent = [this](const Command &command, int percent) {
        return progressed(transact(command).has_value(), percent);
    };
    if (!sent(UserCommands::writeCtrlMode(config.dipSwitch), kCtrlMode))
        return false;
    // Under the DIP switch the module takes its channel from the switch, not from us.
    if (!progressed(config.dipSwitch || transact(UserCommands::writeCurrentChannel(
                                            config.currentChannel, config.saveChannel)),
                    kCurrentChannel))
        return false;
    if (!sent(UserCommands::writeTxProtect(config.txTimeout, config.stopTime), kTxProtect) ||
        !sent(UserCommands::writeVolume(config.volume), kVolume) ||
        !sent(UserCommands::writePowerSave(config.powerSave), kPowerSave) ||
        !sent(UserCommands::writePowerSaveTime(config.sleepTime, config.standbyTime),
              kPowerSaveTime) ||
        !sent(UserCommands::writeAudioWave(config.squareWave), kAudioWave) ||
        !sent(UserCommands::writeSidetone(config.sidetone), kSidetone))
        return false;
    if (config.scanModeIndex == ChannelCodec::kNoSelection)
        return refuse(windowText(QT_TRANSLATE_NOOP("MainWindow", "请选择频道扫描模式！")));
    return sent(UserCommands::writeScanMode(config.scanModeIndex), kScanMode);
}
