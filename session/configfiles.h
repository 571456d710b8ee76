#pragma once

#include "app/mjsonconfig.h"
#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "session/modulesnapshot.h"

#include <QString>

#include <optional>

// The window's configuration files as the command-line tool and the station meet them: checked
// in full before anything goes to a module, and written once, whole, after everything came back.
namespace ConfigFiles {

// What a file is for. A module can hold a selector without an item, so a file to compare it
// with may say "no selection" where a file to write may not.
enum class Use
{
    Write,
    Compare
};

// A file to write into modules. Stricter than the window's loading, which fills gaps with
// defaults: every member of the format must be there with its JSON type (numbers whole) and
// within what its widget holds, and every selection the write sends must be made (the scan
// mode, the band, the selectors of each channel in use), so that a truncated, foreign or
// edited file never reaches a module, not even halfway. The values convert as the window
// converts them.
std::optional<UserConfig> loadUserConfig(const QString &path, QString *error, Use use = Use::Write);
std::optional<FactoryCalibration> loadFactoryCalibration(const QString &path, QString *error,
                                                         Use use = Use::Write);

// A file as the window's loading reads it: missing members take their defaults. Fails only
// for a file that cannot be read or holds no JSON object.
std::optional<UserConfig> readUserConfig(const QString &path, QString *error);

// The unit a file to write names in "/Unit" (none without it); nothing when "/Unit" is
// malformed.
std::optional<FileUnit> loadUnit(const QString &path, QString *error);
// A snapshot to restore: each side whose members the file has, checked as strictly as above,
// and at least one of them.
std::optional<ModuleSnapshot> loadSnapshot(const QString &path, QString *error);

// Whether the file can take a save: it can be opened for reading and writing (created and
// removed again when missing), and an existing file holds a JSON object or nothing, whose
// other members the save keeps.
bool checkWritable(const QString &path, QString *error);

// Stores the entries in the file as the window's save does (other members stay) and reads
// them back.
bool save(const QString &path, const MJsonConfig::Entries &entries, QString *error);

// Makes the folder with its parents when it is missing; when it cannot be made or written
// into, the error says why (a file in the way, no permission).
bool makeFolder(const QString &path, QString *error);
// Stores the entries in a file of their own in folder: "stem.json", or "stem-2.json" and so on
// when that name is taken. The name is claimed exclusively before the content goes in through
// a save file, so no existing file is ever replaced. The path, or nothing with the error.
std::optional<QString> saveNew(const QString &folder, const QString &stem,
                               const MJsonConfig::Entries &entries, QString *error);
// A module's state before a write, in a new file of folder named
// SERIAL-yyyyMMdd-HHmmss.zzz-PORT.json (UTC, milliseconds, the port's file name): milliseconds
// and the port keep apart two backups of one module within a second and blank units of one
// serial number on several ports; the exclusive save does the rest. The absolute path.
std::optional<QString> saveBackup(const QString &folder, const ModuleSnapshot &snapshot,
                                  const QString &port, QString *error);

} // namespace ConfigFiles
