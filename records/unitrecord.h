#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

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

    // One number the operation measured or checked. A check's limit: name is the value's file
    // path ("/TCXO_BIAS"), with value, min/max and the marginal band. A calibration target:
    // value is the value after, with the value before, the final reading, its target and
    // tolerance, the readings taken and their unit ("dBm", "Hz").
    struct Measurement
    {
        QString name;
        double value = 0;
        std::optional<double> min, max, marginal;
        QString outcome; // pass, marginal, fail
        std::optional<double> before, reading, target, tolerance;
        std::optional<int> readings;
        QString unit;
        QString note; // why it was held, for one

        bool operator==(const Measurement &other) const;
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
    QString outcome; // pass, marginal (passed, but near a limit or held), fail, error, aborted
    QString message;
    qint64 requests = 0;
    qint64 retries = 0;
    QList<Difference> differences;
    QJsonObject snapshot;
    QString backupFile; // the module's state before a write, saved there (--backup)
    // The recipe a station ran (name, revision, SHA-256 of its file) and its lane (0: none).
    QString recipe;
    QString revision;
    QString recipeSha256;
    int lane = 0;
    QString failedStep; // the kind of the recipe step that failed first ("check"), or empty
    QList<Measurement> measurements;

    // A fresh entry id; the rest is the caller's.
    static UnitRecord create();
    // What a report says, with a fresh entry id; station, operator and tool are the caller's.
    static UnitRecord fromReport(const OperationReport &report);

    // The history's JSON line (keys as `history --json` prints them).
    QJsonObject toJson() const;
    QJsonArray differencesJson() const;
    static QList<Difference> differencesFromJson(const QJsonArray &array);
    // Every member of every measurement; an absent number is null.
    QJsonArray measurementsJson() const;
    static QList<Measurement> measurementsFromJson(const QJsonArray &array);

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
