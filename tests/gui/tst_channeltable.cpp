#include "support/factoryrig.h"
#include "support/hexbytes.h"
#include "support/scriptedmodule.h"

#include "app/language.h"
#include "device/channelcodec.h"
#include "serial/mserialport.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

namespace {
QString name(int channel, const char *field)
{
    return QStringLiteral("CH%1_%2").arg(channel).arg(QLatin1String(field));
}

// The three command bytes and 16 records, every channel not named being empty.
QByteArray table(const char *head, const QMap<int, QString> &records)
{
    QByteArray bytes = hex(QLatin1String(head));
    for (int n = 1; n <= 16; ++n)
        bytes.append(records.contains(n) ? hex(records.value(n)) : QByteArray(9, '\0'));
    return bytes;
}

QByteArray freqWrite(const QMap<int, QString> &records)
{
    return table("011500", records);
}

// A cell's text, or with the suffix "/style" its style sheet.
const QString kStyle = QStringLiteral("/style");

const QString kRed =
    QStringLiteral("color:red;  border-width: 1px; border-style: solid; border-color:red;");
const QStringList kTablePercents{"11%", "17%", "23%", "29%", "35%", "41%", "47%", "52%",
                                 "58%", "64%", "70%", "76%", "82%", "88%", "94%", "100%"};
} // namespace

class TestChannelTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout();
    void cellsFollowTheForm_data();
    void cellsFollowTheForm();
    void readChannel_data();
    void readChannel();
    void readRowsInPlace();
    void readProgress();
    void readWarnsWithoutDeviceInfo();
    void otherChannelsReplyRefused();
    void failedReadLeavesTableEmpty();
    void write_data();
    void write();
    void writeReadTableBack();
    void frequencyEntry_data();
    void frequencyEntry();
    void shownFrequencyMatchesTheCell_data();
    void shownFrequencyMatchesTheCell();

private:
    QLineEdit *edit(int channel, const char *field) const
    {
        return m_rig->widget<QLineEdit>(name(channel, field));
    }
    QComboBox *selector(int channel, const char *field) const
    {
        return m_rig->widget<QComboBox>(name(channel, field));
    }
    void identify(int band);
    QStringList overlayAtRequests(const std::function<void()> &operation);

    std::unique_ptr<FactoryRig> m_rig;
};

void TestChannelTable::init()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
}

void TestChannelTable::cleanup()
{
    m_rig.reset();
}

void TestChannelTable::identify(int band)
{
    if (band == 0)
        return;
    m_rig->module().band = static_cast<quint8>(band);
    m_rig->widget<QAction>("actReadDeviceInfo")->trigger();
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    m_rig->clear();
}

// The overlay's text whenever a request reaches the module, and once more at the end.
QStringList TestChannelTable::overlayAtRequests(const std::function<void()> &operation)
{
    QStringList texts;
    const auto connection = connect(&m_rig->sim().simulator(), &ModuleSimulator::requestReceived,
                                    this, [&] { texts.append(m_rig->overlayText()); });
    operation();
    disconnect(connection);
    texts.append(m_rig->overlayText());
    return texts;
}

void TestChannelTable::layout()
{
    QWidget *box = m_rig->widget<QWidget>("wdgFreqBox");
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    QVERIFY(grid);
    QCOMPARE(grid->contentsMargins(), QMargins(5, 5, 5, 5));
    QCOMPARE(grid->spacing(), 3);
    QCOMPARE(grid->rowCount(), 17);
    QCOMPARE(grid->columnCount(), 8);
    const QStringList headers{"CH",        "RX(MHz)",  "TX(MHz)",   "Power(W)",
                              "Bandwidth", "SQ Level", "CTCSS/DCS", "Scan"};
    for (int column = 0; column < headers.size(); ++column) {
        auto *label = qobject_cast<QLabel *>(grid->itemAtPosition(0, column)->widget());
        QVERIFY(label);
        QCOMPARE(label->text(), headers.at(column));
    }
    QCOMPARE(qobject_cast<QLabel *>(grid->itemAtPosition(0, 0)->widget())->maximumHeight(), 10);
    const QStringList fields{"RxFreq",  "TxFreq",    "TxPower", "Bandwidth",
                             "SQLevel", "CTCSS_DCS", "Scan"};
    for (int n = 1; n <= 16; ++n) {
        auto *number = qobject_cast<QLabel *>(grid->itemAtPosition(n, 0)->widget());
        QCOMPARE(number->text(), QString::number(n));
        for (int column = 1; column < 8; ++column) {
            QWidget *cell = grid->itemAtPosition(n, column)->widget();
            QCOMPARE(cell->objectName(), QStringLiteral("CH%1_%2").arg(n).arg(fields[column - 1]));
            QCOMPARE(cell->parentWidget(), box);
        }
    }
}

