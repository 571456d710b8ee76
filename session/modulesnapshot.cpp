#include "session/modulesnapshot.h"

#include "device/channelcodec.h"
#include "device/usercommands.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QRegularExpression>

namespace {
const QString kUnit = QStringLiteral("Unit");
const QString kSerialNumber = QStringLiteral("SerialNumber");
const QString kModel = QStringLiteral("Model");
const QString kBand = QStringLiteral("Band");
const QString kFirmware = QStringLiteral("Firmware");
const QString kReadAt = QStringLiteral("ReadAt");

QString text(const char *source)
{
    return QCoreApplication::translate("ModuleSnapshot", source);
}

QString unitPath(const QString &member)
{
    return QLatin1Char('/') + kUnit + QLatin1Char('/') + member;
}

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

QString item(const QStringList &items, int index)
{
    return quoted(index >= 0 && index < items.size() ? items.at(index) : QString());
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// Collects the differences of one comparison.
class Differences
{
public:
    void add(const QString &field, const QString &expected, const QString &actual)
    {
        if (expected != actual)
            m_list.append({field, expected, actual});
    }
    void add(const QString &field, int expected, int actual)
    {
        add(field, QString::number(expected), QString::number(actual));
    }
    FieldDifferences take() { return std::move(m_list); }

private:
    FieldDifferences m_list;
};

QString channelField(const char *source, int channel)
{
    return text(source).arg(channel);
}
} // namespace

MJsonConfig::Entries FileUnit::entries(const ModuleIdentity &identity, const QDateTime &readAt)
{
    return {{unitPath(kSerialNumber), identity.serialNumber},
            {unitPath(kModel), identity.model},
            {unitPath(kBand), identity.bandCode},
            {unitPath(kFirmware), identity.firmware},
            {unitPath(kReadAt), readAt.toUTC().toString(Qt::ISODate)}};
}

std::optional<FileUnit> FileUnit::fromJson(const QJsonObject &file, QString *error)
{
    const auto bad = [error](const QString &member, const char *why) -> std::optional<FileUnit> {
        if (error)
            *error = text(why).arg(member.isEmpty() ? QLatin1Char('/') + kUnit : unitPath(member));
        return std::nullopt;
    };
    FileUnit unit;
    const QJsonValue value = file.value(kUnit);
    // null: a file saved again from a module whose identity was not known
    if (value.isUndefined() || value.isNull())
        return unit;
    if (!value.isObject())
        return bad(QString(), QT_TRANSLATE_NOOP("ModuleSnapshot", "%1 不是对象。"));
    const QJsonObject object = value.toObject();
    const QJsonValue serial = object.value(kSerialNumber);
    static const QRegularExpression twelveHex(QStringLiteral("^[0-9A-Fa-f]{12}$"));
    if (!serial.isString() || !twelveHex.match(serial.toString()).hasMatch())
        return bad(kSerialNumber,
                   QT_TRANSLATE_NOOP("ModuleSnapshot", "%1 不是 12 位十六进制序列码。"));
    unit.serialNumber = serial.toString().toUpper();
    for (const auto &[member, target] :
         {std::pair{kModel, &unit.model}, {kFirmware, &unit.firmware}, {kReadAt, &unit.readAt}}) {
        const QJsonValue found = object.value(member);
        if (found.isUndefined())
            continue;
        if (!found.isString())
            return bad(member, QT_TRANSLATE_NOOP("ModuleSnapshot", "%1 的类型不对。"));
        *target = found.toString();
    }
    const QJsonValue band = object.value(kBand);
    if (!band.isUndefined()) {
        if (!band.isDouble() || band.toInt(-1) != band.toInt(0) || band.toInt() < 0 ||
            band.toInt() > 255)
            return bad(kBand, QT_TRANSLATE_NOOP("ModuleSnapshot", "%1 的类型不对。"));
        unit.band = band.toInt();
    }
    return unit;
}

std::optional<ModuleSnapshot> ModuleSnapshot::read(ModuleSession &session, Sides sides)
{
    ModuleSnapshot snapshot;
    if (sides != Sides::Factory) {
        snapshot.user = session.readUserConfig();
        if (!snapshot.user)
            return std::nullopt;
    } else if (!session.identifyUnit()) {
        return std::nullopt;
    }
    snapshot.identified = true;
    snapshot.identity = session.identity();
    snapshot.readAt = QDateTime::currentDateTimeUtc();
    if (sides != Sides::User) {
        snapshot.factory = session.readFactoryCalibration();
        if (!snapshot.factory)
            return std::nullopt;
    }
    return snapshot;
}

bool ModuleSnapshot::holdsUser(const QJsonObject &file)
{
    return file.contains(QStringLiteral("Channel"));
}

bool ModuleSnapshot::holdsFactory(const QJsonObject &file)
{
    return file.contains(QStringLiteral("DataModFreqDiv"));
}

MJsonConfig::Entries ModuleSnapshot::entries() const
{
    MJsonConfig::Entries result;
    if (user)
        result += user->entries();
    if (factory)
        result += factory->entries();
    if (identified)
        result += FileUnit::entries(identity, readAt);
    return result;
}

QJsonObject ModuleSnapshot::toJson() const
{
    const auto store = MJsonConfig::inMemory();
    store->setValues(entries());
    return store->object();
}

UserConfig SnapshotCompare::afterWrite(const UserConfig &config)
{
    UserConfig result = config.normalised();
    for (UserChannel &channel : result.channels) {
        if (channel.rxFreq != 0 && channel.txFreq != 0)
            continue;
        channel = UserChannel{};
    }
    return result;
}

FieldDifferences SnapshotCompare::user(const UserConfig &written, const UserConfig &actual)
{
    using namespace ChannelCodec;
    const UserConfig expected = afterWrite(written);
    Differences diff;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const UserChannel &e = expected.channels[n - 1];
        const UserChannel &a = actual.channels[n - 1];
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 接收频率"), n),
                 frequencyText(e.rxFreq), frequencyText(a.rxFreq));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 发射频率"), n),
                 frequencyText(e.txFreq), frequencyText(a.txFreq));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 发射功率"), n),
                 item(txPowerItems(), e.txPowerIndex), item(txPowerItems(), a.txPowerIndex));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 带宽"), n),
                 item(bandwidthItems(), e.bandwidthIndex),
                 item(bandwidthItems(), a.bandwidthIndex));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 静噪等级"), n),
                 item(sqLevelItems(), e.sqLevelIndex), item(sqLevelItems(), a.sqLevelIndex));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 亚音频/数字亚音频"), n),
                 item(ctcssDcsItems(), e.ctcssDcsIndex), item(ctcssDcsItems(), a.ctcssDcsIndex));
        diff.add(channelField(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道 %1 扫描"), n),
                 item(scanItems(), e.scanIndex), item(scanItems(), a.scanIndex));
    }
    using namespace UserConfigFile;
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道控制模式")),
             quoted(expected.dipSwitch ? kDipSwitch : kByProgram),
             quoted(actual.dipSwitch ? kDipSwitch : kByProgram));
    // Under the DIP switch the module's channel is the switch's, never written.
    if (!expected.dipSwitch)
        diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "当前频道")), expected.currentChannel,
                 actual.currentChannel);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "发射超时")), expected.txTimeout,
             actual.txTimeout);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "发射停止时间")), expected.stopTime,
             actual.stopTime);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "音量")), expected.volume, actual.volume);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "省电模式")), onOff(expected.powerSave),
             onOff(actual.powerSave));
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "休眠时间")), expected.sleepTime,
             actual.sleepTime);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "待机时间")), expected.standbyTime,
             actual.standbyTime);
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "音频波形")),
             quoted(expected.squareWave ? kSquareWave : kSineWave),
             quoted(actual.squareWave ? kSquareWave : kSineWave));
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "侧音")), onOff(expected.sidetone),
             onOff(actual.sidetone));
    const auto mode = [](int index) {
        return quoted(index < 0 ? QString() : QStringLiteral("Mode %1").arg(index));
    };
    diff.add(text(QT_TRANSLATE_NOOP("ModuleSnapshot", "频道扫描模式")),
             mode(expected.scanModeIndex), mode(actual.scanModeIndex));
    return diff.take();
}

