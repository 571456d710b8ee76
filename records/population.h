#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class RecordStore;

// Where a recipe's value usually lies: the mean and spread of the latest passing units, for a
// check that holds a unit far from its line's population (an outlier is looked at before it
// fails in the field).
struct PopulationFigures
{
    int units = 0; // the passing runs the figures come from
    double mean = 0.0;
    double sigma = 0.0;     // the sample standard deviation
    QDateTime computed;     // UTC, when they were taken from the history
    bool fromCache = false; // the history could not be read: the station's last figures
};

namespace Population {

// Below this many passing runs the figures hold nobody: a new recipe's first units set them.
constexpr int kMinimumUnits = 10;

// From the history: the value name (a file path such as "/TCXO_BIAS") in the latest `units`
// passing runs of the recipe. Nothing with an error when the history cannot be read, and
// nothing without one (error left empty) when there are too few runs.
std::optional<PopulationFigures> fromHistory(RecordStore &store, const QString &recipeSha,
                                             const QString &name, int units, QString *error);

// The station's last figures, one small JSON file per recipe in folder.
bool save(const QString &folder, const QString &recipeSha, const QString &name, int units,
          const PopulationFigures &figures);
std::optional<PopulationFigures> cached(const QString &folder, const QString &recipeSha,
                                        const QString &name, int units);

// From the history (and cached for a later failure), else from the cache with fromCache set.
std::optional<PopulationFigures> figures(RecordStore &store, const QString &cacheFolder,
                                         const QString &recipeSha, const QString &name, int units);

// The folder of the cache: "population" in the user's data folder.
QString defaultCacheFolder();

} // namespace Population
