#pragma once

#include <QPointer>
#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QAction;
class QMainWindow;
class QWidget;
QT_END_NAMESPACE

namespace ProductionMenu {
// An entry of the "生产" menu in window's menu bar ("menuProduction", made before "Language"
// when it is not there yet). text is a QT_TRANSLATE_NOOP source of context, translated again
// with the menu's title on each language change: the main window retranslates only what its
// form holds.
QAction *addEntry(QMainWindow *window, const QString &objectName, const char *context,
                  const char *text);
// Shows the one window that make() builds when there is none (make() may give nothing): a
// top-level window of its own, deleted on close and before the program ends.
void showOne(QPointer<QWidget> *window, const std::function<QWidget *()> &make);
} // namespace ProductionMenu