void TestChannelTable::cellsFollowTheForm_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("items"); // first and last item, and their count
    QTest::newRow("power") << "TxPower" << QStringList{"1", "5", "5"};
    QTest::newRow("bandwidth") << "Bandwidth" << QStringList{"Narrow", "Wide", "2"};
    QTest::newRow("squelch") << "SQLevel" << QStringList{"L0", "L5", "6"};
    QTest::newRow("ctcss") << "CTCSS_DCS" << QStringList{"Disable", "526", "158"};
    QTest::newRow("scan") << "Scan" << QStringList{"ON", "OFF", "2"};
}

void TestChannelTable::cellsFollowTheForm()
{
    QFETCH(QString, field);
    QFETCH(QStringList, items);
    for (int n : {1, 10, 16}) {
        auto *combo = m_rig->widget<QComboBox>(QStringLiteral("CH%1_%2").arg(n).arg(field));
        QVERIFY(combo);
        QCOMPARE(combo->itemText(0), items[0]);
        QCOMPARE(combo->itemText(combo->count() - 1), items[1]);
        QCOMPARE(combo->count(), items[2].toInt());
        QCOMPARE(edit(n, "RxFreq")->inputMask(), QStringLiteral("999.99999;0"));
        QCOMPARE(edit(n, "TxFreq")->inputMask(), QStringLiteral("999.99999;0"));
    }
}

void TestChannelTable::readChannel_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QVariantList>("module"); // tx, rx, power, bandwidth, squelch, ctcss, scan
    QTest::addColumn<QStringList>("shown");   // rx, tx, power, bandwidth, squelch, ctcss, scan
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("paramsRead");

    QTest::newRow("435.125 power 3")
        << 0x12 << QVariantList{43512500, 43512500, 2, 0x55, 3, 0x2F, 0x55}
        << QStringList{"435.12500", "435.12500", "3", "Narrow", "L3", "229.1Hz", "ON"} << false
        << true;
    QTest::newRow("first DCS code")
        << 0x12 << QVariantList{46000000, 45000000, 0, 0x00, 0, 0x80, 0x00}
        << QStringList{"450.00000", "460.00000", "1", "Wide", "L0", "023", "OFF"} << false << true;
    QTest::newRow("last DCS code")
        << 0x12 << QVariantList{46000000, 45000000, 4, 0x01, 5, 0xE7, 0x01}
        << QStringList{"450.00000", "460.00000", "5", "Wide", "L5", "526", "OFF"} << false << true;
    QTest::newRow("byte between the lists")
        << 0x12 << QVariantList{46000000, 45000000, 1, 0x55, 6, 0x40, 0x55}
        << QStringList{"450.00000", "460.00000", "2", "Narrow", "", "", "ON"} << false << true;
    QTest::newRow("power byte 7") << 0x12
                                  << QVariantList{46000000, 45000000, 7, 0x55, 1, 0xFF, 0x55}
                                  << QStringList{"450.00000", "460.00000", "",  "Narrow",
                                                 "L1",        "Disable",   "ON"}
                                  << false << true;
    QTest::newRow("no transmit frequency")
        << 0x12 << QVariantList{0, 45000000, 3, 0x55, 1, 0xFF, 0x55}
        << QStringList{"450.00000", "000.00000", "", "", "", "", ""} << false << false;
    QTest::newRow("no receive frequency")
        << 0x12 << QVariantList{45000000, 0, 3, 0x55, 1, 0xFF, 0x55}
        << QStringList{"000.00000", "450.00000", "4", "", "", "", ""} << false << false;
    QTest::newRow("outside the band")
        << 0x13 << QVariantList{43512500, 43512500, 2, 0x55, 3, 0x30, 0x55}
        << QStringList{"435.12500", "435.12500", "3", "Narrow", "L3", "Switch Signal", "ON"} << true
        << true;
    QTest::newRow("before any band read")
        << 0 << QVariantList{43512500, 43512500, 2, 0x55, 3, 0x00, 0x55}
        << QStringList{"435.12500", "435.12500", "3", "Narrow", "L3", "67.0Hz", "ON"} << true
        << true;
}

