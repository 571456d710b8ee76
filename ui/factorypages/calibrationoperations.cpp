// Factory test bench operations: forced transmit, sensitivity test, squelch and RSSI
// calibration, RSSI offsets and the transmit power tables of both factory pages.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/calibrationcommands.h"
#include "device/wire.h"
#include "ui/widgetvalues.h"

#include <QRadioButton>
#include <QSpinBox>

namespace {
using SpinBoxMember = QSpinBox *Ui_MainWindow::*;
using RadioMember = QRadioButton *Ui_MainWindow::*;

// The widgets of one page's power table.
struct PowerTablePage
{
    std::array<SpinBoxMember, Wire::kPowerTableSize> wireOrder; // per power: middle, low, high
    std::array<RadioMember, Wire::kPowerSteps> powers;          // 1 W to 5 W
    std::array<RadioMember, Wire::kAdjustPoints> points;        // low, middle, high
};

const std::array<PowerTablePage, 2> kPowerPages{{
    // LX-815
    {{&Ui_MainWindow::spinBox_61, &Ui_MainWindow::spinBox_58, &Ui_MainWindow::spinBox_57,
      &Ui_MainWindow::spinBox_62, &Ui_MainWindow::spinBox_70, &Ui_MainWindow::spinBox_64,
      &Ui_MainWindow::spinBox_63, &Ui_MainWindow::spinBox_71, &Ui_MainWindow::spinBox_65,
      &Ui_MainWindow::spinBox_59, &Ui_MainWindow::spinBox_69, &Ui_MainWindow::spinBox_66,
      &Ui_MainWindow::spinBox_68, &Ui_MainWindow::spinBox_67, &Ui_MainWindow::spinBox_60},
     {&Ui_MainWindow::radioButton_33, &Ui_MainWindow::radioButton_32,
      &Ui_MainWindow::radioButton_29, &Ui_MainWindow::radioButton_31,
      &Ui_MainWindow::radioButton_30},
     {&Ui_MainWindow::radioButton_16, &Ui_MainWindow::radioButton_15,
      &Ui_MainWindow::radioButton_17}},
    // MR-460
    {{&Ui_MainWindow::spinBox_88, &Ui_MainWindow::spinBox_93, &Ui_MainWindow::spinBox_89,
      &Ui_MainWindow::spinBox_97, &Ui_MainWindow::spinBox_92, &Ui_MainWindow::spinBox_90,
      &Ui_MainWindow::spinBox_101, &Ui_MainWindow::spinBox_98, &Ui_MainWindow::spinBox_95,
      &Ui_MainWindow::spinBox_94, &Ui_MainWindow::spinBox_102, &Ui_MainWindow::spinBox_96,
      &Ui_MainWindow::spinBox_91, &Ui_MainWindow::spinBox_99, &Ui_MainWindow::spinBox_100},
     {&Ui_MainWindow::radioButton_34, &Ui_MainWindow::radioButton_35,
      &Ui_MainWindow::radioButton_37, &Ui_MainWindow::radioButton_38,
      &Ui_MainWindow::radioButton_36},
     {&Ui_MainWindow::radioButton_21, &Ui_MainWindow::radioButton_20,
      &Ui_MainWindow::radioButton_19}},
}};

// RSSI offset spin boxes by point: low, middle, high.
constexpr std::array<SpinBoxMember, Wire::kAdjustPoints> kRssiOffsetBoxes{
    &Ui_MainWindow::spinBox_81, &Ui_MainWindow::spinBox_82, &Ui_MainWindow::spinBox_83};

template<std::size_t N>
int checkedIndex(Ui::MainWindow *ui, const std::array<RadioMember, N> &buttons)
{
    for (std::size_t i = 0; i < N; ++i) {
        if ((ui->*buttons[i])->isChecked())
            return static_cast<int>(i);
    }
    return -1;
}
} // namespace

bool MainWindow::setTransmitTestMode(int mode)
{
    return transact(CalibrationCommands::setTransmitTestMode(mode)).has_value();
}

bool MainWindow::setSensitivityTestMode(quint8 mode)
{
    return transact(CalibrationCommands::setSensitivityTestMode(mode)).has_value();
}

bool MainWindow::calibrateSquelch(quint8 level)
{
    return transact(CalibrationCommands::calibrateSquelch(level)).has_value();
}

bool MainWindow::calibrateRssi(quint8 levelDbuv)
{
    return transact(CalibrationCommands::calibrateRssi(levelDbuv)).has_value();
}

bool MainWindow::readRssiOffset(int point)
{
    QSpinBox *box = ui->*kRssiOffsetBoxes[point];
    WidgetValues::blank(box);
    const auto reply = transact(CalibrationCommands::readRssiOffset(point));
    if (!reply)
        return false;
    WidgetValues::setValue(box, CalibrationCommands::decodeRssiOffset(*reply));
    return true;
}

bool MainWindow::writeRssiOffset(int point)
{
    QSpinBox *box = ui->*kRssiOffsetBoxes[point];
    if (WidgetValues::isBlank(box))
        return refuse(CalibrationCommands::rssiOffsetBlankText());
    return transact(CalibrationCommands::writeRssiOffset(point, box->value())).has_value();
}

bool MainWindow::stepRssiOffset(int point, int delta)
{
    return transact(CalibrationCommands::stepRssiOffset(point, delta)).has_value();
}

bool MainWindow::readTxPowerTable(int page)
{
    const PowerTablePage &table = kPowerPages[page];
    for (SpinBoxMember box : table.wireOrder)
        WidgetValues::blank(ui->*box);
    const auto reply = transact(CalibrationCommands::readPowerTable());
    if (!reply)
        return false;
    const QByteArray values = CalibrationCommands::decodePowerTable(*reply);
    for (int i = 0; i < Wire::kPowerTableSize; ++i)
        WidgetValues::setValue(ui->*table.wireOrder[i], static_cast<quint8>(values.at(i)));
    return true;
}

bool MainWindow::writeTxPowerTable(int page)
{
    QByteArray values;
    for (SpinBoxMember member : kPowerPages[page].wireOrder) {
        QSpinBox *box = ui->*member;
        if (WidgetValues::isBlank(box))
            return refuse(CalibrationCommands::powerTableBlankText());
        values.append(static_cast<char>(box->value()));
    }
    return transact(CalibrationCommands::writePowerTable(values)).has_value();
}

bool MainWindow::stepTxPowerCell(int page, int delta)
{
    const PowerTablePage &table = kPowerPages[page];
    // The point is asked for first, even when no power is selected either.
    const int point = checkedIndex(ui, table.points);
    if (point < 0)
        return refuse(CalibrationCommands::noPointSelectedText());
    const int power = checkedIndex(ui, table.powers);
    if (power < 0)
        return refuse(CalibrationCommands::noPowerSelectedText());
    const quint8 cell = Wire::powerCellByte(power, static_cast<Wire::FreqPoint>(point));
    return transact(CalibrationCommands::stepPowerCell(cell, delta)).has_value();
}
