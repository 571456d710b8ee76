#pragma once

#include "records/recordstarget.h"
#include "records/unitrecord.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QVector>

#include <functional>

class QSqlQuery;

// One connection to a history database, for the thread that made it (Qt SQL connections
// must not cross threads). The schema is made on first use and carries a version. Every call
// has a deadline: a server that stops answering makes it fail, it never blocks for good.
class RecordStore
{
public:
    static constexpr int kSchemaVersion = 1;

    explicit RecordStore(RecordsTarget target);
    ~RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    // Connects (again, after a failure) and makes the schema; false with lastError().
    bool open();
    bool isOpen() const;
    void close();

    // Stores the entries in one transaction; one already there (same entry id) is kept.
    bool insert(const QVector<UnitRecord> &records);
    // Newest first; an empty serial number is every unit, an invalid time every date.
    std::optional<QVector<UnitRecord>> list(const QString &serialNumber = QString(),
                                            const QDateTime &since = QDateTime(), int limit = -1);
    bool remove(const QVector<UnitRecord> &records);
    // A read for the statistics, with the deadline of every call: row() sees each row of the
    // result in turn, so that a long result is never held whole. Values bind to the ?s in turn.
    bool select(const QString &sql, const QVariantList &values,
                const std::function<void(const QSqlQuery &)> &row);

    QString lastError() const { return m_lastError; }
    const RecordsTarget &target() const { return m_target; }

private:
    class Deadline;

    bool fail(const QString &what, const QString &driverText);
    int socket() const; // of a PostgreSQL connection, -1 for none
    bool makeSchema();
    bool addLaterColumns();

    RecordsTarget m_target;
    QString m_connection; // the Qt SQL connection name, unique to this store
    QString m_lastError;
    bool m_open = false;
    bool m_timedOut = false; // the last operation's deadline passed
};
