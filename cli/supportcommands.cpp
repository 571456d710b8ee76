#include "cli/supportcommands.h"

#include "cli/instrumentcommands.h"
#include "protocol/linetrace.h"
#include "serial/portchecks.h"
#include "session/portprobe.h"
#include "support/portdoctor.h"
#include "support/supportreport.h"

#include <QJsonDocument>
#include <QSerialPortInfo>
#include <QThread>

#include <memory>
#include <vector>

int SupportCommands::probePorts(const CliOptions &options, Console &console, LineTrace *trace)
{
    const QStringList names = PortProbe::candidates(options.ports);
    std::vector<ProbeResult> results(static_cast<size_t>(names.size()));
    std::vector<std::unique_ptr<QThread>> threads;
    // Each probe blocks with its own event loop turning; one thread per port.
    for (int i = 0; i < names.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            results[static_cast<size_t>(i)] = PortProbe::probe(names.at(i), options.serial, trace);
        }));
        threads.back()->start();
    }
    for (const auto &thread : threads)
        thread->wait();
    for (const ProbeResult &result : results) {
        const QString line =
            options.json
                ? QString::fromUtf8(QJsonDocument(result.toJson()).toJson(QJsonDocument::Compact))
                : QStringLiteral("%1: %2").arg(result.port, result.toText());
        console.result(result.port, line);
    }
    const bool any =
        std::any_of(results.begin(), results.end(), [](const ProbeResult &r) { return r.found(); });
    return any ? ExitCode::kOk : ExitCode::kModule;
}

int SupportCommands::doctor(const CliOptions &options, Console &console, LineTrace *trace)
{
    QStringList ports = options.ports;
    if (ports.isEmpty()) {
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            ports.append(info.systemLocation());
    }
    const bool instrument = !options.instrument.isEmpty();
    if (ports.isEmpty() && !instrument) {
        console.error(QStringLiteral("no serial port listed; name one with --port"));
        return ExitCode::kModule;
    }
    const PortChecks::SystemFacts facts = PortChecks::SystemFacts::live();
    bool passed = true;
    if (instrument) {
        const PortChecks::Check check = InstrumentCommands::doctorCheck(options);
        passed = check.result != PortChecks::Check::Result::Fail;
        console.result(options.instrument, check.toText());
    }
    for (const QString &port : qAsConst(ports)) {
        const auto checks = PortDoctor::run(port, options.serial, facts, trace);
        passed = passed && PortDoctor::allPassed(checks);
        QStringList lines{PortChecks::devicePath(port)};
        for (const PortChecks::Check &check : checks)
            lines.append(check.toText());
        console.result(port, lines.join(QLatin1Char('\n')));
    }
    return passed ? ExitCode::kOk : ExitCode::kModule;
}

void SupportCommands::writeReport(const CliOptions &options, const LineTrace &trace,
                                  const std::optional<ModuleIdentity> &identity, Console &console)
{
    SupportReport report = SupportReport::collect(QStringLiteral("lx815-cli"), options.ports);
    report.settings =
        QJsonObject{{QStringLiteral("arguments"), QJsonArray::fromStringList(options.arguments)}};
    report.port = options.ports.value(0);
    report.line = options.serial;
    report.identity = identity;
    report.trace = trace.toJson();
    QString error;
    if (!report.save(options.traceFile, &error))
        console.error(error);
}
