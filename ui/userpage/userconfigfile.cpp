// The user configuration file in the window: the user page and channel table to and from a
// UserConfig, and the save and load actions.
#include "config/userconfig.h"
#include "ui/mainwindow.h"

#include "ui/messagebox.h"
#include "ui/userpage/userbindings.h"

#include <numeric>

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
    return UserBindings::gather(userWidgets());
}

void MainWindow::applyUserConfig(const UserConfig &config)
{
    UserBindings::showPage(userWidgets(), config);
    QVector<int> channels(Wire::kChannelCount);
    std::iota(channels.begin(), channels.end(), 1);
    UserBindings::showChannels(userWidgets(), config, channels);
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
