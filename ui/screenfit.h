#pragma once

#include <QList>

QT_BEGIN_NAMESPACE
class QRect;
class QScreen;
class QScrollArea;
class QSize;
class QTabWidget;
class QWidget;
QT_END_NAMESPACE

// The pages are laid out for more room than a laptop screen gives: each page scrolls inside its
// tab, the window opens within the screen's free area, and the serial settings window opens
// beside it instead of over its bars.
namespace ScreenFit {
// The size the window was drawn for; it opens at least this large where the screen allows.
QSize designedSize();

// The screen less its panels and task bars. Xvfb has no panel: tests set the geometry one would
// leave (an empty rectangle restores the screen's own).
QRect availableGeometry(const QScreen *screen);
void setAvailableGeometryForTests(const QRect &geometry);

// Moves the content of every page of tabs into a scroll area on that page. A page that holds
// only a tab widget keeps its own tab bar fixed and has each of its pages wrapped instead. The
// pages, object names, layouts, stacking and focus order stay as they were.
void wrapPages(QTabWidget *tabs);

// A wheel over a selector or spin box of the pages that does not have the keyboard focus
// scrolls the page and leaves the value alone. The filter belongs to owner.
void scrollByWheel(QWidget *owner, const QList<QWidget *> &pages);

// The scroll area that shows widget, or nullptr when no page scroll area holds it.
QScrollArea *pageScrollArea(const QWidget *widget);

// Gives window its preferred size (its content's, or the designed size if larger) bounded by
// its screen's available geometry, and places its frame inside that geometry.
void fitToScreen(QWidget *window);

// Places satellite on anchor's screen beside anchor where there is room, else over anchor below
// the widgets that must stay uncovered; always inside the available geometry.
void placeBeside(QWidget *satellite, const QWidget *anchor, const QList<QWidget *> &uncovered);
} // namespace ScreenFit
