#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

namespace StationMenu {
// "生产 → 工位…" in window's menu bar (the menu "menuProduction", made before "Language" when
// it is not there yet): opens the one station window, a top-level window of its own.
void install(QMainWindow *window);
} // namespace StationMenu
