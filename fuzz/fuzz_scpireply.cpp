// Reads arbitrary instrument answers as numbers and error queue entries: whatever is taken for a
// number is finite and reads back the same from its own text, and an error code reads back too.
#include "fuzzsupport.h"
#include "instrument/scpireply.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), int(size));
    const ScpiReply::Number number = ScpiReply::parseNumber(reply);
    if (number.kind != ScpiReply::Number::Kind::Invalid) {
        if (!std::isfinite(number.value))
            Fuzz::fail("a number that is not finite from:", QString::fromLatin1(reply.toHex()));
        const QByteArray text = QByteArray::number(number.value, 'g', 17);
        const ScpiReply::Number again = ScpiReply::parseNumber(text);
        if (again.kind != number.kind || again.value != number.value)
            Fuzz::fail("a number that does not read back:", QString::fromLatin1(text));
    }
    const auto code = ScpiReply::errorCode(reply);
    if (code) {
        const auto again = ScpiReply::errorCode(QByteArray::number(*code) + ",\"x\"");
        if (again != code)
            Fuzz::fail("an error code that does not read back:", QString::number(*code));
    }
    return 0;
}
