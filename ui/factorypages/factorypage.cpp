// The factory pages' values between their widgets and the session's single steps: the adjust
// values, the RSSI offsets and transmit power tables of the test bench, the factory settings
// of the "其他" sub-tabs, the LX-815 page as a calibration file and as the bulk read and write
// fill and check it.
#include "ui/factorypages/factorypage.h"

#include "session/modulesession.h"
#include "ui/factorypages/adjustname.h"
#include "ui/widgetvalues.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
using FactoryBindings::Setting;

template<class T> T *widget(const QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

template<class T, std::size_t N>
std::array<T *, N> widgets(const QWidget *window, const std::array<const char *, N> &names)
{
    std::array<T *, N> found{};
    for (std::size_t i = 0; i < N; ++i)
        found[i] = window->findChild<T *>(QString::fromLatin1(names[i]));
    return found;
}

template<std::size_t N>
std::optional<int> checkedIndex(const QWidget *window, const std::array<const char *, N> &names)
{
    const auto buttons = widgets<QRadioButton>(window, names);
    for (std::size_t i = 0; i < N; ++i) {
        if (buttons[i]->isChecked())
            return static_cast<int>(i);
    }
    return std::nullopt;
}

QSpinBox *rssiOffsetBox(const QWidget *window, int point)
{
    return widgets<QSpinBox>(window, FactoryBindings::rssiOffsetBoxes())[point];
}

QSpinBox *fieldBox(const QWidget *window, const FactoryNumberField &field)
{
    return widget<QSpinBox>(window, FactoryBindings::spinBoxOf(field));
}

QSpinBox *sidetoneVolumeBox(const QWidget *window)
{
    return widget<QSpinBox>(window, FactoryBindings::sidetoneVolumeBox());
}

QComboBox *bandSelector(const QWidget *window)
{
    return widget<QComboBox>(window, FactoryBindings::of(Setting::Band).widget);
}

QLineEdit *serialEdit(const QWidget *window, Setting serial)
{
    return widget<QLineEdit>(window, FactoryBindings::of(serial).widget);
}

// A coupling's DC and AC choices.
std::pair<QRadioButton *, QRadioButton *> couplingButtons(const QWidget *window, Setting coupling)
{
    const FactoryBindings::Binding &row = FactoryBindings::of(coupling);
    return {widget<QRadioButton>(window, row.widget), widget<QRadioButton>(window, row.partner)};
}

// The numbers a bulk step reads or writes, by their index in the file's numbers.
std::vector<std::pair<int, QSpinBox *>> stepBoxes(const QWidget *window,
                                                  const FactoryBulkStep &step)
{
    using Item = FactoryBulkStep::Item;
    const auto &fields = FactoryCalibration::numberFields();
    std::vector<std::pair<int, QSpinBox *>> boxes;
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        const bool wanted = step.item == Item::Number
                                ? i == step.field
                                : step.item == Item::PowerTable &&
                                      fields[i].source.kind == FactorySource::Kind::PowerCell;
        if (!wanted)
            continue;
        if (QSpinBox *box = fieldBox(window, fields[i]))
            boxes.emplace_back(i, box);
    }
    return boxes;
}

// The coupling a bulk step reads, if it reads one.
std::optional<Setting> couplingOf(const FactoryBulkStep &step)
{
    switch (step.item) {
    case FactoryBulkStep::Item::Coupling:
        return Setting::Coupling;
    case FactoryBulkStep::Item::TestCoupling:
        return Setting::TestCoupling;
    default:
        return std::nullopt;
    }
}
} // namespace

FactoryPage::FactoryPage(QWidget *window, CommandEngine &engine, FailureReporter &reporter)
    : m_window(window)
    , m_engine(engine)
    , m_reporter(reporter)
{}

std::optional<FactoryPage::AdjustAction> FactoryPage::adjustAction(const QString &buttonName)
{
    const std::optional<AdjustName> name = parseAdjustName(buttonName);
    if (!name)
        return std::nullopt;
    QSpinBox *box = m_window->findChild<QSpinBox *>(name->spinBoxName);
    if (!box)
        return std::nullopt;

    const unsigned type = name->type;
    const int point = name->point;
    QStringList items{QString::number(type), QString::fromLatin1(kAdjustPointNames[point])};
    if (name->isStep())
        items.append(QString::fromLatin1(kAdjustSteps[name->stepIndex].text));
    const QString verb = name->operation == kAdjustRead    ? QStringLiteral("read ")
                         : name->operation == kAdjustWrite ? QStringLiteral("set ")
                                                           : QStringLiteral("offset ");
    qDebug().noquote() << verb + items.join(QStringLiteral(", ")) + QStringLiteral(", box=") +
                              QString::number(box->value());

    if (name->operation == kAdjustRead) {
        const bool isSigned = name->isSigned;
        return AdjustAction{false, [=] {
                                return readAdjustValue(type, point, box, isSigned);
                            }};
    }
    if (name->operation == kAdjustWrite) {
        return AdjustAction{true, [=] {
                                return steps().writeAdjust(static_cast<quint8>(type), point,
                                                           WidgetValues::valueOf(box));
                            }};
    }
    const int delta = kAdjustSteps[name->stepIndex].delta;
    return AdjustAction{true, [=] {
                            return steps().stepAdjust(static_cast<quint8>(type), point, delta);
                        }};
}

