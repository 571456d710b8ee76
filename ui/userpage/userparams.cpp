// The user parameters: one read and one set button per group of the user page.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/usercommands.h"
#include "device/wire.h"
#include "session/modulesession.h"

using Wire::byteAt;

void MainWindow::on_pushButton_3_clicked()
{
    runUserStep(OperationKind::Read, UserStep::CtrlMode);
}

void MainWindow::on_pushButton_4_clicked()
{
    runUserStep(OperationKind::Write, UserStep::CtrlMode);
}

void MainWindow::on_pushButton_5_clicked()
{
    runUserStep(OperationKind::Read, UserStep::CurrentChannel);
}

void MainWindow::on_pushButton_6_clicked()
{
    runUserStep(OperationKind::Write, UserStep::CurrentChannel);
}

void MainWindow::on_pushButton_7_clicked()
{
    runUserStep(OperationKind::Read, UserStep::TxProtect);
}

void MainWindow::on_pushButton_8_clicked()
{
    runUserStep(OperationKind::Write, UserStep::TxProtect);
}

void MainWindow::on_pushButton_9_clicked()
{
    runUserStep(OperationKind::Read, UserStep::Volume);
}

void MainWindow::on_pushButton_10_clicked()
{
    runUserStep(OperationKind::Write, UserStep::Volume);
}

void MainWindow::on_pushButton_11_clicked()
{
    runUserStep(OperationKind::Read, UserStep::PowerSave);
}

void MainWindow::on_pushButton_12_clicked()
{
    runUserStep(OperationKind::Write, UserStep::PowerSave);
}

void MainWindow::on_pushButton_13_clicked()
{
    runUserStep(OperationKind::Read, UserStep::PowerSaveTime);
}

void MainWindow::on_pushButton_14_clicked()
{
    runUserStep(OperationKind::Write, UserStep::PowerSaveTime);
}

void MainWindow::on_pushButton_15_clicked()
{
    runUserStep(OperationKind::Read, UserStep::ScanMode);
}

void MainWindow::on_pushButton_16_clicked()
{
    runUserStep(OperationKind::Write, UserStep::ScanMode);
}

void MainWindow::runUserStep(OperationKind kind, UserStep step)
{
    runSequence(kind, [this, kind, step](ModuleSession &session) {
        return kind == OperationKind::Read ? session.readUserStep(step)
                                           : session.writeUserStep(step, userConfigFromWidgets());
    });
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
    runUserStep(OperationKind::Read, UserStep::Sidetone);
}

void MainWindow::on_pushButton_20_clicked()
{
    runUserStep(OperationKind::Write, UserStep::Sidetone);
}

void MainWindow::on_pushButton_21_clicked()
{
    runUserStep(OperationKind::Read, UserStep::AudioWave);
}

void MainWindow::on_pushButton_22_clicked()
{
    runUserStep(OperationKind::Write, UserStep::AudioWave);
}

void MainWindow::followPowerSaveMode()
{
    // The power saving times mean something only while power saving is on.
    const bool enabled = ui->radioButton_3->isChecked();
    ui->pushButton_13->setEnabled(enabled);
    ui->pushButton_14->setEnabled(enabled);
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

bool MainWindow::disableVirtualPort()
{
    return transact(UserCommands::disableVirtualPort()).has_value();
}
