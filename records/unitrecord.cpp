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
