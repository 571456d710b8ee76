#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

// The search for the value of a module whose measured response meets a target: the two ends
// bracket it, then false position with a bisection fallback narrows the bracket. Neither the
// direction nor the shape of the response is assumed, only that it is monotonic, which the
// search checks on the way. A value is accepted on a second reading; readings that scatter are
// averaged from then on.
class CalibrationSearch
{
    Q_DECLARE_TR_FUNCTIONS(CalibrationSearch)

public:
    static constexpr int kDefaultMaxReadings = 32; // a bound well above the usual 5 to 8
    static constexpr int kMaxRepeats = 4;          // readings averaged per value once they scatter

    struct Settings
    {
        QString name; // "/TxPowerAdj/cell42", for the texts
        QString unit; // "dBm"
        int minimum = 0;
        int maximum = 255;
        int start = 0; // the module's value now: tried first
        double target = 0.0;
        double tolerance = 0.0;
        int maxReadings = kDefaultMaxReadings;
        int decimals = 1; // of the readings in the texts
    };

    enum class Outcome
    {
        Found,
        OutOfReach,   // the target is beyond what either end gives
        NotMonotonic, // a reading outside what the values around it give
        NoValue,      // two neighbouring values straddle the target, neither within tolerance
        Exhausted,    // no value within tolerance after maxReadings
        Failed        // the measurement itself failed
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        int value = 0;        // the value found, else the best one tried
        double reading = 0.0; // its (mean) reading
        int readings = 0;     // measurements taken
        QString failure;      // empty when found
        bool found() const { return outcome == Outcome::Found; }
    };

    // Sets the value, measures once, returns the reading; nothing with a failure text when it
    // could not.
    using Measure = std::function<std::optional<double>(int value, QString *failure)>;

    static Result run(const Settings &settings, const Measure &measure);
};
