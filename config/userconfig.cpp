#include "config/userconfig.h"

#include "device/channelcodec.h"
#include "device/usercommands.h"

#include <QJsonValue>

namespace {
QString channelPath(int channel, const char *member)
{
    return QStringLiteral("/Channel/%1/%2").arg(channel).arg(QLatin1String(member));
}

// A number that is not whole, or any other JSON type, reads as 0.
int integer(const MJsonConfig &store, const QString &path, int defaultValue)
{
    return store.value(path, defaultValue).toInt();
}

// A negative number is no frequency: taken as an unsigned count it would show as a huge one
// that a later save could not write back.
quint32 frequency(const MJsonConfig &store, const QString &path)
{
    const int value = integer(store, path, 0);
    return value < 0 ? 0 : static_cast<quint32>(value);
}

bool boolean(const MJsonConfig &store, const QString &path, bool defaultValue)
{
    return store.value(path, defaultValue).toBool();
}

QString text(const MJsonConfig &store, const QString &path, const QString &defaultValue)
{
    return store.value(path, defaultValue).toString();
}
} // namespace

using namespace UserConfigFile;

namespace {
int selection(int index, const QStringList &items)
{
    return index >= 0 && index < items.size() ? index : ChannelCodec::kNoSelection;
}

// The items a selector's write sends a byte for, as runs of indices: the CTCSS/DCS headings
// have none.
std::vector<UserParams::Range> sentItems(const QStringList &items,
                                         std::optional<quint8> (*wire)(int index))
{
    std::vector<UserParams::Range> runs;
    for (int i = 0; i < items.size(); ++i) {
        if (!wire(i))
            continue;
        if (!runs.empty() && runs.back().maximum == i - 1)
            runs.back().maximum = i;
        else
            runs.push_back({i, i});
    }
    return runs;
}
} // namespace

bool UserChannel::operator==(const UserChannel &other) const
{
    return rxFreq == other.rxFreq && txFreq == other.txFreq && txPowerIndex == other.txPowerIndex &&
           bandwidthIndex == other.bandwidthIndex && sqLevelIndex == other.sqLevelIndex &&
           ctcssDcsIndex == other.ctcssDcsIndex && scanIndex == other.scanIndex;
}

bool UserConfig::operator==(const UserConfig &other) const
{
    return dipSwitch == other.dipSwitch && currentChannel == other.currentChannel &&
           saveChannel == other.saveChannel && channels == other.channels &&
           txTimeout == other.txTimeout && stopTime == other.stopTime && volume == other.volume &&
           powerSave == other.powerSave && sleepTime == other.sleepTime &&
           standbyTime == other.standbyTime && squareWave == other.squareWave &&
           sidetone == other.sidetone && scanModeIndex == other.scanModeIndex;
}

MJsonConfig::Entries UserConfig::entries() const
{
    MJsonConfig::Entries result;
    result.reserve(kEntryCount);
    const auto add = [&result](const QString &path, const QJsonValue &value) {
        result.append({path, value});
    };
    add(QStringLiteral("/Channel/CtrlMode"), dipSwitch ? kDipSwitch : kByProgram);
    add(QStringLiteral("/Channel/Current"), currentChannel);
    add(QStringLiteral("/Channel/SaveChannel"), saveChannel);
    result.append(channelEntries());
    add(QStringLiteral("/TxProtect/Timeout"), txTimeout);
    add(QStringLiteral("/TxProtect/StopTime"), stopTime);
    add(QStringLiteral("/Volume"), volume);
    add(QStringLiteral("/PowerSave/Enable"), powerSave);
    add(QStringLiteral("/PowerSave/SleepTime"), sleepTime);
    add(QStringLiteral("/PowerSave/StandbyTime"), standbyTime);
    add(QStringLiteral("/AudioWaveMode"), squareWave ? kSquareWave : kSineWave);
    add(QStringLiteral("/SideTone/Enable"), sidetone);
    add(QStringLiteral("/ChannelScanModeIndex"), scanModeIndex);
    return result;
}

