// Reads an instrument profile from arbitrary bytes: a profile that loads holds only what a
// command line may carry, each command with exactly the placeholder its need takes.
#include "fuzzsupport.h"
#include "instrument/instrumentprofile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), int(size));
    QString error;
    const auto profile = InstrumentProfile::fromJson(json, QStringLiteral("fuzz.json"), &error);
    if (!profile) {
        if (!error.startsWith(QStringLiteral("fuzz.json: ")))
            Fuzz::fail("a refused profile without its origin in the error:", error);
        return 0;
    }
    if (profile->name.trimmed().isEmpty())
        Fuzz::fail("a profile without a name");
    if (profile->timeoutMs < InstrumentProfile::kMinTimeoutMs ||
        profile->timeoutMs > InstrumentProfile::kMaxTimeoutMs)
        Fuzz::fail("a deadline out of range:", QString::number(profile->timeoutMs));
    for (int i = 0; i < InstrumentProfile::kNeedCount; ++i) {
        const auto need = static_cast<InstrumentNeed>(i);
        const auto &command = profile->command(need);
        if (!command)
            continue;
        if (command->size() > InstrumentProfile::kMaxCommandLength ||
            command->contains(QLatin1Char('\n')) || command->contains(QLatin1Char('\r')))
            Fuzz::fail("a command that is not one short line:", *command);
        const QString placeholder = InstrumentProfile::placeholder(need);
        QString rest = *command;
        rest.remove(placeholder.isEmpty() ? QStringLiteral("\x01") : placeholder);
        if ((!placeholder.isEmpty() && !command->contains(placeholder)) ||
            rest.contains(QLatin1String("{hz}")) || rest.contains(QLatin1String("{dbm}")))
            Fuzz::fail("a command with the wrong placeholders:", *command);
    }
    return 0;
}
