#include "session/portprobe.h"

#include "serial/mserialport.h"
#include "serial/portadvice.h"

#include <QCoreApplication>
#include <QSerialPortInfo>

namespace {
QString text(const char *source)
{
    return QCoreApplication::translate("PortProbe", source);
}

struct Quiet : FailureReporter
{
    void reportFailure(const QString &) override {}
};
} // namespace

QString ProbeResult::toText() const
{
    switch (status) {
    case Status::Module: {
        QString line = identity.model;
        if (!identity.frequencyRange.isEmpty())
            line += QStringLiteral("  ") + identity.frequencyRange;
        if (!identity.serialNumber.isEmpty())
            line += QStringLiteral("  SN: ") + identity.serialNumber;
        return line;
    }
    case Status::NoModule:
        return text(QT_TRANSLATE_NOOP("PortProbe", "无模块"));
    case Status::Busy:
        return text(QT_TRANSLATE_NOOP("PortProbe", "串口被占用")) + QStringLiteral(": ") + reason;
    case Status::NotOpened:
        return text(QT_TRANSLATE_NOOP("PortProbe", "无法打开")) + QStringLiteral(": ") + reason;
    }
    return QString();
}

QJsonObject ProbeResult::toJson() const
{
    static const char *const kStatus[] = {"module", "no module", "busy", "cannot open"};
    QJsonObject object{
        {QStringLiteral("port"), port},
        {QStringLiteral("status"), QLatin1String(kStatus[static_cast<int>(status)])}};
    if (found()) {
        object.insert(QStringLiteral("model"), identity.model);
        object.insert(QStringLiteral("frequencyRange"), identity.frequencyRange);
        object.insert(QStringLiteral("serialNumber"), identity.serialNumber);
        object.insert(QStringLiteral("band"), identity.bandCode);
    } else if (!reason.isEmpty()) {
        object.insert(QStringLiteral("reason"), reason);
    }
    return object;
}

ProbeResult PortProbe::probe(const QString &name, const LineSettings &line, LineTrace *trace)
{
    ProbeResult result;
    result.port = name;
    MSerialPort port;
    port.setPortName(name);
    line.applyTo(port);
    QString verdict;
    QObject::connect(&port, &MSerialPort::onError, [&](int, const QString &msg) {
        if (!port.isOpen())
            verdict = (msg + QLatin1Char(' ') + port.lastErrorAdvice()).simplified();
    });
    if (!port.open()) {
        const auto cause = PortAdvice::openFailureCause(
            port.error(), PortAdvice::deviceAccessible(port.portName()));
        result.status = cause == PortAdvice::OpenFailureCause::Busy
                            ? ProbeResult::Status::Busy
                            : ProbeResult::Status::NotOpened;
        result.reason = verdict;
        return result;
    }
    port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    CommandEngine engine;
    engine.setTrace(trace);
    engine.setDevice(&port);
    QObject::connect(&port, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
    Quiet quiet;
    ModuleSession session(engine, quiet);
    // The band answer alone is a module; the serial number is what a second attempt adds.
    session.probe(kTimeoutMs);
    if (!session.identity().model.isEmpty()) {
        result.status = ProbeResult::Status::Module;
        result.identity = session.identity();
    }
    port.close();
    return result;
}

QStringList PortProbe::candidates(const QStringList &extra)
{
    QStringList listed;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        listed.append(info.systemLocation());
    QStringList paths;
    for (const QString &name : extra)
        paths.append(name.isEmpty() ? name : PortAdvice::systemLocation(name));
    return candidates(listed, paths);
}

QStringList PortProbe::candidates(const QStringList &listed, const QStringList &extra)
{
    QStringList names;
    QStringList paths;
    for (const QString &name : listed + extra) {
        const QString path = PortAdvice::systemLocation(name);
        if (!name.isEmpty() && !paths.contains(path)) {
            paths.append(path);
            names.append(name);
        }
    }
    return names;
}
