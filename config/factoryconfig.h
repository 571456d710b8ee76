#pragma once

#include "app/mjsonconfig.h"
#include "config/memberlimits.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// Where one number of the factory calibration lives in the module.
struct FactorySource
{
    enum class Kind
    {
        Adjust,
        PowerCell,
        RssiOffset,
        SidetoneVolume
    };

    Kind kind = Kind::Adjust;
    quint8 adjustType = 0; // Adjust only
    int point = 1;         // Adjust, PowerCell, RssiOffset: 0 low, 1 middle, 2 high
    int power = 0;         // PowerCell only: 0 = 1 W ... 4 = 5 W
};

// One number of the factory calibration file: its path, where it lives in the module, and the
// range of values it holds (a value outside it is clamped, as the page's spin box would).
struct FactoryNumberField
{
    const char *path;
    FactorySource source;
    int minimum;
    int maximum;

    // The module's byte is read sign-extended exactly when the range reaches below 0.
    bool isSigned() const { return minimum < 0; }
    int clamp(int value) const;
};

// The values of the factory calibration file, independent of any widget: the window fills it
// from its factory page, the command-line tool from a module, and both write the same file.
struct FactoryCalibration
{
    static constexpr int kNumberCount = 39;
    static constexpr int kBandCount = 4;

    std::array<int, kNumberCount> numbers{}; // in the order of numberFields()
    bool dcCoupling = true;
    int radioBandIndex = -1; // -1: no band selected

    // The numbers in file order.
    static const std::array<FactoryNumberField, kNumberCount> &numberFields();
    // The index into numbers of the field fed by the source, or of the file member; -1 for none.
    static int indexOf(const FactorySource &source);
    static int indexOfPath(const QString &path);
    // Where a power cell (0 = 1 W ... 4 = 5 W, point 0 low to 2 high) sits in the wire order.
    static int powerTableIndex(int power, int point);

    // The power table cells in wire order (for each power: middle, low, high), and back.
    QByteArray powerTable() const;
    void setPowerTable(const QByteArray &wireOrder);

    // Every number in its range, and no band for an index the selector does not have.
    FactoryCalibration normalised() const;

    // The 41 members in file order, ready for one atomic MJsonConfig::setValues.
    MJsonConfig::Entries entries() const;
    // Missing, null, non-numeric and fractional members give 0 ("DC", -1 for the last two).
    static FactoryCalibration fromStore(const MJsonConfig &store);
    // What each member of the file may hold: the factory page's spin box ranges, its band
    // selector, the two couplings.
    static MemberLimits limits();

    bool operator==(const FactoryCalibration &other) const;
    bool operator!=(const FactoryCalibration &other) const { return !(*this == other); }
};

// One step of reading or writing every LX-815 factory value at once ("读取全部参数" /
// "写入全部参数"); the window and the command-line tool run the same steps in the same order.
struct FactoryBulkStep
{
    enum class Item
    {
        Number,     // numberFields()[field]: an adjust value, an RSSI offset, the sidetone volume
        PowerTable, // the fifteen power cells in one command
        Band,
        Coupling,     // the coupling the file keeps
        TestCoupling, // the same setting shown again in the test group: read, never written
    };

    Item item = Item::Number;
    int field = -1; // Number only
};

namespace FactoryBulk {
const std::vector<FactoryBulkStep> &readSteps();  // 28 steps
const std::vector<FactoryBulkStep> &writeSteps(); // 27 steps
// Why a step cannot be written while the page leaves its value empty.
QString blankText(const FactoryBulkStep &step);
// The busy overlay's percentage once `done` + 1 of `count` steps have succeeded.
constexpr int percentAfter(int done, int count)
{
    return done * 100 / count;
}
} // namespace FactoryBulk
