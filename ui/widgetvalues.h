#pragma once

#include <QString>

#include <optional>

QT_BEGIN_NAMESPACE
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSpinBox;
QT_END_NAMESPACE

// How module values sit in widgets: a read blanks what it will fill, so that a failed read shows
// no stale value, and a write refuses a blank input.
namespace WidgetValues {

// Unchecks both buttons of an exclusive pair.
void blank(QAbstractButton *first, QAbstractButton *second);
// Shows the spin box empty while it stays at its minimum.
void blank(QSpinBox *spinBox);
void blank(QComboBox *comboBox);

// Clears the blank marker and sets the value (clamped to the box's range).
void setValue(QSpinBox *spinBox, int value);
// True when a failed read left the box blank and the user has not changed it since.
bool isBlank(const QSpinBox *spinBox);
// Checks the first button of a pair, or else the second.
void choose(QAbstractButton *first, QAbstractButton *second, bool firstChosen);
// True when neither button of a pair is checked.
bool isBlank(const QAbstractButton *first, const QAbstractButton *second);
// What a write sends: nothing for a blank box or pair.
std::optional<int> valueOf(const QSpinBox *spinBox);
std::optional<bool> firstChosen(const QAbstractButton *first, const QAbstractButton *second);

// Shows a text the program set (a read, a file, an undo step), which is no entry to check.
void show(QLineEdit *edit, const QString &text);
// True while the edit holds what show() put there, not what the user typed.
bool isShown(const QLineEdit *edit);

} // namespace WidgetValues
