// The user page's slots: the channel table's read and set, one read and one set button per
// group of the user parameters, every parameter in one go with the progress on the busy
// overlay, the user configuration file, and the check of a typed frequency.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "config/userconfig.h"
#include "session/channelvalues.h"
#include "session/modulesession.h"
#include "ui/messagebox.h"
#include "ui/userpage/userpage.h"
#include "ui/widgetvalues.h"

#include <QLineEdit>

namespace {
// Shown untranslated, as the operators know them.
const QString kReadDeviceFirstWarning = QStringLiteral("警告：操作前请先读取设备信息！");
const QString kOutOfRangeWarning = QStringLiteral("警告：频率超出范围！");
} // namespace

using namespace ChannelValues;

void MainWindow::on_pushButton_clicked()
{
    runSequence(OperationKind::Read,
                [](ModuleSession &session) { return session.readChannelTable(); });
}

void MainWindow::on_pushButton_2_clicked()
{
    runSequence(OperationKind::Write, [this](ModuleSession &session) {
        return session.writeChannelTable(m_userPage->config());
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
                                           : session.writeUserStep(step, m_userPage->config());
    });
}

void MainWindow::on_pushButton_17_clicked()
{
    runSequence(OperationKind::Write,
                [](ModuleSession &session) { return session.disableVirtualPort(); });
}

void MainWindow::on_pushButton_18_clicked()
{
    runSequence(OperationKind::Read, [this](ModuleSession &session) {
        ui->lineEdit->clear();
        const auto rssi = session.readRssi();
        if (rssi)
            ui->lineEdit->setText(QString::number(*rssi));
        return rssi.has_value();
    });
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
    runRecorded(
        OperationKind::Write, QStringLiteral("write-config"), false,
        [this](ModuleSession &session) { return session.writeUserConfig(m_userPage->config()); });
}

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

void MainWindow::saveUserConfig()
{
    const QString path = chooseConfigFile(true, tr("保存配置"));
    if (path.isEmpty())
        return;
    try {
        // One write with everything: members of other files saved under this name stay.
        MJsonConfig store(path);
        store.setValues(m_userPage->config().entries());
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
    m_userPage->apply(config);
}

void MainWindow::onEditingFinished()
{
    auto *cell = qobject_cast<QLineEdit *>(sender());
    // A frequency the program showed (a read, a file, an undo step) is no entry: its marking
    // came with it, and the focus passing through its cell, or a box taking it away, checks
    // nothing.
    if (!cell || WidgetValues::isShown(cell))
        return;
    // Starting an operation moves the focus to the overlay; that is not the user leaving. The
    // line edit finishes an edit once only, so the check waits for the user to leave.
    if (m_operationRunning) {
        m_uncheckedCell = cell;
        return;
    }
    m_uncheckedCell.clear();
    if (!isDeviceInfoRead())
        showStatus(kReadDeviceFirstWarning);
    const quint32 typed = frequencyFromText(cell->displayText());
    if (typed == 0) {
        cell->setStyleSheet(QString());
        return;
    }
    const quint32 chosen = snapFrequency(typed, freqMin, freqMax);
    cell->setText(frequencyText(chosen));
    if (isOutOfBand(chosen, freqMin, freqMax)) {
        cell->setStyleSheet(kOutOfBandStyle);
        showStatus(kOutOfRangeWarning);
    } else {
        cell->setStyleSheet(QString());
    }
}
