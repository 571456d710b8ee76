// The user configuration file in the window: the user page and channel table to and from a
// UserConfig, and the save and load actions.
#include "config/userconfig.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "ui/messagebox.h"
#include "ui/widgetvalues.h"

#include <numeric>

using WidgetValues::choose;

void MainWindow::on_actSaveCfgFile_triggered()
{
    saveUserConfig();
}

void MainWindow::on_action_2_triggered()
{
    saveUserConfig();
}

void MainWindow::on_actOpenCfgFile_triggered()
{
    loadUserConfig();
}

void MainWindow::on_action_triggered()
{
    loadUserConfig();
}

UserConfig MainWindow::userConfigFromWidgets() const
{
    UserConfig config;
    config.dipSwitch = ui->radioButton->isChecked();
    config.currentChannel = ui->spinBox->value();
    config.saveChannel = ui->checkBox->isChecked();
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        config.channels[n - 1] =
            UserChannel{rxFreq(n),       txFreq(n),        txPowerIndex(n), bandwidthIndex(n),
                        sqLevelIndex(n), ctcssDcsIndex(n), scanIndex(n)};
    }
    config.txTimeout = ui->spinBox_2->value();
    config.stopTime = ui->spinBox_3->value();
    config.volume = ui->spinBox_4->value();
    config.powerSave = ui->radioButton_3->isChecked();
    config.sleepTime = ui->spinBox_5->value();
    config.standbyTime = ui->spinBox_6->value();
    config.squareWave = ui->radioButton_7->isChecked();
    config.sidetone = ui->radioButton_5->isChecked();
    config.scanModeIndex = ui->comboBox->currentIndex();
    return config;
}

void MainWindow::applyUserConfig(const UserConfig &config)
{
    choose(ui->radioButton, ui->radioButton_2, config.dipSwitch);
    WidgetValues::setValue(ui->spinBox, config.currentChannel);
    ui->checkBox->setChecked(config.saveChannel);
    QVector<int> channels(Wire::kChannelCount);
    std::iota(channels.begin(), channels.end(), 1);
    showChannels(config, channels);
    WidgetValues::setValue(ui->spinBox_2, config.txTimeout);
    WidgetValues::setValue(ui->spinBox_3, config.stopTime);
    WidgetValues::setValue(ui->spinBox_4, config.volume);
    choose(ui->radioButton_3, ui->radioButton_4, config.powerSave);
    WidgetValues::setValue(ui->spinBox_5, config.sleepTime);
    WidgetValues::setValue(ui->spinBox_6, config.standbyTime);
    choose(ui->radioButton_7, ui->radioButton_8, config.squareWave);
    choose(ui->radioButton_5, ui->radioButton_6, config.sidetone);
    ui->comboBox->setCurrentIndex(config.scanModeIndex >= 0 &&
                                          config.scanModeIndex < ui->comboBox->count()
                                      ? config.scanModeIndex
                                      : -1);
}

void MainWindow::saveUserConfig()
{
    const QString path = chooseConfigFile(true, tr("保存配置"));
    if (path.isEmpty())
        return;
    try {
        // One write with everything: members of other files saved under this name stay.
        MJsonConfig store(path);
        store.setValues(userConfigFromWidgets().entries());
    } catch (const ConfigFileError &error) {
        MessageBox::critical(this, tr("错误"), QString::fromUtf8(error.what()));
    }
}

void MainWindow::loadUserConfig()
{
    const QString path = chooseConfigFile(false, tr("打开配置"));
    if (path.isEmpty())
        return;
    UserConfig config;
    try {
        const MJsonConfig store(path);
        config = UserConfig::fromStore(store);
    } catch (const ConfigFileError &error) {
        MessageBox::critical(this, tr("错误"), QString::fromUtf8(error.what()));
        return;
    }
    applyUserConfig(config);
}
