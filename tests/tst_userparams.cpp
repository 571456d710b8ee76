#include "support/factoryrig.h"
#include "support/hexbytes.h"
#include "support/scriptedmodule.h"

#include "device/usercommands.h"
#include "serial/mserialport.h"
#include "ui/loadingwidget.h"
#include "ui/widgetvalues.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

namespace {
// The radio button pairs by their first button.
const QMap<QString, QString> kPairs{{"radioButton", "radioButton_2"},
                                    {"radioButton_3", "radioButton_4"},
                                    {"radioButton_5", "radioButton_6"},
                                    {"radioButton_7", "radioButton_8"}};

void setModule(ModuleState &state, const QString &member, int value)
{
    const auto byte = static_cast<quint8>(value);
    if (member == "ctrlMode")
        state.ctrlMode = byte;
    else if (member == "currentChannel")
        state.currentChannel = byte;
    else if (member == "txTimeout")
        state.txTimeout = byte;
    else if (member == "protectTime")
        state.protectTime = byte;
    else if (member == "volume")
        state.volume = byte;
    else if (member == "powerSave")
        state.powerSave = byte;
    else if (member == "sleepTime")
        state.sleepTime = byte;
    else if (member == "standbyTime")
        state.standbyTime = byte;
    else if (member == "audioWave")
        state.audioWave = byte;
    else if (member == "sidetone")
        state.sidetone = byte;
    else if (member == "rssi")
        state.rssi = static_cast<qint8>(value);
    else if (member == "scanMode")
        state.scanMode = byte;
    else
        QFAIL(qPrintable("unknown member " + member));
}

int moduleValue(const ModuleState &state, const QString &member)
{
    const QMap<QString, int> values{{"ctrlMode", state.ctrlMode},
                                    {"currentChannel", state.currentChannel},
                                    {"storeChannel", state.storeChannel},
                                    {"txTimeout", state.txTimeout},
                                    {"protectTime", state.protectTime},
                                    {"volume", state.volume},
                                    {"powerSave", state.powerSave},
                                    {"sleepTime", state.sleepTime},
                                    {"standbyTime", state.standbyTime},
                                    {"audioWave", state.audioWave},
                                    {"sidetone", state.sidetone},
                                    {"scanMode", state.scanMode},
                                    {"virtualPortDisabled", state.virtualPortDisabled}};
    return values.value(member, -1000);
}

// Channel percentages of reading and writing all parameters, as the operators see them.
const QStringList kReadAllChannels{"13%", "17%", "20%", "24%", "27%", "31%", "34%", "37%",
                                   "41%", "44%", "48%", "51%", "55%", "58%", "62%", "65%"};
const QStringList kWriteAllChannels{"3%",  "7%",  "11%", "15%", "19%", "23%", "26%", "30%",
                                    "34%", "38%", "42%", "46%", "50%", "53%", "57%", "61%"};
} // namespace

class TestUserParams : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rangesMatchTheForm_data();
    void rangesMatchTheForm();
    void reads_data();
    void reads();
    void failedReadsBlank_data();
    void failedReadsBlank();
    void writes_data();
    void writes();
    void blankInputsRefused_data();
    void blankInputsRefused();
    void cancelledVolumeRead();
    void acknowledgements_data();
    void acknowledgements();
    void powerSaveTimeFollowsMode();
    void readAll();
    void readAllStopsAtFailure();
    void writeAllAsks();
    void writeAll_data();
    void writeAll();

private:
    template<class T> T *w(const QString &name) const { return m_rig->widget<T>(name); }
    // "first" or "second" button checked, or "none"; a spin box's text; a combo box's index.
    QString shown(const QString &widget) const;
    void enablePowerSaveTimes();
    QStringList overlayAtRequests(const std::function<void()> &operation);

    std::unique_ptr<FactoryRig> m_rig;
};

void TestUserParams::init()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
}

void TestUserParams::cleanup()
{
    m_rig.reset();
}

