// Identification of the connected module: band, firmware version and serial number.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/modulesession.h"

void MainWindow::on_actReadDeviceInfo_triggered()
{
    runSequence(OperationKind::Read, [](ModuleSession &session) { return session.identify(); });
}

void MainWindow::on_action_5_triggered()
{
    on_actReadDeviceInfo_triggered();
}

bool MainWindow::isDeviceInfoRead() const
{
    return !ui->lineEdit_4->text().isEmpty();
}
