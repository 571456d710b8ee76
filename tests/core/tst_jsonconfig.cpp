#include "app/mjsonconfig.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray contentOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QJsonObject parsed(const QString &path)
{
    return QJsonDocument::fromJson(contentOf(path)).object();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}
} // namespace

class TestJsonConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileIsCreatedEmptyAndReadsDoNotWrite();
    void readsAnswerDefaults_data();
    void readsAnswerDefaults();
    void nestedPathsKeepSiblings();
    void scalarReplacedByObject();
    void keysSortedAndIndented();
    void unopenableFileRefused_data();
    void unopenableFileRefused();
    void failedWriteKeepsValueInMemory();
    void batchWritesOnce();
    void memoryStoreHasNoFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name = QStringLiteral("c.json")) const
    {
        return m_dir->filePath(name);
    }
};

void TestJsonConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestJsonConfig::missingFileIsCreatedEmptyAndReadsDoNotWrite()
{
    MJsonConfig config(path());
    QVERIFY(QFile::exists(path()));
    QCOMPARE(config.value(QStringLiteral("/Language"), QStringLiteral("zh_CN")).toString(),
             QStringLiteral("zh_CN"));
    QCOMPARE(QFileInfo(path()).size(), qint64(0));
}

void TestJsonConfig::readsAnswerDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("expected");
    const QJsonValue fallback(QStringLiteral("default"));
    QTest::newRow("null is default") << QByteArray(R"({"a": null})") << "/a" << fallback;
    QTest::newRow("zero as stored") << QByteArray(R"({"a": 0})") << "/a" << QJsonValue(0);
    QTest::newRow("false as stored") << QByteArray(R"({"a": false})") << "/a" << QJsonValue(false);
    QTest::newRow("empty string as stored")
        << QByteArray(R"({"a": ""})") << "/a" << QJsonValue(QString());
    QTest::newRow("not json") << QByteArray("{oops") << "/a" << fallback;
    QTest::newRow("top-level array") << QByteArray("[1,2]") << "/a" << fallback;
    QTest::newRow("through a scalar") << QByteArray(R"({"a": 5})") << "/a/b" << fallback;
    QTest::newRow("nested") << QByteArray(R"({"a": {"b": {"c": 3}}})") << "/a/b/c" << QJsonValue(3);
    QTest::newRow("case sensitive") << QByteArray(R"({"A": 1})") << "/a" << fallback;
}

void TestJsonConfig::readsAnswerDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QJsonValue, expected);
    writeFile(path(), content);
    MJsonConfig config(path());
    QCOMPARE(config.value(key, QStringLiteral("default")), expected);
    QCOMPARE(contentOf(path()), content);
}

void TestJsonConfig::nestedPathsKeepSiblings()
{
    MJsonConfig config(path());
    config.setValue(QStringLiteral("/SerialPort/PortName"), QStringLiteral("COM3"));
    QCOMPARE(parsed(path()), QJsonObject({{"SerialPort", QJsonObject({{"PortName", "COM3"}})}}));
    config.setValue(QStringLiteral("/Channel/1/RxFreq"), 43512500);
    config.setValue(QStringLiteral("/Channel/1/TxFreq"), 43500000);
    const QJsonObject channel = parsed(path()).value("Channel").toObject().value("1").toObject();
    QCOMPARE(channel, QJsonObject({{"RxFreq", 43512500}, {"TxFreq", 43500000}}));
    QCOMPARE(MJsonConfig(path()).value(QStringLiteral("/SerialPort/PortName")).toString(),
             QStringLiteral("COM3"));
}

void TestJsonConfig::scalarReplacedByObject()
{
    MJsonConfig config(path());
    config.setValue(QStringLiteral("/Volume"), 5);
    config.setValue(QStringLiteral("/Volume/Level"), 1);
    QCOMPARE(parsed(path()), QJsonObject({{"Volume", QJsonObject({{"Level", 1}})}}));
}

void TestJsonConfig::keysSortedAndIndented()
{
    MJsonConfig config(path());
    config.setValue(QStringLiteral("/Channel/2/x"), 1);
    config.setValue(QStringLiteral("/Channel/10/x"), 1);
    const QByteArray text = contentOf(path());
    QVERIFY(text.indexOf("\"10\"") < text.indexOf("\"2\""));
    QVERIFY(text.contains("\n    \"Channel\": {\n"));
}

void TestJsonConfig::unopenableFileRefused_data()
{
    QTest::addColumn<bool>("readOnlyFile");
    QTest::newRow("a directory") << false;
    QTest::newRow("a read-only file") << true;
}

void TestJsonConfig::unopenableFileRefused()
{
    QFETCH(bool, readOnlyFile);
    QString target = path();
    if (readOnlyFile) {
        writeFile(target, "{}");
        QFile::setPermissions(target, QFileDevice::ReadOwner);
        if (QFile(target).open(QIODevice::ReadWrite))
            QSKIP("running with privileges that ignore file permissions");
    } else {
        QDir().mkpath(target);
    }
    try {
        MJsonConfig config(target);
        QFAIL("the file was accepted");
    } catch (const ConfigFileError &error) {
        QCOMPARE(QString::fromLatin1(error.what()), QStringLiteral("Couldn't open config file."));
    }
}

void TestJsonConfig::failedWriteKeepsValueInMemory()
{
    const QString dir = m_dir->filePath(QStringLiteral("sub"));
    QDir().mkpath(dir);
    MJsonConfig config(dir + QStringLiteral("/c.json"));
    // The file's place is taken by a directory: no write can succeed.
    QFile::remove(dir + QStringLiteral("/c.json"));
    QDir().mkpath(dir + QStringLiteral("/c.json"));
    QTest::ignoreMessage(QtWarningMsg, "Couldn't open config file.");
    config.setValue(QStringLiteral("/Language"), QStringLiteral("en_US"));
    QCOMPARE(config.value(QStringLiteral("/Language")).toString(), QStringLiteral("en_US"));
}

void TestJsonConfig::batchWritesOnce()
{
    MJsonConfig one(path(QStringLiteral("one.json")));
    MJsonConfig batch(path(QStringLiteral("batch.json")));
    MJsonConfig::Entries entries;
    for (int channel = 1; channel <= 16; ++channel)
        entries.append({QStringLiteral("/Channel/%1/RxFreq").arg(channel), channel * 100});
    entries.append({QStringLiteral("/Volume"), 3});
    for (const auto &entry : entries)
        one.setValue(entry.first, entry.second);
    batch.setValues(entries);
    QCOMPARE(contentOf(path(QStringLiteral("batch.json"))),
             contentOf(path(QStringLiteral("one.json"))));
}

void TestJsonConfig::memoryStoreHasNoFile()
{
    auto config = MJsonConfig::inMemory();
    QVERIFY(config->isInMemory());
    QCOMPARE(config->value(QStringLiteral("/Language"), QStringLiteral("zh_CN")).toString(),
             QStringLiteral("zh_CN"));
    config->setValue(QStringLiteral("/Language"), QStringLiteral("en_US"));
    QCOMPARE(config->value(QStringLiteral("/Language")).toString(), QStringLiteral("en_US"));
}

QTEST_GUILESS_MAIN(TestJsonConfig)
#include "tst_jsonconfig.moc"