QString TestUserParams::shown(const QString &widget) const
{
    if (kPairs.contains(widget)) {
        const bool first = w<QRadioButton>(widget)->isChecked();
        const bool second = w<QRadioButton>(kPairs.value(widget))->isChecked();
        return first ? QStringLiteral("first") : second ? QStringLiteral("second") : "none";
    }
    if (auto *spin = w<QSpinBox>(widget))
        return spin->text();
    if (auto *combo = w<QComboBox>(widget))
        return QString::number(combo->currentIndex());
    return w<QLineEdit>(widget)->text();
}

void TestUserParams::enablePowerSaveTimes()
{
    m_rig->module().powerSave = Wire::kOn;
    m_rig->click("pushButton_11");
    QVERIFY(w<QPushButton>("pushButton_13")->isEnabled());
    m_rig->clear();
}

QStringList TestUserParams::overlayAtRequests(const std::function<void()> &operation)
{
    QStringList texts;
    const auto connection = connect(&m_rig->sim().simulator(), &ModuleSimulator::requestReceived,
                                    this, [&] { texts.append(m_rig->overlayText()); });
    operation();
    disconnect(connection);
    texts.append(m_rig->overlayText());
    return texts;
}

void TestUserParams::rangesMatchTheForm_data()
{
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    const auto add = [](const char *name, UserParams::Range range) {
        QTest::newRow(name) << name << range.minimum << range.maximum;
    };
    add("spinBox", UserParams::kCurrentChannel);
    add("spinBox_2", UserParams::kTxTimeout);
    add("spinBox_3", UserParams::kStopTime);
    add("spinBox_4", UserParams::kVolume);
    add("spinBox_5", UserParams::kSleepTime);
    add("spinBox_6", UserParams::kStandbyTime);
}

void TestUserParams::rangesMatchTheForm()
{
    // The command-line tool clamps as these boxes do.
    QFETCH(QString, spinBox);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QCOMPARE(w<QSpinBox>(spinBox)->minimum(), minimum);
    QCOMPARE(w<QSpinBox>(spinBox)->maximum(), maximum);
    QCOMPARE(w<QComboBox>("comboBox")->count(), UserParams::kScanModeCount);
}

void TestUserParams::reads_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("DIP switch") << "ctrlMode" << 0x55 << "pushButton_3"
                                << "radioButton"
                                << "first" << hex("3209");
    QTest::newRow("by program 00") << "ctrlMode" << 0x00 << "pushButton_3"
                                   << "radioButton"
                                   << "second" << hex("3209");
    QTest::newRow("by program 01") << "ctrlMode" << 0x01 << "pushButton_3"
                                   << "radioButton"
                                   << "second" << hex("3209");
    QTest::newRow("channel 5") << "currentChannel" << 5 << "pushButton_5"
                               << "spinBox"
                               << "5" << hex("0116");
    QTest::newRow("channel 20 clamped") << "currentChannel" << 20 << "pushButton_5"
                                        << "spinBox"
                                        << "16" << hex("0116");
    QTest::newRow("tx timeout") << "txTimeout" << 200 << "pushButton_7"
                                << "spinBox_2"
                                << "200" << hex("33");
    QTest::newRow("stop time") << "protectTime" << 9 << "pushButton_7"
                               << "spinBox_3"
                               << "9" << hex("33");
    QTest::newRow("volume") << "volume" << 7 << "pushButton_9"
                            << "spinBox_4"
                            << "7" << hex("a009");
    QTest::newRow("power save on") << "powerSave" << 0x55 << "pushButton_11"
                                   << "radioButton_3"
                                   << "first" << hex("3201");
    QTest::newRow("power save off") << "powerSave" << 0x00 << "pushButton_11"
                                    << "radioButton_3"
                                    << "second" << hex("3201");
    QTest::newRow("sleep") << "sleepTime" << 25 << "pushButton_13"
                           << "spinBox_5"
                           << "25" << hex("3203");
    QTest::newRow("standby") << "standbyTime" << 15 << "pushButton_13"
                             << "spinBox_6"
                             << "15" << hex("3203");
    QTest::newRow("square wave") << "audioWave" << 0x55 << "pushButton_21"
                                 << "radioButton_7"
                                 << "first" << hex("3205");
    QTest::newRow("sine wave") << "audioWave" << 0x00 << "pushButton_21"
                               << "radioButton_7"
                               << "second" << hex("3205");
    QTest::newRow("sidetone on") << "sidetone" << 0x55 << "pushButton_19"
                                 << "radioButton_5"
                                 << "first" << hex("3207");
    QTest::newRow("sidetone off") << "sidetone" << 0xAA << "pushButton_19"
                                  << "radioButton_5"
                                  << "second" << hex("3207");
    QTest::newRow("rssi -10") << "rssi" << -10 << "pushButton_18"
                              << "lineEdit"
                              << "-10" << hex("c1");
    QTest::newRow("rssi 80") << "rssi" << 80 << "pushButton_18"
                             << "lineEdit"
                             << "80" << hex("c1");
    QTest::newRow("scan mode 2") << "scanMode" << 2 << "pushButton_15"
                                 << "comboBox"
                                 << "2" << hex("321d");
    QTest::newRow("scan mode 7") << "scanMode" << 7 << "pushButton_15"
                                 << "comboBox"
                                 << "-1" << hex("321d");
}

