// The window's side of the module sequences: each step blanks the widgets it is about to read
// and fills them from the session's values when its reply is in, so that a failed step shows no
// stale value and the page fills in as the module answers.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "device/channelcodec.h"
#include "session/modulesession.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/widgetvalues.h"

#include <QLineEdit>
#include <QSpinBox>

using WidgetValues::choose;

namespace {
// Shown untranslated, as the operators know it.
const QString kReadDeviceFirstStatus = QStringLiteral("警告：请先读取设备信息！");

bool isPowerCell(const FactoryNumberField &field)
{
    return field.source.kind == FactorySource::Kind::PowerCell;
}
} // namespace

bool MainWindow::runSequence(OperationKind kind,
                             const std::function<bool(ModuleSession &)> &sequence)
{
    return runOperation(kind, [&] {
        ModuleSession session(m_engine, *this, [this](int percent) { setProgress(percent); });
        session.setHooks(this);
        if (isDeviceInfoRead())
            session.assumeBand(freqMin, freqMax);
        const bool ok = sequence(session);
        if (!session.identity().model.isEmpty())
            m_identity = session.identity();
        return ok;
    });
}

void MainWindow::stepStarting(UserStep step, int)
{
    switch (step) {
    case UserStep::Band:
        identificationStarted();
        ui->lineEdit_2->clear();
        ui->lineEdit_4->clear();
        break;
    case UserStep::Firmware:
        ui->lineEdit_3->clear();
        break;
    case UserStep::SerialNumber:
        ui->lineEdit_5->clear();
        break;
    case UserStep::FreqAndPower:
        clearChannelTable();
        if (!isDeviceInfoRead())
            showStatus(kReadDeviceFirstStatus);
        break;
    case UserStep::ChannelParams:
        break;
    case UserStep::CtrlMode:
        WidgetValues::blank(ui->radioButton, ui->radioButton_2);
        break;
    case UserStep::CurrentChannel:
        WidgetValues::blank(ui->spinBox);
        break;
    case UserStep::TxProtect:
        WidgetValues::blank(ui->spinBox_2);
        WidgetValues::blank(ui->spinBox_3);
        break;
    case UserStep::Volume:
        WidgetValues::blank(ui->spinBox_4);
        break;
    case UserStep::PowerSave:
        WidgetValues::blank(ui->radioButton_3, ui->radioButton_4);
        break;
    case UserStep::PowerSaveTime:
        WidgetValues::blank(ui->spinBox_5);
        WidgetValues::blank(ui->spinBox_6);
        break;
    case UserStep::AudioWave:
        WidgetValues::blank(ui->radioButton_7, ui->radioButton_8);
        break;
    case UserStep::Sidetone:
        WidgetValues::blank(ui->radioButton_5, ui->radioButton_6);
        break;
    case UserStep::ScanMode:
        WidgetValues::blank(ui->comboBox);
        break;
    }
}

void MainWindow::stepRead(const ModuleSession &session, UserStep step, int channel)
{
    const ModuleIdentity &identity = session.identity();
    const UserConfig &values = session.userValues();
    switch (step) {
    case UserStep::Band:
        ui->lineEdit_2->setText(identity.model);
        // The limits stay: only a recognised band replaces them.
        if (!identity.frequencyRange.isEmpty()) {
            freqMin = identity.freqMin;
            freqMax = identity.freqMax;
            ui->lineEdit_4->setText(identity.frequencyRange);
        }
        break;
    case UserStep::Firmware:
        ui->lineEdit_3->setText(identity.firmware);
        break;
    case UserStep::SerialNumber:
        ui->lineEdit_5->setText(identity.serialNumber);
        identificationDone(identity);
        break;
    case UserStep::FreqAndPower:
        for (int n = 1; n <= Wire::kChannelCount; ++n) {
            const UserChannel &cells = values.channels[n - 1];
            setTxFreq(n, cells.txFreq);
            setRxFreq(n, cells.rxFreq);
            setTxPowerIndex(n, cells.txPowerIndex);
        }
        break;
    case UserStep::ChannelParams: {
        const UserChannel &cells = values.channels[channel - 1];
        setBandwidthIndex(channel, cells.bandwidthIndex);
        setSqLevelIndex(channel, cells.sqLevelIndex);
        setCtcssDcsIndex(channel, cells.ctcssDcsIndex);
        setScanIndex(channel, cells.scanIndex);
        break;
    }
    case UserStep::CtrlMode:
        choose(ui->radioButton, ui->radioButton_2, values.dipSwitch);
        break;
    case UserStep::CurrentChannel:
        WidgetValues::setValue(ui->spinBox, values.currentChannel);
        break;
    case UserStep::TxProtect:
        WidgetValues::setValue(ui->spinBox_2, values.txTimeout);
        WidgetValues::setValue(ui->spinBox_3, values.stopTime);
        break;
    case UserStep::Volume:
        WidgetValues::setValue(ui->spinBox_4, values.volume);
        break;
    case UserStep::PowerSave:
        choose(ui->radioButton_3, ui->radioButton_4, values.powerSave);
        followPowerSaveMode();
        break;
    case UserStep::PowerSaveTime:
        WidgetValues::setValue(ui->spinBox_5, values.sleepTime);
        WidgetValues::setValue(ui->spinBox_6, values.standbyTime);
        break;
    case UserStep::AudioWave:
        choose(ui->radioButton_7, ui->radioButton_8, values.squareWave);
        break;
    case UserStep::Sidetone:
        choose(ui->radioButton_5, ui->radioButton_6, values.sidetone);
        break;
    case UserStep::ScanMode:
        ui->comboBox->setCurrentIndex(values.scanModeIndex);
        break;
    }
}