void TestChannelTable::readChannel()
{
    QFETCH(int, band);
    QFETCH(QVariantList, module);
    QFETCH(QStringList, shown);
    QFETCH(bool, red);
    QFETCH(bool, paramsRead);
    identify(band);
    ChannelState &channel = m_rig->module().channels[1];
    channel.txFreq = module[0].toUInt();
    channel.rxFreq = module[1].toUInt();
    channel.power = static_cast<quint8>(module[2].toUInt());
    channel.bandwidth = static_cast<quint8>(module[3].toUInt());
    channel.squelch = static_cast<quint8>(module[4].toUInt());
    channel.ctcssDcs = static_cast<quint8>(module[5].toUInt());
    channel.scan = static_cast<quint8>(module[6].toUInt());

    QVERIFY(m_rig->click("pushButton"));

    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    const QStringList actual{
        edit(2, "RxFreq")->displayText(),      edit(2, "TxFreq")->displayText(),
        selector(2, "TxPower")->currentText(), selector(2, "Bandwidth")->currentText(),
        selector(2, "SQLevel")->currentText(), selector(2, "CTCSS_DCS")->currentText(),
        selector(2, "Scan")->currentText()};
    QCOMPARE(actual, shown);
    QCOMPARE(edit(2, "RxFreq")->styleSheet(), red ? kRed : QString());
    QCOMPARE(edit(2, "TxFreq")->styleSheet(), red ? kRed : QString());
    QCOMPARE(m_rig->requests().contains(hex("322102")), paramsRead);
    QVERIFY(m_rig->boxes().shown.isEmpty());
}

void TestChannelTable::readRowsInPlace()
{
    identify(0x13);
    QVERIFY(m_rig->click("pushButton"));
    // Channel 1 must not be confused with channels 10 to 16.
    const QList<int> channels{1, 10, 16};
    for (int n : channels) {
        const ChannelState &state = m_rig->module().channels[n - 1];
        QCOMPARE(edit(n, "TxFreq")->displayText(),
                 QStringLiteral("%1.%2")
                     .arg(state.txFreq / 100000)
                     .arg(state.txFreq % 100000, 5, 10, QLatin1Char('0')));
        QCOMPARE(selector(n, "TxPower")->currentIndex(), int(state.power));
        QCOMPARE(selector(n, "SQLevel")->currentIndex(), int(state.squelch));
    }
    QVERIFY(m_rig->module().channels[0].txFreq != m_rig->module().channels[9].txFreq);
    QList<QByteArray> expected{hex("011400")};
    for (int n = 1; n <= 16; ++n)
        expected.append(QByteArray::fromHex("3221") + char(n));
    QCOMPARE(m_rig->requests(), expected);
}

void TestChannelTable::readProgress()
{
    identify(0x13);
    const QStringList read = overlayAtRequests([this] { m_rig->click("pushButton"); });
    QCOMPARE(read, (QStringList{"", "5%"} + kTablePercents));
    const QStringList written = overlayAtRequests([this] { m_rig->click("pushButton_2"); });
    QCOMPARE(written, (QStringList{"", "5%"} + kTablePercents));
    QCOMPARE(m_rig->status(), QStringLiteral("设置成功！"));
}

void TestChannelTable::readWarnsWithoutDeviceInfo()
{
    QSignalSpy messages(m_rig->window().statusBar(), &QStatusBar::messageChanged);
    QVERIFY(m_rig->click("pushButton"));
    QStringList shown;
    for (const auto &arguments : qAsConst(messages)) {
        if (!arguments.at(0).toString().isEmpty())
            shown.append(arguments.at(0).toString());
    }
    QCOMPARE(shown, (QStringList{"警告：请先读取设备信息！", "读取成功！"}));
}