void TestUserParams::reads()
{
    QFETCH(QString, member);
    QFETCH(int, value);
    QFETCH(QString, button);
    QFETCH(QString, widget);
    QFETCH(QString, expected);
    QFETCH(QByteArray, request);
    if (button == "pushButton_13")
        enablePowerSaveTimes();
    setModule(m_rig->module(), member, value);

    QVERIFY(m_rig->click(button));

    QCOMPARE(shown(widget), expected);
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    QVERIFY(m_rig->boxes().shown.isEmpty());
    QVERIFY(m_rig->window().findChild<LoadingWidget *>()->isHidden());
}

void TestUserParams::failedReadsBlank_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("widgets");
    QTest::addColumn<QStringList>("blank");
    QTest::addColumn<QString>("box");
    QTest::newRow("ctrl mode") << "pushButton_3"
                               << "3209" << QStringList{"radioButton"} << QStringList{"none"}
                               << "读频道控制模式失败！";
    QTest::newRow("channel") << "pushButton_5"
                             << "0116" << QStringList{"spinBox"} << QStringList{" "}
                             << "读当前频道失败！";
    QTest::newRow("tx protect") << "pushButton_7"
                                << "33" << QStringList{"spinBox_2", "spinBox_3"}
                                << QStringList{" ", " "} << "读发射保护时间失败！";
    QTest::newRow("volume") << "pushButton_9"
                            << "a009" << QStringList{"spinBox_4"} << QStringList{" "}
                            << "读音量失败！";
    QTest::newRow("power save") << "pushButton_11"
                                << "3201" << QStringList{"radioButton_3"} << QStringList{"none"}
                                << "读省电模式失败！";
    QTest::newRow("power save time") << "pushButton_13"
                                     << "3203" << QStringList{"spinBox_5", "spinBox_6"}
                                     << QStringList{" ", " "} << "读省电模式时间失败！";
    QTest::newRow("wave") << "pushButton_21"
                          << "3205" << QStringList{"radioButton_7"} << QStringList{"none"}
                          << "读音频口输出波形类型失败！";
    QTest::newRow("sidetone") << "pushButton_19"
                              << "3207" << QStringList{"radioButton_5"} << QStringList{"none"}
                              << "读侧音开关失败！";
    QTest::newRow("rssi") << "pushButton_18"
                          << "c1" << QStringList{"lineEdit"} << QStringList{""} << "读 RSSI 失败！";
    QTest::newRow("scan mode") << "pushButton_15"
                               << "321d" << QStringList{"comboBox"} << QStringList{"-1"}
                               << "读频道扫描模式失败！";
}

void TestUserParams::failedReadsBlank()
{
    QFETCH(QString, button);
    QFETCH(QString, prefix);
    QFETCH(QStringList, widgets);
    QFETCH(QStringList, blank);
    QFETCH(QString, box);
    if (button == "pushButton_13")
        enablePowerSaveTimes();
    // Something on show that a failed read must not leave standing.
    w<QRadioButton>("radioButton")->setChecked(true);
    w<QRadioButton>("radioButton_3")->setChecked(true);
    w<QRadioButton>("radioButton_5")->setChecked(true);
    w<QRadioButton>("radioButton_7")->setChecked(true);
    w<QLineEdit>("lineEdit")->setText("12");
    w<QComboBox>("comboBox")->setCurrentIndex(1);
    // A reply of the right length and the wrong lead, every time.
    QVERIFY(m_rig->sim().addFault(prefix + ":lead:*"));

    QVERIFY(m_rig->click(button));

    QStringList actual;
    for (const QString &widget : widgets)
        actual.append(shown(widget));
    QCOMPARE(actual, blank);
    QCOMPARE(m_rig->boxes().texts(), QStringList{box});
    QCOMPARE(m_rig->requests().size(), 3);
    QCOMPARE(m_rig->status(), QStringLiteral("读取失败！"));
}

