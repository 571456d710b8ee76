// Channel plans in CHIRP's CSV in the window: the file menu's import and export, copy, paste
// and clear on each channel's number, and the edit menu with the table's undo history.
#include "config/chirpcsv.h"
#include "config/userconfig.h"
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "session/channelvalues.h"
#include "ui/messagebox.h"
#include "ui/userpage/channelundo.h"
#include "ui/userpage/userbindings.h"
#include "ui/userpage/userpage.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <numeric>

namespace {
const QString kCsvFilter = QStringLiteral("*.csv");
const QString kEditMenu = QStringLiteral("menuEdit");
const QString kImportAction = QStringLiteral("actImportCsv");
const QString kExportAction = QStringLiteral("actExportCsv");
const QString kCopyAllAction = QStringLiteral("actCopyAllChannels");
const QString kCopyAction = QStringLiteral("actCopyChannels");
const QString kPasteAction = QStringLiteral("actPasteChannels");

// The actions on channel n's number: copy, paste, clear.
QString channelActionName(const char *what, int n)
{
    return QStringLiteral("act%1Channel%2").arg(QLatin1String(what)).arg(n);
}

QVector<int> allChannels()
{
    QVector<int> channels(ChannelValues::kChannelCount);
    std::iota(channels.begin(), channels.end(), 1);
    return channels;
}
} // namespace

void MainWindow::buildChannelEditing()
{
    m_channelUndo = new ChannelUndo(ui->wdgFreqBox, this);

    auto *import = new QAction(this);
    import->setObjectName(kImportAction);
    connect(import, &QAction::triggered, this, &MainWindow::importChannelCsv);
    auto *exportCsv = new QAction(this);
    exportCsv->setObjectName(kExportAction);
    connect(exportCsv, &QAction::triggered, this, &MainWindow::exportChannelCsv);
    ui->menu->insertActions(ui->action_4, {import, exportCsv});
    ui->menu->insertSeparator(ui->action_4);

    auto *editMenu = new QMenu(this);
    editMenu->setObjectName(kEditMenu);
    editMenu->addAction(m_channelUndo->undoAction());
    editMenu->addAction(m_channelUndo->redoAction());
    ui->menubar->insertMenu(ui->menuShebei->menuAction(), editMenu);
    // The keys work wherever the focus is in the window, not only through the menu.
    addActions({m_channelUndo->undoAction(), m_channelUndo->redoAction()});

    // The channel holding the focus, or every channel in use when the focus is elsewhere; the
    // keys while the focus is in the table (a frequency cell keeps them for its own text).
    auto *copy = new QAction(this);
    copy->setObjectName(kCopyAction);
    copy->setShortcuts(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this,
            [this] { copyChannels(m_userPage->channelOf(focusWidget())); });
    auto *paste = new QAction(this);
    paste->setObjectName(kPasteAction);
    paste->setShortcuts(QKeySequence::Paste);
    connect(paste, &QAction::triggered, this,
            [this] { pasteChannels(qMax(1, m_userPage->channelOf(focusWidget()))); });
    for (QAction *action : {copy, paste}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ui->wdgFreqBox->addAction(action);
    }
    editMenu->addSeparator();
    editMenu->addActions({copy, paste});

    auto *grid = qobject_cast<QGridLayout *>(ui->wdgFreqBox->layout());
    for (int n = 1; grid && n <= ChannelValues::kChannelCount; ++n) {
        QLayoutItem *item = grid->itemAtPosition(n, 0);
        QWidget *number = item ? item->widget() : nullptr;
        if (!number)
            continue;
        const QList<QAction *> actions{new QAction(number), new QAction(number),
                                       new QAction(number)};
        actions[0]->setObjectName(channelActionName("Copy", n));
        actions[1]->setObjectName(channelActionName("Paste", n));
        actions[2]->setObjectName(channelActionName("Clear", n));
        connect(actions[0], &QAction::triggered, this, [this, n] { copyChannels(n); });
        connect(actions[1], &QAction::triggered, this, [this, n] { pasteChannels(n); });
        connect(actions[2], &QAction::triggered, this, [this, n] { clearChannel(n); });
        number->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(number, &QWidget::customContextMenuRequested, this,
                [this, n, number, actions](const QPoint &at) {
                    actions[0]->setEnabled(m_userPage->config().channels[n - 1].rxFreq != 0);
                    actions[1]->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
                    QMenu::exec(actions, number->mapToGlobal(at), nullptr, number);
                });
    }
    auto *copyAll = new QAction(ui->wdgFreqBox);
    copyAll->setObjectName(kCopyAllAction);
    connect(copyAll, &QAction::triggered, this, [this] { copyChannels(0); });
    ui->wdgFreqBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->wdgFreqBox, &QWidget::customContextMenuRequested, this,
            [this, copyAll](const QPoint &at) {
                QMenu::exec({copyAll}, ui->wdgFreqBox->mapToGlobal(at), nullptr, ui->wdgFreqBox);
            });

    // The operations that change the table have run to their end when their own slot, connected
    // first by the form, returns; a click refused while another operation runs changes nothing.
    const auto after = [this](ChannelUndo::Change change) {
        return [this, change] {
            if (!isOperationRunning())
                m_channelUndo->record(change);
        };
    };
    connect(ui->pushButton, &QPushButton::clicked, this, after(ChannelUndo::Change::ModuleRead));
    connect(ui->action_6, &QAction::triggered, this, after(ChannelUndo::Change::ModuleRead));
    connect(ui->pushButton_2, &QPushButton::clicked, this,
            after(ChannelUndo::Change::WriteEmptied));
    connect(ui->action_8, &QAction::triggered, this, after(ChannelUndo::Change::WriteEmptied));
    connect(ui->action, &QAction::triggered, this, after(ChannelUndo::Change::ConfigLoaded));
    connect(ui->actOpenCfgFile, &QAction::triggered, this,
            after(ChannelUndo::Change::ConfigLoaded));
    retranslateChannelEditing();
}

