// The factory calibration file ("后台配置") between the LX-815 factory page and a JSON file.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "config/factoryconfig.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/widgetvalues.h"

#include <QSpinBox>

#include <optional>

namespace {
QSpinBox *fieldBox(const QWidget *window, const FactoryNumberField &field)
{
    return window->findChild<QSpinBox *>(QString::fromLatin1(FactoryBindings::spinBoxOf(field)));
}
} // namespace

FactoryCalibration MainWindow::factoryCalibrationFromPage() const
{
    FactoryCalibration calibration;
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        if (QSpinBox *box = fieldBox(this, fields[i]))
            calibration.numbers[i] = box->value();
    }
    calibration.dcCoupling = ui->radioButton_22->isChecked();
    calibration.radioBandIndex = ui->comboBox_2->currentIndex();
    return calibration;
}

void MainWindow::applyFactoryCalibration(const FactoryCalibration &calibration)
{
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        // A value from a file is a configured value: it clears a blank left by a failed read.
        if (QSpinBox *box = fieldBox(this, fields[i]))
            WidgetValues::setValue(box, calibration.numbers[i]);
    }
    (calibration.dcCoupling ? ui->radioButton_22 : ui->radioButton_23)->setChecked(true);
    ui->comboBox_2->setCurrentIndex(calibration.radioBandIndex);
}

void MainWindow::on_pushButton_34_clicked()
{
    const QString path = chooseConfigFile(true, tr("保存后台配置"));
    if (path.isEmpty())
        return;
    try {
        MJsonConfig store(path);
        // One write with every member, in the order single writes would give; then the unit
        // the values belong to.
        store.setValues(factoryCalibrationFromPage().entries() + unitEntries(store));
    } catch (const ConfigFileError &error) {
        refuse(QString::fromUtf8(error.what()));
    }
}

void MainWindow::on_pushButton_33_clicked()
{
    const QString path = chooseConfigFile(false, tr("打开后台配置"));
    if (path.isEmpty())
        return;
    std::optional<FactoryCalibration> loaded;
    try {
        const MJsonConfig store(path);
        if (!rememberFileUnit(store.object()))
            return;
        loaded = FactoryCalibration::fromStore(store);
    } catch (const ConfigFileError &error) {
        refuse(QString::fromUtf8(error.what()));
        return;
    }
    applyFactoryCalibration(*loaded);
}
