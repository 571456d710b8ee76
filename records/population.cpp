#include "records/population.h"

#include "records/recordstore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <cmath>

namespace {
QString cacheFile(const QString &folder, const QString &recipeSha)
{
    return QDir(folder).filePath(recipeSha.toLower() + QStringLiteral(".json"));
}

// One member per value and population size: "/TCXO_BIAS@200".
QString keyOf(const QString &name, int units)
{
    return QStringLiteral("%1@%2").arg(name).arg(units);
}

QJsonObject readObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}
} // namespace

std::optional<PopulationFigures> Population::fromHistory(RecordStore &store,
                                                         const QString &recipeSha,
                                                         const QString &name, int units,
                                                         QString *error)
{
    error->clear();
    QList<double> values;
    const QString sql =
        QStringLiteral("SELECT m.value FROM unit_measurements m JOIN unit_records r ON "
                       "r.entry_id = m.entry_id WHERE r.recipe_sha256 = ? AND m.name = ? "
                       "AND LOWER(r.outcome) = 'pass' ORDER BY r.finished_ms DESC, r.id "
                       "DESC LIMIT %1")
            .arg(std::max(units, 0));
    if (!store.select(sql, {recipeSha.toLower(), name},
                      [&](const QSqlQuery &q) { values.append(q.value(0).toDouble()); })) {
        *error = store.lastError();
        return std::nullopt;
    }
    if (values.size() < kMinimumUnits)
        return std::nullopt;
    double sum = 0.0;
    for (const double v : qAsConst(values))
        sum += v;
    PopulationFigures figures;
    figures.units = values.size();
    figures.mean = sum / values.size();
    double squares = 0.0;
    for (const double v : qAsConst(values))
        squares += (v - figures.mean) * (v - figures.mean);
    figures.sigma = std::sqrt(squares / (values.size() - 1));
    figures.computed = QDateTime::currentDateTimeUtc();
    return figures;
}

bool Population::save(const QString &folder, const QString &recipeSha, const QString &name,
                      int units, const PopulationFigures &figures)
{
    if (!QDir().mkpath(folder))
        return false;
    const QString path = cacheFile(folder, recipeSha);
    QJsonObject all = readObject(path);
    all.insert(keyOf(name, units), QJsonObject{{QStringLiteral("units"), figures.units},
                                               {QStringLiteral("mean"), figures.mean},
                                               {QStringLiteral("sigma"), figures.sigma},
                                               {QStringLiteral("computed"),
                                                figures.computed.toString(Qt::ISODateWithMs)}});
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(all).toJson()) >= 0 &&
           file.commit();
}

std::optional<PopulationFigures> Population::cached(const QString &folder, const QString &recipeSha,
                                                    const QString &name, int units)
{
    const QJsonObject entry =
        readObject(cacheFile(folder, recipeSha)).value(keyOf(name, units)).toObject();
    if (!entry.value(QStringLiteral("mean")).isDouble() ||
        !entry.value(QStringLiteral("sigma")).isDouble())
        return std::nullopt;
    PopulationFigures figures;
    figures.units = entry.value(QStringLiteral("units")).toInt();
    figures.mean = entry.value(QStringLiteral("mean")).toDouble();
    figures.sigma = entry.value(QStringLiteral("sigma")).toDouble();
    figures.computed = QDateTime::fromString(entry.value(QStringLiteral("computed")).toString(),
                                             Qt::ISODateWithMs);
    figures.fromCache = true;
    return figures;
}

std::optional<PopulationFigures> Population::figures(RecordStore &store, const QString &cacheFolder,
                                                     const QString &recipeSha, const QString &name,
                                                     int units)
{
    QString error;
    const auto fresh = fromHistory(store, recipeSha, name, units, &error);
    if (fresh) {
        save(cacheFolder, recipeSha, name, units, *fresh);
        return fresh;
    }
    if (error.isEmpty())
        return std::nullopt; // too few units yet: no hold
    return cached(cacheFolder, recipeSha, name, units);
}

QString Population::defaultCacheFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("population"));
}
