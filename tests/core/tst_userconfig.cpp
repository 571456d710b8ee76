#include "app/mjsonconfig.h"
#include "config/userconfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A configuration unlike the defaults in every member.
UserConfig sample()
{
    UserConfig config;
    config.dipSwitch = true;
    config.currentChannel = 5;
    config.saveChannel = false;
    for (int i = 0; i < Wire::kChannelCount; ++i) {
        config.channels[i] = UserChannel{45000000u + 12500u * i,
                                         46000000u + 625u * i,
                                         i % 5,
                                         i % 2,
                                         i % 6,
                                         4 + i * 9,
                                         (i + 1) % 2};
    }
    config.txTimeout = 200;
    config.stopTime = 7;
    config.volume = 9;
    config.powerSave = true;
    config.sleepTime = 25;
    config.standbyTime = 15;
    config.squareWave = true;
    config.sidetone = true;
    config.scanModeIndex = 3;
    return config;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
} // namespace

class TestUserConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void entryOrder_data();
    void entryOrder();
    void oneWriteEqualsSingleWrites();
    void emptyFileGivesDefaults_data();
    void emptyFileGivesDefaults();
    void conversions_data();
    void conversions();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestUserConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestUserConfig::entryOrder_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("path");
    QTest::newRow("first") << 0 << "/Channel/CtrlMode";
    QTest::newRow("current") << 1 << "/Channel/Current";
    QTest::newRow("save") << 2 << "/Channel/SaveChannel";
    QTest::newRow("ch1 rx") << 3 << "/Channel/1/RxFreq";
    QTest::newRow("ch1 tx") << 4 << "/Channel/1/TxFreq";
    QTest::newRow("ch1 power") << 5 << "/Channel/1/TxPowerIndex";
    QTest::newRow("ch1 bandwidth") << 6 << "/Channel/1/BandwidthIndex";
    QTest::newRow("ch1 squelch") << 7 << "/Channel/1/SQLevelIndex";
    QTest::newRow("ch1 ctcss") << 8 << "/Channel/1/CTCSSDCSIndex";
    QTest::newRow("ch1 scan") << 9 << "/Channel/1/ScanIndex";
    QTest::newRow("ch2 rx") << 10 << "/Channel/2/RxFreq";
    QTest::newRow("ch16 scan") << 114 << "/Channel/16/ScanIndex";
    QTest::newRow("timeout") << 115 << "/TxProtect/Timeout";
    QTest::newRow("stop") << 116 << "/TxProtect/StopTime";
    QTest::newRow("volume") << 117 << "/Volume";
    QTest::newRow("power save") << 118 << "/PowerSave/Enable";
    QTest::newRow("sleep") << 119 << "/PowerSave/SleepTime";
    QTest::newRow("standby") << 120 << "/PowerSave/StandbyTime";
    QTest::newRow("wave") << 121 << "/AudioWaveMode";
    QTest::newRow("sidetone") << 122 << "/SideTone/Enable";
    QTest::newRow("last") << 123 << "/ChannelScanModeIndex";
}

void TestUserConfig::entryOrder()
{
    QFETCH(int, position);
    QFETCH(QString, path);
    const MJsonConfig::Entries entries = UserConfig().entries();
    QCOMPARE(entries.size(), 124);
    QCOMPARE(entries.at(position).first, path);
}

void TestUserConfig::oneWriteEqualsSingleWrites()
{
    const QString single = m_dir->filePath(QStringLiteral("single.json"));
    const QString once = m_dir->filePath(QStringLiteral("once.json"));
    const QByteArray old = R"({"Volume": {"Level": 3}, "Factory": {"Band": 19}, "Channel": 7})";
    QVERIFY(writeFile(single, old));
    QVERIFY(writeFile(once, old));
    const MJsonConfig::Entries entries = sample().entries();
    {
        MJsonConfig store(single);
        for (const auto &entry : entries)
            store.setValue(entry.first, entry.second);
    }
    {
        MJsonConfig store(once);
        store.setValues(entries);
    }
    QCOMPARE(readAll(once), readAll(single));
}

void TestUserConfig::emptyFileGivesDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("this is no JSON");
    QTest::newRow("array") << QByteArray("[1, 2]");
    QTest::newRow("nulls") << QByteArray(
        R"({"Channel": {"CtrlMode": null, "Current": null, "SaveChannel": null, "1": null},
            "Volume": null, "ChannelScanModeIndex": null})");
}

