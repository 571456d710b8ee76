// Reading and writing the channel table: frequencies and powers in one command, the other
// parameters channel by channel.
#include "ui/mainwindow.h"

#include "session/modulesession.h"

void MainWindow::on_pushButton_clicked()
{
    runSequence(OperationKind::Read,
                [](ModuleSession &session) { return session.readChannelTable(); });
}

void MainWindow::on_pushButton_2_clicked()
{
    runSequence(OperationKind::Write, [this](ModuleSession &session) {
        return session.writeChannelTable(userConfigFromWidgets());
    });
}
