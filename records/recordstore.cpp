#include "records/recordstore.h"

#include "records/socketdeadline.h"
#include "support/redaction.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <cmath>

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
                        "backup_file, recipe, recipe_revision, recipe_sha256, lane, failed_step";

constexpr int kColumnCount = 26;

const char kMeasurementColumns[] = "entry_id, position, name, value, min_value, max_value, "
                                   "marginal, outcome, before_value, reading, target, "
                                   "tolerance, readings, unit, note";

constexpr int kMeasurementColumnCount = 15;
// Rows per insert statement: one round trip for an entry's measurements, within the
// servers' limits on parameters.
constexpr int kMeasurementsPerStatement = 500;

// The columns of unit_records that versions after the first added, with the defaults that let
// an entry of an older version read as one that has none of them.
struct LaterColumn
{
    const char *name;
    const char *definition;
};
constexpr LaterColumn kLaterColumns[] = {
    {"backup_file", "TEXT NOT NULL DEFAULT ''"},     {"recipe", "TEXT NOT NULL DEFAULT ''"},
    {"recipe_revision", "TEXT NOT NULL DEFAULT ''"}, {"recipe_sha256", "TEXT NOT NULL DEFAULT ''"},
    {"lane", "INTEGER NOT NULL DEFAULT 0"},          {"failed_step", "TEXT NOT NULL DEFAULT ''"},
};

// A number the database stores; one that is not finite (a reading that failed) is none.
QVariant number(double value)
{
    return std::isfinite(value) ? QVariant(value) : QVariant(QVariant::Double);
}

QVariant number(const std::optional<double> &value)
{
    return value ? number(*value) : QVariant(QVariant::Double);
}

