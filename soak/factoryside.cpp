// The LX-815 factory page against the module's state: every number of the calibration, the
// coupling in both of its groups, the band.
#include "soak/sidechecks.h"

#include "config/factoryconfig.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/widgetvalues.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include <QtGlobal>

using namespace SideChecks;

namespace {
using Kind = FactorySource::Kind;
using Field = FactoryNumberField;

constexpr quint8 kFirstBandCode = 0x10;
constexpr int kBandCount = 4;
constexpr quint8 kDcCoupling = 0x00;
constexpr int kByteValues = 256;

const QString kBand = QStringLiteral("comboBox_2");
const QString kTestDc = QStringLiteral("radioButton_12");
const QString kTestAc = QStringLiteral("radioButton_13");
const QString kOtherDc = QStringLiteral("radioButton_22");
const QString kOtherAc = QStringLiteral("radioButton_23");

int powerIndex(const FactorySource &source)
{
    return Wire::powerTableIndex(source.power, static_cast<Wire::FreqPoint>(source.point));
}

QSpinBox *spinBox(const MainWindow &window, const Field &field)
{
    return widget<QSpinBox>(window, QString::fromLatin1(FactoryBindings::spinBoxOf(field)));
}

// The module's byte behind a number of the page.
quint8 moduleByte(const ModuleState &state, const FactorySource &source)
{
    switch (source.kind) {
    case Kind::Adjust:
        return state.adjustValue(source.adjustType, source.point);
    case Kind::PowerCell:
        return state.powerTable[powerIndex(source)];
    case Kind::RssiOffset:
        return static_cast<quint8>(state.rssiOffsets[source.point]);
    case Kind::SidetoneVolume:
        break;
    }
    return state.sidetoneVolume;
}

void setModuleByte(ModuleState &state, const FactorySource &source, quint8 value)
{
    switch (source.kind) {
    case Kind::Adjust:
        state.setAdjustValue(source.adjustType, source.point, value);
        return;
    case Kind::PowerCell:
        state.powerTable[powerIndex(source)] = value;
        return;
    case Kind::RssiOffset:
        state.rssiOffsets[source.point] = static_cast<qint8>(value);
        return;
    case Kind::SidetoneVolume:
        state.sidetoneVolume = value;
        return;
    }
}

// What a spin box shows for the module's byte: sign-extended where the page shows differences.
int shownValue(const Field &field, quint8 byte)
{
    return field.isSigned() ? static_cast<qint8>(byte) : byte;
}

// The values both the spin box and the byte can hold.
int lowest(const MainWindow &window, const Field &field)
{
    return qMax(spinBox(window, field)->minimum(), field.minimum);
}

int highest(const MainWindow &window, const Field &field)
{
    return qMin(spinBox(window, field)->maximum(), field.maximum);
}

QString couplingText(const MainWindow &window, const QString &dc, const QString &ac)
{
    const bool isDc = widget<QRadioButton>(window, dc)->isChecked();
    const bool isAc = widget<QRadioButton>(window, ac)->isChecked();
    if (isDc == isAc)
        return isDc ? QStringLiteral("both") : QStringLiteral("none");
    return isDc ? QStringLiteral("DC") : QStringLiteral("AC");
}
} // namespace

void FactorySide::randomiseModule(ModuleState &state, const MainWindow &window,
                                  QRandomGenerator &random)
{
    for (const Field &field : FactoryCalibration::numberFields()) {
        const int value = randomIn(random, lowest(window, field), highest(window, field));
        setModuleByte(state, field.source, static_cast<quint8>(value));
    }
    // Any byte but 0x00 reads as AC.
    state.coupling =
        random.bounded(2) ? kDcCoupling : static_cast<quint8>(randomIn(random, 1, kByteValues - 1));
    state.band = static_cast<quint8>(kFirstBandCode + random.bounded(kBandCount));
}

void FactorySide::randomiseWindow(MainWindow &window, QRandomGenerator &random)
{
    for (const Field &field : FactoryCalibration::numberFields()) {
        WidgetValues::setValue(spinBox(window, field),
                               randomIn(random, lowest(window, field), highest(window, field)));
    }
    for (const auto &pair : {std::make_pair(kTestDc, kTestAc), std::make_pair(kOtherDc, kOtherAc)})
        widget<QRadioButton>(window, random.bounded(2) ? pair.first : pair.second)
            ->setChecked(true);
    widget<QComboBox>(window, kBand)->setCurrentIndex(static_cast<int>(random.bounded(kBandCount)));
}

QStringList FactorySide::afterRead(const MainWindow &window, const ModuleState &state)
{
    QStringList differences;
    for (const Field &field : FactoryCalibration::numberFields()) {
        const QSpinBox *box = spinBox(window, field);
        const int expected = shownValue(field, moduleByte(state, field.source));
        if (WidgetValues::isBlank(box))
            compare(differences, box->objectName(), QStringLiteral("blank"),
                    QString::number(expected));
        else
            compare(differences, box->objectName(), box->value(), expected);
    }
    const QString coupling =
        state.coupling == kDcCoupling ? QStringLiteral("DC") : QStringLiteral("AC");
    compare(differences, QStringLiteral("test coupling"), couplingText(window, kTestDc, kTestAc),
            coupling);
    compare(differences, QStringLiteral("coupling"), couplingText(window, kOtherDc, kOtherAc),
            coupling);
    compare(differences, kBand, widget<QComboBox>(window, kBand)->currentIndex(),
            state.band - kFirstBandCode);
    return differences;
}

QStringList FactorySide::afterWrite(const MainWindow &window, const ModuleState &state)
{
    QStringList differences;
    for (const Field &field : FactoryCalibration::numberFields()) {
        const QSpinBox *box = spinBox(window, field);
        compare(differences, QString::fromLatin1(field.path), moduleByte(state, field.source),
                static_cast<quint8>(box->value()));
    }
    compare(differences, QStringLiteral("coupling"),
            state.coupling == kDcCoupling ? QStringLiteral("DC") : QStringLiteral("AC"),
            couplingText(window, kOtherDc, kOtherAc));
    compare(differences, QStringLiteral("band"), state.band,
            kFirstBandCode + widget<QComboBox>(window, kBand)->currentIndex());
    return differences;
}
