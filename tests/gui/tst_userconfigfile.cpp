#include "support/factoryrig.h"

#include "config/userconfig.h"
#include "device/usercommands.h"
#include "serial/mserialport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {
const QStringList kPairs{"radioButton", "radioButton_3", "radioButton_5", "radioButton_7"};
const QStringList kSpinBoxes{"spinBox",   "spinBox_2", "spinBox_3",
                             "spinBox_4", "spinBox_5", "spinBox_6"};
const QStringList kSelectors{"TxPower", "Bandwidth", "SQLevel", "CTCSS_DCS", "Scan"};
const QString kRed =
    QStringLiteral("color:red;  border-width: 1px; border-style: solid; border-color:red;");

QString cell(int channel, const QString &field)
{
    return QStringLiteral("CH%1_%2").arg(channel).arg(field);
}

// Everything the user configuration file holds, as the widgets show it.
QMap<QString, QString> snapshot(const MainWindow &window)
{
    QMap<QString, QString> shown;
    for (const QString &first : kPairs) {
        const QString second = first == "radioButton"
                                   ? "radioButton_2"
                                   : "radioButton_" + QString::number(first.mid(12).toInt() + 1);
        const bool a = window.findChild<QRadioButton *>(first)->isChecked();
        const bool b = window.findChild<QRadioButton *>(second)->isChecked();
        shown.insert(first, a ? "first" : b ? "second" : "none");
    }
    for (const QString &name : kSpinBoxes)
        shown.insert(name, window.findChild<QSpinBox *>(name)->text());
    shown.insert("checkBox", window.findChild<QCheckBox *>("checkBox")->isChecked() ? "1" : "0");
    shown.insert("comboBox",
                 QString::number(window.findChild<QComboBox *>("comboBox")->currentIndex()));
    for (int n = 1; n <= 16; ++n) {
        for (const QString &field : {QStringLiteral("RxFreq"), QStringLiteral("TxFreq")})
            shown.insert(cell(n, field),
                         window.findChild<QLineEdit *>(cell(n, field))->displayText());
        for (const QString &field : kSelectors)
            shown.insert(
                cell(n, field),
                QString::number(window.findChild<QComboBox *>(cell(n, field))->currentIndex()));
    }
    return shown;
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

struct Asked
{
    bool save = false;
    QString title;
    QString dir;
};
} // namespace

class TestUserConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dialogs_data();
    void dialogs();
    void nextDialogStartsInLastDirectory();
    void saveThenLoad_data();
    void saveThenLoad();
    void loadedMinimumIsNoBlank();
    void saveKeepsOtherMembers();
    void loadConversions_data();
    void loadConversions();
    void unopenableFile_data();
    void unopenableFile();
    void moduleToModuleThroughFile();
    void fileWithoutWindowMatches();

private:
    // Answers the next file dialogs with path and records what they asked.
    void answerDialogs(MainWindow &window, const QString &path);
    void trigger(MainWindow &window, const char *action);
    void configureUserPage();

    std::unique_ptr<FactoryRig> m_rig;
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Asked> m_asked;
};

void TestUserConfigFile::init()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_asked.clear();
}

void TestUserConfigFile::cleanup()
{
    m_rig.reset();
    m_dir.reset();
}

void TestUserConfigFile::answerDialogs(MainWindow &window, const QString &path)
{
    window.setFileChooser([this, path](bool save, const QString &title, const QString &dir) {
        m_asked.append({save, title, dir});
        return path;
    });
}

void TestUserConfigFile::trigger(MainWindow &window, const char *action)
{
    window.findChild<QAction *>(QLatin1String(action))->trigger();
}

