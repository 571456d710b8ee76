// Reading and writing every parameter in one go, with the progress on the busy overlay.
#include "ui/mainwindow.h"

#include "session/modulesession.h"
#include "ui/messagebox.h"

void MainWindow::on_action_6_triggered()
{
    runSequence(OperationKind::Read,
                [](ModuleSession &session) { return session.readUserConfig().has_value(); });
}

void MainWindow::on_action_8_triggered()
{
    const auto answer =
        MessageBox::warningYesNo(this, tr("警告"), tr("您是否真的要将当前的所有参数写入电台？"));
    if (answer != QMessageBox::Yes)
        return;
    runSequence(OperationKind::Write, [this](ModuleSession &session) {
        return session.writeUserConfig(userConfigFromWidgets());
    });
}
