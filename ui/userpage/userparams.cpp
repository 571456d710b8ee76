// The user parameters: one read and one set button per group of the user page.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/usercommands.h"
#include "device/wire.h"
#include "ui/widgetvalues.h"

using UserCommands::kValueIndex;
using UserParams::isFirstOption;
using Wire::byteAt;

namespace {
void choose(QAbstractButton *first, QAbstractButton *second, bool firstChosen)
{
    (firstChosen ? first : second)->setChecked(true);
}

} // namespace

void MainWindow::on_pushButton_3_clicked()
{
    runOperation(OperationKind::Read, [this] { return readCtrlMode(); });
}

void MainWindow::on_pushButton_4_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeCtrlMode(); });
}

void MainWindow::on_pushButton_5_clicked()
{
    runOperation(OperationKind::Read, [this] { return readCurrentChannel(); });
}

void MainWindow::on_pushButton_6_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeCurrentChannel(); });
}

void MainWindow::on_pushButton_7_clicked()
{
    runOperation(OperationKind::Read, [this] { return readTxProtect(); });
}

void MainWindow::on_pushButton_8_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeTxProtect(); });
}

void MainWindow::on_pushButton_9_clicked()
{
    runOperation(OperationKind::Read, [this] { return readVolume(); });
}

void MainWindow::on_pushButton_10_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeVolume(); });
}

void MainWindow::on_pushButton_11_clicked()
{
    runOperation(OperationKind::Read, [this] { return readPowerSave(); });
}

void MainWindow::on_pushButton_12_clicked()
{
    runOperation(OperationKind::Write, [this] { return writePowerSave(); });
}

void MainWindow::on_pushButton_13_clicked()
{
    runOperation(OperationKind::Read, [this] { return readPowerSaveTime(); });
}

void MainWindow::on_pushButton_14_clicked()
{
    runOperation(OperationKind::Write, [this] { return writePowerSaveTime(); });
}

void MainWindow::on_pushButton_15_clicked()
{
    runOperation(OperationKind::Read, [this] { return readScanMode(); });
}

void MainWindow::on_pushButton_16_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeScanMode(); });
}

void MainWindow::on_pushButton_17_clicked()
{
    runOperation(OperationKind::Write, [this] { return disableVirtualPort(); });
}

void MainWindow::on_pushButton_18_clicked()
{
    runOperation(OperationKind::Read, [this] { return readRssi(); });
}

void MainWindow::on_pushButton_19_clicked()
{
    runOperation(OperationKind::Read, [this] { return readSidetone(); });
}

void MainWindow::on_pushButton_20_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeSidetone(); });
}

void MainWindow::on_pushButton_21_clicked()
{
    runOperation(OperationKind::Read, [this] { return readAudioWave(); });
}

void MainWindow::on_pushButton_22_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeAudioWave(); });
}

bool MainWindow::readCtrlMode()
{
    WidgetValues::blank(ui->radioButton, ui->radioButton_2);
    const auto reply = transact(UserCommands::readCtrlMode());
    if (!reply)
        return false;
    choose(ui->radioButton, ui->radioButton_2, isFirstOption(byteAt(*reply, kValueIndex)));
    return true;
}

bool MainWindow::writeCtrlMode()
{
    if (WidgetValues::isBlank(ui->radioButton, ui->radioButton_2))
        return refuse(tr("请选择频道控制模式！"));
    return transact(UserCommands::writeCtrlMode(ui->radioButton->isChecked())).has_value();
}

bool MainWindow::readCurrentChannel()
{
    WidgetValues::blank(ui->spinBox);
    const auto reply = transact(UserCommands::readCurrentChannel());
    if (!reply)
        return false;
    WidgetValues::setValue(ui->spinBox, byteAt(*reply, kValueIndex));
    return true;
}

bool MainWindow::writeCurrentChannel()
{
    if (WidgetValues::isBlank(ui->spinBox))
        return refuse(tr("请选择频道值！"));
    return transact(
               UserCommands::writeCurrentChannel(ui->spinBox->value(), ui->checkBox->isChecked()))
        .has_value();
}

bool MainWindow::readTxProtect()
{
    WidgetValues::blank(ui->spinBox_2);
    WidgetValues::blank(ui->spinBox_3);
    const auto reply = transact(UserCommands::readTxProtect());
    if (!reply)
        return false;
    WidgetValues::setValue(ui->spinBox_2, byteAt(*reply, UserCommands::kTxProtectIndex));
    WidgetValues::setValue(ui->spinBox_3, byteAt(*reply, UserCommands::kTxProtectIndex + 1));
    return true;
}

bool MainWindow::writeTxProtect()
{
    if (WidgetValues::isBlank(ui->spinBox_2) || WidgetValues::isBlank(ui->spinBox_3))
        return refuse(tr("请配置发射保护时间值！"));
    return transact(UserCommands::writeTxProtect(ui->spinBox_2->value(), ui->spinBox_3->value()))
        .has_value();
}

