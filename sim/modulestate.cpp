#include "sim/modulestate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>
#include <tuple>

namespace {
constexpr int kFormatVersion = 1;
constexpr quint32 kFirstChannelOffset = 500000; // 10 Hz: 5 MHz above the band's low end
constexpr quint32 kChannelSpacing = 125000;     // 10 Hz: 1.25 MHz
constexpr quint32 kRxOffset = 2500;             // 10 Hz: 25 kHz above TX
constexpr quint32 kMaxFrequency = 99999999;     // 10 Hz: eight BCD digits
constexpr quint8 kMiddleDefault = 0x80;
constexpr quint8 kFirstDcsCode = 0x80;
constexpr quint8 kSwitchSignal = 0x30;
constexpr const char kDefaultFirmware[] = "V1.4.2";
constexpr const char kDefaultSerial[] = "\x4C\x58\x81\x50\x00\x01";

// Reads typed values out of JSON objects and keeps the first error.
class Reader
{
public:
    explicit Reader(QString *error)
        : m_error(error)
    {}
    bool ok() const { return m_ok; }

    bool fail(const QString &text)
    {
        if (m_ok && m_error)
            *m_error = text;
        m_ok = false;
        return false;
    }

    template<typename T>
    void value(const QJsonValue &value, const QString &where, T &target, qint64 min, qint64 max)
    {
        const double d = value.toDouble();
        if (!m_ok)
            return;
        if (!value.isDouble() || d != std::floor(d) || d < min || d > max) {
            fail(QStringLiteral("%1: expected a whole number from %2 to %3")
                     .arg(where)
                     .arg(min)
                     .arg(max));
            return;
        }
        target = static_cast<T>(static_cast<qint64>(d));
    }

    template<typename T>
    void number(const QJsonObject &object, const QString &key, const QString &where, T &target,
                qint64 min, qint64 max)
    {
        if (m_ok && object.contains(key))
            value(object.value(key), where + key, target, min, max);
    }

    // Bytes may be written signed or unsigned; the low eight bits count.
    void byte(const QJsonObject &object, const QString &key, const QString &where, quint8 &target)
    {
        number(object, key, where, target, -128, 255);
    }
    void byteValue(const QJsonValue &item, const QString &where, quint8 &target)
    {
        value(item, where, target, -128, 255);
    }

    void flag(const QJsonObject &object, const QString &key, const QString &where, bool &target)
    {
        if (!m_ok || !object.contains(key))
            return;
        if (!object.value(key).isBool()) {
            fail(where + key + QStringLiteral(": expected true or false"));
            return;
        }
        target = object.value(key).toBool();
    }

    // The object under key, or an empty one; false when it is there but not an object.
    QJsonObject object(const QJsonObject &parent, const QString &key, const QString &where,
                       const QStringList &allowedKeys)
    {
        if (!m_ok || !parent.contains(key))
            return {};
        if (!parent.value(key).isObject()) {
            fail(where + key + QStringLiteral(": expected an object"));
            return {};
        }
        const QJsonObject child = parent.value(key).toObject();
        onlyKeys(child, allowedKeys, where + key + QLatin1Char('.'));
        return child;
    }

    QJsonArray array(const QJsonObject &parent, const QString &key, const QString &where,
                     int maxSize)
    {
        if (!m_ok || !parent.contains(key))
            return {};
        const QJsonArray items = parent.value(key).toArray();
        if (!parent.value(key).isArray() || items.size() > maxSize)
            fail(QStringLiteral("%1: expected a list of at most %2 items")
                     .arg(where + key)
                     .arg(maxSize));
        return items;
    }

