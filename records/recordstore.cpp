#include "records/recordstore.h"

#include "records/socketdeadline.h"
#include "support/redaction.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

#include <libpq-fe.h>

namespace {
// An unreachable or frozen server must not hold up the line: the connection has libpq's own
// timeout (its least), every statement a watchdog's deadline, and the kernel gives up on data
// or keepalives a vanished peer never acknowledges.
constexpr int kConnectTimeoutS = 2;
constexpr int kStatementDeadlineMs = 2500; // per operation: a schema check, an insert, a list
constexpr int kTcpUserTimeoutMs = 5000;
constexpr int kKeepaliveIdleS = 5;
constexpr int kKeepaliveIntervalS = 2;
constexpr int kKeepaliveCount = 2;
constexpr int kSqliteBusyMs = 5000; // another thread or station holding the file's lock

std::atomic<int> connectionCount{0};

const char kColumns[] = "entry_id, started_ms, finished_ms, station, operator_name, port, "
                        "tool_version, model, band, firmware, serial_number, operation, file, "
                        "file_sha256, outcome, message, requests, retries, differences, snapshot, "
                        "backup_file";

constexpr int kColumnCount = 21;

// The columns are NOT NULL: a text never set is stored empty.
QVariant notNull(const QVariant &value)
{
    return value.type() == QVariant::String && value.isNull() ? QVariant(QStringLiteral(""))
                                                              : value;
}

// A connection the driver found broken is closed already: nothing to roll back.
void rollback(QSqlDatabase &db)
{
    if (db.isOpen())
        db.rollback();
}

QString jsonText(const QJsonDocument &document)
{
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}
} // namespace

RecordStore::RecordStore(RecordsTarget target)
    : m_target(std::move(target))
    , m_connection(QStringLiteral("lx815-records-%1").arg(++connectionCount))
{}

RecordStore::~RecordStore()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool RecordStore::isOpen() const
{
    return m_open;
}

void RecordStore::close()
{
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::database(m_connection, false).close();
    m_open = false;
}

bool RecordStore::fail(const QString &what, const QString &driverText)
{
    const QString reason = m_timedOut
                               ? QStringLiteral("no answer within %1 ms").arg(kStatementDeadlineMs)
                               : driverText.simplified();
    m_lastError = Redaction::text(reason.isEmpty() ? what : what + QStringLiteral(": ") + reason);
    return false;
}

int RecordStore::socket() const
{
    if (!m_open || m_target.kind != RecordsTarget::Kind::Postgres)
        return -1;
    const QVariant handle = QSqlDatabase::database(m_connection, false).driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return -1;
    return PQsocket(*static_cast<PGconn *const *>(handle.data()));
}

// Arms the watchdog for one operation on the open connection; what it says is kept for fail().
class RecordStore::Deadline
{
public:
    explicit Deadline(RecordStore &store)
        : m_store(store)
        , m_deadline(store.socket(), kStatementDeadlineMs)
    {
        m_store.m_timedOut = false;
    }
    ~Deadline() { m_store.m_timedOut = false; }
    // Before fail(): whether the server ran out of time.
    void check() { m_store.m_timedOut = m_deadline.expired(); }

private:
    RecordStore &m_store;
    SocketDeadline m_deadline;
};

bool RecordStore::open()
{
    close();
    const bool sqlite = m_target.kind == RecordsTarget::Kind::Sqlite;
    const QString driver = sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QStringLiteral("the Qt SQL driver %1 is not installed").arg(driver), {});
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(driver, m_connection);
    if (sqlite) {
        const QFileInfo info(m_target.path);
        if (!QDir().mkpath(info.absolutePath()))
            return fail(QStringLiteral("cannot make the folder %1").arg(info.absolutePath()), {});
        db.setDatabaseName(m_target.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kSqliteBusyMs));
    } else {
        db.setHostName(m_target.host);
        db.setPort(m_target.port);
        db.setUserName(m_target.user);
        db.setPassword(m_target.password);
        db.setDatabaseName(m_target.database);
        db.setConnectOptions(
            QStringLiteral("connect_timeout=%1;tcp_user_timeout=%2;keepalives=1;"
                           "keepalives_idle=%3;keepalives_interval=%4;keepalives_count=%5")
                .arg(kConnectTimeoutS)
                .arg(kTcpUserTimeoutMs)
                .arg(kKeepaliveIdleS)
                .arg(kKeepaliveIntervalS)
                .arg(kKeepaliveCount));
    }
    if (!db.open())
        return fail(QStringLiteral("cannot open %1").arg(m_target.displayName()),
                    db.lastError().text());
    m_open = true;
    if (!makeSchema()) {
        close();
        return false;
    }
    return true;
}

