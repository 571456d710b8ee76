// Closed-loop calibration: the search over responses of every shape and over the simulated
// units' curves, and the calibrate step against the simulator and its test set.
#include "app/language.h"
#include "sim/radiomodel.h"
#include "station/calibrationsearch.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {
using Response = std::function<double(int value)>;

// The responses the search meets, by name; "noisy" adds the given one-sigma scatter.
Response response(const QString &name)
{
    if (name == "rising")
        return [](int v) {
            return 10.0 + 0.1 * v;
        };
    if (name == "falling")
        return [](int v) {
            return 40.0 - 0.1 * v;
        };
    if (name == "bent") // steep at first, flat near the top
        return [](int v) {
            return 39.5 - 25.0 * std::exp(-v / 70.0);
        };
    if (name == "saturating") // flat above 150
        return [](int v) {
            return 20.0 + 0.1 * std::min(v, 150);
        };
    if (name == "cubic") // a crystal far from its centre
        return [](int v) {
            return 0.045 * (v - 128) + 1.5e-6 * std::pow(v - 128, 3);
        };
    if (name == "peak")
        return [](int v) {
            return 30.0 - 0.002 * (v - 128) * (v - 128);
        };
    if (name == "coarse") // whole units per step: no value between 20 and 21
        return [](int v) {
            return double(v);
        };
    return {};
}

CalibrationSearch::Result searchOn(const Response &f, double noise, double target, double tolerance,
                                   int start, int budget = CalibrationSearch::kDefaultMaxReadings)
{
    QRandomGenerator random(7);
    CalibrationSearch::Settings settings;
    settings.name = "/TxPowerAdj/cell42";
    settings.unit = "dBm";
    settings.start = start;
    settings.target = target;
    settings.tolerance = tolerance;
    settings.maxReadings = budget;
    return CalibrationSearch::run(settings, [&](int value, QString *) -> std::optional<double> {
        const double u = 1.0 - random.generateDouble(), w = random.generateDouble();
        return f(value) + noise * std::sqrt(-2.0 * std::log(u)) * std::cos(2 * M_PI * w);
    });
}
} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Language::install(Language::kEnglish); }

    void search_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<double>("noise");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("maxReadings");
        QTest::addColumn<QString>("failure"); // what the text says
        using O = CalibrationSearch::Outcome;
        const int found = int(O::Found);
        QTest::newRow("rising") << "rising" << 0.0 << 27.3 << 0.05 << 128 << found << 6 << "";
        QTest::newRow("falling") << "falling" << 0.0 << 27.3 << 0.05 << 0 << found << 6 << "";
        QTest::newRow("already there") << "rising" << 0.0 << 22.8 << 0.1 << 128 << found << 2 << "";
        QTest::newRow("bent") << "bent" << 0.0 << 37.0 << 0.1 << 40 << found << 10 << "";
        QTest::newRow("bent low") << "bent" << 0.0 << 20.0 << 0.3 << 200 << found << 10 << "";
        QTest::newRow("saturating")
            << "saturating" << 0.0 << 34.0 << 0.05 << 0 << found << 12 << "";
        QTest::newRow("cubic") << "cubic" << 0.0 << 0.0 << 0.02 << 20 << found << 10 << "";
        QTest::newRow("noisy") << "bent" << 0.3 << 33.0 << 0.3 << 128 << found << 24 << "";
        QTest::newRow("out of reach above")
            << "bent" << 0.0 << 40.0 << 0.1 << 128 << int(O::OutOfReach) << 3
            << "/TxPowerAdj/cell42 reaches only 38.8 dBm at 255, target 40.0";
        QTest::newRow("out of reach below")
            << "falling" << 0.0 << 12.0 << 0.1 << 50 << int(O::OutOfReach) << 3
            << "/TxPowerAdj/cell42 reaches only 14.5 dBm at 255, target 12.0";
        QTest::newRow("flat beyond reach")
            << "saturating" << 0.0 << 36.0 << 0.1 << 255 << int(O::OutOfReach) << 2
            << "reaches only 35.0 dBm at 255, target 36.0";
        QTest::newRow("peak")
            << "peak" << 0.0 << 20.0 << 0.1 << 128 << int(O::NotMonotonic) << 3
            << "does not respond monotonically: -2.8 dBm at 0, 30.0 dBm at 128, -2.3 dBm at 255";
        QTest::newRow("no value in tolerance")
            << "coarse" << 0.0 << 20.5 << 0.2 << 0 << int(O::NoValue) << 12
            << "no value of /TxPowerAdj/cell42 is within tolerance: 20.0 dBm at 20, 21.0 dBm at "
               "21, target 20.5 ± 0.2";
        QTest::newRow("budget spent")
            << "bent" << 0.0 << 37.0 << 0.01 << 0 << int(O::Exhausted) << 5
            << "did not reach target 37.0 ± 0.01 in 5 readings; closest:";
    }
    void search()
    {
        QFETCH(QString, shape);
        QFETCH(double, noise);
        QFETCH(double, target);
        QFETCH(double, tolerance);
        QFETCH(int, start);
        QFETCH(int, outcome);
        QFETCH(int, maxReadings);
        QFETCH(QString, failure);
        const Response f = response(shape);
        // The budget row gives the search fewer readings than it needs.
        const bool budgetRow = outcome == int(CalibrationSearch::Outcome::Exhausted);
        const auto result =
            searchOn(f, noise, target, tolerance, start,
                     budgetRow ? maxReadings : CalibrationSearch::kDefaultMaxReadings);
        QVERIFY2(int(result.outcome) == outcome, qPrintable(result.failure));
        QVERIFY2(result.readings <= maxReadings, qPrintable(QString::number(result.readings)));
        QVERIFY2(result.failure.contains(failure), qPrintable(result.failure));
        if (result.found())
            QVERIFY(std::abs(f(result.value) - target) <= tolerance + 2 * noise);
    }

    // The simulated units' own curves, as a bench calibrates them: fifteen power cells, the
    // crystal and the deviation, over many serial numbers; readings counted per target.
    void radioModelUnits()
    {
        QList<int> counts;
        constexpr double kCellTargetsDbm[] = {30.0, 33.0, 34.8, 36.0, 37.0}; // 1 W ... 5 W
        for (int unit = 0; unit < 64; ++unit) {
            const QByteArray sn = QByteArray::fromHex("4C58815000") + char(unit);
            const auto count = [&](const Response &f, double noise, double target, double tol) {
                const auto result = searchOn(f, noise, target, tol, 128);
                QVERIFY2(result.found(), qPrintable(result.failure));
                counts.append(result.readings);
            };
            for (int power = 0; power < 5; ++power) {
                for (const auto point :
                     {Wire::FreqPoint::Low, Wire::FreqPoint::Middle, Wire::FreqPoint::High}) {
                    count([&](int v) { return RadioModel::powerDbm(sn, point, v); }, 0.03,
                          kCellTargetsDbm[power], 0.3);
                }
            }
            count([&](int v) { return RadioModel::frequencyErrorHz(sn, v, 470e6); }, 2.0, 0.0,
                  50.0);
            for (int i = 0; i < 3; ++i)
                count([&](int v) { return RadioModel::deviationHz(sn, v); }, 6.0, 2400.0, 60.0);
        }
        std::sort(counts.begin(), counts.end());
        const int median = counts[counts.size() / 2];
        qInfo("readings per target over %d targets: median %d, max %d", int(counts.size()), median,
              counts.constLast());
        QVERIFY(median <= 8);
        QVERIFY(counts.constLast() <= 10);
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
