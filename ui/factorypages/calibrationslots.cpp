// The buttons of the factory test bench, each one command in the operation frame.
#include "ui/mainwindow.h"

#include "session/factorysteps.h"

namespace {
using Mode = FactorySteps::TransmitMode;
using Level = FactorySteps::Level;
constexpr int kLow = 0;
constexpr int kMiddle = 1;
constexpr int kHigh = 2;
} // namespace

void MainWindow::on_pushButton_273_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_237_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_278_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_279_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_282_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_274_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_238_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_277_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_280_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_283_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_275_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_239_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_276_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_281_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_284_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_241_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setSensitivityTestMode(true); });
}

void MainWindow::on_pushButton_240_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().setSensitivityTestMode(false); });
}

void MainWindow::on_pushButton_23_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().calibrateSquelch(Level::Low); });
}

void MainWindow::on_pushButton_31_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().calibrateSquelch(Level::Low); });
}

void MainWindow::on_pushButton_24_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().calibrateSquelch(Level::High); });
}

void MainWindow::on_pushButton_32_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().calibrateSquelch(Level::High); });
}

void MainWindow::on_pushButton_25_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().calibrateRssi(Level::Low); });
}

void MainWindow::on_pushButton_26_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().calibrateRssi(Level::High); });
}

void MainWindow::on_pushButton_27_clicked()
{
    runOperation(OperationKind::Read, [this] { return readRssiOffset(kLow); });
}

void MainWindow::on_pushButton_124_clicked()
{
    runOperation(OperationKind::Read, [this] { return readRssiOffset(kMiddle); });
}

void MainWindow::on_pushButton_130_clicked()
{
    runOperation(OperationKind::Read, [this] { return readRssiOffset(kHigh); });
}

void MainWindow::on_pushButton_114_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeRssiOffset(kLow); });
}

void MainWindow::on_pushButton_125_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeRssiOffset(kMiddle); });
}

void MainWindow::on_pushButton_131_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeRssiOffset(kHigh); });
}

void MainWindow::on_pushButton_121_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kLow, 1); });
}

void MainWindow::on_pushButton_120_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kLow, -1); });
}

void MainWindow::on_pushButton_113_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kLow, 10); });
}

void MainWindow::on_pushButton_122_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kLow, -10); });
}

void MainWindow::on_pushButton_126_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().stepRssiOffset(kMiddle, 1); });
}

void MainWindow::on_pushButton_128_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().stepRssiOffset(kMiddle, -1); });
}

void MainWindow::on_pushButton_127_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().stepRssiOffset(kMiddle, 10); });
}

void MainWindow::on_pushButton_123_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().stepRssiOffset(kMiddle, -10); });
}

void MainWindow::on_pushButton_132_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kHigh, 1); });
}

void MainWindow::on_pushButton_134_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kHigh, -1); });
}

void MainWindow::on_pushButton_133_clicked()
{
    runOperation(OperationKind::Write, [this] { return factorySteps().stepRssiOffset(kHigh, 10); });
}

void MainWindow::on_pushButton_129_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return factorySteps().stepRssiOffset(kHigh, -10); });
}

void MainWindow::on_pushButton_186_clicked()
{
    runOperation(OperationKind::Read, [this] { return readTxPowerTable(kLx815Page); });
}

void MainWindow::on_pushButton_190_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeTxPowerTable(kLx815Page); });
}

void MainWindow::on_pushButton_258_clicked()
{
    runOperation(OperationKind::Read, [this] { return readTxPowerTable(kMr460Page); });
}

void MainWindow::on_pushButton_259_clicked()
{
    runOperation(OperationKind::Write, [this] { return writeTxPowerTable(kMr460Page); });
}

void MainWindow::on_pushButton_185_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kLx815Page, 1); });
}

void MainWindow::on_pushButton_189_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kLx815Page, -1); });
}

void MainWindow::on_pushButton_187_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kLx815Page, 10); });
}

void MainWindow::on_pushButton_188_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kLx815Page, -10); });
}

void MainWindow::on_pushButton_257_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kMr460Page, 1); });
}

void MainWindow::on_pushButton_260_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kMr460Page, -1); });
}

void MainWindow::on_pushButton_261_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kMr460Page, 10); });
}

void MainWindow::on_pushButton_262_clicked()
{
    runOperation(OperationKind::Write, [this] { return stepTxPowerCell(kMr460Page, -10); });
}