void TestUserParams::writes_data()
{
    QTest::addColumn<QVariantMap>("setup");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("failure"); // when the module refuses
    QTest::newRow("channel 5 stored")
        << QVariantMap{{"spinBox", 5}, {"checkBox", true}} << "pushButton_6" << hex("01170501")
        << "currentChannel" << 5 << "设置当前频道失败！";
    QTest::newRow("channel 16 not stored")
        << QVariantMap{{"spinBox", 16}, {"checkBox", false}} << "pushButton_6" << hex("01171000")
        << "storeChannel" << 0 << "设置当前频道失败！";
    QTest::newRow("DIP switch") << QVariantMap{{"radioButton", true}} << "pushButton_4"
                                << hex("320a55") << "ctrlMode" << 0x55 << "设置频道控制模式失败！";
    QTest::newRow("by program") << QVariantMap{{"radioButton_2", true}} << "pushButton_4"
                                << hex("320a00") << "ctrlMode" << 0x00 << "设置频道控制模式失败！";
    QTest::newRow("tx protect") << QVariantMap{{"spinBox_2", 255}, {"spinBox_3", 7}}
                                << "pushButton_8" << hex("34ff07") << "protectTime" << 7
                                << "设置发射保护时间失败！";
    QTest::newRow("volume 9") << QVariantMap{{"spinBox_4", 9}} << "pushButton_10" << hex("a10909")
                              << "volume" << 9 << "设置音量失败！";
    QTest::newRow("power save on") << QVariantMap{{"radioButton_3", true}} << "pushButton_12"
                                   << hex("320255") << "powerSave" << 0x55 << "设置省电模式失败！";
    QTest::newRow("power save times")
        << QVariantMap{{"spinBox_5", 25}, {"spinBox_6", 15}} << "pushButton_14" << hex("3204190f")
        << "standbyTime" << 15 << "设置省电模式时间失败！";
    QTest::newRow("sine wave") << QVariantMap{{"radioButton_8", true}} << "pushButton_22"
                               << hex("320600") << "audioWave" << 0x00
                               << "设置音频口输出波形类型失败！";
    QTest::newRow("sidetone on") << QVariantMap{{"radioButton_5", true}} << "pushButton_20"
                                 << hex("320855") << "sidetone" << 0x55 << "设置侧音开关失败！";
    QTest::newRow("scan mode 2") << QVariantMap{{"comboBox", 2}} << "pushButton_16"
                                 << hex("321e0200") << "scanMode" << 2 << "设置频道扫描模式失败！";
    QTest::newRow("virtual port") << QVariantMap() << "pushButton_17" << hex("322055")
                                  << "virtualPortDisabled" << 1 << "设置停用虚拟串口失败！";
}

void TestUserParams::writes()
{
    QFETCH(QVariantMap, setup);
    QFETCH(QString, button);
    QFETCH(QByteArray, request);
    QFETCH(QString, member);
    QFETCH(int, stored);
    QFETCH(QString, failure);
    if (button == "pushButton_14")
        enablePowerSaveTimes();
    for (auto it = setup.cbegin(); it != setup.cend(); ++it) {
        if (auto *check = w<QAbstractButton>(it.key()))
            check->setChecked(it.value().toBool());
        else if (auto *spin = w<QSpinBox>(it.key()))
            spin->setValue(it.value().toInt());
        else
            w<QComboBox>(it.key())->setCurrentIndex(it.value().toInt());
    }

    QVERIFY(m_rig->click(button));

    QCOMPARE(m_rig->requestsWithoutRetries(), QList<QByteArray>{request});
    QCOMPARE(moduleValue(m_rig->module(), member), stored);
    QCOMPARE(m_rig->status(), QStringLiteral("设置成功！"));
    QVERIFY(m_rig->boxes().shown.isEmpty());

    // Refused: told at once, not repeated.
    m_rig->clear();
    QVERIFY(m_rig->sim().addFault(QString::fromLatin1(request.left(2).toHex()) + ":refuse:1"));
    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->boxes().texts(), QStringList{failure});
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
    QCOMPARE(m_rig->status(), QStringLiteral("设置失败！"));
}

