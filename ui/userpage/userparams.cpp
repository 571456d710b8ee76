// The user page's buttons: the channel table's read and set, one read and one set button per
// group of the user parameters, and every parameter in one go with the progress on the busy
// overlay.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/usercommands.h"
#include "device/wire.h"
#include "session/modulesession.h"
#include "ui/messagebox.h"

using Wire::byteAt;

void MainWindow::on_pushButton_clicked()
{
    runSequence(OperationKind::Read,
                [](ModuleSession &session) { return session.readChannelTable(); });
}

void MainWindow::on_pushButton_2_clicked()
{
    runSequence(OperationKind::Write, [this](ModuleSession &session) {
        return session.writeChannelTable(userConfigFromWidgets());
    });
}

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

void MainWindow::on_action_6_triggered()
{
    runRecorded(OperationKind::Read, QStringLiteral("read-config"), false,
                [](ModuleSession &session) { return session.readUserConfig().has_value(); });
}

void MainWindow::on_action_8_triggered()
{
    const auto answer =
        MessageBox::warningYesNo(this, tr("警告"), tr("您是否真的要将当前的所有参数写入电台？"));
    if (answer != QMessageBox::Yes)
        return;
    runRecorded(OperationKind::Write, QStringLiteral("write-config"), false,
                [this](ModuleSession &session) {
                    return session.writeUserConfig(userConfigFromWidgets());
                });
}

void MainWindow::followPowerSaveMode()
{
    // The power saving times mean something only while power saving is on.
    const bool enabled = userConfigFromWidgets().powerSave;
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
