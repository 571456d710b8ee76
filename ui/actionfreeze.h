#pragma once

#include <QList>
#include <QPointer>
#include <QVector>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

// While an operation runs, no action of the window may run, however it is triggered: a click, a
// key, the accessibility interface or QAction::trigger() from code (which in Qt 5 runs even a
// disabled action). Each action is disabled, so that it shows as unavailable, and its signals
// are held back; when the freeze ends, each gets back its enabled state, signals and check mark.
class ActionFreeze
{
public:
    explicit ActionFreeze(const QList<QAction *> &actions);
    ~ActionFreeze();
    ActionFreeze(const ActionFreeze &) = delete;
    ActionFreeze &operator=(const ActionFreeze &) = delete;

private:
    struct Held
    {
        QPointer<QAction> action;
        bool enabled = false;
        bool checked = false;
        bool blocked = false;
    };
    QVector<Held> m_held;
};