FieldDifferences SnapshotCompare::factory(const FactoryCalibration &written,
                                          const FactoryCalibration &actual)
{
    const FactoryCalibration expected = written.normalised();
    const auto &fields = FactoryCalibration::numberFields();
    Differences diff;
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i)
        diff.add(QString::fromLatin1(fields[i].path), expected.numbers[i], actual.numbers[i]);
    diff.add(QStringLiteral("/BasebandSignelCouple"),
             quoted(expected.dcCoupling ? QStringLiteral("DC") : QStringLiteral("AC")),
             quoted(actual.dcCoupling ? QStringLiteral("DC") : QStringLiteral("AC")));
    diff.add(QStringLiteral("/RadioBandIndex"), expected.radioBandIndex, actual.radioBandIndex);
    return diff.take();
}

FieldDifferences SnapshotCompare::snapshots(const ModuleSnapshot &expected,
                                            const ModuleSnapshot &actual)
{
    FieldDifferences result;
    if (expected.user && actual.user)
        result += user(*expected.user, *actual.user);
    if (expected.factory && actual.factory)
        result += factory(*expected.factory, *actual.factory);
    return result;
}

QString SnapshotCompare::line(const FieldDifference &difference)
{
    return text(QT_TRANSLATE_NOOP("ModuleSnapshot", "%1：应为 %2，模块为 %3"))
        .arg(difference.field, difference.expected, difference.actual);
}
