#include "station/recipe.h"

#include "instrument/instrumentaddress.h"
#include "session/configfiles.h"
#include "station/calibrationrun.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {
using Kind = RecipeStep::Kind;
constexpr int kDigits = 12; // a limit as it was written

QString text(const char *source)
{
    return QCoreApplication::translate("Recipe", source);
}

struct KindName
{
    Kind kind;
    const char *name;
    // The members the step has besides "Step"; a write-calibration takes one of File and Folder.
    bool file;
    bool folder;
    bool limits;
};

constexpr std::array<KindName, 7> kKinds{{
    {Kind::Backup, "backup", false, true, false},
    {Kind::WriteConfig, "write-config", true, false, false},
    {Kind::WriteCalibration, "write-calibration", true, true, false},
    {Kind::ReadCalibration, "read-calibration", false, true, false},
    {Kind::Snapshot, "snapshot", false, true, false},
    {Kind::Check, "check", false, false, true},
    {Kind::Calibrate, "calibrate", false, true, false},
}};

const KindName *findKind(const QString &name)
{
    for (const KindName &entry : kKinds) {
        if (name == QLatin1String(entry.name))
            return &entry;
    }
    return nullptr;
}

const KindName &entryOf(Kind kind)
{
    return *std::find_if(kKinds.begin(), kKinds.end(),
                         [kind](const KindName &entry) { return entry.kind == kind; });
}

const QString kRecipe = QStringLiteral("Recipe");
const QString kRevision = QStringLiteral("Revision");
const QString kAccept = QStringLiteral("Accept");
const QString kModels = QStringLiteral("Models");
const QString kFirmware = QStringLiteral("Firmware");
const QString kSteps = QStringLiteral("Steps");
const QString kStep = QStringLiteral("Step");
const QString kFile = QStringLiteral("File");
const QString kFolder = QStringLiteral("Folder");
const QString kLimits = QStringLiteral("Limits");
const QString kMin = QStringLiteral("Min");
const QString kMax = QStringLiteral("Max");
const QString kMarginal = QStringLiteral("Marginal");
const QString kPopulation = QStringLiteral("Population");
const QString kUnits = QStringLiteral("Units");
const QString kSigma = QStringLiteral("Sigma");
const QString kStart = QStringLiteral("Start");
const QString kScan = QStringLiteral("Scan");
const QString kAuto = QStringLiteral("auto");
const QString kButton = QStringLiteral("button");
const QString kInstrument = QStringLiteral("Instrument");
const QString kProfile = QStringLiteral("Profile");
const QString kPoints = QStringLiteral("Points");
const QString kMaxTransmit = QStringLiteral("MaxTransmitSeconds");
const QString kTargets = QStringLiteral("Targets");
const QString kValue = QStringLiteral("Value");
const QString kMeasure = QStringLiteral("Measure");
const QString kPoint = QStringLiteral("Point");
const QString kPower = QStringLiteral("Power");
const QString kTarget = QStringLiteral("Target");
const QString kTolerance = QStringLiteral("Tolerance");
const QString kCalibrate = QStringLiteral("Calibrate");
const QString kLevels = QStringLiteral("Levels");
const QString kDefaultCalibrationFolder = QStringLiteral("calibrations");
constexpr int kMaxTransmitLimit = 600; // seconds: far beyond any calibration
constexpr int kMaxRssiDbuv = 127;
const std::array<QString, 3> kPointNames{QStringLiteral("Low"), QStringLiteral("Mid"),
                                         QStringLiteral("High")};
const std::array<QString, 3> kMeasureNames{
    QStringLiteral("power"), QStringLiteral("frequency-error"), QStringLiteral("deviation")};

// Reads members out of the recipe's objects and keeps every problem, each naming its member.
class Reader
{
public:
    explicit Reader(QStringList *problems)
        : m_problems(problems)
    {}
    bool ok() const { return m_count == 0; }