    void onlyKeys(const QJsonObject &object, const QStringList &allowed, const QString &where)
    {
        for (auto it = object.begin(); m_ok && it != object.end(); ++it) {
            if (!allowed.contains(it.key()))
                fail(QStringLiteral("%1: unknown key").arg(where + it.key()));
        }
    }

private:
    QString *m_error = nullptr;
    bool m_ok = true;
};

int signedByte(quint8 value)
{
    return static_cast<qint8>(value);
}

QString valueText(const QJsonValue &value)
{
    if (value.isString())
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isUndefined())
        return QStringLiteral("(none)");
    return QString::number(value.toDouble(), 'g', 12);
}

void flatten(const QJsonValue &value, const QString &path, QMap<QString, QJsonValue> &out)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            flatten(it.value(), path.isEmpty() ? it.key() : path + QLatin1Char('.') + it.key(),
                    out);
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i)
            flatten(array.at(i), QStringLiteral("%1[%2]").arg(path).arg(i), out);
    } else {
        out.insert(path, value);
    }
}
} // namespace

bool ChannelState::operator==(const ChannelState &other) const
{
    return std::tie(txFreq, rxFreq, power, bandwidth, squelch, ctcssDcs, scan) ==
           std::tie(other.txFreq, other.rxFreq, other.power, other.bandwidth, other.squelch,
                    other.ctcssDcs, other.scan);
}

ModuleState ModuleState::defaults(quint8 band)
{
    ModuleState state;
    state.band = band;
    state.firmware = QString::fromLatin1(kDefaultFirmware);
    state.serialNumber = QByteArray(kDefaultSerial, kSerialBytes);
    const Wire::Band *known = Wire::findBand(band);
    const quint32 low = known ? known->freqMin : Wire::findBand(kDefaultBand)->freqMin;
    for (int i = 0; i < Wire::kChannelCount; ++i) {
        ChannelState &channel = state.channels[i];
        channel.txFreq = low + kFirstChannelOffset + static_cast<quint32>(i) * kChannelSpacing;
        channel.rxFreq = channel.txFreq + kRxOffset;
        channel.power = static_cast<quint8>(i % Wire::kPowerSteps);
        channel.bandwidth = i % 2 == 0 ? Wire::kOn : Wire::kOff;
        channel.squelch = static_cast<quint8>(i % 6);
        // A mix of no tone, CTCSS tones, DCS codes and the switch signal.
        const quint8 k = static_cast<quint8>(i);
        const std::array<quint8, 4> codes{0xFF, k, static_cast<quint8>(kFirstDcsCode + k),
                                          kSwitchSignal};
        channel.ctcssDcs = codes[i % 4];
        channel.scan = i % 3 == 0 ? Wire::kOn : Wire::kOff;
    }
    state.ctrlMode = Wire::kOff;
    state.currentChannel = 1;
    state.storeChannel = 1;
    state.txTimeout = 60;
    state.protectTime = 10;
    state.volume = 5;
    state.powerSave = Wire::kOff;
    state.sleepTime = 5;
    state.standbyTime = 5;
    state.rssi = 23;
    for (int type = 0; type < Wire::kAdjustTypeCount; ++type) {
        const auto middle = static_cast<quint8>(kMiddleDefault + type);
        if (Wire::isThreePointType(static_cast<quint8>(type)))
            state.adjust[type] = {static_cast<quint8>(-type), middle,
                                  static_cast<quint8>(type + 1)};
        else
            state.adjust[type] = {0, middle, 0};
    }
    state.rssiOffsets = {-2, 0, 3};
    for (int power = 0; power < Wire::kPowerSteps; ++power) {
        const int base = 60 + 35 * power;
        state.powerTable[Wire::powerTableIndex(power, Wire::FreqPoint::Low)] =
            static_cast<quint8>(base + 2);
        state.powerTable[Wire::powerTableIndex(power, Wire::FreqPoint::Middle)] =
            static_cast<quint8>(base);
        state.powerTable[Wire::powerTableIndex(power, Wire::FreqPoint::High)] =
            static_cast<quint8>(base + 5);
    }
    state.sidetoneVolume = 5;
    state.coupling = 0x00;
    return state;
}

