#include "ui/station/stationwindow.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "records/recorder.h"
#include "records/recordstore.h"
#include "serial/mserialport.h"
#include "serial/portadvice.h"
#include "ui/messagebox.h"
#include "ui/screenfit.h"
#include "ui/station/lanesdialog.h"
#include "ui/station/lanetile.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 4; // 8 lanes in two rows on a 1366 x 768 screen
constexpr int kTileWidthPx = 320;
constexpr int kTileHeightPx = 226;
// Left for the window's frame and title bar, which are not known before it is shown.
constexpr QSize kFramePx(16, 40);
constexpr int kTotalsPointSize = 13;
const QString kDatabasePath = QStringLiteral("/Records/Database");

StationWindow::RecipeChooser &recipeChooser()
{
    static StationWindow::RecipeChooser chooser;
    return chooser;
}

StationWindow::OperatorAsker &operatorAsker()
{
    static StationWindow::OperatorAsker asker;
    return asker;
}

// The same device whatever name it is given by (a by-id link, "ttyUSB0", the full path).
QString deviceOf(const QString &port)
{
    const QString location = PortAdvice::systemLocation(port);
    const QString canonical = QFileInfo(location).canonicalFilePath();
    return canonical.isEmpty() ? location : canonical;
}

LaneTile::Tone toneOf(LaneStatus::State state)
{
    switch (state) {
    case LaneStatus::State::Running:
        return LaneTile::Tone::Running;
    case LaneStatus::State::Pass:
        return LaneTile::Tone::Pass;
    case LaneStatus::State::Marginal:
        return LaneTile::Tone::Marginal;
    case LaneStatus::State::Fail:
        return LaneTile::Tone::Fail;
    case LaneStatus::State::Error:
    case LaneStatus::State::PortGone:
        return LaneTile::Tone::Error;
    case LaneStatus::State::Waiting:
    case LaneStatus::State::Scanning:
    case LaneStatus::State::Ready:
    case LaneStatus::State::Stopped:
        break;
    }
    return LaneTile::Tone::Idle;
}
} // namespace

void StationWindow::setRecipeChooser(RecipeChooser chooser)
{
    recipeChooser() = std::move(chooser);
}

void StationWindow::setOperatorAsker(OperatorAsker asker)
{
    operatorAsker() = std::move(asker);
}