// A user page unlike the defaults: the module's table and values chosen here.
void TestUserConfigFile::configureUserPage()
{
    m_rig->widget<QAction>("action_6")->trigger();
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    m_rig->widget<QRadioButton>("radioButton")->setChecked(true);
    m_rig->widget<QSpinBox>("spinBox")->setValue(5);
    m_rig->widget<QCheckBox>("checkBox")->setChecked(false);
    m_rig->widget<QSpinBox>("spinBox_2")->setValue(123);
    m_rig->widget<QSpinBox>("spinBox_3")->setValue(45);
    m_rig->widget<QSpinBox>("spinBox_4")->setValue(6);
    m_rig->widget<QRadioButton>("radioButton_3")->setChecked(true);
    m_rig->widget<QSpinBox>("spinBox_5")->setValue(21);
    m_rig->widget<QSpinBox>("spinBox_6")->setValue(11);
    m_rig->widget<QRadioButton>("radioButton_7")->setChecked(true);
    m_rig->widget<QRadioButton>("radioButton_5")->setChecked(true);
    m_rig->widget<QComboBox>("comboBox")->setCurrentIndex(2);
    // An empty channel and a selector without selection travel too.
    m_rig->widget<QLineEdit>(cell(7, "TxFreq"))->setText("0.00000");
    m_rig->widget<QComboBox>(cell(9, "CTCSS_DCS"))->setCurrentIndex(-1);
}

void TestUserConfigFile::dialogs_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("title");
    QTest::newRow("tool bar save") << "actSaveCfgFile" << true << "保存配置";
    QTest::newRow("menu save") << "action_2" << true << "保存配置";
    QTest::newRow("tool bar load") << "actOpenCfgFile" << false << "打开配置";
    QTest::newRow("menu load") << "action" << false << "打开配置";
}

void TestUserConfigFile::dialogs()
{
    QFETCH(QString, action);
    QFETCH(bool, save);
    QFETCH(QString, title);
    configureUserPage();
    m_rig->clear();
    const auto before = snapshot(m_rig->window());
    answerDialogs(m_rig->window(), QString()); // cancelled

    trigger(m_rig->window(), qPrintable(action));

    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(m_asked.first().save, save);
    QCOMPARE(m_asked.first().title, title);
    QCOMPARE(snapshot(m_rig->window()), before);
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(m_rig->boxes().shown.isEmpty());
    QVERIFY(m_rig->requests().isEmpty());
}

void TestUserConfigFile::nextDialogStartsInLastDirectory()
{
    QDir(m_dir->path()).mkpath("a/b");
    const QString path = m_dir->filePath("a/b/user.json");
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), "actSaveCfgFile");
    trigger(m_rig->window(), "action");
    QCOMPARE(m_asked.size(), 2);
    QCOMPARE(m_asked.at(1).dir, QFileInfo(path).absolutePath());
    QVERIFY(QFileInfo::exists(path));
}

void TestUserConfigFile::saveThenLoad_data()
{
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("load");
    QTest::newRow("tool bar") << "actSaveCfgFile"
                              << "actOpenCfgFile";
    QTest::newRow("menu") << "action_2"
                          << "action";
}

void TestUserConfigFile::saveThenLoad()
{
    QFETCH(QString, save);
    QFETCH(QString, load);
    configureUserPage();
    m_rig->clear();
    const auto saved = snapshot(m_rig->window());
    const QString path = m_dir->filePath("user.json");
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), qPrintable(save));
    QCOMPARE(readJson(path).value("Channel").toObject().size(), 3 + 16);

    // A fresh window, which knows no band yet.
    MainWindow fresh;
    QVERIFY(snapshot(fresh) != saved);
    answerDialogs(fresh, path);
    trigger(fresh, qPrintable(load));

    QCOMPARE(snapshot(fresh), saved);
    QCOMPARE(fresh.findChild<QRadioButton *>("radioButton")->isChecked(), true);
    QCOMPARE(fresh.findChild<QSpinBox *>("spinBox")->value(), 5);
    QCOMPARE(fresh.findChild<QLineEdit *>(cell(1, "RxFreq"))->styleSheet(), kRed);
    QCOMPARE(fresh.findChild<QLineEdit *>(cell(7, "TxFreq"))->styleSheet(), QString());
    QVERIFY(m_rig->boxes().shown.isEmpty());

    // Loading into the window that saved it changes nothing, not even the band marking.
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), qPrintable(load));
    QCOMPARE(snapshot(m_rig->window()), saved);
    QCOMPARE(m_rig->widget<QLineEdit>(cell(1, "RxFreq"))->styleSheet(), QString());
    QVERIFY(m_rig->requests().isEmpty());
}

