#pragma once

#include "config/factoryconfig.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The one table between the values of the two factory pages and their widgets: each
// calibration file member names its widget here, and each number its wire address (taken from
// the file's own table where the file keeps it). The power tables and RSSI offsets of the pages
// are read from it; a test holds it against the form.
namespace FactoryBindings {

enum class Page
{
    Lx815,
    Mr460
};

struct Binding
{
    enum class Kind
    {
        Number,   // a spin box
        Band,     // the band selector
        Coupling, // a DC / AC pair of radio buttons
        Serial,   // a serial number's line edit
    };

    Kind kind = Kind::Number;
    Page page = Page::Lx815;
    const char *path = nullptr;    // calibration file member; nullptr: the file does not keep it
    const char *widget = nullptr;  // the spin box, selector, line edit, or a pair's DC choice
    const char *partner = nullptr; // a pair's AC choice
    std::optional<FactorySource> source; // where a number lives in the module
    int minimum = 0;                     // a number's range
    int maximum = 0;
};

const std::vector<Binding> &all();

// The spin box of a calibration file number.
const char *spinBoxOf(const FactoryNumberField &field);

// The power and point selectors of a page's power table.
struct PowerSelectors
{
    std::array<const char *, 5> powers; // 1 W to 5 W
    std::array<const char *, 3> points; // low, middle, high
};
const PowerSelectors &powerSelectors(Page page);

// A page's power table spin boxes in the wire order of the table's read and write.
std::array<const char *, 15> powerTableBoxes(Page page);

// The RSSI offset spin boxes by point: low, middle, high.
std::array<const char *, 3> rssiOffsetBoxes();

} // namespace FactoryBindings
