#pragma once

#include "app/mjsonconfig.h"
#include "records/population.h"

#include <QString>

#include <optional>

// The limits a station checks a unit's values against, named by the paths of the configuration
// and calibration files, and the judging of one value.
namespace Limits {

// Which file format, and so which side of the module, holds a value.
enum class Side
{
    User,    // the user configuration file: read from the user side
    Factory, // the factory calibration file: read from the factory side
};

// A unit further than Sigma standard deviations from the mean of the recipe's latest Units
// passing units is held as MARGINAL, though inside the limits.
struct PopulationLimit
{
    int units = 0;
    double sigma = 0.0;

    bool operator==(const PopulationLimit &other) const
    {
        return units == other.units && sigma == other.sigma;
    }
};

struct Limit
{
    QString path; // e.g. "/TCXO_BIAS"
    Side side = Side::User;
    double min = 0.0;
    double max = 0.0;
    double marginal = 0.0; // width of the band inside each limit that is MARGINAL; 0: none
    std::optional<PopulationLimit> population = std::nullopt;

    bool operator==(const Limit &other) const;
};

enum class Verdict
{
    Pass,
    Marginal, // inside the limits, within Marginal of one of them
    Fail,     // outside the limits
};

struct Judgement
{
    Verdict verdict = Verdict::Fail;
    QString text; // "/TCXO_BIAS = 157, within 5 of Max 160"
};

// The side whose file format has a number at path; nothing for a path neither format has or
// one whose member is not a number (a switch, a text).
std::optional<Side> sideOf(const QString &path);
// Whether either format has the path at all, whatever its type.
bool isKnownPath(const QString &path);

// The number at path among a side's entries (as UserConfig::entries() or
// FactoryCalibration::entries() give them); nothing when it is not there or not a number.
std::optional<double> valueAt(const MJsonConfig::Entries &entries, const QString &path);

// Inside [min, max] is PASS, or MARGINAL when Marginal > 0 and the value is no further than
// Marginal from a limit; anything else (NaN included) is FAIL.
Judgement judge(double value, const Limit &limit);
// As above; then, where the limit has a Population and figures are given, a PASS more than its
// Sigma from their mean is MARGINAL: "/TCXO_BIAS 171 is 4.6 σ above the last 200 units", with
// a note when the figures are the station's cached ones.
Judgement judge(double value, const Limit &limit,
                const std::optional<PopulationFigures> &population);

// The verdict as the line reads it: "PASS", "MARGINAL", "FAIL" in every language.
QString verdictName(Verdict verdict);

} // namespace Limits
