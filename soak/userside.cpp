// The user page, the identification fields and the channel table against the module's state.
#include "soak/sidechecks.h"

#include "config/userconfig.h"
#include "device/channelcodec.h"
#include "device/identificationcommands.h"
#include "device/usercommands.h"
#include "protocol/linkframe.h"
#include "ui/widgetvalues.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>
#include <optional>

using namespace SideChecks;

const QString UserSide::kFirmwareField = QStringLiteral("firmware");

namespace {
constexpr int kUnusedChannelPercent = 10; // how many channels are left empty
constexpr quint32 kGridTenHz = 500;       // 5 kHz channel grid, in 10 Hz
constexpr int kMaxFirmwareChars = 16;
constexpr int kSerialBytes = ModuleState::kSerialBytes;
constexpr quint8 kFirstBandCode = 0x10;
constexpr int kBandCount = 4;
const QString kFirmwareChars =
    QStringLiteral("0123456789.-_ ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

using Wire::kOff;
using Wire::kOn;

quint8 twoState(QRandomGenerator &random)
{
    return random.bounded(2) ? kOn : kOff;
}

quint32 frequencyIn(const Wire::Band &band, QRandomGenerator &random)
{
    const quint32 steps = (band.freqMax - band.freqMin) / kGridTenHz;
    return band.freqMin + kGridTenHz * random.bounded(steps + 1);
}

// A selector index that has a wire value (CTCSS/DCS headings have none), and that value.
int validIndex(QRandomGenerator &random, int count,
               const std::function<std::optional<quint8>(int)> &wireFromIndex)
{
    for (;;) {
        const int index = static_cast<int>(random.bounded(count));
        if (wireFromIndex(index))
            return index;
    }
}

struct Selector
{
    QString field;
    QStringList items;
    std::function<std::optional<quint8>(int)> wireFromIndex;
};

const QList<Selector> &paramSelectors()
{
    using namespace ChannelCodec;
    static const QList<Selector> selectors{
        {kBandwidth, bandwidthItems(), bandwidthWireFromIndex},
        {kSqLevel, sqLevelItems(), sqLevelWireFromIndex},
        {kCtcssDcs, ctcssDcsItems(), ctcssDcsWireFromIndex},
        {kScan, scanItems(), scanWireFromIndex},
    };
    return selectors;
}

QString pairText(const QAbstractButton *first, const QAbstractButton *second)
{
    if (first->isChecked() == second->isChecked())
        return first->isChecked() ? QStringLiteral("both") : QStringLiteral("none");
    return first->isChecked() ? first->objectName() : second->objectName();
}

void comparePair(QStringList &differences, const MainWindow &window, const QString &firstName,
                 const QString &secondName, bool firstExpected)
{
    const auto *first = widget<QAbstractButton>(window, firstName);
    const auto *second = widget<QAbstractButton>(window, secondName);
    compare(differences, firstName + QLatin1Char('/') + secondName, pairText(first, second),
            firstExpected ? firstName : secondName);
}

void compareSpin(QStringList &differences, const MainWindow &window, const QString &name,
                 int expected)
{
    const auto *spinBox = widget<QSpinBox>(window, name);
    if (WidgetValues::isBlank(spinBox)) {
        compare(differences, name, QStringLiteral("blank"), QString::number(expected));
        return;
    }
    compare(differences, name, spinBox->value(),
            qBound(spinBox->minimum(), expected, spinBox->maximum()));
}

void setSpin(MainWindow &window, const QString &name, QRandomGenerator &random)
{
    auto *spinBox = widget<QSpinBox>(window, name);
    WidgetValues::setValue(spinBox, randomIn(random, spinBox->minimum(), spinBox->maximum()));
}

void setPair(MainWindow &window, const QString &first, const QString &second,
             QRandomGenerator &random)
{
    widget<QRadioButton>(window, random.bounded(2) ? first : second)->setChecked(true);
}

int spinValue(const MainWindow &window, const QString &name)
{
    return widget<QSpinBox>(window, name)->value();
}

quint8 pairByte(const MainWindow &window, const QString &first)
{
    return widget<QRadioButton>(window, first)->isChecked() ? kOn : kOff;
}

QString cellName(int channel, const QString &field)
{
    return ChannelCodec::cellName(channel, field);
}

quint32 shownFrequency(const MainWindow &window, int channel, const QString &field)
{
    return ChannelCodec::frequencyFromText(
        widget<QLineEdit>(window, cellName(channel, field))->displayText());
}

int shownIndex(const MainWindow &window, int channel, const QString &field)
{
    return widget<QComboBox>(window, cellName(channel, field))->currentIndex();
}
} // namespace

void UserSide::randomiseModule(ModuleState &state, QRandomGenerator &random)
{
    state.band = static_cast<quint8>(kFirstBandCode + random.bounded(kBandCount));
    const Wire::Band &band = *Wire::findBand(state.band);
    QString firmware;
    const int length = randomIn(random, 1, kMaxFirmwareChars);
    for (int i = 0; i < length; ++i)
        firmware.append(kFirmwareChars.at(static_cast<int>(random.bounded(kFirmwareChars.size()))));
    state.firmware = firmware;
    state.serialNumber = QByteArray(kSerialBytes, '\0');
    for (char &byte : state.serialNumber)
        byte = static_cast<char>(random.bounded(256));

    for (ChannelState &channel : state.channels) {
        const bool unused = random.bounded(100) < kUnusedChannelPercent;
        channel.txFreq = unused ? 0 : frequencyIn(band, random);
        channel.rxFreq = unused ? 0 : frequencyIn(band, random);
        channel.power =
            unused ? 0 : static_cast<quint8>(random.bounded(ChannelCodec::txPowerItems().size()));
        quint8 *params[] = {&channel.bandwidth, &channel.squelch, &channel.ctcssDcs, &channel.scan};
        for (int i = 0; i < paramSelectors().size(); ++i) {
            const Selector &selector = paramSelectors().at(i);
            *params[i] = *selector.wireFromIndex(
                validIndex(random, selector.items.size(), selector.wireFromIndex));
        }
    }

    using namespace UserParams;
    state.ctrlMode = twoState(random);
    state.currentChannel =
        static_cast<quint8>(randomIn(random, kCurrentChannel.minimum, kCurrentChannel.maximum));
    state.txTimeout = static_cast<quint8>(randomIn(random, kTxTimeout.minimum, kTxTimeout.maximum));
    state.protectTime = static_cast<quint8>(randomIn(random, kStopTime.minimum, kStopTime.maximum));
    state.volume = static_cast<quint8>(randomIn(random, kVolume.minimum, kVolume.maximum));
    state.powerSave = twoState(random);
    state.sleepTime = static_cast<quint8>(randomIn(random, kSleepTime.minimum, kSleepTime.maximum));
    state.standbyTime =
        static_cast<quint8>(randomIn(random, kStandbyTime.minimum, kStandbyTime.maximum));
    state.audioWave = twoState(random);
    state.sidetone = twoState(random);
    state.scanMode = static_cast<quint8>(random.bounded(kScanModeCount));
}

void UserSide::randomiseWindow(MainWindow &window, quint8 bandCode, QRandomGenerator &random)
{
    const Wire::Band &band = *Wire::findBand(bandCode);
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const bool unused = random.bounded(100) < kUnusedChannelPercent;
        for (const QString &field : {ChannelCodec::kRxFreq, ChannelCodec::kTxFreq}) {
            widget<QLineEdit>(window, cellName(n, field))
                ->setText(ChannelCodec::frequencyText(unused ? 0 : frequencyIn(band, random)));
        }
        const int powerCount = ChannelCodec::txPowerItems().size();
        widget<QComboBox>(window, cellName(n, ChannelCodec::kTxPower))
            ->setCurrentIndex(unused ? -1 : static_cast<int>(random.bounded(powerCount)));
        for (const Selector &selector : paramSelectors()) {
            widget<QComboBox>(window, cellName(n, selector.field))
                ->setCurrentIndex(
                    validIndex(random, selector.items.size(), selector.wireFromIndex));
        }
    }
    setPair(window, QStringLiteral("radioButton"), QStringLiteral("radioButton_2"), random);
    setSpin(window, QStringLiteral("spinBox"), random);
    widget<QCheckBox>(window, QStringLiteral("checkBox"))->setChecked(random.bounded(2) == 1);
    for (const char *name : {"spinBox_2", "spinBox_3", "spinBox_4", "spinBox_5", "spinBox_6"})
        setSpin(window, QString::fromLatin1(name), random);
    setPair(window, QStringLiteral("radioButton_3"), QStringLiteral("radioButton_4"), random);
    setPair(window, QStringLiteral("radioButton_7"), QStringLiteral("radioButton_8"), random);
    setPair(window, QStringLiteral("radioButton_5"), QStringLiteral("radioButton_6"), random);
    widget<QComboBox>(window, QStringLiteral("comboBox"))
        ->setCurrentIndex(static_cast<int>(random.bounded(UserParams::kScanModeCount)));
}