void TestUserConfig::emptyFileGivesDefaults()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir->filePath(QStringLiteral("defaults.json"));
    QVERIFY(writeFile(path, content));
    const UserConfig loaded = UserConfig::fromStore(MJsonConfig(path));
    QCOMPARE(loaded.dipSwitch, false);
    QCOMPARE(loaded.currentChannel, 1);
    QCOMPARE(loaded.saveChannel, true);
    for (const UserChannel &channel : loaded.channels) {
        QCOMPARE(channel.rxFreq, 0u);
        QCOMPARE(channel.txFreq, 0u);
        QCOMPARE(channel.txPowerIndex, -1);
        QCOMPARE(channel.bandwidthIndex, -1);
        QCOMPARE(channel.sqLevelIndex, -1);
        QCOMPARE(channel.ctcssDcsIndex, -1);
        QCOMPARE(channel.scanIndex, -1);
    }
    QCOMPARE(loaded.volume, 0);
    QCOMPARE(loaded.powerSave, false);
    QCOMPARE(loaded.squareWave, false);
    QCOMPARE(loaded.sidetone, false);
    QCOMPARE(loaded.scanModeIndex, -1);
}

void TestUserConfig::conversions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("value");
    QTest::newRow("dip in lower case")
        << QByteArray(R"({"Channel": {"CtrlMode": "dip"}})") << "dipSwitch" << 0;
    QTest::newRow("DIP") << QByteArray(R"({"Channel": {"CtrlMode": "DIP"}})") << "dipSwitch" << 1;
    QTest::newRow("ctrl mode number")
        << QByteArray(R"({"Channel": {"CtrlMode": 1}})") << "dipSwitch" << 0;
    QTest::newRow("current as text 5")
        << QByteArray(R"({"Channel": {"Current": "5"}})") << "currentChannel" << 0;
    QTest::newRow("current 5.5") << QByteArray(R"({"Channel": {"Current": 5.5}})")
                                 << "currentChannel" << 0;
    QTest::newRow("current 5.0") << QByteArray(R"({"Channel": {"Current": 5.0}})")
                                 << "currentChannel" << 5;
    QTest::newRow("current true") << QByteArray(R"({"Channel": {"Current": true}})")
                                  << "currentChannel" << 0;
    QTest::newRow("save as 1") << QByteArray(R"({"Channel": {"SaveChannel": 1}})") << "saveChannel"
                               << 0;
    QTest::newRow("save false") << QByteArray(R"({"Channel": {"SaveChannel": false}})")
                                << "saveChannel" << 0;
    QTest::newRow("power save text")
        << QByteArray(R"({"PowerSave": {"Enable": "true"}})") << "powerSave" << 0;
    QTest::newRow("Sine") << QByteArray(R"({"AudioWaveMode": "Sine"})") << "squareWave" << 0;
    QTest::newRow("square in lower case")
        << QByteArray(R"({"AudioWaveMode": "square"})") << "squareWave" << 0;
    QTest::newRow("Square") << QByteArray(R"({"AudioWaveMode": "Square"})") << "squareWave" << 1;
    QTest::newRow("scan index text")
        << QByteArray(R"({"ChannelScanModeIndex": "2"})") << "scanModeIndex" << 0;
    QTest::newRow("power index 2.5")
        << QByteArray(R"({"Channel": {"4": {"TxPowerIndex": 2.5}}})") << "ch4 power" << 0;
    QTest::newRow("power index missing")
        << QByteArray(R"({"Channel": {"4": {}}})") << "ch4 power" << -1;
    QTest::newRow("channel not an object")
        << QByteArray(R"({"Channel": {"4": 12}})") << "ch4 power" << -1;
    QTest::newRow("rx as text") << QByteArray(R"({"Channel": {"4": {"RxFreq": "43512500"}}})")
                                << "ch4 rx" << 0;
    QTest::newRow("rx number") << QByteArray(R"({"Channel": {"4": {"RxFreq": 43512500}}})")
                               << "ch4 rx" << 43512500;
    QTest::newRow("negative rx is no frequency")
        << QByteArray(R"({"Channel": {"4": {"RxFreq": -1}}})") << "ch4 rx" << 0;
    QTest::newRow("key 04 is not channel 4")
        << QByteArray(R"({"Channel": {"04": {"RxFreq": 43512500}}})") << "ch4 rx" << 0;
}

void TestUserConfig::conversions()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, member);
    QFETCH(int, value);
    const QString path = m_dir->filePath(QStringLiteral("conversions.json"));
    QVERIFY(writeFile(path, content));
    const UserConfig c = UserConfig::fromStore(MJsonConfig(path));
    const QMap<QString, int> members{
        {"dipSwitch", c.dipSwitch},
        {"currentChannel", c.currentChannel},
        {"saveChannel", c.saveChannel},
        {"powerSave", c.powerSave},
        {"squareWave", c.squareWave},
        {"scanModeIndex", c.scanModeIndex},
        {"ch4 power", c.channels[3].txPowerIndex},
        {"ch4 rx", int(c.channels[3].rxFreq)},
    };
    QVERIFY(members.contains(member));
    QCOMPARE(members.value(member), value);
}

QTEST_GUILESS_MAIN(TestUserConfig)
#include "tst_userconfig.moc"