bool FactoryPage::readAdjustValue(unsigned type, int point, QSpinBox *spinBox, bool isSigned)
{
    WidgetValues::blank(spinBox);
    const std::optional<int> value = steps().readAdjust(static_cast<quint8>(type), point, isSigned);
    if (!value)
        return false;
    WidgetValues::setValue(spinBox, *value);
    return true;
}

bool FactoryPage::readRssiOffset(int point)
{
    QSpinBox *box = rssiOffsetBox(m_window, point);
    WidgetValues::blank(box);
    const std::optional<int> value = steps().readRssiOffset(point);
    if (!value)
        return false;
    WidgetValues::setValue(box, *value);
    return true;
}

bool FactoryPage::writeRssiOffset(int point)
{
    return steps().writeRssiOffset(point, WidgetValues::valueOf(rssiOffsetBox(m_window, point)));
}

bool FactoryPage::readTxPowerTable(Page page)
{
    const auto boxes = widgets<QSpinBox>(m_window, FactoryBindings::powerTableBoxes(page));
    for (QSpinBox *box : boxes)
        WidgetValues::blank(box);
    const std::optional<QByteArray> values = steps().readPowerTable();
    if (!values)
        return false;
    for (std::size_t i = 0; i < boxes.size() && int(i) < values->size(); ++i)
        WidgetValues::setValue(boxes[i], static_cast<quint8>(values->at(int(i))));
    return true;
}

bool FactoryPage::writeTxPowerTable(Page page)
{
    std::optional<QByteArray> values = QByteArray();
    for (QSpinBox *box : widgets<QSpinBox>(m_window, FactoryBindings::powerTableBoxes(page))) {
        const std::optional<int> value = WidgetValues::valueOf(box);
        if (!value) {
            values.reset();
            break;
        }
        values->append(static_cast<char>(*value));
    }
    return steps().writePowerTable(values);
}

bool FactoryPage::stepTxPowerCell(Page page, int delta)
{
    const FactoryBindings::PowerSelectors &selectors = FactoryBindings::powerSelectors(page);
    return steps().stepPowerCell(checkedIndex(m_window, selectors.powers),
                                 checkedIndex(m_window, selectors.points), delta);
}

bool FactoryPage::readRadioBand()
{
    QComboBox *selector = bandSelector(m_window);
    WidgetValues::blank(selector);
    const std::optional<int> index = steps().readRadioBand();
    if (!index)
        return false;
    // A band the selector does not list leaves it empty; the read still succeeded.
    selector->setCurrentIndex(*index);
    return true;
}

bool FactoryPage::writeRadioBand()
{
    return steps().writeRadioBand(bandSelector(m_window)->currentIndex());
}

bool FactoryPage::readFactorySerialNumber(Setting serial)
{
    QLineEdit *edit = serialEdit(m_window, serial);
    edit->clear();
    const std::optional<QString> number = steps().readSerialNumber();
    if (!number)
        return false;
    edit->setText(*number);
    return true;
}

bool FactoryPage::writeFactorySerialNumber(Setting serial)
{
    const QLineEdit *edit = serialEdit(m_window, serial);
    // The mask's blanks are part of what was typed: a partial number is refused as invalid.
    const std::optional<QString> typed =
        edit->text().isEmpty() ? std::nullopt : std::optional<QString>(edit->displayText());
    return steps().writeSerialNumber(typed);
}

bool FactoryPage::readSidetoneVolume()
{
    QSpinBox *box = sidetoneVolumeBox(m_window);
    WidgetValues::blank(box);
    const std::optional<int> volume = steps().readSidetoneVolume();
    if (!volume)
        return false;
    WidgetValues::setValue(box, *volume);
    return true;
}

bool FactoryPage::writeSidetoneVolume()
{
    return steps().writeSidetoneVolume(WidgetValues::valueOf(sidetoneVolumeBox(m_window)));
}

bool FactoryPage::readCoupling(Setting coupling)
{
    const auto [dc, ac] = couplingButtons(m_window, coupling);
    WidgetValues::blank(dc, ac);
    const std::optional<bool> isDc = steps().readCoupling();
    if (!isDc)
        return false;
    WidgetValues::choose(dc, ac, *isDc);
    return true;
}

bool FactoryPage::writeCoupling(Setting coupling)
{
    const auto [dc, ac] = couplingButtons(m_window, coupling);
    return steps().writeCoupling(WidgetValues::firstChosen(dc, ac));
}

