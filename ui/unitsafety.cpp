// The window's side of production-line safety: the unit a factory file belongs to, the module
// compared with the window, and the history of every bulk read and write.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "records/operationrecorder.h"
#include "records/recorder.h"
#include "serial/mserialport.h"
#include "session/modulesnapshot.h"
#include "ui/factorypages/factorypage.h"
#include "ui/historydialog.h"
#include "ui/messagebox.h"
#include "ui/pagereveal.h"
#include "ui/userpage/channelediting.h"
#include "ui/userpage/channelundo.h"
#include "ui/userpage/userpage.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {
const QString kVerifyAction = QStringLiteral("actVerifyModule");
const QString kHistoryAction = QStringLiteral("actHistory");
const QString kEnabledPath = QStringLiteral("/Records/Enabled");
const QString kDatabasePath = QStringLiteral("/Records/Database");
} // namespace

void MainWindow::buildUnitSafety()
{
    auto *verify = new QAction(this);
    verify->setObjectName(kVerifyAction);
    connect(verify, &QAction::triggered, this, &MainWindow::verifyModule);
    auto *history = new QAction(this);
    history->setObjectName(kHistoryAction);
    connect(history, &QAction::triggered, this, &MainWindow::showHistory);
    ui->menuShebei->addSeparator();
    ui->menuShebei->addActions({verify, history});
    retranslateUnitSafety();
}

void MainWindow::retranslateUnitSafety()
{
    if (auto *verify = findChild<QAction *>(kVerifyAction))
        verify->setText(tr("校验模块"));
    if (auto *history = findChild<QAction *>(kHistoryAction))
        history->setText(tr("历史记录…"));
}

void MainWindow::identificationStarted()
{
    m_unit.reset();
}

void MainWindow::identificationDone(const ModuleIdentity &identity)
{
    m_unit = identity;
    m_unitReadAt = QDateTime::currentDateTimeUtc();
}

MJsonConfig::Entries MainWindow::unitEntries(const MJsonConfig &file) const
{
    if (m_unit)
        return FileUnit::entries(*m_unit, m_unitReadAt);
    // A file saved before from another module must not go on naming that one.
    if (file.object().contains(QLatin1String(FileUnit::kPath).mid(1)))
        return {{QLatin1String(FileUnit::kPath), QJsonValue::Null}};
    return {};
}

bool MainWindow::rememberFileUnit(const QJsonObject &file)
{
    QString why;
    const auto unit = FileUnit::fromJson(file, &why);
    if (!unit)
        return refuse(why);
    m_factoryFileUnit = unit->serialNumber;
    return true;
}

