// Renders the statistics window's tabs on a 1366 x 768 screen for the documentation
// (scripts/statistics-docs): yields, the failure Pareto, the control chart of a drifting value
// with its out-of-control points, and the newest unit's power curves.
//   lx815-statsshots --lang en_US|zh_CN HISTORY OUTDIR
#include "app/language.h"
#include "records/recordstarget.h"
#include "ui/stats/statisticswindow.h"

#include <QApplication>
#include <QDir>
#include <QSet>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextStream>

namespace {
constexpr QSize kScreen{1366, 768}; // px
constexpr int kWaitMs = 60000;
const char *const kTabs[] = {"yield", "pareto", "control", "curves"};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const int lang = args.indexOf("--lang");
    const QString language = lang > 0 ? args.value(lang + 1) : Language::kChinese;
    if (lang > 0)
        args.erase(args.begin() + lang, args.begin() + lang + 2);
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: lx815-statsshots --lang CODE HISTORY OUTDIR\n";
        return 2;
    }
    Language::install(language);
    QString error;
    const auto target = RecordsTarget::parse(args.at(1), &error);
    if (!target) {
        QTextStream(stderr) << error << "\n";
        return 2;
    }
    StatisticsWindow window(*target);
    QSignalSpy figures(&window, &StatisticsWindow::figuresShown);
    QSignalSpy series(&window, &StatisticsWindow::seriesShown);
    QSignalSpy curves(&window, &StatisticsWindow::curvesShown);
    window.resize(kScreen);
    window.move(0, 0);
    window.show();
    Stats::HistoryFilter filter;
    // The generated history's two months.
    filter.since = QDateTime(QDate(2026, 10, 9), QTime(0, 0), Qt::UTC);
    filter.until = QDateTime(QDate(2026, 12, 9), QTime(0, 0), Qt::UTC);
    figures.clear();
    window.setFilter(filter);
    if (!figures.wait(kWaitMs))
        return 1;
    series.clear();
    window.setValue("/TCXO_BIAS");
    if (series.isEmpty() && !series.wait(kWaitMs))
        return 1;
    // A unit calibrated twice (its previous calibration drawn too), the newest such; its point
    // highlighted near the drift's end.
    const auto *entries = window.findChild<QTableWidget *>("statsEntries");
    if (!entries || entries->rowCount() == 0)
        return 1;
    QString unit = entries->item(0, 1)->text();
    QSet<QString> seen;
    for (int row = 0; row < entries->rowCount(); ++row) {
        const QString serial = entries->item(row, 1)->text();
        if (seen.contains(serial)) {
            unit = serial;
            break;
        }
        seen.insert(serial);
    }
    window.chooseUnit(unit);
    if (!curves.wait(kWaitMs))
        return 1;
    QDir().mkpath(args.at(2));
    const auto shoot = [&](int tab) {
        window.showTab(tab);
        QCoreApplication::processEvents();
        const QString path = QDir(args.at(2))
                                 .filePath(QStringLiteral("statistics-%1-%2.png")
                                               .arg(QLatin1String(kTabs[tab]), language));
        QTextStream(stdout) << path << "\n";
        return window.grab().save(path);
    };
    if (!shoot(2) || !shoot(3))
        return 1;
    // The yields and the Pareto of the last two weeks: a day's bars stay readable.
    filter.since = QDateTime(QDate(2026, 11, 25), QTime(0, 0), Qt::UTC);
    figures.clear();
    window.setFilter(filter);
    if (!figures.wait(kWaitMs) || !shoot(0) || !shoot(1))
        return 1;
    return 0;
}
