#include "ui/station/stationmenu.h"

#include "ui/productionmenu.h"
#include "ui/station/stationwindow.h"

#include <QAction>
#include <QMainWindow>

void StationMenu::install(QMainWindow *window)
{
    QAction *action = ProductionMenu::addEntry(window, QStringLiteral("actStation"), "StationMenu",
                                               QT_TRANSLATE_NOOP("StationMenu", "工位…"));
    QObject::connect(action, &QAction::triggered, window, [] {
        // No parent: a window of its own, not minimised or covered with the main window; its
        // lanes end (their units finished) before the program does.
        static QPointer<QWidget> station;
        ProductionMenu::showOne(&station, [] { return new StationWindow; });
    });
}