StationWindow::StationWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_openedAt(QDateTime::currentDateTimeUtc())
{
    setObjectName(QStringLiteral("stationWindow"));
    if (appConfig)
        m_setup = StationSetup::load(*appConfig);

    auto *layout = new QVBoxLayout(this);
    buildSetupBar();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("laneScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid = new QWidget(m_scroll);
    m_gridLayout = new QGridLayout(m_grid);
    m_gridLayout->setContentsMargins(0, 0, 0, 0);
    m_gridLayout->setSpacing(6);
    m_scroll->setWidget(m_grid);
    layout->addWidget(m_scroll, 1);

    auto *bottom = new QGridLayout;
    m_totalsLabel = new QLabel(this);
    m_totalsLabel->setObjectName(QStringLiteral("stationTotals"));
    m_totalsLabel->setTextFormat(Qt::PlainText);
    QFont font = m_totalsLabel->font();
    font.setPointSize(kTotalsPointSize);
    font.setBold(true);
    m_totalsLabel->setFont(font);
    bottom->addWidget(m_totalsLabel, 0, 0);
    m_todayLabel = new QLabel(this);
    m_todayLabel->setObjectName(QStringLiteral("stationToday"));
    m_todayLabel->setTextFormat(Qt::PlainText);
    bottom->addWidget(m_todayLabel, 1, 0);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("stationMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bottom->addWidget(m_message, 0, 1, 2, 1);
    bottom->setColumnStretch(1, 1);
    m_startAll = new QPushButton(this);
    m_startAll->setObjectName(QStringLiteral("stationStartAll"));
    bottom->addWidget(m_startAll, 0, 2, 2, 1);
    layout->addLayout(bottom);

    connect(m_startAll, &QPushButton::clicked, this, [this] {
        for (const auto &slot : m_slots) {
            if (slot->lane)
                slot->lane->startUnit();
        }
    });

    QStringList problems;
    if (!m_setup.recipePath.isEmpty()) {
        if (auto recipe = Recipe::load(m_setup.recipePath, &problems))
            m_recipe = std::make_shared<const Recipe>(std::move(*recipe));
    }
    m_recipeProblems = problems;
    retranslate();
    queryToday();

    // Two rows of four lanes on a laptop's screen; more rows scroll.
    const QRect available = ScreenFit::availableGeometry(screen());
    const int width = kColumns * kTileWidthPx + 60;
    const int height = sizeHint().height() - m_scroll->sizeHint().height() + 2 * kTileHeightPx + 24;
    resize(QSize(width, height).boundedTo(available.size() - kFramePx));
    move(available.topLeft() + QPoint((available.width() - this->width()) / 2,
                                      (available.height() - this->height()) / 2));
    buildLanes();
}

StationWindow::~StationWindow()
{
    // Each lane's destructor lets its unit finish and waits for its thread.
    m_slots.clear();
}

void StationWindow::buildSetupBar()
{
    auto *bar = new QGridLayout;
    auto *outer = qobject_cast<QVBoxLayout *>(layout());
    outer->addLayout(bar);

    m_recipeTitle = new QLabel(this);
    bar->addWidget(m_recipeTitle, 0, 0);
    m_recipeName = new QLabel(this);
    m_recipeName->setObjectName(QStringLiteral("stationRecipe"));
    m_recipeName->setTextFormat(Qt::PlainText);
    QFont bold = m_recipeName->font();
    bold.setBold(true);
    m_recipeName->setFont(bold);
    bar->addWidget(m_recipeName, 0, 1);
    m_recipeButton = new QPushButton(this);
    m_recipeButton->setObjectName(QStringLiteral("stationChooseRecipe"));
    bar->addWidget(m_recipeButton, 0, 2);

    m_operatorTitle = new QLabel(this);
    bar->addWidget(m_operatorTitle, 0, 3);
    m_operatorName = new QLabel(this);
    m_operatorName->setObjectName(QStringLiteral("stationOperator"));
    m_operatorName->setTextFormat(Qt::PlainText);
    m_operatorName->setFont(bold);
    bar->addWidget(m_operatorName, 0, 4);
    m_operatorButton = new QPushButton(this);
    m_operatorButton->setObjectName(QStringLiteral("stationChangeOperator"));
    bar->addWidget(m_operatorButton, 0, 5);
    m_lanesButton = new QPushButton(this);
    m_lanesButton->setObjectName(QStringLiteral("stationLanes"));
    bar->addWidget(m_lanesButton, 0, 6);
    bar->setColumnStretch(1, 1);

    m_recipeSteps = new QLabel(this);
    m_recipeSteps->setObjectName(QStringLiteral("stationRecipeSteps"));
    m_recipeSteps->setTextFormat(Qt::PlainText);
    m_recipeSteps->setWordWrap(true);
    bar->addWidget(m_recipeSteps, 1, 0, 1, 7);

    connect(m_recipeButton, &QPushButton::clicked, this, &StationWindow::chooseRecipe);
    connect(m_operatorButton, &QPushButton::clicked, this, &StationWindow::askOperator);
    connect(m_lanesButton, &QPushButton::clicked, this, &StationWindow::chooseLanes);
}

void StationWindow::retranslate()
{
    setWindowTitle(tr("LX-815 生产工位"));
    m_recipeTitle->setText(tr("配方："));
    m_recipeButton->setText(tr("选择配方…"));
    m_operatorTitle->setText(tr("操作员："));
    m_operatorButton->setText(tr("更换操作员…"));
    m_lanesButton->setText(tr("通道（%1）…").arg(m_setup.ports.size()));
    m_startAll->setText(tr("全部开始"));
    showRecipe(m_recipeProblems);
    showOperator();
    for (const auto &slot : m_slots) {
        slot->tile->retranslate();
        if (slot->status)
            onStatus(*slot, *slot->status);
        else if (!slot->refusal.isEmpty())
            slot->tile->setState(LaneTile::Tone::Error, tr("未启用"), slot->refusal);
        else
            slot->tile->setState(LaneTile::Tone::Idle, tr("未启动"));
    }
    showTotals();
}

void StationWindow::showRecipe(const QStringList &problems)
{
    if (!m_recipe) {
        m_recipeName->setText(m_setup.recipePath.isEmpty()
                                  ? tr("（未选择）")
                                  : QFileInfo(m_setup.recipePath).fileName());
        m_recipeSteps->setStyleSheet(problems.isEmpty() ? QString()
                                                        : QStringLiteral("color: #c62828;"));
        m_recipeSteps->setText(problems.isEmpty()
                                   ? tr("选择一个配方，工位就按它处理每个模块。")
                                   : tr("配方有问题：%1").arg(problems.join(QStringLiteral("; "))));
        return;
    }
    m_recipeName->setText(tr("%1（版本 %2）").arg(m_recipe->name, m_recipe->revision));
    m_recipeName->setToolTip(m_recipe->filePath);
    QStringList steps{QStringLiteral("identify")};
    for (const RecipeStep &step : m_recipe->steps)
        steps.append(RecipeStep::kindName(step.kind));
    QString mode =
        m_recipe->start == Recipe::Start::Button ? tr("按按钮开始") : tr("模块接上即开始");
    if (m_recipe->scan)
        mode += tr("，先扫描序列码");
    m_recipeSteps->setStyleSheet(QString());
    m_recipeSteps->setText(tr("步骤：%1（%2）").arg(steps.join(QStringLiteral(" → ")), mode));
}

void StationWindow::showOperator()
{
    m_operatorName->setText(m_setup.operatorName.isEmpty() ? tr("（未填写）")
                                                           : m_setup.operatorName);
}

void StationWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_askedOperator)
        return;
    m_askedOperator = true;
    // Once the window is up, so that the question stands on it.
    if (!m_setup.operatorCurrent(QDateTime::currentDateTimeUtc()))
        QTimer::singleShot(0, this, &StationWindow::askOperator);
}