void MainWindow::retranslateChannelEditing()
{
    const auto name = [this](const QString &objectName, const QString &text) {
        if (auto *action = findChild<QAction *>(objectName))
            action->setText(text);
    };
    name(kImportAction, tr("导入 CSV…"));
    name(kExportAction, tr("导出 CSV…"));
    name(kCopyAllAction, tr("复制全部频道"));
    name(kCopyAction, tr("复制频道"));
    name(kPasteAction, tr("粘贴频道"));
    for (int n = 1; n <= ChannelValues::kChannelCount; ++n) {
        name(channelActionName("Copy", n), tr("复制频道"));
        name(channelActionName("Paste", n), tr("粘贴频道"));
        name(channelActionName("Clear", n), tr("清除频道"));
    }
    if (auto *menu = findChild<QMenu *>(kEditMenu))
        menu->setTitle(tr("编辑(&E)"));
    m_channelUndo->retranslate();
}

void MainWindow::importChannelCsv()
{
    // Plans come under any name (mailed, downloaded): every file can be chosen.
    const QString path =
        chooseConfigFile(false, tr("导入 CSV"), tr("CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    m_channelUndo->finishEditing();
    UserConfig config = m_userPage->config();
    QString error;
    const auto imported =
        ChirpCsv::importFile(path, config.channels, {bandMinimum(), bandMaximum()}, &error);
    if (!imported) {
        MessageBox::critical(this, tr("错误"), error);
        return;
    }
    if (!imported->placed.isEmpty()) {
        config.channels = imported->channels;
        UserBindings::showChannels(m_userPage->widgets(), config, allChannels());
        m_channelUndo->record(ChannelUndo::Change::Import);
    }
    const bool problems = imported->placed.isEmpty() || !imported->outOfBand.isEmpty();
    MessageBox::show(this,
                     {problems ? QMessageBox::Warning : QMessageBox::Information, tr("导入 CSV"),
                      (QStringList(imported->headline) + imported->outcome).join(QLatin1Char('\n')),
                      imported->notes.join(QLatin1Char('\n'))});
}

void MainWindow::exportChannelCsv()
{
    QString path = chooseConfigFile(true, tr("导出 CSV"), kCsvFilter);
    if (path.isEmpty())
        return;
    // The dialog asked about replacing the name as typed; the name with ".csv" is asked here.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
        if (QFileInfo::exists(path) &&
            MessageBox::warningYesNo(this, tr("导出 CSV"),
                                     tr("%1 已存在。要替换它吗？").arg(path)) != QMessageBox::Yes)
            return;
    }
    m_channelUndo->finishEditing();
    const ChirpCsv::Export exported = ChirpCsv::write(m_userPage->config().channels);
    QString error;
    if (exported.written.isEmpty()) {
        MessageBox::show(this, {QMessageBox::Warning, tr("导出 CSV"), exported.headline, {}});
        return;
    }
    if (!ChirpCsv::writeFile(path, exported.csv, &error)) {
        MessageBox::critical(this, tr("错误"), error);
        return;
    }
    if (exported.notes.isEmpty())
        showStatus(exported.headline);
    else
        MessageBox::show(this, {QMessageBox::Information, tr("导出 CSV"), exported.headline,
                                exported.notes.join(QLatin1Char('\n'))});
}

void MainWindow::copyChannels(int channel)
{
    m_channelUndo->finishEditing();
    const ChirpCsv::Export copied = ChirpCsv::write(
        m_userPage->config().channels, channel > 0 ? QVector<int>{channel} : QVector<int>());
    QGuiApplication::clipboard()->setText(QString::fromUtf8(copied.csv));
    showStatus(tr("已复制 %1 个频道").arg(copied.written.size()));
}

void MainWindow::pasteChannels(int channel)
{
    m_channelUndo->finishEditing();
    UserConfig config = m_userPage->config();
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    const ChirpCsv::Import pasted =
        ChirpCsv::paste(text, config.channels, channel, {bandMinimum(), bandMaximum()});
    config.channels = pasted.channels;
    UserBindings::showChannels(m_userPage->widgets(), config, pasted.placed);
    m_channelUndo->record(ChannelUndo::Change::Paste);
    const bool problems = pasted.placed.isEmpty() || !pasted.outOfBand.isEmpty();
    if (pasted.notes.isEmpty() && !problems)
        showStatus(pasted.headline);
    else
        MessageBox::show(this,
                         {problems ? QMessageBox::Warning : QMessageBox::Information,
                          tr("粘贴频道"), pasted.headline, pasted.notes.join(QLatin1Char('\n'))});
}

void MainWindow::clearChannel(int channel)
{
    m_channelUndo->finishEditing();
    UserBindings::blankChannel(m_userPage->widgets(), channel);
    m_channelUndo->record(ChannelUndo::Change::Clear, channel);
}
