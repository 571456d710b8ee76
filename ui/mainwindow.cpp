#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "app/version.h"
#include "records/recorder.h"
#include "serial/mserialport.h"
#include "ui/actionfreeze.h"
#include "ui/factorypages/factorypage.h"
#include "ui/formabout.h"
#include "ui/loadingwidget.h"
#include "ui/messagebox.h"
#include "ui/pagereveal.h"
#include "ui/screenfit.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/station/stationmenu.h"
#include "ui/stats/statisticsmenu.h"
#include "ui/userpage/channelediting.h"
#include "ui/userpage/userpage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {
constexpr int kStatusMs = 3000;  // every status bar message
constexpr int kLedFlashMs = 300; // traffic lamps stay lit this long after the last activity
constexpr int kLedSizePx = 10;
constexpr int kCounterMinWidthPx = 50;
constexpr int kVersionMinWidthPx = 60;
const QString kUserPageName = QStringLiteral("tab_user");
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    m_factoryPage =
        std::make_unique<FactoryPage>(this, m_engine, static_cast<FailureReporter &>(*this));
    // The overlay keeps the mouse out; the keyboard reaches menus and shortcuts through the
    // application, so a second action is refused there.
    qApp->installEventFilter(this);

    if (startupLanguage == Language::kEnglish) {
        ui->action_en_US->setChecked(true);
        ui->action_zh_CN->setChecked(false);
    } else if (startupLanguage == Language::kChinese) {
        ui->action_zh_CN->setChecked(true);
        ui->action_en_US->setChecked(false);
    }

    ScreenFit::wrapPages(ui->tabWidget_2);

    // Only the user page is shown; the factory pages wait in tabPages for the key sequence.
    for (int index = 0; index < ui->tabWidget_2->count();) {
        QWidget *page = ui->tabWidget_2->widget(index);
        page->setProperty("tabName", ui->tabWidget_2->tabText(index));
        tabPages.append(page);
        if (!page->objectName().contains(kUserPageName))
            ui->tabWidget_2->removeTab(index);
        else
            ++index;
    }
    connect(ui->tabWidget_2, &QTabWidget::tabCloseRequested, this, &MainWindow::onTabCloseRequest);

    loadingWidget = new LoadingWidget(this);
    setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    updateWindowTitle();

    m_userPage = std::make_unique<UserPage>(ui, freqMin, freqMax);
    for (QLineEdit *cell : m_userPage->buildChannelTable())
        connect(cell, &QLineEdit::editingFinished, this, &MainWindow::onEditingFinished);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old && old == m_uncheckedCell && !m_operationRunning)
            emit m_uncheckedCell->editingFinished();
    });
    m_channelEditing = std::make_unique<ChannelEditing>(
        this, ui, *m_userPage,
        ChannelEditing::WindowParts{[this](bool save, const QString &title, const QString &filter) {
                                        return chooseConfigFile(save, title, filter);
                                    },
                                    [this](const QString &text) { showStatus(text); },
                                    [this] {
                                        return isOperationRunning();
                                    }});
    m_channelEditing->build();
    buildUnitSafety();
    buildStatusBar();
    buildSupportMenu();
    buildCalibrationWizard();
    StationMenu::install(this);
    StatisticsMenu::install(this, [this](QString *problem) { return historyTarget(problem); });

    m_engine.setReporter(this);
    m_engine.setDevice(appSerialPort);
    connect(&m_engine, &CommandEngine::frameSent, this, [this](const QByteArray &frame) {
        setLed(txLed, false);
        txTotal += frame.size();
        txCountLabel->setText(QStringLiteral("Tx: %1").arg(txTotal));
    });

    appSerialPort->setRxTimeout(MSerialPort::kDefaultRxTimeoutMs);
    // A reply that is complete needs no quiet interval before it is handled.
    appSerialPort->setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    connect(appSerialPort, &MSerialPort::openStateChanged, this,
            &MainWindow::onSerialPortOpenStateChange);
    connect(appSerialPort, &MSerialPort::onReceived, this, &MainWindow::onSerialPortReceived);
    connect(appSerialPort, &MSerialPort::onError, this, &MainWindow::onSerialPortError);
    connect(appSerialPort, &MSerialPort::connectionLost, this, [this] { m_lineLost = true; });

    serialForm = new FormSerialPortSetting;
    serialForm->setOperationFrame([this](const std::function<bool()> &probe) {
        return runOperation(OperationKind::Read, probe);
    });

    connect(loadingWidget, &LoadingWidget::userCancel, this, &MainWindow::onLoadingUserCancel);

    connectAdjustButtons(this);
    // Once every page holds its cells, the channel table's included.
    ScreenFit::scrollByWheel(this, tabPages);
    ScreenFit::fitToScreen(this);
}