std::optional<double> optionalNumber(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

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
    // Before close() and fail(): the watchdog lets the socket go (once closed, its number may
    // be another file's, which it must not shut down) and says whether the server ran out of
    // time.
    void check() { m_store.m_timedOut = m_deadline.disarm(); }

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
    const QString versionSql = QStringLiteral("SELECT MAX(version) FROM lx815_schema");
    QSqlQuery query(db);
    // The schema's version row is written with the tables: when it is there, so are they.
    if (query.exec(versionSql) && query.next() && query.value(0).toInt() == kSchemaVersion)
        return true;
    query.finish();
    // The server's notes on tables that are there already are no news.
    if (!sqlite)
        query.exec(QStringLiteral("SET client_min_messages = warning"));
    // Two stations making or upgrading the schema at once: the one holding the version table's
    // lock (in SQLite, the file's) does it, the other waits and finds it done. When both make
    // the first table at once, the loser's statement fails and its second try finds it there.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool ok =
            (sqlite ? query.exec(QStringLiteral("BEGIN IMMEDIATE")) : db.transaction()) &&
            query.exec(
                QStringLiteral("CREATE TABLE IF NOT EXISTS lx815_schema (version INTEGER NOT "
                               "NULL)")) &&
            (sqlite ||
             query.exec(QStringLiteral("LOCK TABLE lx815_schema IN SHARE ROW EXCLUSIVE MODE"))) &&
            query.exec(versionSql) && query.next();
        const int version = ok ? query.value(0).toInt() : 0; // no row yet: no tables
        query.finish();
        if (ok && version > kSchemaVersion) {
            rollback(db);
            deadline.check();
            return fail(QStringLiteral("%1 holds a history of a newer version (%2) of the tool")
                            .arg(m_target.displayName())
                            .arg(version),
                        {});
        }
        if (ok && version < kSchemaVersion)
            ok = upgradeSchema(query, version);
        if (ok && db.commit())
            return true;
        const QString error =
            query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
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

// Within makeSchema's transaction: from `version` (0: none) to this one. Every entry there is
// kept; the columns added have defaults, so the old entries read as having no recipe, lane or
// measurements.
bool RecordStore::upgradeSchema(QSqlQuery &query, int version)
{
    const bool sqlite = m_target.kind == RecordsTarget::Kind::Sqlite;
    const QString id = sqlite ? QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT")
                              : QStringLiteral("id BIGSERIAL PRIMARY KEY");
    const QString real = sqlite ? QStringLiteral("REAL") : QStringLiteral("DOUBLE PRECISION");
    QStringList statements{
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS unit_records (%1, entry_id VARCHAR(40) NOT NULL UNIQUE, "
            "started_ms BIGINT NOT NULL, finished_ms BIGINT NOT NULL, station TEXT NOT NULL, "
            "operator_name TEXT NOT NULL, port TEXT NOT NULL, tool_version TEXT NOT NULL, "
            "model TEXT NOT NULL, band INTEGER NOT NULL, firmware TEXT NOT NULL, "
            "serial_number TEXT NOT NULL, operation TEXT NOT NULL, file TEXT NOT NULL, "
            "file_sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL, "
            "requests BIGINT NOT NULL, retries BIGINT NOT NULL, differences TEXT NOT NULL, "
            "snapshot TEXT NOT NULL, backup_file TEXT NOT NULL DEFAULT '', "
            "recipe TEXT NOT NULL DEFAULT '', recipe_revision TEXT NOT NULL DEFAULT '', "
            "recipe_sha256 TEXT NOT NULL DEFAULT '', lane INTEGER NOT NULL DEFAULT 0, "
            "failed_step TEXT NOT NULL DEFAULT '')")
            .arg(id)};
    // A table of an older version gets the later columns (SQLite knows no IF NOT EXISTS there).
    QStringList present;
    if (sqlite) {
        if (!query.exec(QStringLiteral("PRAGMA table_info(unit_records)")))
            return false;
        while (query.next())
            present.append(query.value(1).toString());
        query.finish();
    }
    for (const LaterColumn &column : kLaterColumns) {
        const QString name = QLatin1String(column.name);
        if (!sqlite || (!present.isEmpty() && !present.contains(name)))
            statements.append(QStringLiteral("ALTER TABLE unit_records ADD COLUMN %1%2 %3")
                                  .arg(sqlite ? QString() : QStringLiteral("IF NOT EXISTS "), name,
                                       QLatin1String(column.definition)));
    }
    statements.append(
        {QStringLiteral(
             "CREATE TABLE IF NOT EXISTS unit_measurements (entry_id VARCHAR(40) NOT NULL, "
             "position INTEGER NOT NULL, name TEXT NOT NULL, value %1, min_value %1, "
             "max_value %1, marginal %1, before_value %1, reading %1, target %1, tolerance %1, "
             "readings INTEGER, outcome TEXT NOT NULL DEFAULT '', unit TEXT NOT NULL DEFAULT '', "
             "note TEXT NOT NULL DEFAULT '', UNIQUE (entry_id, position))")
             .arg(real),
         // The statistics' filters and joins. The unique index above leads with entry_id: it
         // finds an entry's measurements.
         QStringLiteral("CREATE INDEX IF NOT EXISTS unit_records_by_unit ON unit_records "
                        "(serial_number, started_ms)"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS unit_records_by_finished ON unit_records "
                        "(finished_ms)"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS unit_records_by_recipe ON unit_records "
                        "(recipe_sha256, finished_ms)"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS unit_records_by_station ON unit_records "
                        "(station, finished_ms)"),
         QStringLiteral("CREATE INDEX IF NOT EXISTS unit_measurements_by_name ON "
                        "unit_measurements (name, entry_id)"),
         version == 0
             ? QStringLiteral("INSERT INTO lx815_schema (version) VALUES (%1)").arg(kSchemaVersion)
             : QStringLiteral("UPDATE lx815_schema SET version = %1").arg(kSchemaVersion)});
    for (const QString &statement : statements)
        if (!query.exec(statement))
            return false;
    return true;
}

bool RecordStore::insert(const QVector<UnitRecord> &records)
{
    if (!m_open && !open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    QSqlQuery query(db);
    QSqlQuery measurements(db);
    const auto placeholders = [](int count) {
        return QStringLiteral("(") +
               QVector<QString>(count, QStringLiteral("?")).toList().join(QLatin1Char(',')) +
               QStringLiteral(")");
    };
    const QString sql =
        QStringLiteral("INSERT INTO unit_records (%1) VALUES %2 ON CONFLICT (entry_id) DO NOTHING")
            .arg(QLatin1String(kColumns), placeholders(kColumnCount));
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
                                  r.backupFile,
                                  r.recipe,
                                  r.revision,
                                  r.recipeSha256,
                                  r.lane,
                                  r.failedStep};
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, notNull(values.at(i)));
        ok = query.exec();
        // An entry already there keeps its measurements: theirs are skipped the same way.
        for (int first = 0; ok && first < r.measurements.size();
             first += kMeasurementsPerStatement) {
            const int count =
                std::min<int>(kMeasurementsPerStatement, r.measurements.size() - first);
            ok = measurements.prepare(
                QStringLiteral("INSERT INTO unit_measurements (%1) VALUES %2 ON CONFLICT "
                               "(entry_id, position) DO NOTHING")
                    .arg(QLatin1String(kMeasurementColumns),
                         QVector<QString>(count, placeholders(kMeasurementColumnCount))
                             .toList()
                             .join(QLatin1Char(','))));
            int i = 0;
            for (int position = first; ok && position < first + count; ++position) {
                const UnitRecord::Measurement &m = r.measurements.at(position);
                const QVariantList row{r.entryId,
                                       position,
                                       m.name,
                                       number(m.value),
                                       number(m.min),
                                       number(m.max),
                                       number(m.marginal),
                                       m.outcome,
                                       number(m.before),
                                       number(m.reading),
                                       number(m.target),
                                       number(m.tolerance),
                                       m.readings ? QVariant(*m.readings) : QVariant(QVariant::Int),
                                       m.unit,
                                       m.note};
                for (const QVariant &value : row)
                    measurements.bindValue(i++, notNull(value));
            }
            ok = ok && measurements.exec();
        }
    }
    if (ok && db.commit())
        return true;
    const QString error = query.lastError().isValid()          ? query.lastError().text()
                          : measurements.lastError().isValid() ? measurements.lastError().text()
                                                               : db.lastError().text();
    rollback(db);
    deadline.check();
    // A dropped server leaves the connection looking open: the next try connects afresh.
    close();
    return fail(QStringLiteral("cannot write to %1").arg(m_target.displayName()), error);
}

