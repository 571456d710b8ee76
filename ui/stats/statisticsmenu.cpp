#include "ui/stats/statisticsmenu.h"

#include "ui/messagebox.h"
#include "ui/productionmenu.h"
#include "ui/stats/statisticswindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>

void StatisticsMenu::install(QMainWindow *window, Target target)
{
    QAction *action =
        ProductionMenu::addEntry(window, QStringLiteral("actStatistics"), "StatisticsMenu",
                                 QT_TRANSLATE_NOOP("StatisticsMenu", "统计…"));
    QObject::connect(action, &QAction::triggered, window, [window, target] {
        // No parent: a window of its own, not minimised or covered with the main one.
        static QPointer<QWidget> statistics;
        ProductionMenu::showOne(&statistics, [&]() -> QWidget * {
            QString problem;
            const auto records = target(&problem);
            if (!records) {
                MessageBox::critical(window, QCoreApplication::translate("StatisticsMenu", "统计"),
                                     problem);
                return nullptr;
            }
            return new StatisticsWindow(*records);
        });
    });
}