MainWindow::~MainWindow()
{
    // A focused frequency cell finishes its edit when the closing window takes its focus away;
    // by then this window is no longer a MainWindow to run the check on.
    for (QLineEdit *cell : ui->wdgFreqBox->findChildren<QLineEdit *>())
        disconnect(cell, nullptr, this, nullptr);
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    delete ui;
}

void MainWindow::buildStatusBar()
{
    auto *modelLabel = new QLabel(kModelName, this);
    modelLabel->setMinimumWidth(kCounterMinWidthPx);
    auto *versionLabel = new QLabel(kSoftwareVersion, this);
    versionLabel->setMinimumWidth(kVersionMinWidthPx);
    lblStatusMsg = new QLabel(this);
    lblStatusMsg->setTextFormat(Qt::PlainText);
    txCountLabel = new QLabel(QStringLiteral("Tx: 0"), this);
    txCountLabel->setMinimumWidth(kCounterMinWidthPx);
    rxCountLabel = new QLabel(QStringLiteral("Rx: 0"), this);
    rxCountLabel->setMinimumWidth(kCounterMinWidthPx);

    auto *lamps = new QWidget(this);
    auto *lampLayout = new QHBoxLayout(lamps);
    lampLayout->setContentsMargins(0, 0, 5, 0);
    for (QLabel **led : {&portLed, &txLed, &rxLed}) {
        *led = new QLabel(lamps);
        (*led)->setFixedSize(kLedSizePx, kLedSizePx);
        (*led)->setScaledContents(true);
        lampLayout->addWidget(*led);
        setLed(*led, true);
    }

    ui->statusbar->addPermanentWidget(modelLabel, 0);
    ui->statusbar->addPermanentWidget(versionLabel, 0);
    ui->statusbar->addPermanentWidget(lblStatusMsg, 1);
    ui->statusbar->addPermanentWidget(txCountLabel, 0);
    ui->statusbar->addPermanentWidget(rxCountLabel, 0);
    ui->statusbar->addPermanentWidget(lamps, 0);

    txLedTimer = new QTimer(this);
    rxLedTimer = new QTimer(this);
    for (QTimer *timer : {txLedTimer, rxLedTimer}) {
        timer->setSingleShot(true);
        timer->setInterval(kLedFlashMs);
    }
    connect(txLedTimer, &QTimer::timeout, this, &MainWindow::onLEDTxTimeout);
    connect(rxLedTimer, &QTimer::timeout, this, &MainWindow::onLEDRxTimeout);
    connect(ui->statusbar, &QStatusBar::messageChanged, this, &MainWindow::onStatusMsgChanged);
    showStatus(QStringLiteral("Ready"));
}

void MainWindow::updateWindowTitle()
{
    setWindowTitle(tr("LX-815 配置工具"));
}

void MainWindow::showStatus(const QString &text)
{
    ui->statusbar->showMessage(text, kStatusMs);
}

void MainWindow::setLed(QLabel *led, bool off)
{
    QString image;
    QTimer *timer = nullptr;
    if (led == portLed) {
        image = off ? QStringLiteral(":/images/led-yellow-off.png")
                    : QStringLiteral(":/images/led-yellow-on.png");
    } else if (led == txLed) {
        image = off ? QStringLiteral(":/images/led-red-off.png")
                    : QStringLiteral(":/images/led-red-on.png");
        timer = txLedTimer;
    } else if (led == rxLed) {
        image = off ? QStringLiteral(":/images/led-green-off.png")
                    : QStringLiteral(":/images/led-green-on.png");
        timer = rxLedTimer;
    } else {
        return;
    }
    led->setPixmap(QPixmap(image));
    if (!off && timer)
        timer->start(kLedFlashMs);
}

void MainWindow::logFailure(const QString &text)
{
    if (m_failureLog && !text.isEmpty() && !m_failureLog->split(QLatin1Char('\n')).contains(text))
        *m_failureLog += (m_failureLog->isEmpty() ? QString() : QStringLiteral("\n")) + text;
}

