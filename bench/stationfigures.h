#pragma once

#include <QTextStream>

// (f) the station: one unit through the example recipe next to the line time of its requests,
// and 16 lanes at once next to one.
void printStationFigures(QTextStream &out);
