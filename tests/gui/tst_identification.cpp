#include "app/language.h"
#include "support/factoryrig.h"
#include "support/hexbytes.h"
#include "ui/loadingwidget.h"

#include <QAction>
#include <QLineEdit>
#include <QTranslator>
#include <QtTest>

namespace {
struct Fields
{
    QString model, firmware, range, serial;
};

Fields fields(FactoryRig &rig)
{
    return {
        rig.widget<QLineEdit>("lineEdit_2")->text(), rig.widget<QLineEdit>("lineEdit_3")->text(),
        rig.widget<QLineEdit>("lineEdit_4")->text(), rig.widget<QLineEdit>("lineEdit_5")->text()};
}

const QString kOld = QStringLiteral("old");
} // namespace

class TestIdentification : public QObject
{
    Q_OBJECT

private slots:
    void identify_data();
    void identify();
    void menuActionIdentifiesToo();
    void unknownBandKeepsLimits();
    void unknownBandInEnglish();
};

void TestIdentification::identify_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("firmware");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("fields"); // model, firmware, range, serial afterwards
    QTest::addColumn<quint32>("freqMin");
    QTest::addColumn<quint32>("freqMax");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");

    const QStringList all{"3223", "0118", "c6"};
    QTest::newRow("U2") << 0x13 << "V1.2" << QStringList()
                        << QStringList{"LX-815 U2", "V1.2", "450 MHz - 490 MHz", "123456789ABC"}
                        << 45000000u << 49000000u << all << QStringList() << "读取成功！";
    QTest::newRow("V") << 0x10 << "2.05b" << QStringList()
                       << QStringList{"LX-815 V", "2.05b", "136 MHz - 174 MHz", "123456789ABC"}
                       << 13600000u << 17400000u << all << QStringList() << "读取成功！";
    QTest::newRow("U0") << 0x11 << "V1.2" << QStringList()
                        << QStringList{"LX-815 U0", "V1.2", "400 MHz - 440 MHz", "123456789ABC"}
                        << 40000000u << 44000000u << all << QStringList() << "读取成功！";
    QTest::newRow("U1") << 0x12 << "V1.2" << QStringList()
                        << QStringList{"LX-815 U1", "V1.2", "430 MHz - 470 MHz", "123456789ABC"}
                        << 43000000u << 47000000u << all << QStringList() << "读取成功！";
    // An unknown band is shown, not reported in a box, and stops the identification.
    QTest::newRow("unknown 0F") << 0x0F << "V1.2" << QStringList()
                                << QStringList{"未知设备:0F", kOld, "", kOld} << 0u << 0u
                                << QStringList{"3223"} << QStringList() << "读取失败！";
    QTest::newRow("band reply of 4 bytes")
        << 0x13 << "V1.2" << QStringList{"3223:long:*"} << QStringList{"", kOld, "", kOld} << 0u
        << 0u << QStringList{"3223", "3223", "3223"} << QStringList{"读电台频段信息失败！"}
        << "读取失败！";
    QTest::newRow("band reply with another code")
        << 0x13 << "V1.2" << QStringList{"3223:lead:*"} << QStringList{"", kOld, "", kOld} << 0u
        << 0u << QStringList{"3223", "3223", "3223"} << QStringList{"读电台频段信息失败！"}
        << "读取失败！";
    // With no text the module's reply is 01 18 x: three bytes, not accepted.
    QTest::newRow("firmware reply of 3 bytes")
        << 0x13 << "" << QStringList() << QStringList{"LX-815 U2", "", "450 MHz - 490 MHz", kOld}
        << 45000000u << 49000000u << QStringList{"3223", "0118", "0118", "0118"}
        << QStringList{"读固件版本信息失败！"} << "读取失败！";
    QTest::newRow("firmware answered on the second attempt")
        << 0x13 << "V1.2" << QStringList{"0118:lead:1"}
        << QStringList{"LX-815 U2", "V1.2", "450 MHz - 490 MHz", "123456789ABC"} << 45000000u
        << 49000000u << QStringList{"3223", "0118", "0118", "c6"} << QStringList() << "读取成功！";
    QTest::newRow("serial number of 8 bytes")
        << 0x13 << "V1.2" << QStringList{"c6:long:*"}
        << QStringList{"LX-815 U2", "V1.2", "450 MHz - 490 MHz", ""} << 45000000u << 49000000u
        << QStringList{"3223", "0118", "c6", "c6", "c6"} << QStringList{"读序列号失败！"}
        << "读取失败！";
    QTest::newRow("serial number refused")
        << 0x13 << "V1.2" << QStringList{"c6:refuse:*"}
        << QStringList{"LX-815 U2", "V1.2", "450 MHz - 490 MHz", ""} << 45000000u << 49000000u
        << QStringList{"3223", "0118", "c6", "c6", "c6"} << QStringList{"读序列号失败！"}
        << "读取失败！";
}