QStringList UserSide::afterRead(const MainWindow &window, const ModuleState &state)
{
    QStringList differences;
    const Wire::Band *band = Wire::findBand(state.band);
    compare(differences, QStringLiteral("model"),
            widget<QLineEdit>(window, QStringLiteral("lineEdit_2"))->text(),
            IdentificationCommands::modelText(state.band));
    compare(differences, QStringLiteral("frequency range"),
            widget<QLineEdit>(window, QStringLiteral("lineEdit_4"))->text(),
            band ? QString::fromLatin1(band->range) : QString());
    compare(differences, kFirmwareField,
            widget<QLineEdit>(window, QStringLiteral("lineEdit_3"))->text(), state.firmware);
    compare(differences, QStringLiteral("serial number"),
            widget<QLineEdit>(window, QStringLiteral("lineEdit_5"))->text(),
            toHexText(state.serialNumber, QString()));

    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const ChannelState &module = state.channels[n - 1];
        const UserChannel expected = UserConfigFile::channelFromModule(
            {module.txFreq, module.rxFreq, module.power},
            {module.bandwidth, module.squelch, module.ctcssDcs, module.scan});
        const auto check = [&](const QString &field, qint64 shown, qint64 wanted) {
            compare(differences, cellName(n, field), shown, wanted);
        };
        using namespace ChannelCodec;
        check(kRxFreq, shownFrequency(window, n, kRxFreq), expected.rxFreq);
        check(kTxFreq, shownFrequency(window, n, kTxFreq), expected.txFreq);
        check(kTxPower, shownIndex(window, n, kTxPower), expected.txPowerIndex);
        check(kBandwidth, shownIndex(window, n, kBandwidth), expected.bandwidthIndex);
        check(kSqLevel, shownIndex(window, n, kSqLevel), expected.sqLevelIndex);
        check(kCtcssDcs, shownIndex(window, n, kCtcssDcs), expected.ctcssDcsIndex);
        check(kScan, shownIndex(window, n, kScan), expected.scanIndex);
    }

    comparePair(differences, window, QStringLiteral("radioButton"), QStringLiteral("radioButton_2"),
                state.ctrlMode == kOn);
    compareSpin(differences, window, QStringLiteral("spinBox"), state.currentChannel);
    compareSpin(differences, window, QStringLiteral("spinBox_2"), state.txTimeout);
    compareSpin(differences, window, QStringLiteral("spinBox_3"), state.protectTime);
    compareSpin(differences, window, QStringLiteral("spinBox_4"), state.volume);
    comparePair(differences, window, QStringLiteral("radioButton_3"),
                QStringLiteral("radioButton_4"), state.powerSave == kOn);
    compareSpin(differences, window, QStringLiteral("spinBox_5"), state.sleepTime);
    compareSpin(differences, window, QStringLiteral("spinBox_6"), state.standbyTime);
    comparePair(differences, window, QStringLiteral("radioButton_7"),
                QStringLiteral("radioButton_8"), state.audioWave == kOn);
    comparePair(differences, window, QStringLiteral("radioButton_5"),
                QStringLiteral("radioButton_6"), state.sidetone == kOn);
    compare(differences, QStringLiteral("comboBox"),
            widget<QComboBox>(window, QStringLiteral("comboBox"))->currentIndex(),
            UserParams::scanModeIndex(state.scanMode));
    // The power saving times can be read and set only while power saving is on.
    for (const char *name : {"pushButton_13", "pushButton_14"}) {
        compare(differences, QString::fromLatin1(name) + QStringLiteral(" enabled"),
                widget<QPushButton>(window, QString::fromLatin1(name))->isEnabled(),
                state.powerSave == kOn);
    }
    return differences;
}