    // source names the member as %1 and the details as %2 and %3, all put in at once so that
    // a "%" inside a path stays as it is.
    void problem(const QString &member, const char *source, const QString &detail = QString(),
                 const QString &more = QString())
    {
        ++m_count;
        if (!m_problems)
            return;
        const QString message = text(source);
        if (!more.isNull())
            m_problems->append(message.arg(member, detail, more));
        else if (!detail.isNull())
            m_problems->append(message.arg(member, detail));
        else
            m_problems->append(message.arg(member));
    }

    void onlyKeys(const QJsonObject &object, const QStringList &allowed, const QString &where)
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!allowed.contains(it.key()))
                problem(where + it.key(), QT_TRANSLATE_NOOP("Recipe", "%1：未知的成员"));
        }
    }

    std::optional<QString> string(const QJsonObject &object, const QString &key,
                                  const QString &where, bool required)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required)
                problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：缺少此成员"));
            return std::nullopt;
        }
        if (!value.isString() || value.toString().trimmed().isEmpty()) {
            problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为非空文本"));
            return std::nullopt;
        }
        return value.toString();
    }

    std::optional<QStringList> strings(const QJsonObject &object, const QString &key,
                                       const QString &where)
    {
        if (!object.contains(key))
            return std::nullopt;
        const QJsonArray items = object.value(key).toArray();
        QStringList result;
        for (const QJsonValue &item : items) {
            if (item.isString() && !item.toString().trimmed().isEmpty())
                result.append(item.toString());
        }
        if (!object.value(key).isArray() || result.isEmpty() || result.size() != items.size()) {
            problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为非空的文本列表"));
            return std::nullopt;
        }
        return result;
    }

    std::optional<double> number(const QJsonObject &object, const QString &key,
                                 const QString &where, bool required)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required)
                problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：缺少此成员"));
            return std::nullopt;
        }
        if (!value.isDouble() || !std::isfinite(value.toDouble())) {
            problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为数字"));
            return std::nullopt;
        }
        return value.toDouble();
    }

    // The object at key, or nothing (with a problem when it is there but no object).
    std::optional<QJsonObject> object(const QJsonObject &parent, const QString &key,
                                      const QString &where)
    {
        if (!parent.contains(key))
            return std::nullopt;
        if (!parent.value(key).isObject()) {
            problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为对象"));
            return std::nullopt;
        }
        return parent.value(key).toObject();
    }

private:
    QStringList *m_problems = nullptr;
    int m_count = 0;
};

QString stepName(int index)
{
    return QStringLiteral("Steps[%1].").arg(index);
}

QString limitName(const QString &where, const QString &path)
{
    return where + QStringLiteral("Limits[\"%1\"]").arg(path);
}

std::optional<int> wholeNumber(Reader &read, const QJsonObject &object, const QString &key,
                               const QString &where, bool required, int low, int high);

constexpr int kMostPopulationUnits = 100000;

// "Population": {"Units": 200, "Sigma": 4} of a limit; nothing without one.
std::optional<Limits::PopulationLimit> readPopulation(Reader &read, const QJsonObject &bounds,
                                                      const QString &where)
{
    if (!bounds.contains(kPopulation))
        return std::nullopt;
    const auto object = read.object(bounds, kPopulation, where);
    if (!object)
        return std::nullopt;
    const QString inner = where + kPopulation + QLatin1Char('.');
    read.onlyKeys(*object, {kUnits, kSigma}, inner);
    const auto units = wholeNumber(read, *object, kUnits, inner, true, Population::kMinimumUnits,
                                   kMostPopulationUnits);
    const auto sigma = read.number(*object, kSigma, inner, true);
    if (sigma && !(*sigma > 0))
        read.problem(inner + kSigma, QT_TRANSLATE_NOOP("Recipe", "%1：应为正数"));
    if (!units || !sigma || !(*sigma > 0))
        return std::nullopt;
    return Limits::PopulationLimit{*units, *sigma};
}

