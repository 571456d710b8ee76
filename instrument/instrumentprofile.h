#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

// What the tool asks of an instrument, each need a command line of the instrument's own.
enum class InstrumentNeed
{
    Identify,
    Reset,
    WaitComplete,
    ErrorQuery,
    AnalyserFrequency,
    MeasurePower,
    MeasureFrequencyError,
    MeasureDeviation,
    GeneratorFrequency,
    GeneratorLevel,
    GeneratorOn,
    GeneratorOff
};

// An instrument profile (JSON): a name, the time each command may take, whether the error
// queue is asked after each command, and one command per need. {hz} and {dbm} stand for the
// frequency (whole Hz) and the level (dBm, one decimal) of the needs that take them; a need the
// instrument has not is written null.
struct InstrumentProfile
{
    Q_DECLARE_TR_FUNCTIONS(InstrumentProfile)

public:
    static constexpr int kNeedCount = 12;
    static constexpr int kDefaultTimeoutMs = 5000;
    static constexpr int kMinTimeoutMs = 100;
    static constexpr int kMaxTimeoutMs = 600000;
    static constexpr int kMaxCommandLength = 200; // characters
    static constexpr char kDefaultName[] = "generic-scpi";

    QString name;
    QString description;
    int timeoutMs = kDefaultTimeoutMs;
    bool checkErrors = false;
    std::array<std::optional<QString>, kNeedCount> commands;

    // The profile's JSON member of the need, "MeasurePower".
    static QString memberName(InstrumentNeed need);
    // Queries are answered with one line; the other needs are settings.
    static bool isQuery(InstrumentNeed need);
    // {hz}, {dbm} or nothing.
    static QString placeholder(InstrumentNeed need);

    const std::optional<QString> &command(InstrumentNeed need) const
    {
        return commands[static_cast<size_t>(need)];
    }

    // origin names the profile in errors (a file name, or the built-in profile's name).
    static std::optional<InstrumentProfile> fromJson(const QByteArray &json, const QString &origin,
                                                     QString *error);
    // A built-in profile's name (":/instruments/NAME.json") or a file.
    static std::optional<InstrumentProfile> load(const QString &nameOrFile, QString *error);
    // Whether load() takes nameOrFile as a built-in profile's name rather than a file.
    static bool isBuiltIn(const QString &nameOrFile);
};
