#pragma once

#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "station/calibrationplan.h"
#include "station/limits.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One step of a recipe, in the order the recipe gives them.
struct RecipeStep
{
    enum class Kind
    {
        Backup,           // Folder: a snapshot before anything is written
        WriteConfig,      // File: the user side, verified
        WriteCalibration, // Folder: <serial number>.json per unit, or File: one for every unit
        ReadCalibration,  // Folder: named by serial number
        Snapshot,         // Folder: named by serial number
        Check,            // Limits
        Calibrate,        // Instrument, Profile, Folder, Points, MaxTransmitSeconds, Targets
    };

    Kind kind = Kind::Check;
    QString file;   // as the recipe writes it; absolute once loaded
    QString folder; // as the recipe writes it; absolute once loaded
    QList<Limits::Limit> limits;

    // Filled by Recipe::load from File, checked whole, so that a later change of the file does
    // not reach a unit under a recipe identity that no longer describes it.
    std::optional<UserConfig> config;
    std::optional<FactoryCalibration> calibration;
    // A Calibrate step's members, checked whole.
    std::optional<CalibrationPlan> plan;

    // "write-config" and so on, as the recipe names the kind.
    static QString kindName(Kind kind);
    // Whether the step writes into the module.
    bool writes() const
    {
        return kind == Kind::WriteConfig || kind == Kind::WriteCalibration ||
               kind == Kind::Calibrate;
    }
    // The unit's own calibration file of a WriteCalibration step with a Folder.
    QString calibrationFile(const QString &serialNumber) const;
};

// What a station does with every unit: which units it takes and the steps each one goes
// through. A recipe is checked whole before any unit is touched.
struct Recipe
{
    enum class Start
    {
        Auto,   // as soon as a unit answers
        Button, // when the operator starts the lane
    };

    QString name;                        // "Recipe"
    QString revision;                    // "Revision"
    std::optional<QStringList> models;   // "Accept"/"Models"; none: every model
    std::optional<QStringList> firmware; // "Accept"/"Firmware"; none: every version
    QList<RecipeStep> steps;
    Start start = Start::Auto;
    bool scan = false; // the operator scans the unit's serial number first

    // Set by load().
    QString filePath; // absolute
    QString sha256;   // lower-case hex over the recipe file and every file it names

    // The structure alone, nothing looked up on disk: every member known and of its type, every
    // step with its members, every limit on a number of a file format with Min <= Max and
    // Marginal >= 0. Problems name the member ("Steps[2].Limits./Volume.Min: ..."); nothing
    // is returned unless the list stays empty. Paths stay as written.
    static std::optional<Recipe> parse(const QByteArray &content, QStringList *problems);
    // parse(), then the files: paths relative to the recipe's folder; a File and an input Folder
    // must be there, an output Folder is created; a file to write is checked as the write would
    // check it, and its values kept in the step. Then the identity.
    static std::optional<Recipe> load(const QString &path, QStringList *problems);

    // Why a unit of this model and firmware is not taken ("model LX-815 V1 is not accepted by
    // this recipe"); empty when it is.
    QString refusal(const QString &model, const QString &firmwareVersion) const;

    // The recipe's members as a document that parse() reads back to the same document.
    QJsonObject toJson() const;
};