FactoryCalibration FactoryPage::calibration() const
{
    FactoryCalibration calibration;
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        if (QSpinBox *box = fieldBox(m_window, fields[i]))
            calibration.numbers[i] = box->value();
    }
    calibration.dcCoupling = couplingButtons(m_window, Setting::Coupling).first->isChecked();
    calibration.radioBandIndex = bandSelector(m_window)->currentIndex();
    return calibration;
}

FactoryPage::Shown FactoryPage::shownCalibration() const
{
    using Kind = FactoryBindings::Binding::Kind;
    Shown shown;
    for (const FactoryBindings::Binding &row : FactoryBindings::all()) {
        if (!row.path)
            continue;
        const QString name = QString::fromLatin1(row.widget);
        if (row.kind == Kind::Number) {
            shown.append(WidgetValues::valueOf(m_window->findChild<QSpinBox *>(name)));
        } else if (row.kind == Kind::Band) {
            shown.append(m_window->findChild<QComboBox *>(name)->currentIndex());
        } else {
            const auto dc = WidgetValues::firstChosen(
                m_window->findChild<QAbstractButton *>(name),
                m_window->findChild<QAbstractButton *>(QString::fromLatin1(row.partner)));
            shown.append(dc ? std::optional<int>(*dc) : std::nullopt);
        }
    }
    return shown;
}

void FactoryPage::showAgain(const Shown &shown)
{
    using Kind = FactoryBindings::Binding::Kind;
    int i = 0;
    for (const FactoryBindings::Binding &row : FactoryBindings::all()) {
        if (!row.path)
            continue;
        const std::optional<int> &value = shown.at(i++);
        const QString name = QString::fromLatin1(row.widget);
        if (row.kind == Kind::Number) {
            auto *box = m_window->findChild<QSpinBox *>(name);
            if (value)
                WidgetValues::setValue(box, *value);
            else
                WidgetValues::blank(box);
        } else if (row.kind == Kind::Band) {
            m_window->findChild<QComboBox *>(name)->setCurrentIndex(value.value_or(-1));
        } else {
            auto *dc = m_window->findChild<QAbstractButton *>(name);
            auto *ac = m_window->findChild<QAbstractButton *>(QString::fromLatin1(row.partner));
            if (value)
                WidgetValues::choose(dc, ac, *value != 0);
            else
                WidgetValues::blank(dc, ac);
        }
    }
}

void FactoryPage::applyCalibration(const FactoryCalibration &calibration)
{
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        // A value from a file is a configured value: it clears a blank left by a failed read.
        if (QSpinBox *box = fieldBox(m_window, fields[i]))
            WidgetValues::setValue(box, calibration.numbers[i]);
    }
    const auto [dc, ac] = couplingButtons(m_window, Setting::Coupling);
    (calibration.dcCoupling ? dc : ac)->setChecked(true);
    bandSelector(m_window)->setCurrentIndex(calibration.radioBandIndex);
}

void FactoryPage::blankStep(const FactoryBulkStep &step)
{
    for (const auto &entry : stepBoxes(m_window, step))
        WidgetValues::blank(entry.second);
    if (step.item == FactoryBulkStep::Item::Band) {
        WidgetValues::blank(bandSelector(m_window));
    } else if (const std::optional<Setting> coupling = couplingOf(step)) {
        const auto [dc, ac] = couplingButtons(m_window, *coupling);
        WidgetValues::blank(dc, ac);
    }
}

void FactoryPage::showStep(const ModuleSession &session, const FactoryBulkStep &step)
{
    const FactoryCalibration &values = session.factoryValues();
    for (const auto &[field, box] : stepBoxes(m_window, step))
        WidgetValues::setValue(box, values.numbers[field]);
    if (step.item == FactoryBulkStep::Item::Band) {
        // A band the selector does not list leaves it empty; the read still succeeded.
        bandSelector(m_window)->setCurrentIndex(values.radioBandIndex);
    } else if (const std::optional<Setting> coupling = couplingOf(step)) {
        const auto [dc, ac] = couplingButtons(m_window, *coupling);
        WidgetValues::choose(dc, ac,
                             *coupling == Setting::Coupling ? values.dcCoupling
                                                            : session.testCouplingIsDc());
    }
}

bool FactoryPage::isBlank(const FactoryBulkStep &step) const
{
    // The test bench's coupling is read, never written.
    if (step.item == FactoryBulkStep::Item::Coupling) {
        const auto [dc, ac] = couplingButtons(m_window, Setting::Coupling);
        return WidgetValues::isBlank(dc, ac);
    }
    const auto boxes = stepBoxes(m_window, step);
    return std::any_of(boxes.begin(), boxes.end(),
                       [](const auto &entry) { return WidgetValues::isBlank(entry.second); });
}
