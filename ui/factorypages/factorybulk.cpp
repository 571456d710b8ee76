// "读取全部参数" and "写入全部参数": every read, or every write, of the LX-815 factory page in
// one fixed order, with the percentage done on the busy overlay; the command-line tool runs the
// same session steps.
#include "ui/mainwindow.h"

#include "session/modulesession.h"

void MainWindow::on_pushButton_28_clicked()
{
    runRecorded(
        OperationKind::Read, QStringLiteral("read-calibration"), true,
        [](ModuleSession &session) { return session.readFactoryCalibration().has_value(); });
}

void MainWindow::on_pushButton_242_clicked()
{
    if (!confirmFactoryUnit())
        return;
    runRecorded(OperationKind::Write, QStringLiteral("write-calibration"), true,
                [this](ModuleSession &session) {
                    return session.writeFactoryCalibration(factoryCalibrationFromPage());
                });
}
