#pragma once

#include "sim/modulestate.h"

// Modules for the factory page tests.
namespace FactoryStates {

// Every factory value distinct, half of them with the high bit set; AC coupling, band 0x11.
ModuleState distinct();
// The same module with every value the LX-815 factory page transfers changed, and a
// different serial number; what the page leaves alone (adjust type 8, identity, user values)
// is kept.
ModuleState scrambled(const ModuleState &state);

} // namespace FactoryStates
