#pragma once

#include "device/usercommands.h"

#include <QString>
#include <QStringList>

#include <vector>

// What each member of a configuration file may hold, so that a file is checked whole before it
// goes into a module: a whole number in a range (a selector's -1 is no selection, which the
// write refuses where the window would), or one of a few texts; and, for a file to write, the
// selections the write sends.
struct MemberLimits
{
    struct Range
    {
        QString path;
        UserParams::Range range;
    };
    struct Choice
    {
        QString path;
        QStringList texts;
    };

    // A selector whose no selection (or heading) the write refuses once it has begun: what it
    // must hold in a file to write. A channel's selector is sent only while the channel is in
    // use, both its frequencies set.
    struct Selection
    {
        QString path;
        std::vector<UserParams::Range> sent; // the indices the write sends, in runs
        int channel = 0;                     // 0: sent whatever the channels hold
        QStringList frequencies;             // the channel's receive and transmit frequency
    };

    std::vector<Range> ranges;
    std::vector<Choice> choices;
    std::vector<Selection> selections;
};
