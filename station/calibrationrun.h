#pragma once

#include "config/factoryconfig.h"
#include "protocol/commandengine.h"
#include "records/unitrecord.h"
#include "session/modulesession.h"
#include "station/calibrationmodule.h"
#include "station/calibrationplan.h"
#include "station/measurementsource.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// What one target came to; a measurement of the unit's record.
struct CalibrationTargetResult
{
    QString name; // the value's path, or "rssi" / "squelch"
    QString unit; // of target, tolerance and reading
    double target = 0.0;
    double tolerance = 0.0;
    int before = 0;
    int after = 0;
    double reading = 0.0;
    int readings = 0;
    bool ok = false;
    QString failure;

    // As the unit's history entry keeps it, whoever ran the calibration: a value's after with
    // its before, a receiver calibration's last level; reading, target, tolerance, readings.
    UnitRecord::Measurement measurement() const;
};

// A calibrate step on one module: for each target, the module on the point's frequency and
// power, keyed up, measured and adjusted, keyed down; then the values read back and saved as the
// unit's calibration file. Runs on the calling thread (a lane's worker) with the engine and
// instrument that thread made; cancel() may come from any thread.
class CalibrationRun : private FailureReporter
{
    Q_DECLARE_TR_FUNCTIONS(CalibrationRun)

public:
    struct Outcome
    {
        bool ok = false;
        ModuleIdentity identity;
        QList<CalibrationTargetResult> targets;        // those begun, in order
        std::optional<FactoryCalibration> calibration; // read back after the last target
        QString file;                                  // the calibration file written
        QString failure;                               // the first failure
    };
    // After each reading: the target's index, the value set and the reading.
    using Progress = std::function<void(int target, int value, double reading)>;

    CalibrationRun(const CalibrationPlan &plan, CommandEngine &engine, Instrument &instrument);
    // Readings from any source: an instrument, or a person at the bench.
    CalibrationRun(const CalibrationPlan &plan, CommandEngine &engine, MeasurementSource &source);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Any thread; a reading a person is asked for is not cancelled by this alone.
    // Kept when it comes before run(): a run object runs once, and a cancel pressed while the
    // worker starts must still key the module down at the first chance.
    void cancel() { m_cancel = true; }
    bool isCancelled() const { return m_cancel; }

    // folder: where <serial number>.json goes (made by the recipe's loading).
    Outcome run(const QString &folder);

    // The generator levels: dBuV and uV into dBm across 50 ohms.
    static double dbuvToDbm(double dbuv) { return dbuv - kDbuvPerDbm; }
    static double uvToDbm(double uv);
    // The module's squelch calibration byte of a level in uV; nothing for one it has not.
    static std::optional<quint8> squelchLevelByte(double uv);

private:
    static constexpr double kDbuvPerDbm = 107.0; // 0 dBm is 107 dBuV across 50 ohms

    void reportFailure(const QString &text) override { m_lastFailure = text; }
    bool target(const CalibrationTarget &target, CalibrationTargetResult *result);
    bool valueTarget(const CalibrationTarget &target, CalibrationTargetResult *result);
    bool levelsTarget(const CalibrationTarget &target, CalibrationTargetResult *result);
    bool tune(const CalibrationTarget &target);
    // request (a module request while the module transmits, or the key-up) ends by the
    // transmission's limit, answered or not.
    bool withinLimit(const TransmitGuard &transmit, const std::function<bool()> &request);
    // The failure with the module's silence added when it did not confirm normal mode.
    QString keyDownFailure(TransmitGuard &transmit, const QString &failure);
    static QString lostText();
    QString limitText(const CalibrationTarget &target, const TransmitGuard &transmit) const;
    QString failureText() const;

    const CalibrationPlan &m_plan;
    CommandEngine &m_engine;
    CalibrationModule m_module;
    std::unique_ptr<InstrumentSource> m_ownSource; // when made with an instrument
    MeasurementSource &m_source;
    Progress m_progress;
    std::atomic<bool> m_cancel{false};
    QString m_lastFailure;
    int m_index = 0;                                    // of the running target
    std::optional<ChannelCommands::Records> m_channels; // as the module has them now
};