void TestChannelTable::otherChannelsReplyRefused()
{
    // Channel 2 is answered with the parameters of channel 3.
    ScriptedModule module([](const QByteArray &request) -> QList<QByteArray> {
        if (request == hex("011400")) {
            return {table("011400", {{1, "450000004600000001"}, {2, "450125004601250002"}})};
        }
        if (request.startsWith(hex("3221")))
            return {hex("3221") + char(request.at(2) == 2 ? 3 : request.at(2)) + hex("55012f55")};
        return {};
    });
    QVERIFY(module.isValid());
    appSerialPort->close();
    appSerialPort->setPortName(module.portPath());
    QVERIFY(appSerialPort->open());

    QVERIFY(m_rig->click("pushButton"));

    QCOMPARE(m_rig->boxes().texts(), QStringList{"读频道参数失败！"});
    QCOMPARE(module.requests(), (QList<QByteArray>{hex("011400"), hex("322101"), hex("322102"),
                                                   hex("322102"), hex("322102")}));
    QCOMPARE(m_rig->status(), QStringLiteral("读取失败！"));
    QCOMPARE(selector(1, "CTCSS_DCS")->currentText(), QStringLiteral("229.1Hz"));
    QCOMPARE(edit(2, "TxFreq")->displayText(), QStringLiteral("450.12500"));
    QCOMPARE(m_rig->overlayText(), QStringLiteral("11%"));
}

void TestChannelTable::failedReadLeavesTableEmpty()
{
    identify(0x13);
    QVERIFY(m_rig->click("pushButton"));
    m_rig->sim().addFault("011400:refuse:*");
    m_rig->clear();
    QVERIFY(m_rig->click("pushButton"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"读频率和功率失败！"});
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(edit(n, "RxFreq")->displayText(), QStringLiteral("000.00000"));
        QCOMPARE(selector(n, "TxPower")->currentIndex(), -1);
        QCOMPARE(selector(n, "Scan")->currentIndex(), -1);
    }
}

