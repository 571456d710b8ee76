#include "stats/powercurves.h"

#include "config/factoryconfig.h"

#include <algorithm>
#include <cmath>
#include <limits>

Stats::PowerCurves::PowerCurves()
{
    for (auto &point : cells)
        point.fill(std::numeric_limits<double>::quiet_NaN());
}

Stats::PowerCurves Stats::PowerCurves::fromValues(const QHash<QString, double> &values)
{
    PowerCurves curves;
    for (const FactoryNumberField &field : FactoryCalibration::numberFields()) {
        if (field.source.kind != FactorySource::Kind::PowerCell)
            continue;
        const auto found = values.constFind(QString::fromLatin1(field.path));
        if (found != values.constEnd())
            curves.cells.at(field.source.point).at(field.source.power) = *found;
    }
    return curves;
}

Stats::PowerCurves Stats::PowerCurves::median(const QList<PowerCurves> &units)
{
    PowerCurves result;
    std::vector<double> values;
    for (int point = 0; point < kPoints; ++point) {
        for (int level = 0; level < kLevels; ++level) {
            values.clear();
            for (const PowerCurves &unit : units) {
                if (std::isfinite(unit.cells[point][level]))
                    values.push_back(unit.cells[point][level]);
            }
            if (values.empty())
                continue;
            std::sort(values.begin(), values.end());
            const size_t half = values.size() / 2;
            result.cells[point][level] =
                values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2.0;
        }
    }
    return result;
}

bool Stats::PowerCurves::isEmpty() const
{
    for (const auto &point : cells) {
        for (const double cell : point) {
            if (std::isfinite(cell))
                return false;
        }
    }
    return true;
}
