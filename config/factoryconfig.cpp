#include "config/factoryconfig.h"

#include "device/adjustcommands.h"
#include "device/calibrationcommands.h"
#include "device/factorycommands.h"
#include "device/wire.h"

#include <QJsonValue>

namespace {
using Kind = FactorySource::Kind;

constexpr int kByteMin = 0;
constexpr int kByteMax = 255;
constexpr int kSignedByteMin = -128;
constexpr int kSignedByteMax = 127;
constexpr int kSidetoneMax = 9;
constexpr int kLow = 0;
constexpr int kMiddle = 1;
constexpr int kHigh = 2;

const QString kCouplingPath = QStringLiteral("/BasebandSignelCouple");
const QString kBandPath = QStringLiteral("/RadioBandIndex");
const QString kDc = QStringLiteral("DC");
const QString kAc = QStringLiteral("AC");

// The middle point is the calibration value itself; the other two are signed differences.
FactoryNumberField adjust(const char *path, quint8 type, int point)
{
    const bool difference = point != kMiddle;
    return {path,
            {Kind::Adjust, type, point, 0},
            difference ? kSignedByteMin : kByteMin,
            difference ? kSignedByteMax : kByteMax};
}

FactoryNumberField single(const char *path, quint8 type)
{
    return adjust(path, type, kMiddle);
}

FactoryNumberField cell(const char *path, int power, int point)
{
    return {path, {Kind::PowerCell, 0, point, power}, kByteMin, kByteMax};
}

FactoryNumberField rssi(const char *path, int point)
{
    return {path, {Kind::RssiOffset, 0, point, 0}, kSignedByteMin, kSignedByteMax};
}

const std::array<FactoryNumberField, FactoryCalibration::kNumberCount> kFields{{
    adjust("/DataModFreqDiv/LowDiff", AdjustType::kDataDeviation, kLow),
    adjust("/DataModFreqDiv/Mid", AdjustType::kDataDeviation, kMiddle),
    adjust("/DataModFreqDiv/HighDiff", AdjustType::kDataDeviation, kHigh),
    adjust("/VoiceModFreqDiv/LowDiff", AdjustType::kVoiceDeviation, kLow),
    adjust("/VoiceModFreqDiv/Mid", AdjustType::kVoiceDeviation, kMiddle),
    adjust("/VoiceModFreqDiv/HighDiff", AdjustType::kVoiceDeviation, kHigh),
    adjust("/AUDIO_IN/LowDiff", AdjustType::kAudioIn, kLow),
    adjust("/AUDIO_IN/Mid", AdjustType::kAudioIn, kMiddle),
    adjust("/AUDIO_IN/HighDiff", AdjustType::kAudioIn, kHigh),
    single("/CTCSSFreqDiv", AdjustType::kCtcssDeviation),
    single("/TCXO_BIAS", AdjustType::kTcxoBias),
    single("/MOD_BIAS", AdjustType::kModBias),
    // Row by row (1 W to 5 W), columns low, middle, high.
    cell("/TxPowerAdj/cell00", 0, kLow),
    cell("/TxPowerAdj/cell01", 0, kMiddle),
    cell("/TxPowerAdj/cell02", 0, kHigh),
    cell("/TxPowerAdj/cell10", 1, kLow),
    cell("/TxPowerAdj/cell11", 1, kMiddle),
    cell("/TxPowerAdj/cell12", 1, kHigh),
    cell("/TxPowerAdj/cell20", 2, kLow),
    cell("/TxPowerAdj/cell21", 2, kMiddle),
    cell("/TxPowerAdj/cell22", 2, kHigh),
    cell("/TxPowerAdj/cell30", 3, kLow),
    cell("/TxPowerAdj/cell31", 3, kMiddle),
    cell("/TxPowerAdj/cell32", 3, kHigh),
    cell("/TxPowerAdj/cell40", 4, kLow),
    cell("/TxPowerAdj/cell41", 4, kMiddle),
    cell("/TxPowerAdj/cell42", 4, kHigh),
    adjust("/2PBalanceAdj/LowDiff", AdjustType::kTwoPointBalance, kLow),
    adjust("/2PBalanceAdj/Mid", AdjustType::kTwoPointBalance, kMiddle),
    adjust("/2PBalanceAdj/HighDiff", AdjustType::kTwoPointBalance, kHigh),
    adjust("/RxFilter/LowDiff", AdjustType::kRxFilter, kLow),
    adjust("/RxFilter/Mid", AdjustType::kRxFilter, kMiddle),
    adjust("/RxFilter/HighDiff", AdjustType::kRxFilter, kHigh),
    single("/RFSKLevel", AdjustType::kRfskLevel),
    single("/R_BIAS", AdjustType::kRBias),
    rssi("/RSSIOffset/Low", kLow),
    rssi("/RSSIOffset/Mid", kMiddle),
    rssi("/RSSIOffset/High", kHigh),
    {"/SidetoneVol", {Kind::SidetoneVolume, 0, kMiddle, 0}, kByteMin, kSidetoneMax},
}};

bool sameSource(const FactorySource &a, const FactorySource &b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Kind::Adjust:
        // Single-value types have one value whatever point is named.
        return a.adjustType == b.adjustType &&
               (!Wire::isThreePointType(a.adjustType) || a.point == b.point);
    case Kind::PowerCell:
        return a.power == b.power && a.point == b.point;
    case Kind::RssiOffset:
        return a.point == b.point;
    case Kind::SidetoneVolume:
        return true;
    }
    return false;
}

