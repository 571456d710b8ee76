#include "ui/calibrationwizard.h"

#include <QDoubleValidator>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <chrono>

namespace {
constexpr int kWidthPx = 900;
constexpr int kHeightPx = 520;
constexpr int kDbmDecimals = 1;
constexpr int kHzDecimals = 0;

int decimalsOf(const CalibrationTarget &target)
{
    if (target.kind == CalibrationTarget::Kind::Squelch)
        return 2;
    return target.kind == CalibrationTarget::Kind::Value &&
                   target.measure != Instrument::Measurement::Power
               ? kHzDecimals
               : kDbmDecimals;
}
} // namespace

std::optional<double> ManualHandOff::ask(const ManualRequest &request,
                                         const std::function<void(int id)> &post,
                                         const std::function<void(int id)> &withdraw)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_cancelled)
        return std::nullopt;
    const int id = ++m_id;
    m_value.reset();
    // A notice is shown and not awaited.
    m_pending = request.kind != ManualRequest::Kind::GeneratorOff;
    post(id);
    if (!m_pending)
        return 0.0;
    const auto answered = [this] {
        return !m_pending || m_cancelled;
    };
    if (request.withinMs > 0)
        m_answered.wait_for(lock, std::chrono::milliseconds(request.withinMs), answered);
    else
        m_answered.wait(lock, answered);
    if (m_pending) {
        // Not answered in time: the window stops asking.
        m_pending = false;
        withdraw(id);
        return std::nullopt;
    }
    return m_cancelled ? std::nullopt : m_value;
}

void ManualHandOff::answer(int id, std::optional<double> value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (id != m_id || !m_pending)
        return;
    m_value = value;
    m_pending = false;
    m_answered.notify_all();
}

void ManualHandOff::cancel()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    m_answered.notify_all();
}

