#pragma once

#include "session/modulesession.h"
#include "session/operationreport.h"

#include <QDateTime>
#include <QJsonObject>

#include <optional>

// Who a file says its values came from: the "/Unit" members. A file without them names no unit.
struct FileUnit
{
    static constexpr char kPath[] = "/Unit";

    QString serialNumber; // empty: the file names no unit
    QString model;
    int band = -1;
    QString firmware;
    QString readAt;

    bool names() const { return !serialNumber.isEmpty(); }

    // The "/Unit" members of a module identified at readAt, ready for MJsonConfig::setValues.
    static MJsonConfig::Entries entries(const ModuleIdentity &identity, const QDateTime &readAt);
    // The unit of a file's JSON object; nothing, with the reason, when "/Unit" is malformed
    // (not an object, a member of the wrong type, a serial number that is not 12 hex digits).
    static std::optional<FileUnit> fromJson(const QJsonObject &file, QString *error);
};

// Everything the tool can read from a module at one moment: its identity, its user side as
// "读取所有参数" reads it and its LX-815 factory side as "读取全部参数" reads it, either side
// optional. Its file holds both sides' members side by side plus "/Unit", so it loads with both
// "打开配置文件" and "打开后台配置".
struct ModuleSnapshot
{
    enum class Sides
    {
        User,
        Factory,
        Both
    };

    bool identified = false;
    ModuleIdentity identity;
    QDateTime readAt; // UTC
    std::optional<UserConfig> user;
    std::optional<FactoryCalibration> factory;

    // Runs the window's own sequences: "读取所有参数" for the user side (its identification
    // included), the identification then "读取全部参数" for a factory-only one (where a band
    // the tool does not know is no failure: a factory page calibrates such modules too).
    static std::optional<ModuleSnapshot> read(ModuleSession &session, Sides sides);

    // Whether a file's object holds a side: its first member is there.
    static bool holdsUser(const QJsonObject &file);
    static bool holdsFactory(const QJsonObject &file);

    // The file's members: user side, factory side, then "/Unit" when identified.
    MJsonConfig::Entries entries() const;
    QJsonObject toJson() const;
};

// Field by field: each field where the module does not hold what was expected, named as a
// technician reads it ("Channel 3 RX frequency", "Volume", a factory file path), both values in
// the window's display form.
namespace SnapshotCompare {
// What a read shows after writing config: the values the window sends, half-used channels
// cleared, no parameters on an unused channel.
UserConfig afterWrite(const UserConfig &config);

// expected is compared as it would read back after a write.
FieldDifferences user(const UserConfig &expected, const UserConfig &actual);
FieldDifferences factory(const FactoryCalibration &expected, const FactoryCalibration &actual);
// Only the sides both snapshots hold.
FieldDifferences snapshots(const ModuleSnapshot &expected, const ModuleSnapshot &actual);

// "FIELD: expected E, module A", one difference a line.
QString line(const FieldDifference &difference);
} // namespace SnapshotCompare
