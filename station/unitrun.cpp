#include "station/unitrun.h"

#include "instrument/instrument.h"
#include "session/configfiles.h"
#include "station/calibrationrun.h"
#include "station/limits.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutexLocker>

namespace {
using Outcome = LaneUnit::Outcome;
constexpr char kIdentifyStep[] = "identify";
constexpr int kPercent = 100;

QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

QString verdictKey(Limits::Verdict verdict)
{
    return Limits::verdictName(verdict).toLower();
}
} // namespace

UnitRun::UnitRun(const Recipe &recipe, CommandEngine &engine, const QString &port,
                 Progress progress)
    : m_recipe(recipe)
    , m_engine(engine)
    , m_port(port)
    , m_progress(std::move(progress))
    , m_session(engine, *this, [this](int percent) {
        if (!m_progress)
            return;
        const int steps = int(m_recipe.steps.size()) + 1;
        m_progress(m_stepName, (m_stepIndex * kPercent + percent) / steps);
    })
{}

UnitRun::~UnitRun() = default;

void UnitRun::cancel()
{
    m_cancel = true;
    const QMutexLocker lock(&m_calibrationMutex);
    if (m_calibration)
        m_calibration->cancel();
}

void UnitRun::reportFailure(const QString &text)
{
    if (m_failure.isEmpty())
        m_failure = text.simplified();
}

UnitRun::StepEnd UnitRun::failed(Outcome outcome, const QString &text)
{
    QString message = text.isEmpty() ? m_failure : text.simplified();
    if (message.isEmpty())
        message = windowText(QT_TRANSLATE_NOOP("MainWindow", "设置失败！"));
    return {outcome, message};
}

LaneUnit UnitRun::run(const QString &scanned, const std::function<bool()> &lineLost)
{
    m_unit = LaneUnit{};
    m_unit.port = m_port;
    m_unit.recipe = m_recipe.name;
    m_unit.revision = m_recipe.revision;
    m_unit.recipeSha256 = m_recipe.sha256;
    m_unit.outcome = Outcome::Pass;
    m_unit.started = QDateTime::currentDateTimeUtc();
    const int steps = int(m_recipe.steps.size()) + 1;
    for (m_stepIndex = 0; m_stepIndex < steps; ++m_stepIndex) {
        m_failure.clear();
        m_stepName = m_stepIndex == 0 ? QLatin1String(kIdentifyStep)
                                      : RecipeStep::kindName(m_recipe.steps[m_stepIndex - 1].kind);
        if (m_progress)
            m_progress(m_stepName, m_stepIndex * kPercent / steps);
        QElapsedTimer clock;
        clock.start();
        StepEnd end = m_stepIndex == 0 ? identify(scanned) : step(m_recipe.steps[m_stepIndex - 1]);
        const bool ended = end.outcome == Outcome::Fail || end.outcome == Outcome::Error;
        // A unit does not fail for a port that went away under it.
        if (ended && lineLost && lineLost())
            end.outcome = Outcome::Error;
        m_unit.steps.append(
            {m_stepName, LaneUnit::outcomeKey(end.outcome), end.message, clock.elapsed() / 1000.0});
        if (ended) {
            m_unit.outcome = end.outcome;
            m_unit.failure = end.message;
            m_unit.failedStep = m_stepName;
            break;
        }
        if (end.outcome == Outcome::Marginal && m_unit.outcome == Outcome::Pass) {
            m_unit.outcome = Outcome::Marginal;
            m_unit.failure = end.message;
        }
    }
    if (m_unit.identity.serialNumber.isEmpty())
        m_unit.identity = m_session.identity();
    m_unit.finished = QDateTime::currentDateTimeUtc();
    return m_unit;
}

UnitRun::StepEnd UnitRun::identify(const QString &scanned)
{
    if (!m_session.identify())
        return failed(Outcome::Fail, m_failure.isEmpty()
                                         ? windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！"))
                                         : m_failure);
    m_unit.identity = m_session.identity();
    if (m_identified)
        m_identified(m_unit.identity);
    const QString refusal = m_recipe.refusal(m_unit.identity.model, m_unit.identity.firmware);
    if (!refusal.isEmpty())
        return failed(Outcome::Fail, refusal);
    if (!scanned.isEmpty() && scanned.compare(m_unit.identity.serialNumber, Qt::CaseInsensitive))
        return failed(Outcome::Fail, tr("扫描的序列码是 %1，而模块的序列码是 %2")
                                         .arg(scanned, m_unit.identity.serialNumber));
    return {Outcome::Pass, m_unit.identity.toText()};
}

