#include "ui/stats/statisticswindow.h"

#include "records/recordstore.h"
#include "stats/historyreport.h"
#include "ui/messagebox.h"
#include "ui/stats/chartexport.h"
#include "ui/stats/chartparts.h"
#include "ui/stats/controlchart.h"
#include "ui/stats/paretochart.h"
#include "ui/stats/powercurvechart.h"
#include "ui/stats/yieldchart.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimeZone>
#include <QVBoxLayout>

namespace {
constexpr int kDefaultDays = 30;   // the filter's time range when the window opens
constexpr int kChartsHeight = 470; // px: the charts and the table on a 1366 x 768 screen
constexpr int kEntriesHeight = 170;
constexpr QSize kChartMinimum{240, 200};

struct FigureAnswer
{
    std::optional<Stats::HistoryFigures> figures;
    QList<Stats::HistoryEntry> entries;
    QStringList names;
    QString error;
};

QTableWidgetItem *item(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setToolTip(text);
    return cell;
}

QString percent(const std::optional<double> &fraction)
{
    return fraction ? ChartParts::percent(*fraction) : QStringLiteral("–");
}

QString figure(const std::optional<double> &value)
{
    return value ? ChartParts::number(*value) : QStringLiteral("–");
}

} // namespace

// The history on the worker's thread: its connection is made, used and closed there.
class StatisticsWindow::Worker : public QObject
{
public:
    explicit Worker(RecordsTarget target)
        : m_target(std::move(target))
    {}
    Stats::HistoryStats &stats()
    {
        if (!m_store) {
            m_store = std::make_unique<RecordStore>(m_target);
            m_stats = std::make_unique<Stats::HistoryStats>(*m_store);
        }
        return *m_stats;
    }
    void release()
    {
        m_stats.reset();
        m_store.reset();
    }

private:
    RecordsTarget m_target;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<Stats::HistoryStats> m_stats;
};