bool StationWindow::loadRecipe(const QString &path)
{
    QStringList problems;
    auto recipe = Recipe::load(path, &problems);
    m_setup.recipePath = QFileInfo(path).absoluteFilePath();
    m_recipeProblems = problems;
    m_recipe = recipe ? std::make_shared<const Recipe>(std::move(*recipe)) : nullptr;
    if (appConfig)
        m_setup.save(*appConfig);
    showRecipe(problems);
    if (!recipe) {
        MessageBox::critical(this, tr("配方"),
                             tr("配方 %1 不能用：").arg(path) + QLatin1Char('\n') +
                                 problems.join(QLatin1Char('\n')));
    }
    restartLanes();
    return bool(recipe);
}

void StationWindow::setPorts(const QStringList &ports)
{
    m_setup.ports = StationSetup::keptPorts(ports);
    if (appConfig)
        m_setup.save(*appConfig);
    m_lanesButton->setText(tr("通道（%1）…").arg(m_setup.ports.size()));
    restartLanes();
}

void StationWindow::setOperatorName(const QString &name)
{
    m_setup.operatorName = name.trimmed();
    m_setup.operatorSince = QDateTime::currentDateTimeUtc();
    if (appConfig)
        m_setup.save(*appConfig);
    showOperator();
    restartLanes();
}

void StationWindow::chooseRecipe()
{
    const QString path = recipeChooser()
                             ? recipeChooser()(this)
                             : QFileDialog::getOpenFileName(this, tr("选择配方"),
                                                            QFileInfo(m_setup.recipePath).path(),
                                                            tr("配方 (*.json)"));
    if (!path.isEmpty())
        loadRecipe(path);
}

