#pragma once

#include "config/userconfig.h"
#include "session/sessionhooks.h"

#include <QStringList>
#include <QVector>

#include <optional>
#include <vector>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// The one table between the user page's values and their widgets: each user value names its
// widgets here, with the step that reads it and how it is read, shown and blanked. The file, the
// session steps, the checks before a write and the channel table's undo go through it; a test
// holds it against the form.
namespace UserBindings {

struct Binding
{
    enum class Kind
    {
        Number,    // a spin box
        Choice,    // a pair of radio buttons: true is the first
        Check,     // a check box
        Selector,  // a combo box's index
        Frequency, // a channel table frequency cell, in 10 Hz
        Cell,      // a channel table selector cell's index
    };

    Kind kind = Kind::Number;
    std::optional<UserStep> step;  // the module step that reads it; none: only files and writes
    const char *widget = nullptr;  // the page widget, or the channel table cell's field
    const char *partner = nullptr; // a pair's second choice
    int minimum = 0;               // a number's range
    int maximum = 0;
    qint64 (*get)(const UserConfig &config, int channel) = nullptr;
    void (*set)(UserConfig &config, int channel, qint64 value) = nullptr;
    QStringList (*items)() = nullptr; // a channel selector's items

    bool inChannelTable() const { return kind == Kind::Frequency || kind == Kind::Cell; }
};

const std::vector<Binding> &all();

// The widgets of one window: the page values are found by name below the user page, the
// channel cells in the table; frequencies outside the band are marked.
struct Widgets
{
    QWidget *page = nullptr;
    QWidget *table = nullptr;
    quint32 bandMinimum = 0;
    quint32 bandMaximum = 0;
};

UserConfig gather(const Widgets &widgets);
// The page values, without the channel table.
void showPage(const Widgets &widgets, const UserConfig &config);
void showChannels(const Widgets &widgets, const UserConfig &config, const QVector<int> &channels);
// What a step read: its page values, or its channel cells (channel 0: every channel).
void showStep(const Widgets &widgets, const UserConfig &config, UserStep step, int channel);
// Blanks a step's page values before it reads them.
void blankStep(const Widgets &widgets, UserStep step);
// Blanks a channel's cells: those a step reads, or all of them.
void blankChannel(const Widgets &widgets, int channel, std::optional<UserStep> step = std::nullopt);
// True when a failed read left one of a step's page values blank, so that a write refuses it.
bool isBlank(const Widgets &widgets, UserStep step);

// The page values as their widgets hold them, a blank one as none, without the channel table:
// what an undo step puts back of a change that replaced them.
using PageState = QVector<std::optional<qint64>>;
PageState pageState(const Widgets &widgets);
void restorePage(const Widgets &widgets, const PageState &state);

} // namespace UserBindings
