// Help -> Save Support Report: what a technician sends when a module fails in the field, the
// same report as the command line's --trace, with what this window knows.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStatusBar>

namespace {
const QString kActionName = QStringLiteral("actSaveSupportReport");
}

void MainWindow::buildSupportMenu()
{
    auto *action = new QAction(this);
    action->setObjectName(kActionName);
    ui->menu_A->insertAction(ui->action_11, action);
    connect(action, &QAction::triggered, this, &MainWindow::saveSupportReport);
    retranslateSupportMenu();
}

void MainWindow::retranslateSupportMenu()
{
    if (auto *action = findChild<QAction *>(kActionName))
        action->setText(tr("保存诊断报告…"));
}

SupportReport MainWindow::supportReport()
{
    const QString port = appSerialPort->portName();
    SupportReport report = SupportReport::collect(QStringLiteral("lx815-config"), {port});
    if (appConfig) {
        report.settings = QJsonObject{{QStringLiteral("file"), appConfig->filePath()},
                                      {QStringLiteral("values"), appConfig->object()}};
    }
    report.port = port;
    report.line = LineSettings::of(*appSerialPort);
    report.portOpen = appSerialPort->isOpen();
    report.identity = m_identity;
    report.trace = m_engine.trace().toJson();
    return report;
}

void MainWindow::saveSupportReport()
{
    const QString title = tr("保存诊断报告…");
    const QString suggested =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(SupportReport::fileName(QDateTime::currentDateTime()));
    const QString path = m_fileChooser ? m_fileChooser(true, title, suggested)
                                       : QFileDialog::getSaveFileName(this, title, suggested,
                                                                      QStringLiteral("*.json"));
    if (path.isEmpty())
        return;
    QString error;
    if (!supportReport().save(path, &error)) {
        refuse(error);
        return;
    }
    showStatus(tr("诊断报告已保存：%1").arg(path));
}