void MainWindow::stepWritten(UserStep step, int)
{
    if (step == UserStep::PowerSave)
        followPowerSaveMode();
}

void MainWindow::channelEmptied(int channel)
{
    setRxFreq(channel, 0);
    setTxFreq(channel, 0);
    setTxPowerIndex(channel, ChannelCodec::kNoSelection);
}

void MainWindow::channelUnused(int channel)
{
    clearChannelSelectors(channel);
}

void MainWindow::frequencyChecked(int channel, const QString &field, bool outOfBand)
{
    if (QLineEdit *cell = frequencyCell(channel, field))
        cell->setStyleSheet(outOfBand ? ChannelCodec::kOutOfBandStyle : QString());
}

bool MainWindow::isBlank(UserStep step) const
{
    using WidgetValues::isBlank;
    switch (step) {
    case UserStep::CtrlMode:
        return isBlank(ui->radioButton, ui->radioButton_2);
    case UserStep::CurrentChannel:
        return isBlank(ui->spinBox);
    case UserStep::TxProtect:
        return isBlank(ui->spinBox_2) || isBlank(ui->spinBox_3);
    case UserStep::Volume:
        return isBlank(ui->spinBox_4);
    case UserStep::PowerSave:
        return isBlank(ui->radioButton_3, ui->radioButton_4);
    case UserStep::PowerSaveTime:
        return isBlank(ui->spinBox_5) || isBlank(ui->spinBox_6);
    case UserStep::AudioWave:
        return isBlank(ui->radioButton_7, ui->radioButton_8);
    case UserStep::Sidetone:
        return isBlank(ui->radioButton_5, ui->radioButton_6);
    default:
        return false;
    }
}

QString MainWindow::refusalText(const QString &text, int, const QString &) const
{
    // The offending cell is marked on the page; the box names only the fault.
    return text;
}

bool MainWindow::reportsUnknownBand() const
{
    // The information bar shows the model text of the unknown code.
    return false;
}

QList<QSpinBox *> MainWindow::factoryStepBoxes(const FactoryBulkStep &step) const
{
    const auto &fields = FactoryCalibration::numberFields();
    QList<QSpinBox *> boxes;
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        const bool wanted =
            step.item == FactoryBulkStep::Item::Number
                ? i == step.field
                : step.item == FactoryBulkStep::Item::PowerTable && isPowerCell(fields[i]);
        if (!wanted)
            continue;
        if (auto *box =
                findChild<QSpinBox *>(QString::fromLatin1(FactoryBindings::spinBoxOf(fields[i]))))
            boxes.append(box);
    }
    return boxes;
}

void MainWindow::factoryStepStarting(const FactoryBulkStep &step)
{
    using Item = FactoryBulkStep::Item;
    for (QSpinBox *box : factoryStepBoxes(step))
        WidgetValues::blank(box);
    if (step.item == Item::Band)
        WidgetValues::blank(ui->comboBox_2);
    else if (step.item == Item::Coupling)
        WidgetValues::blank(ui->radioButton_22, ui->radioButton_23);
    else if (step.item == Item::TestCoupling)
        WidgetValues::blank(ui->radioButton_12, ui->radioButton_13);
}

void MainWindow::factoryStepRead(const ModuleSession &session, const FactoryBulkStep &step)
{
    using Item = FactoryBulkStep::Item;
    const FactoryCalibration &values = session.factoryValues();
    const auto &fields = FactoryCalibration::numberFields();
    for (QSpinBox *box : factoryStepBoxes(step)) {
        for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
            if (box->objectName() == QLatin1String(FactoryBindings::spinBoxOf(fields[i])))
                WidgetValues::setValue(box, values.numbers[i]);
        }
    }
    if (step.item == Item::Band)
        // A band the selector does not list leaves it empty; the read still succeeded.
        ui->comboBox_2->setCurrentIndex(values.radioBandIndex);
    else if (step.item == Item::Coupling)
        choose(ui->radioButton_22, ui->radioButton_23, values.dcCoupling);
    else if (step.item == Item::TestCoupling)
        choose(ui->radioButton_12, ui->radioButton_13, session.testCouplingIsDc());
}

bool MainWindow::isBlank(const FactoryBulkStep &step) const
{
    if (step.item == FactoryBulkStep::Item::Coupling)
        return WidgetValues::isBlank(ui->radioButton_22, ui->radioButton_23);
    const QList<QSpinBox *> boxes = factoryStepBoxes(step);
    return std::any_of(boxes.begin(), boxes.end(),
                       [](const QSpinBox *box) { return WidgetValues::isBlank(box); });
}
