#pragma once

#include <QtGlobal>

#include <functional>

QT_BEGIN_NAMESPACE
class QCoreApplication;
QT_END_NAMESPACE

// On SIGTERM or SIGINT, runs onSignal (default: quit the event loop) from the event loop, so
// the program ends the way a normal exit does: files closed, links removed, settings kept.
// False when the signal pipe cannot be made.
bool installTerminationHandler(QCoreApplication &app, std::function<void()> onSignal = {});
