// "读取全部参数" and "写入全部参数": every read, or every write, of the LX-815 factory page in
// one fixed order, with the percentage done on the busy overlay; the command-line tool runs the
// same session steps.
#include "ui/mainwindow.h"

#include "session/modulesession.h"

void MainWindow::on_pushButton_28_clicked()
{
    runSequence(OperationKind::Read, [](ModuleSession &session) {
        return session.readFactoryCalibration().has_value();
    });
}

void MainWindow::on_pushButton_242_clicked()
{
    runSequence(OperationKind::Write, [this](ModuleSession &session) {
        return session.writeFactoryCalibration(factoryCalibrationFromPage());
    });
}
