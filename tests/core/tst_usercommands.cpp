#include "device/identificationcommands.h"
#include "device/usercommands.h"
#include "support/hexbytes.h"

#include <QtTest>

namespace {} // namespace

class TestUserCommands : public QObject
{
    Q_OBJECT

private slots:
    void modelText_data();
    void modelText();
    void firmwareText_data();
    void firmwareText();
    void serialNumberText();
    void rssi_data();
    void rssi();
    void scanMode_data();
    void scanMode();
    void spinBoxClamp_data();
    void spinBoxClamp();
};

void TestUserCommands::modelText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("V") << 0x10 << "LX-815 V";
    QTest::newRow("U2") << 0x13 << "LX-815 U2";
    QTest::newRow("0F") << 0x0F << "未知设备:0F";
    QTest::newRow("1A") << 0x1A << "未知设备:1A";
    QTest::newRow("00") << 0x00 << "未知设备:00";
}

void TestUserCommands::modelText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(IdentificationCommands::modelText(static_cast<quint8>(code)), text);
}

void TestUserCommands::firmwareText_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("V1.2") << hex("01180056312e32") << "V1.2";
    QTest::newRow("byte 2 ignored") << hex("0118ff56312e32") << "V1.2";
    QTest::newRow("cut at zero") << hex("01180056310032") << "V1";
    QTest::newRow("trailing zero") << hex("01180056312e3200") << "V1.2";
    QTest::newRow("utf-8") << QByteArray::fromHex("011800") + QByteArray("v\xc3\xa9") << "vé";
}

void TestUserCommands::firmwareText()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, text);
    QCOMPARE(IdentificationCommands::firmwareText(reply), text);
}

void TestUserCommands::serialNumberText()
{
    QCOMPARE(IdentificationCommands::serialNumberText(hex("c6123456789abc")),
             QStringLiteral("123456789ABC"));
    QCOMPARE(IdentificationCommands::serialNumberText(hex("c600000a0b0c0d")),
             QStringLiteral("00000A0B0C0D"));
}

void TestUserCommands::rssi_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("dBuV");
    QTest::newRow("F6") << 0xF6 << -10;
    QTest::newRow("50") << 0x50 << 80;
    QTest::newRow("80") << 0x80 << -128;
    QTest::newRow("7F") << 0x7F << 127;
}

void TestUserCommands::rssi()
{
    QFETCH(int, byte);
    QFETCH(int, dBuV);
    QCOMPARE(UserParams::rssiFromWire(static_cast<quint8>(byte)), dBuV);
}

void TestUserCommands::scanMode_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("index");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("3") << 3 << 3;
    QTest::newRow("4") << 4 << -1;
    QTest::newRow("7") << 7 << -1;
    QTest::newRow("FF") << 0xFF << -1;
}

void TestUserCommands::scanMode()
{
    QFETCH(int, byte);
    QFETCH(int, index);
    QCOMPARE(UserParams::scanModeIndex(static_cast<quint8>(byte)), index);
}

void TestUserCommands::spinBoxClamp_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("shown");
    const auto add = [](const char *name, UserParams::Range range, int value, int shown) {
        QTest::newRow(name) << range.minimum << range.maximum << value << shown;
    };
    add("channel 20", UserParams::kCurrentChannel, 20, 16);
    add("channel 0", UserParams::kCurrentChannel, 0, 1);
    add("channel 5", UserParams::kCurrentChannel, 5, 5);
    add("sleep 26", UserParams::kSleepTime, 26, 25);
    add("standby 255", UserParams::kStandbyTime, 255, 15);
    add("volume 10", UserParams::kVolume, 10, 9);
    add("tx timeout 255", UserParams::kTxTimeout, 255, 255);
}

void TestUserCommands::spinBoxClamp()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, shown);
    QCOMPARE((UserParams::Range{minimum, maximum}.clamp(value)), shown);
}

QTEST_GUILESS_MAIN(TestUserCommands)
#include "tst_usercommands.moc"
