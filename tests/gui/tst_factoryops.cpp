#include "support/factoryrig.h"
#include "support/hexbytes.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {
// The power table boxes of each page in wire order: per power middle, low, high.
const QList<int> kLx815WireBoxes{61, 58, 57, 62, 70, 64, 63, 71, 65, 59, 69, 66, 68, 67, 60};
const QList<int> kMr460WireBoxes{88, 93, 89, 97, 92, 90, 101, 98, 95, 94, 102, 96, 91, 99, 100};
const QStringList kPowerRadios{
    "radioButton_33", "radioButton_32", "radioButton_29", "radioButton_31", "radioButton_30",
    "radioButton_34", "radioButton_35", "radioButton_37", "radioButton_38", "radioButton_36"};
const QStringList kPointRadios{"radioButton_16", "radioButton_15", "radioButton_17",
                               "radioButton_21", "radioButton_20", "radioButton_19"};
const QStringList kStartSelection{"radioButton_33", "radioButton_16", "radioButton_34",
                                  "radioButton_21"};

QString box(int number)
{
    return QStringLiteral("spinBox_%1").arg(number);
}

QByteArray numbers(const QList<int> &values)
{
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}
} // namespace

class TestFactoryOps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void buttons_data();
    void buttons();
    void failures_data();
    void failures();
    void powerTableRead_data();
    void powerTableRead();
    void failedPowerReadBlocksWrite();
    void powerCell_data();
    void powerCell();
    void rssiOffsetRead();
    void rssiOffsetBlank();

private:
    void select(const QStringList &radios);
    std::unique_ptr<FactoryRig> m_rig;
};

void TestFactoryOps::initTestCase()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
}

void TestFactoryOps::cleanupTestCase()
{
    m_rig.reset();
}

void TestFactoryOps::init()
{
    m_rig->sim().faults().clearRules();
    m_rig->module() = ModuleState::defaults();
    select(kStartSelection);
    for (int number : kLx815WireBoxes + kMr460WireBoxes)
        m_rig->widget<QSpinBox>(box(number))->setValue(number);
    m_rig->widget<QSpinBox>("spinBox_81")->setValue(-3);
    m_rig->widget<QSpinBox>("spinBox_82")->setValue(4);
    m_rig->widget<QSpinBox>("spinBox_83")->setValue(-128);
    m_rig->clear();
}

// Checks exactly the named radio buttons; every other power or point radio is off.
void TestFactoryOps::select(const QStringList &radios)
{
    for (const QString &name : kPowerRadios + kPointRadios) {
        auto *radio = m_rig->widget<QRadioButton>(name);
        // An exclusive group never lets its last checked button go.
        QButtonGroup *group = radio->group();
        if (group)
            group->setExclusive(false);
        radio->setAutoExclusive(false);
        radio->setChecked(radios.contains(name));
        radio->setAutoExclusive(true);
        if (group)
            group->setExclusive(true);
    }
}

void TestFactoryOps::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("read");

    for (int n : {273, 237, 278, 279, 282})
        QTest::addRow("pushButton_%d data PTT", n)
            << QString("pushButton_%1").arg(n) << hex("A66A112233") << false;
    for (int n : {274, 238, 277, 280, 283})
        QTest::addRow("pushButton_%d voice PTT", n)
            << QString("pushButton_%1").arg(n) << hex("A66A332211") << false;
    for (int n : {275, 239, 276, 281, 284})
        QTest::addRow("pushButton_%d normal", n)
            << QString("pushButton_%1").arg(n) << hex("A7") << false;
    QTest::newRow("sensitivity enter") << "pushButton_241" << hex("321A55") << false;
    QTest::newRow("sensitivity leave") << "pushButton_240" << hex("321A00") << false;
    QTest::newRow("squelch 0.25 LX-815") << "pushButton_23" << hex("321302") << false;
    QTest::newRow("squelch 0.45 LX-815") << "pushButton_24" << hex("321304") << false;
    QTest::newRow("squelch 0.25 MR-460") << "pushButton_31" << hex("321302") << false;
    QTest::newRow("squelch 0.45 MR-460") << "pushButton_32" << hex("321304") << false;
    QTest::newRow("RSSI 10 dBuV") << "pushButton_25" << hex("C50A") << false;
    QTest::newRow("RSSI 40 dBuV") << "pushButton_26" << hex("C528") << false;
    QTest::newRow("read offset low") << "pushButton_27" << hex("C200") << true;
    QTest::newRow("read offset middle") << "pushButton_124" << hex("C201") << true;
    QTest::newRow("read offset high") << "pushButton_130" << hex("C202") << true;
    QTest::newRow("write offset low") << "pushButton_114" << hex("C300FD") << false;
    QTest::newRow("write offset middle") << "pushButton_125" << hex("C30104") << false;
    QTest::newRow("write offset high") << "pushButton_131" << hex("C30280") << false;
    const QList<QPair<int, QByteArray>> offsetSteps{
        {121, hex("C40001")}, {120, hex("C400FF")}, {113, hex("C4000A")}, {122, hex("C400F6")},
        {126, hex("C40101")}, {128, hex("C401FF")}, {127, hex("C4010A")}, {123, hex("C401F6")},
        {132, hex("C40201")}, {134, hex("C402FF")}, {133, hex("C4020A")}, {129, hex("C402F6")},
    };
    for (const auto &step : offsetSteps)
        QTest::addRow("pushButton_%d offset step", step.first)
            << QString("pushButton_%1").arg(step.first) << step.second << false;
    QTest::newRow("read power LX-815") << "pushButton_186" << hex("018100") << true;
    QTest::newRow("read power MR-460") << "pushButton_258" << hex("018100") << true;
    QTest::newRow("write power LX-815")
        << "pushButton_190" << hex("018101") + numbers(kLx815WireBoxes) << false;
    QTest::newRow("write power MR-460")
        << "pushButton_259" << hex("018101") + numbers(kMr460WireBoxes) << false;
    // Right after start the 1 W row and the low point are selected.
    const QList<QPair<int, QByteArray>> cellSteps{
        {185, hex("0181021001")}, {189, hex("01810210FF")}, {187, hex("018102100A")},
        {188, hex("01810210F6")}, {257, hex("0181021001")}, {260, hex("01810210FF")},
        {261, hex("018102100A")}, {262, hex("01810210F6")},
    };
    for (const auto &step : cellSteps)
        QTest::addRow("pushButton_%d cell step", step.first)
            << QString("pushButton_%1").arg(step.first) << step.second << false;
}

