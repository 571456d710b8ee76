#include "ui/pagereveal.h"

#include <Qt>

int PageReveal::selectKey(Page page)
{
    switch (page) {
    case Page::Lx815:
        return Qt::Key_F7;
    case Page::Mr460:
        return Qt::Key_F8;
    case Page::None:
        break;
    }
    return Qt::Key_unknown;
}

QString PageReveal::accessCode(Page page)
{
    // Built at run time so that the codes do not stand in the program as text.
    switch (page) {
    case Page::Lx815:
        return QString::number(815 * 100);
    case Page::Mr460:
        return QString::number(460 * 100);
    case Page::None:
        break;
    }
    return QString();
}

QString PageReveal::pageObjectName(Page page)
{
    switch (page) {
    case Page::Lx815:
        return QStringLiteral("tab_lx815");
    case Page::Mr460:
        return QStringLiteral("tab_mr460");
    case Page::None:
        break;
    }
    return QString();
}

PageReveal::Page PageReveal::press(int key, const QString &text)
{
    for (Page page : {Page::Lx815, Page::Mr460}) {
        if (key == selectKey(page)) {
            m_selected = page;
            m_matched = 0;
            return Page::None;
        }
    }
    if (m_selected == Page::None)
        return Page::None;
    const QString code = accessCode(m_selected);
    // After a reveal the count stays at the code's length, so the next key ends the sequence.
    if (m_matched < code.size() && text == code.at(m_matched)) {
        if (++m_matched == code.size())
            return m_selected;
        return Page::None;
    }
    m_selected = Page::None;
    return Page::None;
}
