#pragma once

#include "device/usercommands.h"

#include <QString>
#include <QStringList>

#include <vector>

// What each member of a configuration file may hold, so that a file is checked whole before it
// goes into a module: a whole number in a range (a selector's -1 is no selection, which the
// write refuses where the window would), or one of a few texts.
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

    std::vector<Range> ranges;
    std::vector<Choice> choices;
};