void MainWindow::reportFailure(const QString &text)
{
    // The history hears every failure, also one without a box of its own.
    logFailure(text);
    // The lost line has its own message; the operation it broke only ends, with its status text.
    if (m_operationRunning && m_lineLost)
        return;
    refuse(text);
}

bool MainWindow::refuse(const QString &text)
{
    MessageBox::critical(this, tr("错误"), text);
    return false;
}

QString MainWindow::chooseConfigFile(bool save, const QString &title, const QString &filter)
{
    QString chosen;
    if (m_fileChooser)
        chosen = m_fileChooser(save, title, lastCfgDir);
    else if (save)
        chosen = QFileDialog::getSaveFileName(this, title, lastCfgDir, filter);
    else
        chosen = QFileDialog::getOpenFileName(this, title, lastCfgDir, filter);
    if (!chosen.isEmpty())
        lastCfgDir = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool MainWindow::runOperation(OperationKind kind, const std::function<bool()> &operation)
{
    // The actions are held back while an operation runs; what still gets here (a button clicked
    // from code, the serial settings' probe) is refused.
    if (m_operationRunning) {
        refuseWhileBusy();
        return false;
    }
    m_operationRunning = true;
    m_lineLost = false;
    // A cell being edited gets its entry check when the user leaves it, not when the overlay
    // takes the focus; the focus goes back to it afterwards.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    if (serialForm)
        serialForm->setEnabled(false);
    m_engine.clearCancel();
    loadingWidget->setText(QString());
    loadingWidget->fitToParent();
    loadingWidget->show();
    loadingWidget->raise();
    loadingWidget->setFocus();
    // After the focus left a cell, whose pending edit became its own undo step.
    std::optional<ActionFreeze> frozen(std::in_place, commandActions());

    const bool ok = operation();

    if (kind == OperationKind::Read)
        showStatus(ok ? tr("读取成功！") : tr("读取失败！"));
    else
        showStatus(ok ? tr("设置成功！") : tr("设置失败！"));
    // Back before the overlay hides: the hidden overlay would hand the focus to the next
    // widget in the chain, a frequency cell.
    if (focused && focused->isVisible())
        focused->setFocus();
    loadingWidget->hide();
    m_operationRunning = false;
    frozen.reset();
    if (serialForm)
        serialForm->setEnabled(true);
    return ok;
}

QList<QAction *> MainWindow::commandActions() const
{
    // The menus' entries, the tool bar, the window's shortcuts and the channel numbers' menus.
    QList<QAction *> found =
        actions() + ui->toolBar->actions() + ui->wdgFreqBox->findChildren<QAction *>();
    for (QList<QAction *> menus = ui->menubar->actions(); !menus.isEmpty();) {
        QAction *entry = menus.takeFirst();
        if (entry->menu())
            menus += entry->menu()->actions();
        found.append(entry);
    }
    return found;
}

void MainWindow::setProgress(int percent)
{
    loadingWidget->setText(QStringLiteral("%1%").arg(percent));
}

void MainWindow::onLoadingUserCancel()
{
    m_engine.cancel();
    if (m_wizardCancel)
        m_wizardCancel();
}

void MainWindow::onStatusMsgChanged(const QString &msg)
{
    lblStatusMsg->setText(msg);
}

void MainWindow::onLEDTxTimeout()
{
    setLed(txLed, true);
}

void MainWindow::onLEDRxTimeout()
{
    setLed(rxLed, true);
}

void MainWindow::onSerialPortError(int errNo, const QString &msg)
{
    switch (errNo) {
    case QSerialPort::PermissionError:
    case QSerialPort::FramingError:
    case QSerialPort::BreakConditionError:
    case QSerialPort::NotOpenError:
        return;
    default:
        break;
    }
    // A line lost in the middle of a recorded operation is that operation's failure.
    logFailure(msg);
    // The same error reported again while its box is still open adds nothing.
    const QString key = QString::number(errNo) + QLatin1Char('\n') + msg;
    if (m_serialErrorsShown.contains(key))
        return;
    m_serialErrorsShown.append(key);
    MessageBox::critical(this, tr("Error"), msg, appSerialPort->lastErrorAdvice());
    m_serialErrorsShown.removeOne(key);
}

void MainWindow::onSerialPortReceived(const QByteArray &data)
{
    setLed(rxLed, false);
    rxTotal += data.size();
    rxCountLabel->setText(QStringLiteral("Rx: %1").arg(rxTotal));
    // The wizard's worker takes the replies while it runs.
    if (!m_wizardRunning)
        m_engine.receive(data);
}

void MainWindow::onSerialPortOpenStateChange()
{
    const bool open = appSerialPort->isOpen();
    setLed(portLed, !open);
    showStatus(open ? tr("串口已打开") : tr("串口已关闭"));
}

void MainWindow::on_actSerialPortConfig_triggered()
{
    on_action_9_triggered();
}

void MainWindow::on_action_9_triggered()
{
    if (!serialForm)
        return;
    if (!serialForm->isVisible())
        ScreenFit::placeBeside(serialForm, this, {ui->toolBar, ui->widget});
    serialForm->show();
    serialForm->raise();
}

void MainWindow::on_action_4_triggered()
{
    close();
}

void MainWindow::onTabCloseRequest(int index)
{
    qDebug() << index;
    if (index != 0)
        ui->tabWidget_2->removeTab(index);
    showFactoryMenu();
}

void MainWindow::on_action_11_triggered()
{
    if (!aboutForm)
        aboutForm = new FormAbout;
    aboutForm->setWindowFlags(Qt::FramelessWindowHint);
    aboutForm->setWindowModality(Qt::ApplicationModal);
    aboutForm->show();
}

void MainWindow::on_action_en_US_triggered()
{
    if (!ui->action_en_US->isChecked())
        return;
    switchLanguage(Language::kEnglish);
    ui->action_zh_CN->setChecked(false);
    ui->retranslateUi(this);
    updateWindowTitle();
    retranslateSerialForm();
    m_channelEditing->retranslate();
    retranslateUnitSafety();
    retranslateSupportMenu();
    retranslateCalibrationWizard();
}

void MainWindow::on_action_zh_CN_triggered()
{
    if (!ui->action_zh_CN->isChecked())
        return;
    switchLanguage(Language::kChinese);
    ui->action_en_US->setChecked(false);
    ui->retranslateUi(this);
    updateWindowTitle();
    retranslateSerialForm();
    m_channelEditing->retranslate();
    retranslateUnitSafety();
    retranslateSupportMenu();
    retranslateCalibrationWizard();
}

void MainWindow::retranslateSerialForm()
{
    serialForm->retranslate();
}

void MainWindow::switchLanguage(const QString &code)
{
    Language::install(code);
    if (appConfig)
        appConfig->setValue(Language::kSettingsPath, code);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    loadingWidget->fitToParent();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The calibration keys the module down first; the window closes when it has ended.
    if (m_wizardCancel) {
        event->ignore();
        m_closeAfterWizard = true;
        m_wizardCancel();
        return;
    }
    if (m_operationRunning) {
        event->ignore();
        refuseWhileBusy();
        return;
    }
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_operationRunning && isOwnAction(watched)) {
        // Shortcuts of actions and the menu bar's mnemonics arrive as shortcut events; a lone
        // Alt would put the keyboard into the menu bar.
        const bool secondAction =
            event->type() == QEvent::Shortcut ||
            ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress ||
              event->type() == QEvent::KeyRelease) &&
             static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt);
        if (secondAction) {
            if (event->type() == QEvent::KeyPress || event->type() == QEvent::Shortcut)
                refuseWhileBusy();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::isOwnAction(const QObject *watched) const
{
    // A box the operation shows keeps its own keys.
    if (const auto *widget = qobject_cast<const QWidget *>(watched))
        return widget->window() == this;
    for (const QObject *object = watched; object; object = object->parent()) {
        if (object == this)
            return true;
    }
    return false;
}

void MainWindow::refuseWhileBusy()
{
    showStatus(tr("操作进行中，请稍候。"));
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // The reveal state is shared by both pages for the whole process.
    static PageReveal reveal;
    const PageReveal::Page page = reveal.press(event->key(), event->text());
    if (page == PageReveal::Page::None)
        return;
    const QString name = PageReveal::pageObjectName(page);
    for (QWidget *tab : qAsConst(tabPages)) {
        if (tab->objectName() == name)
            ui->tabWidget_2->addTab(tab, tab->property("tabName").toString());
    }
    ui->tabWidget_2->setTabsClosable(true);
    showFactoryMenu();
}
