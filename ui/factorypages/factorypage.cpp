// The factory pages' values between their widgets and the session's single steps: the adjust
// values, the RSSI offsets and transmit power tables of the test bench, the factory settings
// of the "其他" sub-tabs, and the LX-815 page as a calibration file.
#include "ui/factorypages/factorypage.h"
#include "ui_mainwindow.h"

#include "ui/factorypages/adjustname.h"
#include "ui/widgetvalues.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

namespace {
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
    return window->findChild<QSpinBox *>(QString::fromLatin1(FactoryBindings::spinBoxOf(field)));
}
} // namespace

FactoryPage::FactoryPage(QWidget *window, Ui::MainWindow *ui, CommandEngine &engine,
                         FailureReporter &reporter)
    : m_window(window)
    , m_ui(ui)
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
    WidgetValues::blank(m_ui->comboBox_2);
    const std::optional<int> index = steps().readRadioBand();
    if (!index)
        return false;
    // A band the selector does not list leaves it empty; the read still succeeded.
    m_ui->comboBox_2->setCurrentIndex(*index);
    return true;
}

bool FactoryPage::writeRadioBand()
{
    return steps().writeRadioBand(m_ui->comboBox_2->currentIndex());
}

bool FactoryPage::readFactorySerialNumber(QLineEdit *edit)
{
    edit->clear();
    const std::optional<QString> serial = steps().readSerialNumber();
    if (!serial)
        return false;
    edit->setText(*serial);
    return true;
}

bool FactoryPage::writeFactorySerialNumber(const QLineEdit *edit)
{
    // The mask's blanks are part of what was typed: a partial number is refused as invalid.
    const std::optional<QString> typed =
        edit->text().isEmpty() ? std::nullopt : std::optional<QString>(edit->displayText());
    return steps().writeSerialNumber(typed);
}

bool FactoryPage::readSidetoneVolume()
{
    WidgetValues::blank(m_ui->spinBox_7);
    const std::optional<int> volume = steps().readSidetoneVolume();
    if (!volume)
        return false;
    WidgetValues::setValue(m_ui->spinBox_7, *volume);
    return true;
}

bool FactoryPage::writeSidetoneVolume()
{
    return steps().writeSidetoneVolume(WidgetValues::valueOf(m_ui->spinBox_7));
}

bool FactoryPage::readCoupling(QRadioButton *dc, QRadioButton *ac)
{
    WidgetValues::blank(dc, ac);
    const std::optional<bool> isDc = steps().readCoupling();
    if (!isDc)
        return false;
    WidgetValues::choose(dc, ac, *isDc);
    return true;
}

bool FactoryPage::writeCoupling(const QRadioButton *dc, const QRadioButton *ac)
{
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
    calibration.dcCoupling = m_ui->radioButton_22->isChecked();
    calibration.radioBandIndex = m_ui->comboBox_2->currentIndex();
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
    (calibration.dcCoupling ? m_ui->radioButton_22 : m_ui->radioButton_23)->setChecked(true);
    m_ui->comboBox_2->setCurrentIndex(calibration.radioBandIndex);
}
