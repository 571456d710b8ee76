#include "ui/actionfreeze.h"

#include <QAction>

#include <algorithm>

ActionFreeze::ActionFreeze(const QList<QAction *> &actions)
{
    for (QAction *action : actions) {
        // A menu stays open to look at; its entries are what runs.
        if (!action || action->isSeparator() || action->menu())
            continue;
        const bool seen = std::any_of(m_held.cbegin(), m_held.cend(),
                                      [action](const Held &held) { return held.action == action; });
        if (seen)
            continue;
        m_held.append({action, action->isEnabled(), action->isChecked(), action->signalsBlocked()});
        action->setEnabled(false);
        action->blockSignals(true);
    }
}

ActionFreeze::~ActionFreeze()
{
    for (const Held &held : qAsConst(m_held)) {
        if (!held.action)
            continue;
        // A checkable action triggered meanwhile changed its mark without running.
        held.action->setChecked(held.checked);
        held.action->blockSignals(held.blocked);
        // Only what the freeze disabled: the owner may have disabled an action meanwhile.
        if (held.enabled)
            held.action->setEnabled(true);
    }
}