MJsonConfig::Entries UserConfig::channelEntries() const
{
    MJsonConfig::Entries result;
    result.reserve(Wire::kChannelCount * 7);
    const auto add = [&result](const QString &path, const QJsonValue &value) {
        result.append({path, value});
    };
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const UserChannel &channel = channels[n - 1];
        add(channelPath(n, "RxFreq"), static_cast<qint64>(channel.rxFreq));
        add(channelPath(n, "TxFreq"), static_cast<qint64>(channel.txFreq));
        add(channelPath(n, "TxPowerIndex"), channel.txPowerIndex);
        add(channelPath(n, "BandwidthIndex"), channel.bandwidthIndex);
        add(channelPath(n, "SQLevelIndex"), channel.sqLevelIndex);
        add(channelPath(n, "CTCSSDCSIndex"), channel.ctcssDcsIndex);
        add(channelPath(n, "ScanIndex"), channel.scanIndex);
    }
    return result;
}

UserConfig UserConfig::fromStore(const MJsonConfig &store)
{
    UserConfig config;
    config.dipSwitch = text(store, QStringLiteral("/Channel/CtrlMode"), kByProgram) == kDipSwitch;
    config.currentChannel = integer(store, QStringLiteral("/Channel/Current"), 1);
    config.saveChannel = boolean(store, QStringLiteral("/Channel/SaveChannel"), true);
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        UserChannel &channel = config.channels[n - 1];
        channel.rxFreq = frequency(store, channelPath(n, "RxFreq"));
        channel.txFreq = frequency(store, channelPath(n, "TxFreq"));
        channel.txPowerIndex = integer(store, channelPath(n, "TxPowerIndex"), -1);
        channel.bandwidthIndex = integer(store, channelPath(n, "BandwidthIndex"), -1);
        channel.sqLevelIndex = integer(store, channelPath(n, "SQLevelIndex"), -1);
        channel.ctcssDcsIndex = integer(store, channelPath(n, "CTCSSDCSIndex"), -1);
        channel.scanIndex = integer(store, channelPath(n, "ScanIndex"), -1);
    }
    config.txTimeout = integer(store, QStringLiteral("/TxProtect/Timeout"), 0);
    config.stopTime = integer(store, QStringLiteral("/TxProtect/StopTime"), 0);
    config.volume = integer(store, QStringLiteral("/Volume"), 0);
    config.powerSave = boolean(store, QStringLiteral("/PowerSave/Enable"), false);
    config.sleepTime = integer(store, QStringLiteral("/PowerSave/SleepTime"), 0);
    config.standbyTime = integer(store, QStringLiteral("/PowerSave/StandbyTime"), 0);
    config.squareWave = text(store, QStringLiteral("/AudioWaveMode"), kSineWave) == kSquareWave;
    config.sidetone = boolean(store, QStringLiteral("/SideTone/Enable"), false);
    config.scanModeIndex = integer(store, QStringLiteral("/ChannelScanModeIndex"), -1);
    return config;
}