void TestChannelTable::write_data()
{
    // Cells to set: a text for a frequency cell, an index for a selector, a style sheet for a
    // name ending in kStyle. Every channel not named here is empty.
    QTest::addColumn<bool>("identified");
    QTest::addColumn<QVariantMap>("cells");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QList<QByteArray>>("requests");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QVariantMap>("after"); // cell -> display text, index or style
    QTest::addColumn<QString>("status");

    const QVariantMap channel3{{"CH3_TxFreq", "450.12500"},
                               {"CH3_RxFreq", "460.00000"},
                               {"CH3_TxPower", 4},
                               {"CH3_Bandwidth", 1},
                               {"CH3_SQLevel", 2},
                               {"CH3_CTCSS_DCS", 54},
                               {"CH3_Scan", 1}};
    const QByteArray tableOf3 = freqWrite({{3, "450125004600000004"}});

    QTest::newRow("one channel") << true << channel3 << QStringList()
                                 << QList<QByteArray>{tableOf3, hex("32220300028000")}
                                 << QStringList() << QVariantMap{{"CH3_TxFreq", "450.12500"}}
                                 << "设置成功！";
    QVariantMap narrow = channel3;
    narrow.insert("CH3_Bandwidth", 0);
    narrow.insert("CH3_Scan", 0);
    narrow.insert("CH3_CTCSS_DCS", 0);
    QTest::newRow("narrow, scanned, no tone")
        << true << narrow << QStringList() << QList<QByteArray>{tableOf3, hex("3222035502ff55")}
        << QStringList() << QVariantMap() << "设置成功！";
    QVariantMap halfChannel = channel3;
    halfChannel.insert("CH3_TxFreq", "000.00000");
    QTest::newRow("no transmit frequency goes out empty")
        << true << halfChannel << QStringList() << QList<QByteArray>{freqWrite({})} << QStringList()
        << QVariantMap{{"CH3_RxFreq", "000.00000"},
                       {"CH3_TxPower", -1},
                       {"CH3_Bandwidth", -1},
                       {"CH3_CTCSS_DCS", -1}}
        << "设置成功！";
    // Channel 1 passes and loses its marking; channel 2 stops the write; channel 5 is not
    // looked at.
    QVariantMap outOfBand = channel3;
    outOfBand.insert("CH1_TxFreq", "450.00000");
    outOfBand.insert("CH1_RxFreq", "450.00000");
    outOfBand.insert("CH1_TxPower", 0);
    outOfBand.insert("CH1_RxFreq" + kStyle, "x");
    outOfBand.insert("CH2_TxFreq", "445.00000");
    outOfBand.insert("CH2_RxFreq", "450.00000");
    outOfBand.insert("CH5_RxFreq", "500.00000");
    outOfBand.insert("CH5_RxFreq" + kStyle, "x");
    QTest::newRow("frequency out of range") << true << outOfBand << QStringList()
                                            << QList<QByteArray>() << QStringList{"频率超出范围！"}
                                            << QVariantMap{{"CH1_RxFreq" + kStyle, ""},
                                                           {"CH2_TxFreq" + kStyle, kRed},
                                                           {"CH2_RxFreq" + kStyle, ""},
                                                           {"CH5_RxFreq" + kStyle, "x"}}
                                            << "设置失败！";
    QVariantMap noPower = channel3;
    noPower.insert("CH3_TxPower", -1);
    QTest::newRow("no power") << true << noPower << QStringList() << QList<QByteArray>()
                              << QStringList{"请选择发射功率值！"} << QVariantMap() << "设置失败！";
    const QList<std::pair<const char *, const char *>> refusals{
        {"CH3_Bandwidth", "请选择频道带宽！"},
        {"CH3_SQLevel", "请选择频道静噪等级！"},
        {"CH3_CTCSS_DCS", "请选择亚音频/数字亚音频！"},
        {"CH3_Scan", "请选择频是否扫描频道！"}};
    for (const auto &refusal : refusals) {
        QVariantMap cells = channel3;
        cells.insert(refusal.first, -1);
        QTest::addRow("%s without selection", refusal.first)
            << true << cells << QStringList() << QList<QByteArray>{tableOf3}
            << QStringList{refusal.second} << QVariantMap() << "设置失败！";
    }
    QVariantMap dcsHeading = channel3;
    dcsHeading.insert("CH3_CTCSS_DCS", 53);
    QTest::newRow("DCS heading") << true << dcsHeading << QStringList()
                                 << QList<QByteArray>{tableOf3}
                                 << QStringList{"请选择亚音频/数字亚音频！"} << QVariantMap()
                                 << "设置失败！";
    QTest::newRow("refused at once")
        << true << channel3 << QStringList{"011500:refuse:1"} << QList<QByteArray>{tableOf3}
        << QStringList{"设置频道的频率和功率失败！"} << QVariantMap() << "设置失败！";
    QTest::newRow("parameters refused at once")
        << true << channel3 << QStringList{"322203:refuse:1"}
        << QList<QByteArray>{tableOf3, hex("32220300028000")} << QStringList{"设置频道参数失败！"}
        << QVariantMap() << "设置失败！";
    QTest::newRow("acknowledgement lost once")
        << true << channel3 << QStringList{"011500:lead:1"}
        << QList<QByteArray>{tableOf3, tableOf3, hex("32220300028000")} << QStringList()
        << QVariantMap() << "设置成功！";
    QTest::newRow("not identified")
        << false << channel3 << QStringList() << QList<QByteArray>()
        << QStringList{"请先读取设备信息！"} << QVariantMap() << "设置失败！";
}

void TestChannelTable::write()
{
    QFETCH(bool, identified);
    QFETCH(QVariantMap, cells);
    QFETCH(QStringList, faults);
    QFETCH(QList<QByteArray>, requests);
    QFETCH(QStringList, boxes);
    QFETCH(QVariantMap, after);
    QFETCH(QString, status);
    identify(identified ? 0x13 : 0);
    for (const QString &fault : faults)
        QVERIFY(m_rig->sim().addFault(fault));
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        if (it.key().endsWith(kStyle))
            m_rig->widget<QLineEdit>(it.key().chopped(kStyle.size()))
                ->setStyleSheet(it.value().toString());
        else if (auto *line = m_rig->widget<QLineEdit>(it.key()))
            line->setText(it.value().toString());
        else
            m_rig->widget<QComboBox>(it.key())->setCurrentIndex(it.value().toInt());
    }

    QVERIFY(m_rig->click("pushButton_2"));

    QCOMPARE(m_rig->requests(), requests);
    QCOMPARE(m_rig->boxes().texts(), boxes);
    QCOMPARE(m_rig->status(), status);
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (it.key().endsWith(kStyle))
            QCOMPARE(m_rig->widget<QLineEdit>(it.key().chopped(kStyle.size()))->styleSheet(),
                     it.value().toString());
        else if (auto *line = m_rig->widget<QLineEdit>(it.key()))
            QCOMPARE(line->displayText(), it.value().toString());
        else
            QCOMPARE(m_rig->widget<QComboBox>(it.key())->currentIndex(), it.value().toInt());
    }
}

