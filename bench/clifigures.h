#pragma once

#include <QString>
#include <QTextStream>

// (c) and (d): lx815-cli against simulated modules at the module's line rate.
void printCliFigures(QTextStream &out);

// What went over the line, as the simulator's request log says.
struct Traffic
{
    int transactions = 0;
    int bytes = 0; // request frames and reply bytes, both directions
};
// One line per request, "time<TAB>request frame<TAB>reply bytes or -<TAB>fault<TAB>attempt",
// bytes as hex pairs.
Traffic traffic(const QString &logPath);
