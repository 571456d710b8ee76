#pragma once

#include "config/factoryconfig.h"
#include "device/wire.h"
#include "instrument/instrument.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

// One target of a calibrate step: a value adjusted until a measurement meets its target, or an
// RSSI or squelch calibration at the generator's levels.
struct CalibrationTarget
{
    enum class Kind
    {
        Value,
        Rssi,   // Levels in dBuV
        Squelch // Levels in uV
    };

    Kind kind = Kind::Value;
    QString value;  // "/TxPowerAdj/cell01": a calibration file path
    int field = -1; // its index into FactoryCalibration::numberFields()
    Instrument::Measurement measure = Instrument::Measurement::Power;
    Wire::FreqPoint point = Wire::FreqPoint::Middle;
    int power = 0; // 0 = 1 W ... 4 = 5 W
    double target = 0.0;
    double tolerance = 0.0;
    QList<double> levels;

    // A Value target on the calibration file path `path`.
    static CalibrationTarget onValue(const QString &path, Instrument::Measurement measure,
                                     Wire::FreqPoint point, int power, double target,
                                     double tolerance)
    {
        CalibrationTarget t;
        t.value = path;
        t.field = FactoryCalibration::indexOfPath(path);
        t.measure = measure;
        t.point = point;
        t.power = power;
        t.target = target;
        t.tolerance = tolerance;
        return t;
    }
};

// What a calibrate step does: where its instrument is, the frequencies of its points, how long
// one transmission may last, and its targets in order.
struct CalibrationPlan
{
    static constexpr char kManual[] = "manual";
    static constexpr int kDefaultMaxTransmitSeconds = 10;

    QString instrument; // an instrument URL, or "manual"
    QString profile;    // a built-in profile's name, or a file (absolute once loaded)
    // Read and checked by Recipe::load with the recipe, so that a profile edited later does not
    // reach a unit under an identity that no longer describes it.
    std::optional<InstrumentProfile> loadedProfile;
    std::array<quint32, 3> points{}; // 10 Hz, low, middle, high
    int maxTransmitSeconds = kDefaultMaxTransmitSeconds;
    QList<CalibrationTarget> targets;

    quint32 frequency(Wire::FreqPoint point) const { return points[static_cast<size_t>(point)]; }
    // The profile the instrument is driven through, for a lane and the wizard alike: the one
    // the recipe was loaded with, else (a plan not from a recipe file) the one profile names.
    std::optional<InstrumentProfile> instrumentProfile(QString *error) const
    {
        return loadedProfile ? loadedProfile : InstrumentProfile::load(profile, error);
    }
};
