#include "records/unitrecord.h"

#include <QCoreApplication>

#include "session/operationreport.h"
#include "support/redaction.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QSysInfo>
#include <QUuid>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

UnitRecord UnitRecord::create()
{
    UnitRecord record;
    record.entryId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return record;
}

UnitRecord UnitRecord::fromReport(const OperationReport &report)
{
    UnitRecord record = create();
    record.started = report.started;
    record.finished = report.finished;
    record.port = report.port;
    record.model = report.identity.model;
    record.band = report.identity.bandCode;
    record.firmware = report.identity.firmware;
    record.serialNumber = report.identity.serialNumber;
    record.operation = report.operation;
    record.file = Redaction::text(report.file);
    record.fileSha256 = fileSha256Of(report.file);
    record.outcome = OperationReport::outcomeName(report.outcome);
    record.message = Redaction::text(report.message);
    record.requests = report.requests;
    record.retries = report.retries;
    for (const FieldDifference &difference : report.differences)
        record.differences.append({difference.field, difference.expected, difference.actual});
    record.snapshot = report.snapshot;
    record.backupFile = report.backupFile;
    return record;
}

QString UnitRecord::timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QJsonArray UnitRecord::differencesJson() const
{
    QJsonArray array;
    for (const Difference &difference : differences)
        array.append(QJsonObject{{QStringLiteral("field"), difference.field},
                                 {QStringLiteral("expected"), difference.expected},
                                 {QStringLiteral("actual"), difference.actual}});
    return array;
}

QList<UnitRecord::Difference> UnitRecord::differencesFromJson(const QJsonArray &array)
{
    QList<Difference> list;
    for (const QJsonValue &value : array) {
        const QJsonObject object = value.toObject();
        list.append({object.value(QStringLiteral("field")).toString(),
                     object.value(QStringLiteral("expected")).toString(),
                     object.value(QStringLiteral("actual")).toString()});
    }
    return list;
}

bool UnitRecord::Measurement::operator==(const Measurement &o) const
{
    return name == o.name && value == o.value && min == o.min && max == o.max &&
           marginal == o.marginal && outcome == o.outcome && before == o.before &&
           reading == o.reading && target == o.target && tolerance == o.tolerance &&
           readings == o.readings && unit == o.unit && note == o.note;
}

namespace {
template<typename T> QJsonValue orNull(const std::optional<T> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

std::optional<double> optionalNumber(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}
} // namespace

QJsonArray UnitRecord::measurementsJson() const
{
    QJsonArray array;
    for (const Measurement &m : measurements)
        array.append(QJsonObject{{QStringLiteral("name"), m.name},
                                 {QStringLiteral("value"), m.value},
                                 {QStringLiteral("min"), orNull(m.min)},
                                 {QStringLiteral("max"), orNull(m.max)},
                                 {QStringLiteral("marginal"), orNull(m.marginal)},
                                 {QStringLiteral("outcome"), m.outcome},
                                 {QStringLiteral("before"), orNull(m.before)},
                                 {QStringLiteral("reading"), orNull(m.reading)},
                                 {QStringLiteral("target"), orNull(m.target)},
                                 {QStringLiteral("tolerance"), orNull(m.tolerance)},
                                 {QStringLiteral("readings"), orNull(m.readings)},
                                 {QStringLiteral("unit"), m.unit},
                                 {QStringLiteral("note"), m.note}});
    return array;
}

QList<UnitRecord::Measurement> UnitRecord::measurementsFromJson(const QJsonArray &array)
{
    QList<Measurement> list;
    for (const QJsonValue &item : array) {
        const QJsonObject o = item.toObject();
        Measurement m;
        m.name = o.value(QStringLiteral("name")).toString();
        m.value = o.value(QStringLiteral("value")).toDouble();
        m.min = optionalNumber(o.value(QStringLiteral("min")));
        m.max = optionalNumber(o.value(QStringLiteral("max")));
        m.marginal = optionalNumber(o.value(QStringLiteral("marginal")));
        m.outcome = o.value(QStringLiteral("outcome")).toString();
        m.before = optionalNumber(o.value(QStringLiteral("before")));
        m.reading = optionalNumber(o.value(QStringLiteral("reading")));
        m.target = optionalNumber(o.value(QStringLiteral("target")));
        m.tolerance = optionalNumber(o.value(QStringLiteral("tolerance")));
        if (const auto readings = optionalNumber(o.value(QStringLiteral("readings"))))
            m.readings = static_cast<int>(*readings);
        m.unit = o.value(QStringLiteral("unit")).toString();
        m.note = o.value(QStringLiteral("note")).toString();
        list.append(m);
    }
    return list;
}

QJsonObject UnitRecord::toJson() const
{
    return QJsonObject{
        {QStringLiteral("time"), timeText(started)},
        {QStringLiteral("endTime"), timeText(finished)},
        {QStringLiteral("station"), station},
        {QStringLiteral("operator"), operatorName},
        {QStringLiteral("port"), port},
        {QStringLiteral("toolVersion"), toolVersion},
        {QStringLiteral("model"), model},
        {QStringLiteral("band"), band},
        {QStringLiteral("firmware"), firmware},
        {QStringLiteral("serialNumber"), serialNumber},
        {QStringLiteral("operation"), operation},
        {QStringLiteral("file"), file},
        {QStringLiteral("fileSha256"), fileSha256},
        {QStringLiteral("outcome"), outcome},
        {QStringLiteral("message"), message},
        {QStringLiteral("requests"), requests},
        {QStringLiteral("retries"), retries},
        {QStringLiteral("differences"), differencesJson()},
        {QStringLiteral("snapshot"), snapshot},
        {QStringLiteral("backup"), backupFile},
        {QStringLiteral("recipe"), recipe},
        {QStringLiteral("revision"), revision},
        {QStringLiteral("recipeSha256"), recipeSha256},
        {QStringLiteral("lane"), lane},
        {QStringLiteral("failedStep"), failedStep},
        {QStringLiteral("measurements"), measurementsJson()},
    };
}

QString UnitRecord::fileSha256Of(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString UnitRecord::defaultStation()
{
    return QSysInfo::machineHostName();
}

QString UnitRecord::defaultOperator()
{
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
#ifdef Q_OS_UNIX
    // A service or a container's root often has no USER in its environment.
    if (const passwd *entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return QString();
}

QString UnitRecord::thisTool()
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') +
           QCoreApplication::applicationVersion();
}