quint8 ModuleState::adjustValue(quint8 type, int point) const
{
    if (type == Wire::kVolumeAdjustType)
        return volume;
    if (type >= Wire::kAdjustTypeCount || point < 0 || point >= Wire::kAdjustPoints)
        return 0;
    return adjust[type][Wire::isThreePointType(type) ? point : Wire::kMiddlePoint];
}

void ModuleState::setAdjustValue(quint8 type, int point, quint8 value)
{
    if (type == Wire::kVolumeAdjustType)
        volume = value;
    else if (type < Wire::kAdjustTypeCount && point >= 0 && point < Wire::kAdjustPoints)
        adjust[type][Wire::isThreePointType(type) ? point : Wire::kMiddlePoint] = value;
}

QJsonObject ModuleState::toJson() const
{
    QJsonArray channelList;
    for (const ChannelState &c : channels) {
        channelList.append(QJsonObject{{"tx", static_cast<qint64>(c.txFreq)},
                                       {"rx", static_cast<qint64>(c.rxFreq)},
                                       {"power", c.power},
                                       {"bandwidth", c.bandwidth},
                                       {"squelch", c.squelch},
                                       {"ctcssDcs", c.ctcssDcs},
                                       {"scan", c.scan}});
    }
    const QJsonObject user{
        {"ctrlMode", ctrlMode},         {"currentChannel", currentChannel},
        {"storeChannel", storeChannel}, {"txTimeout", txTimeout},
        {"protectTime", protectTime},   {"volume", volume},
        {"powerSave", powerSave},       {"sleep", sleepTime},
        {"standby", standbyTime},       {"audioWave", audioWave},
        {"sidetone", sidetone},         {"rssi", rssi},
        {"scanMode", scanMode},         {"virtualPortDisabled", virtualPortDisabled}};
    QJsonObject adjustValues;
    for (quint8 type = 0; type < Wire::kAdjustTypeCount; ++type) {
        if (type == Wire::kVolumeAdjustType)
            continue;
        const auto &points = adjust[type];
        if (Wire::isThreePointType(type))
            adjustValues.insert(QString::number(type), QJsonArray{signedByte(points[0]), points[1],
                                                                  signedByte(points[2])});
        else
            adjustValues.insert(QString::number(type), points[Wire::kMiddlePoint]);
    }
    QJsonArray offsets;
    for (qint8 offset : rssiOffsets)
        offsets.append(offset);
    QJsonArray table;
    for (quint8 value : powerTable)
        table.append(value);
    const QJsonObject factory{{"adjust", adjustValues},
                              {"rssiOffsets", offsets},
                              {"powerTable", table},
                              {"sidetoneVolume", sidetoneVolume},
                              {"coupling", coupling}};
    const QJsonObject test{{"transmitMode", transmitMode},
                           {"sensitivityTest", sensitivityTest},
                           {"squelchCalibration", squelchCalibration},
                           {"rssiCalibration", rssiCalibration}};
    return QJsonObject{{"format", kFormatVersion},
                       {"band", band},
                       {"firmware", firmware},
                       {"serialNumber", QString::fromLatin1(serialNumber.toHex().toUpper())},
                       {"channels", channelList},
                       {"user", user},
                       {"factory", factory},
                       {"test", test}};
}