QList<Limits::Limit> readLimits(Reader &read, const QJsonObject &step, const QString &where)
{
    QList<Limits::Limit> result;
    const auto limits = read.object(step, kLimits, where);
    if (!limits || limits->isEmpty()) {
        if (!limits && step.contains(kLimits))
            return result;
        read.problem(where + kLimits,
                     limits ? QT_TRANSLATE_NOOP("Recipe", "%1：应为至少有一个限值的对象")
                            : QT_TRANSLATE_NOOP("Recipe", "%1：缺少此成员"));
        return result;
    }
    for (auto it = limits->begin(); it != limits->end(); ++it) {
        const QString member = limitName(where, it.key());
        const auto side = Limits::sideOf(it.key());
        if (!side) {
            read.problem(member,
                         Limits::isKnownPath(it.key())
                             ? QT_TRANSLATE_NOOP("Recipe", "%1：%2 在文件中不是数值")
                             : QT_TRANSLATE_NOOP("Recipe", "%1：配置文件和校准文件都没有路径 %2"),
                         it.key());
        }
        if (!it.value().isObject()) {
            read.problem(member, QT_TRANSLATE_NOOP("Recipe", "%1：应为对象"));
            continue;
        }
        const QJsonObject bounds = it.value().toObject();
        const QString inner = member + QLatin1Char('.');
        read.onlyKeys(bounds, {kMin, kMax, kMarginal, kPopulation}, inner);
        const auto min = read.number(bounds, kMin, inner, true);
        const auto max = read.number(bounds, kMax, inner, true);
        const auto marginal = read.number(bounds, kMarginal, inner, false);
        if (min && max && *min > *max)
            read.problem(inner + kMin, QT_TRANSLATE_NOOP("Recipe", "%1：Min %2 大于 Max %3"),
                         QString::number(*min, 'g', kDigits), QString::number(*max, 'g', kDigits));
        if (marginal && *marginal < 0)
            read.problem(inner + kMarginal, QT_TRANSLATE_NOOP("Recipe", "%1：Marginal 不能为负数"));
        const auto population = readPopulation(read, bounds, inner);
        if (side && min && max)
            result.append({it.key(), *side, *min, *max, marginal.value_or(0.0), population});
    }
    return result;
}

// A whole number within [low, high], or nothing with a problem.
std::optional<int> wholeNumber(Reader &read, const QJsonObject &object, const QString &key,
                               const QString &where, bool required, int low, int high)
{
    const auto value = read.number(object, key, where, required);
    if (!value)
        return std::nullopt;
    if (*value != std::floor(*value) || *value < low || *value > high) {
        read.problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为 %2 到 %3 的整数"),
                     QString::number(low), QString::number(high));
        return std::nullopt;
    }
    return int(*value);
}

// The index of a text among names, or nothing with a problem listing them.
template<size_t N>
std::optional<int> oneOf(Reader &read, const QJsonObject &object, const QString &key,
                         const QString &where, const std::array<QString, N> &names)
{
    const auto value = read.string(object, key, where, true);
    if (!value)
        return std::nullopt;
    for (size_t i = 0; i < N; ++i) {
        if (*value == names[i])
            return int(i);
    }
    QStringList list(names.begin(), names.end());
    read.problem(where + key, QT_TRANSLATE_NOOP("Recipe", "%1：应为 %2 之一"),
                 list.join(QStringLiteral(", ")));
    return std::nullopt;
}