std::optional<QVector<UnitRecord>> RecordStore::list(const QString &serialNumber,
                                                     const QDateTime &since, int limit)
{
    Filter filter;
    filter.serialNumber = serialNumber;
    filter.since = since;
    filter.limit = limit;
    return list(filter);
}

namespace {
// The entries a filter selects: "FROM ... WHERE ...", then newest first when ordered or
// limited ("ORDER BY ... LIMIT").
QString selection(const RecordStore::Filter &filter, bool ordered = true)
{
    QStringList conditions;
    if (!filter.serialNumber.isEmpty())
        conditions.append(QStringLiteral("serial_number = :serial"));
    if (filter.since.isValid())
        conditions.append(QStringLiteral("started_ms >= :since"));
    if (!filter.recipeSha256.isEmpty())
        conditions.append(QStringLiteral("recipe_sha256 = :recipe"));
    QString sql = QStringLiteral(" FROM unit_records");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    if (ordered || filter.limit >= 0)
        sql += QStringLiteral(" ORDER BY started_ms DESC, id DESC");
    if (filter.limit >= 0)
        sql += QStringLiteral(" LIMIT %1").arg(filter.limit);
    return sql;
}

void bindSelection(QSqlQuery &query, const RecordStore::Filter &filter)
{
    if (!filter.serialNumber.isEmpty())
        query.bindValue(QStringLiteral(":serial"), filter.serialNumber);
    if (filter.since.isValid())
        query.bindValue(QStringLiteral(":since"), filter.since.toMSecsSinceEpoch());
    if (!filter.recipeSha256.isEmpty())
        query.bindValue(QStringLiteral(":recipe"), filter.recipeSha256);
}
} // namespace