std::optional<ModuleState> ModuleState::fromJson(const QJsonObject &object, QString *error)
{
    Reader read(error);
    read.onlyKeys(
        object,
        {"format", "band", "firmware", "serialNumber", "channels", "user", "factory", "test"},
        QString());
    int format = kFormatVersion;
    read.number(object, "format", QString(), format, kFormatVersion, kFormatVersion);
    quint8 band = kDefaultBand;
    read.byte(object, "band", QString(), band);
    if (!read.ok())
        return std::nullopt;
    ModuleState state = defaults(band);

    if (object.contains("firmware")) {
        if (!object.value("firmware").isString())
            read.fail(QStringLiteral("firmware: expected a text"));
        state.firmware = object.value("firmware").toString();
    }
    if (object.contains("serialNumber")) {
        static const QRegularExpression twelveHexDigits(QStringLiteral("^[0-9A-Fa-f]{12}$"));
        const QString text = object.value("serialNumber").toString();
        if (!twelveHexDigits.match(text).hasMatch())
            read.fail(QStringLiteral("serialNumber: expected twelve hexadecimal digits"));
        state.serialNumber = QByteArray::fromHex(text.toLatin1());
    }

    const QJsonArray channelList = read.array(object, "channels", QString(), Wire::kChannelCount);
    for (int i = 0; read.ok() && i < channelList.size(); ++i) {
        const QString where = QStringLiteral("channels[%1].").arg(i);
        if (!channelList.at(i).isObject()) {
            read.fail(where + QStringLiteral(": expected an object"));
            break;
        }
        const QJsonObject c = channelList.at(i).toObject();
        read.onlyKeys(c, {"tx", "rx", "power", "bandwidth", "squelch", "ctcssDcs", "scan"}, where);
        ChannelState &channel = state.channels[i];
        read.number(c, "tx", where, channel.txFreq, 0, kMaxFrequency);
        read.number(c, "rx", where, channel.rxFreq, 0, kMaxFrequency);
        read.byte(c, "power", where, channel.power);
        read.byte(c, "bandwidth", where, channel.bandwidth);
        read.byte(c, "squelch", where, channel.squelch);
        read.byte(c, "ctcssDcs", where, channel.ctcssDcs);
        read.byte(c, "scan", where, channel.scan);
    }

    const QString u = QStringLiteral("user.");
    const QJsonObject user =
        read.object(object, "user", QString(),
                    {"ctrlMode", "currentChannel", "storeChannel", "txTimeout", "protectTime",
                     "volume", "powerSave", "sleep", "standby", "audioWave", "sidetone", "rssi",
                     "scanMode", "virtualPortDisabled"});
    read.byte(user, "ctrlMode", u, state.ctrlMode);
    read.byte(user, "currentChannel", u, state.currentChannel);
    read.byte(user, "storeChannel", u, state.storeChannel);
    read.byte(user, "txTimeout", u, state.txTimeout);
    read.byte(user, "protectTime", u, state.protectTime);
    read.byte(user, "volume", u, state.volume);
    read.byte(user, "powerSave", u, state.powerSave);
    read.byte(user, "sleep", u, state.sleepTime);
    read.byte(user, "standby", u, state.standbyTime);
    read.byte(user, "audioWave", u, state.audioWave);
    read.byte(user, "sidetone", u, state.sidetone);
    read.number(user, "rssi", u, state.rssi, -128, 127);
    read.byte(user, "scanMode", u, state.scanMode);
    read.flag(user, "virtualPortDisabled", u, state.virtualPortDisabled);

    const QString f = QStringLiteral("factory.");
    const QJsonObject factory =
        read.object(object, "factory", QString(),
                    {"adjust", "rssiOffsets", "powerTable", "sidetoneVolume", "coupling"});
    QStringList adjustKeys;
    for (int type = 0; type < Wire::kAdjustTypeCount; ++type) {
        if (type != Wire::kVolumeAdjustType)
            adjustKeys.append(QString::number(type));
    }
    const QJsonObject adjustValues = read.object(factory, "adjust", f, adjustKeys);
    for (auto it = adjustValues.begin(); read.ok() && it != adjustValues.end(); ++it) {
        const auto type = static_cast<quint8>(it.key().toInt());
        const QString where = f + QStringLiteral("adjust.");
        if (!Wire::isThreePointType(type)) {
            read.byte(adjustValues, it.key(), where, state.adjust[type][Wire::kMiddlePoint]);
            continue;
        }
        const QJsonArray points = read.array(adjustValues, it.key(), where, Wire::kAdjustPoints);
        if (read.ok() && points.size() != Wire::kAdjustPoints)
            read.fail(where + it.key() + QStringLiteral(": expected three points"));
        for (int p = 0; read.ok() && p < points.size(); ++p)
            read.byteValue(points.at(p), QStringLiteral("%1%2[%3]").arg(where, it.key()).arg(p),
                           state.adjust[type][p]);
    }
    const QJsonArray offsets = read.array(factory, "rssiOffsets", f, 3);
    for (int p = 0; read.ok() && p < offsets.size(); ++p)
        read.value(offsets.at(p), QStringLiteral("factory.rssiOffsets[%1]").arg(p),
                   state.rssiOffsets[p], -128, 127);
    const QJsonArray table = read.array(factory, "powerTable", f, Wire::kPowerTableSize);
    for (int i = 0; read.ok() && i < table.size(); ++i)
        read.byteValue(table.at(i), QStringLiteral("factory.powerTable[%1]").arg(i),
                       state.powerTable[i]);
    read.byte(factory, "sidetoneVolume", f, state.sidetoneVolume);
    read.byte(factory, "coupling", f, state.coupling);

    const QString t = QStringLiteral("test.");
    const QJsonObject test =
        read.object(object, "test", QString(),
                    {"transmitMode", "sensitivityTest", "squelchCalibration", "rssiCalibration"});
    read.byte(test, "transmitMode", t, state.transmitMode);
    read.flag(test, "sensitivityTest", t, state.sensitivityTest);
    read.byte(test, "squelchCalibration", t, state.squelchCalibration);
    read.byte(test, "rssiCalibration", t, state.rssiCalibration);

    if (!read.ok())
        return std::nullopt;
    return state;
}

