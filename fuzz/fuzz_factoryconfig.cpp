// Loads a factory calibration from arbitrary file content and checks the loaded values, the
// power table's wire order both ways, and a save into the same file followed by a load.
#include "config/factoryconfig.h"
#include "device/wire.h"
#include "fuzzsupport.h"

#include <QJsonDocument>
#include <QSet>

namespace {
void checkRanges(const FactoryCalibration &calibration)
{
    const auto &fields = FactoryCalibration::numberFields();
    for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
        const int number = calibration.numbers[size_t(i)];
        if (number < fields[size_t(i)].minimum || number > fields[size_t(i)].maximum)
            Fuzz::fail("loaded number outside its spin box range:", QString::number(number));
    }
    if (calibration.radioBandIndex < -1 ||
        calibration.radioBandIndex >= FactoryCalibration::kBandCount)
        Fuzz::fail("loaded band index the selector does not have:",
                   QString::number(calibration.radioBandIndex));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Fuzz;
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
    writeScratch(content);
    const QJsonObject before = storedObject(content);

    try {
        MJsonConfig store(scratchFile());
        const FactoryCalibration loaded = FactoryCalibration::fromStore(store);
        checkRanges(loaded);

        const QByteArray table = loaded.powerTable();
        if (table.size() != Wire::kPowerTableSize)
            fail("power table of the wrong size:", QString::number(table.size()));
        FactoryCalibration fromWire = loaded;
        fromWire.numbers.fill(0);
        fromWire.setPowerTable(table);
        FactoryCalibration cellsOnly = loaded;
        for (int i = 0; i < FactoryCalibration::kNumberCount; ++i) {
            if (FactoryCalibration::numberFields()[size_t(i)].source.kind !=
                FactorySource::Kind::PowerCell)
                cellsOnly.numbers[size_t(i)] = 0;
        }
        if (fromWire != cellsOnly)
            fail("power table does not come back from its wire order");

        const MJsonConfig::Entries entries = loaded.entries();
        QVector<QStringList> paths;
        QSet<QString> distinct;
        for (const auto &entry : entries) {
            paths.append(keysOf(entry.first));
            distinct.insert(entry.first);
        }
        if (entries.size() != FactoryCalibration::kNumberCount + 2 ||
            distinct.size() != entries.size())
            fail("a save does not write each member once");

        store.setValues(entries);
        if (!onlyPathsChanged(before, QJsonDocument::fromJson(readScratch()).object(), paths))
            fail("a save changed a member it does not own");

        MJsonConfig reopened(scratchFile());
        if (FactoryCalibration::fromStore(reopened) != loaded)
            fail("loading a saved calibration gives other values");
    } catch (const ConfigFileError &) {
        fail("scratch file refused");
    }
    return 0;
}
