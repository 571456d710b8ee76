// Factory settings of the "其他" sub-tabs: radio band, serial number, sidetone volume and the
// baseband signal coupling of all three coupling groups.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/factorycommands.h"
#include "ui/widgetvalues.h"

bool MainWindow::readRadioBand()
{
    WidgetValues::blank(ui->comboBox_2);
    const auto reply = transact(FactoryCommands::readRadioBand());
    if (!reply)
        return false;
    // A band the selector does not list leaves it empty; the read still succeeded.
    ui->comboBox_2->setCurrentIndex(FactoryCommands::decodeRadioBand(*reply));
    return true;
}

bool MainWindow::writeRadioBand()
{
    const int index = ui->comboBox_2->currentIndex();
    if (index < 0)
        return refuse(FactoryCommands::bandBlankText());
    return transact(FactoryCommands::writeRadioBand(index)).has_value();
}

bool MainWindow::readFactorySerialNumber(QLineEdit *edit)
{
    edit->clear();
    const auto reply = transact(FactoryCommands::readSerialNumber());
    if (!reply)
        return false;
    edit->setText(FactoryCommands::formatSerialNumber(*reply));
    return true;
}

bool MainWindow::writeFactorySerialNumber(QLineEdit *edit)
{
    if (edit->text().isEmpty())
        return refuse(FactoryCommands::serialEmptyText());
    const std::optional<quint64> serial = FactoryCommands::parseSerialNumber(edit->displayText());
    if (!serial)
        return refuse(FactoryCommands::serialInvalidText());
    return transact(FactoryCommands::writeSerialNumber(*serial)).has_value();
}

bool MainWindow::readSidetoneVolume()
{
    WidgetValues::blank(ui->spinBox_7);
    const auto reply = transact(FactoryCommands::readSidetoneVolume());
    if (!reply)
        return false;
    WidgetValues::setValue(ui->spinBox_7, FactoryCommands::decodeSidetoneVolume(*reply));
    return true;
}

bool MainWindow::writeSidetoneVolume()
{
    if (WidgetValues::isBlank(ui->spinBox_7))
        return refuse(FactoryCommands::sidetoneBlankText());
    return transact(FactoryCommands::writeSidetoneVolume(ui->spinBox_7->value())).has_value();
}

bool MainWindow::readCoupling(QRadioButton *dc, QRadioButton *ac)
{
    WidgetValues::blank(dc, ac);
    const auto reply = transact(FactoryCommands::readCoupling());
    if (!reply)
        return false;
    (FactoryCommands::decodeIsDcCoupling(*reply) ? dc : ac)->setChecked(true);
    return true;
}

bool MainWindow::writeCoupling(QRadioButton *dc, QRadioButton *ac)
{
    if (WidgetValues::isBlank(dc, ac))
        return refuse(FactoryCommands::couplingBlankText());
    return transact(FactoryCommands::writeCoupling(dc->isChecked())).has_value();
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