std::optional<ModuleState> ModuleState::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        if (error)
            *error =
                QStringLiteral("%1: not a JSON object (%2)").arg(path, parseError.errorString());
        return std::nullopt;
    }
    QString reason;
    auto state = fromJson(document.object(), &reason);
    if (!state && error)
        *error = QStringLiteral("%1: %2").arg(path, reason);
    return state;
}

bool ModuleState::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(toJson()).toJson(QJsonDocument::Indented));
        if (file.commit())
            return true;
    }
    if (error)
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
}

QStringList ModuleState::diff(const ModuleState &other) const
{
    QMap<QString, QJsonValue> mine;
    QMap<QString, QJsonValue> theirs;
    flatten(toJson(), QString(), mine);
    flatten(other.toJson(), QString(), theirs);
    QStringList lines;
    for (auto it = mine.begin(); it != mine.end(); ++it) {
        const QJsonValue value = theirs.value(it.key(), QJsonValue(QJsonValue::Undefined));
        if (value != it.value())
            lines.append(QStringLiteral("%1: %2 -> %3")
                             .arg(it.key(), valueText(it.value()), valueText(value)));
    }
    for (auto it = theirs.begin(); it != theirs.end(); ++it) {
        if (!mine.contains(it.key()))
            lines.append(QStringLiteral("%1: (none) -> %2").arg(it.key(), valueText(it.value())));
    }
    return lines;
}

bool ModuleState::operator==(const ModuleState &o) const
{
    const auto identity = [](const ModuleState &s) {
        return std::tie(s.band, s.firmware, s.serialNumber, s.channels);
    };
    const auto user = [](const ModuleState &s) {
        return std::tie(s.ctrlMode, s.currentChannel, s.storeChannel, s.txTimeout, s.protectTime,
                        s.volume, s.powerSave, s.sleepTime, s.standbyTime, s.audioWave, s.sidetone,
                        s.rssi, s.scanMode, s.virtualPortDisabled);
    };
    const auto factory = [](const ModuleState &s) {
        return std::tie(s.adjust, s.rssiOffsets, s.powerTable, s.sidetoneVolume, s.coupling,
                        s.transmitMode, s.sensitivityTest, s.squelchCalibration, s.rssiCalibration);
    };
    return identity(*this) == identity(o) && user(*this) == user(o) && factory(*this) == factory(o);
}
