#include "support/supportreport.h"

#include "app/version.h"
#include "serial/portchecks.h"
#include "support/logkeeper.h"
#include "support/portdoctor.h"
#include "support/redaction.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSerialPortInfo>
#include <QSysInfo>

namespace {
QJsonArray toArray(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}
} // namespace

QJsonObject PortListing::toJson() const
{
    QJsonObject object{{QStringLiteral("name"), name},
                       {QStringLiteral("systemLocation"), systemLocation},
                       {QStringLiteral("description"), description},
                       {QStringLiteral("manufacturer"), manufacturer},
                       {QStringLiteral("serialNumber"), serialNumber},
                       {QStringLiteral("byId"), toArray(byId)},
                       {QStringLiteral("byPath"), toArray(byPath)}};
    const auto hex = [](int id) {
        return id < 0 ? QJsonValue()
                      : QJsonValue(QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')));
    };
    object.insert(QStringLiteral("vendorId"), hex(vendorId));
    object.insert(QStringLiteral("productId"), hex(productId));
    return object;
}

QList<PortListing> PortListing::listed(const QString &linkRoot)
{
    QList<PortListing> list;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        PortListing port;
        port.name = info.portName();
        port.systemLocation = info.systemLocation();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        for (const QString &link : PortChecks::stableNames(port.systemLocation, linkRoot))
            (link.contains(QLatin1String("/by-id/")) ? port.byId : port.byPath).append(link);
        list.append(port);
    }
    return list;
}

QJsonObject SupportReport::toJson() const
{
    QJsonArray portList;
    for (const PortListing &listing : ports)
        portList.append(listing.toJson());
    QJsonObject portObject = line.toJson();
    portObject.insert(QStringLiteral("name"), port);
    portObject.insert(QStringLiteral("open"), portOpen);
    // A report is sent to someone else: whatever it copies (settings, command line, log) goes
    // out without a password.
    return Redaction::json(QJsonObject{
        {QStringLiteral("tool"),
         QJsonObject{{QStringLiteral("name"), tool},
                     {QStringLiteral("version"), kSoftwareVersion},
                     {QStringLiteral("qtCompiled"), QStringLiteral(QT_VERSION_STR)},
                     {QStringLiteral("qtRuntime"), QString::fromLatin1(qVersion())}}},
        {QStringLiteral("os"),
         QJsonObject{{QStringLiteral("name"), QSysInfo::prettyProductName()},
                     {QStringLiteral("kernel"),
                      QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()},
                     {QStringLiteral("cpu"), QSysInfo::currentCpuArchitecture()}}},
        {QStringLiteral("created"),
         QDateTime::currentDateTime()
             .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
             .toString(Qt::ISODate)},
        {QStringLiteral("settings"), settings},
        {QStringLiteral("port"), portObject},
        {QStringLiteral("ports"), portList},
        {QStringLiteral("doctor"), doctor},
        {QStringLiteral("identification"),
         identity ? QJsonValue(identity->toJson()) : QJsonValue()},
        {QStringLiteral("trace"), trace},
        {QStringLiteral("log"), toArray(log)}});
}

QByteArray SupportReport::toBytes() const
{
    // Texts from the module and the system are QStrings by now: whatever bytes they came from,
    // the document's encoder writes valid UTF-8 with every quote and control character escaped.
    return QJsonDocument(toJson()).toJson(QJsonDocument::Indented);
}

bool SupportReport::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toBytes()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

SupportReport SupportReport::collect(const QString &tool, const QStringList &checkedPorts)
{
    const PortChecks::SystemFacts facts = PortChecks::SystemFacts::live();
    SupportReport report;
    report.tool = tool;
    report.ports = PortListing::listed(facts.serialLinkRoot);
    report.doctor = PortDoctor::systemReport(checkedPorts, facts);
    report.log = LogKeeper::lines();
    return report;
}

QString SupportReport::fileName(const QDateTime &when)
{
    return QStringLiteral("lx815-report-%1.json")
        .arg(when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}
