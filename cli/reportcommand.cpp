#include "cli/reportcommand.h"

#include "records/recordstore.h"
#include "stats/historyreport.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTimeZone>

#include <cstring>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

bool writeFile(const QString &path, const QByteArray &content, Console &console)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    console.error(text(QT_TRANSLATE_NOOP("CommandLine", "无法写入文件 %1：%2"))
                      .arg(path, file.errorString()));
    return false;
}

// The filter in the words of the page's heading.
QString titleOf(const CliOptions &options)
{
    QStringList parts;
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    if (options.since.isValid() || options.until.isValid())
        parts.append(QStringLiteral("%1 – %2").arg(
            options.since.isValid() ? options.since.toString(format) : QStringLiteral("…"),
            options.until.isValid() ? options.until.toString(format) : QStringLiteral("…")));
    else
        parts.append(text(QT_TRANSLATE_NOOP("CommandLine", "全部记录")));
    if (!options.stationFilter.isEmpty())
        parts.append(text(QT_TRANSLATE_NOOP("CommandLine", "工位 %1")).arg(options.stationFilter));
    if (!options.recipeSha256.isEmpty())
        parts.append(
            text(QT_TRANSLATE_NOOP("CommandLine", "工艺 %1")).arg(options.recipeSha256.left(12)));
    return parts.join(QStringLiteral(", "));
}
} // namespace

bool ReportCommand::drawsCharts(int argc, char **argv)
{
    bool report = false;
    bool json = false;
    bool out = false;
    for (int i = 1; i < argc; ++i) {
        report = report || std::strcmp(argv[i], "report") == 0;
        json = json || std::strcmp(argv[i], "--json") == 0;
        out = out || std::strncmp(argv[i], "--out", 5) == 0;
    }
    return report && (out || !json);
}

std::optional<int> ReportCommand::resolveRecipe(RecordStore &store, QString *sha, Console &console)
{
    if (sha->isEmpty() || sha->size() >= 64)
        return std::nullopt;
    const auto recipes = store.recipesStartingWith(*sha);
    if (!recipes) {
        console.error(store.lastError());
        return ExitCode::kModule;
    }
    if (recipes->size() > 1) {
        console.error(QStringLiteral("the SHA-256s of at least two recipes begin with "
                                     "--recipe %1 (%2): give more digits")
                          .arg(*sha, recipes->join(QStringLiteral(", "))));
        return ExitCode::kUsage;
    }
    if (!recipes->isEmpty())
        *sha = recipes->constFirst();
    return std::nullopt;
}

int ReportCommand::run(const CliOptions &options, const RecordsTarget &records, Console &console)
{
    Stats::HistoryFilter filter;
    filter.since = options.since;
    filter.until = options.until;
    filter.station = options.stationFilter;
    filter.recipeSha = options.recipeSha256;
    RecordStore store(records);
    // A prefix that begins no recipe: the figures of no run.
    if (const auto failed = resolveRecipe(store, &filter.recipeSha, console))
        return *failed;
    Stats::HistoryStats stats(store);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    Stats::ReportInput input;
    const auto figures = stats.figures(filter, zone);
    if (!figures) {
        console.error(stats.lastError());
        return ExitCode::kModule;
    }
    input.figures = *figures;
    for (const QString &name : options.values) {
        const auto series = stats.series(filter, name);
        if (!series) {
            console.error(stats.lastError());
            return ExitCode::kModule;
        }
        input.series.append(*series);
    }
    if (options.json) {
        console.result(QString(), QString::fromUtf8(QJsonDocument(Stats::Report::json(input.figures,
                                                                                      input.series))
                                                        .toJson(QJsonDocument::Compact)));
        if (options.outDir.isEmpty())
            return ExitCode::kOk;
    }

    Stats::ReportCharts *charts = Stats::ReportCharts::installed();
    if (!charts) {
        console.error(text(QT_TRANSLATE_NOOP("CommandLine", "此程序不能绘制图表")));
        return ExitCode::kUsage;
    }
    const QDir out(options.outDir);
    if (!QDir().mkpath(out.absolutePath())) {
        console.error(
            text(QT_TRANSLATE_NOOP("CommandLine", "无法创建文件夹 %1")).arg(out.absolutePath()));
        return ExitCode::kUsage;
    }
    input.title = titleOf(options);
    input.made = QDateTime::currentDateTimeUtc();
    input.zoneName = QString::fromUtf8(zone.id());
    if (!writeFile(out.filePath(QStringLiteral("report.html")), Stats::Report::html(input, *charts),
                   console))
        return ExitCode::kUsage;
    for (const Stats::Report::CsvFile &file : Stats::Report::csvFiles(input)) {
        if (!writeFile(out.filePath(file.name), file.content, console))
            return ExitCode::kUsage;
    }
    if (!options.json && !options.quiet)
        console.result(QString(), out.filePath(QStringLiteral("report.html")));
    return ExitCode::kOk;
}