void TestChannelTable::writeReadTableBack()
{
    // What one module gave, written into a blank one, makes the same table.
    identify(0x13);
    const auto original = m_rig->module().channels;
    QVERIFY(m_rig->click("pushButton"));
    for (ChannelState &channel : m_rig->module().channels)
        channel = ChannelState{};
    QVERIFY(m_rig->click("pushButton_2"));
    QCOMPARE(m_rig->status(), QStringLiteral("设置成功！"));
    for (int i = 0; i < 16; ++i)
        QVERIFY2(m_rig->module().channels[i] == original[i], qPrintable(QString::number(i + 1)));
}

void TestChannelTable::frequencyEntry_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("red");
    QTest::addColumn<QStringList>("messages");
    const QString rx = QStringLiteral("CH1_RxFreq");
    const QString tx = QStringLiteral("CH16_TxFreq");
    QTest::newRow("to 5 kHz") << 0x11 << rx << "435.00300"
                              << "435.00500" << false << QStringList();
    QTest::newRow("both grids") << 0x11 << tx << "435.12345"
                                << "435.12500" << false << QStringList();
    QTest::newRow("tie") << 0x11 << rx << "435.00250"
                         << "435.00500" << false << QStringList();
    QTest::newRow("6.25 kHz") << 0x11 << rx << "435.00600"
                              << "435.00625" << false << QStringList();
    QTest::newRow("out of band") << 0x11 << tx << "445.00000"
                                 << "445.00000" << true << QStringList{"警告：频率超出范围！"};
    QTest::newRow("V band 7.5 kHz") << 0x10 << rx << "150.00700"
                                    << "150.00750" << false << QStringList();
    QTest::newRow("no band read") << 0 << rx << "150.00700"
                                  << "150.00625" << true
                                  << QStringList{"警告：操作前请先读取设备信息！",
                                                 "警告：频率超出范围！"};
    QTest::newRow("short integer part filled with zeros") << 0x11 << rx << "4.35"
                                                          << "400.35000" << false << QStringList();
}

void TestChannelTable::frequencyEntry()
{
    QFETCH(int, band);
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, red);
    QFETCH(QStringList, messages);
    identify(band);
    auto *line = m_rig->widget<QLineEdit>(cell);
    line->setText(typed);
    QSignalSpy spy(m_rig->window().statusBar(), &QStatusBar::messageChanged);
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(line->displayText(), shown);
    QCOMPARE(line->styleSheet(), red ? kRed : QString());
    QStringList actual;
    for (const auto &arguments : qAsConst(spy)) {
        if (!arguments.at(0).toString().isEmpty())
            actual.append(arguments.at(0).toString());
    }
    QCOMPARE(actual, messages);
    QVERIFY(m_rig->requests().isEmpty());

    // Emptied again: the marking goes, the text stays as typed.
    line->clear();
    const QString emptied = line->text();
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(line->styleSheet(), QString());
    QCOMPARE(line->text(), emptied);
}

void TestChannelTable::shownFrequencyMatchesTheCell_data()
{
    QTest::addColumn<quint32>("value");
    for (quint32 value : {0u, 1u, 99999u, 100000u, 435000u, 4351250u, 9999999u, 10000000u,
                          43512500u, 99999999u, 100000000u, 123456789u, 4294967295u})
        QTest::newRow(qPrintable(QString::number(value))) << value;
}

void TestChannelTable::shownFrequencyMatchesTheCell()
{
    // The command-line tool must store what a table cell would read back.
    QFETCH(quint32, value);
    QLineEdit cell;
    cell.setInputMask(ChannelCodec::kFrequencyMask);
    cell.setText(ChannelCodec::frequencyText(value));
    QCOMPARE(ChannelCodec::shownFrequency(value),
             ChannelCodec::frequencyFromText(cell.displayText()));
}

QTEST_MAIN(TestChannelTable)
#include "tst_channeltable.moc"
