#pragma once

#include <QStringList>

// Keeps the tool's own last log lines for the support report: a Qt message handler in front of
// the one that was installed, which still gets every message (without passwords).
namespace LogKeeper {

constexpr int kLines = 500;

// Idempotent; thread-safe once installed.
void install();
// Oldest first: "time level: message".
QStringList lines();

} // namespace LogKeeper
