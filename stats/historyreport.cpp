#include "stats/historyreport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {
Stats::ReportCharts *g_charts = nullptr;
Stats::ReportCharts::ApplicationFactory g_factory = nullptr;

QString text(const char *source)
{
    return QCoreApplication::translate("HistoryReport", source);
}

QJsonValue optional(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString percent(const std::optional<double> &fraction)
{
    return fraction ? QString::number(*fraction * 100.0, 'f', 1) + QLatin1Char('%')
                    : QStringLiteral("–");
}

QString figure(const std::optional<double> &value)
{
    return value ? QString::number(*value, 'g', 6) : QStringLiteral("–");
}

// A CSV field: quoted when it holds a separator, a quote or a line break.
QString field(const QString &value)
{
    const bool plain = std::none_of(value.begin(), value.end(), [](QChar c) {
        return c == QLatin1Char('"') || c == QLatin1Char(',') || c == QLatin1Char('\r') ||
               c == QLatin1Char('\n');
    });
    if (plain)
        return value;
    return QLatin1Char('"') + QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QList<QStringList> yieldRows(const QList<Stats::YieldGroup> &groups, const QString &keyName)
{
    QList<QStringList> rows{{keyName, QStringLiteral("units"), QStringLiteral("tested"),
                             QStringLiteral("runs"), QStringLiteral("retests"),
                             QStringLiteral("firstPassYield"), QStringLiteral("finalYield")}};
    for (const Stats::YieldGroup &g : groups) {
        const auto fraction = [](const std::optional<double> &v) {
            return v ? QString::number(*v, 'f', 4) : QString();
        };
        rows.append({g.key, QString::number(g.figures.units), QString::number(g.figures.tested),
                     QString::number(g.figures.runs), QString::number(g.figures.retests),
                     fraction(g.figures.firstPassYield()), fraction(g.figures.finalYield())});
    }
    return rows;
}

QList<QStringList> paretoRows(const QList<Stats::ParetoRow> &pareto)
{
    QList<QStringList> rows{{QStringLiteral("step"), QStringLiteral("failure"),
                             QStringLiteral("example"), QStringLiteral("count"),
                             QStringLiteral("share"), QStringLiteral("cumulative")}};
    for (const Stats::ParetoRow &r : pareto)
        rows.append({r.step, r.failure, r.example, QString::number(r.count),
                     QString::number(r.share, 'f', 4), QString::number(r.cumulative, 'f', 4)});
    return rows;
}

// An SVG document as an element of the page.
QString inlineSvg(const QByteArray &document)
{
    QString svg = QString::fromUtf8(document);
    const int start = svg.indexOf(QLatin1String("<svg"));
    return start < 0 ? QString() : svg.mid(start);
}

// The page names the first few; the series' CSV file marks every one.
QString shownSerials(const QStringList &serials)
{
    constexpr int kShown = 20;
    if (serials.size() <= kShown)
        return serials.join(QLatin1Char(' '));
    return text(QT_TRANSLATE_NOOP("HistoryReport", "%1 … 共 %2 个"))
        .arg(serials.mid(0, kShown).join(QLatin1Char(' ')))
        .arg(serials.size());
}

QString htmlTable(const QList<QStringList> &rows)
{
    QString out = QStringLiteral("<table>");
    for (int i = 0; i < rows.size(); ++i) {
        const QString cell = i == 0 ? QStringLiteral("th") : QStringLiteral("td");
        out += QStringLiteral("<tr>");
        for (const QString &value : rows.at(i))
            out += QStringLiteral("<%1>%2</%1>").arg(cell, value.toHtmlEscaped());
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>\n");
}

QList<QStringList> shownYieldRows(const QList<Stats::YieldGroup> &groups, const QString &keyName)
{
    QList<QStringList> rows{{keyName, text(QT_TRANSLATE_NOOP("HistoryReport", "台数")),
                             text(QT_TRANSLATE_NOOP("HistoryReport", "测试次数")),
                             text(QT_TRANSLATE_NOOP("HistoryReport", "重测")),
                             text(QT_TRANSLATE_NOOP("HistoryReport", "直通率")),
                             text(QT_TRANSLATE_NOOP("HistoryReport", "最终良率"))}};
    for (const Stats::YieldGroup &g : groups)
        rows.append({g.key, QString::number(g.figures.units), QString::number(g.figures.runs),
                     QString::number(g.figures.retests), percent(g.figures.firstPassYield()),
                     percent(g.figures.finalYield())});
    return rows;
}
} // namespace

Stats::ReportCharts *Stats::ReportCharts::installed()
{
    return g_charts;
}

Stats::ReportCharts::ApplicationFactory Stats::ReportCharts::applicationFactory()
{
    return g_factory;
}

bool Stats::ReportCharts::install(ReportCharts *charts, ApplicationFactory factory)
{
    g_charts = charts;
    g_factory = factory;
    return true;
}

QJsonObject Stats::Report::json(const HistoryFigures &figures, const QList<ValueSeries> &series)
{
    const YieldFigures &y = figures.total;
    QJsonObject outcomes;
    for (auto it = y.outcomes.begin(); it != y.outcomes.end(); ++it)
        outcomes.insert(outcomeName(it.key()), it.value());
    QJsonArray pareto;
    for (const ParetoRow &r : figures.pareto)
        pareto.append(QJsonObject{{QStringLiteral("step"), r.step},
                                  {QStringLiteral("failure"), r.failure},
                                  {QStringLiteral("count"), r.count},
                                  {QStringLiteral("share"), r.share},
                                  {QStringLiteral("cumulative"), r.cumulative}});
    QJsonObject values;
    for (const ValueSeries &s : series) {
        const SeriesFigures &f = s.figures;
        values.insert(s.name, QJsonObject{{QStringLiteral("count"), f.count},
                                          {QStringLiteral("mean"), optional(f.mean)},
                                          {QStringLiteral("sigma"), optional(f.sigma)},
                                          {QStringLiteral("ucl"), optional(f.ucl)},
                                          {QStringLiteral("lcl"), optional(f.lcl)},
                                          {QStringLiteral("cp"), optional(f.cp)},
                                          {QStringLiteral("cpk"), optional(f.cpk)},
                                          {QStringLiteral("outOfControl"),
                                           QJsonArray::fromStringList(f.outOfControlSerials())}});
    }
    return {{QStringLiteral("units"), y.units},
            {QStringLiteral("runs"), y.runs},
            {QStringLiteral("retests"), y.retests},
            {QStringLiteral("firstPassYield"), optional(y.firstPassYield())},
            {QStringLiteral("finalYield"), optional(y.finalYield())},
            {QStringLiteral("outcomes"), outcomes},
            {QStringLiteral("pareto"), pareto},
            {QStringLiteral("series"), values}};
}

QByteArray Stats::Report::csv(const QList<QStringList> &rows)
{
    QString out;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &value : row)
            fields.append(field(value));
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QString Stats::Report::outcomeNames(const YieldFigures &y)
{
    QStringList parts;
    for (auto it = y.outcomes.begin(); it != y.outcomes.end(); ++it)
        parts.append(QStringLiteral("%1 %2").arg(outcomeName(it.key())).arg(it.value()));
    return parts.join(QStringLiteral(", "));
}

QString Stats::Report::fileStem(const QString &valueName)
{
    QString stem = valueName;
    stem.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.]+")), QStringLiteral("-"));
    stem.remove(QRegularExpression(QStringLiteral("^-+|-+$")));
    return stem.isEmpty() ? QStringLiteral("value") : stem;
}

QList<Stats::Report::CsvFile> Stats::Report::csvFiles(const ReportInput &input)
{
    const HistoryFigures &f = input.figures;
    QList<CsvFile> files{
        {QStringLiteral("yield-per-day.csv"), csv(yieldRows(f.perDay, QStringLiteral("day")))},
        {QStringLiteral("yield-per-station.csv"),
         csv(yieldRows(f.perStation, QStringLiteral("station")))},
        {QStringLiteral("pareto.csv"), csv(paretoRows(f.pareto))},
    };
    for (const ValueSeries &s : input.series) {
        QList<QStringList> rows{{QStringLiteral("serialNumber"), QStringLiteral("finished"),
                                 QStringLiteral("value"), QStringLiteral("outOfControl")}};
        int next = 0; // into outOfControl, which is in point order
        for (int i = 0; i < s.figures.points.size(); ++i) {
            const SeriesPoint &p = s.figures.points.at(i);
            const bool beyond =
                next < s.figures.outOfControl.size() && s.figures.outOfControl.at(next) == i;
            next += beyond ? 1 : 0;
            rows.append({p.serialNumber, p.time.toString(Qt::ISODateWithMs),
                         QString::number(p.value, 'g', 12),
                         beyond ? QStringLiteral("1") : QStringLiteral("0")});
        }
        files.append({QStringLiteral("series-%1.csv").arg(fileStem(s.name)), csv(rows)});
    }
    return files;
}

QByteArray Stats::Report::html(const ReportInput &input, ReportCharts &charts)
{
    const HistoryFigures &f = input.figures;
    const YieldFigures &y = f.total;
    const bool chinese =
        QCoreApplication::translate("HistoryReport", "直通率") == QStringLiteral("直通率");
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\"><head><meta charset=\"utf-8\">"
                       "<title>%2</title><style>"
                       "body{font-family:sans-serif;margin:2em;color:#222}"
                       "table{border-collapse:collapse;margin:0.5em 0 1.5em}"
                       "td,th{border:1px solid #ccc;padding:0.2em 0.6em;text-align:left}"
                       "th{background:#f0f0f0}svg{max-width:100%;height:auto;display:block}"
                       "</style></head><body>\n")
            .arg(chinese ? QStringLiteral("zh-CN") : QStringLiteral("en"),
                 text(QT_TRANSLATE_NOOP("HistoryReport", "生产统计")).toHtmlEscaped());
    page += QStringLiteral("<h1>%1</h1>\n<p>%2</p>\n")
                .arg(text(QT_TRANSLATE_NOOP("HistoryReport", "生产统计")).toHtmlEscaped(),
                     text(QT_TRANSLATE_NOOP("HistoryReport", "%1；生成于 %2 UTC；日期按 %3"))
                         .arg(input.title, input.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              input.zoneName)
                         .toHtmlEscaped());
    page +=
        htmlTable({{text(QT_TRANSLATE_NOOP("HistoryReport", "台数")),
                    text(QT_TRANSLATE_NOOP("HistoryReport", "测试次数")),
                    text(QT_TRANSLATE_NOOP("HistoryReport", "重测")),
                    text(QT_TRANSLATE_NOOP("HistoryReport", "直通率")),
                    text(QT_TRANSLATE_NOOP("HistoryReport", "最终良率")),
                    text(QT_TRANSLATE_NOOP("HistoryReport", "最后一次结果"))},
                   {QString::number(y.units), QString::number(y.runs), QString::number(y.retests),
                    percent(y.firstPassYield()), percent(y.finalYield()), outcomeNames(y)}});

    page += QStringLiteral("<h2>%1</h2>\n")
                .arg(text(QT_TRANSLATE_NOOP("HistoryReport", "每日良率")).toHtmlEscaped());
    page += inlineSvg(charts.yield(f.perDay, false));
    page += htmlTable(shownYieldRows(f.perDay, text(QT_TRANSLATE_NOOP("HistoryReport", "日期"))));
    page += QStringLiteral("<h2>%1</h2>\n")
                .arg(text(QT_TRANSLATE_NOOP("HistoryReport", "各工位良率")).toHtmlEscaped());
    page += inlineSvg(charts.yield(f.perStation, true));
    page +=
        htmlTable(shownYieldRows(f.perStation, text(QT_TRANSLATE_NOOP("HistoryReport", "工位"))));

    page += QStringLiteral("<h2>%1</h2>\n")
                .arg(text(QT_TRANSLATE_NOOP("HistoryReport", "失败排列图")).toHtmlEscaped());
    page += inlineSvg(charts.pareto(f.pareto));
    QList<QStringList> pareto{{text(QT_TRANSLATE_NOOP("HistoryReport", "步骤")),
                               text(QT_TRANSLATE_NOOP("HistoryReport", "失败")),
                               text(QT_TRANSLATE_NOOP("HistoryReport", "台数")),
                               text(QT_TRANSLATE_NOOP("HistoryReport", "占比")),
                               text(QT_TRANSLATE_NOOP("HistoryReport", "累计"))}};
    for (const ParetoRow &r : f.pareto)
        pareto.append(
            {r.step, r.example, QString::number(r.count), percent(r.share), percent(r.cumulative)});
    page += htmlTable(pareto);

    for (const ValueSeries &s : input.series) {
        const SeriesFigures &v = s.figures;
        page += QStringLiteral("<h2>%1</h2>\n")
                    .arg(text(QT_TRANSLATE_NOOP("HistoryReport", "控制图：%1"))
                             .arg(s.name)
                             .toHtmlEscaped());
        page += inlineSvg(charts.control(s));
        page += htmlTable(
            {{text(QT_TRANSLATE_NOOP("HistoryReport", "点数")),
              text(QT_TRANSLATE_NOOP("HistoryReport", "均值")),
              text(QT_TRANSLATE_NOOP("HistoryReport", "标准差")), QStringLiteral("UCL"),
              QStringLiteral("LCL"), QStringLiteral("Cp"), QStringLiteral("Cpk"),
              text(QT_TRANSLATE_NOOP("HistoryReport", "失控点"))},
             {QString::number(v.count), figure(v.mean), figure(v.sigma), figure(v.ucl),
              figure(v.lcl), figure(v.cp), figure(v.cpk), shownSerials(v.outOfControlSerials())}});
    }
    page += QStringLiteral("</body></html>\n");
    return page.toUtf8();
}
