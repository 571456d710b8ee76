#include "ui/userpage/userbindings.h"

#include "session/channelvalues.h"
#include "ui/widgetvalues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <map>
#include <numeric>
#include <type_traits>

namespace UserBindings {
namespace {
using Kind = Binding::Kind;

template<auto Member> qint64 pageValue(const UserConfig &config, int)
{
    return qint64(config.*Member);
}

template<auto Member> void setPageValue(UserConfig &config, int, qint64 value)
{
    using T = std::remove_reference_t<decltype(config.*Member)>;
    config.*Member = static_cast<T>(value);
}

template<auto Member> qint64 channelValue(const UserConfig &config, int channel)
{
    return qint64(config.channels[size_t(channel - 1)].*Member);
}

template<auto Member> void setChannelValue(UserConfig &config, int channel, qint64 value)
{
    using T = std::remove_reference_t<decltype(config.channels[0].*Member)>;
    config.channels[size_t(channel - 1)].*Member = static_cast<T>(value);
}

template<auto Member>
Binding page(Kind kind, std::optional<UserStep> step, const char *widget,
             const char *partner = nullptr, int minimum = 0, int maximum = 0)
{
    return {
        kind,   step, widget, partner, minimum, maximum, &pageValue<Member>, &setPageValue<Member>,
        nullptr};
}

template<auto Member> Binding number(UserStep step, const char *spinBox, int minimum, int maximum)
{
    return page<Member>(Kind::Number, step, spinBox, nullptr, minimum, maximum);
}

template<auto Member> Binding choice(UserStep step, const char *first, const char *second)
{
    return page<Member>(Kind::Choice, step, first, second);
}

// The table keeps pointers: one lasting Latin-1 copy per field name, keyed by the name so that
// two rows of one member keep names of their own.
const char *fieldName(const QString &field)
{
    static std::map<QString, QByteArray> names;
    return names.try_emplace(field, field.toLatin1()).first->second.constData();
}

template<auto Member>
Binding cell(Kind kind, UserStep step, const QString &field, QStringList (*items)() = nullptr)
{
    return {kind, step, fieldName(field),      nullptr,
            0,    0,    &channelValue<Member>, &setChannelValue<Member>,
            items};
}

std::vector<Binding> makeTable()
{
    using namespace ChannelValues;
    using C = UserConfig;
    using Ch = UserChannel;
    return {
        choice<&C::dipSwitch>(UserStep::CtrlMode, "radioButton", "radioButton_2"),
        number<&C::currentChannel>(UserStep::CurrentChannel, "spinBox", 1, 16),
        // Written with the current channel, never read back.
        page<&C::saveChannel>(Kind::Check, std::nullopt, "checkBox"),
        number<&C::txTimeout>(UserStep::TxProtect, "spinBox_2", 0, 255),
        number<&C::stopTime>(UserStep::TxProtect, "spinBox_3", 0, 255),
        number<&C::volume>(UserStep::Volume, "spinBox_4", 0, 9),
        choice<&C::powerSave>(UserStep::PowerSave, "radioButton_3", "radioButton_4"),
        number<&C::sleepTime>(UserStep::PowerSaveTime, "spinBox_5", 0, 25),
        number<&C::standbyTime>(UserStep::PowerSaveTime, "spinBox_6", 0, 15),
        choice<&C::squareWave>(UserStep::AudioWave, "radioButton_7", "radioButton_8"),
        choice<&C::sidetone>(UserStep::Sidetone, "radioButton_5", "radioButton_6"),
        page<&C::scanModeIndex>(Kind::Selector, UserStep::ScanMode, "comboBox"),
        // The channel table, in its column order.
        cell<&Ch::rxFreq>(Kind::Frequency, UserStep::FreqAndPower, kRxFreq),
        cell<&Ch::txFreq>(Kind::Frequency, UserStep::FreqAndPower, kTxFreq),
        cell<&Ch::txPowerIndex>(Kind::Cell, UserStep::FreqAndPower, kTxPower, &txPowerItems),
        cell<&Ch::bandwidthIndex>(Kind::Cell, UserStep::ChannelParams, kBandwidth, &bandwidthItems),
        cell<&Ch::sqLevelIndex>(Kind::Cell, UserStep::ChannelParams, kSqLevel, &sqLevelItems),
        cell<&Ch::ctcssDcsIndex>(Kind::Cell, UserStep::ChannelParams, kCtcssDcs, &ctcssDcsItems),
        cell<&Ch::scanIndex>(Kind::Cell, UserStep::ChannelParams, kScan, &scanItems),
    };
}

template<class T> T *widget(const Widgets &widgets, const Binding &row, int channel)
{
    if (row.inChannelTable())
        return widgets.table->findChild<T *>(
            ChannelValues::cellName(channel, QString::fromLatin1(row.widget)));
    return widgets.page->findChild<T *>(QString::fromLatin1(row.widget));
}

QAbstractButton *partner(const Widgets &widgets, const Binding &row)
{
    return widgets.page->findChild<QAbstractButton *>(QString::fromLatin1(row.partner));
}

qint64 read(const Widgets &widgets, const Binding &row, int channel)
{
    switch (row.kind) {
    case Kind::Number:
        return widget<QSpinBox>(widgets, row, channel)->value();
    case Kind::Choice:
    case Kind::Check:
        return widget<QAbstractButton>(widgets, row, channel)->isChecked();
    case Kind::Selector:
        return widget<QComboBox>(widgets, row, channel)->currentIndex();
    case Kind::Frequency: {
        const auto *cell = widget<QLineEdit>(widgets, row, channel);
        return cell ? ChannelValues::frequencyFromText(cell->displayText()) : 0;
    }
    case Kind::Cell: {
        const auto *cell = widget<QComboBox>(widgets, row, channel);
        return cell ? cell->currentIndex() : ChannelValues::kNoSelection;
    }
    }
    return 0;
}

void show(const Widgets &widgets, const Binding &row, int channel, qint64 value)
{
    switch (row.kind) {
    case Kind::Number:
        WidgetValues::setValue(widget<QSpinBox>(widgets, row, channel), int(value));
        break;
    case Kind::Choice:
        WidgetValues::choose(widget<QAbstractButton>(widgets, row, channel), partner(widgets, row),
                             value != 0);
        break;
    case Kind::Check:
        widget<QAbstractButton>(widgets, row, channel)->setChecked(value != 0);
        break;
    case Kind::Selector:
    case Kind::Cell:
        if (auto *box = widget<QComboBox>(widgets, row, channel))
            box->setCurrentIndex(value >= 0 && value < box->count() ? int(value)
                                                                    : ChannelValues::kNoSelection);
        break;
    case Kind::Frequency:
        if (auto *cell = widget<QLineEdit>(widgets, row, channel)) {
            const auto frequency = quint32(value);
            WidgetValues::show(cell, ChannelValues::frequencyText(frequency));
            const bool marked =
                frequency != 0 &&
                ChannelValues::isOutOfBand(frequency, widgets.bandMinimum, widgets.bandMaximum);
            cell->setStyleSheet(marked ? ChannelValues::kOutOfBandStyle : QString());
        }
        break;
    }
}

void blank(const Widgets &widgets, const Binding &row, int channel)
{
    switch (row.kind) {
    case Kind::Number:
        WidgetValues::blank(widget<QSpinBox>(widgets, row, channel));
        break;
    case Kind::Choice:
        WidgetValues::blank(widget<QAbstractButton>(widgets, row, channel), partner(widgets, row));
        break;
    case Kind::Check:
        break;
    case Kind::Selector:
        WidgetValues::blank(widget<QComboBox>(widgets, row, channel));
        break;
    case Kind::Frequency:
        show(widgets, row, channel, 0);
        break;
    case Kind::Cell:
        show(widgets, row, channel, ChannelValues::kNoSelection);
        break;
    }
}

bool isBlankRow(const Widgets &widgets, const Binding &row)
{
    switch (row.kind) {
    case Kind::Number:
        return WidgetValues::isBlank(widget<QSpinBox>(widgets, row, 0));
    case Kind::Choice:
        return WidgetValues::isBlank(widget<QAbstractButton>(widgets, row, 0),
                                     partner(widgets, row));
    default:
        // A selector with nothing chosen is sent as the module's default.
        return false;
    }
}

QVector<int> everyChannel()
{
    QVector<int> channels(ChannelValues::kChannelCount);
    std::iota(channels.begin(), channels.end(), 1);
    return channels;
}
} // namespace

const std::vector<Binding> &all()
{
    static const std::vector<Binding> table = makeTable();
    return table;
}

UserConfig gather(const Widgets &widgets)
{
    UserConfig config;
    for (const Binding &row : all()) {
        if (!row.inChannelTable()) {
            row.set(config, 0, read(widgets, row, 0));
            continue;
        }
        for (int n = 1; n <= ChannelValues::kChannelCount; ++n)
            row.set(config, n, read(widgets, row, n));
    }
    return config;
}

void showPage(const Widgets &widgets, const UserConfig &config)
{
    for (const Binding &row : all()) {
        if (!row.inChannelTable())
            show(widgets, row, 0, row.get(config, 0));
    }
}

void showChannels(const Widgets &widgets, const UserConfig &config, const QVector<int> &channels)
{
    for (int n : channels) {
        for (const Binding &row : all()) {
            if (row.inChannelTable())
                show(widgets, row, n, row.get(config, n));
        }
    }
}

void showStep(const Widgets &widgets, const UserConfig &config, UserStep step, int channel)
{
    const QVector<int> channels = channel > 0 ? QVector<int>{channel} : everyChannel();
    for (const Binding &row : all()) {
        if (row.step != step)
            continue;
        if (!row.inChannelTable()) {
            show(widgets, row, 0, row.get(config, 0));
            continue;
        }
        for (int n : channels)
            show(widgets, row, n, row.get(config, n));
    }
}

void blankStep(const Widgets &widgets, UserStep step)
{
    for (const Binding &row : all()) {
        if (row.step == step && !row.inChannelTable())
            blank(widgets, row, 0);
    }
}

void blankChannel(const Widgets &widgets, int channel, std::optional<UserStep> step)
{
    for (const Binding &row : all()) {
        if (row.inChannelTable() && (!step || row.step == step))
            blank(widgets, row, channel);
    }
}

bool isBlank(const Widgets &widgets, UserStep step)
{
    const auto &table = all();
    return std::any_of(table.begin(), table.end(), [&](const Binding &row) {
        return row.step == step && !row.inChannelTable() && isBlankRow(widgets, row);
    });
}

PageState pageState(const Widgets &widgets)
{
    PageState state;
    for (const Binding &row : all()) {
        if (row.inChannelTable())
            continue;
        state.append(isBlankRow(widgets, row) ? std::nullopt
                                              : std::optional<qint64>(read(widgets, row, 0)));
    }
    return state;
}

void restorePage(const Widgets &widgets, const PageState &state)
{
    int i = 0;
    for (const Binding &row : all()) {
        if (row.inChannelTable())
            continue;
        const std::optional<qint64> &value = state.at(i++);
        if (value)
            show(widgets, row, 0, *value);
        else
            blank(widgets, row, 0);
    }
}

} // namespace UserBindings