void StationWindow::askOperator()
{
    const QString name = operatorAsker()
                             ? operatorAsker()(this, m_setup.operatorName)
                             : QInputDialog::getText(this, tr("操作员"), tr("本班操作员："),
                                                     QLineEdit::Normal, m_setup.operatorName);
    if (!name.trimmed().isEmpty())
        setOperatorName(name);
}

void StationWindow::chooseLanes()
{
    LanesDialog dialog(m_setup.ports, StationSetup::kMaxLanes, this);
    if (dialog.exec() == QDialog::Accepted)
        setPorts(dialog.ports());
}

QList<LaneTile *> StationWindow::tiles() const
{
    QList<LaneTile *> tiles;
    for (const auto &slot : m_slots)
        tiles.append(slot->tile);
    return tiles;
}

bool StationWindow::unitsRunning() const
{
    for (const auto &slot : m_slots) {
        if (slot->lane && slot->status && slot->status->state == LaneStatus::State::Running)
            return true;
    }
    return false;
}

int StationWindow::activeLanes() const
{
    int active = 0;
    for (const auto &slot : m_slots) {
        if (slot->lane && !slot->lane->isFinished())
            ++active;
    }
    return active;
}

QString StationWindow::refusalOf(const QString &port) const
{
    // The main window's port belongs to its technician: a lane there would answer for both.
    if (appSerialPort->isOpen() && deviceOf(appSerialPort->portName()) == deviceOf(port))
        return tr("端口 %1 已在主窗口中打开，不能作为通道。请先在主窗口关闭它。").arg(port);
    return QString();
}

std::optional<RecordsTarget> StationWindow::recordsTarget()
{
    const QString database = appConfig ? appConfig->value(kDatabasePath).toString() : QString();
    if (database.isEmpty())
        return RecordsTarget::userDefault();
    QString error;
    auto target = RecordsTarget::parse(database, &error);
    if (!target) {
        // Without a history no unit's entry could be kept: no lane starts (buildLanes).
        m_historyProblem = tr("历史记录数据库设置 %1 无效：%2").arg(kDatabasePath, error);
        m_message->setText(m_historyProblem);
    }
    return target;
}

Recorder *StationWindow::recorder()
{
    if (m_recorder)
        return m_recorder.get();
    m_historyProblem.clear();
    const auto target = recordsTarget();
    if (!target)
        return nullptr;
    m_recorder = std::make_unique<Recorder>(*target);
    connect(m_recorder.get(), &Recorder::problem, m_message, &QLabel::setText);
    return m_recorder.get();
}

void StationWindow::queryToday()
{
    const auto target = recordsTarget();
    if (!target)
        return;
    const QDateTime midnight = QDateTime(QDate::currentDate(), QTime(0, 0)).toUTC();
    const QDateTime openedAt = m_openedAt;
    const QString station = UnitRecord::defaultStation();
    QPointer<StationWindow> window(this);
    // A database call has a deadline but may take it: never on the window's thread.
    QThread *query = QThread::create([=] {
        RecordStore store(*target);
        const auto entries = store.list(QString(), midnight);
        StationTotals before;
        // Oldest first, so that a unit's first run is its first of the day.
        if (entries) {
            for (auto it = entries->crbegin(); it != entries->crend(); ++it) {
                // A lane's entries are its units' runs.
                if (it->station != station || it->operation != LaneUnit::operationName() ||
                    it->finished >= openedAt)
                    continue;
                LaneUnit unit;
                unit.outcome = LaneUnit::outcomeFromKey(it->outcome);
                unit.identity.serialNumber = it->serialNumber;
                unit.recipeSha256 = it->recipeSha256;
                unit.started = it->started;
                unit.finished = it->finished;
                before.add(unit);
            }
        }
        const bool known = entries.has_value();
        QMetaObject::invokeMethod(qApp, [window, before, known] {
            if (!window)
                return;
            window->m_todayBefore = before;
            window->m_todayKnown = known;
            if (!known)
                window->m_todayLabel->setText(tr("今天（历史记录）：历史记录无法读取"));
            else
                window->showTotals();
        });
    });
    connect(query, &QThread::finished, query, &QObject::deleteLater);
    query->start();
}

