#include "station/limits.h"

#include "config/factoryconfig.h"
#include "config/userconfig.h"

#include <QCoreApplication>

#include <cmath>

namespace {
constexpr int kDigits = 12; // enough for every file value and a limit written by hand

QString text(const char *source)
{
    return QCoreApplication::translate("Limits", source);
}

QString number(double value)
{
    return QString::number(value, 'g', kDigits);
}

// The formats' own member lists, with the kind of each member's value.
const MJsonConfig::Entries &entriesOf(Limits::Side side)
{
    static const MJsonConfig::Entries user = UserConfig().entries();
    static const MJsonConfig::Entries factory = FactoryCalibration().entries();
    return side == Limits::Side::User ? user : factory;
}

const QJsonValue *find(const MJsonConfig::Entries &entries, const QString &path)
{
    for (const auto &entry : entries) {
        if (entry.first == path)
            return &entry.second;
    }
    return nullptr;
}
} // namespace

bool Limits::Limit::operator==(const Limit &other) const
{
    return path == other.path && side == other.side && min == other.min && max == other.max &&
           marginal == other.marginal && population == other.population;
}

std::optional<Limits::Side> Limits::sideOf(const QString &path)
{
    for (const Side side : {Side::User, Side::Factory}) {
        const QJsonValue *value = find(entriesOf(side), path);
        if (value && value->isDouble())
            return side;
    }
    return std::nullopt;
}

bool Limits::isKnownPath(const QString &path)
{
    return find(entriesOf(Side::User), path) || find(entriesOf(Side::Factory), path);
}

std::optional<double> Limits::valueAt(const MJsonConfig::Entries &entries, const QString &path)
{
    const QJsonValue *value = find(entries, path);
    if (!value || !value->isDouble())
        return std::nullopt;
    return value->toDouble();
}

Limits::Judgement Limits::judge(double value, const Limit &limit)
{
    const QString shown = number(value);
    if (std::isnan(value) || value < limit.min)
        return {Verdict::Fail, text(QT_TRANSLATE_NOOP("Limits", "%1 = %2，低于下限 %3"))
                                   .arg(limit.path, shown, number(limit.min))};
    if (value > limit.max)
        return {Verdict::Fail, text(QT_TRANSLATE_NOOP("Limits", "%1 = %2，高于上限 %3"))
                                   .arg(limit.path, shown, number(limit.max))};
    if (limit.marginal > 0 && value - limit.min <= limit.marginal)
        return {Verdict::Marginal,
                text(QT_TRANSLATE_NOOP("Limits", "%1 = %2，距下限 %3 不超过 %4"))
                    .arg(limit.path, shown, number(limit.min), number(limit.marginal))};
    if (limit.marginal > 0 && limit.max - value <= limit.marginal)
        return {Verdict::Marginal,
                text(QT_TRANSLATE_NOOP("Limits", "%1 = %2，距上限 %3 不超过 %4"))
                    .arg(limit.path, shown, number(limit.max), number(limit.marginal))};
    return {Verdict::Pass, text(QT_TRANSLATE_NOOP("Limits", "%1 = %2，在 %3 至 %4 之内"))
                               .arg(limit.path, shown, number(limit.min), number(limit.max))};
}

Limits::Judgement Limits::judge(double value, const Limit &limit,
                                const std::optional<PopulationFigures> &population)
{
    Judgement judgement = judge(value, limit);
    if (judgement.verdict != Verdict::Pass || !limit.population || !population ||
        !(population->sigma > 0.0))
        return judgement;
    const double distance = (value - population->mean) / population->sigma;
    if (std::abs(distance) <= limit.population->sigma)
        return judgement;
    judgement.verdict = Verdict::Marginal;
    judgement.text =
        (distance > 0 ? text(QT_TRANSLATE_NOOP("Limits", "%1 %2 高于最近 %4 台 %3 σ"))
                      : text(QT_TRANSLATE_NOOP("Limits", "%1 %2 低于最近 %4 台 %3 σ")))
            .arg(limit.path, number(value), QString::number(std::abs(distance), 'f', 1))
            .arg(population->units);
    if (population->fromCache)
        judgement.text +=
            text(QT_TRANSLATE_NOOP("Limits", "（历史记录无法读取，使用本工位 %1 缓存的数值）"))
                .arg(population->computed.toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'")));
    return judgement;
}

QString Limits::verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        return QStringLiteral("PASS");
    case Verdict::Marginal:
        return QStringLiteral("MARGINAL");
    case Verdict::Fail:
        break;
    }
    return QStringLiteral("FAIL");
}