bool MainWindow::readVolume()
{
    WidgetValues::blank(ui->spinBox_4);
    const auto reply = transact(UserCommands::readVolume());
    if (!reply)
        return false;
    WidgetValues::setValue(ui->spinBox_4, byteAt(*reply, kValueIndex));
    return true;
}

bool MainWindow::writeVolume()
{
    if (WidgetValues::isBlank(ui->spinBox_4))
        return refuse(tr("请配置音量！"));
    return transact(UserCommands::writeVolume(ui->spinBox_4->value())).has_value();
}

void MainWindow::followPowerSaveMode()
{
    // The power saving times mean something only while power saving is on.
    const bool enabled = ui->radioButton_3->isChecked();
    ui->pushButton_13->setEnabled(enabled);
    ui->pushButton_14->setEnabled(enabled);
}

bool MainWindow::readPowerSave()
{
    WidgetValues::blank(ui->radioButton_3, ui->radioButton_4);
    const auto reply = transact(UserCommands::readPowerSave());
    if (!reply)
        return false;
    choose(ui->radioButton_3, ui->radioButton_4, isFirstOption(byteAt(*reply, kValueIndex)));
    followPowerSaveMode();
    return true;
}

bool MainWindow::writePowerSave()
{
    if (WidgetValues::isBlank(ui->radioButton_3, ui->radioButton_4))
        return refuse(tr("请选择省电模式！"));
    if (!transact(UserCommands::writePowerSave(ui->radioButton_3->isChecked())))
        return false;
    followPowerSaveMode();
    return true;
}

bool MainWindow::readPowerSaveTime()
{
    WidgetValues::blank(ui->spinBox_5);
    WidgetValues::blank(ui->spinBox_6);
    const auto reply = transact(UserCommands::readPowerSaveTime());
    if (!reply)
        return false;
    WidgetValues::setValue(ui->spinBox_5, byteAt(*reply, kValueIndex));
    WidgetValues::setValue(ui->spinBox_6, byteAt(*reply, kValueIndex + 1));
    return true;
}

bool MainWindow::writePowerSaveTime()
{
    if (WidgetValues::isBlank(ui->spinBox_5) || WidgetValues::isBlank(ui->spinBox_6))
        return refuse(tr("请配置省电模式时间值！"));
    return transact(
               UserCommands::writePowerSaveTime(ui->spinBox_5->value(), ui->spinBox_6->value()))
        .has_value();
}

bool MainWindow::readAudioWave()
{
    WidgetValues::blank(ui->radioButton_7, ui->radioButton_8);
    const auto reply = transact(UserCommands::readAudioWave());
    if (!reply)
        return false;
    choose(ui->radioButton_7, ui->radioButton_8, isFirstOption(byteAt(*reply, kValueIndex)));
    return true;
}

bool MainWindow::writeAudioWave()
{
    if (WidgetValues::isBlank(ui->radioButton_7, ui->radioButton_8))
        return refuse(tr("请选择音频口输出波形类型！"));
    return transact(UserCommands::writeAudioWave(ui->radioButton_7->isChecked())).has_value();
}

bool MainWindow::readSidetone()
{
    WidgetValues::blank(ui->radioButton_5, ui->radioButton_6);
    const auto reply = transact(UserCommands::readSidetone());
    if (!reply)
        return false;
    choose(ui->radioButton_5, ui->radioButton_6, isFirstOption(byteAt(*reply, kValueIndex)));
    return true;
}

bool MainWindow::writeSidetone()
{
    if (WidgetValues::isBlank(ui->radioButton_5, ui->radioButton_6))
        return refuse(tr("请打开或关闭侧音！"));
    return transact(UserCommands::writeSidetone(ui->radioButton_5->isChecked())).has_value();
}

bool MainWindow::readRssi()
{
    ui->lineEdit->clear();
    const auto reply = transact(UserCommands::readRssi());
    if (!reply)
        return false;
    ui->lineEdit->setText(
        QString::number(UserParams::rssiFromWire(byteAt(*reply, UserCommands::kRssiIndex))));
    return true;
}

bool MainWindow::readScanMode()
{
    WidgetValues::blank(ui->comboBox);
    const auto reply = transact(UserCommands::readScanMode());
    if (!reply)
        return false;
    ui->comboBox->setCurrentIndex(UserParams::scanModeIndex(byteAt(*reply, kValueIndex)));
    return true;
}

bool MainWindow::writeScanMode()
{
    if (ui->comboBox->currentIndex() < 0)
        return refuse(tr("请选择频道扫描模式！"));
    return transact(UserCommands::writeScanMode(ui->comboBox->currentIndex())).has_value();
}

bool MainWindow::disableVirtualPort()
{
    return transact(UserCommands::disableVirtualPort()).has_value();
}
