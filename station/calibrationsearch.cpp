#include "station/calibrationsearch.h"

#include <QtGlobal>

#include <cmath>
#include <cstdlib>

namespace {
struct Point
{
    int value = 0;
    double reading = 0.0;
};

class Search
{
public:
    using Settings = CalibrationSearch::Settings;
    using Result = CalibrationSearch::Result;
    using Outcome = CalibrationSearch::Outcome;

    Search(const Settings &settings, const CalibrationSearch::Measure &measure)
        : s(settings)
        , m_measure(measure)
    {}

    Result run()
    {
        const int start = qBound(s.minimum, s.start, s.maximum);
        std::optional<Point> first = sample(start);
        if (!first)
            return m_result;
        if (settled(*first))
            return found(*first);
        if (!m_result.failure.isEmpty())
            return m_result;
        Point a = *first, b = *first;
        if (start != s.minimum) {
            auto low = sample(s.minimum);
            if (!low)
                return m_result;
            if (settled(*low))
                return found(*low);
            if (!m_result.failure.isEmpty())
                return m_result;
            a = *low;
        }
        if (start != s.maximum) {
            auto high = sample(s.maximum);
            if (!high)
                return m_result;
            if (settled(*high))
                return found(*high);
            if (!m_result.failure.isEmpty())
                return m_result;
            b = *high;
        }
        if (!between(*first, a, b))
            return notMonotonic(a, *first, b);
        if (side(a) == side(b))
            return outOfReach(std::abs(a.reading - s.target) < std::abs(b.reading - s.target) ? a
                                                                                              : b);
        if (first->value != a.value && first->value != b.value)
            (side(*first) == side(a) ? a : b) = *first;

        int keptA = 0, keptB = 0; // rounds the same end stayed: false position is stalling
        while (b.value - a.value > 1) {
            int x = 0;
            if (keptA >= 2 || keptB >= 2) {
                x = a.value + (b.value - a.value) / 2;
            } else {
                const double t = (s.target - a.reading) / (b.reading - a.reading);
                x = a.value + static_cast<int>(std::lround(t * (b.value - a.value)));
            }
            x = qBound(a.value + 1, x, b.value - 1);
            auto p = sample(x);
            if (!p)
                return m_result;
            if (!between(*p, a, b))
                return notMonotonic(a, *p, b);
            if (settled(*p))
                return found(*p);
            if (!m_result.failure.isEmpty())
                return m_result;
            if (side(*p) == side(a)) {
                a = *p;
                ++keptB;
                keptA = 0;
            } else {
                b = *p;
                ++keptA;
                keptB = 0;
            }
        }
        m_result.outcome = Outcome::NoValue;
        m_result.failure =
            CalibrationSearch::tr("%1 没有容差内的值：%2 时为 %3，%4 时为 %5，目标 %6 ± %7")
                .arg(s.name)
                .arg(a.value)
                .arg(reading(a.reading))
                .arg(b.value)
                .arg(reading(b.reading))
                .arg(number(s.target), QString::number(s.tolerance));
        keepBest(a.value, a.reading);
        keepBest(b.value, b.reading);
        return m_result;
    }

private:
    QString number(double value) const { return QString::number(value, 'f', s.decimals); }
    QString reading(double value) const
    {
        return s.unit.isEmpty() ? number(value) : number(value) + QLatin1Char(' ') + s.unit;
    }
    bool within(double value) const { return std::abs(value - s.target) <= s.tolerance; }
    bool side(const Point &p) const { return p.reading > s.target; }
    // Inside the span of the readings at both sides of its value, give or take the tolerance.
    bool between(const Point &p, const Point &a, const Point &b) const
    {
        const double margin = qMax(s.tolerance, m_spread);
        const double low = qMin(a.reading, b.reading) - margin;
        const double high = qMax(a.reading, b.reading) + margin;
        return p.reading >= low && p.reading <= high;
    }

    void keepBest(int value, double mean)
    {
        if (m_best < 0 || std::abs(mean - s.target) < std::abs(m_result.reading - s.target)) {
            m_best = value;
            m_result.value = value;
            m_result.reading = mean;
        }
    }

