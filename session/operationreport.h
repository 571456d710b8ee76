#pragma once

#include "session/modulesession.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

// One field where what was expected (the file, what was written, the window) and what the
// module holds disagree, both in the window's display form.
struct FieldDifference
{
    QString field; // as a technician reads it: "Channel 3 RX frequency", a factory file path
    QString expected;
    QString actual;

    bool operator==(const FieldDifference &other) const
    {
        return field == other.field && expected == other.expected && actual == other.actual;
    }
};

using FieldDifferences = QList<FieldDifference>;

// Everything one operation on one module came to, for its result line and for whoever keeps a
// record of what the unit got.
struct OperationReport
{
    enum class Outcome
    {
        Pass,    // done, and verified where verification ran
        Fail,    // written, but the read-back differs (or a verify found differences)
        Error,   // the module did not answer or refused, a file or port failed
        Aborted, // stopped before anything was sent: a unit mismatch, a failed backup read
    };

    QString port;
    QString operation; // the command-line command: "write-config", "snapshot", ...
    QDateTime started; // UTC
    QDateTime finished;
    Outcome outcome = Outcome::Error;
    int exitCode = 0;
    QString result;          // the one result line for the port
    QString message;         // the failure texts, one per line; on success empty, or a note
                             // (a calibration forced into another unit)
    ModuleIdentity identity; // what the module said it is (empty when it never answered)
    QString file;            // the file read or written, empty for none
    QString backupFile;      // --backup: where the state before the write went
    qint64 requests = 0;     // frames sent
    qint64 retries = 0;      // frames sent again after a missing or bad reply
    FieldDifferences differences;
    QJsonObject snapshot; // the snapshot read or written, in the file's format

    static QString outcomeName(Outcome outcome)
    {
        switch (outcome) {
        case Outcome::Pass:
            return QStringLiteral("pass");
        case Outcome::Fail:
            return QStringLiteral("fail");
        case Outcome::Error:
            return QStringLiteral("error");
        case Outcome::Aborted:
            return QStringLiteral("aborted");
        }
        return QString();
    }
};