bool RecordStore::makeSchema()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    const bool sqlite = m_target.kind == RecordsTarget::Kind::Sqlite;
    const QString id = sqlite ? QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT")
                              : QStringLiteral("id BIGSERIAL PRIMARY KEY");
    const QStringList statements{
        QStringLiteral("CREATE TABLE IF NOT EXISTS lx815_schema (version INTEGER NOT NULL)"),
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS unit_records (%1, entry_id VARCHAR(40) NOT NULL UNIQUE, "
            "started_ms BIGINT NOT NULL, finished_ms BIGINT NOT NULL, station TEXT NOT NULL, "
            "operator_name TEXT NOT NULL, port TEXT NOT NULL, tool_version TEXT NOT NULL, "
            "model TEXT NOT NULL, band INTEGER NOT NULL, firmware TEXT NOT NULL, "
            "serial_number TEXT NOT NULL, operation TEXT NOT NULL, file TEXT NOT NULL, "
            "file_sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL, "
            "requests BIGINT NOT NULL, retries BIGINT NOT NULL, differences TEXT NOT NULL, "
            "snapshot TEXT NOT NULL, backup_file TEXT NOT NULL DEFAULT '')")
            .arg(id),
        QStringLiteral("CREATE INDEX IF NOT EXISTS unit_records_by_unit ON unit_records "
                       "(serial_number, started_ms)"),
    };
    QSqlQuery query(db);
    // The schema's version row is written with the tables: when it is there, so are they.
    if (query.exec(QStringLiteral("SELECT MAX(version) FROM lx815_schema")) && query.next() &&
        query.value(0).toInt() == kSchemaVersion)
        return addLaterColumns();
    // The server's notes on tables that are there already are no news.
    if (!sqlite)
        query.exec(QStringLiteral("SET client_min_messages = warning"));
    // Two stations making the schema at once: the loser's statements fail, the second try
    // finds the tables there.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool ok = db.transaction();
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        if (ok && query.exec(QStringLiteral("SELECT MAX(version) FROM lx815_schema")) &&
            query.next()) {
            const QVariant version = query.value(0);
            if (version.isNull())
                ok = query.exec(QStringLiteral("INSERT INTO lx815_schema (version) VALUES (%1)")
                                    .arg(kSchemaVersion));
            else if (version.toInt() > kSchemaVersion) {
                db.rollback();
                deadline.check();
                return fail(QStringLiteral("%1 holds a history of a newer version (%2) of the "
                                           "tool")
                                .arg(m_target.displayName())
                                .arg(version.toInt()),
                            {});
            }
        } else {
            ok = false;
        }
        if (ok && db.commit())
            return true;
        const QString error = query.lastError().text();
        rollback(db);
        deadline.check();
        if (m_timedOut)
            attempt = 1; // the connection is gone: no second try on it
        if (attempt == 1)
            return fail(QStringLiteral("cannot make the history's tables in %1")
                            .arg(m_target.displayName()),
                        error);
    }
    return false;
}

bool RecordStore::addLaterColumns()
{
    // A column with a default: tools that do not know it go on inserting without it.
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    const QString probe = QStringLiteral("SELECT backup_file FROM unit_records WHERE 1 = 0");
    QSqlQuery query(db);
    if (query.exec(probe))
        return true;
    if (query.exec(QStringLiteral(
            "ALTER TABLE unit_records ADD COLUMN backup_file TEXT NOT NULL DEFAULT ''")))
        return true;
    const QString error = query.lastError().text();
    // Another station may have added it in the meantime.
    return query.exec(probe) || fail(QStringLiteral("cannot add a column to the history in %1")
                                         .arg(m_target.displayName()),
                                     error);
}

