#pragma once

#include "serial/linesettings.h"
#include "serial/portchecks.h"
#include "session/portprobe.h"

#include <QJsonArray>
#include <QList>

// lx815-cli doctor: every port check, then whether the port opens and the band read answers.
namespace PortDoctor {

PortChecks::Check answerCheck(const ProbeResult &probe);

QList<PortChecks::Check> run(const QString &port, const LineSettings &line,
                             const PortChecks::SystemFacts &facts, LineTrace *trace = nullptr);

bool allPassed(const QList<PortChecks::Check> &checks);

// [{"port", "checks": [...]}] for the support report; without opening the ports.
QJsonArray systemReport(const QStringList &ports, const PortChecks::SystemFacts &facts);

} // namespace PortDoctor
