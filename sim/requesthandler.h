#pragma once

#include "sim/modulestate.h"

#include <QByteArray>

#include <optional>

// What the module does with one request payload; no I/O, so it can be tested byte for byte.
//
// Reads answer with the request repeated and the data behind it; changes answer 00 01; steps
// add their signed delta, wrapping as a byte. The module stays silent on what it cannot parse
// (an unknown command code or sub-code, or a known command of the wrong length), like a
// receiver that dropped a garbled line. A request it parses but cannot carry out (a channel
// number outside 1..16, a value outside the range the module stores, an unknown band, an
// adjust type it does not have) is refused with 00 02 and changes nothing; the tool then fails
// a write at once and repeats a read.
class RequestHandler
{
public:
    struct Result
    {
        std::optional<QByteArray> reply; // no value: the module stays silent
        bool changed = false;            // the state was written (even with the same value)
    };

    static Result handle(const QByteArray &request, ModuleState &state);
};