StatisticsWindow::StatisticsWindow(const RecordsTarget &target, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_target(target)
    , m_thread(std::make_unique<QThread>())
    , m_worker(new Worker(target))
{
    setObjectName(QStringLiteral("statisticsWindow"));
    setWindowTitle(tr("统计 — %1").arg(target.displayName()));
    m_worker->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();

    auto *layout = new QVBoxLayout(this);
    auto *filters = new QGridLayout;
    const QDateTime now = QDateTime::currentDateTime();
    const auto timeEdit = [this](const QString &name, const QDateTime &value) {
        auto *edit = new QDateTimeEdit(value, this);
        edit->setObjectName(name);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
        return edit;
    };
    m_since = timeEdit(QStringLiteral("statsSince"), now.addDays(-kDefaultDays));
    m_until = timeEdit(QStringLiteral("statsUntil"), now.addDays(1));
    const auto lineEdit = [this](const QString &name, const QString &placeholder) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setPlaceholderText(placeholder);
        edit->setClearButtonEnabled(true);
        connect(edit, &QLineEdit::returnPressed, this, &StatisticsWindow::query);
        return edit;
    };
    m_station = lineEdit(QStringLiteral("statsStation"), tr("全部"));
    m_recipe = lineEdit(QStringLiteral("statsRecipe"), tr("全部（SHA-256）"));
    m_revision = lineEdit(QStringLiteral("statsRevision"), tr("全部"));
    m_model = lineEdit(QStringLiteral("statsModel"), tr("全部"));
    m_operator = lineEdit(QStringLiteral("statsOperator"), tr("全部"));
    m_lane = new QSpinBox(this);
    m_lane->setObjectName(QStringLiteral("statsLane"));
    m_lane->setRange(0, 64);
    m_lane->setSpecialValueText(tr("全部"));
    auto *apply = new QPushButton(tr("查询"), this);
    apply->setObjectName(QStringLiteral("statsQuery"));
    const QList<QPair<QString, QWidget *>> fields{
        {tr("从"), m_since},        {tr("到"), m_until},      {tr("工位"), m_station},
        {tr("工艺"), m_recipe},     {tr("版本"), m_revision}, {tr("型号"), m_model},
        {tr("操作员"), m_operator}, {tr("通道"), m_lane}};
    for (int i = 0; i < fields.size(); ++i) {
        const int row = i / 4;
        const int column = (i % 4) * 2;
        filters->addWidget(new QLabel(fields.at(i).first, this), row, column);
        filters->addWidget(fields.at(i).second, row, column + 1);
    }
    filters->addWidget(apply, 0, 8, 2, 1);
    layout->addLayout(filters);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("statsSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_summary);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("statsTabs"));
    auto *yields = new QWidget(m_tabs);
    auto *yieldLayout = new QHBoxLayout(yields);
    m_dayChart = new YieldChart(yields);
    m_dayChart->setObjectName(QStringLiteral("statsDayChart"));
    m_stationChart = new YieldChart(yields);
    m_stationChart->setObjectName(QStringLiteral("statsStationChart"));
    yieldLayout->addWidget(chartWithExport(m_dayChart), 3);
    yieldLayout->addWidget(chartWithExport(m_stationChart), 2);
    m_tabs->addTab(yields, tr("良率"));

    auto *failures = new QWidget(m_tabs);
    auto *failureLayout = new QHBoxLayout(failures);
    m_paretoChart = new ParetoChart(failures);
    m_paretoChart->setObjectName(QStringLiteral("statsParetoChart"));
    m_paretoTable = new QTableWidget(0, 5, failures);
    m_paretoTable->setObjectName(QStringLiteral("statsParetoTable"));
    m_paretoTable->setHorizontalHeaderLabels(
        {tr("步骤"), tr("失败"), tr("台数"), tr("占比"), tr("累计")});
    m_paretoTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_paretoTable->verticalHeader()->hide();
    m_paretoTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_paretoTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    failureLayout->addWidget(chartWithExport(m_paretoChart), 3);
    failureLayout->addWidget(m_paretoTable, 2);
    m_tabs->addTab(failures, tr("失败排列图"));

    auto *control = new QWidget(m_tabs);
    auto *controlLayout = new QVBoxLayout(control);
    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(tr("数值："), control));
    m_value = new QComboBox(control);
    m_value->setObjectName(QStringLiteral("statsValue"));
    m_value->setEditable(true);
    m_value->setMinimumContentsLength(24);
    valueRow->addWidget(m_value);
    m_seriesFigures = new QLabel(control);
    m_seriesFigures->setObjectName(QStringLiteral("statsSeriesFigures"));
    m_seriesFigures->setTextFormat(Qt::PlainText);
    valueRow->addWidget(m_seriesFigures, 1);
    controlLayout->addLayout(valueRow);
    m_controlChart = new ControlChart(control);
    m_controlChart->setObjectName(QStringLiteral("statsControlChart"));
    controlLayout->addWidget(chartWithExport(m_controlChart), 1);
    m_tabs->addTab(control, tr("控制图"));

    m_curveChart = new PowerCurveChart(m_tabs);
    m_curveChart->setObjectName(QStringLiteral("statsCurveChart"));
    m_tabs->addTab(chartWithExport(m_curveChart), tr("功率曲线"));

    auto *entries = new QWidget(splitter);
    auto *entryLayout = new QVBoxLayout(entries);
    entryLayout->setContentsMargins(0, 0, 0, 0);
    m_entries = new QTableWidget(0, 8, entries);
    m_entries->setObjectName(QStringLiteral("statsEntries"));
    m_entries->setHorizontalHeaderLabels({tr("完成时间"), tr("序列码"), tr("工位"), tr("结果"),
                                          tr("工艺"), tr("版本"), tr("失败步骤"), tr("说明")});
    m_entries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_entries->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_entries->verticalHeader()->hide();
    m_entries->horizontalHeader()->setStretchLastSection(true);
    entryLayout->addWidget(m_entries);
    auto *exportEntries = new QPushButton(tr("导出 CSV…"), entries);
    exportEntries->setObjectName(QStringLiteral("statsExportEntries"));
    entryLayout->addWidget(exportEntries, 0, Qt::AlignRight);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kChartsHeight, kEntriesHeight});
    layout->addWidget(splitter, 1);

    connect(apply, &QPushButton::clicked, this, &StatisticsWindow::query);
    connect(m_value, QOverload<int>::of(&QComboBox::activated), this,
            &StatisticsWindow::querySeries);
    connect(m_value->lineEdit(), &QLineEdit::returnPressed, this, &StatisticsWindow::querySeries);
    connect(m_entries, &QTableWidget::itemSelectionChanged, this, &StatisticsWindow::entryChosen);
    connect(exportEntries, &QPushButton::clicked, this, &StatisticsWindow::exportEntries);
    resize(1280, 680);
    query();
}

