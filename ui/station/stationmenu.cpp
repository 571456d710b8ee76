#include "ui/station/stationmenu.h"

#include "ui/station/stationwindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {
const QString kMenuName = QStringLiteral("menuProduction");
const QString kActionName = QStringLiteral("actStation");

// Retitles the menu and the entry when the language changes: the main window retranslates
// only what its form holds.
class Retitler : public QObject
{
public:
    Retitler(QMenu *menu, QAction *action)
        : QObject(menu)
        , m_menu(menu)
        , m_action(action)
    {
        menu->installEventFilter(this);
        retitle();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_menu && event->type() == QEvent::LanguageChange)
            retitle();
        return false;
    }

private:
    void retitle()
    {
        m_menu->setTitle(QCoreApplication::translate("StationMenu", "生产(&P)"));
        m_action->setText(QCoreApplication::translate("StationMenu", "工位…"));
    }

    QMenu *m_menu;
    QAction *m_action;
};

void openStation()
{
    static QPointer<StationWindow> station;
    if (!station) {
        // No parent: it is a window of its own, not minimised or covered with the main window.
        station = new StationWindow;
        station->setAttribute(Qt::WA_DeleteOnClose);
        // Its lanes end (their units finished) before the program does.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, station.data(),
                         [] { delete station.data(); });
    }
    station->show();
    station->raise();
    station->activateWindow();
}
} // namespace

void StationMenu::install(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    auto *menu = bar->findChild<QMenu *>(kMenuName);
    if (!menu) {
        menu = new QMenu(bar);
        menu->setObjectName(kMenuName);
        auto *language = bar->findChild<QMenu *>(QStringLiteral("menuLanguage"));
        bar->insertMenu(language ? language->menuAction() : nullptr, menu);
    }
    auto *action = new QAction(window);
    action->setObjectName(kActionName);
    menu->addAction(action);
    QObject::connect(action, &QAction::triggered, window, &openStation);
    new Retitler(menu, action);
}