std::optional<QVector<UnitRecord>> RecordStore::list(const Filter &filter)
{
    if (!m_open && !open())
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The entries and their measurements from one snapshot of the history.
    bool ok =
        db.transaction() &&
        (m_target.kind == RecordsTarget::Kind::Sqlite ||
         query.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"))) &&
        query.prepare(QStringLiteral("SELECT %1").arg(QLatin1String(kColumns)) + selection(filter));
    if (ok) {
        bindSelection(query, filter);
        ok = query.exec();
    }
    QVector<UnitRecord> records;
    while (ok && query.next()) {
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
        r.recipe = text();
        r.revision = text();
        r.recipeSha256 = text();
        r.lane = static_cast<int>(number());
        r.failedStep = text();
        records.append(r);
    }
    ok = ok && query.lastError().type() == QSqlError::NoError;
    query.finish();
    if (ok && !records.isEmpty())
        ok = readMeasurements(query, selection(filter, false), filter, records);
    if (ok && db.commit())
        return records;
    const QString error =
        query.lastError().isValid() ? query.lastError().text() : db.lastError().text();
    rollback(db);
    deadline.check();
    close();
    fail(QStringLiteral("cannot read %1").arg(m_target.displayName()), error);
    return std::nullopt;
}

// The measurements of the listed entries in one query, not one per entry.
bool RecordStore::readMeasurements(QSqlQuery &query, const QString &entries, const Filter &filter,
                                   QVector<UnitRecord> &records)
{
    QHash<QString, int> index;
    for (int i = 0; i < records.size(); ++i)
        index.insert(records.at(i).entryId, i);
    if (!query.prepare(QStringLiteral("SELECT %1 FROM unit_measurements WHERE entry_id IN "
                                      "(SELECT entry_id%2) ORDER BY entry_id, position")
                           .arg(QLatin1String(kMeasurementColumns), entries)))
        return false;
    bindSelection(query, filter);
    if (!query.exec())
        return false;
    while (query.next()) {
        const auto found = index.constFind(query.value(0).toString());
        if (found == index.constEnd())
            continue;
        UnitRecord::Measurement m;
        m.name = query.value(2).toString();
        m.value = query.value(3).isNull() ? qQNaN() : query.value(3).toDouble();
        m.min = optionalNumber(query.value(4));
        m.max = optionalNumber(query.value(5));
        m.marginal = optionalNumber(query.value(6));
        m.outcome = query.value(7).toString();
        m.before = optionalNumber(query.value(8));
        m.reading = optionalNumber(query.value(9));
        m.target = optionalNumber(query.value(10));
        m.tolerance = optionalNumber(query.value(11));
        if (!query.value(12).isNull())
            m.readings = query.value(12).toInt();
        m.unit = query.value(13).toString();
        m.note = query.value(14).toString();
        records[*found].measurements.append(m);
    }
    const bool ok = query.lastError().type() == QSqlError::NoError;
    query.finish();
    return ok;
}

std::optional<QStringList> RecordStore::recipesStartingWith(const QString &prefix, int most)
{
    if (!m_open && !open())
        return std::nullopt;
    Deadline deadline(*this);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // A range the recipe index answers; the LIKE keeps it exact under any collation (hex
    // digits hold no wildcards).
    bool ok = query.prepare(QStringLiteral("SELECT DISTINCT recipe_sha256 FROM unit_records "
                                           "WHERE recipe_sha256 >= :low AND recipe_sha256 < "
                                           ":high AND recipe_sha256 LIKE :like ORDER BY "
                                           "recipe_sha256 LIMIT %1")
                                .arg(most));
    query.bindValue(QStringLiteral(":low"), prefix);
    query.bindValue(QStringLiteral(":high"), prefix + QLatin1Char('g'));
    query.bindValue(QStringLiteral(":like"), prefix + QLatin1Char('%'));
    QStringList found;
    if (ok && query.exec()) {
        while (query.next())
            found.append(query.value(0).toString());
        if (query.lastError().type() == QSqlError::NoError)
            return found;
    }
    const QString error = query.lastError().text();
    deadline.check();
    close();
    fail(QStringLiteral("cannot read %1").arg(m_target.displayName()), error);
    return std::nullopt;
}

bool RecordStore::remove(const QVector<UnitRecord> &records)
{
    if (!m_open && !open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    Deadline deadline(*this);
    QSqlQuery query(db);
    QSqlQuery measurements(db);
    bool ok =
        db.transaction() &&
        query.prepare(QStringLiteral("DELETE FROM unit_records WHERE entry_id = ?")) &&
        measurements.prepare(QStringLiteral("DELETE FROM unit_measurements WHERE entry_id = ?"));
    for (const UnitRecord &r : records) {
        if (!ok)
            break;
        query.bindValue(0, r.entryId);
        measurements.bindValue(0, r.entryId);
        ok = measurements.exec() && query.exec();
    }
    if (ok && db.commit())
        return true;
    const QString error =
        query.lastError().isValid() ? query.lastError().text() : measurements.lastError().text();
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