void StationWindow::restartLanes()
{
    stopLanes([this] { buildLanes(); });
}

void StationWindow::stopLanes(std::function<void()> then)
{
    m_afterStop = std::move(then);
    m_stopping = true;
    updateControls();
    for (const auto &slot : m_slots) {
        if (slot->lane)
            slot->lane->stop();
    }
    onLaneFinished();
}

void StationWindow::onLaneFinished()
{
    if (!m_stopping || activeLanes() > 0)
        return;
    m_stopping = false;
    if (auto then = std::exchange(m_afterStop, nullptr))
        then();
    updateControls();
}

void StationWindow::buildLanes()
{
    for (const auto &slot : m_slots)
        slot->tile->deleteLater();
    m_slots.clear();
    const bool ready = m_recipe && !m_setup.operatorName.isEmpty();
    // A lane without a recorder keeps no entries (the command line's --no-records); here a
    // unit is PASS only once its entry is kept, so no lane runs without one.
    Recorder *const kept = ready ? recorder() : nullptr;
    OperationRecorder::Source source = OperationRecorder::Source::thisHost();
    source.operatorName = m_setup.operatorName;
    QStringList refused;
    for (int index = 0; index < m_setup.ports.size(); ++index) {
        auto slot = std::make_unique<LaneSlot>();
        LaneSlot *const raw = slot.get();
        const QString port = m_setup.ports[index];
        slot->tile = new LaneTile(index + 1, port, m_grid);
        slot->tile->setFixedSize(kTileWidthPx, kTileHeightPx);
        m_gridLayout->addWidget(slot->tile, index / kColumns, index % kColumns);
        slot->refusal = refusalOf(port);
        if (!slot->refusal.isEmpty())
            refused.append(slot->refusal);
        else if (ready && !kept)
            slot->refusal = m_historyProblem; // on each tile, besides the station's message
        if (ready && slot->refusal.isEmpty()) {
            LaneOptions options = LaneOptions::forRecipe(m_recipe);
            options.lane = index + 1;
            options.port = port;
            options.watch = true;
            options.source = source;
            options.recorder = kept;
            slot->lane = std::make_unique<Lane>(options);
            connect(slot->lane.get(), &Lane::statusChanged, this,
                    [this, raw](const LaneStatus &status) { onStatus(*raw, status); });
            connect(slot->lane.get(), &Lane::unitFinished, this,
                    [this, raw](const LaneUnit &unit) { onUnit(*raw, unit); });
            connect(slot->lane.get(), &Lane::finished, this, &StationWindow::onLaneFinished);
            connect(slot->tile, &LaneTile::startClicked, slot->lane.get(), &Lane::startUnit);
            connect(slot->tile, &LaneTile::serialScanned, slot->lane.get(), &Lane::scanned);
        }
        m_slots.push_back(std::move(slot));
    }
    m_gridLayout->setRowStretch((m_setup.ports.size() + kColumns - 1) / kColumns, 1);
    m_gridLayout->setColumnStretch(kColumns, 1);
    retranslate();
    for (const auto &slot : m_slots) {
        if (slot->lane)
            slot->lane->start();
    }
    updateControls();
    // After the window is up (the lanes are built in the constructor too).
    if (!refused.isEmpty()) {
        QTimer::singleShot(0, this, [this, refused] {
            MessageBox::critical(this, tr("通道"), refused.join(QLatin1Char('\n')));
        });
    }
}

