#pragma once

#include <QTextStream>

// (c) and (d): lx815-cli against simulated modules at the module's line rate.
void printCliFigures(QTextStream &out);
