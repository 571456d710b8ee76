// The unit history: lx815-cli records its operations on simulated modules into SQLite and into
// a real PostgreSQL server started by scripts/pg-server, and keeps them when the server stops.
#include "support/simharness.h"

#include "records/operationrecorder.h"
#include "records/recorder.h"
#include "records/recordstarget.h"
#include "records/recordstore.h"
#include "session/operationreport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <QtTest>

#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <array>
#include <thread>

#include <signal.h>

namespace {
constexpr int kRunTimeoutMs = 30000;

QString postgresUrl()
{
    QFile file(qEnvironmentVariable("LX_PG_STATE") + QStringLiteral("/url"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// scripts/pg-server on the suite's server.
bool postgres(const QString &action)
{
    return QProcess::execute(qEnvironmentVariable("LX_SOURCE_DIR") +
                                 QStringLiteral("/scripts/pg-server"),
                             {action, qEnvironmentVariable("LX_PG_STATE")}) == 0;
}

// The server and every process it started: a frozen host, as far as the tool can tell.
QList<int> serverProcesses()
{
    QFile data(qEnvironmentVariable("LX_PG_STATE") + QStringLiteral("/data"));
    if (!data.open(QIODevice::ReadOnly))
        return {};
    QFile pidFile(QString::fromUtf8(data.readAll()).trimmed() +
                  QStringLiteral("/cluster/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return {};
    const int server = QString::fromLatin1(pidFile.readLine()).trimmed().toInt();
    QList<int> pids{server};
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        // "pid (name) state ppid ...": the name may hold spaces, the parent follows its ')'.
        if (stat.open(QIODevice::ReadOnly) && QString::fromUtf8(stat.readAll())
                                                      .section(QLatin1Char(')'), -1)
                                                      .split(' ')
                                                      .value(2)
                                                      .toInt() == server)
            pids.append(entry.toInt());
    }
    return pids;
}

bool signalServer(int signalNumber)
{
    const QList<int> pids = serverProcesses();
    for (int pid : pids)
        ::kill(pid, signalNumber);
    return pids.size() > 1;
}

// A statement on the suite's server as its owner, lx815.
bool onServer(const QString &statement)
{
    const QUrl url(postgresUrl());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("owner"));
    db.setHostName(url.host());
    db.setPort(url.port());
    db.setUserName(url.userName());
    db.setDatabaseName(url.path().mid(1));
    const bool ok = db.open() && QSqlQuery(db).exec(statement);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("owner"));
    return ok;
}

// Every history entry of one station, through lx815-cli history.
QList<QJsonObject> entriesOf(const QString &out, const QString &station)
{
    QList<QJsonObject> entries;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject entry = QJsonDocument::fromJson(line.toUtf8()).object();
        if (entry.value("station") == station)
            entries.append(entry);
    }
    return entries;
}

// Statements on a history outside the tool; the first column of the last one's rows.
std::optional<QStringList> direct(const RecordsTarget &target, const QStringList &statements)
{
    QStringList rows;
    bool ok = false;
    {
        const bool sqlite = target.kind == RecordsTarget::Kind::Sqlite;
        QSqlDatabase db = QSqlDatabase::addDatabase(sqlite ? "QSQLITE" : "QPSQL", "direct");
        db.setDatabaseName(sqlite ? target.path : target.database);
        db.setHostName(target.host);
        db.setPort(target.port);
        db.setUserName(target.user);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        while (ok && query.isSelect() && query.next())
            rows.append(query.value(0).toString());
        db.close();
    }
    QSqlDatabase::removeDatabase("direct");
    return ok ? std::optional<QStringList>(rows) : std::nullopt;
}

QString randomHex(int digits)
{
    QString hex;
    while (hex.size() < digits)
        hex += QUuid::createUuid().toString(QUuid::Id128);
    return hex.left(digits);
}

QString sha256(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}
} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void badDatabaseIsUsageError_data();
    void badDatabaseIsUsageError();
    void historyJson_data();
    void historyJson();
    void serverStoppedMidRunLosesNothing();
    void targetText_data();
    void targetText();
    void frozenServerHoldsNothingUp();
    void outageRememberedFromTheFirstRun_data();
    void outageRememberedFromTheFirstRun();
    void longBacklogDrains();
    void unreadableSpoolSaid();
    void noRecordsRecordsNothing_data();
    void noRecordsRecordsNothing();
    void databaseAndSpoolBothFailing();
    void passwordFromPgpassAndNeverShown();
    void windowAndCliEntriesAgree_data();
    void windowAndCliEntriesAgree();
    void recipeAndMeasurementsRoundTrip_data();
    void recipeAndMeasurementsRoundTrip();
    void olderHistoryMigrated_data();
    void olderHistoryMigrated();
    void historyByRecipe_data();
    void historyByRecipe();

private:
    // lx815-cli with the data folder (default history, spool) of this test.
    QProcess *startCli(const QStringList &arguments);
    int runCli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr);

    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<QProcess> m_process;
};

void TestRecords::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
}

QProcess *TestRecords::startCli(const QStringList &arguments)
{
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data->path());
    m_process->setProcessEnvironment(environment);
    m_process->start(qEnvironmentVariable("LX_BINARY_DIR") + QStringLiteral("/cli/lx815-cli"),
                     arguments);
    return m_process.get();
}

