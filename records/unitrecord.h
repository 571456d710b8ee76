#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

struct OperationReport;

// One entry of a unit's history: what one operation on one module did, where and by whom.
struct UnitRecord
{
    struct Difference
    {
        QString field;
        QString expected;
        QString actual;
    };

    QString entryId;   // unique: a spooled entry sent twice is stored once
    QDateTime started; // UTC, ms
    QDateTime finished;
    QString station;
    QString operatorName;
    QString port;
    QString toolVersion;
    QString model;
    int band = 0;
    QString firmware;
    QString serialNumber;
    QString operation;
    QString file;
    QString fileSha256;
    QString outcome; // pass, fail, error, aborted
    QString message;
    qint64 requests = 0;
    qint64 retries = 0;
    QList<Difference> differences;
    QJsonObject snapshot;
    QString backupFile; // the module's state before a write, saved there (--backup)

    // A fresh entry id; the rest is the caller's.
    static UnitRecord create();
    // What a report says, with a fresh entry id; station, operator and tool are the caller's.
    static UnitRecord fromReport(const OperationReport &report);

    // The history's JSON line (keys as `history --json` prints them).
    QJsonObject toJson() const;
    QJsonArray differencesJson() const;
    static QList<Difference> differencesFromJson(const QJsonArray &array);

    // SHA-256 of a file's bytes in hex, empty when it cannot be read.
    static QString fileSha256Of(const QString &path);
    // The station and operator when none is given: host name and OS user.
    static QString defaultStation();
    static QString defaultOperator();
    // The running tool as entries name it: "lx815-cli 1.4".
    static QString thisTool();
    // ISO 8601 UTC with milliseconds.
    static QString timeText(const QDateTime &time);
};