void TestIdentification::identify()
{
    QFETCH(int, band);
    QFETCH(QString, firmware);
    QFETCH(QStringList, faults);
    QFETCH(QStringList, fields);
    QFETCH(quint32, freqMin);
    QFETCH(quint32, freqMax);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);

    SimHarness::Options options;
    options.faults = faults;
    FactoryRig rig(options);
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.module().band = static_cast<quint8>(band);
    rig.module().firmware = firmware;
    rig.module().serialNumber = hex("123456789abc");
    for (const char *name : {"lineEdit_2", "lineEdit_3", "lineEdit_4", "lineEdit_5"})
        rig.widget<QLineEdit>(name)->setText(kOld);

    rig.widget<QAction>("actReadDeviceInfo")->trigger();

    const Fields shown = ::fields(rig);
    QCOMPARE((QStringList{shown.model, shown.firmware, shown.range, shown.serial}), fields);
    QCOMPARE(rig.window().bandMinimum(), freqMin);
    QCOMPARE(rig.window().bandMaximum(), freqMax);
    QCOMPARE(rig.requests(), hexList(requests));
    QCOMPARE(rig.boxes().texts(), boxes);
    QCOMPARE(rig.status(), status);
    QVERIFY(rig.window().findChild<LoadingWidget *>()->isHidden());
}

void TestIdentification::menuActionIdentifiesToo()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.module().band = 0x12;
    rig.widget<QAction>("action_5")->trigger();
    QCOMPARE(rig.requests(), hexList({"3223", "0118", "c6"}));
    QCOMPARE(rig.widget<QLineEdit>("lineEdit_2")->text(), QStringLiteral("LX-815 U1"));
    QCOMPARE(rig.status(), QStringLiteral("读取成功！"));
    QVERIFY(!rig.window().isOperationRunning());
}

void TestIdentification::unknownBandKeepsLimits()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.module().band = 0x10;
    rig.widget<QAction>("actReadDeviceInfo")->trigger();
    rig.module().band = 0x1A;
    rig.clear();
    rig.widget<QAction>("actReadDeviceInfo")->trigger();
    QCOMPARE(rig.widget<QLineEdit>("lineEdit_2")->text(), QStringLiteral("未知设备:1A"));
    QCOMPARE(rig.widget<QLineEdit>("lineEdit_4")->text(), QString());
    QCOMPARE(rig.window().bandMinimum(), 13600000u);
    QCOMPARE(rig.window().bandMaximum(), 17400000u);

    // The range field, not the limits, says whether the module is identified.
    rig.clear();
    QVERIFY(rig.click("pushButton_2"));
    QCOMPARE(rig.boxes().texts(), QStringList{"请先读取设备信息！"});
    QVERIFY(rig.requests().isEmpty());
    QCOMPARE(rig.status(), QStringLiteral("设置失败！"));
}

void TestIdentification::unknownBandInEnglish()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    Language::install(Language::kEnglish);
    rig.module().band = 0x0F;
    rig.widget<QAction>("actReadDeviceInfo")->trigger();
    const QString model = rig.widget<QLineEdit>("lineEdit_2")->text();
    Language::install(Language::kChinese);
    QCOMPARE(model, QStringLiteral("Unknown device:0F"));
    QCOMPARE(rig.status(), QStringLiteral("Failed to read!"));
}

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
