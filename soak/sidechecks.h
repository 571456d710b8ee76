#pragma once

#include "sim/modulestate.h"
#include "ui/mainwindow.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// The two halves of the window the soak exercises: the user page with the identification and
// the channel table, and the LX-815 factory page. For each: random valid values for the module
// and for the window, and what the window must show after a read and must have sent after a
// write. The comparisons return one line per value that differs, empty when all agree.
namespace UserSide {

void randomiseModule(ModuleState &state, QRandomGenerator &random);
// Values the window can send to a module of this band without a guard refusing them.
void randomiseWindow(MainWindow &window, quint8 band, QRandomGenerator &random);
QStringList afterRead(const MainWindow &window, const ModuleState &state);
QStringList afterWrite(const MainWindow &window, const ModuleState &state);

// The name afterRead gives a firmware difference, and whether that difference is the module's
// text cut short by one character: a reply of the module's own making that the protocol, which
// gives the text no length, cannot tell from a shorter version text.
extern const QString kFirmwareField;
bool isFirmwareCutShort(const MainWindow &window, const ModuleState &state);

} // namespace UserSide

namespace FactorySide {

void randomiseModule(ModuleState &state, const MainWindow &window, QRandomGenerator &random);
void randomiseWindow(MainWindow &window, QRandomGenerator &random);
QStringList afterRead(const MainWindow &window, const ModuleState &state);
QStringList afterWrite(const MainWindow &window, const ModuleState &state);

} // namespace FactorySide

namespace SideChecks {

// The window's widget of that name; a missing widget means the soak no longer fits the window,
// which ends the run at once rather than counting every cycle as wrong.
template<class T> T *widget(const MainWindow &window, const QString &name);
void missingWidget(const QString &name);

// Adds "name: actual, should be expected" when the two differ.
void compare(QStringList &differences, const QString &name, const QString &actual,
             const QString &expected);
void compare(QStringList &differences, const QString &name, qint64 actual, qint64 expected);
int randomIn(QRandomGenerator &random, int minimum, int maximum); // both ends included

} // namespace SideChecks

template<class T> T *SideChecks::widget(const MainWindow &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        missingWidget(name);
    return found;
}
