#pragma once

#include <QTextStream>

// (e): readings per target of a closed-loop calibration against the simulated test set.
void printCalibrationFigures(QTextStream &out);