void TestUserConfigFile::loadedMinimumIsNoBlank()
{
    // A failed read leaves the boxes blank at their minimum; a file's value is a value.
    QVERIFY(m_rig->sim().addFault("33:lead:*"));
    QVERIFY(m_rig->sim().addFault("0116:lead:*"));
    m_rig->click("pushButton_5");
    m_rig->click("pushButton_7");
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox")->text(), QStringLiteral(" "));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_2")->text(), QStringLiteral(" "));
    const QString path = m_dir->filePath("minimum.json");
    QVERIFY(writeFile(path, R"({"Channel": {"Current": 1}, "TxProtect": {"Timeout": 0}})"));
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), "action");
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox")->text(), QStringLiteral("1"));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_2")->text(), QStringLiteral("0"));
    QCOMPARE(m_rig->widget<QSpinBox>("spinBox_3")->text(), QStringLiteral("0"));
    m_rig->sim().faults().clearRules();
    m_rig->clear();
    QVERIFY(m_rig->click("pushButton_8"));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{QByteArray::fromHex("340000")});
}

void TestUserConfigFile::saveKeepsOtherMembers()
{
    const QString path = m_dir->filePath("shared.json");
    QVERIFY(writeFile(path, R"({"Factory": {"Band": 19, "Channel": 3},
                               "Channel": {"CtrlMode": "DIP", "Extra": true, "17": {"A": 1}},
                               "Volume": 9})"));
    m_rig->widget<QRadioButton>("radioButton_2")->setChecked(true);
    m_rig->widget<QSpinBox>("spinBox_4")->setValue(4);
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), "actSaveCfgFile");
    const QJsonObject saved = readJson(path);
    QCOMPARE(saved.value("Factory").toObject().value("Band").toInt(), 19);
    QCOMPARE(saved.value("Channel").toObject().value("Extra").toBool(), true);
    QCOMPARE(saved.value("Channel").toObject().value("17").toObject().value("A").toInt(), 1);
    QCOMPARE(saved.value("Channel").toObject().value("CtrlMode").toString(),
             QStringLiteral("Progrem"));
    QCOMPARE(saved.value("Volume").toInt(), 4);
}

void TestUserConfigFile::loadConversions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QVariantMap>("expected"); // widget -> snapshot text
    const QVariantMap defaults{{"radioButton", "second"},
                               {"spinBox", "1"},
                               {"checkBox", "1"},
                               {"spinBox_2", "0"},
                               {"spinBox_4", "0"},
                               {"radioButton_3", "second"},
                               {"radioButton_7", "second"},
                               {"radioButton_5", "second"},
                               {"comboBox", "-1"},
                               {"CH1_RxFreq", "000.00000"},
                               {"CH16_TxFreq", "000.00000"},
                               {"CH1_TxPower", "-1"},
                               {"CH16_Scan", "-1"}};
    QTest::newRow("empty file") << QByteArray() << defaults;
    QTest::newRow("not JSON") << QByteArray("{{{") << defaults;
    QTest::newRow("dip in lower case selects by program")
        << QByteArray(R"({"Channel": {"CtrlMode": "dip"}})")
        << QVariantMap{{"radioButton", "second"}};
    QTest::newRow("channel as text 5 gives the minimum")
        << QByteArray(R"({"Channel": {"Current": "5"}})") << QVariantMap{{"spinBox", "1"}};
    QTest::newRow("channel 20 is clamped")
        << QByteArray(R"({"Channel": {"Current": 20}})") << QVariantMap{{"spinBox", "16"}};
    QTest::newRow("scan mode 7 selects nothing")
        << QByteArray(R"({"ChannelScanModeIndex": 7})") << QVariantMap{{"comboBox", "-1"}};
    QTest::newRow("power index 9 selects nothing")
        << QByteArray(R"({"Channel": {"3": {"TxPowerIndex": 9, "CTCSSDCSIndex": 157}}})")
        << QVariantMap{{"CH3_TxPower", "-1"}, {"CH3_CTCSS_DCS", "157"}};
    QTest::newRow("frequencies") << QByteArray(R"({"Channel": {"12": {"RxFreq": 43512500,
                                                                     "TxFreq": 4351250}}})")
                                 << QVariantMap{{"CH12_RxFreq", "435.12500"},
                                                {"CH12_TxFreq", "430.51250"}};
    QTest::newRow("booleans") << QByteArray(R"({"PowerSave": {"Enable": true},
                                               "SideTone": {"Enable": "true"},
                                               "Channel": {"SaveChannel": false}})")
                              << QVariantMap{{"radioButton_3", "first"},
                                             {"radioButton_5", "second"},
                                             {"checkBox", "0"}};
}

