#pragma once

#include <QByteArray>

#include <optional>

// Reading what an instrument answers: numbers in SCPI's decimal forms, and error queue entries.
namespace ScpiReply {

struct Number
{
    enum class Kind
    {
        Value,
        NotANumber, // 9.91E37: the instrument measured nothing
        Infinity,   // +-9.9E37: the measurement is out of its range
        Invalid     // not a decimal number at all
    };
    Kind kind = Kind::Invalid;
    double value = 0.0;
};

// One decimal number ("+30.02", "-1.5E+01", " 47 "), blanks around it allowed, nothing else: no
// unit, no list, no hexadecimal, no "nan" or "inf" words.
Number parseNumber(const QByteArray &reply);

// The code of an error queue entry ("-113,\"Undefined header\"" is -113; 0 means no error), or
// nothing when the reply is no entry.
std::optional<int> errorCode(const QByteArray &reply);

} // namespace ScpiReply
