#pragma once

#include "records/recordstarget.h"
#include "records/unitrecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class QSqlQuery;

// One connection to a history database, for the thread that made it (Qt SQL connections
// must not cross threads). The schema is made on first use and carries a version. Every call
// has a deadline: a server that stops answering makes it fail, it never blocks for good.
class RecordStore
{
public:
    // 2: the recipe, its lane, the failed step and the measurements of each entry.
    static constexpr int kSchemaVersion = 2;

    // Which entries list() returns, newest first.
    struct Filter
    {
        QString serialNumber; // empty: every unit
        QDateTime since;      // invalid: every date
        QString recipeSha256; // the whole SHA-256 (see recipesStartingWith); empty: any
        int limit = -1;       // negative: all
    };

    explicit RecordStore(RecordsTarget target);
    ~RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    // Connects (again, after a failure) and makes the schema, or brings an older one up to
    // this version; false with lastError(), also for a history of a newer version.
    bool open();
    bool isOpen() const;
    void close();

    // Stores the entries with their measurements in one transaction; one already there (same
    // entry id) is kept as it is.
    bool insert(const QVector<UnitRecord> &records);
    // Newest first, measurements included; an empty serial number is every unit, an invalid
    // time every date.
    std::optional<QVector<UnitRecord>> list(const QString &serialNumber = QString(),
                                            const QDateTime &since = QDateTime(), int limit = -1);
    std::optional<QVector<UnitRecord>> list(const Filter &filter);
    // The recipes' SHA-256s in the history that begin with these hex digits (lower case), at
    // most `most` of them: one is the recipe a prefix names.
    std::optional<QStringList> recipesStartingWith(const QString &prefix, int most = 2);
    bool remove(const QVector<UnitRecord> &records);

    QString lastError() const { return m_lastError; }
    const RecordsTarget &target() const { return m_target; }

private:
    class Deadline;

    bool fail(const QString &what, const QString &driverText);
    int socket() const; // of a PostgreSQL connection, -1 for none
    bool makeSchema();
    bool upgradeSchema(QSqlQuery &query, int version);
    bool readMeasurements(QSqlQuery &query, const QString &entries, const Filter &filter,
                          QVector<UnitRecord> &records);

    RecordsTarget m_target;
    QString m_connection; // the Qt SQL connection name, unique to this store
    QString m_lastError;
    bool m_open = false;
    bool m_timedOut = false; // the last operation's deadline passed
};