int TestRecords::runCli(const QStringList &arguments, QString *out, QString *err)
{
    QProcess *process = startCli(arguments);
    if (!process->waitForFinished(kRunTimeoutMs))
        return -1;
    if (out)
        *out = QString::fromUtf8(process->readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process->readAllStandardError());
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

void TestRecords::badDatabaseIsUsageError_data()
{
    QTest::addColumn<QString>("database");
    QTest::newRow("no host") << "postgresql://lx815@:5432/line";
    QTest::newRow("no database") << "postgresql://lx815@127.0.0.1:5432/";
    QTest::newRow("port not a number") << "postgresql://lx815@127.0.0.1:port/line";
    QTest::newRow("port out of range") << "postgresql://lx815@127.0.0.1:99999/line";
    QTest::newRow("other scheme") << "mysql://lx815@127.0.0.1:3306/line";
    QTest::newRow("empty") << "";
    QTest::newRow("one slash") << "postgres:/lx815@127.0.0.1:5432/line";
    QTest::newRow("no slashes") << "postgresql:lx815@127.0.0.1/line";
    QTest::newRow("no colon") << "postgresql//127.0.0.1/line";
}

// Exit 2 with the expected form, and no file named like the text in the current folder.
void TestRecords::badDatabaseIsUsageError()
{
    QFETCH(QString, database);
    QString err;
    const QStringList before = QDir::current().entryList(QDir::Files);
    QCOMPARE(runCli({"history", "--records", database}, nullptr, &err), 2);
    QVERIFY2(err.contains("records"), qPrintable(err));
    QVERIFY2(database.isEmpty() || err.contains("postgresql://user@host:port/database"),
             qPrintable(err));
    QCOMPARE(QDir::current().entryList(QDir::Files), before);
}

void TestRecords::targetText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kind"); // sqlite, postgres or none
    QTest::newRow("file") << "records.sqlite"
                          << "sqlite";
    QTest::newRow("colon inside a path") << "/srv/line:2/records.sqlite"
                                         << "sqlite";
    QTest::newRow("Windows drive") << "C:\\Line\\records.sqlite"
                                   << "sqlite";
    QTest::newRow("Windows drive, slashes") << "D:/line/records.sqlite"
                                            << "sqlite";
    QTest::newRow("URL") << "postgresql://lx815@db.line:5432/line"
                         << "postgres";
    QTest::newRow("short scheme, no port") << "postgres://db.line/line"
                                           << "postgres";
    QTest::newRow("scheme-like word") << "pgsql:line"
                                      << "none";
    QTest::newRow("upper case") << "PostgreSQL//db.line/line"
                                << "none";
}

void TestRecords::targetText()
{
    QFETCH(QString, text);
    QFETCH(QString, kind);
    QString error;
    const auto target = RecordsTarget::parse(text, &error);
    QCOMPARE(!target                                       ? QString("none")
             : target->kind == RecordsTarget::Kind::Sqlite ? QString("sqlite")
                                                           : QString("postgres"),
             kind);
}

void TestRecords::historyJson_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("SQLite file") << false;
    QTest::newRow("PostgreSQL") << true;
}

// A read and a write on one unit, listed newest first with every key and the file's hash.
void TestRecords::historyJson()
{
    QFETCH(bool, postgres);
    const QString database = postgres ? postgresUrl() : m_data->filePath("line.sqlite");
    if (database.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    SimProcess module;
    QVERIFY2(module.start(), qPrintable(module.error()));
    const QString file = m_data->filePath("unit.json");
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QStringList common{"--port", module.portPath(), "--records",
                             database, "--station",       station};
    QCOMPARE(runCli(QStringList{"read-config", file, "--operator", "anna"} + common), 0);
    QCOMPARE(runCli(QStringList{"write-config", file} + common), 0);

    QString out;
    QCOMPARE(runCli({"history", "--json", "--serial", "4c5881500001", "--records", database}, &out),
             0);
    QList<QJsonObject> entries;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject entry = QJsonDocument::fromJson(line.toUtf8()).object();
        if (entry.value("station") == station)
            entries.append(entry);
    }
    QCOMPARE(entries.size(), 2);
    const QStringList keys{"time",        "endTime",  "station",      "operator", "port",
                           "toolVersion", "model",    "band",         "firmware", "serialNumber",
                           "operation",   "file",     "fileSha256",   "outcome",  "message",
                           "requests",    "retries",  "differences",  "snapshot", "backup",
                           "recipe",      "revision", "recipeSha256", "lane",     "failedStep",
                           "measurements"};
    QStringList sorted = keys;
    sorted.sort();
    QCOMPARE(entries.at(0).keys(), sorted);
    QCOMPARE(entries.at(0).value("operation").toString(), QString("write-config"));
    QCOMPARE(entries.at(1).value("operation").toString(), QString("read-config"));
    QCOMPARE(entries.at(1).value("operator").toString(), QString("anna"));
    for (const QJsonObject &entry : entries) {
        QCOMPARE(entry.value("outcome").toString(), QString("pass"));
        QCOMPARE(entry.value("serialNumber").toString(), QString("4C5881500001"));
        QCOMPARE(entry.value("fileSha256").toString(), sha256(file));
        QVERIFY(entry.value("requests").toInt() > 0);
        QVERIFY(entry.value("time").toString() <= entry.value("endTime").toString());
        QVERIFY(entry.value("snapshot").toObject().contains("Channel"));
    }
    QVERIFY(entries.at(1).value("endTime").toString() <= entries.at(0).value("time").toString());

    QCOMPARE(runCli({"history", "--json", "--since", "2999-01-01", "--records", database}, &out),
             0);
    QCOMPARE(out, QString());
    // A time of day counts; a date alone is its midnight (UTC).
    const QString writeTime = entries.at(0).value("time").toString();
    QCOMPARE(runCli({"history", "--json", "--since", writeTime, "--records", database}, &out), 0);
    QCOMPARE(entriesOf(out, station).size(), 1);
    const QString day = writeTime.left(10);
    QCOMPARE(
        runCli({"history", "--json", "--since", day + "T23:59:59", "--records", database}, &out),
        0);
    QCOMPARE(entriesOf(out, station).size(), writeTime < day + "T23:59:59" ? 0 : 1);
    QCOMPARE(runCli({"history", "--json", "--since", day, "--records", database}, &out), 0);
    QCOMPARE(entriesOf(out, station).size(), 2);
}