void TestFactoryOps::buttons()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, request);
    QFETCH(bool, read);

    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
    QVERIFY2(m_rig->boxes().shown.isEmpty(), qPrintable(m_rig->boxes().texts().join('|')));
    QCOMPARE(m_rig->status(), read ? QString("读取成功！") : QString("设置成功！"));
}

void TestFactoryOps::failures_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("sent");
    QTest::addColumn<QString>("text");

    const QString readBack = QStringLiteral("\n请读回该值以确认。");
    QTest::newRow("data PTT refused") << "pushButton_273"
                                      << "A6:refuse:1" << 1 << "进入/离开发射模式失败！";
    QTest::newRow("normal mode unanswered") << "pushButton_275"
                                            << "A7:lead:*" << 3 << "进入/离开发射模式失败！";
    QTest::newRow("sensitivity refused") << "pushButton_241"
                                         << "321A:refuse:1" << 1 << "接收灵敏度测试模式切换失败！";
    QTest::newRow("squelch refused") << "pushButton_31"
                                     << "3213:refuse:1" << 1 << "静噪校准失败！";
    QTest::newRow("RSSI calibration refused") << "pushButton_26"
                                              << "C5:refuse:1" << 1 << "场强校准失败！";
    QTest::newRow("offset read garbled") << "pushButton_124"
                                         << "C2:short:*" << 3 << "读场强校准值失败！";
    QTest::newRow("offset write refused") << "pushButton_125"
                                          << "C3:refuse:1" << 1 << "设置场强校准值失败！";
    QTest::newRow("offset step answered 01 01: once")
        << "pushButton_126"
        << "C4:lead:1" << 1 << "按偏移量修改场强校准值失败！" + readBack;
    QTest::newRow("offset step refused: no read-back hint")
        << "pushButton_126"
        << "C4:refuse:1" << 1 << "按偏移量修改场强校准值失败！";
    QTest::newRow("power read garbled") << "pushButton_186"
                                        << "018100:long:*" << 3 << "读发射功率校准值失败！";
    QTest::newRow("power write refused") << "pushButton_259"
                                         << "018101:refuse:1" << 1 << "设置发射功率校准值失败！";
    QTest::newRow("cell step refused: no read-back hint")
        << "pushButton_185"
        << "018102:refuse:1" << 1 << "按偏移量修改发射功率校准值失败！";
    QTest::newRow("cell step answered 01 01: once")
        << "pushButton_257"
        << "018102:lead:1" << 1 << "按偏移量修改发射功率校准值失败！" + readBack;
}

void TestFactoryOps::failures()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(int, sent);
    QFETCH(QString, text);

    QVERIFY(m_rig->sim().addFault(fault));
    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->requests().size(), sent);
    QCOMPARE(m_rig->boxes().texts(), QStringList{text});
    QCOMPARE(m_rig->boxes().shown.first().title, QString("错误"));
    const bool read = button == "pushButton_124" || button == "pushButton_186";
    QCOMPARE(m_rig->status(), read ? QString("读取失败！") : QString("设置失败！"));
}

void TestFactoryOps::powerTableRead_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("wireBoxes");
    QTest::addColumn<QList<int>>("untouched");

    QTest::newRow("LX-815") << "pushButton_186" << kLx815WireBoxes << kMr460WireBoxes;
    QTest::newRow("MR-460") << "pushButton_258" << kMr460WireBoxes << kLx815WireBoxes;
}