void TestUserParams::blankInputsRefused_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box"); // empty: not blank, sent
    QTest::newRow("ctrl mode") << "radioButton"
                               << "pushButton_4"
                               << "请选择频道控制模式！";
    QTest::newRow("channel") << "spinBox"
                             << "pushButton_6"
                             << "请选择频道值！";
    QTest::newRow("tx timeout") << "spinBox_2"
                                << "pushButton_8"
                                << "请配置发射保护时间值！";
    QTest::newRow("stop time") << "spinBox_3"
                               << "pushButton_8"
                               << "请配置发射保护时间值！";
    QTest::newRow("volume") << "spinBox_4"
                            << "pushButton_10"
                            << "请配置音量！";
    QTest::newRow("power save") << "radioButton_3"
                                << "pushButton_12"
                                << "请选择省电模式！";
    QTest::newRow("sleep") << "spinBox_5"
                           << "pushButton_14"
                           << "请配置省电模式时间值！";
    QTest::newRow("standby") << "spinBox_6"
                             << "pushButton_14"
                             << "请配置省电模式时间值！";
    QTest::newRow("wave") << "radioButton_7"
                          << "pushButton_22"
                          << "请选择音频口输出波形类型！";
    QTest::newRow("sidetone") << "radioButton_5"
                              << "pushButton_20"
                              << "请打开或关闭侧音！";
    QTest::newRow("scan mode") << "comboBox"
                               << "pushButton_16"
                               << "请选择频道扫描模式！";
    QTest::newRow("marker above the minimum") << "spinBox_4 at 3"
                                              << "pushButton_10"
                                              << "";
}

void TestUserParams::blankInputsRefused()
{
    QFETCH(QString, blank);
    QFETCH(QString, button);
    QFETCH(QString, box);
    if (button == "pushButton_14")
        enablePowerSaveTimes();
    // Everything set, then the one input blanked as a failed read leaves it.
    for (const QString &first : kPairs.keys())
        w<QRadioButton>(first)->setChecked(true);
    w<QComboBox>("comboBox")->setCurrentIndex(1);
    if (kPairs.contains(blank)) {
        WidgetValues::blank(w<QRadioButton>(blank), w<QRadioButton>(kPairs.value(blank)));
    } else if (blank == "comboBox") {
        WidgetValues::blank(w<QComboBox>(blank));
    } else {
        const QStringList parts = blank.split(" at ");
        auto *spin = w<QSpinBox>(parts.first());
        spin->setValue(parts.size() > 1 ? parts.last().toInt() : spin->minimum());
        WidgetValues::blank(spin);
    }

    QVERIFY(m_rig->click(button));

    if (box.isEmpty()) {
        QCOMPARE(m_rig->requests(), QList<QByteArray>{hex("a10903")});
        QVERIFY(m_rig->boxes().shown.isEmpty());
    } else {
        QCOMPARE(m_rig->boxes().texts(), QStringList{box});
        QCOMPARE(m_rig->boxes().shown.first().title, QStringLiteral("错误"));
        QVERIFY(m_rig->requests().isEmpty());
        QCOMPARE(m_rig->status(), QStringLiteral("设置失败！"));
    }
}