void TestUserConfigFile::loadConversions()
{
    QFETCH(QByteArray, content);
    QFETCH(QVariantMap, expected);
    // Values on show that the file must replace.
    configureUserPage();
    const QString path = m_dir->filePath("load.json");
    QVERIFY(writeFile(path, content));
    answerDialogs(m_rig->window(), path);
    trigger(m_rig->window(), "actOpenCfgFile");
    const auto shown = snapshot(m_rig->window());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(it.key() + "=" + shown.value(it.key()), it.key() + "=" + it.value().toString());
    QVERIFY(m_rig->boxes().shown.isEmpty());
}

void TestUserConfigFile::unopenableFile_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("kind");
    for (const char *action : {"actSaveCfgFile", "actOpenCfgFile"}) {
        for (const char *kind : {"directory", "missing directory", "read-only file"})
            QTest::addRow("%s %s", action, kind) << action << kind;
    }
}

void TestUserConfigFile::unopenableFile()
{
    QFETCH(QString, action);
    QFETCH(QString, kind);
    QString path;
    if (kind == "directory") {
        path = m_dir->filePath("folder.json");
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "missing directory") {
        path = m_dir->filePath("missing/user.json");
    } else {
        if (geteuid() == 0)
            QSKIP("root opens read-only files for writing");
        path = m_dir->filePath("readonly.json");
        QVERIFY(writeFile(path, R"({"Volume": 9})"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
    }
    configureUserPage();
    const auto before = snapshot(m_rig->window());
    answerDialogs(m_rig->window(), path);

    trigger(m_rig->window(), qPrintable(action));

    QCOMPARE(m_rig->boxes().texts(), QStringList{"Couldn't open config file."});
    QCOMPARE(m_rig->boxes().shown.first().icon, QMessageBox::Critical);
    QCOMPARE(snapshot(m_rig->window()), before);
    QVERIFY(!QFileInfo(path).isFile() || readJson(path).value("Volume").toInt() == 9);
}

void TestUserConfigFile::moduleToModuleThroughFile()
{
    // Module A: everything unlike module B, its channel 4 unused.
    ModuleState a = ModuleState::defaults(0x12);
    a.ctrlMode = Wire::kOff;
    a.currentChannel = 11;
    a.txTimeout = 250;
    a.protectTime = 3;
    a.volume = 2;
    a.powerSave = Wire::kOn;
    a.sleepTime = 24;
    a.standbyTime = 1;
    a.audioWave = Wire::kOff;
    a.sidetone = Wire::kOff;
    a.scanMode = 1;
    for (int i = 0; i < 16; ++i) {
        ChannelState &channel = a.channels[i];
        channel.txFreq += 1250 * i;
        channel.power = static_cast<quint8>(4 - i % 5);
        channel.squelch = static_cast<quint8>(5 - i % 6);
        channel.ctcssDcs = static_cast<quint8>(i % 2 ? 0x80 + 6 * i : 3 * i);
        channel.scan = i % 2 ? Wire::kOn : Wire::kOff;
        channel.bandwidth = i % 3 ? Wire::kOn : Wire::kOff;
    }
    a.channels[3] = ChannelState{0, 0, 0, Wire::kOn, 0, 0xFF, Wire::kOff};

    const QString path = m_dir->filePath("module.json");
    m_rig.reset();
    SimHarness::Options optionsA;
    optionsA.state = a;
    {
        FactoryRig rigA(optionsA);
        QVERIFY2(rigA.isReady(), qPrintable(rigA.error()));
        rigA.widget<QAction>("action_6")->trigger();
        QCOMPARE(rigA.status(), QStringLiteral("读取成功！"));
        answerDialogs(rigA.window(), path);
        trigger(rigA.window(), "action_2");
    }

    SimHarness::Options optionsB;
    optionsB.band = 0x12;
    FactoryRig rigB(optionsB);
    QVERIFY2(rigB.isReady(), qPrintable(rigB.error()));
    const ModuleState untouched = rigB.module();
    rigB.widget<QAction>("action_5")->trigger();
    answerDialogs(rigB.window(), path);
    trigger(rigB.window(), "action");
    rigB.boxes().setAnswer(QMessageBox::Yes);
    rigB.widget<QAction>("action_8")->trigger();
    QCOMPARE(rigB.boxes().texts(), QStringList{"您是否真的要将当前的所有参数写入电台？"});
    QCOMPARE(rigB.status(), QStringLiteral("设置成功！"));

    const ModuleState &b = rigB.module();
    QCOMPARE(b.ctrlMode, a.ctrlMode);
    QCOMPARE(b.currentChannel, a.currentChannel);
    QCOMPARE(b.txTimeout, a.txTimeout);
    QCOMPARE(b.protectTime, a.protectTime);
    QCOMPARE(b.volume, a.volume);
    QCOMPARE(b.powerSave, a.powerSave);
    QCOMPARE(b.sleepTime, a.sleepTime);
    QCOMPARE(b.standbyTime, a.standbyTime);
    QCOMPARE(b.audioWave, a.audioWave);
    QCOMPARE(b.sidetone, a.sidetone);
    QCOMPARE(b.scanMode, a.scanMode);
    for (int i = 0; i < 16; ++i) {
        // An unused channel's other parameters are neither read nor written.
        const ChannelState expected = i == 3 ? ChannelState{0,
                                                            0,
                                                            0,
                                                            untouched.channels[3].bandwidth,
                                                            untouched.channels[3].squelch,
                                                            untouched.channels[3].ctcssDcs,
                                                            untouched.channels[3].scan}
                                             : a.channels[i];
        QVERIFY2(b.channels[i] == expected, qPrintable(QString::number(i + 1)));
    }
}

void TestUserConfigFile::fileWithoutWindowMatches()
{
    // What the window saves after reading a module, the codecs alone give too (the
    // command-line tool's way), odd replies included.
    ModuleState &module = m_rig->module();
    module.channels[1].power = 7;
    module.channels[2].ctcssDcs = 0x40;
    module.channels[3].squelch = 9;
    module.channels[4].txFreq = 0;
    module.channels[5].rxFreq = 4351250; // 43.5125 MHz: the cell's mask changes it
    module.channels[6].bandwidth = 0x01;
    module.currentChannel = 30;
    module.volume = 12;
    module.sleepTime = 40;
    module.standbyTime = 16;
    module.scanMode = 5;
    module.ctrlMode = 0x01;
    module.audioWave = Wire::kOn;
    m_rig->widget<QAction>("action_6")->trigger();
    QCOMPARE(m_rig->status(), QStringLiteral("读取成功！"));
    const QString byWindow = m_dir->filePath("window.json");
    answerDialogs(m_rig->window(), byWindow);
    trigger(m_rig->window(), "actSaveCfgFile");

    UserConfig config;
    for (int i = 0; i < 16; ++i) {
        const ChannelState &c = module.channels[i];
        config.channels[i] = UserConfigFile::channelFromModule(
            {c.txFreq, c.rxFreq, c.power}, {c.bandwidth, c.squelch, c.ctcssDcs, c.scan});
    }
    config.dipSwitch = UserParams::isFirstOption(module.ctrlMode);
    config.currentChannel = UserParams::kCurrentChannel.clamp(module.currentChannel);
    config.txTimeout = UserParams::kTxTimeout.clamp(module.txTimeout);
    config.stopTime = UserParams::kStopTime.clamp(module.protectTime);
    config.volume = UserParams::kVolume.clamp(module.volume);
    config.powerSave = UserParams::isFirstOption(module.powerSave);
    config.sleepTime = UserParams::kSleepTime.clamp(module.sleepTime);
    config.standbyTime = UserParams::kStandbyTime.clamp(module.standbyTime);
    config.squareWave = UserParams::isFirstOption(module.audioWave);
    config.sidetone = UserParams::isFirstOption(module.sidetone);
    config.scanModeIndex = UserParams::scanModeIndex(module.scanMode);
    const QString byCodecs = m_dir->filePath("codecs.json");
    MJsonConfig(byCodecs).setValues(config.entries());

    const QJsonObject window = readJson(byWindow);
    QCOMPARE(window.value("Channel").toObject().value("6").toObject().value("RxFreq").toInt(),
             43051250);
    QCOMPARE(readJson(byCodecs), window);
}

QTEST_MAIN(TestUserConfigFile)
#include "tst_userconfigfile.moc"
