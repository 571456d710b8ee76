// Loads a user configuration from arbitrary file content, saves it into the same file and
// checks that loading again gives the same values and that foreign members survive the save.
#include "config/userconfig.h"
#include "fuzzsupport.h"

#include <QJsonDocument>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Fuzz;
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    writeScratch(content);
    const QJsonObject before = storedObject(content);

    try {
        MJsonConfig store(scratchFile());
        const UserConfig loaded = UserConfig::fromStore(store);

        const MJsonConfig::Entries entries = loaded.entries();
        QVector<QStringList> paths;
        QSet<QString> distinct;
        for (const auto &entry : entries) {
            paths.append(keysOf(entry.first));
            distinct.insert(entry.first);
        }
        if (entries.size() != UserConfigFile::kEntryCount || distinct.size() != entries.size())
            fail("a save does not write each member once");

        store.setValues(entries);
        if (!onlyPathsChanged(before, QJsonDocument::fromJson(readScratch()).object(), paths))
            fail("a save changed a member it does not own");

        MJsonConfig reopened(scratchFile());
        if (UserConfig::fromStore(reopened) != loaded)
            fail("loading a saved configuration gives other values");
    } catch (const ConfigFileError &) {
        fail("scratch file refused");
    }
    return 0;
}