void TestUserParams::cancelledVolumeRead()
{
    auto *volume = w<QSpinBox>("spinBox_4");
    volume->setValue(0);
    QVERIFY(m_rig->sim().addFault("a009:drop:*"));
    auto *overlay = m_rig->window().findChild<LoadingWidget *>();
    QTimer::singleShot(100, overlay, [overlay] { QTest::mouseDClick(overlay, Qt::LeftButton); });
    QVERIFY(m_rig->click("pushButton_9"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"读音量失败！"});
    QCOMPARE(m_rig->requests().size(), 1);
    QCOMPARE(volume->text(), QStringLiteral(" "));

    m_rig->clear();
    QVERIFY(m_rig->click("pushButton_10"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请配置音量！"});
    QVERIFY(m_rig->requests().isEmpty());

    m_rig->clear();
    volume->stepUp();
    volume->stepDown();
    QCOMPARE(volume->text(), QStringLiteral("0"));
    QVERIFY(m_rig->click("pushButton_10"));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{hex("a10900")});
    QCOMPARE(m_rig->status(), QStringLiteral("设置成功！"));
}

void TestUserParams::acknowledgements_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("sent");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("00 01 done") << hex("0001") << 1 << QStringList();
    QTest::newRow("00 00 refused at once") << hex("0000") << 1 << QStringList{"设置省电模式失败！"};
    QTest::newRow("00 02 refused at once") << hex("0002") << 1 << QStringList{"设置省电模式失败！"};
    QTest::newRow("32 02 repeats") << hex("3202") << 3 << QStringList{"设置省电模式失败！"};
    QTest::newRow("00 01 00 repeats") << hex("000100") << 3 << QStringList{"设置省电模式失败！"};
}

void TestUserParams::acknowledgements()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, sent);
    QFETCH(QStringList, boxes);
    ScriptedModule module([reply](const QByteArray &) { return QList<QByteArray>{reply}; });
    QVERIFY(module.isValid());
    appSerialPort->close();
    appSerialPort->setPortName(module.portPath());
    QVERIFY(appSerialPort->open());
    w<QRadioButton>("radioButton_3")->setChecked(true);

    QVERIFY(m_rig->click("pushButton_12"));

    QCOMPARE(module.requests(), QVector<QByteArray>(sent, hex("320255")).toList());
    QCOMPARE(m_rig->boxes().texts(), boxes);
    QCOMPARE(m_rig->status(),
             boxes.isEmpty() ? QStringLiteral("设置成功！") : QStringLiteral("设置失败！"));
    // Only a done power save write lets the time buttons follow it.
    QCOMPARE(w<QPushButton>("pushButton_13")->isEnabled(), boxes.isEmpty());
}

void TestUserParams::powerSaveTimeFollowsMode()
{
    auto *read = w<QPushButton>("pushButton_13");
    auto *set = w<QPushButton>("pushButton_14");
    QVERIFY(!read->isEnabled());
    QVERIFY(!set->isEnabled());

    m_rig->module().powerSave = Wire::kOn;
    QVERIFY(m_rig->click("pushButton_11"));
    QVERIFY(read->isEnabled());
    QVERIFY(set->isEnabled());

    w<QRadioButton>("radioButton_4")->setChecked(true);
    QVERIFY(read->isEnabled()); // choosing alone changes nothing
    QVERIFY(m_rig->click("pushButton_12"));
    QVERIFY(!read->isEnabled());
    QVERIFY(!set->isEnabled());

    QVERIFY(m_rig->sim().addFault("3201:lead:*"));
    m_rig->module().powerSave = Wire::kOn;
    QVERIFY(m_rig->click("pushButton_11"));
    QCOMPARE(m_rig->status(), QStringLiteral("读取失败！"));
    QVERIFY(!read->isEnabled());
}

void TestUserParams::readAll()
{
    m_rig->module().volume = 8;
    m_rig->module().scanMode = 3;
    m_rig->module().ctrlMode = Wire::kOn;
    const QStringList overlay =
        overlayAtRequests([this] { m_rig->widget<QAction>("action_6")->trigger(); });

    QStringList expectedRequests{"3223", "0118", "c6", "011400"};
    for (int n = 1; n <= 16; ++n)
        expectedRequests.append(QStringLiteral("3221%1").arg(n, 2, 16, QLatin1Char('0')));
    expectedRequests += {"3209", "0116", "33", "a009", "3201", "3203", "3205", "3207", "321d"};
    QCOMPARE(m_rig->requests(), hexList(expectedRequests));
    const QStringList tail{"68%", "72%", "75%", "79%", "82%", "86%", "89%", "93%", "96%"};
    QCOMPARE(overlay, QStringList({"", "0%", "3%", "6%", "10%"}) + kReadAllChannels + tail);
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    QCOMPARE(w<QSpinBox>("spinBox_4")->value(), 8);
    QCOMPARE(w<QComboBox>("comboBox")->currentIndex(), 3);
    QVERIFY(w<QRadioButton>("radioButton")->isChecked());
    QCOMPARE(w<QLineEdit>("lineEdit_4")->text(), QStringLiteral("450 MHz - 490 MHz"));
}