UnitRun::StepEnd UnitRun::step(const RecipeStep &step)
{
    using Kind = RecipeStep::Kind;
    switch (step.kind) {
    case Kind::Backup:
        return backup(step);
    case Kind::WriteConfig:
        return writeConfig(step);
    case Kind::WriteCalibration:
        return writeCalibration(step);
    case Kind::ReadCalibration:
        return readSides(step, ModuleSnapshot::Sides::Factory);
    case Kind::Snapshot:
        return readSides(step, ModuleSnapshot::Sides::Both);
    case Kind::Check:
        return check(step);
    case Kind::Calibrate:
        return calibrate(step);
    }
    return failed(Outcome::Error);
}

UnitRun::StepEnd UnitRun::backup(const RecipeStep &step)
{
    const auto snapshot = ModuleSnapshot::read(m_session, ModuleSnapshot::Sides::Both);
    if (!snapshot)
        return failed(Outcome::Fail);
    QString error;
    const auto path = ConfigFiles::saveBackup(step.folder, *snapshot, m_port, &error);
    if (!path)
        return failed(Outcome::Error, error);
    return {Outcome::Pass, *path};
}

UnitRun::StepEnd UnitRun::writeConfig(const RecipeStep &step)
{
    // The band read first, for the frequency limits: a calibration written before may have
    // changed it.
    if (!m_session.identify() || !m_session.writeUserConfig(*step.config))
        return failed(Outcome::Fail);
    ModuleSnapshot expected;
    expected.user = step.config;
    const StepEnd verified = verify(expected);
    return verified.outcome == Outcome::Pass ? StepEnd{Outcome::Pass, step.file} : verified;
}

UnitRun::StepEnd UnitRun::writeCalibration(const RecipeStep &step)
{
    const QString serial = m_unit.identity.serialNumber;
    std::optional<FactoryCalibration> calibration = step.calibration;
    QString file = step.file;
    if (!calibration) {
        file = step.calibrationFile(serial);
        if (!QFileInfo::exists(file))
            return failed(Outcome::Fail, tr("没有模块 %1 的校准文件（%2）").arg(serial, file));
        QString error;
        const auto unit = ConfigFiles::loadUnit(file, &error);
        if (!unit || !(calibration = ConfigFiles::loadFactoryCalibration(file, &error)))
            return failed(Outcome::Error, error);
        // Bound to its unit, as a calibration file always is.
        if (unit->names() && unit->serialNumber != serial)
            return failed(Outcome::Fail, tr("文件 %1 的校准属于序列码 %2 的模块，而此模块是 %3")
                                             .arg(file, unit->serialNumber, serial));
    }
    if (!m_session.writeFactoryCalibration(*calibration))
        return failed(Outcome::Fail);
    ModuleSnapshot expected;
    expected.factory = calibration;
    const StepEnd verified = verify(expected);
    return verified.outcome == Outcome::Pass ? StepEnd{Outcome::Pass, file} : verified;
}

UnitRun::StepEnd UnitRun::verify(const ModuleSnapshot &expected)
{
    std::optional<ModuleSnapshot> actual;
    if (!expected.user) {
        if (const auto calibration = m_session.readFactoryCalibration()) {
            actual = ModuleSnapshot{};
            actual->factory = calibration;
        }
    } else {
        actual = ModuleSnapshot::read(m_session, ModuleSnapshot::Sides::User);
    }
    if (!actual)
        return failed(Outcome::Fail);
    const FieldDifferences differences = SnapshotCompare::snapshots(expected, *actual);
    if (differences.isEmpty())
        return {Outcome::Pass, QString()};
    QString text = SnapshotCompare::line(differences.first());
    if (differences.size() > 1)
        text += tr("（另有 %1 处不同）").arg(differences.size() - 1);
    return failed(Outcome::Fail, text);
}

