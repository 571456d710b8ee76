#include "sim/radiomodel.h"

#include "device/adjustcommands.h"

#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kSaturationDbm = 39.5; // where the amplifier tends to: every unit reaches 5 W
constexpr double kDriveSpanDb = 25.0;   // saturation minus the output at no drive
constexpr double kWeakShortfallDb = 3.0;
constexpr double kCubicPpm = 1.5e-6; // per step cubed: the crystal's bend far from its centre
constexpr int kByteMax = 255;

// The spread of one unit's curves, fixed by its serial number.
struct Unit
{
    double powerOffsetDb = 0.0;
    double powerTau = 70.0;        // cell steps
    double tcxoCentre = 128.0;     // bias of no frequency error
    double tcxoPpmPerStep = 0.045; // near the centre
    double deviationMaxHz = 5200.0;
    double deviationTau = 110.0; // steps
};

Unit unitOf(const QByteArray &serialNumber)
{
    QRandomGenerator random(qHash(serialNumber));
    const auto between = [&](double low, double high) {
        return low + (high - low) * random.generateDouble();
    };
    Unit unit;
    unit.powerOffsetDb = between(-0.8, 0.8);
    unit.powerTau = between(60.0, 80.0);
    unit.tcxoCentre = between(100.0, 156.0);
    unit.tcxoPpmPerStep = between(0.040, 0.050);
    unit.deviationMaxHz = between(4900.0, 5500.0);
    unit.deviationTau = between(100.0, 120.0);
    return unit;
}

double pointTiltDb(Wire::FreqPoint point)
{
    return point == Wire::FreqPoint::Low ? 0.3 : point == Wire::FreqPoint::High ? -0.4 : 0.0;
}

int column(Wire::FreqPoint point)
{
    return point == Wire::FreqPoint::Low ? 0 : point == Wire::FreqPoint::Middle ? 1 : 2;
}
} // namespace

Wire::FreqPoint RadioModel::pointOf(quint8 band, quint32 tenHz)
{
    const Wire::Band *known = Wire::findBand(band);
    if (!known)
        return Wire::FreqPoint::Middle;
    const double third = (known->freqMax - known->freqMin) / 3.0;
    if (tenHz < known->freqMin + third)
        return Wire::FreqPoint::Low;
    if (tenHz > known->freqMax - third)
        return Wire::FreqPoint::High;
    return Wire::FreqPoint::Middle;
}

double RadioModel::powerDbm(const QByteArray &serialNumber, Wire::FreqPoint point, int cellValue,
                            bool weak)
{
    const Unit unit = unitOf(serialNumber);
    return kSaturationDbm + unit.powerOffsetDb + pointTiltDb(point) -
           kDriveSpanDb * std::exp(-cellValue / unit.powerTau) - (weak ? kWeakShortfallDb : 0.0);
}

double RadioModel::frequencyErrorHz(const QByteArray &serialNumber, int tcxoBias, double carrierHz)
{
    const Unit unit = unitOf(serialNumber);
    const double steps = tcxoBias - unit.tcxoCentre;
    const double ppm = unit.tcxoPpmPerStep * steps + kCubicPpm * steps * steps * steps;
    return ppm * carrierHz / 1e6;
}

double RadioModel::deviationHz(const QByteArray &serialNumber, int effectiveValue)
{
    const Unit unit = unitOf(serialNumber);
    return unit.deviationMaxHz * (1.0 - std::exp(-effectiveValue / unit.deviationTau));
}

RadioModel::Carrier RadioModel::carrier(const ModuleState &state, const QSet<int> &weakCells)
{
    Carrier carrier;
    const int channel = std::clamp<int>(state.currentChannel, 1, Wire::kChannelCount) - 1;
    const ChannelState &current = state.channels[static_cast<size_t>(channel)];
    if (state.transmitMode == 0 || current.txFreq == 0)
        return carrier;
    const Wire::FreqPoint point = pointOf(state.band, current.txFreq);
    const int power = std::min<int>(current.power, Wire::kPowerSteps - 1);
    const int cell = state.powerTable[static_cast<size_t>(Wire::powerTableIndex(power, point))];
    carrier.on = true;
    carrier.hz = current.txFreq * 10.0;
    carrier.dbm =
        powerDbm(state.serialNumber, point, cell, weakCells.contains(power * 10 + column(point)));
    carrier.frequencyErrorHz =
        frequencyErrorHz(state.serialNumber,
                         state.adjustValue(AdjustType::kTcxoBias, Wire::kMiddlePoint), carrier.hz);
    // Data PTT modulates with the data deviation, voice PTT with the voice deviation; the low
    // and high points add their signed difference to the middle value.
    const quint8 type =
        state.transmitMode == 1 ? AdjustType::kDataDeviation : AdjustType::kVoiceDeviation;
    int effective = state.adjustValue(type, Wire::kMiddlePoint);
    if (point != Wire::FreqPoint::Middle)
        effective += static_cast<qint8>(state.adjustValue(type, column(point)));
    carrier.deviationHz = deviationHz(state.serialNumber, std::clamp(effective, 0, kByteMax));
    return carrier;
}