bool MainWindow::confirmFactoryUnit()
{
    if (m_factoryFileUnit.isEmpty() || !m_unit || m_unit->serialNumber.isEmpty() ||
        m_unit->serialNumber == m_factoryFileUnit)
        return true;
    const auto answer = MessageBox::show(
        this,
        {QMessageBox::Warning, tr("警告"),
         tr("这些校准参数属于序列码 %1 的模块，而已识别的模块序列码是 %2。仍然写入吗？")
             .arg(m_factoryFileUnit, m_unit->serialNumber),
         QString()},
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    // The history says whose calibration this unit got.
    m_recordNote = tr("文件的校准属于序列码 %1 的模块，写入了序列码 %2 的模块。")
                       .arg(m_factoryFileUnit, m_unit->serialNumber);
    return true;
}

Recorder *MainWindow::recorder()
{
    if (!appConfig || !appConfig->value(kEnabledPath, true).toBool())
        return nullptr;
    QString problem;
    const auto target = historyTarget(&problem);
    if (!target) {
        // Said once per setting, not at every operation.
        if (m_recordsProblem != problem) {
            m_recordsProblem = problem;
            refuse(problem);
        }
        return nullptr;
    }
    const QString database = appConfig->value(kDatabasePath).toString();
    if (!m_recorder || m_recordsTarget != database) {
        m_recorder = std::make_unique<Recorder>(*target);
        m_recordsTarget = database;
        connect(m_recorder.get(), &Recorder::problem, this, [this](const QString &text) {
            if (m_recordsProblem != text) {
                m_recordsProblem = text;
                showStatus(text);
            }
        });
    }
    return m_recorder.get();
}

bool MainWindow::runRecorded(OperationKind kind, const QString &operation, bool factorySide,
                             const std::function<bool(ModuleSession &)> &sequence)
{
    OperationReport report;
    report.operation = operation;
    report.port = appSerialPort->portName();
    std::optional<ModuleSnapshot> snapshot;
    bool ran = false;
    const auto before = m_engine.statistics();
    QString *const outerMessages = m_failureLog;
    m_failureLog = &report.message;
    const bool ok = runSequence(kind, [&](ModuleSession &session) {
        ran = true;
        report.started = QDateTime::currentDateTimeUtc();
        const bool done = sequence(session);
        ModuleSnapshot values;
        values.readAt = QDateTime::currentDateTimeUtc();
        if (!factorySide)
            values.user = kind == OperationKind::Read ? session.userValues() : m_userPage->config();
        else
            values.factory = kind == OperationKind::Read ? session.factoryValues()
                                                         : m_factoryPage->calibration();
        // A factory sequence names no unit itself: the information bar's does.
        values.identity = unitOf(session.identity());
        values.identified = !values.identity.serialNumber.isEmpty();
        if (done || kind == OperationKind::Write)
            snapshot = values;
        report.identity = values.identity;
        return done;
    });
    m_failureLog = outerMessages;
    const QString note = std::exchange(m_recordNote, QString());
    Recorder *const history = ran ? recorder() : nullptr;
    if (!history)
        return ok;
    report.finished = QDateTime::currentDateTimeUtc();
    report.outcome = ok ? OperationReport::Outcome::Pass : OperationReport::Outcome::Error;
    report.requests = m_engine.statistics().framesSent - before.framesSent;
    report.retries = m_engine.statistics().retries - before.retries;
    if (snapshot)
        report.snapshot = snapshot->toJson();
    OperationRecorder::Extras extras;
    extras.note = note;
    keep(*history, report, extras);
    return ok;
}

ModuleIdentity MainWindow::unitOf(const ModuleIdentity &found) const
{
    return !found.serialNumber.isEmpty() ? found : m_unit ? *m_unit : ModuleIdentity{};
}

void MainWindow::keep(Recorder &history, const OperationReport &report,
                      OperationRecorder::Extras extras)
{
    extras.failureText = statusBar()->currentMessage();
    OperationRecorder(history, OperationRecorder::Source::thisHost()).record(report, extras);
}

std::optional<RecordsTarget> MainWindow::historyTarget(QString *problem) const
{
    const QString database = appConfig ? appConfig->value(kDatabasePath).toString() : QString();
    if (database.isEmpty())
        return RecordsTarget::userDefault();
    QString error;
    auto target = RecordsTarget::parse(database, &error);
    if (!target)
        *problem = tr("历史记录数据库设置 %1 无效：%2").arg(kDatabasePath, error);
    return target;
}

void MainWindow::showHistory()
{
    QString problem;
    const auto target = historyTarget(&problem);
    if (!target) {
        refuse(problem);
        return;
    }
    // What the window recorded last is in the list.
    if (m_recorder)
        m_recorder->drain();
    auto *dialog = new HistoryDialog(*target, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &HistoryDialog::snapshotChosen, this, &MainWindow::loadSnapshot);
    dialog->open();
}

void MainWindow::loadSnapshot(const QJsonObject &snapshot)
{
    if (!rememberFileUnit(snapshot))
        return;
    const auto store = MJsonConfig::inMemory(snapshot);
    const bool user = ModuleSnapshot::holdsUser(snapshot);
    const bool factory = ModuleSnapshot::holdsFactory(snapshot);
    // The edits it replaces come back with one undo, as after an import: the channel table's,
    // and those of the page values and the calibration it overwrote.
    m_channelEditing->undo().finishEditing();
    const auto pageBefore = UserBindings::pageState(m_userPage->widgets());
    const auto calibrationBefore = m_factoryPage->shownCalibration();
    if (user)
        m_userPage->apply(UserConfig::fromStore(*store));
    if (factory)
        m_factoryPage->applyCalibration(FactoryCalibration::fromStore(*store));
    const auto pageAfter = UserBindings::pageState(m_userPage->widgets());
    const auto calibrationAfter = m_factoryPage->shownCalibration();
    ChannelUndo::Beyond beyond;
    if (pageAfter != pageBefore || calibrationAfter != calibrationBefore) {
        // Only the sides it loaded: later edits of the other stay when it is undone.
        const auto show = [this, user, factory](const UserBindings::PageState &page,
                                                const FactoryPage::Shown &calibration) {
            if (user)
                UserBindings::restorePage(m_userPage->widgets(), page);
            if (factory)
                m_factoryPage->showAgain(calibration);
        };
        beyond.before = [=] {
            show(pageBefore, calibrationBefore);
        };
        beyond.after = [=] {
            show(pageAfter, calibrationAfter);
        };
    }
    m_channelEditing->undo().record(ChannelUndo::Change::HistoryLoaded, 0, std::move(beyond));

    // rememberFileUnit() took the unit the snapshot names.
    const QString serial = m_factoryFileUnit.isEmpty() ? tr("未识别") : m_factoryFileUnit;
    showStatus(user && factory ? tr("已载入历史记录：序列码 %1 的用户参数和校准参数").arg(serial)
               : user ? tr("已载入历史记录：序列码 %1 的用户参数").arg(serial)
                      : tr("已载入历史记录：序列码 %1 的校准参数").arg(serial));
}

bool MainWindow::isFactoryPageShown() const
{
    const QString name = PageReveal::pageObjectName(PageReveal::Page::Lx815);
    for (int i = 0; i < ui->tabWidget_2->count(); ++i) {
        if (ui->tabWidget_2->widget(i)->objectName() == name)
            return true;
    }
    return false;
}

void MainWindow::verifyModule()
{
    ModuleSnapshot expected;
    expected.user = m_userPage->config();
    const bool factory = isFactoryPageShown();
    if (factory)
        expected.factory = m_factoryPage->calibration();
    std::optional<ModuleSnapshot> actual;
    // No hooks: the widgets keep what the technician sees.
    const bool ok = runOperation(OperationKind::Read, [&] {
        ModuleSession session(m_engine, *this, [this](int percent) { setProgress(percent); });
        if (isDeviceInfoRead())
            session.assumeBand(freqMin, freqMax);
        actual = ModuleSnapshot::read(session, factory ? ModuleSnapshot::Sides::Both
                                                       : ModuleSnapshot::Sides::User);
        return actual.has_value();
    });
    if (!ok || !actual)
        return;
    showDifferences(SnapshotCompare::snapshots(expected, *actual));
}

void MainWindow::showDifferences(const FieldDifferences &differences)
{
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("verifyDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("校验模块"));
    auto *layout = new QVBoxLayout(dialog);
    auto *summary = new QLabel(dialog);
    summary->setObjectName(QStringLiteral("verifySummary"));
    summary->setText(differences.isEmpty()
                         ? tr("模块中的参数与窗口中的一致。")
                         : tr("模块中有 %1 项参数与窗口中的不同：").arg(differences.size()));
    layout->addWidget(summary);
    if (!differences.isEmpty()) {
        auto *table = new QTableWidget(differences.size(), 3, dialog);
        table->setObjectName(QStringLiteral("verifyDifferences"));
        table->setHorizontalHeaderLabels({tr("参数"), tr("窗口"), tr("模块")});
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->hide();
        for (int row = 0; row < differences.size(); ++row) {
            const FieldDifference &difference = differences[row];
            table->setItem(row, 0, new QTableWidgetItem(difference.field));
            table->setItem(row, 1, new QTableWidgetItem(difference.expected));
            table->setItem(row, 2, new QTableWidgetItem(difference.actual));
        }
        table->resizeColumnsToContents();
        table->horizontalHeader()->setStretchLastSection(true);
        layout->addWidget(table);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog->resize(560, differences.isEmpty() ? 120 : 360);
    dialog->open();
}
