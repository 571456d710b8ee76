#pragma once

#include "records/recordstarget.h"

#include <QString>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

namespace StatisticsMenu {
// Where the window's history lives, or nothing with the problem.
using Target = std::function<std::optional<RecordsTarget>(QString *problem)>;
// "生产 → 统计…" in the window's menu bar (the menu "menuProduction", made before "Language"
// when it is not there yet): opens one statistics window of its own on the history.
void install(QMainWindow *window, Target target);
} // namespace StatisticsMenu