int wireIndex(const FactorySource &source)
{
    return Wire::powerTableIndex(source.power, static_cast<Wire::FreqPoint>(source.point));
}
} // namespace

int FactoryNumberField::clamp(int value) const
{
    return qBound(minimum, value, maximum);
}

const std::array<FactoryNumberField, FactoryCalibration::kNumberCount> &
FactoryCalibration::numberFields()
{
    return kFields;
}

int FactoryCalibration::indexOfPath(const QString &path)
{
    for (int i = 0; i < kNumberCount; ++i) {
        if (path == QLatin1String(kFields[i].path))
            return i;
    }
    return -1;
}

int FactoryCalibration::powerTableIndex(int power, int point)
{
    return Wire::powerTableIndex(power, static_cast<Wire::FreqPoint>(point));
}

int FactoryCalibration::indexOf(const FactorySource &source)
{
    for (int i = 0; i < kNumberCount; ++i) {
        if (sameSource(kFields[i].source, source))
            return i;
    }
    return -1;
}

QByteArray FactoryCalibration::powerTable() const
{
    QByteArray table(Wire::kPowerTableSize, '\0');
    for (int i = 0; i < kNumberCount; ++i) {
        if (kFields[i].source.kind == Kind::PowerCell)
            table[wireIndex(kFields[i].source)] = static_cast<char>(numbers[i]);
    }
    return table;
}

void FactoryCalibration::setPowerTable(const QByteArray &wireOrder)
{
    for (int i = 0; i < kNumberCount; ++i) {
        const int index = wireIndex(kFields[i].source);
        if (kFields[i].source.kind == Kind::PowerCell && index < wireOrder.size())
            numbers[i] = static_cast<quint8>(wireOrder.at(index));
    }
}

FactoryCalibration FactoryCalibration::normalised() const
{
    FactoryCalibration result = *this;
    for (int i = 0; i < kNumberCount; ++i)
        result.numbers[i] = kFields[i].clamp(numbers[i]);
    if (radioBandIndex < 0 || radioBandIndex >= kBandCount)
        result.radioBandIndex = -1;
    return result;
}

MJsonConfig::Entries FactoryCalibration::entries() const
{
    MJsonConfig::Entries result;
    result.reserve(kNumberCount + 2);
    for (int i = 0; i < kNumberCount; ++i)
        result.append({QString::fromLatin1(kFields[i].path), numbers[i]});
    result.append({kCouplingPath, dcCoupling ? kDc : kAc});
    result.append({kBandPath, radioBandIndex});
    return result;
}

FactoryCalibration FactoryCalibration::fromStore(const MJsonConfig &store)
{
    FactoryCalibration result;
    for (int i = 0; i < kNumberCount; ++i)
        result.numbers[i] = store.value(QString::fromLatin1(kFields[i].path)).toInt(0);
    result.dcCoupling = store.value(kCouplingPath, kDc).toString() == kDc;
    result.radioBandIndex = store.value(kBandPath, -1).toInt(0);
    return result.normalised();
}

