// Reading and writing every parameter in one go, with the progress on the busy overlay.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/usercommands.h"
#include "device/wire.h"
#include "ui/messagebox.h"

void MainWindow::on_action_6_triggered()
{
    runOperation(OperationKind::Read, [this] { return readAllParams(); });
}

void MainWindow::on_action_8_triggered()
{
    const auto answer =
        MessageBox::warningYesNo(this, tr("警告"), tr("您是否真的要将当前的所有参数写入电台？"));
    if (answer != QMessageBox::Yes)
        return;
    runOperation(OperationKind::Write, [this] { return writeAllParams(); });
}

bool MainWindow::readAllParams()
{
    using namespace AllParams::ReadPercent;
    const auto done = [this](bool ok, int percent) {
        if (ok)
            setProgress(percent);
        return ok;
    };
    if (!done(readBand(), kBand) || !done(readFirmwareVersion(), kFirmware) ||
        !done(readSerialNumber(), kSerial) || !done(readFreqAndPower(), kFreqPower))
        return false;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!done(readChannelParams(n), channel(n)))
            return false;
    }
    // RSSI is a measurement, not a setting: it is not part of the set.
    return done(readCtrlMode(), kCtrlMode) && done(readCurrentChannel(), kCurrentChannel) &&
           done(readTxProtect(), kTxProtect) && done(readVolume(), kVolume) &&
           done(readPowerSave(), kPowerSave) && done(readPowerSaveTime(), kPowerSaveTime) &&
           done(readAudioWave(), kAudioWave) && done(readSidetone(), kSidetone) &&
           done(readScanMode(), kScanMode);
}

bool MainWindow::writeAllParams()
{
    using namespace AllParams::WritePercent;
    const auto done = [this](bool ok, int percent) {
        if (ok)
            setProgress(percent);
        return ok;
    };
    if (!done(writeFreqAndPower(), kFreqPower))
        return false;
    for (int n = 1; n <= Wire::kChannelCount; ++n) {
        if (!done(writeChannelParams(n), channel(n)))
            return false;
    }
    if (!done(writeCtrlMode(), kCtrlMode))
        return false;
    // Under the DIP switch the module takes its channel from the switch, not from us.
    const bool byProgram = ui->radioButton_2->isChecked();
    if (!done(!byProgram || writeCurrentChannel(), kCurrentChannel))
        return false;
    return done(writeTxProtect(), kTxProtect) && done(writeVolume(), kVolume) &&
           done(writePowerSave(), kPowerSave) && done(writePowerSaveTime(), kPowerSaveTime) &&
           done(writeAudioWave(), kAudioWave) && done(writeSidetone(), kSidetone) &&
           done(writeScanMode(), kScanMode);
}