std::optional<CalibrationTarget> readTarget(Reader &read, const QJsonValue &value,
                                            const QString &where, const CalibrationPlan &plan)
{
    if (!value.isObject()) {
        read.problem(where.chopped(1), QT_TRANSLATE_NOOP("Recipe", "%1：应为对象"));
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    CalibrationTarget target;
    const bool levels = object.contains(kCalibrate);
    read.onlyKeys(object,
                  levels ? QStringList{kCalibrate, kPoint, kLevels}
                         : QStringList{kValue, kMeasure, kPoint, kPower, kTarget, kTolerance},
                  where);
    const auto point = oneOf(read, object, kPoint, where, kPointNames);
    if (point && plan.points[size_t(*point)] == 0) {
        read.problem(where + kPoint, QT_TRANSLATE_NOOP("Recipe", "%1：Points 中没有 %2"),
                     kPointNames[size_t(*point)]);
    }
    bool ok = point.has_value();
    target.point = static_cast<Wire::FreqPoint>(point.value_or(1));
    if (levels) {
        const std::array<QString, 2> kinds{QStringLiteral("rssi"), QStringLiteral("squelch")};
        const auto kind = oneOf(read, object, kCalibrate, where, kinds);
        target.kind = kind == 1 ? CalibrationTarget::Kind::Squelch : CalibrationTarget::Kind::Rssi;
        const QJsonArray items = object.value(kLevels).toArray();
        if (!object.value(kLevels).isArray() || items.isEmpty()) {
            read.problem(where + kLevels, QT_TRANSLATE_NOOP("Recipe", "%1：应为非空的数字列表"));
            return std::nullopt;
        }
        for (int i = 0; i < items.size(); ++i) {
            const double level = items[i].toDouble(-1.0);
            const QString member = where + kLevels + QStringLiteral("[%1]").arg(i);
            const bool known = target.kind == CalibrationTarget::Kind::Squelch
                                   ? CalibrationRun::squelchLevelByte(level).has_value()
                                   : items[i].isDouble() && level == std::floor(level) &&
                                         level >= 0 && level <= kMaxRssiDbuv;
            if (!items[i].isDouble() || !known) {
                read.problem(
                    member,
                    target.kind == CalibrationTarget::Kind::Squelch
                        ? QT_TRANSLATE_NOOP("Recipe", "%1：静噪校准电平只能是 0.25 或 0.45 µV")
                        : QT_TRANSLATE_NOOP("Recipe", "%1：场强校准电平应为 0 到 127 dBµV 的整数"));
                ok = false;
            }
            target.levels.append(level);
        }
        return ok && kind ? std::optional<CalibrationTarget>(target) : std::nullopt;
    }
    const auto path = read.string(object, kValue, where, true);
    const auto measure = oneOf(read, object, kMeasure, where, kMeasureNames);
    const auto power = wholeNumber(read, object, kPower, where, true, 0, Wire::kPowerSteps - 1);
    const auto goal = read.number(object, kTarget, where, true);
    const auto tolerance = read.number(object, kTolerance, where, true);
    if (tolerance && *tolerance <= 0) {
        read.problem(where + kTolerance, QT_TRANSLATE_NOOP("Recipe", "%1：应大于 0"));
        ok = false;
    }
    if (path) {
        const int index = FactoryCalibration::indexOfPath(*path);
        if (index >= 0) {
            const auto kind = FactoryCalibration::numberFields()[size_t(index)].source.kind;
            if (kind == FactorySource::Kind::Adjust || kind == FactorySource::Kind::PowerCell)
                target.field = index;
        }
        if (target.field < 0) {
            read.problem(where + kValue, QT_TRANSLATE_NOOP("Recipe", "%1：%2 不是可调的校准值"),
                         *path);
            ok = false;
        }
    }
    // A power cell answers only for its own power and point, measured as power.
    if (target.field >= 0 && power && point && measure) {
        const FactorySource &source =
            FactoryCalibration::numberFields()[size_t(target.field)].source;
        if (source.kind == FactorySource::Kind::PowerCell &&
            (source.power != *power || source.point != *point || *measure != 0)) {
            read.problem(
                where + kValue,
                QT_TRANSLATE_NOOP("Recipe", "%1：%2 只能在它自己的功率和点上以 power 测量"), *path);
            ok = false;
        }
    }
    if (!ok || !path || !measure || !power || !goal || !tolerance)
        return std::nullopt;
    target.value = *path;
    target.measure = static_cast<Instrument::Measurement>(*measure);
    target.power = *power;
    target.target = *goal;
    target.tolerance = *tolerance;
    return target;
}

std::optional<CalibrationPlan> readPlan(Reader &read, const QJsonObject &object,
                                        const QString &where)
{
    CalibrationPlan plan;
    bool ok = true;
    const auto instrument = read.string(object, kInstrument, where, true);
    QString why;
    if (instrument && *instrument != QLatin1String(CalibrationPlan::kManual) &&
        !InstrumentAddress::parse(*instrument, &why)) {
        read.problem(where + kInstrument, QT_TRANSLATE_NOOP("Recipe", "%1：%2"), why);
        ok = false;
    }
    plan.instrument = instrument.value_or(QString());
    plan.profile = read.string(object, kProfile, where, false)
                       .value_or(QLatin1String(InstrumentProfile::kDefaultName));
    const auto seconds =
        wholeNumber(read, object, kMaxTransmit, where, false, 1, kMaxTransmitLimit);
    ok = ok && (seconds || !object.contains(kMaxTransmit));
    plan.maxTransmitSeconds = seconds.value_or(CalibrationPlan::kDefaultMaxTransmitSeconds);
    const auto points = read.object(object, kPoints, where);
    if (!points) {
        if (!object.contains(kPoints))
            read.problem(where + kPoints, QT_TRANSLATE_NOOP("Recipe", "%1：缺少此成员"));
        return std::nullopt;
    }
    const QString inner = where + kPoints + QLatin1Char('.');
    read.onlyKeys(*points, QStringList(kPointNames.begin(), kPointNames.end()), inner);
    for (size_t i = 0; i < kPointNames.size(); ++i) {
        const auto frequency =
            wholeNumber(read, *points, kPointNames[i], inner, false, 1, 99999999);
        plan.points[i] = quint32(frequency.value_or(0));
        ok = ok && (frequency || !points->contains(kPointNames[i]));
    }
    const QJsonArray targets = object.value(kTargets).toArray();
    if (!object.value(kTargets).isArray() || targets.isEmpty()) {
        read.problem(where + kTargets, QT_TRANSLATE_NOOP("Recipe", "%1：应为至少有一个目标的列表"));
        return std::nullopt;
    }
    for (int i = 0; i < targets.size(); ++i) {
        const auto target =
            readTarget(read, targets[i], where + kTargets + QStringLiteral("[%1].").arg(i), plan);
        ok = ok && target;
        if (target)
            plan.targets.append(*target);
    }
    return ok ? std::optional<CalibrationPlan>(plan) : std::nullopt;
}

std::optional<RecipeStep> readStep(Reader &read, const QJsonValue &value, int index)
{
    const QString where = stepName(index);
    if (!value.isObject()) {
        read.problem(where.chopped(1), QT_TRANSLATE_NOOP("Recipe", "%1：应为对象"));
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    const auto name = read.string(object, kStep, where, true);
    if (!name)
        return std::nullopt;
    const KindName *kind = findKind(*name);
    if (!kind) {
        read.problem(where + kStep, QT_TRANSLATE_NOOP("Recipe", "%1：未知的步骤 \"%2\""), *name);
        return std::nullopt;
    }
    QStringList allowed{kStep};
    if (kind->file)
        allowed.append(kFile);
    if (kind->folder)
        allowed.append(kFolder);
    if (kind->limits)
        allowed.append(kLimits);
    if (kind->kind == Kind::Calibrate)
        allowed += QStringList{kInstrument, kProfile, kPoints, kMaxTransmit, kTargets};
    read.onlyKeys(object, allowed, where);

    RecipeStep step;
    step.kind = kind->kind;
    // A write-calibration takes exactly one of them; every other step requires its one.
    const bool either = kind->file && kind->folder;
    if (either && object.contains(kFile) == object.contains(kFolder)) {
        read.problem(where.chopped(1),
                     QT_TRANSLATE_NOOP("Recipe", "%1：需要 File 或 Folder 之一（不能两个都有）"));
    }
    if (kind->file)
        step.file = read.string(object, kFile, where, !either).value_or(QString());
    const bool calibrate = kind->kind == Kind::Calibrate;
    if (kind->folder)
        step.folder = read.string(object, kFolder, where, !either && !calibrate)
                          .value_or(calibrate ? kDefaultCalibrationFolder : QString());
    if (kind->limits)
        step.limits = readLimits(read, object, where);
    if (calibrate)
        step.plan = readPlan(read, object, where);
    return step;
}

QString resolved(const QDir &base, const QString &path)
{
    return QDir::cleanPath(base.absoluteFilePath(path));
}

// Checks the files a step names and keeps what it will write; output folders come later.
void checkFiles(Reader &read, RecipeStep &step, const QString &where, const QDir &base)
{
    if (!step.file.isEmpty()) {
        const QString member = where + kFile;
        step.file = resolved(base, step.file);
        if (!QFileInfo(step.file).isFile()) {
            read.problem(member, QT_TRANSLATE_NOOP("Recipe", "%1：文件 %2 不存在"), step.file);
            return;
        }
        QString why;
        if (step.kind == Kind::WriteConfig) {
            step.config = ConfigFiles::loadUserConfig(step.file, &why);
        } else {
            step.calibration = ConfigFiles::loadFactoryCalibration(step.file, &why);
            const auto unit = step.calibration ? ConfigFiles::loadUnit(step.file, &why)
                                               : std::optional<FileUnit>();
            if (unit && unit->names()) {
                read.problem(
                    member,
                    QT_TRANSLATE_NOOP("Recipe",
                                      "%1：文件 %2 指定了模块 %3，用于所有模块的文件不能指定模块"),
                    step.file, unit->serialNumber);
                return;
            }
            if (!unit)
                step.calibration.reset();
        }
        if (!step.config && !step.calibration)
            read.problem(member, QT_TRANSLATE_NOOP("Recipe", "%1：%2"), why);
    }
    // The instrument's profile is read now, so that a bad one refuses the recipe before any
    // unit is touched; a file is found beside the recipe, as every file a recipe names is.
    if (step.plan && step.plan->instrument != QLatin1String(CalibrationPlan::kManual)) {
        CalibrationPlan &plan = *step.plan;
        if (!InstrumentProfile::isBuiltIn(plan.profile))
            plan.profile = resolved(base, plan.profile);
        QString why;
        plan.loadedProfile = InstrumentProfile::load(plan.profile, &why);
        if (!plan.loadedProfile)
            read.problem(where + kProfile, QT_TRANSLATE_NOOP("Recipe", "%1：%2"), why);
    }
    if (!step.folder.isEmpty()) {
        step.folder = resolved(base, step.folder);
        const QFileInfo info(step.folder);
        if (step.kind == Kind::WriteCalibration && !info.exists())
            read.problem(where + kFolder, QT_TRANSLATE_NOOP("Recipe", "%1：文件夹 %2 不存在"),
                         step.folder);
        else if (info.exists() && !info.isDir())
            read.problem(where + kFolder, QT_TRANSLATE_NOOP("Recipe", "%1：%2 不是文件夹"),
                         step.folder);
    }
}

// What the identity covers, in order: the recipe file, then the files its steps write from,
// a calibration folder by the files it holds, in the order of their names, and a calibrate
// step's profile file (a built-in profile is part of the tool, not of the recipe).
bool digest(QCryptographicHash &hash, const QString &name, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    // Name and size first, so that moving bytes between files changes the identity too.
    hash.addData(name.toUtf8());
    hash.addData(QByteArray(1, '\0'));
    hash.addData(QByteArray::number(content.size()));
    hash.addData(QByteArray(1, '\0'));
    hash.addData(content);
    return true;
}

void identify(Reader &read, Recipe &recipe, const QByteArray &content)
{
    const QDir base = QFileInfo(recipe.filePath).absoluteDir();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QString ownName = QFileInfo(recipe.filePath).fileName();
    hash.addData(ownName.toUtf8());
    hash.addData(QByteArray(1, '\0'));
    hash.addData(QByteArray::number(content.size()));
    hash.addData(QByteArray(1, '\0'));
    hash.addData(content);
    for (int i = 0; i < recipe.steps.size(); ++i) {
        const RecipeStep &step = recipe.steps[i];
        QList<std::pair<QString, QString>> files; // the member naming it, the file
        if (step.writes() && !step.file.isEmpty())
            files.append({kFile, step.file});
        if (step.kind == Kind::WriteCalibration && !step.folder.isEmpty()) {
            QStringList names = QDir(step.folder).entryList(QDir::Files | QDir::Hidden);
            std::sort(names.begin(), names.end()); // by code point, whatever the locale
            for (const QString &name : names)
                files.append({kFolder, QDir(step.folder).filePath(name)});
        }
        if (step.plan && step.plan->loadedProfile &&
            !InstrumentProfile::isBuiltIn(step.plan->profile))
            files.append({kProfile, step.plan->profile});
        for (const auto &[member, file] : files) {
            if (!digest(hash, base.relativeFilePath(file), file))
                read.problem(stepName(i) + member,
                             QT_TRANSLATE_NOOP("Recipe", "%1：无法读取文件 %2"), file);
        }
    }
    recipe.sha256 = QString::fromLatin1(hash.result().toHex());
}
} // namespace

QString RecipeStep::kindName(Kind kind)
{
    return QLatin1String(entryOf(kind).name);
}

QString RecipeStep::calibrationFile(const QString &serialNumber) const
{
    return QDir(folder).filePath(serialNumber + QStringLiteral(".json"));
}

std::optional<Recipe> Recipe::parse(const QByteArray &content, QStringList *problems)
{
    Reader read(problems);
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(content, &parseError);
    if (!document.isObject()) {
        read.problem(parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                  : QStringLiteral("-"),
                     QT_TRANSLATE_NOOP("Recipe", "配方不是 JSON 对象（%1）"));
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    read.onlyKeys(object, {kRecipe, kRevision, kAccept, kSteps, kStart, kScan}, QString());

    Recipe recipe;
    recipe.name = read.string(object, kRecipe, QString(), true).value_or(QString());
    recipe.revision = read.string(object, kRevision, QString(), true).value_or(QString());
    if (const auto accept = read.object(object, kAccept, QString())) {
        const QString where = kAccept + QLatin1Char('.');
        read.onlyKeys(*accept, {kModels, kFirmware}, where);
        recipe.models = read.strings(*accept, kModels, where);
        recipe.firmware = read.strings(*accept, kFirmware, where);
    }
    if (const auto start = read.string(object, kStart, QString(), false)) {
        if (*start == kButton)
            recipe.start = Start::Button;
        else if (*start != kAuto)
            read.problem(kStart, QT_TRANSLATE_NOOP("Recipe", "%1：应为 \"auto\" 或 \"button\""));
    }
    if (object.contains(kScan)) {
        if (object.value(kScan).isBool())
            recipe.scan = object.value(kScan).toBool();
        else
            read.problem(kScan, QT_TRANSLATE_NOOP("Recipe", "%1：应为 true 或 false"));
    }

    const QJsonArray steps = object.value(kSteps).toArray();
    if (!object.contains(kSteps))
        read.problem(kSteps, QT_TRANSLATE_NOOP("Recipe", "%1：缺少此成员"));
    else if (!object.value(kSteps).isArray() || steps.isEmpty())
        read.problem(kSteps, QT_TRANSLATE_NOOP("Recipe", "%1：应为至少有一个步骤的列表"));
    bool written = false;
    for (int i = 0; i < steps.size(); ++i) {
        const auto step = readStep(read, steps.at(i), i);
        if (!step)
            continue;
        // A backup is what the unit held before the recipe touched it.
        if (step->kind == Kind::Backup && written)
            read.problem(stepName(i) + kStep,
                         QT_TRANSLATE_NOOP("Recipe", "%1：备份必须在第一次写入之前"));
        written = written || step->writes();
        recipe.steps.append(*step);
    }
    if (!read.ok())
        return std::nullopt;
    return recipe;
}

std::optional<Recipe> Recipe::load(const QString &path, QStringList *problems)
{
    Reader read(problems);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.problem(path, QT_TRANSLATE_NOOP("Recipe", "%1：无法读取配方"));
        return std::nullopt;
    }
    const QByteArray content = file.readAll();
    auto recipe = parse(content, problems);
    if (!recipe)
        return std::nullopt;
    recipe->filePath = QFileInfo(path).absoluteFilePath();
    const QDir base = QFileInfo(path).absoluteDir();
    for (int i = 0; i < recipe->steps.size(); ++i)
        checkFiles(read, recipe->steps[i], stepName(i), base);
    // Output folders are made only for a recipe that is good otherwise.
    for (int i = 0; read.ok() && i < recipe->steps.size(); ++i) {
        const RecipeStep &step = recipe->steps[i];
        if (step.folder.isEmpty() || step.kind == Kind::WriteCalibration)
            continue;
        if (!QDir().mkpath(step.folder))
            read.problem(stepName(i) + kFolder,
                         QT_TRANSLATE_NOOP("Recipe", "%1：无法创建文件夹 %2"), step.folder);
        else if (!QFileInfo(step.folder).isWritable())
            read.problem(stepName(i) + kFolder,
                         QT_TRANSLATE_NOOP("Recipe", "%1：无法写入文件夹 %2"), step.folder);
    }
    if (read.ok())
        identify(read, *recipe, content);
    if (!read.ok())
        return std::nullopt;
    return recipe;
}

QString Recipe::refusal(const QString &model, const QString &firmwareVersion) const
{
    if (models && !models->contains(model))
        return text(QT_TRANSLATE_NOOP("Recipe", "此配方不接受型号 %1")).arg(model);
    if (firmware && !firmware->contains(firmwareVersion))
        return text(QT_TRANSLATE_NOOP("Recipe", "此配方不接受固件版本 %1")).arg(firmwareVersion);
    return QString();
}

namespace {
void insertPlan(QJsonObject &object, const CalibrationPlan &plan)
{
    object.insert(kInstrument, plan.instrument);
    object.insert(kProfile, plan.profile);
    object.insert(kMaxTransmit, plan.maxTransmitSeconds);
    QJsonObject points;
    for (size_t i = 0; i < kPointNames.size(); ++i) {
        if (plan.points[i] != 0)
            points.insert(kPointNames[i], qint64(plan.points[i]));
    }
    object.insert(kPoints, points);
    QJsonArray targets;
    for (const CalibrationTarget &target : plan.targets) {
        const QString point = kPointNames[size_t(target.point)];
        if (target.kind == CalibrationTarget::Kind::Value) {
            targets.append(QJsonObject{{kValue, target.value},
                                       {kMeasure, kMeasureNames[size_t(target.measure)]},
                                       {kPoint, point},
                                       {kPower, target.power},
                                       {kTarget, target.target},
                                       {kTolerance, target.tolerance}});
        } else {
            QJsonArray levels;
            for (const double level : target.levels)
                levels.append(level);
            targets.append(QJsonObject{{kCalibrate, target.kind == CalibrationTarget::Kind::Rssi
                                                        ? QStringLiteral("rssi")
                                                        : QStringLiteral("squelch")},
                                       {kPoint, point},
                                       {kLevels, levels}});
        }
    }
    object.insert(kTargets, targets);
}
} // namespace

QJsonObject Recipe::toJson() const
{
    QJsonArray stepList;
    for (const RecipeStep &step : steps) {
        QJsonObject object{{kStep, RecipeStep::kindName(step.kind)}};
        if (!step.file.isEmpty())
            object.insert(kFile, step.file);
        if (!step.folder.isEmpty())
            object.insert(kFolder, step.folder);
        if (step.kind == Kind::Check) {
            QJsonObject limitObject;
            for (const Limits::Limit &limit : step.limits) {
                QJsonObject bounds{{kMin, limit.min}, {kMax, limit.max}};
                if (limit.marginal != 0.0)
                    bounds.insert(kMarginal, limit.marginal);
                if (limit.population)
                    bounds.insert(kPopulation, QJsonObject{{kUnits, limit.population->units},
                                                           {kSigma, limit.population->sigma}});
                limitObject.insert(limit.path, bounds);
            }
            object.insert(kLimits, limitObject);
        }
        if (step.plan)
            insertPlan(object, *step.plan);
        stepList.append(object);
    }
    QJsonObject result{{kRecipe, name}, {kRevision, revision}, {kSteps, stepList}};
    QJsonObject accept;
    if (models)
        accept.insert(kModels, QJsonArray::fromStringList(*models));
    if (firmware)
        accept.insert(kFirmware, QJsonArray::fromStringList(*firmware));
    if (models || firmware)
        result.insert(kAccept, accept);
    if (start == Start::Button)
        result.insert(kStart, kButton);
    if (scan)
        result.insert(kScan, true);
    return result;
}