StatisticsWindow::~StatisticsWindow()
{
    // The connection goes on the thread that made it; queued requests are dropped.
    ++m_figuresGeneration;
    ++m_seriesGeneration;
    ++m_curvesGeneration;
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->release(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
}

template<class Work, class Done>
void StatisticsWindow::ask(std::atomic<int> *generation, Work work, Done done)
{
    const int mine = ++*generation;
    QMetaObject::invokeMethod(m_worker, [this, generation, mine, work, done] {
        if (*generation != mine)
            return;
        auto answer = work(m_worker->stats());
        QMetaObject::invokeMethod(this, [generation, mine, done, answer] {
            if (*generation == mine)
                done(answer);
        });
    });
}

QWidget *StatisticsWindow::chartWithExport(QwtPlot *chart)
{
    auto *box = new QWidget(this);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    // Below the plot's own wish: the table of entries keeps rows on a 768 px screen.
    chart->setMinimumSize(kChartMinimum);
    layout->addWidget(chart, 1);
    auto *button = new QPushButton(tr("导出 PNG/SVG…"), box);
    button->setObjectName(chart->objectName() + QStringLiteral("Export"));
    connect(button, &QPushButton::clicked, this, [this, chart] { exportChart(chart); });
    layout->addWidget(button, 0, Qt::AlignRight);
    return box;
}

void StatisticsWindow::exportChart(QwtPlot *chart)
{
    const QString path = QFileDialog::getSaveFileName(this, tr("导出图表"),
                                                      chart->objectName() + QStringLiteral(".png"),
                                                      tr("PNG 图像 (*.png);;SVG 图形 (*.svg)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!ChartExport::save(chart, path, &error))
        MessageBox::critical(this, tr("导出图表"), error);
}

void StatisticsWindow::exportEntries()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("导出 CSV"), QStringLiteral("entries.csv"), tr("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    QList<QStringList> rows{{QStringLiteral("finished"), QStringLiteral("serialNumber"),
                             QStringLiteral("station"), QStringLiteral("outcome"),
                             QStringLiteral("recipe"), QStringLiteral("revision"),
                             QStringLiteral("failedStep"), QStringLiteral("message")}};
    for (const Stats::HistoryEntry &e : qAsConst(m_entryList))
        rows.append({e.finished.toString(Qt::ISODateWithMs), e.serialNumber, e.station, e.outcome,
                     e.recipe, e.revision, e.failedStep, e.message});
    QSaveFile file(path);
    const QByteArray bytes = Stats::Report::csv(rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        MessageBox::critical(this, tr("导出 CSV"),
                             tr("无法写入文件 %1：%2").arg(path, file.errorString()));
}

Stats::HistoryFilter StatisticsWindow::filter() const
{
    Stats::HistoryFilter f;
    f.since = m_since->dateTime().toUTC();
    f.until = m_until->dateTime().toUTC();
    f.station = m_station->text().trimmed();
    f.recipeSha = m_recipe->text().trimmed();
    f.revision = m_revision->text().trimmed();
    f.model = m_model->text().trimmed();
    f.operatorName = m_operator->text().trimmed();
    if (m_lane->value() > 0)
        f.lane = m_lane->value();
    return f;
}

void StatisticsWindow::setFilter(const Stats::HistoryFilter &filter)
{
    if (filter.since.isValid())
        m_since->setDateTime(filter.since.toLocalTime());
    if (filter.until.isValid())
        m_until->setDateTime(filter.until.toLocalTime());
    m_station->setText(filter.station);
    m_recipe->setText(filter.recipeSha);
    m_revision->setText(filter.revision);
    m_model->setText(filter.model);
    m_operator->setText(filter.operatorName);
    m_lane->setValue(filter.lane.value_or(0));
    query();
}

void StatisticsWindow::setValue(const QString &name)
{
    m_value->setCurrentText(name);
    querySeries();
}

void StatisticsWindow::showTab(int index)
{
    m_tabs->setCurrentIndex(index);
}

void StatisticsWindow::chooseUnit(const QString &serialNumber)
{
    for (int row = 0; row < m_entryList.size(); ++row) {
        if (m_entryList.at(row).serialNumber == serialNumber) {
            m_entries->selectRow(row);
            return;
        }
    }
}

void StatisticsWindow::query()
{
    m_clock.start();
    m_summary->setText(tr("正在查询…"));
    const Stats::HistoryFilter f = filter();
    ask(
        &m_figuresGeneration,
        [f](Stats::HistoryStats &stats) {
            FigureAnswer answer;
            answer.figures = stats.figures(f, QTimeZone::systemTimeZone());
            const auto entries = answer.figures ? stats.entries(f, kEntryRows) : std::nullopt;
            const auto names = entries ? stats.valueNames(f) : std::nullopt;
            if (!names) {
                answer.figures.reset();
                answer.error = stats.lastError();
                return answer;
            }
            answer.entries = *entries;
            answer.names = *names;
            return answer;
        },
        [this](const FigureAnswer &answer) {
            if (!answer.figures) {
                m_summary->setText(tr("无法读取历史记录：%1").arg(answer.error));
                emit failed(answer.error);
                return;
            }
            showFigures(*answer.figures, answer.entries, answer.names);
        });
}

void StatisticsWindow::showFigures(const Stats::HistoryFigures &figures,
                                   const QList<Stats::HistoryEntry> &entries,
                                   const QStringList &names)
{
    const Stats::YieldFigures &y = figures.total;
    m_summary->setText(tr("%1 台，测试 %2 次，重测 %3 次；直通率 %4，最终良率 %5；最后结果：%6")
                           .arg(y.units)
                           .arg(y.runs)
                           .arg(y.retests)
                           .arg(percent(y.firstPassYield()), percent(y.finalYield()),
                                Stats::Report::outcomeNames(y)));
    m_dayChart->setGroups(figures.perDay, YieldChart::Grouping::Day);
    m_stationChart->setGroups(figures.perStation, YieldChart::Grouping::Station);
    m_paretoChart->setRows(figures.pareto);
    m_dayChart->replot();
    m_stationChart->replot();
    m_paretoChart->replot();
    m_paretoTable->setRowCount(figures.pareto.size());
    for (int row = 0; row < figures.pareto.size(); ++row) {
        const Stats::ParetoRow &r = figures.pareto.at(row);
        m_paretoTable->setItem(row, 0, item(r.step));
        m_paretoTable->setItem(row, 1, item(r.example));
        m_paretoTable->setItem(row, 2, item(QString::number(r.count)));
        m_paretoTable->setItem(row, 3, item(ChartParts::percent(r.share)));
        m_paretoTable->setItem(row, 4, item(ChartParts::percent(r.cumulative)));
    }

    m_entryList = entries;
    const QSignalBlocker blocker(m_entries);
    m_entries->clearSelection();
    m_entries->setRowCount(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        const Stats::HistoryEntry &e = entries.at(row);
        const QStringList cells{
            e.finished.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            e.serialNumber,
            e.station,
            e.outcome.toUpper(),
            e.recipe,
            e.revision,
            e.failedStep,
            e.message.simplified()};
        for (int column = 0; column < cells.size(); ++column)
            m_entries->setItem(row, column, item(cells.at(column)));
    }
    const QString current = m_value->currentText();
    m_value->clear();
    m_value->addItems(names);
    m_value->setCurrentText(current.isEmpty() && !names.isEmpty() ? names.first() : current);
    m_lastFiguresMs = m_clock.elapsed();
    emit figuresShown();
    if (!m_value->currentText().isEmpty())
        querySeries();
}

void StatisticsWindow::querySeries()
{
    const QString name = m_value->currentText().trimmed();
    if (name.isEmpty())
        return;
    const Stats::HistoryFilter f = filter();
    ask(
        &m_seriesGeneration,
        [f, name](Stats::HistoryStats &stats) {
            const auto series = stats.series(f, name);
            return std::make_pair(series, series ? QString() : stats.lastError());
        },
        [this](const std::pair<std::optional<Stats::ValueSeries>, QString> &answer) {
            if (!answer.first) {
                m_seriesFigures->setText(tr("无法读取历史记录：%1").arg(answer.second));
                emit failed(answer.second);
                return;
            }
            showSeries(*answer.first);
        });
}

void StatisticsWindow::showSeries(const Stats::ValueSeries &series)
{
    m_series = series;
    m_series.figures = Stats::latestPoints(series.figures);
    const Stats::SeriesFigures &f = series.figures;
    m_controlChart->setSeries(series.name, m_series.figures, series.limits);
    m_controlChart->setTitle(ControlChart::titleOf(series.name, m_series.figures, f));
    m_controlChart->replot();
    m_seriesFigures->setText(
        tr("%1 点，均值 %2，标准差 %3，UCL %4，LCL %5，Cp %6，Cpk %7，失控 %8 点")
            .arg(f.count)
            .arg(figure(f.mean), figure(f.sigma), figure(f.ucl), figure(f.lcl), figure(f.cp),
                 figure(f.cpk))
            .arg(f.outOfControl.size()));
    emit seriesShown();
    entryChosen();
}

void StatisticsWindow::entryChosen()
{
    const int row = m_entries->currentRow();
    const bool chosen =
        !m_entries->selectedItems().isEmpty() && row >= 0 && row < m_entryList.size();
    if (!chosen) {
        m_controlChart->highlight(-1);
        return;
    }
    const QString serial = m_entryList.at(row).serialNumber;
    // The unit's latest point of the value.
    int index = -1;
    for (int i = m_series.figures.points.size() - 1; i >= 0 && index < 0; --i) {
        if (m_series.figures.points.at(i).serialNumber == serial)
            index = i;
    }
    m_controlChart->highlight(index);
    m_controlChart->replot();
    queryCurves(serial);
}

void StatisticsWindow::queryCurves(const QString &serialNumber)
{
    const Stats::HistoryFilter f = filter();
    ask(
        &m_curvesGeneration,
        [f, serialNumber](Stats::HistoryStats &stats) {
            return stats.powerCurves(f, serialNumber);
        },
        [this, serialNumber](const std::optional<Stats::UnitPowerCurves> &curves) {
            if (curves)
                m_curveChart->setCurves(serialNumber, curves->unit, curves->median,
                                        curves->previous);
            else
                m_curveChart->setCurves(serialNumber, {}, {}, std::nullopt);
            m_curveChart->replot();
            emit curvesShown();
        });
}