bool RecordStore::insert(const QVector<UnitRecord> &records)
{
    if (!m_open && !open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    QSqlQuery query(db);
    const QString sql =
        QStringLiteral("INSERT INTO unit_records (%1) VALUES (%2) ON CONFLICT (entry_id) DO "
                       "NOTHING")
            .arg(QLatin1String(kColumns), QVector<QString>(kColumnCount, QStringLiteral("?"))
                                              .toList()
                                              .join(QLatin1Char(',')));
    bool ok = db.transaction() && query.prepare(sql);
    for (const UnitRecord &r : records) {
        if (!ok)
            break;
        const QVariantList values{r.entryId,
                                  r.started.toMSecsSinceEpoch(),
                                  r.finished.toMSecsSinceEpoch(),
                                  r.station,
                                  r.operatorName,
                                  r.port,
                                  r.toolVersion,
                                  r.model,
                                  r.band,
                                  r.firmware,
                                  r.serialNumber,
                                  r.operation,
                                  r.file,
                                  r.fileSha256,
                                  r.outcome,
                                  r.message,
                                  r.requests,
                                  r.retries,
                                  jsonText(QJsonDocument(r.differencesJson())),
                                  jsonText(QJsonDocument(r.snapshot)),
                                  r.backupFile};
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, notNull(values.at(i)));
        ok = query.exec();
    }
    if (ok && db.commit())
        return true;
    const QString error =
        query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
    rollback(db);
    deadline.check();
    // A dropped server leaves the connection looking open: the next try connects afresh.
    close();
    return fail(QStringLiteral("cannot write to %1").arg(m_target.displayName()), error);
}

std::optional<QVector<UnitRecord>> RecordStore::list(const QString &serialNumber,
                                                     const QDateTime &since, int limit)
{
    if (!m_open && !open())
        return std::nullopt;
    Deadline deadline(*this);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    QStringList conditions;
    if (!serialNumber.isEmpty())
        conditions.append(QStringLiteral("serial_number = :serial"));
    if (since.isValid())
        conditions.append(QStringLiteral("started_ms >= :since"));
    QString sql = QStringLiteral("SELECT %1 FROM unit_records").arg(QLatin1String(kColumns));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY started_ms DESC, id DESC");
    if (limit >= 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (!serialNumber.isEmpty())
        query.bindValue(QStringLiteral(":serial"), serialNumber);
    if (since.isValid())
        query.bindValue(QStringLiteral(":since"), since.toMSecsSinceEpoch());
    if (!ok || !query.exec()) {
        const QString error = query.lastError().text();
        deadline.check();
        close();
        fail(QStringLiteral("cannot read %1").arg(m_target.displayName()), error);
        return std::nullopt;
    }
    QVector<UnitRecord> records;
    while (query.next()) {
        UnitRecord r;
        int i = 0;
        const auto text = [&] {
            return query.value(i++).toString();
        };
        const auto number = [&] {
            return query.value(i++).toLongLong();
        };
        r.entryId = text();
        r.started = QDateTime::fromMSecsSinceEpoch(number(), Qt::UTC);
        r.finished = QDateTime::fromMSecsSinceEpoch(number(), Qt::UTC);
        r.station = text();
        r.operatorName = text();
        r.port = text();
        r.toolVersion = text();
        r.model = text();
        r.band = static_cast<int>(number());
        r.firmware = text();
        r.serialNumber = text();
        r.operation = text();
        r.file = text();
        r.fileSha256 = text();
        r.outcome = text();
        r.message = text();
        r.requests = number();
        r.retries = number();
        r.differences =
            UnitRecord::differencesFromJson(QJsonDocument::fromJson(text().toUtf8()).array());
        r.snapshot = QJsonDocument::fromJson(text().toUtf8()).object();
        r.backupFile = text();
        records.append(r);
    }
    return records;
}

bool RecordStore::remove(const QVector<UnitRecord> &records)
{
    if (!m_open && !open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    QSqlQuery query(db);
    bool ok = db.transaction() &&
              query.prepare(QStringLiteral("DELETE FROM unit_records WHERE entry_id = ?"));
    for (const UnitRecord &r : records) {
        if (!ok)
            break;
        query.bindValue(0, r.entryId);
        ok = query.exec();
    }
    if (ok && db.commit())
        return true;
    const QString error = query.lastError().text();
    rollback(db);
    deadline.check();
    close();
    return fail(QStringLiteral("cannot write to %1").arg(m_target.displayName()), error);
}

bool RecordStore::select(const QString &sql, const QVariantList &values,
                         const std::function<void(const QSqlQuery &)> &row)
{
    if (!m_open && !open())
        return false;
    Deadline deadline(*this);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (ok && query.exec()) {
        while (query.next())
            row(query);
        if (!query.lastError().isValid())
            return true;
    }
    const QString error = query.lastError().text();
    deadline.check();
    close();
    return fail(QStringLiteral("cannot read %1").arg(m_target.displayName()), error);
}