MemberLimits FactoryCalibration::limits()
{
    MemberLimits limits;
    for (const FactoryNumberField &field : kFields)
        limits.ranges.push_back(
            {QString::fromLatin1(field.path), UserParams::Range{field.minimum, field.maximum}});
    limits.ranges.push_back({kBandPath, UserParams::Range{-1, kBandCount - 1}});
    limits.choices = {{kCouplingPath, {kDc, kAc}}};
    // The band goes out after every number: without one, the write would stop there.
    limits.selections.push_back({kBandPath, {{0, kBandCount - 1}}, 0, {}});
    return limits;
}

bool FactoryCalibration::operator==(const FactoryCalibration &other) const
{
    return numbers == other.numbers && dcCoupling == other.dcCoupling &&
           radioBandIndex == other.radioBandIndex;
}

namespace {
using Step = FactoryBulkStep;

Step number(const char *path)
{
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        if (qstrcmp(fields[i].path, path) == 0)
            return {Step::Item::Number, i};
    }
    Q_ASSERT_X(false, "FactoryBulk", path);
    return {};
}

Step plain(Step::Item item)
{
    return {item, -1};
}

std::vector<Step> frequencyAdjusts()
{
    return {number("/DataModFreqDiv/LowDiff"),
            number("/DataModFreqDiv/Mid"),
            number("/DataModFreqDiv/HighDiff"),
            number("/VoiceModFreqDiv/LowDiff"),
            number("/VoiceModFreqDiv/Mid"),
            number("/VoiceModFreqDiv/HighDiff"),
            number("/AUDIO_IN/LowDiff"),
            number("/AUDIO_IN/Mid"),
            number("/AUDIO_IN/HighDiff"),
            number("/CTCSSFreqDiv"),
            number("/TCXO_BIAS"),
            number("/MOD_BIAS")};
}

std::vector<Step> transmitAndReceiveAdjusts()
{
    return {number("/2PBalanceAdj/LowDiff"),
            number("/2PBalanceAdj/Mid"),
            number("/2PBalanceAdj/HighDiff"),
            number("/RxFilter/LowDiff"),
            number("/RxFilter/Mid"),
            number("/RxFilter/HighDiff"),
            number("/RFSKLevel"),
            number("/R_BIAS"),
            number("/RSSIOffset/Low"),
            number("/RSSIOffset/Mid"),
            number("/RSSIOffset/High")};
}

std::vector<Step> joined(std::initializer_list<std::vector<Step>> parts)
{
    std::vector<Step> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
} // namespace

const std::vector<FactoryBulkStep> &FactoryBulk::readSteps()
{
    static const std::vector<Step> steps = joined({
        frequencyAdjusts(),
        {plain(Step::Item::TestCoupling), plain(Step::Item::PowerTable)},
        transmitAndReceiveAdjusts(),
        {plain(Step::Item::Band), plain(Step::Item::Coupling), number("/SidetoneVol")},
    });
    return steps;
}

const std::vector<FactoryBulkStep> &FactoryBulk::writeSteps()
{
    // The test group's coupling is the same setting: writing it once is enough.
    static const std::vector<Step> steps = joined({
        frequencyAdjusts(),
        {plain(Step::Item::PowerTable)},
        transmitAndReceiveAdjusts(),
        {plain(Step::Item::Coupling), plain(Step::Item::Band), number("/SidetoneVol")},
    });
    return steps;
}

QString FactoryBulk::blankText(const FactoryBulkStep &step)
{
    using Item = FactoryBulkStep::Item;
    switch (step.item) {
    case Item::Number:
        switch (FactoryCalibration::numberFields()[step.field].source.kind) {
        case FactorySource::Kind::RssiOffset:
            return CalibrationCommands::rssiOffsetBlankText();
        case FactorySource::Kind::SidetoneVolume:
            return FactoryCommands::sidetoneBlankText();
        default:
            return AdjustCommands::blankRefusalText();
        }
    case Item::PowerTable:
        return CalibrationCommands::powerTableBlankText();
    case Item::Band:
        return FactoryCommands::bandBlankText();
    case Item::Coupling:
    case Item::TestCoupling:
        return FactoryCommands::couplingBlankText();
    }
    return QString();
}