void TestFactoryOps::powerTableRead()
{
    QFETCH(QString, button);
    QFETCH(QList<int>, wireBoxes);
    QFETCH(QList<int>, untouched);

    for (int i = 0; i < Wire::kPowerTableSize; ++i)
        m_rig->module().powerTable[i] = static_cast<quint8>(240 + i);
    QVERIFY(m_rig->click(button));
    for (int i = 0; i < Wire::kPowerTableSize; ++i)
        QCOMPARE(m_rig->widget<QSpinBox>(box(wireBoxes[i]))->value(), 240 + i);
    for (int number : untouched)
        QCOMPARE(m_rig->widget<QSpinBox>(box(number))->value(), number);
}

void TestFactoryOps::failedPowerReadBlocksWrite()
{
    for (int number : kLx815WireBoxes)
        m_rig->widget<QSpinBox>(box(number))->setValue(0);
    QVERIFY(m_rig->sim().addFault("018100:long:*"));
    QVERIFY(m_rig->click("pushButton_186"));
    QCOMPARE(m_rig->requests().size(), 3);
    for (int number : kLx815WireBoxes)
        QCOMPARE(m_rig->widget<QSpinBox>(box(number))->text(), QString(" "));

    m_rig->clear();
    QVERIFY(m_rig->click("pushButton_190"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请配置发射功率校准值！"});
    QVERIFY(m_rig->requests().isEmpty());
}

void TestFactoryOps::powerCell_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("request"); // empty: refused with the text
    QTest::addColumn<QString>("text");

    QTest::newRow("4 W middle +10") << QStringList{"radioButton_31", "radioButton_15"}
                                    << "pushButton_187" << hex("018102030A") << QString();
    QTest::newRow("1 W low -1") << QStringList{"radioButton_33", "radioButton_16"}
                                << "pushButton_189" << hex("01810210FF") << QString();
    QTest::newRow("3 W high +1") << QStringList{"radioButton_29", "radioButton_17"}
                                 << "pushButton_185" << hex("0181022201") << QString();
    QTest::newRow("MR-460 5 W high -10") << QStringList{"radioButton_36", "radioButton_19"}
                                         << "pushButton_262" << hex("01810224F6") << QString();
    QTest::newRow("MR-460 2 W middle +1") << QStringList{"radioButton_35", "radioButton_20"}
                                          << "pushButton_257" << hex("0181020101") << QString();
    QTest::newRow("nothing selected")
        << QStringList{} << "pushButton_185" << QByteArray() << "请选择频段！";
    QTest::newRow("power without point")
        << QStringList{"radioButton_30"} << "pushButton_188" << QByteArray() << "请选择频段！";
    QTest::newRow("point without power")
        << QStringList{"radioButton_17"} << "pushButton_188" << QByteArray() << "请选择功率！";
    QTest::newRow("the other page's choice does not count")
        << QStringList{"radioButton_31", "radioButton_15"} << "pushButton_260" << QByteArray()
        << "请选择频段！";
}

void TestFactoryOps::powerCell()
{
    QFETCH(QStringList, selection);
    QFETCH(QString, button);
    QFETCH(QByteArray, request);
    QFETCH(QString, text);

    select(selection);
    const auto before = m_rig->module().powerTable;
    QVERIFY(m_rig->click(button));
    if (request.isEmpty()) {
        QCOMPARE(m_rig->boxes().texts(), QStringList{text});
        QVERIFY(m_rig->requests().isEmpty());
        QCOMPARE(m_rig->status(), QString("设置失败！"));
        return;
    }
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
    // The module added the delta to exactly one cell; the boxes wait for a read.
    int changed = 0;
    for (int i = 0; i < Wire::kPowerTableSize; ++i) {
        if (m_rig->module().powerTable[i] != before[i]) {
            ++changed;
            QCOMPARE(quint8(m_rig->module().powerTable[i] - before[i]), quint8(request.at(4)));
        }
    }
    QCOMPARE(changed, 1);
    for (int number : kLx815WireBoxes + kMr460WireBoxes)
        QCOMPARE(m_rig->widget<QSpinBox>(box(number))->value(), number);
}

void TestFactoryOps::rssiOffsetRead()
{
    m_rig->module().rssiOffsets = {-10, 0, 127};
    for (const char *button : {"pushButton_27", "pushButton_124", "pushButton_130"})
        QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_81")->value(), -10);
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_82")->value(), 0);
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_83")->value(), 127);
}

void TestFactoryOps::rssiOffsetBlank()
{
    // spinBox_83 stands at its minimum, so a failed read leaves it blank.
    QVERIFY(m_rig->sim().addFault("C202:short:*"));
    QVERIFY(m_rig->click("pushButton_130"));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_83")->text(), QString(" "));
    m_rig->clear();
    QVERIFY(m_rig->click("pushButton_131"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请配置场强校准值！"});
    QVERIFY(m_rig->requests().isEmpty());
}

QTEST_MAIN(TestFactoryOps)
#include "tst_factoryops.moc"
