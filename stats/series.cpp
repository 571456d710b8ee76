#include "stats/series.h"

#include <algorithm>
#include <cmath>

QStringList Stats::SeriesFigures::outOfControlSerials() const
{
    QStringList serials;
    for (const int i : outOfControl)
        serials.append(points.at(i).serialNumber);
    return serials;
}

Stats::SeriesFigures Stats::analyseSeries(const QList<SeriesPoint> &points,
                                          const std::optional<SpecLimits> &limits)
{
    SeriesFigures figures;
    for (const SeriesPoint &point : points) {
        if (std::isfinite(point.value))
            figures.points.append(point);
    }
    std::stable_sort(figures.points.begin(), figures.points.end(),
                     [](const SeriesPoint &a, const SeriesPoint &b) { return a.time < b.time; });
    const QList<SeriesPoint> &x = figures.points;
    const int n = x.size();
    figures.count = n;
    if (n == 0)
        return figures;

    // Sums taken from the first value, so that a constant series gives its value and 0 exactly.
    const double origin = x.first().value;
    double sum = 0.0;
    for (const SeriesPoint &point : x)
        sum += point.value - origin;
    const double mean = origin + sum / n;
    figures.mean = mean;
    if (n < 2)
        return figures;

    double squares = 0.0;
    double ranges = 0.0;
    for (int i = 0; i < n; ++i) {
        squares += (x.at(i).value - mean) * (x.at(i).value - mean);
        if (i > 0)
            ranges += std::abs(x.at(i).value - x.at(i - 1).value);
    }
    const double sigma = std::sqrt(squares / (n - 1));
    figures.sigma = sigma;
    figures.movingRange = ranges / (n - 1);
    const double ucl = mean + kMovingRangeFactor * *figures.movingRange;
    const double lcl = mean - kMovingRangeFactor * *figures.movingRange;
    figures.ucl = ucl;
    figures.lcl = lcl;

    int start = 0;
    int side = 0; // +1 above the centre line, -1 below, 0 on it
    for (int i = 0; i <= n; ++i) {
        const int here = i == n ? 0 : (x.at(i).value > mean) - (x.at(i).value < mean);
        if (i < n && (x.at(i).value > ucl || x.at(i).value < lcl))
            figures.outOfControl.append(i);
        if (i < n && here == side)
            continue;
        if (side != 0 && i - start >= kRunLength)
            figures.runs.append({start, i - 1, side > 0});
        start = i;
        side = here;
    }

    if (limits && sigma > 0.0) {
        figures.cp = (limits->max - limits->min) / (6.0 * sigma);
        figures.cpk = std::min(limits->max - mean, mean - limits->min) / (3.0 * sigma);
    }
    return figures;
}

Stats::SeriesFigures Stats::latestPoints(const SeriesFigures &figures, int count)
{
    const int skipped = std::max(0, figures.points.size() - count);
    if (skipped == 0)
        return figures;
    SeriesFigures latest = figures;
    latest.points = figures.points.mid(skipped);
    latest.outOfControl.clear();
    for (const int i : figures.outOfControl) {
        if (i >= skipped)
            latest.outOfControl.append(i - skipped);
    }
    latest.runs.clear();
    for (const ControlRun &run : figures.runs) {
        if (run.last >= skipped)
            latest.runs.append(
                {std::max(run.first, skipped) - skipped, run.last - skipped, run.above});
    }
    return latest;
}
