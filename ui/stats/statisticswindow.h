#pragma once

#include "records/recordstarget.h"
#include "stats/historystats.h"

#include <QElapsedTimer>
#include <QWidget>

#include <atomic>
#include <memory>

QT_BEGIN_NAMESPACE
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QThread;
QT_END_NAMESPACE

class ControlChart;
class ParetoChart;
class PowerCurveChart;
class YieldChart;
class QwtPlot;

// "Production → Statistics…": the line's yields, the failure Pareto, a value's control chart
// and a unit's power curves from the history, for a filter. The queries run on a worker thread
// with its own connection; the window stays responsive, and an answer to an older filter is
// dropped.
class StatisticsWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kEntryRows = 500; // the table: the newest runs of the filter

    explicit StatisticsWindow(const RecordsTarget &target, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    // Fills the filter's fields and asks again, as the button does.
    void setFilter(const Stats::HistoryFilter &filter);
    Stats::HistoryFilter filter() const;
    // The control chart's value; asks for its series.
    void setValue(const QString &name);
    // Chooses the unit's newest run in the table: its point is highlighted, its curves drawn.
    void chooseUnit(const QString &serialNumber);
    void showTab(int index);
    // Milliseconds from the last query to its first charts drawn; -1 before.
    qint64 lastFiguresMs() const { return m_lastFiguresMs; }

signals:
    void figuresShown(); // the yields, the Pareto and the table of the latest query
    void seriesShown();
    void curvesShown();
    void failed(const QString &error);

public slots:
    void query();

private:
    QWidget *chartWithExport(QwtPlot *chart);
    void exportChart(QwtPlot *chart);
    void exportEntries();
    void querySeries();
    void queryCurves(const QString &serialNumber);
    void showFigures(const Stats::HistoryFigures &figures,
                     const QList<Stats::HistoryEntry> &entries, const QStringList &names);
    void showSeries(const Stats::ValueSeries &series);
    void entryChosen();
    // Runs work on the worker's thread with its history; done() comes back here unless a newer
    // request of the same kind went out in the meantime.
    template<class Work, class Done> void ask(std::atomic<int> *generation, Work work, Done done);

    RecordsTarget m_target;
    class Worker;
    std::unique_ptr<QThread> m_thread;
    Worker *m_worker = nullptr; // lives on m_thread

    QDateTimeEdit *m_since = nullptr;
    QDateTimeEdit *m_until = nullptr;
    QLineEdit *m_station = nullptr;
    QLineEdit *m_recipe = nullptr;
    QLineEdit *m_revision = nullptr;
    QLineEdit *m_model = nullptr;
    QLineEdit *m_operator = nullptr;
    QSpinBox *m_lane = nullptr;
    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    YieldChart *m_dayChart = nullptr;
    YieldChart *m_stationChart = nullptr;
    ParetoChart *m_paretoChart = nullptr;
    QTableWidget *m_paretoTable = nullptr;
    QComboBox *m_value = nullptr;
    ControlChart *m_controlChart = nullptr;
    QLabel *m_seriesFigures = nullptr;
    PowerCurveChart *m_curveChart = nullptr;
    QTableWidget *m_entries = nullptr;
    QList<Stats::HistoryEntry> m_entryList;
    Stats::ValueSeries m_series;

    // Read on the worker's thread too: a request overtaken before it started is not run.
    std::atomic<int> m_figuresGeneration{0};
    std::atomic<int> m_seriesGeneration{0};
    std::atomic<int> m_curvesGeneration{0};
    QElapsedTimer m_clock;
    qint64 m_lastFiguresMs = -1;
};