// The server goes away while four modules are being written: every entry waits in the spool
// and reaches the server with the next run, once; the technician hears of it once.
void TestRecords::serverStoppedMidRunLosesNothing()
{
    const QString url = postgresUrl();
    if (url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    constexpr int kModules = 4;
    std::array<SimProcess, kModules> modules;
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QStringList arguments{
        "write-config", m_data->filePath("unit.json"), "--records", url, "--station", station};
    for (int i = 0; i < kModules; ++i) {
        // Slow replies: the run lasts long enough to pull the server out from under it.
        QVERIFY2(modules[i].start(
                     {"--latency", "20", "--log", m_data->filePath(QString("log%1").arg(i))}),
                 qPrintable(modules[i].error()));
        arguments << "--port" << modules[i].portPath();
    }
    QCOMPARE(runCli({"read-config", m_data->filePath("unit.json"), "--port", modules[0].portPath(),
                     "--records", m_data->filePath("other.sqlite")}),
             0);

    QProcess *run = startCli(arguments);
    QFile log(m_data->filePath("log1")); // module 1 heard nothing before
    QTRY_VERIFY_WITH_TIMEOUT(log.size() > 0, 10000);
    QVERIFY(run->state() == QProcess::Running);
    QVERIFY(postgres("stop"));
    QVERIFY(run->waitForFinished(kRunTimeoutMs));
    QCOMPARE(run->exitCode(), 0);
    const QString err = QString::fromUtf8(run->readAllStandardError());
    QCOMPARE(err.count(RecordsTarget::parse(url, nullptr)->spoolPath().section('/', -1)), 1);

    QVERIFY(postgres("start"));
    QString out;
    QCOMPARE(runCli({"history", "--json", "--records", url}, &out), 0);
    QStringList ports;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject entry = QJsonDocument::fromJson(line.toUtf8()).object();
        if (entry.value("station") == station) {
            QCOMPARE(entry.value("outcome").toString(), QString("pass"));
            ports.append(entry.value("port").toString());
        }
    }
    ports.sort();
    QStringList expected;
    for (const SimProcess &module : modules)
        expected.append(module.portPath());
    expected.sort();
    QCOMPARE(ports, expected);
}

// The server freezes (every process stopped, its kernel still acknowledging) while a slow
// module is written: the run ends within 5 s of the module's work, its entry waits in the
// spool and reaches the server with the next reader once it is back. A second run during the
// outage costs no more than one without records.
void TestRecords::frozenServerHoldsNothingUp()
{
    const QString url = postgresUrl();
    if (url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    constexpr int kAfterModuleMs = 5000;
    constexpr int kOutageCostMs = 1000; // a connection attempt alone takes 2 s
    SimProcess module;
    QVERIFY2(module.start({"--latency", "60"}), qPrintable(module.error()));
    const QString file = m_data->filePath("unit.json");
    QCOMPARE(runCli({"read-config", file, "--port", module.portPath(), "--no-records"}), 0);
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const int serverProcessesBefore = serverProcesses().size();
    QProcess *run = startCli({"write-config", file, "--port", module.portPath(), "--records", url,
                              "--station", station});
    // The tool's connection is up (a server process of its own) before the server freezes.
    QTRY_VERIFY_WITH_TIMEOUT(serverProcesses().size() > serverProcessesBefore, 10000);
    const auto thaw = qScopeGuard([] { signalServer(SIGCONT); });
    QVERIFY(signalServer(SIGSTOP));
    QVERIFY(run->state() == QProcess::Running);
    QTRY_VERIFY_WITH_TIMEOUT(run->bytesAvailable() > 0 || run->state() != QProcess::Running, 30000);
    QElapsedTimer afterModule;
    afterModule.start();
    QVERIFY(run->waitForFinished(kRunTimeoutMs));
    const qint64 tail = afterModule.elapsed();
    QVERIFY2(tail <= kAfterModuleMs, qPrintable(QString("%1 ms after the module").arg(tail)));
    QCOMPARE(run->exitCode(), 0);
    QVERIFY(QString::fromUtf8(run->readAllStandardOutput()).contains("Set success!"));
    const QString err = QString::fromUtf8(run->readAllStandardError());
    QVERIFY2(err.contains("no answer within") && err.contains("records-spool-"), qPrintable(err));

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runCli({"info", "--port", module.portPath(), "--no-records"}), 0);
    const qint64 bare = timer.restart();
    QCOMPARE(runCli({"info", "--port", module.portPath(), "--records", url, "--station", station}),
             0);
    const qint64 recorded = timer.elapsed();
    QVERIFY2(recorded - bare < kOutageCostMs,
             qPrintable(QString("%1 ms with records, %2 ms without").arg(recorded).arg(bare)));

    QVERIFY(signalServer(SIGCONT));
    QString out;
    QCOMPARE(runCli({"history", "--json", "--records", url}, &out), 0);
    const QList<QJsonObject> entries = entriesOf(out, station);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(1).value("operation").toString(), QString("write-config"));
}

void TestRecords::outageRememberedFromTheFirstRun_data()
{
    QTest::addColumn<bool>("silent"); // something takes the connection and never answers
    QTest::newRow("takes the connection, never answers") << true;
    QTest::newRow("refuses the connection") << false;
}

