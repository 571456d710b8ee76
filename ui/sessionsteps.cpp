// The window's side of the module sequences: each step blanks the widgets it is about to read
// and fills them from the session's values when its reply is in, so that a failed step shows no
// stale value and the page fills in as the module answers. Identification fills the
// information bar.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/channelvalues.h"
#include "session/modulesession.h"
#include "ui/factorypages/factorypage.h"
#include "ui/userpage/userbindings.h"
#include "ui/userpage/userpage.h"
#include "ui/widgetvalues.h"

#include <QLineEdit>

namespace {
// Shown untranslated, as the operators know it.
const QString kReadDeviceFirstStatus = QStringLiteral("警告：请先读取设备信息！");
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
        // The selectors of a channel whose frequencies are being read mean nothing yet.
        for (int n = 1; n <= ChannelValues::kChannelCount; ++n)
            UserBindings::blankChannel(m_userPage->widgets(), n);
        if (!isDeviceInfoRead())
            showStatus(kReadDeviceFirstStatus);
        break;
    default:
        UserBindings::blankStep(m_userPage->widgets(), step);
        break;
    }
}

void MainWindow::stepRead(const ModuleSession &session, UserStep step, int channel)
{
    const ModuleIdentity &identity = session.identity();
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
    default:
        UserBindings::showStep(m_userPage->widgets(), session.userValues(), step, channel);
        if (step == UserStep::PowerSave)
            m_userPage->followPowerSaveMode();
        break;
    }
}

void MainWindow::stepWritten(UserStep step, int)
{
    if (step == UserStep::PowerSave)
        m_userPage->followPowerSaveMode();
}

void MainWindow::channelEmptied(int channel)
{
    UserBindings::blankChannel(m_userPage->widgets(), channel, UserStep::FreqAndPower);
}

void MainWindow::channelUnused(int channel)
{
    UserBindings::blankChannel(m_userPage->widgets(), channel, UserStep::ChannelParams);
}

void MainWindow::frequencyChecked(int channel, const QString &field, bool outOfBand)
{
    if (QLineEdit *cell = m_userPage->frequencyCell(channel, field))
        cell->setStyleSheet(outOfBand ? ChannelValues::kOutOfBandStyle : QString());
}

bool MainWindow::isBlank(UserStep step) const
{
    return UserBindings::isBlank(m_userPage->widgets(), step);
}

QString MainWindow::refusalText(const QString &text, int, const QString &, const QString &) const
{
    // The offending cell is marked on the page; the box names only the fault.
    return text;
}

bool MainWindow::reportsUnknownBand() const
{
    // The information bar shows the model text of the unknown code.
    return false;
}

void MainWindow::factoryStepStarting(const FactoryBulkStep &step)
{
    m_factoryPage->blankStep(step);
}

void MainWindow::factoryStepRead(const ModuleSession &session, const FactoryBulkStep &step)
{
    m_factoryPage->showStep(session, step);
}

bool MainWindow::isBlank(const FactoryBulkStep &step) const
{
    return m_factoryPage->isBlank(step);
}

void MainWindow::on_actReadDeviceInfo_triggered()
{
    runSequence(OperationKind::Read, [](ModuleSession &session) { return session.identify(); });
}

void MainWindow::on_action_5_triggered()
{
    on_actReadDeviceInfo_triggered();
}

bool MainWindow::isDeviceInfoRead() const
{
    return !ui->lineEdit_4->text().isEmpty();
}
