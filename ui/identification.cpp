// Identification of the connected module: band, firmware version and serial number.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/identificationcommands.h"
#include "device/wire.h"

void MainWindow::on_actReadDeviceInfo_triggered()
{
    runOperation(OperationKind::Read, [this] { return readDeviceInfo(); });
}

void MainWindow::on_action_5_triggered()
{
    on_actReadDeviceInfo_triggered();
}

bool MainWindow::readDeviceInfo()
{
    return readBand() && readFirmwareVersion() && readSerialNumber();
}

bool MainWindow::readBand()
{
    // The limits stay: only a recognised band replaces them.
    ui->lineEdit_2->clear();
    ui->lineEdit_4->clear();
    const auto reply = transact(IdentificationCommands::readBand());
    if (!reply)
        return false;
    const quint8 code = IdentificationCommands::bandCode(*reply);
    ui->lineEdit_2->setText(IdentificationCommands::modelText(code));
    const Wire::Band *band = Wire::findBand(code);
    if (!band)
        return false;
    freqMin = band->freqMin;
    freqMax = band->freqMax;
    ui->lineEdit_4->setText(QString::fromLatin1(band->range));
    return true;
}

bool MainWindow::readFirmwareVersion()
{
    ui->lineEdit_3->clear();
    const auto reply = transact(IdentificationCommands::readFirmwareVersion());
    if (!reply)
        return false;
    ui->lineEdit_3->setText(IdentificationCommands::firmwareText(*reply));
    return true;
}

bool MainWindow::readSerialNumber()
{
    ui->lineEdit_5->clear();
    const auto reply = transact(IdentificationCommands::readSerialNumber());
    if (!reply)
        return false;
    ui->lineEdit_5->setText(IdentificationCommands::serialNumberText(*reply));
    return true;
}

bool MainWindow::isDeviceInfoRead() const
{
    return !ui->lineEdit_4->text().isEmpty();
}