CalibrationWizard::CalibrationWizard(const CalibrationPlan &plan, const QString &recipe,
                                     QWidget *parent)
    : QDialog(parent)
    , m_plan(plan)
    , m_recipe(recipe)
{
    setObjectName(QStringLiteral("calibrationWizard"));
    auto *layout = new QVBoxLayout(this);
    m_source = new QLabel(this);
    m_source->setObjectName(QStringLiteral("wizardSource"));
    m_source->setTextFormat(Qt::PlainText);
    layout->addWidget(m_source);

    m_table = new QTableWidget(plan.targets.size(), ColumnCount, this);
    m_table->setObjectName(QStringLiteral("wizardTargets"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    for (int row = 0; row < plan.targets.size(); ++row) {
        const CalibrationTarget &target = plan.targets[row];
        const bool value = target.kind == CalibrationTarget::Kind::Value;
        setCell(row, TargetColumn,
                value                                          ? target.value
                : target.kind == CalibrationTarget::Kind::Rssi ? QStringLiteral("rssi")
                                                               : QStringLiteral("squelch"));
        setCell(row, GoalColumn, goalText(target));
        m_readings.append(0);
    }
    layout->addWidget(m_table, 1);

    m_promptBox = new QWidget(this);
    auto *promptLayout = new QHBoxLayout(m_promptBox);
    promptLayout->setContentsMargins(0, 0, 0, 0);
    m_prompt = new QLabel(m_promptBox);
    m_prompt->setObjectName(QStringLiteral("wizardPrompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    QFont emphasis = m_prompt->font();
    emphasis.setBold(true);
    m_prompt->setFont(emphasis);
    m_reading = new QLineEdit(m_promptBox);
    m_reading->setObjectName(QStringLiteral("wizardReading"));
    auto *validator = new QDoubleValidator(m_reading);
    validator->setLocale(QLocale::c());
    m_reading->setValidator(validator);
    m_enter = new QPushButton(m_promptBox);
    m_enter->setObjectName(QStringLiteral("wizardEnter"));
    m_enter->setDefault(true);
    promptLayout->addWidget(m_prompt, 1);
    promptLayout->addWidget(m_reading);
    promptLayout->addWidget(m_enter);
    m_promptBox->setVisible(false);
    layout->addWidget(m_promptBox);
    connect(m_enter, &QPushButton::clicked, this, &CalibrationWizard::enterReading);
    connect(m_reading, &QLineEdit::returnPressed, this, &CalibrationWizard::enterReading);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("wizardStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("wizardCancel"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("wizardClose"));
    m_close->setEnabled(false);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &CalibrationWizard::reject);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);

    retranslate();
    // The columns follow the readings as they come; the result takes what is left.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    resize(kWidthPx, kHeightPx);
}

void CalibrationWizard::retranslate()
{
    setWindowTitle(tr("校准向导"));
    const bool manual = m_plan.instrument == QLatin1String(CalibrationPlan::kManual);
    m_source->setText(
        manual ? tr("配方：%1，人工读数").arg(QFileInfo(m_recipe).fileName())
               : tr("配方：%1，仪器：%2").arg(QFileInfo(m_recipe).fileName(), m_plan.instrument));
    m_table->setHorizontalHeaderLabels({tr("目标"), tr("校准前"), tr("值"), tr("读数"),
                                        tr("目标 ± 容差"), tr("读数次数"), tr("结果")});
    m_enter->setText(tr("确定"));
    m_cancel->setText(tr("取消"));
    m_close->setText(tr("关闭"));
    if (m_running && m_status->text().isEmpty())
        m_status->setText(tr("校准进行中…"));
}

QString CalibrationWizard::goalText(const CalibrationTarget &target) const
{
    const int decimals = decimalsOf(target);
    if (target.kind != CalibrationTarget::Kind::Value) {
        QStringList levels;
        for (const double level : target.levels)
            levels.append(QString::number(level, 'f', decimals));
        return levels.join(QStringLiteral(", ")) + (target.kind == CalibrationTarget::Kind::Rssi
                                                        ? QStringLiteral(" dBµV")
                                                        : QStringLiteral(" µV"));
    }
    return QStringLiteral("%1 ± %2 %3")
        .arg(QString::number(target.target, 'f', decimals),
             QString::number(target.tolerance, 'f', decimals), Instrument::unit(target.measure));
}

void CalibrationWizard::setCell(int row, int column, const QString &text)
{
    auto *item = m_table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_table->setItem(row, column, item);
    }
    item->setText(text);
}

void CalibrationWizard::reading(int target, int value, double reading)
{
    if (target < 0 || target >= m_plan.targets.size())
        return;
    // A later target begins only after the ones before it have passed.
    for (int row = 0; row < target; ++row)
        setCell(row, ResultColumn, tr("合格"));
    const CalibrationTarget &t = m_plan.targets[target];
    const bool valueTarget = t.kind == CalibrationTarget::Kind::Value;
    // The search tries the module's own value first.
    if (m_readings[target]++ == 0 && valueTarget)
        setCell(target, BeforeColumn, QString::number(value));
    if (valueTarget)
        setCell(target, ValueColumn, QString::number(value));
    setCell(target, ReadingColumn, QString::number(reading, 'f', decimalsOf(t)));
    setCell(target, ReadingsColumn, QString::number(m_readings[target]));
    setCell(target, ResultColumn, QStringLiteral("…"));
    m_table->scrollToItem(m_table->item(target, TargetColumn));
}

void CalibrationWizard::ask(int id, const ManualRequest &request)
{
    m_askId = id;
    m_asked = request;
    m_prompt->setText(request.text());
    const bool typed = request.kind == ManualRequest::Kind::Reading;
    m_reading->setVisible(typed);
    m_reading->clear();
    m_enter->setText(typed ? tr("确定") : tr("已完成"));
    m_promptBox->setVisible(true);
    if (request.kind == ManualRequest::Kind::GeneratorOff) {
        // A notice: nothing is awaited, the box stays until the next request.
        m_enter->setVisible(false);
        return;
    }
    m_enter->setVisible(true);
    (typed ? static_cast<QWidget *>(m_reading) : m_enter)->setFocus();
}

void CalibrationWizard::withdraw(int id)
{
    if (id != m_askId)
        return;
    m_askId = 0;
    m_promptBox->setVisible(false);
}

void CalibrationWizard::enterReading()
{
    if (!m_askId)
        return;
    std::optional<double> value = 0.0;
    if (m_asked.kind == ManualRequest::Kind::Reading) {
        bool ok = false;
        value = QLocale::c().toDouble(m_reading->text().trimmed(), &ok);
        if (!ok) {
            m_status->setText(tr("请输入一个数字"));
            return;
        }
    }
    const int id = m_askId;
    m_askId = 0;
    m_promptBox->setVisible(false);
    m_status->setText(tr("校准进行中…"));
    m_handOff->answer(id, value);
}

void CalibrationWizard::finish(const CalibrationRun::Outcome &outcome)
{
    m_running = false;
    m_askId = 0;
    for (int row = 0; row < outcome.targets.size() && row < m_table->rowCount(); ++row) {
        const CalibrationTargetResult &result = outcome.targets[row];
        const CalibrationTarget &target = m_plan.targets[row];
        if (target.kind == CalibrationTarget::Kind::Value) {
            setCell(row, BeforeColumn, QString::number(result.before));
            setCell(row, ValueColumn, QString::number(result.after));
        }
        if (result.readings > 0)
            setCell(row, ReadingColumn, QString::number(result.reading, 'f', decimalsOf(target)));
        setCell(row, ReadingsColumn, QString::number(result.readings));
        setCell(row, ResultColumn, result.ok ? tr("合格") : result.failure);
    }
    // The targets not begun say so.
    for (int row = outcome.targets.size(); row < m_table->rowCount(); ++row)
        setCell(row, ResultColumn, tr("未进行"));
    m_status->setText(outcome.ok ? tr("校准完成，已保存为 %1").arg(outcome.file)
                                 : tr("校准失败：%1").arg(outcome.failure));
    // What is left to do at the bench stays said: the generator's output off.
    const bool notice = m_asked.kind == ManualRequest::Kind::GeneratorOff;
    m_promptBox->setVisible(notice && m_promptBox->isVisible());
    m_cancel->setEnabled(false);
    m_close->setEnabled(true);
    m_close->setFocus();
}

void CalibrationWizard::reject()
{
    // While it runs, closing is cancelling: the module is keyed down first, then the window
    // says how it ended.
    if (m_running) {
        m_status->setText(tr("正在取消…"));
        m_cancel->setEnabled(false);
        m_handOff->cancel();
        emit cancelRequested();
        return;
    }
    QDialog::reject();
}
