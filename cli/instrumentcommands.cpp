#include "cli/instrumentcommands.h"

#include "instrument/instrument.h"
#include "instrument/instrumentdoctor.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <memory>

namespace {
using Action = CliOptions::InstrumentAction;
using Measurement = Instrument::Measurement;

struct Outcome
{
    int exitCode = ExitCode::kOk;
    QString line;  // the result
    QString error; // the failure
    double value = 0.0;
};

Measurement measurementOf(Action action)
{
    switch (action) {
    case Action::MeasureFrequencyError:
        return Measurement::FrequencyError;
    case Action::MeasureDeviation:
        return Measurement::Deviation;
    default:
        return Measurement::Power;
    }
}

int exitCodeOf(const Instrument::Failure &failure)
{
    return failure.kind == Instrument::Failure::Kind::Connect ? ExitCode::kPort : ExitCode::kModule;
}

// Everything on this thread: the instrument belongs to the thread that connects it.
Outcome perform(const CliOptions &options, const InstrumentAddress &address,
                const InstrumentProfile &profile)
{
    Instrument instrument(address, profile);
    if (!instrument.connectToInstrument())
        return {exitCodeOf(instrument.failure()), QString(), instrument.failure().text};
    if (options.instrumentAction == Action::Identify) {
        const auto identity = instrument.identify();
        if (!identity)
            return {exitCodeOf(instrument.failure()), QString(), instrument.failure().text};
        return {ExitCode::kOk, *identity, QString()};
    }
    const Measurement measurement = measurementOf(options.instrumentAction);
    const auto value = instrument.measure(measurement);
    if (!value)
        return {exitCodeOf(instrument.failure()), QString(), instrument.failure().text};
    const int decimals = measurement == Measurement::Power ? 2 : 1;
    return {ExitCode::kOk,
            QStringLiteral("%1 %2").arg(QString::number(*value, 'f', decimals),
                                        Instrument::unit(measurement)),
            QString(), *value};
}

template<typename Work> auto onWorkerThread(Work work)
{
    decltype(work()) result;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = work(); }));
    thread->start();
    thread->wait();
    return result;
}
} // namespace

int InstrumentCommands::run(const CliOptions &options, Console &console)
{
    QString error;
    const auto address = InstrumentAddress::parse(options.instrument, &error);
    const auto profile = address ? InstrumentProfile::load(options.profile, &error) : std::nullopt;
    if (!profile) {
        console.error(error);
        return ExitCode::kUsage;
    }
    const Outcome outcome = onWorkerThread([&] { return perform(options, *address, *profile); });
    if (outcome.exitCode != ExitCode::kOk) {
        console.error(outcome.error);
        return outcome.exitCode;
    }
    if (!options.json) {
        console.result(QString(), outcome.line);
        return ExitCode::kOk;
    }
    QJsonObject object{{QStringLiteral("instrument"), options.instrument}};
    if (options.instrumentAction == Action::Identify) {
        object.insert(QStringLiteral("identity"), outcome.line);
    } else {
        const Measurement measurement = measurementOf(options.instrumentAction);
        object.insert(QStringLiteral("value"), outcome.value);
        object.insert(QStringLiteral("unit"), Instrument::unit(measurement));
    }
    console.result(QString(),
                   QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    return ExitCode::kOk;
}

PortChecks::Check InstrumentCommands::doctorCheck(const CliOptions &options)
{
    return onWorkerThread(
        [&] { return InstrumentDoctor::check(options.instrument, options.profile); });
}
