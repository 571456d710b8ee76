#include "ui/factorypages/factorybindings.h"

#include <QtGlobal>

namespace FactoryBindings {
namespace {
using Kind = Binding::Kind;
using Source = FactorySource::Kind;

constexpr int kLow = 0;
constexpr int kMiddle = 1;
constexpr int kHigh = 2;

// A number of the calibration file: its address and range are the file's.
Binding filed(const char *path, const char *spinBox)
{
    const int index = FactoryCalibration::indexOfPath(QString::fromLatin1(path));
    Q_ASSERT_X(index >= 0, "FactoryBindings", path);
    const FactoryNumberField &field = FactoryCalibration::numberFields()[index];
    return {Kind::Number, Setting::None, Page::Lx815,   path,         spinBox,
            nullptr,      field.source,  field.minimum, field.maximum};
}

// The MR-460 page's numbers, which the file does not keep. The middle point is the value
// itself; the other two are signed differences.
Binding adjust(const char *spinBox, quint8 type, int point)
{
    const bool difference = point != kMiddle;
    return {Kind::Number,
            Setting::None,
            Page::Mr460,
            nullptr,
            spinBox,
            nullptr,
            FactorySource{Source::Adjust, type, point, 0},
            difference ? -128 : 0,
            difference ? 127 : 255};
}

Binding cell(const char *spinBox, int power, int point)
{
    return {Kind::Number,
            Setting::None,
            Page::Mr460,
            nullptr,
            spinBox,
            nullptr,
            FactorySource{Source::PowerCell, 0, point, power},
            0,
            255};
}

Binding other(Setting setting, Page page, const char *path, const char *widget,
              const char *partner = nullptr)
{
    const Kind kind = setting == Setting::Band ? Kind::Band
                      : setting == Setting::Serial || setting == Setting::Mr460Serial
                          ? Kind::Serial
                          : Kind::Coupling;
    return {kind, setting, page, path, widget, partner, std::nullopt, 0, 0};
}

std::vector<Binding> makeTable()
{
    return {
        // LX-815, "频率校准"
        filed("/DataModFreqDiv/LowDiff", "spinBox_76"),
        filed("/DataModFreqDiv/Mid", "spinBox_75"),
        filed("/DataModFreqDiv/HighDiff", "spinBox_77"),
        filed("/VoiceModFreqDiv/LowDiff", "spinBox_79"),
        filed("/VoiceModFreqDiv/Mid", "spinBox_80"),
        filed("/VoiceModFreqDiv/HighDiff", "spinBox_78"),
        filed("/AUDIO_IN/LowDiff", "spinBox_54"),
        filed("/AUDIO_IN/Mid", "spinBox_55"),
        filed("/AUDIO_IN/HighDiff", "spinBox_53"),
        filed("/CTCSSFreqDiv", "spinBox_41"),
        filed("/TCXO_BIAS", "spinBox_86"),
        filed("/MOD_BIAS", "spinBox_44"),
        other(Setting::TestCoupling, Page::Lx815, nullptr, "radioButton_12", "radioButton_13"),
        // "发射校准": the power table row by row (1 W to 5 W), columns low, middle, high.
        filed("/TxPowerAdj/cell00", "spinBox_58"),
        filed("/TxPowerAdj/cell01", "spinBox_61"),
        filed("/TxPowerAdj/cell02", "spinBox_57"),
        filed("/TxPowerAdj/cell10", "spinBox_70"),
        filed("/TxPowerAdj/cell11", "spinBox_62"),
        filed("/TxPowerAdj/cell12", "spinBox_64"),
        filed("/TxPowerAdj/cell20", "spinBox_71"),
        filed("/TxPowerAdj/cell21", "spinBox_63"),
        filed("/TxPowerAdj/cell22", "spinBox_65"),
        filed("/TxPowerAdj/cell30", "spinBox_69"),
        filed("/TxPowerAdj/cell31", "spinBox_59"),
        filed("/TxPowerAdj/cell32", "spinBox_66"),
        filed("/TxPowerAdj/cell40", "spinBox_67"),
        filed("/TxPowerAdj/cell41", "spinBox_68"),
        filed("/TxPowerAdj/cell42", "spinBox_60"),
        filed("/2PBalanceAdj/LowDiff", "spinBox_73"),
        filed("/2PBalanceAdj/Mid", "spinBox_72"),
        filed("/2PBalanceAdj/HighDiff", "spinBox_74"),
        // "接收校准"
        filed("/RxFilter/LowDiff", "spinBox_85"),
        filed("/RxFilter/Mid", "spinBox_84"),
        filed("/RxFilter/HighDiff", "spinBox_56"),
        filed("/RFSKLevel", "spinBox_43"),
        filed("/R_BIAS", "spinBox_42"),
        filed("/RSSIOffset/Low", "spinBox_81"),
        filed("/RSSIOffset/Mid", "spinBox_82"),
        filed("/RSSIOffset/High", "spinBox_83"),
        // "其他"
        filed("/SidetoneVol", "spinBox_7"),
        other(Setting::Band, Page::Lx815, "/RadioBandIndex", "comboBox_2"),
        other(Setting::Coupling, Page::Lx815, "/BasebandSignelCouple", "radioButton_22",
              "radioButton_23"),
        other(Setting::Serial, Page::Lx815, nullptr, "lineEdit_6"),

        // MR-460
        adjust("spinBox_87", 0, kMiddle), // TCXO bias
        adjust("spinBox_45", 2, kMiddle), // MOD bias
        other(Setting::Mr460Coupling, Page::Mr460, nullptr, "radioButton_14", "radioButton_18"),
        cell("spinBox_93", 0, kLow),
        cell("spinBox_88", 0, kMiddle),
        cell("spinBox_89", 0, kHigh),
        cell("spinBox_92", 1, kLow),
        cell("spinBox_97", 1, kMiddle),
        cell("spinBox_90", 1, kHigh),
        cell("spinBox_98", 2, kLow),
        cell("spinBox_101", 2, kMiddle),
        cell("spinBox_95", 2, kHigh),
        cell("spinBox_102", 3, kLow),
        cell("spinBox_94", 3, kMiddle),
        cell("spinBox_96", 3, kHigh),
        cell("spinBox_99", 4, kLow),
        cell("spinBox_91", 4, kMiddle),
        cell("spinBox_100", 4, kHigh),
        adjust("spinBox_104", 7, kLow), // data modulation deviation
        adjust("spinBox_103", 7, kMiddle),
        adjust("spinBox_105", 7, kHigh),
        adjust("spinBox_107", 12, kLow), // AUDIO_IN
        adjust("spinBox_106", 12, kMiddle),
        adjust("spinBox_108", 12, kHigh),
        adjust("spinBox_109", 6, kLow), // voice modulation deviation
        adjust("spinBox_111", 6, kMiddle),
        adjust("spinBox_110", 6, kHigh),
        adjust("spinBox_46", 3, kMiddle), // CTCSS/DCS deviation
        other(Setting::Mr460Serial, Page::Mr460, nullptr, "lineEdit_7"),
    };
}

bool isSource(const Binding &binding, Page page, Source kind)
{
    return binding.page == page && binding.source && binding.source->kind == kind;
}
} // namespace

const std::vector<Binding> &all()
{
    static const std::vector<Binding> table = makeTable();
    return table;
}

const char *spinBoxOf(const FactoryNumberField &field)
{
    for (const Binding &binding : all()) {
        if (binding.path && qstrcmp(binding.path, field.path) == 0)
            return binding.widget;
    }
    Q_ASSERT_X(false, "FactoryBindings", field.path);
    return "";
}

const Binding &of(Setting setting)
{
    for (const Binding &binding : all()) {
        if (binding.setting == setting && setting != Setting::None)
            return binding;
    }
    Q_ASSERT_X(false, "FactoryBindings", "a setting without its row");
    return all().front();
}

const char *sidetoneVolumeBox()
{
    for (const Binding &binding : all()) {
        if (isSource(binding, Page::Lx815, Source::SidetoneVolume))
            return binding.widget;
    }
    Q_ASSERT_X(false, "FactoryBindings", "the sidetone volume without its row");
    return "";
}

const PowerSelectors &powerSelectors(Page page)
{
    static const std::array<PowerSelectors, 2> selectors{{
        {{"radioButton_33", "radioButton_32", "radioButton_29", "radioButton_31", "radioButton_30"},
         {"radioButton_16", "radioButton_15", "radioButton_17"}},
        {{"radioButton_34", "radioButton_35", "radioButton_37", "radioButton_38", "radioButton_36"},
         {"radioButton_21", "radioButton_20", "radioButton_19"}},
    }};
    return selectors[page == Page::Lx815 ? 0 : 1];
}

std::array<const char *, 15> powerTableBoxes(Page page)
{
    std::array<const char *, 15> boxes{};
    for (const Binding &binding : all()) {
        if (isSource(binding, page, Source::PowerCell))
            boxes[FactoryCalibration::powerTableIndex(binding.source->power,
                                                      binding.source->point)] = binding.widget;
    }
    return boxes;
}

std::array<const char *, 3> rssiOffsetBoxes()
{
    std::array<const char *, 3> boxes{};
    for (const Binding &binding : all()) {
        if (isSource(binding, Page::Lx815, Source::RssiOffset))
            boxes[binding.source->point] = binding.widget;
    }
    return boxes;
}

} // namespace FactoryBindings
