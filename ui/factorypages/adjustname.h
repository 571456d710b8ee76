#pragma once

#include <QString>

#include <array>
#include <optional>

// The calibration adjust buttons carry their whole behaviour in their object names:
//   adjust_o<operation>_t<type>_p<point>_[of<step index>_]spinBox_<n>_[signed_]
// e.g. "adjust_o2_t7_p1_of1_spinBox_75_" steps type 7, middle point, by +1. Adding a
// calibration group to the form therefore needs no handler.

constexpr int kAdjustRead = 0;  // operation: read the value into the spin box
constexpr int kAdjustWrite = 1; // operation: write the spin box's value; any other is a step

struct AdjustName
{
    int operation = kAdjustRead;
    unsigned type = 0;
    int point = 0;      // 0 low, 1 middle, 2 high
    int stepIndex = -1; // 0 to 3 for a step, -1 for a read or a write
    QString spinBoxName;
    bool isSigned = false;

    bool isStep() const { return operation != kAdjustRead && operation != kAdjustWrite; }
};

// Decodes a button's object name; nothing for a name the adjust slot must ignore: a required
// marker missing, a step without a step index, or a point or step index outside the tables.
std::optional<AdjustName> parseAdjustName(const QString &objectName);

struct AdjustStep
{
    int delta;
    quint8 wireByte; // the delta as a two's complement byte
    const char *text;
};

// Step index -> delta. The MOD_BIAS groups label their keys with the opposite sign; the byte
// sent always follows the index.
constexpr std::array<AdjustStep, 4> kAdjustSteps{{
    {-1, 0xFF, "-1"},
    {+1, 0x01, "+1"},
    {-10, 0xF6, "-10"},
    {+10, 0x0A, "+10"},
}};

// Point names for the debug line of an adjust operation.
constexpr std::array<const char *, 3> kAdjustPointNames{{"low", "middle", "high"}};
