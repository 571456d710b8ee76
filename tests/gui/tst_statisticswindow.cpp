// The statistics window on a small SQLite history: its figures arrive from the worker thread,
// a unit chosen in the table is highlighted and its power curves drawn, and the main window's
// Production menu opens it.
#include "records/recordstore.h"
#include "support/testenv.h"
#include "ui/mainwindow.h"
#include "ui/stats/controlchart.h"
#include "ui/stats/statisticswindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kRecipe = QString(64, QLatin1Char('d'));

// Three units: U1 passes, U2 fails then passes, U3 passes; /TCXO_BIAS 150 152 171 151.
QVector<UnitRecord> history()
{
    const struct
    {
        const char *serial;
        const char *outcome;
        double bias;
    } runs[] = {{"U1", "pass", 150}, {"U2", "fail", 152}, {"U2", "pass", 171}, {"U3", "pass", 151}};
    QVector<UnitRecord> records;
    int minute = 0;
    for (const auto &run : runs) {
        UnitRecord r = UnitRecord::create();
        r.serialNumber = QString::fromLatin1(run.serial);
        r.finished = QDateTime::currentDateTimeUtc().addSecs(-3600 + 60 * minute++);
        r.started = r.finished.addSecs(-30);
        r.station = QStringLiteral("S1");
        r.operation = QStringLiteral("run");
        r.outcome = QString::fromLatin1(run.outcome);
        r.recipeSha256 = kRecipe;
        if (r.outcome == QLatin1String("fail")) {
            r.failedStep = QStringLiteral("check");
            r.message = QStringLiteral("/TCXO_BIAS = 200, above Max 190");
        }
        UnitRecord::Measurement bias;
        bias.name = QStringLiteral("/TCXO_BIAS");
        bias.value = run.bias;
        bias.min = 100;
        bias.max = 200;
        r.measurements.append(bias);
        UnitRecord::Measurement cell;
        cell.name = QStringLiteral("/TxPowerAdj/cell42");
        cell.value = run.bias - 50;
        r.measurements.append(cell);
        records.append(r);
    }
    return records;
}
} // namespace

class TestStatisticsWindow : public QObject
{
    Q_OBJECT

private slots:
    void figuresAndUnit();
    void productionMenu();

private:
    QTemporaryDir m_dir;
};

void TestStatisticsWindow::figuresAndUnit()
{
    QString error;
    const auto target = RecordsTarget::parse(m_dir.filePath("line.sqlite"), &error);
    QVERIFY(target);
    QVERIFY(RecordStore(*target).insert(history()));
    StatisticsWindow window(*target);
    QSignalSpy figures(&window, &StatisticsWindow::figuresShown);
    QSignalSpy series(&window, &StatisticsWindow::seriesShown);
    QSignalSpy curves(&window, &StatisticsWindow::curvesShown);
    window.show();
    QVERIFY(figures.wait());
    // 3 units, 2 passed first time (67 %), all in the end.
    QVERIFY2(window.findChild<QLabel *>("statsSummary")->text().contains("67%"),
             qPrintable(window.findChild<QLabel *>("statsSummary")->text()));
    QCOMPARE(window.findChild<QTableWidget *>("statsParetoTable")->rowCount(), 1);
    QCOMPARE(window.findChild<QTableWidget *>("statsEntries")->rowCount(), 4);
    QCOMPARE(window.findChild<QComboBox *>("statsValue")->currentText(), "/TCXO_BIAS");
    QTRY_VERIFY(!series.isEmpty());
    QVERIFY(window.findChild<QLabel *>("statsSeriesFigures")->text().startsWith("4 "));

    window.chooseUnit("U2");
    QVERIFY(curves.wait());
    QCOMPARE(window.findChild<QTableWidget *>("statsEntries")->currentRow(), 1);

    // A narrower filter asks again; the answer to it is the one shown.
    Stats::HistoryFilter filter = window.filter();
    filter.station = "elsewhere";
    figures.clear();
    window.setFilter(filter);
    QVERIFY(figures.wait());
    QCOMPARE(window.findChild<QTableWidget *>("statsEntries")->rowCount(), 0);
}

void TestStatisticsWindow::productionMenu()
{
    ScopedSettings settings;
    MainWindow main;
    auto *menu = main.menuBar()->findChild<QMenu *>("menuProduction");
    QVERIFY(menu);
    auto *action = main.findChild<QAction *>("actStatistics");
    QVERIFY(action && menu->actions().contains(action));
    QVERIFY(!action->text().isEmpty());
}

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statisticswindow.moc"