MemberLimits UserConfig::limits()
{
    using namespace UserParams;
    const auto selector = [](const QStringList &items) {
        return Range{ChannelCodec::kNoSelection, static_cast<int>(items.size()) - 1};
    };
    constexpr Range kFrequency{0, static_cast<int>(ChannelCodec::kMaxFrequency)};
    MemberLimits limits;
    limits.ranges = {
        {QStringLiteral("/Channel/Current"), kCurrentChannel},
        {QStringLiteral("/TxProtect/Timeout"), kTxTimeout},
        {QStringLiteral("/TxProtect/StopTime"), kStopTime},
        {QStringLiteral("/Volume"), kVolume},
        {QStringLiteral("/PowerSave/SleepTime"), kSleepTime},
        {QStringLiteral("/PowerSave/StandbyTime"), kStandbyTime},
        {QStringLiteral("/ChannelScanModeIndex"),
         Range{ChannelCodec::kNoSelection, kScanModeCount - 1}},
    };
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        limits.ranges.push_back({channelPath(n, "RxFreq"), kFrequency});
        limits.ranges.push_back({channelPath(n, "TxFreq"), kFrequency});
        limits.ranges.push_back(
            {channelPath(n, "TxPowerIndex"), selector(ChannelCodec::txPowerItems())});
        limits.ranges.push_back(
            {channelPath(n, "BandwidthIndex"), selector(ChannelCodec::bandwidthItems())});
        limits.ranges.push_back(
            {channelPath(n, "SQLevelIndex"), selector(ChannelCodec::sqLevelItems())});
        limits.ranges.push_back(
            {channelPath(n, "CTCSSDCSIndex"), selector(ChannelCodec::ctcssDcsItems())});
        limits.ranges.push_back({channelPath(n, "ScanIndex"), selector(ChannelCodec::scanItems())});
    }
    // What the write of the frequency table and of each channel in use refuses, and the scan
    // mode, which it always sends.
    using namespace ChannelCodec;
    const std::vector<Range> anyPower{{0, static_cast<int>(txPowerItems().size()) - 1}};
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const QStringList frequencies{channelPath(n, "RxFreq"), channelPath(n, "TxFreq")};
        const auto add = [&](const char *member, std::vector<Range> sent) {
            limits.selections.push_back({channelPath(n, member), std::move(sent), n, frequencies});
        };
        add("TxPowerIndex", anyPower);
        add("BandwidthIndex", sentItems(bandwidthItems(), bandwidthWireFromIndex));
        add("SQLevelIndex", sentItems(sqLevelItems(), sqLevelWireFromIndex));
        add("CTCSSDCSIndex", sentItems(ctcssDcsItems(), ctcssDcsWireFromIndex));
        add("ScanIndex", sentItems(scanItems(), scanWireFromIndex));
    }
    limits.selections.push_back(
        {QStringLiteral("/ChannelScanModeIndex"), {{0, kScanModeCount - 1}}, 0, {}});
    limits.choices = {{QStringLiteral("/Channel/CtrlMode"), {kDipSwitch, kByProgram}},
                      {QStringLiteral("/AudioWaveMode"), {kSquareWave, kSineWave}}};
    return limits;
}

UserChannel UserConfigFile::channelFromModule(const Wire::ChannelRecord &record,
                                              const ChannelCommands::ParamBytes &params)
{
    using namespace ChannelCodec;
    UserChannel channel;
    channel.rxFreq = shownFrequency(record.rxFreq);
    channel.txFreq = shownFrequency(record.txFreq);
    channel.txPowerIndex = txPowerIndexFromRecord(record);
    if (channel.rxFreq == 0 || channel.txFreq == 0)
        return channel;
    channel.bandwidthIndex = bandwidthIndexFromWire(params.bandwidth);
    channel.sqLevelIndex = sqLevelIndexFromWire(params.squelch);
    channel.ctcssDcsIndex = ctcssDcsIndexFromWire(params.ctcssDcs);
    channel.scanIndex = scanIndexFromWire(params.scan);
    return channel;
}

UserConfig UserConfig::normalised() const
{
    using namespace UserParams;
    UserConfig result = *this;
    result.currentChannel = kCurrentChannel.clamp(currentChannel);
    for (UserChannel &channel : result.channels) {
        channel.rxFreq = ChannelCodec::shownFrequency(channel.rxFreq);
        channel.txFreq = ChannelCodec::shownFrequency(channel.txFreq);
        channel.txPowerIndex = selection(channel.txPowerIndex, ChannelCodec::txPowerItems());
        channel.bandwidthIndex = selection(channel.bandwidthIndex, ChannelCodec::bandwidthItems());
        channel.sqLevelIndex = selection(channel.sqLevelIndex, ChannelCodec::sqLevelItems());
        channel.ctcssDcsIndex = selection(channel.ctcssDcsIndex, ChannelCodec::ctcssDcsItems());
        channel.scanIndex = selection(channel.scanIndex, ChannelCodec::scanItems());
    }
    result.txTimeout = kTxTimeout.clamp(txTimeout);
    result.stopTime = kStopTime.clamp(stopTime);
    result.volume = kVolume.clamp(volume);
    result.sleepTime = kSleepTime.clamp(sleepTime);
    result.standbyTime = kStandbyTime.clamp(standbyTime);
    if (scanModeIndex < 0 || scanModeIndex >= kScanModeCount)
        result.scanModeIndex = ChannelCodec::kNoSelection;
    return result;
}
