// Channel plans in CHIRP's CSV in the window: the file menu's import and export, copy, paste
// and clear on each channel's number, and the edit menu with the table's undo history. The
// texts keep the window's translation context.
#include "ui/userpage/channelediting.h"
#include "ui_mainwindow.h"

#include "config/chirpcsv.h"
#include "config/userconfig.h"

#include "session/channelvalues.h"
#include "ui/messagebox.h"
#include "ui/userpage/channelundo.h"
#include "ui/userpage/userbindings.h"
#include "ui/userpage/userpage.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
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

ChannelEditing::ChannelEditing(QMainWindow *window, Ui::MainWindow *ui, UserPage &page,
                               WindowParts parts)
    : m_window(window)
    , m_ui(ui)
    , m_page(page)
    , m_parts(std::move(parts))
{}

void ChannelEditing::build()
{
    m_undo = new ChannelUndo(m_ui->wdgFreqBox, m_window);

    auto *import = new QAction(m_window);
    import->setObjectName(kImportAction);
    QObject::connect(import, &QAction::triggered, m_window, [this] { importCsv(); });
    auto *exportCsv = new QAction(m_window);
    exportCsv->setObjectName(kExportAction);
    QObject::connect(exportCsv, &QAction::triggered, m_window, [this] { this->exportCsv(); });
    m_ui->menu->insertActions(m_ui->action_4, {import, exportCsv});
    m_ui->menu->insertSeparator(m_ui->action_4);

    auto *editMenu = new QMenu(m_window);
    editMenu->setObjectName(kEditMenu);
    editMenu->addAction(m_undo->undoAction());
    editMenu->addAction(m_undo->redoAction());
    m_ui->menubar->insertMenu(m_ui->menuShebei->menuAction(), editMenu);
    // The keys work wherever the focus is in the window, not only through the menu.
    m_window->addActions({m_undo->undoAction(), m_undo->redoAction()});

    // The channel holding the focus, or every channel in use when the focus is elsewhere; the
    // keys while the focus is in the table (a frequency cell keeps them for its own text).
    auto *copy = new QAction(m_window);
    copy->setObjectName(kCopyAction);
    copy->setShortcuts(QKeySequence::Copy);
    QObject::connect(copy, &QAction::triggered, m_window,
                     [this] { copyChannels(m_page.channelOf(m_window->focusWidget())); });
    auto *paste = new QAction(m_window);
    paste->setObjectName(kPasteAction);
    paste->setShortcuts(QKeySequence::Paste);
    QObject::connect(paste, &QAction::triggered, m_window,
                     [this] { pasteChannels(qMax(1, m_page.channelOf(m_window->focusWidget()))); });
    for (QAction *action : {copy, paste}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_ui->wdgFreqBox->addAction(action);
    }
    editMenu->addSeparator();
    editMenu->addActions({copy, paste});

    auto *grid = qobject_cast<QGridLayout *>(m_ui->wdgFreqBox->layout());
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
        QObject::connect(actions[0], &QAction::triggered, m_window, [this, n] { copyChannels(n); });
        QObject::connect(actions[1], &QAction::triggered, m_window,
                         [this, n] { pasteChannels(n); });
        QObject::connect(actions[2], &QAction::triggered, m_window, [this, n] { clearChannel(n); });
        number->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(number, &QWidget::customContextMenuRequested, m_window,
                         [this, n, number, actions](const QPoint &at) {
                             actions[0]->setEnabled(m_page.config().channels[n - 1].rxFreq != 0);
                             actions[1]->setEnabled(
                                 !QGuiApplication::clipboard()->text().isEmpty());
                             QMenu::exec(actions, number->mapToGlobal(at), nullptr, number);
                         });
    }
    auto *copyAll = new QAction(m_ui->wdgFreqBox);
    copyAll->setObjectName(kCopyAllAction);
    QObject::connect(copyAll, &QAction::triggered, m_window, [this] { copyChannels(0); });
    m_ui->wdgFreqBox->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(m_ui->wdgFreqBox, &QWidget::customContextMenuRequested, m_window,
                     [this, copyAll](const QPoint &at) {
                         QMenu::exec({copyAll}, m_ui->wdgFreqBox->mapToGlobal(at), nullptr,
                                     m_ui->wdgFreqBox);
                     });

    // The operations that change the table have run to their end when their own slot, connected
    // first by the form, returns; a click refused while another operation runs changes nothing.
    const auto after = [this](ChannelUndo::Change change) {
        return [this, change] {
            if (!m_parts.isOperationRunning())
                m_undo->record(change);
        };
    };
    QObject::connect(m_ui->pushButton, &QPushButton::clicked, m_window,
                     after(ChannelUndo::Change::ModuleRead));
    QObject::connect(m_ui->action_6, &QAction::triggered, m_window,
                     after(ChannelUndo::Change::ModuleRead));
    QObject::connect(m_ui->pushButton_2, &QPushButton::clicked, m_window,
                     after(ChannelUndo::Change::WriteEmptied));
    QObject::connect(m_ui->action_8, &QAction::triggered, m_window,
                     after(ChannelUndo::Change::WriteEmptied));
    QObject::connect(m_ui->action, &QAction::triggered, m_window,
                     after(ChannelUndo::Change::ConfigLoaded));
    QObject::connect(m_ui->actOpenCfgFile, &QAction::triggered, m_window,
                     after(ChannelUndo::Change::ConfigLoaded));
    retranslate();
}

