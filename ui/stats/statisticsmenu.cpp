#include "ui/stats/statisticsmenu.h"

#include "ui/messagebox.h"
#include "ui/stats/statisticswindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {
const QString kMenuName = QStringLiteral("menuProduction");

QString text(const char *source)
{
    return QCoreApplication::translate("StatisticsMenu", source);
}

// Retitles the entry (and the menu, which another entry may share) when the language changes:
// the main window retranslates only what its form holds.
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
        m_menu->setTitle(text(QT_TRANSLATE_NOOP("StatisticsMenu", "生产(&P)")));
        m_action->setText(text(QT_TRANSLATE_NOOP("StatisticsMenu", "统计…")));
    }

    QMenu *m_menu;
    QAction *m_action;
};
} // namespace

void StatisticsMenu::install(QMainWindow *window, Target target)
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
    action->setObjectName(QStringLiteral("actStatistics"));
    menu->addAction(action);
    new Retitler(menu, action);
    QObject::connect(action, &QAction::triggered, window, [window, target] {
        static QPointer<StatisticsWindow> statistics;
        if (!statistics) {
            QString problem;
            const auto records = target(&problem);
            if (!records) {
                MessageBox::critical(window, text(QT_TRANSLATE_NOOP("StatisticsMenu", "统计")),
                                     problem);
                return;
            }
            // No parent: a window of its own, not minimised or covered with the main one.
            statistics = new StatisticsWindow(*records);
            statistics->setAttribute(Qt::WA_DeleteOnClose);
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, statistics.data(),
                             [] { delete statistics.data(); });
        }
        statistics->show();
        statistics->raise();
        statistics->activateWindow();
    });
}
