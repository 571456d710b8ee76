#pragma once

#include "serial/portchecks.h"

// lx815-cli doctor --instrument: whether the instrument answers its identification cleanly.
namespace InstrumentDoctor {

// url and profile (a built-in name or a file) as the command line gives them.
PortChecks::Check check(const QString &url, const QString &profile);

} // namespace InstrumentDoctor