QStringList UserSide::afterWrite(const MainWindow &window, const ModuleState &state)
{
    QStringList differences;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        const ChannelState &module = state.channels[n - 1];
        const QString name = QStringLiteral("channel %1 ").arg(n);
        using namespace ChannelCodec;
        const quint32 rx = shownFrequency(window, n, kRxFreq);
        const quint32 tx = shownFrequency(window, n, kTxFreq);
        const bool used = rx != 0 && tx != 0;
        compare(differences, name + QStringLiteral("rx"), module.rxFreq, used ? rx : 0);
        compare(differences, name + QStringLiteral("tx"), module.txFreq, used ? tx : 0);
        compare(differences, name + QStringLiteral("power"), module.power,
                used ? shownIndex(window, n, kTxPower) : 0);
        if (!used)
            continue;
        const quint8 params[] = {module.bandwidth, module.squelch, module.ctcssDcs, module.scan};
        for (int i = 0; i < paramSelectors().size(); ++i) {
            const Selector &selector = paramSelectors().at(i);
            const auto sent = selector.wireFromIndex(shownIndex(window, n, selector.field));
            compare(differences, name + selector.field, params[i], sent ? *sent : -1);
        }
    }

    compare(differences, QStringLiteral("control mode"), state.ctrlMode,
            pairByte(window, QStringLiteral("radioButton")));
    // Under the DIP switch the current channel is not sent.
    if (widget<QRadioButton>(window, QStringLiteral("radioButton_2"))->isChecked()) {
        compare(differences, QStringLiteral("current channel"), state.currentChannel,
                spinValue(window, QStringLiteral("spinBox")));
        compare(differences, QStringLiteral("store channel"), state.storeChannel,
                widget<QCheckBox>(window, QStringLiteral("checkBox"))->isChecked() ? 1 : 0);
    }
    compare(differences, QStringLiteral("tx timeout"), state.txTimeout,
            spinValue(window, QStringLiteral("spinBox_2")));
    compare(differences, QStringLiteral("protect time"), state.protectTime,
            spinValue(window, QStringLiteral("spinBox_3")));
    compare(differences, QStringLiteral("volume"), state.volume,
            spinValue(window, QStringLiteral("spinBox_4")));
    compare(differences, QStringLiteral("power save"), state.powerSave,
            pairByte(window, QStringLiteral("radioButton_3")));
    compare(differences, QStringLiteral("sleep time"), state.sleepTime,
            spinValue(window, QStringLiteral("spinBox_5")));
    compare(differences, QStringLiteral("standby time"), state.standbyTime,
            spinValue(window, QStringLiteral("spinBox_6")));
    compare(differences, QStringLiteral("audio wave"), state.audioWave,
            pairByte(window, QStringLiteral("radioButton_7")));
    compare(differences, QStringLiteral("sidetone"), state.sidetone,
            pairByte(window, QStringLiteral("radioButton_5")));
    compare(differences, QStringLiteral("scan mode"), state.scanMode,
            widget<QComboBox>(window, QStringLiteral("comboBox"))->currentIndex());
    return differences;
}

bool UserSide::isFirmwareCutShort(const MainWindow &window, const ModuleState &state)
{
    const QString shown = widget<QLineEdit>(window, QStringLiteral("lineEdit_3"))->text();
    return !state.firmware.isEmpty() && shown == state.firmware.chopped(1);
}
