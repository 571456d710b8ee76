// Reads a recipe from arbitrary content: it is refused with at least one problem or accepted
// whole (every step with its members, every limit usable), and an accepted recipe's document
// reads back to the same recipe.
#include "fuzzsupport.h"
#include "station/recipe.h"

#include <QJsonDocument>

#include <cmath>

namespace {
using Kind = RecipeStep::Kind;

void checkStep(const RecipeStep &step)
{
    const bool file = !step.file.isEmpty();
    const bool folder = !step.folder.isEmpty();
    switch (step.kind) {
    case Kind::WriteConfig:
        if (!file || folder)
            Fuzz::fail("write-config without its File alone");
        break;
    case Kind::WriteCalibration:
        if (file == folder)
            Fuzz::fail("write-calibration without exactly one of File and Folder");
        break;
    case Kind::Backup:
    case Kind::ReadCalibration:
    case Kind::Snapshot:
        if (!folder || file)
            Fuzz::fail("step without its Folder alone:", RecipeStep::kindName(step.kind));
        break;
    case Kind::Check:
        if (step.limits.isEmpty() || file || folder)
            Fuzz::fail("check without limits");
        break;
    }
    for (const Limits::Limit &limit : step.limits) {
        if (!std::isfinite(limit.min) || !std::isfinite(limit.max) || limit.min > limit.max ||
            !(limit.marginal >= 0))
            Fuzz::fail("limit accepted with unusable bounds:", limit.path);
        if (Limits::sideOf(limit.path) != limit.side)
            Fuzz::fail("limit on the wrong side:", limit.path);
        if (Limits::judge(limit.min, limit).verdict == Limits::Verdict::Fail ||
            Limits::judge(limit.max, limit).verdict == Limits::Verdict::Fail)
            Fuzz::fail("a limit fails its own bound:", limit.path);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    QStringList problems;
    const auto recipe = Recipe::parse(content, &problems);
    if (!recipe) {
        if (problems.isEmpty())
            Fuzz::fail("refused without a problem");
        return 0;
    }
    if (!problems.isEmpty())
        Fuzz::fail("accepted with problems:", problems.join(QLatin1Char('\n')));
    if (recipe->name.trimmed().isEmpty() || recipe->revision.trimmed().isEmpty() ||
        recipe->steps.isEmpty())
        Fuzz::fail("accepted without a name, a revision or a step");
    for (const RecipeStep &step : recipe->steps)
        checkStep(step);

    const QJsonObject document = recipe->toJson();
    const auto again = Recipe::parse(QJsonDocument(document).toJson(), &problems);
    if (!again)
        Fuzz::fail("its own document refused:", problems.join(QLatin1Char('\n')));
    if (again->toJson() != document)
        Fuzz::fail("its own document reads back as another recipe");
    return 0;
}
