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

// The values of the pages that are no number of their tables, one row each: the window's code
// names these, never their widgets.
enum class Setting
{
    None, // a number
    Band,
    Coupling,     // the coupling the file keeps, on the "其他" sub-tab
    TestCoupling, // the same setting shown again on the LX-815 test bench
    Mr460Coupling,
    Serial, // the LX-815's
    Mr460Serial,
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
    Setting setting = Setting::None;
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
// The row of a setting.
const Binding &of(Setting setting);
// The sidetone volume's spin box.
const char *sidetoneVolumeBox();

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
