#pragma once

#include "device/wire.h"
#include "sim/modulestate.h"

#include <QSet>

// The transmitter of the simulated unit as a test set sees it. Each response is monotonic in its
// module value but not linear, and each unit (by serial number) has its own curves, so that a
// calibration has to search rather than compute.
namespace RadioModel {

constexpr double kNoCarrierDbm = -100.0;

// What goes out of the antenna now; off unless the module is forced to transmit.
struct Carrier
{
    bool on = false;
    double hz = 0.0;
    double dbm = kNoCarrierDbm;
    double frequencyErrorHz = 0.0;
    double deviationHz = 0.0; // peak
};

// The calibration point a transmit frequency (10 Hz) falls on: the band in thirds.
Wire::FreqPoint pointOf(quint8 band, quint32 tenHz);

// weakCells: cells written as power * 10 + column (0 low, 1 middle, 2 high), as in
// /TxPowerAdj/cellNN, whose amplifier falls short of its peers.
double powerDbm(const QByteArray &serialNumber, Wire::FreqPoint point, int cellValue,
                bool weak = false);
double frequencyErrorHz(const QByteArray &serialNumber, int tcxoBias, double carrierHz);
double deviationHz(const QByteArray &serialNumber, int effectiveValue);

Carrier carrier(const ModuleState &state, const QSet<int> &weakCells = {});

} // namespace RadioModel
