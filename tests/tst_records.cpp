// The unit history: lx815-cli records its operations on simulated modules into SQLite and into
// a real PostgreSQL server started by scripts/pg-server, and keeps them when the server stops.
#include "support/simharness.h"

#include "records/recordstarget.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <array>

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
}

void TestRecords::badDatabaseIsUsageError()
{
    QFETCH(QString, database);
    QString err;
    QCOMPARE(runCli({"history", "--records", database}, nullptr, &err), 2);
    QVERIFY2(err.contains("records"), qPrintable(err));
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
    const QStringList keys{"time",        "endTime", "station",     "operator", "port",
                           "toolVersion", "model",   "band",        "firmware", "serialNumber",
                           "operation",   "file",    "fileSha256",  "outcome",  "message",
                           "requests",    "retries", "differences", "snapshot", "backup"};
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

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
