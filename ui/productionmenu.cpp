#include "ui/productionmenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {
class Retitler : public QObject
{
public:
    Retitler(QMenu *menu, QAction *action, const char *context, const char *text)
        : QObject(menu)
        , m_menu(menu)
        , m_action(action)
        , m_context(context)
        , m_text(text)
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
        m_menu->setTitle(QCoreApplication::translate("ProductionMenu", "生产(&P)"));
        m_action->setText(QCoreApplication::translate(m_context, m_text));
    }

    QMenu *m_menu;
    QAction *m_action;
    const char *m_context;
    const char *m_text;
};
} // namespace

QAction *ProductionMenu::addEntry(QMainWindow *window, const QString &objectName,
                                  const char *context, const char *text)
{
    const QString menuName = QStringLiteral("menuProduction");
    QMenuBar *bar = window->menuBar();
    auto *menu = bar->findChild<QMenu *>(menuName);
    if (!menu) {
        menu = new QMenu(bar);
        menu->setObjectName(menuName);
        auto *language = bar->findChild<QMenu *>(QStringLiteral("menuLanguage"));
        bar->insertMenu(language ? language->menuAction() : nullptr, menu);
    }
    auto *action = new QAction(window);
    action->setObjectName(objectName);
    menu->addAction(action);
    new Retitler(menu, action, context, text);
    return action;
}

void ProductionMenu::showOne(QPointer<QWidget> *window, const std::function<QWidget *()> &make)
{
    if (!*window) {
        QWidget *made = make();
        if (!made)
            return;
        *window = made;
        made->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, made, [made] { delete made; });
    }
    (*window)->show();
    (*window)->raise();
    (*window)->activateWindow();
}