void StationWindow::onStatus(LaneSlot &slot, const LaneStatus &status)
{
    slot.status = status;
    LaneTile *tile = slot.tile;
    QString detail = status.failure;
    if (status.state == LaneStatus::State::Running)
        detail = status.step;
    tile->setState(toneOf(status.state), LaneStatus::stateText(status.state), detail);
    tile->setProgress(status.state == LaneStatus::State::Running ? status.percent : -1);
    tile->setUnit(status.serialNumber, status.model);
    tile->setCycleSeconds(status.cycleSeconds > 0 ? status.cycleSeconds : -1.0);
    tile->setRetries(int(status.retries));
    const bool button = m_recipe && m_recipe->start == Recipe::Start::Button;
    tile->setStartButton(button, status.state == LaneStatus::State::Ready);
    const bool scanning = status.state == LaneStatus::State::Scanning;
    tile->setScanField(m_recipe && m_recipe->scan, scanning);
    if (status.state == LaneStatus::State::Running || status.state == LaneStatus::State::Stopped)
        updateControls();
}

void StationWindow::onUnit(LaneSlot &slot, const LaneUnit &unit)
{
    slot.totals.add(unit);
    m_totals.add(unit);
    m_runs.append(unit);
    slot.tile->setTotals(totalsText(slot.totals));
    showTotals();
    updateControls();
}

QString StationWindow::totalsText(const StationTotals &totals) const
{
    const auto yield = totals.firstPassYield();
    const auto median = totals.medianCycleSeconds();
    return tr("%1 件  PASS %2  MARGINAL %3  FAIL %4  ERROR %5  直通率 %6  中位周期 %7")
        .arg(totals.units())
        .arg(totals.count(LaneUnit::Outcome::Pass))
        .arg(totals.count(LaneUnit::Outcome::Marginal))
        .arg(totals.count(LaneUnit::Outcome::Fail))
        .arg(totals.count(LaneUnit::Outcome::Error))
        .arg(yield ? QStringLiteral("%1%").arg(*yield * 100.0, 0, 'f', 1) : QStringLiteral("—"))
        .arg(median ? QStringLiteral("%1 s").arg(*median, 0, 'f', 1) : QStringLiteral("—"));
}

void StationWindow::showTotals()
{
    for (const auto &slot : m_slots)
        slot->tile->setTotals(totalsText(slot->totals));
    m_totalsLabel->setText(tr("工位（自打开起）：%1").arg(totalsText(m_totals)));
    if (!m_todayKnown) {
        m_todayLabel->setText(tr("今天（历史记录）：正在查询…"));
        return;
    }
    // Today's entries of this station from before it was opened, then this session's units.
    StationTotals today = m_todayBefore;
    for (const LaneUnit &unit : m_runs)
        today.add(unit);
    m_todayLabel->setText(tr("今天（历史记录）：%1").arg(totalsText(today)));
}

void StationWindow::updateControls()
{
    // The set-up cannot change under a unit that is being processed.
    const bool settled = !m_stopping && !unitsRunning();
    m_recipeButton->setEnabled(settled);
    m_operatorButton->setEnabled(settled);
    m_lanesButton->setEnabled(settled);
    m_startAll->setVisible(m_recipe && m_recipe->start == Recipe::Start::Button);
}

void StationWindow::closeEvent(QCloseEvent *event)
{
    if (activeLanes() == 0) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closing)
        return;
    if (unitsRunning()) {
        const auto answer = MessageBox::warningYesNo(
            this, tr("关闭工位"),
            tr("还有通道正在处理模块。关闭工位吗？正在处理的模块会先完成，然后工位关闭。"));
        if (answer != QMessageBox::Yes)
            return;
    }
    finishAndClose();
}

void StationWindow::finishAndClose()
{
    if (m_closing)
        return;
    m_closing = true;
    m_message->setText(tr("正在等待各通道完成当前模块…"));
    // The window stays responsive while the lanes finish; it closes when the last has ended.
    stopLanes([this] {
        emit lanesStopped();
        close();
    });
}

void StationWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
