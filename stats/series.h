#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Stats {

// One run's value of a calibration value, a user value or a measurement.
struct SeriesPoint
{
    QString serialNumber;
    QDateTime time;
    double value = 0.0;
};

// A recipe's limits on the value; the band of Marginal inside each is drawn on the chart.
struct SpecLimits
{
    double min = 0.0;
    double max = 0.0;
    double marginal = 0.0;
};

// Eight or more points in a row on one side of the centre line; a point on the line ends it.
struct ControlRun
{
    int first = 0; // index into SeriesFigures::points
    int last = 0;
    bool above = false;
};

// An individuals control chart: limits at mean +- 2.66 x the mean moving range (3 sigma, with
// sigma estimated from neighbouring units as the moving range / 1.128).
constexpr double kMovingRangeFactor = 2.66;
constexpr int kRunLength = 8;

struct SeriesFigures
{
    QList<SeriesPoint> points; // in time order, finite values only
    int count = 0;
    std::optional<double> mean;        // from one point
    std::optional<double> sigma;       // the sample standard deviation: from two points
    std::optional<double> movingRange; // the mean of |x[i] - x[i-1]|: from two points
    std::optional<double> ucl;
    std::optional<double> lcl;
    // Against the recipe's limits with the sample standard deviation (the figure reported as
    // sigma); nothing without limits or where sigma is 0.
    std::optional<double> cp;
    std::optional<double> cpk;
    QList<int> outOfControl; // points strictly beyond UCL or LCL
    QList<ControlRun> runs;

    QStringList outOfControlSerials() const;
};

// The points in any order (equal times keep the order given); a value that is not a finite
// number is left out.
SeriesFigures analyseSeries(const QList<SeriesPoint> &points,
                            const std::optional<SpecLimits> &limits = std::nullopt);

// The last `count` points with their marks (out of control, runs: indexes into the points kept),
// so that a chart of a long history stays readable and quick to draw; the figures (mean, limits,
// Cp) stay those of every point.
constexpr int kChartPoints = 2000;
SeriesFigures latestPoints(const SeriesFigures &figures, int count = kChartPoints);

} // namespace Stats