void ChannelEditing::retranslate()
{
    const auto name = [this](const QString &objectName, const QString &text) {
        if (auto *action = m_window->findChild<QAction *>(objectName))
            action->setText(text);
    };
    name(kImportAction, QCoreApplication::translate("MainWindow", "导入 CSV…"));
    name(kExportAction, QCoreApplication::translate("MainWindow", "导出 CSV…"));
    name(kCopyAllAction, QCoreApplication::translate("MainWindow", "复制全部频道"));
    name(kCopyAction, QCoreApplication::translate("MainWindow", "复制频道"));
    name(kPasteAction, QCoreApplication::translate("MainWindow", "粘贴频道"));
    for (int n = 1; n <= ChannelValues::kChannelCount; ++n) {
        name(channelActionName("Copy", n), QCoreApplication::translate("MainWindow", "复制频道"));
        name(channelActionName("Paste", n), QCoreApplication::translate("MainWindow", "粘贴频道"));
        name(channelActionName("Clear", n), QCoreApplication::translate("MainWindow", "清除频道"));
    }
    if (auto *menu = m_window->findChild<QMenu *>(kEditMenu))
        menu->setTitle(QCoreApplication::translate("MainWindow", "编辑(&E)"));
    m_undo->retranslate();
}

void ChannelEditing::importCsv()
{
    // Plans come under any name (mailed, downloaded): every file can be chosen.
    const QString path = m_parts.chooseFile(
        false, QCoreApplication::translate("MainWindow", "导入 CSV"),
        QCoreApplication::translate("MainWindow", "CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    m_undo->finishEditing();
    UserConfig config = m_page.config();
    QString error;
    const auto imported =
        ChirpCsv::importFile(path, config.channels,
                             {m_page.widgets().bandMinimum, m_page.widgets().bandMaximum}, &error);
    if (!imported) {
        MessageBox::critical(m_window, QCoreApplication::translate("MainWindow", "错误"), error);
        return;
    }
    if (!imported->placed.isEmpty()) {
        config.channels = imported->channels;
        UserBindings::showChannels(m_page.widgets(), config, allChannels());
        m_undo->record(ChannelUndo::Change::Import);
    }
    const bool problems = imported->placed.isEmpty() || !imported->outOfBand.isEmpty();
    MessageBox::show(m_window,
                     {problems ? QMessageBox::Warning : QMessageBox::Information,
                      QCoreApplication::translate("MainWindow", "导入 CSV"),
                      (QStringList(imported->headline) + imported->outcome).join(QLatin1Char('\n')),
                      imported->notes.join(QLatin1Char('\n'))});
}

void ChannelEditing::exportCsv()
{
    QString path =
        m_parts.chooseFile(true, QCoreApplication::translate("MainWindow", "导出 CSV"), kCsvFilter);
    if (path.isEmpty())
        return;
    // The dialog asked about replacing the name as typed; the name with ".csv" is asked here.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
        if (QFileInfo::exists(path) &&
            MessageBox::warningYesNo(
                m_window, QCoreApplication::translate("MainWindow", "导出 CSV"),
                QCoreApplication::translate("MainWindow", "%1 已存在。要替换它吗？").arg(path)) !=
                QMessageBox::Yes)
            return;
    }
    m_undo->finishEditing();
    const ChirpCsv::Export exported = ChirpCsv::write(m_page.config().channels);
    QString error;
    if (exported.written.isEmpty()) {
        MessageBox::show(m_window, {QMessageBox::Warning,
                                    QCoreApplication::translate("MainWindow", "导出 CSV"),
                                    exported.headline,
                                    {}});
        return;
    }
    if (!ChirpCsv::writeFile(path, exported.csv, &error)) {
        MessageBox::critical(m_window, QCoreApplication::translate("MainWindow", "错误"), error);
        return;
    }
    if (exported.notes.isEmpty())
        m_parts.showStatus(exported.headline);
    else
        MessageBox::show(m_window, {QMessageBox::Information,
                                    QCoreApplication::translate("MainWindow", "导出 CSV"),
                                    exported.headline, exported.notes.join(QLatin1Char('\n'))});
}

void ChannelEditing::copyChannels(int channel)
{
    m_undo->finishEditing();
    const ChirpCsv::Export copied = ChirpCsv::write(
        m_page.config().channels, channel > 0 ? QVector<int>{channel} : QVector<int>());
    QGuiApplication::clipboard()->setText(QString::fromUtf8(copied.csv));
    m_parts.showStatus(
        QCoreApplication::translate("MainWindow", "已复制 %1 个频道").arg(copied.written.size()));
}

void ChannelEditing::pasteChannels(int channel)
{
    m_undo->finishEditing();
    UserConfig config = m_page.config();
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    const ChirpCsv::Import pasted =
        ChirpCsv::paste(text, config.channels, channel,
                        {m_page.widgets().bandMinimum, m_page.widgets().bandMaximum});
    config.channels = pasted.channels;
    UserBindings::showChannels(m_page.widgets(), config, pasted.placed);
    m_undo->record(ChannelUndo::Change::Paste);
    const bool problems = pasted.placed.isEmpty() || !pasted.outOfBand.isEmpty();
    if (pasted.notes.isEmpty() && !problems)
        m_parts.showStatus(pasted.headline);
    else
        MessageBox::show(m_window, {problems ? QMessageBox::Warning : QMessageBox::Information,
                                    QCoreApplication::translate("MainWindow", "粘贴频道"),
                                    pasted.headline, pasted.notes.join(QLatin1Char('\n'))});
}

void ChannelEditing::clearChannel(int channel)
{
    m_undo->finishEditing();
    UserBindings::blankChannel(m_page.widgets(), channel);
    m_undo->record(ChannelUndo::Change::Clear, channel);
}
