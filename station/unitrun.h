#pragma once

#include "protocol/commandengine.h"
#include "session/modulesession.h"
#include "session/modulesnapshot.h"
#include "station/lane.h"
#include "station/recipe.h"

#include <QCoreApplication>
#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

class CalibrationRun;

// One unit through a recipe on an open engine: the identification, the Accept check, then each
// step in order, stopping at the first that fails. Runs on the lane's thread; cancel() may come
// from any thread and reaches a calibrate step (which keys the module down first); the other
// steps are never interrupted, so no module is left half-written.
class UnitRun : private FailureReporter
{
    Q_DECLARE_TR_FUNCTIONS(UnitRun)

public:
    // The step running and how far the unit is, 0 to 100.
    using Progress = std::function<void(const QString &step, int percent)>;
    // Where a value of the recipe usually lies (a check limit's Population): its name and the
    // number of passing units; nothing holds no unit.
    using PopulationSource =
        std::function<std::optional<PopulationFigures>(const QString &name, int units)>;

    UnitRun(const Recipe &recipe, CommandEngine &engine, const QString &port,
            Progress progress = {});
    ~UnitRun() override;

    // scanned: the serial number the unit must say; empty for any. lineLost: whether the port
    // went away, asked after each failing step (the failure is then the tool's, not the unit's).
    LaneUnit run(const QString &scanned, const std::function<bool()> &lineLost);
    void cancel();
    void setPopulationSource(PopulationSource source) { m_population = std::move(source); }
    // Called once the unit has said who it is, before anything is judged or written.
    void setIdentified(std::function<void(const ModuleIdentity &identity)> identified)
    {
        m_identified = std::move(identified);
    }

    // Which step ended the unit: its outcome and its message.
    struct StepEnd
    {
        LaneUnit::Outcome outcome = LaneUnit::Outcome::Pass;
        QString message;
    };

private:
    void reportFailure(const QString &text) override;
    StepEnd failed(LaneUnit::Outcome outcome, const QString &text = QString());
    StepEnd identify(const QString &scanned);
    StepEnd step(const RecipeStep &step);
    StepEnd backup(const RecipeStep &step);
    StepEnd writeConfig(const RecipeStep &step);
    StepEnd writeCalibration(const RecipeStep &step);
    StepEnd readSides(const RecipeStep &step, ModuleSnapshot::Sides sides);
    StepEnd check(const RecipeStep &step);
    StepEnd calibrate(const RecipeStep &step);
    // The written values read back and compared: differences fail the step.
    StepEnd verify(const ModuleSnapshot &expected);

    const Recipe &m_recipe;
    CommandEngine &m_engine;
    QString m_port;
    Progress m_progress;
    PopulationSource m_population;
    std::function<void(const ModuleIdentity &identity)> m_identified;
    ModuleSession m_session;
    LaneUnit m_unit;
    QString m_stepName;
    int m_stepIndex = 0; // 0: identification, then the recipe's steps from 1
    QString m_failure;   // the first failure reported within the step
    std::atomic<bool> m_cancel{false};
    QMutex m_calibrationMutex;
    CalibrationRun *m_calibration = nullptr; // while a calibrate step runs
};
