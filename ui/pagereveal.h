#pragma once

#include <QString>

// The hidden key sequence that brings a factory page back: a page's select key, then its
// five-character access code. Any wrong character ends the sequence.
class PageReveal
{
public:
    enum class Page
    {
        None,
        Lx815,
        Mr460
    };

    static constexpr int kCodeLength = 5;

    // Feeds one key press; returns the page to reveal when its code has just been completed.
    Page press(int key, const QString &text);

    static int selectKey(Page page);
    static QString accessCode(Page page);
    static QString pageObjectName(Page page);

private:
    Page m_selected = Page::None;
    int m_matched = 0;
};