// The first run on a machine (no data folder yet) finds the database unreachable while its
// slow module works: the outage is remembered beside the spool, and the next run does not
// wait for the database again.
void TestRecords::outageRememberedFromTheFirstRun()
{
    QFETCH(bool, silent);
    constexpr int kOutageCostMs = 1000; // a connection attempt alone takes 2 s
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost));
    const QString url = QString("postgresql://lx815@127.0.0.1:%1/line").arg(listener.serverPort());
    if (!silent)
        listener.close();
    SimProcess slow;
    SimProcess quick;
    // Its read lasts well beyond the connection attempt: the attempt fails before the entry,
    // and with it the spool's folder, is written.
    QVERIFY2(slow.start({"--latency", "100"}), qPrintable(slow.error()));
    QVERIFY2(quick.start(), qPrintable(quick.error()));
    QVERIFY(QDir(m_data->path()).isEmpty());
    QString err;
    QCOMPARE(runCli({"read-config", m_data->filePath("unit.json"), "--port", slow.portPath(),
                     "--records", url},
                    nullptr, &err),
             0);
    QVERIFY2(err.contains("records-spool-"), qPrintable(err));
    const QString marker = RecordsTarget::parse(url, nullptr)->outagePath().section('/', -1);
    QVERIFY2(
        QDirIterator(m_data->path(), {marker}, QDir::Files, QDirIterator::Subdirectories).hasNext(),
        qPrintable("no " + marker));

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runCli({"info", "--port", quick.portPath(), "--no-records"}), 0);
    const qint64 bare = timer.restart();
    QCOMPARE(runCli({"info", "--port", quick.portPath(), "--records", url}), 0);
    const qint64 recorded = timer.elapsed();
    QVERIFY2(recorded - bare < kOutageCostMs,
             qPrintable(QString("%1 ms with records, %2 ms without").arg(recorded).arg(bare)));
}

