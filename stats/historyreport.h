#pragma once

#include "stats/historystats.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace Stats {

// What the report is about: the filter in words, and its figures.
struct ReportInput
{
    QString title;    // "2026-12-01 – 2026-12-08, station A1"
    QDateTime made;   // UTC
    QString zoneName; // of the days
    HistoryFigures figures;
    QList<ValueSeries> series;
};

// The charts of the report as SVG documents. The statistics window's charts draw them; they are
// widgets, so the drawing is handed in from above (the command line links it in) and this
// layer stays without widgets.
class ReportCharts
{
public:
    virtual ~ReportCharts() = default;
    virtual QByteArray yield(const QList<YieldGroup> &groups, bool perStation) = 0;
    virtual QByteArray pareto(const QList<ParetoRow> &rows) = 0;
    virtual QByteArray control(const ValueSeries &series) = 0;

    // The drawing linked into this program, if any.
    static ReportCharts *installed();
    // The application a drawing needs (widgets, drawn offscreen), made before any other.
    using ApplicationFactory = QCoreApplication *(*)(int &argc, char **argv);
    static ApplicationFactory applicationFactory();
    static bool install(ReportCharts *charts, ApplicationFactory factory);
};

namespace Report {

// The numbers alone, as `report --json` prints them.
QJsonObject json(const HistoryFigures &figures, const QList<ValueSeries> &series);

// One CSV file of a table: a name ("pareto.csv") and its text (UTF-8, RFC 4180).
struct CsvFile
{
    QString name;
    QByteArray content;
};
QList<CsvFile> csvFiles(const ReportInput &input);
// A table as such a text; the first row is the header.
QByteArray csv(const QList<QStringList> &rows);
// The last outcomes of the units in words: "pass 12, fail 3".
QString outcomeNames(const YieldFigures &y);

// One HTML page, the charts inline as SVG, styles inside: nothing is fetched to show it.
QByteArray html(const ReportInput &input, ReportCharts &charts);

// A file name from a value's path: "/TxPowerAdj/cell42" -> "TxPowerAdj-cell42".
QString fileStem(const QString &valueName);

} // namespace Report
} // namespace Stats
