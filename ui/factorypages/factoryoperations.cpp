// Factory settings of the "其他" sub-tabs: radio band, serial number, sidetone volume and the
// baseband signal coupling of all three coupling groups.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/factorysteps.h"
#include "ui/widgetvalues.h"

#include <QLineEdit>
#include <QSpinBox>

bool MainWindow::readRadioBand()
{
    WidgetValues::blank(ui->comboBox_2);
    const std::optional<int> index = factorySteps().readRadioBand();
    if (!index)
        return false;
    // A band the selector does not list leaves it empty; the read still succeeded.
    ui->comboBox_2->setCurrentIndex(*index);
    return true;
}

bool MainWindow::writeRadioBand()
{
    return factorySteps().writeRadioBand(ui->comboBox_2->currentIndex());
}

bool MainWindow::readFactorySerialNumber(QLineEdit *edit)
{
    edit->clear();
    const std::optional<QString> serial = factorySteps().readSerialNumber();
    if (!serial)
        return false;
    edit->setText(*serial);
    return true;
}

bool MainWindow::writeFactorySerialNumber(QLineEdit *edit)
{
    // The mask's blanks are part of what was typed: a partial number is refused as invalid.
    const std::optional<QString> typed =
        edit->text().isEmpty() ? std::nullopt : std::optional<QString>(edit->displayText());
    return factorySteps().writeSerialNumber(typed);
}

bool MainWindow::readSidetoneVolume()
{
    WidgetValues::blank(ui->spinBox_7);
    const std::optional<int> volume = factorySteps().readSidetoneVolume();
    if (!volume)
        return false;
    WidgetValues::setValue(ui->spinBox_7, *volume);
    return true;
}

bool MainWindow::writeSidetoneVolume()
{
    return factorySteps().writeSidetoneVolume(WidgetValues::valueOf(ui->spinBox_7));
}

bool MainWindow::readCoupling(QRadioButton *dc, QRadioButton *ac)
{
    WidgetValues::blank(dc, ac);
    const std::optional<bool> isDc = factorySteps().readCoupling();
    if (!isDc)
        return false;
    WidgetValues::choose(dc, ac, *isDc);
    return true;
}

bool MainWindow::writeCoupling(QRadioButton *dc, QRadioButton *ac)
{
    return factorySteps().writeCoupling(WidgetValues::firstChosen(dc, ac));
}

void MainWindow::on_pushButton_39_clicked()
{
    runOperation(OperationKind::Read, [this] { return readRadioBand(); });
}

void MainWindow::on_pushButton_40_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeRadioBand(); });
}

void MainWindow::on_pushButton_41_clicked()
{
    runOperation(OperationKind::Read, [this] { return readFactorySerialNumber(ui->lineEdit_6); });
}

void MainWindow::on_pushButton_42_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeFactorySerialNumber(ui->lineEdit_6); });
}

void MainWindow::on_pushButton_47_clicked()
{
    runOperation(OperationKind::Read, [this] { return readFactorySerialNumber(ui->lineEdit_7); });
}

void MainWindow::on_pushButton_48_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeFactorySerialNumber(ui->lineEdit_7); });
}

void MainWindow::on_pushButton_37_clicked()
{
    runOperation(OperationKind::Read, [this] { return readSidetoneVolume(); });
}

void MainWindow::on_pushButton_38_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeSidetoneVolume(); });
}

void MainWindow::on_pushButton_43_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return readCoupling(ui->radioButton_12, ui->radioButton_13); });
}

void MainWindow::on_pushButton_44_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return writeCoupling(ui->radioButton_12, ui->radioButton_13); });
}

void MainWindow::on_pushButton_45_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return readCoupling(ui->radioButton_22, ui->radioButton_23); });
}

void MainWindow::on_pushButton_46_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return writeCoupling(ui->radioButton_22, ui->radioButton_23); });
}

void MainWindow::on_pushButton_29_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return readCoupling(ui->radioButton_14, ui->radioButton_18); });
}

void MainWindow::on_pushButton_30_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return writeCoupling(ui->radioButton_14, ui->radioButton_18); });
}
