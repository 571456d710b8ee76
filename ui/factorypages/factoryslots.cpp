// The factory pages' slots, each one step of the page in the operation frame: the 128 adjust
// buttons through one slot, the test bench, the factory settings of the "其他" sub-tabs, the
// bulk read and write of the LX-815 page and its calibration file.
#include "ui/mainwindow.h"

#include "session/modulesession.h"
#include "ui/factorypages/factorypage.h"

#include <QAbstractButton>

namespace {
using Mode = FactorySteps::TransmitMode;
using Level = FactorySteps::Level;
using Page = FactoryPage::Page;
using Setting = FactoryPage::Setting;
const QString kAdjustPrefix = QStringLiteral("adjust_");
constexpr int kLow = 0;
constexpr int kMiddle = 1;
constexpr int kHigh = 2;
} // namespace

void MainWindow::connectAdjustButtons(QObject *root)
{
    const QObjectList children = root->children();
    for (QObject *child : children) {
        if (child->objectName().startsWith(kAdjustPrefix)) {
            if (auto *button = qobject_cast<QAbstractButton *>(child))
                connect(button, &QAbstractButton::clicked, this, &MainWindow::onAdjustClicked);
        }
        connectAdjustButtons(child);
    }
}

void MainWindow::onAdjustClicked()
{
    if (!sender())
        return;
    if (const auto action = m_factoryPage->adjustAction(sender()->objectName()))
        runOperation(action->writes ? OperationKind::Write : OperationKind::Read, action->run);
}

void MainWindow::on_pushButton_273_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_237_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_278_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_279_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_282_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::DataPtt); });
}

void MainWindow::on_pushButton_274_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_238_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_277_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_280_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_283_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::VoicePtt); });
}

void MainWindow::on_pushButton_275_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_239_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_276_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_281_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_284_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setTransmitTestMode(Mode::Normal); });
}

void MainWindow::on_pushButton_241_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setSensitivityTestMode(true); });
}

void MainWindow::on_pushButton_240_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().setSensitivityTestMode(false); });
}

void MainWindow::on_pushButton_23_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateSquelch(Level::Low); });
}

void MainWindow::on_pushButton_31_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateSquelch(Level::Low); });
}

void MainWindow::on_pushButton_24_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateSquelch(Level::High); });
}

void MainWindow::on_pushButton_32_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateSquelch(Level::High); });
}

void MainWindow::on_pushButton_25_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateRssi(Level::Low); });
}

void MainWindow::on_pushButton_26_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().calibrateRssi(Level::High); });
}

void MainWindow::on_pushButton_27_clicked()
{
    runOperation(OperationKind::Read, [this] { return m_factoryPage->readRssiOffset(kLow); });
}

void MainWindow::on_pushButton_124_clicked()
{
    runOperation(OperationKind::Read, [this] { return m_factoryPage->readRssiOffset(kMiddle); });
}

void MainWindow::on_pushButton_130_clicked()
{
    runOperation(OperationKind::Read, [this] { return m_factoryPage->readRssiOffset(kHigh); });
}

void MainWindow::on_pushButton_114_clicked()
{
    runOperation(OperationKind::Write, [this] { return m_factoryPage->writeRssiOffset(kLow); });
}

void MainWindow::on_pushButton_125_clicked()
{
    runOperation(OperationKind::Write, [this] { return m_factoryPage->writeRssiOffset(kMiddle); });
}

void MainWindow::on_pushButton_131_clicked()
{
    runOperation(OperationKind::Write, [this] { return m_factoryPage->writeRssiOffset(kHigh); });
}

void MainWindow::on_pushButton_121_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kLow, 1); });
}

void MainWindow::on_pushButton_120_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kLow, -1); });
}

void MainWindow::on_pushButton_113_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kLow, 10); });
}

void MainWindow::on_pushButton_122_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kLow, -10); });
}

void MainWindow::on_pushButton_126_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kMiddle, 1); });
}

void MainWindow::on_pushButton_128_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kMiddle, -1); });
}

void MainWindow::on_pushButton_127_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kMiddle, 10); });
}

void MainWindow::on_pushButton_123_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kMiddle, -10); });
}

void MainWindow::on_pushButton_132_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kHigh, 1); });
}

void MainWindow::on_pushButton_134_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kHigh, -1); });
}

void MainWindow::on_pushButton_133_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kHigh, 10); });
}

void MainWindow::on_pushButton_129_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->steps().stepRssiOffset(kHigh, -10); });
}

void MainWindow::on_pushButton_186_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readTxPowerTable(Page::Lx815); });
}

void MainWindow::on_pushButton_190_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeTxPowerTable(Page::Lx815); });
}

void MainWindow::on_pushButton_258_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readTxPowerTable(Page::Mr460); });
}

void MainWindow::on_pushButton_259_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeTxPowerTable(Page::Mr460); });
}

void MainWindow::on_pushButton_185_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Lx815, 1); });
}

void MainWindow::on_pushButton_189_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Lx815, -1); });
}

void MainWindow::on_pushButton_187_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Lx815, 10); });
}

void MainWindow::on_pushButton_188_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Lx815, -10); });
}

void MainWindow::on_pushButton_257_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Mr460, 1); });
}

void MainWindow::on_pushButton_260_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Mr460, -1); });
}

void MainWindow::on_pushButton_261_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Mr460, 10); });
}

void MainWindow::on_pushButton_262_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->stepTxPowerCell(Page::Mr460, -10); });
}

void MainWindow::on_pushButton_39_clicked()
{
    runOperation(OperationKind::Read, [this] { return m_factoryPage->readRadioBand(); });
}

void MainWindow::on_pushButton_40_clicked()
{
    runOperation(OperationKind::Write, [this] { return m_factoryPage->writeRadioBand(); });
}

void MainWindow::on_pushButton_41_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readFactorySerialNumber(Setting::Serial); });
}

void MainWindow::on_pushButton_42_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeFactorySerialNumber(Setting::Serial); });
}

void MainWindow::on_pushButton_47_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readFactorySerialNumber(Setting::Mr460Serial); });
}

void MainWindow::on_pushButton_48_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeFactorySerialNumber(Setting::Mr460Serial); });
}

void MainWindow::on_pushButton_37_clicked()
{
    runOperation(OperationKind::Read, [this] { return m_factoryPage->readSidetoneVolume(); });
}

void MainWindow::on_pushButton_38_clicked()
{
    runOperation(OperationKind::Write, [this] { return m_factoryPage->writeSidetoneVolume(); });
}

void MainWindow::on_pushButton_43_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readCoupling(Setting::TestCoupling); });
}

void MainWindow::on_pushButton_44_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeCoupling(Setting::TestCoupling); });
}

void MainWindow::on_pushButton_45_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readCoupling(Setting::Coupling); });
}

void MainWindow::on_pushButton_46_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeCoupling(Setting::Coupling); });
}

void MainWindow::on_pushButton_29_clicked()
{
    runOperation(OperationKind::Read,
                 [this] { return m_factoryPage->readCoupling(Setting::Mr460Coupling); });
}

void MainWindow::on_pushButton_30_clicked()
{
    runOperation(OperationKind::Write,
                 [this] { return m_factoryPage->writeCoupling(Setting::Mr460Coupling); });
}

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
                    return session.writeFactoryCalibration(m_factoryPage->calibration());
                });
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
        store.setValues(m_factoryPage->calibration().entries() + unitEntries(store));
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
    m_factoryPage->applyCalibration(*loaded);
}
