#include "support/portdoctor.h"

#include "serial/portadvice.h"

#include <QCoreApplication>

namespace {
QString checkText(const char *source)
{
    return QCoreApplication::translate("PortChecks", source);
}
} // namespace

PortChecks::Check PortDoctor::answerCheck(const ProbeResult &probe)
{
    using Check = PortChecks::Check;
    Check check{Check::Kind::Answers, Check::Result::Fail, probe.toText(), QString()};
    switch (probe.status) {
    case ProbeResult::Status::Module:
        check.result = Check::Result::Pass;
        break;
    case ProbeResult::Status::NoModule:
        check.fix = checkText(QT_TRANSLATE_NOOP(
            "PortChecks", "检查接线、模块的电源和线路参数（模块出厂为 9600 8N1）。"));
        break;
    case ProbeResult::Status::Busy:
        check.fix = PortAdvice::forOpenFailure(PortAdvice::OpenFailureCause::Busy);
        break;
    case ProbeResult::Status::NotOpened:
        check.fix = checkText(QT_TRANSLATE_NOOP("PortChecks", "先解决上面失败的检查。"));
        break;
    }
    return check;
}

QList<PortChecks::Check> PortDoctor::run(const QString &port, const LineSettings &line,
                                         const PortChecks::SystemFacts &facts, LineTrace *trace)
{
    QList<PortChecks::Check> checks = PortChecks::systemChecks(port, facts);
    checks.append(answerCheck(PortProbe::probe(PortChecks::devicePath(port), line, trace)));
    return checks;
}

bool PortDoctor::allPassed(const QList<PortChecks::Check> &checks)
{
    return std::none_of(checks.begin(), checks.end(), [](const PortChecks::Check &check) {
        return check.result == PortChecks::Check::Result::Fail;
    });
}

QJsonArray PortDoctor::systemReport(const QStringList &ports, const PortChecks::SystemFacts &facts)
{
    QJsonArray report;
    for (const QString &port : ports) {
        QJsonArray checks;
        for (const PortChecks::Check &check : PortChecks::systemChecks(port, facts))
            checks.append(check.toJson());
        report.append(
            QJsonObject{{QStringLiteral("port"), port}, {QStringLiteral("checks"), checks}});
    }
    return report;
}