UnitRun::StepEnd UnitRun::readSides(const RecipeStep &step, ModuleSnapshot::Sides sides)
{
    const auto snapshot = ModuleSnapshot::read(m_session, sides);
    if (!snapshot)
        return failed(Outcome::Fail);
    const QString path = step.calibrationFile(m_unit.identity.serialNumber);
    QString error;
    if (!ConfigFiles::save(path, snapshot->entries(), &error))
        return failed(Outcome::Error, error);
    return {Outcome::Pass, path};
}

UnitRun::StepEnd UnitRun::check(const RecipeStep &step)
{
    bool user = false;
    bool factory = false;
    for (const Limits::Limit &limit : step.limits)
        (limit.side == Limits::Side::User ? user : factory) = true;
    MJsonConfig::Entries entries;
    if (user) {
        const auto config = m_session.readUserConfig();
        if (!config)
            return failed(Outcome::Fail);
        entries += config->entries();
    }
    if (factory) {
        const auto calibration = m_session.readFactoryCalibration();
        if (!calibration)
            return failed(Outcome::Fail);
        entries += calibration->entries();
    }
    StepEnd end{Outcome::Pass, tr("%1 个值在限值之内").arg(step.limits.size())};
    for (const Limits::Limit &limit : step.limits) {
        const auto value = Limits::valueAt(entries, limit.path);
        if (!value)
            return failed(Outcome::Fail, tr("%1：模块没有给出此值").arg(limit.path));
        std::optional<PopulationFigures> population;
        if (limit.population && m_population)
            population = m_population(limit.path, limit.population->units);
        const Limits::Judgement judged = Limits::judge(*value, limit, population);
        LaneMeasurement measurement;
        measurement.name = limit.path;
        measurement.value = *value;
        measurement.min = limit.min;
        measurement.max = limit.max;
        measurement.marginal = limit.marginal;
        measurement.outcome = verdictKey(judged.verdict);
        measurement.note = judged.text;
        m_unit.measurements.append(measurement);
        // Every value is judged and kept; the first of the worst verdict names the step.
        if (judged.verdict == Limits::Verdict::Fail && end.outcome != Outcome::Fail)
            end = {Outcome::Fail, judged.text};
        else if (judged.verdict == Limits::Verdict::Marginal && end.outcome == Outcome::Pass)
            end = {Outcome::Marginal, judged.text};
    }
    return end;
}

UnitRun::StepEnd UnitRun::calibrate(const RecipeStep &step)
{
    const CalibrationPlan &plan = *step.plan;
    if (plan.instrument == QLatin1String(CalibrationPlan::kManual))
        return failed(Outcome::Error, tr("手动测量的校准只能在校准向导中进行"));
    QString error;
    const auto address = InstrumentAddress::parse(plan.instrument, &error);
    const auto profile = address ? plan.instrumentProfile(&error) : std::nullopt;
    if (!profile)
        return failed(Outcome::Error, error);
    Instrument instrument(*address, *profile);
    if (!instrument.connectToInstrument())
        return failed(Outcome::Error, instrument.failure().text);
    CalibrationRun run(plan, m_engine, instrument);
    {
        const QMutexLocker lock(&m_calibrationMutex);
        m_calibration = &run;
        // A stop asked before the step began reaches it as well.
        if (m_cancel)
            run.cancel();
    }
    const int steps = int(m_recipe.steps.size()) + 1;
    const int targets = int(plan.targets.size());
    run.setProgress([&](int target, int, double) {
        if (m_progress)
            m_progress(m_stepName, (m_stepIndex * kPercent + target * kPercent / targets) / steps);
    });
    const CalibrationRun::Outcome outcome = run.run(step.folder);
    {
        const QMutexLocker lock(&m_calibrationMutex);
        m_calibration = nullptr;
    }
    for (const CalibrationTargetResult &target : outcome.targets)
        m_unit.measurements.append(target.measurement());
    if (outcome.ok)
        return {Outcome::Pass, outcome.file};
    // A cancel or an instrument that failed is the station's trouble, not the unit's.
    const bool station = m_cancel || instrument.failure().kind != Instrument::Failure::Kind::None;
    return failed(station ? Outcome::Error : Outcome::Fail, outcome.failure);
}