// After a long outage the spool holds thousands of entries, more than a server 1 ms away per
// entry takes within one statement deadline: they all reach it and leave the spool.
void TestRecords::longBacklogDrains()
{
    const QString url = postgresUrl();
    if (url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    constexpr int kEntries = 3000;
    const QString name = "lx815_backlog_" + randomHex(12);
    QVERIFY(onServer("CREATE DATABASE " + name));
    const auto dropDatabase =
        qScopeGuard([name] { onServer(QString("DROP DATABASE %1 WITH (FORCE)").arg(name)); });
    RecordsTarget target = *RecordsTarget::parse(url, nullptr);
    target.database = name;
    {
        RecordStore schema(target);
        QVERIFY2(schema.open(), qPrintable(schema.lastError()));
    }
    // 1 ms of the server's clock per entry (pg_sleep's waits are coarser than that): the whole
    // backlog takes 3 s, beyond the deadline of one transaction whatever the machine.
    QVERIFY(direct(target, {"CREATE FUNCTION far() RETURNS trigger AS $$ DECLARE done "
                            "timestamptz := clock_timestamp() + interval '1 ms'; BEGIN WHILE "
                            "clock_timestamp() < done LOOP END LOOP; RETURN NEW; END $$ "
                            "LANGUAGE plpgsql",
                            "CREATE TRIGGER far BEFORE INSERT ON unit_records FOR EACH ROW "
                            "EXECUTE FUNCTION far()"}));

    qputenv("XDG_DATA_HOME", m_data->path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    RecordStore spool(*RecordsTarget::parse(target.spoolPath(), nullptr));
    QVector<UnitRecord> backlog;
    for (int i = 0; i < kEntries; ++i) {
        UnitRecord record = UnitRecord::create();
        record.started = QDateTime::currentDateTimeUtc().addSecs(i - kEntries);
        record.finished = record.started;
        record.serialNumber = QString("4C58815%1").arg(i, 5, 10, QLatin1Char('0'));
        backlog.append(record);
    }
    QVERIFY2(spool.insert(backlog), qPrintable(spool.lastError()));
    {
        Recorder recorder(target); // delivers the spool when it starts, drains when it ends
        recorder.drain();
    }
    QCOMPARE(direct(target, {"SELECT COUNT(*) FROM unit_records"}).value_or(QStringList()),
             QStringList{QString::number(kEntries)});
    const auto left = spool.list();
    QVERIFY2(left, qPrintable(spool.lastError()));
    QCOMPARE(left->size(), 0);
}

// A spool that cannot be read (here not an SQLite file at all) is said, not taken for an
// empty one; the entry still reaches the database.
void TestRecords::unreadableSpoolSaid()
{
    const QString url = postgresUrl();
    if (url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    qputenv("XDG_DATA_HOME", m_data->path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
    const RecordsTarget target = *RecordsTarget::parse(url, nullptr);
    QVERIFY(QDir().mkpath(QFileInfo(target.spoolPath()).absolutePath()));
    QFile spool(target.spoolPath());
    QVERIFY(spool.open(QIODevice::WriteOnly));
    spool.write(QByteArray(4096, 'x'));
    spool.close();
    UnitRecord record = UnitRecord::create();
    record.started = record.finished = QDateTime::currentDateTimeUtc();
    record.serialNumber = "T" + randomHex(11).toUpper();
    QStringList said;
    {
        Recorder recorder(target);
        connect(&recorder, &Recorder::problem, [&said](const QString &text) { said << text; });
        QVERIFY(recorder.record(record));
        recorder.drain();
    }
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.at(0).contains(target.spoolPath()), qPrintable(said.at(0)));
    RecordStore store(target);
    const auto stored = store.list(record.serialNumber);
    QVERIFY2(stored, qPrintable(store.lastError()));
    QCOMPARE(stored->size(), 1);
}

void TestRecords::noRecordsRecordsNothing_data()
{
    QTest::addColumn<QString>("records"); // --records, or the default
    QTest::newRow("default") << QString();
    QTest::newRow("SQLite file") << "line.sqlite";
    QTest::newRow("PostgreSQL") << "postgres";
}

void TestRecords::noRecordsRecordsNothing()
{
    QFETCH(QString, records);
    const QString url = postgresUrl();
    if (records == "postgres" && url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    SimHarness module;
    QVERIFY(module.isReady());
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QStringList arguments{"info",         "--port",    module.portPath(),
                          "--no-records", "--station", station};
    const QString database = records == "postgres" ? url
                             : records.isEmpty()   ? QString()
                                                   : m_data->filePath(records);
    if (!database.isEmpty())
        arguments << "--records" << database;
    QProcess *run = startCli(arguments);
    QTRY_VERIFY(run->state() == QProcess::NotRunning);
    QCOMPARE(run->exitCode(), 0);
    QCOMPARE(QDir(m_data->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    if (records == "postgres") {
        QString out;
        QCOMPARE(runCli({"history", "--json", "--records", url}, &out), 0);
        QCOMPARE(entriesOf(out, station).size(), 0);
    }
}

// Neither the server (nobody listens) nor the spool (its folder is a file) takes the entry:
// one line says so.
void TestRecords::databaseAndSpoolBothFailing()
{
    SimHarness module;
    QVERIFY(module.isReady());
    QFile blocker(m_data->filePath("data"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", blocker.fileName());
    m_process->setProcessEnvironment(environment);
    m_process->start(
        qEnvironmentVariable("LX_BINARY_DIR") + "/cli/lx815-cli",
        {"info", "--port", module.portPath(), "--records", "postgresql://lx815@127.0.0.1:1/line"});
    QTRY_VERIFY_WITH_TIMEOUT(m_process->state() == QProcess::NotRunning, kRunTimeoutMs);
    QCOMPARE(m_process->exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(m_process->readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.at(0).contains("lost") && !lines.at(0).contains("wait"),
             qPrintable(lines.at(0)));
}

// A role with a password: from ~/.pgpass when the URL has none; in the URL (escaped) it works
// too, and neither the support report of --trace nor the history shows it.
void TestRecords::passwordFromPgpassAndNeverShown()
{
    const QString url = postgresUrl();
    if (url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    const QString password = QStringLiteral("Zq7@x:/#%ü'\"s3");
    const QString escaped = QString::fromLatin1(QUrl::toPercentEncoding(password));
    // A role of this run's own: the server may have seen the test before.
    const QString role = "line_" + QUuid::createUuid().toString(QUuid::Id128).left(12);
    QVERIFY(onServer(QString("CREATE ROLE %1 LOGIN PASSWORD '%2'")
                         .arg(role, QString(password).replace("'", "''"))));
    QVERIFY(onServer("GRANT ALL ON SCHEMA public TO " + role));
    QVERIFY(onServer("GRANT ALL ON ALL TABLES IN SCHEMA public TO " + role));
    QVERIFY(onServer("GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO " + role));
    const QUrl server(url);
    const QString lineUrl = QString("postgresql://%1@%2:%3/%4")
                                .arg(role, server.host())
                                .arg(server.port())
                                .arg(server.path().mid(1));
    SimProcess module;
    QVERIFY2(module.start(), qPrintable(module.error()));
    const auto runAs = [&](const QString &home, const QStringList &arguments, QString *err) {
        m_process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", m_data->path());
        environment.insert("HOME", home);
        environment.remove("PGPASSFILE");
        environment.remove("PGPASSWORD");
        m_process->setProcessEnvironment(environment);
        m_process->start(qEnvironmentVariable("LX_BINARY_DIR") + "/cli/lx815-cli", arguments);
        m_process->waitForFinished(kRunTimeoutMs);
        *err = QString::fromUtf8(m_process->readAllStandardError());
        return m_process->exitCode();
    };
    QTemporaryDir home;
    QString err;
    QCOMPARE(runAs(home.path(), {"history", "--records", lineUrl}, &err), 1);
    QFile pgpass(home.filePath(".pgpass"));
    QVERIFY(pgpass.open(QIODevice::WriteOnly));
    // libpq's escapes: a backslash before ':' and '\\'.
    QString field = password;
    pgpass.write(QString("%1:%2:*:%3:%4\n")
                     .arg(server.host())
                     .arg(server.port())
                     .arg(role, field.replace("\\", "\\\\").replace(":", "\\:"))
                     .toUtf8());
    pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    pgpass.close();
    QVERIFY2(runAs(home.path(), {"history", "--records", lineUrl}, &err) == 0, qPrintable(err));

    const QString withPassword = QString(lineUrl).replace(role + "@", role + ":" + escaped + "@");
    const QString report = m_data->filePath("report.json");
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QTemporaryDir empty;
    QCOMPARE(runAs(empty.path(),
                   {"info", "--port", module.portPath(), "--records", withPassword, "--station",
                    station, "--trace", report},
                   &err),
             0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(runAs(empty.path(), {"history", "--json", "--records", withPassword}, &err), 0);
    QCOMPARE(entriesOf(QString::fromUtf8(m_process->readAllStandardOutput()), station).size(), 1);
    QFile file(report);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(role + ":***@"));
    QVERIFY(!text.contains("Zq7"));
}

void TestRecords::windowAndCliEntriesAgree_data()
{
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("failures"); // what the operation collected
    QTest::addColumn<QString>("statusText");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("message"); // the entry's

    const QString forced = QStringLiteral("calibration of 0123456789AB into 4C5881500001");
    QTest::newRow("pass") << true << QString() << QStringLiteral("设置成功！") << QString()
                          << QString();
    QTest::newRow("error with its failures")
        << false << QStringLiteral("a\nb") << QStringLiteral("读取失败！") << QString()
        << QStringLiteral("a\nb");
    QTest::newRow("error that collected none") << false << QString() << QStringLiteral("读取失败！")
                                               << QString() << QStringLiteral("读取失败！");
    QTest::newRow("forced calibration") << true << QString() << QString() << forced << forced;
    QTest::newRow("forced calibration, then a failure")
        << false << QStringLiteral("timeout") << QString() << forced
        << forced + QStringLiteral("\ntimeout");
    QTest::newRow("password in a failure")
        << false << QStringLiteral("postgresql://anna:secret@db/line") << QString() << QString()
        << QStringLiteral("postgresql://anna:***@db/line");
}

// One operation, as the window and as lx815-cli hand it over (the CLI's failures carry the note
// and its file is the snapshot; the window keeps the snapshot and no file): one entry.
void TestRecords::windowAndCliEntriesAgree()
{
    QFETCH(bool, passed);
    QFETCH(QString, failures);
    QFETCH(QString, statusText);
    QFETCH(QString, note);
    QFETCH(QString, message);

    const QJsonObject snapshot{{"user", QJsonObject{{"volume", 3}}}};
    OperationReport report;
    report.operation = QStringLiteral("write-calibration");
    report.started = QDateTime::currentDateTimeUtc();
    report.finished = report.started.addMSecs(900);
    report.outcome = passed ? OperationReport::Outcome::Pass : OperationReport::Outcome::Error;
    report.identity.serialNumber = QStringLiteral("4C5881500001");
    report.identity.model = QStringLiteral("LX815");
    report.requests = 12;
    report.backupFile = QStringLiteral("/backups/4C5881500001.json");

    OperationReport window = report;
    window.port = QStringLiteral("ttyUSB0");
    window.message = failures;
    window.snapshot = snapshot;
    const UnitRecord fromWindow =
        OperationRecorder::entry(window, OperationRecorder::Source::thisHost(), {statusText, note});

    OperationReport cli = report;
    cli.port = QStringLiteral("/dev/pts/7");
    cli.message = note.isEmpty() || failures.isEmpty() ? note + failures
                                                       : note + QLatin1Char('\n') + failures;
    if (!passed && cli.message.isEmpty())
        cli.message = statusText; // the CLI's failure line is the window's text
    cli.file = m_data->filePath("calibration.json");
    QFile file(cli.file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(snapshot).toJson());
    file.close();
    OperationRecorder::Extras fileKept;
    fileKept.fileIsSnapshot = true;
    const UnitRecord fromCli =
        OperationRecorder::entry(cli,
                                 {UnitRecord::defaultStation(), UnitRecord::defaultOperator(),
                                  QStringLiteral("lx815-cli 9.9")},
                                 fileKept);

    QCOMPARE(fromWindow.message, message);
    QCOMPARE(fromCli.fileSha256, sha256(cli.file));
    QJsonObject a = fromWindow.toJson();
    QJsonObject b = fromCli.toJson();
    // The window reads into its pages and writes from them: it names no file.
    for (const char *key : {"port", "toolVersion", "file", "fileSha256"}) {
        a.remove(key);
        b.remove(key);
    }
    QCOMPARE(a, b);
}

void TestRecords::recipeAndMeasurementsRoundTrip_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("SQLite file") << "sqlite";
    QTest::newRow("PostgreSQL") << "postgres";
    QTest::newRow("spool, then PostgreSQL") << "spool";
}

// A station's marginal unit with a check limit, a calibration target and a held value: every
// member comes back from the database (an entry delivered twice is there once, measurements
// included), from the spool, and from lx815-cli history, whose text line says "marginal".
void TestRecords::recipeAndMeasurementsRoundTrip()
{
    QFETCH(QString, way);
    const QString url = postgresUrl();
    if (way != "sqlite" && url.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    UnitRecord record = UnitRecord::create();
    record.started = QDateTime::currentDateTimeUtc();
    record.finished = record.started.addMSecs(2345);
    record.station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    record.serialNumber = "T" + randomHex(11).toUpper();
    record.operation = "run";
    record.outcome = "marginal";
    record.recipe = "line A ü";
    record.revision = "7";
    record.recipeSha256 = randomHex(64);
    record.lane = 12;
    record.failedStep = "check";
    UnitRecord::Measurement limit;
    limit.name = "/TCXO_BIAS";
    limit.value = 171;
    limit.min = -200;
    limit.max = 200;
    limit.marginal = 150;
    limit.outcome = "marginal";
    limit.note = "/TCXO_BIAS 171 is 4.6 σ above the last 200 units";
    UnitRecord::Measurement target;
    target.name = "/TxPowerAdj/cell01";
    target.value = 143;
    target.outcome = "pass";
    target.before = 120;
    target.reading = 30.04;
    target.target = 30;
    target.tolerance = 0.3;
    target.readings = 5;
    target.unit = "dBm";
    UnitRecord::Measurement bare;
    bare.name = "/DataModFreqDiv/Mid";
    bare.value = -1e-7;
    bare.outcome = "fail";
    bare.min = 0;
    record.measurements = {limit, target, bare};
    QVERIFY(UnitRecord::measurementsFromJson(record.measurementsJson()) == record.measurements);

    RecordsTarget database =
        *RecordsTarget::parse(way == "sqlite" ? m_data->filePath("line.sqlite") : url, nullptr);
    if (way == "spool") {
        // Nobody listens there: the entry waits in the spool, a file of this test.
        qputenv("XDG_DATA_HOME", m_data->path().toUtf8());
        const auto restore = qScopeGuard([] { qunsetenv("XDG_DATA_HOME"); });
        const RecordsTarget away =
            *RecordsTarget::parse("postgresql://lx815@127.0.0.1:1/line", nullptr);
        Recorder(away).record(record);
        RecordStore spool(*RecordsTarget::parse(away.spoolPath(), nullptr));
        const auto spooled = spool.list();
        QVERIFY2(spooled && spooled->size() == 1, qPrintable(spool.lastError()));
        QCOMPARE(spooled->at(0).toJson(), record.toJson());
        QCOMPARE(spooled->at(0).entryId, record.entryId);
        record = spooled->at(0);
    }
    RecordStore store(database);
    QVERIFY2(store.insert({record}) && store.insert({record}), qPrintable(store.lastError()));
    const auto stored = store.list(record.serialNumber);
    QVERIFY2(stored, qPrintable(store.lastError()));
    QCOMPARE(stored->size(), 1);
    QCOMPARE(stored->at(0).entryId, record.entryId);
    QCOMPARE(stored->at(0).toJson(), record.toJson());

    const QString records = way == "sqlite" ? database.path : url;
    QString out;
    QCOMPARE(
        runCli({"history", "--json", "--serial", record.serialNumber, "--records", records}, &out),
        0);
    QCOMPARE(QJsonDocument::fromJson(out.toUtf8()).object(), record.toJson());
    QCOMPARE(runCli({"history", "--serial", record.serialNumber, "--records", records}, &out), 0);
    QVERIFY2(out.contains(" marginal "), qPrintable(out));
}

void TestRecords::olderHistoryMigrated_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<int>("version"); // of the history found
    QTest::newRow("SQLite, version 1") << false << 1;
    QTest::newRow("PostgreSQL, version 1") << true << 1;
    QTest::newRow("SQLite, a newer version") << false << 3;
}

// A history the first version of the schema made (its statements, as that version ran them)
// is brought up to this one by two tools opening it at once; its entries are all there, with
// no recipe, lane or measurement, and new entries carry theirs. A newer one is refused.
void TestRecords::olderHistoryMigrated()
{
    QFETCH(bool, postgres);
    QFETCH(int, version);
    RecordsTarget target;
    target.path = m_data->filePath("old.sqlite");
    std::optional<QScopeGuard<std::function<void()>>> dropDatabase;
    if (postgres) {
        const QString url = postgresUrl();
        if (url.isEmpty())
            QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
        const QString name = "lx815_old_" + randomHex(12);
        QVERIFY(onServer("CREATE DATABASE " + name));
        target = *RecordsTarget::parse(url, nullptr);
        target.database = name;
        dropDatabase.emplace(
            [name] { onServer(QString("DROP DATABASE %1 WITH (FORCE)").arg(name)); });
    }
    const QString id =
        postgres ? "id BIGSERIAL PRIMARY KEY" : "id INTEGER PRIMARY KEY AUTOINCREMENT";
    const QString columns = "entry_id, started_ms, finished_ms, station, operator_name, port, "
                            "tool_version, model, band, firmware, serial_number, operation, file, "
                            "file_sha256, outcome, message, requests, retries, differences, "
                            "snapshot, backup_file";
    QVERIFY(direct(
        target,
        {"CREATE TABLE IF NOT EXISTS lx815_schema (version INTEGER NOT NULL)",
         QString("CREATE TABLE IF NOT EXISTS unit_records (%1, entry_id VARCHAR(40) NOT NULL "
                 "UNIQUE, started_ms BIGINT NOT NULL, finished_ms BIGINT NOT NULL, station TEXT "
                 "NOT NULL, operator_name TEXT NOT NULL, port TEXT NOT NULL, tool_version TEXT "
                 "NOT NULL, model TEXT NOT NULL, band INTEGER NOT NULL, firmware TEXT NOT NULL, "
                 "serial_number TEXT NOT NULL, operation TEXT NOT NULL, file TEXT NOT NULL, "
                 "file_sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL, "
                 "requests BIGINT NOT NULL, retries BIGINT NOT NULL, differences TEXT NOT NULL, "
                 "snapshot TEXT NOT NULL, backup_file TEXT NOT NULL DEFAULT '')")
             .arg(id),
         "CREATE INDEX IF NOT EXISTS unit_records_by_unit ON unit_records (serial_number, "
         "started_ms)",
         QString("INSERT INTO lx815_schema (version) VALUES (%1)").arg(version),
         QString("INSERT INTO unit_records (%1) VALUES ('old-1', 1700000000000, 1700000001000, "
                 "'bench 2', 'anna', '/dev/ttyUSB0', 'lx815-cli 1.4', 'LX815', 1, 'V1.02', "
                 "'4C5881500007', 'write-config', 'unit.json', '', 'fail', 'TX timeout', 40, 2, "
                 "'[{\"field\":\"TX timeout\",\"expected\":\"77\",\"actual\":\"60\"}]', '{}', "
                 "'/backups/a.json'), ('old-2', 1700000009000, 1700000010000, 'bench 2', "
                 "'anna', '/dev/ttyUSB0', 'lx815-cli 1.4', 'LX815', 1, 'V1.02', '4C5881500007', "
                 "'read-config', 'unit.json', '', 'pass', '', 12, 0, '[]', '{}', '')")
             .arg(columns)}));

    constexpr int kTools = 4;
    std::array<QString, kTools> errors; // empty: opened
    {
        std::array<std::thread, kTools> tools;
        for (int i = 0; i < kTools; ++i)
            tools[i] = std::thread([&, i] {
                RecordStore store(target);
                errors[i] = store.open() ? QString() : store.lastError();
            });
        for (std::thread &tool : tools)
            tool.join();
    }
    const QString said = QStringList(errors.begin(), errors.end()).join(" / ");
    if (version > RecordStore::kSchemaVersion) {
        QCOMPARE(said.count("holds a history of a newer version (3)"), kTools);
        return;
    }
    QVERIFY2(
        std::all_of(errors.begin(), errors.end(), [](const QString &e) { return e.isEmpty(); }),
        qPrintable(said));
    QCOMPARE(direct(target, {"SELECT version FROM lx815_schema"}).value_or(QStringList()),
             QStringList{"2"});
    const QStringList indexes = *direct(
        target, {postgres ? "SELECT indexname FROM pg_indexes" : "SELECT name FROM sqlite_master"});
    for (const char *index :
         {"unit_records_by_unit", "unit_records_by_finished", "unit_records_by_recipe",
          "unit_records_by_station", "unit_measurements_by_name"})
        QVERIFY2(indexes.contains(index), index);

    RecordStore store(target);
    UnitRecord added = UnitRecord::create();
    added.started = QDateTime::currentDateTimeUtc();
    added.finished = added.started;
    added.serialNumber = "4C5881500007";
    added.recipeSha256 = randomHex(64);
    added.lane = 3;
    added.measurements = {UnitRecord::Measurement{}};
    added.measurements[0].name = "/TCXO_BIAS";
    QVERIFY2(store.insert({added}), qPrintable(store.lastError()));
    const auto entries = store.list("4C5881500007");
    QVERIFY2(entries, qPrintable(store.lastError()));
    QCOMPARE(entries->size(), 3);
    QCOMPARE(entries->at(0).toJson(), added.toJson());
    const UnitRecord &old2 = entries->at(1);
    const UnitRecord &old1 = entries->at(2);
    QCOMPARE(old2.entryId, QString("old-2"));
    QCOMPARE(old1.entryId, QString("old-1"));
    QCOMPARE(old1.started, QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC));
    QCOMPARE(old1.message, QString("TX timeout"));
    QCOMPARE(old1.backupFile, QString("/backups/a.json"));
    QCOMPARE(old1.differences.size(), 1);
    QCOMPARE(old1.differences.at(0).actual, QString("60"));
    for (const UnitRecord &old : {old1, old2}) {
        QCOMPARE(old.operatorName, QString("anna"));
        QCOMPARE(old.recipe + old.revision + old.recipeSha256 + old.failedStep, QString());
        QCOMPARE(old.lane, 0);
        QVERIFY(old.measurements.isEmpty());
    }
}

void TestRecords::historyByRecipe_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QString>("recipe"); // A, B (A's first 8 digits, then others), C, none
    QTest::addColumn<int>("digits");     // given of it
    QTest::addColumn<bool>("upper");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("listed"); // the recipes of the entries listed

    for (const bool postgres : {false, true}) {
        const char *db = postgres ? "PostgreSQL, " : "SQLite, ";
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::addRow("%s%s", db, name) << postgres;
        };
        row("whole SHA-256") << "A" << 64 << false << 0 << "AA";
        row("unique prefix") << "A" << 9 << false << 0 << "AA";
        row("upper case") << "B" << 9 << true << 0 << "B";
        row("another recipe's prefix too") << "A" << 8 << false << 2 << "";
        row("no such recipe") << "none" << 8 << false << 0 << "";
        row("too short") << "C" << 7 << false << 2 << "";
    }
    QTest::newRow("not hex") << false << "not hex" << 8 << false << 2 << "";
}

// history --recipe lists the entries of one recipe, named by its SHA-256 or a prefix of 8 or
// more digits that no other recipe in the history shares.
void TestRecords::historyByRecipe()
{
    QFETCH(bool, postgres);
    QFETCH(QString, recipe);
    QFETCH(int, digits);
    QFETCH(bool, upper);
    QFETCH(int, exitCode);
    QFETCH(QString, listed);
    const QString database = postgres ? postgresUrl() : m_data->filePath("line.sqlite");
    if (database.isEmpty())
        QSKIP("no PostgreSQL server: run through ctest, whose fixture starts one");
    const QString shared = randomHex(8);
    const QMap<QString, QString> sha{{"A", shared + "1" + randomHex(55)},
                                     {"B", shared + "2" + randomHex(55)},
                                     {"C", randomHex(64)},
                                     {"none", randomHex(64)},
                                     {"not hex", "xyz12345"}};
    const QString station = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QVector<UnitRecord> records;
    for (const char *of : {"A", "A", "B", "C"}) {
        UnitRecord record = UnitRecord::create();
        record.started = record.finished = QDateTime::currentDateTimeUtc();
        record.station = station;
        record.recipe = of;
        record.recipeSha256 = sha.value(of);
        records.append(record);
    }
    RecordStore store(*RecordsTarget::parse(database, nullptr));
    QVERIFY2(store.insert(records), qPrintable(store.lastError()));

    QString given = sha.value(recipe).left(digits);
    if (upper)
        given = given.toUpper();
    QString out;
    QString err;
    QCOMPARE(runCli({"history", "--json", "--recipe", given, "--records", database}, &out, &err),
             exitCode);
    QString names;
    for (const QJsonObject &entry : entriesOf(out, station))
        names += entry.value("recipe").toString();
    QCOMPARE(names, listed);
    QCOMPARE(err.isEmpty(), exitCode == 0);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