void TestUserParams::readAllStopsAtFailure()
{
    QVERIFY(m_rig->sim().addFault("3201:lead:*"));
    m_rig->widget<QAction>("action_6")->trigger();
    QCOMPARE(m_rig->boxes().texts(), QStringList{"读省电模式失败！"});
    QCOMPARE(m_rig->requests().last(), hex("3201"));
    QCOMPARE(m_rig->requests().count(hex("3201")), 3);
    QCOMPARE(m_rig->status(), QStringLiteral("读取失败！"));
    QCOMPARE(m_rig->overlayText(), QStringLiteral("79%"));
}

void TestUserParams::writeAllAsks()
{
    m_rig->widget<QAction>("action_6")->trigger();
    m_rig->clear();
    m_rig->boxes().setAnswer(QMessageBox::No);
    m_rig->widget<QAction>("action_8")->trigger();
    QCOMPARE(m_rig->boxes().shown.size(), 1);
    const MessageBox::Shown question = m_rig->boxes().shown.first();
    QCOMPARE(question.icon, QMessageBox::Warning);
    QCOMPARE(question.title, QStringLiteral("警告"));
    QCOMPARE(question.text, QStringLiteral("您是否真的要将当前的所有参数写入电台？"));
    QVERIFY(m_rig->requests().isEmpty());
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
}

void TestUserParams::writeAll_data()
{
    QTest::addColumn<bool>("dipSwitch");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("overlay");
    QTest::addColumn<QString>("status");
    const QStringList tail{"65%", "69%", "73%", "76%", "80%", "84%", "88%", "92%", "96%"};
    QStringList byProgram = QStringList{"", "0%"} + kWriteAllChannels + tail;
    QTest::newRow("by program") << false << QStringList() << byProgram << "设置成功！";
    // No request for the current channel: the overlay shows 69% when the next one arrives.
    QStringList byDip = byProgram;
    byDip.removeAt(byDip.indexOf("65%"));
    QTest::newRow("DIP switch") << true << QStringList() << byDip << "设置成功！";
    QTest::newRow("control mode refused")
        << false << QStringList{"320a:refuse:1"}
        << QStringList{"", "0%"} + kWriteAllChannels + QStringList{"61%"} << "设置失败！";
}

void TestUserParams::writeAll()
{
    QFETCH(bool, dipSwitch);
    QFETCH(QStringList, faults);
    QFETCH(QStringList, overlay);
    QFETCH(QString, status);
    m_rig->module().ctrlMode = dipSwitch ? Wire::kOn : Wire::kOff;
    m_rig->module().currentChannel = 9;
    m_rig->widget<QAction>("action_6")->trigger();
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    const ModuleState before = m_rig->module();
    m_rig->module() = ModuleState::defaults(before.band);
    m_rig->module().currentChannel = 2;
    for (const QString &fault : faults)
        QVERIFY(m_rig->sim().addFault(fault));
    m_rig->clear();
    m_rig->boxes().setAnswer(QMessageBox::Yes);

    const QStringList shown =
        overlayAtRequests([this] { m_rig->widget<QAction>("action_8")->trigger(); });

    QCOMPARE(shown, overlay);
    QCOMPARE(m_rig->status(), status);
    QCOMPARE(m_rig->requests().contains(hex("01170901")), !dipSwitch && faults.isEmpty());
    QCOMPARE(m_rig->requests().contains(hex("c1")), false);
    QCOMPARE(m_rig->requests().contains(hex("322055")), false);
    if (faults.isEmpty()) {
        QCOMPARE(m_rig->module().currentChannel, quint8(dipSwitch ? 2 : 9));
        QCOMPARE(m_rig->module().ctrlMode, before.ctrlMode);
        QCOMPARE(m_rig->module().volume, before.volume);
    }
}

QTEST_MAIN(TestUserParams)
#include "tst_userparams.moc"
