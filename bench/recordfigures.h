#pragma once

#include <QTextStream>

// (e): what the unit history adds to an lx815-cli operation, SQLite and PostgreSQL side by side.
void printRecordFigures(QTextStream &out);