    // One reading, or the mean of kMaxRepeats once readings scatter; nothing when the
    // measurement failed or the readings ran out (the result says which).
    std::optional<Point> sample(int value)
    {
        const int wanted = m_scatter ? CalibrationSearch::kMaxRepeats : 1;
        double sum = 0.0, low = 0.0, high = 0.0;
        for (int i = 0; i < wanted; ++i) {
            const auto r = take(value);
            if (!r)
                return std::nullopt;
            sum += *r;
            low = i == 0 ? *r : qMin(low, *r);
            high = i == 0 ? *r : qMax(high, *r);
        }
        m_spread = qMax(m_spread, high - low);
        const Point p{value, sum / wanted};
        m_counts = wanted;
        keepBest(value, p.reading);
        return p;
    }

    std::optional<double> take(int value)
    {
        if (m_result.readings >= s.maxReadings) {
            exhausted();
            return std::nullopt;
        }
        QString failure;
        const auto r = m_measure(value, &failure);
        ++m_result.readings;
        if (!r) {
            m_result.outcome = Outcome::Failed;
            m_result.failure = failure;
            return std::nullopt;
        }
        return r;
    }

    // A value within tolerance is read once more; when the two readings differ by more than
    // half the tolerance, the readings scatter and the value is judged on their mean.
    bool settled(Point &p)
    {
        if (!within(p.reading))
            return false;
        double sum = p.reading * m_counts;
        int count = m_counts;
        const auto again = take(p.value);
        if (!again)
            return false;
        sum += *again;
        ++count;
        m_spread = qMax(m_spread, std::abs(*again - p.reading));
        if (!m_scatter && std::abs(*again - p.reading) > s.tolerance / 2) {
            m_scatter = true;
            while (count < CalibrationSearch::kMaxRepeats) {
                const auto more = take(p.value);
                if (!more)
                    return false;
                sum += *more;
                ++count;
                m_spread = qMax(m_spread, std::abs(*more - p.reading));
            }
        }
        p.reading = sum / count;
        m_counts = count;
        m_result.value = p.value;
        m_result.reading = p.reading;
        m_best = p.value;
        return within(p.reading);
    }

    Result found(const Point &p)
    {
        m_result.outcome = Outcome::Found;
        m_result.value = p.value;
        m_result.reading = p.reading;
        m_result.failure.clear();
        return m_result;
    }

    Result outOfReach(const Point &end)
    {
        m_result.outcome = Outcome::OutOfReach;
        m_result.value = end.value;
        m_result.reading = end.reading;
        m_result.failure = CalibrationSearch::tr("%1 在 %2 时只能达到 %3，目标 %4")
                               .arg(s.name)
                               .arg(end.value)
                               .arg(reading(end.reading), number(s.target));
        return m_result;
    }

    Result notMonotonic(const Point &a, const Point &p, const Point &b)
    {
        m_result.outcome = Outcome::NotMonotonic;
        m_result.failure =
            CalibrationSearch::tr("%1 的响应不单调：%2 时为 %3，%4 时为 %5，%6 时为 %7")
                .arg(s.name)
                .arg(a.value)
                .arg(reading(a.reading))
                .arg(p.value)
                .arg(reading(p.reading))
                .arg(b.value)
                .arg(reading(b.reading));
        return m_result;
    }

    void exhausted()
    {
        m_result.outcome = Outcome::Exhausted;
        m_result.failure =
            CalibrationSearch::tr("%1 在 %2 次读数内未达到目标 %3 ± %4，最接近的是 %5 时的 %6")
                .arg(s.name)
                .arg(s.maxReadings)
                .arg(number(s.target), QString::number(s.tolerance))
                .arg(m_result.value)
                .arg(reading(m_result.reading));
    }

    const Settings &s;
    const CalibrationSearch::Measure &m_measure;
    Result m_result;
    bool m_scatter = false;
    int m_counts = 1; // readings behind the last sample's mean
    int m_best = -1;
    double m_spread = 0.0; // widest scatter of readings at one value so far
};
} // namespace

CalibrationSearch::Result CalibrationSearch::run(const Settings &settings, const Measure &measure)
{
    return Search(settings, measure).run();
}
