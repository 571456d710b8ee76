// uic runs for this test on ui/mainwindow.ui itself: the pages as the form builds them.
#include "ui_mainwindow.h"

#include "device/channelcodec.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/userpage/userbindings.h"

#include <QtTest>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

// Every named widget of the three pages: its type, where it sits, its text, range and state.
class TestFormInventory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pushButtons_data();
    void pushButtons();
    void spinBoxes_data();
    void spinBoxes();
    void radioButtons_data();
    void radioButtons();
    void groupBoxes_data();
    void groupBoxes();
    void tabPages_data();
    void tabPages();
    void otherWidgets();
    void objectNamesAreUnique();
    void factoryBindings_data();
    void factoryBindings();
    void factoryValueWidgetsAreBound();
    void userBindings_data();
    void userBindings();
    void userValueWidgetsAreBound();
    void valueWidgetsAreNamedInTheirTablesOnly_data();
    void valueWidgetsAreNamedInTheirTablesOnly();

private:
    template<class T> T *find(const QString &name) const { return m_window.findChild<T *>(name); }

    QMainWindow m_window;
    Ui::MainWindow m_ui;
};

namespace {
using Texts = std::initializer_list<std::pair<const char *, const char *>>;

const char *const kRead = "读取";
const char *const kSet = "设置";
const char *const kLxData = "强制进入发射模式\n数据PTT开启";
const char *const kLxVoice = "强制进入发射模式\n话音PTT开启";
const char *const kLxNormal = "返回正常模式";
const char *const kMrData = "Force to Tx\nData PTT Push";
const char *const kMrVoice = "Force to Tx\nVoice PTT push";
const char *const kMrNormal = "Back to normal";

// Rows of (name, text) that sit in one container and, where given, share a state.
void textRows(const char *container, Texts rows, std::optional<bool> state = std::nullopt)
{
    for (const auto &[name, text] : rows) {
        auto &row = QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(text)
                                        << QString::fromLatin1(container);
        if (state)
            row << *state;
    }
}

void buttonRows(const char *container, Texts rows, bool enabled = true)
{
    textRows(container, rows, enabled);
}

void rangeRows(const char *container, std::initializer_list<const char *> names, int minimum,
               int maximum)
{
    for (const char *name : names) {
        QTest::newRow(name) << QString::fromLatin1(name) << minimum << maximum
                            << QString::fromLatin1(container);
    }
}
} // namespace

void TestFormInventory::initTestCase()
{
    m_ui.setupUi(&m_window);
}

void TestFormInventory::pushButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("container");
    QTest::addColumn<bool>("enabled");

    buttonRows("groupBox_3", {{"pushButton", kRead}, {"pushButton_2", kSet}});
    buttonRows("groupBox", {{"pushButton_3", kRead}, {"pushButton_4", kSet}});
    buttonRows("groupBox_2", {{"pushButton_5", kRead}, {"pushButton_6", kSet}});
    buttonRows("groupBox_4", {{"pushButton_7", kRead}, {"pushButton_8", kSet}});
    buttonRows("groupBox_5", {{"pushButton_9", kRead}, {"pushButton_10", kSet}});
    buttonRows("groupBox_6", {{"pushButton_11", kRead}, {"pushButton_12", kSet}});
    buttonRows("groupBox_7", {{"pushButton_13", kRead}, {"pushButton_14", kSet}}, false);
    buttonRows("groupBox_8", {{"pushButton_21", kRead}, {"pushButton_22", kSet}});
    buttonRows("groupBox_9", {{"pushButton_19", kRead}, {"pushButton_20", kSet}});
    buttonRows("groupBox_10", {{"pushButton_18", kRead}});
    buttonRows("groupBox_11", {{"pushButton_15", kRead}, {"pushButton_16", kSet}});
    buttonRows("groupBox_12", {{"pushButton_17", "停用虚拟串口"}});

    buttonRows(
        "groupBox_53",
        {{"pushButton_273", kLxData}, {"pushButton_274", kLxVoice}, {"pushButton_275", kLxNormal}});
    buttonRows(
        "groupBox_46",
        {{"pushButton_237", kLxData}, {"pushButton_238", kLxVoice}, {"pushButton_239", kLxNormal}});
    buttonRows(
        "groupBox_54",
        {{"pushButton_278", kMrData}, {"pushButton_277", kMrVoice}, {"pushButton_276", kMrNormal}});
    buttonRows(
        "groupBox_55",
        {{"pushButton_279", kMrData}, {"pushButton_280", kMrVoice}, {"pushButton_281", kMrNormal}});
    buttonRows(
        "groupBox_56",
        {{"pushButton_282", kMrData}, {"pushButton_283", kMrVoice}, {"pushButton_284", kMrNormal}});
    buttonRows("groupBox_47",
               {{"pushButton_241", "进入灵敏度测试模式"}, {"pushButton_240", "结束灵敏度测试"}});
    buttonRows("groupBox_41",
               {{"pushButton_23", "静噪0.25uV校准"}, {"pushButton_24", "静噪0.45uV校准"}});
    buttonRows("groupBox_52",
               {{"pushButton_31", "0.25uV Adjust"}, {"pushButton_32", "0.45uV Adjust"}});
    buttonRows("groupBox_42",
               {{"pushButton_25", "场强10dBuV校准"}, {"pushButton_26", "场强40dBuV校准"}});

    // RSSI offsets, low, middle and high point: read, write, +1, -1, +10, -10.
    buttonRows("groupBox_22", {{"pushButton_27", "读"},
                               {"pushButton_114", "写"},
                               {"pushButton_121", "+1"},
                               {"pushButton_120", "-1"},
                               {"pushButton_113", "+10"},
                               {"pushButton_122", "-10"}});
    buttonRows("groupBox_22", {{"pushButton_124", "读"},
                               {"pushButton_125", "写"},
                               {"pushButton_126", "+1"},
                               {"pushButton_128", "-1"},
                               {"pushButton_127", "+10"},
                               {"pushButton_123", "-10"}});
    buttonRows("groupBox_22", {{"pushButton_130", "读"},
                               {"pushButton_131", "写"},
                               {"pushButton_132", "+1"},
                               {"pushButton_134", "-1"},
                               {"pushButton_133", "+10"},
                               {"pushButton_129", "-10"}});
    buttonRows("groupBox_21", {{"pushButton_186", "读"},
                               {"pushButton_190", "写"},
                               {"pushButton_185", "+1"},
                               {"pushButton_189", "-1"},
                               {"pushButton_187", "+10"},
                               {"pushButton_188", "-10"}});
    buttonRows("groupBox_24", {{"pushButton_258", "Read"},
                               {"pushButton_259", "Set"},
                               {"pushButton_257", "+1"},
                               {"pushButton_260", "-1"},
                               {"pushButton_261", "+10"},
                               {"pushButton_262", "-10"}});

    buttonRows("groupBox_16", {{"pushButton_39", kRead}, {"pushButton_40", kSet}});
    buttonRows("groupBox_17", {{"pushButton_41", kRead}, {"pushButton_42", kSet}});
    buttonRows("groupBox_25", {{"pushButton_47", "Read"}, {"pushButton_48", "Set"}});
    buttonRows("groupBox_15", {{"pushButton_37", kRead}, {"pushButton_38", kSet}});
    buttonRows("groupBox_18", {{"pushButton_43", kRead}, {"pushButton_44", kSet}});
    buttonRows("groupBox_20", {{"pushButton_45", kRead}, {"pushButton_46", kSet}});
    buttonRows("groupBox_51", {{"pushButton_29", "Read"}, {"pushButton_30", "Set"}});
    buttonRows("groupBox_48",
               {{"pushButton_28", "读取全部参数"}, {"pushButton_242", "写入全部参数"}});
    buttonRows("tab_9", {{"pushButton_34", "保存配置"}, {"pushButton_33", "打开配置"}});
}

void TestFormInventory::pushButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, container);
    QFETCH(bool, enabled);

    auto *button = find<QPushButton>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->isEnabled(), enabled);
    QVERIFY(find<QWidget>(container)->isAncestorOf(button));
}

void TestFormInventory::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("container");

    rangeRows("groupBox_2", {"spinBox"}, 1, 16);
    rangeRows("groupBox_4", {"spinBox_2", "spinBox_3"}, 0, 255);
    rangeRows("groupBox_5", {"spinBox_4"}, 0, 9);
    rangeRows("groupBox_7", {"spinBox_5"}, 0, 25);
    rangeRows("groupBox_7", {"spinBox_6"}, 0, 15);
    rangeRows("groupBox_15", {"spinBox_7"}, 0, 9);
    rangeRows("groupBox_22", {"spinBox_81", "spinBox_82", "spinBox_83"}, -128, 127);
    rangeRows("groupBox_21",
              {"spinBox_58", "spinBox_61", "spinBox_57", "spinBox_70", "spinBox_62", "spinBox_64",
               "spinBox_71", "spinBox_63", "spinBox_65", "spinBox_69", "spinBox_59", "spinBox_66",
               "spinBox_67", "spinBox_68", "spinBox_60"},
              0, 255);
    rangeRows("groupBox_24",
              {"spinBox_93", "spinBox_88", "spinBox_89", "spinBox_92", "spinBox_97", "spinBox_90",
               "spinBox_98", "spinBox_101", "spinBox_95", "spinBox_102", "spinBox_94", "spinBox_96",
               "spinBox_99", "spinBox_91", "spinBox_100"},
              0, 255);
}

void TestFormInventory::spinBoxes()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, container);

    auto *spin = find<QSpinBox>(name);
    QVERIFY(spin);
    QCOMPARE(spin->minimum(), minimum);
    QCOMPARE(spin->maximum(), maximum);
    QCOMPARE(spin->value(), qMax(minimum, 0));
    QVERIFY(spin->specialValueText().isEmpty());
    QVERIFY(find<QWidget>(container)->isAncestorOf(spin));
}

void TestFormInventory::radioButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("container");
    QTest::addColumn<bool>("checked");

    // The pairs start with neither choice; the power tables on 1 W and the low point.
    textRows("groupBox", {{"radioButton", "拨码开关"}, {"radioButton_2", "软件配置"}}, false);
    textRows("groupBox_6", {{"radioButton_3", "开启"}, {"radioButton_4", "关闭"}}, false);
    textRows("groupBox_8", {{"radioButton_7", "方波"}, {"radioButton_8", "正弦波"}}, false);
    textRows("groupBox_9", {{"radioButton_5", "开启"}, {"radioButton_6", "关闭"}}, false);
    textRows("groupBox_18", {{"radioButton_12", "直流耦合"}, {"radioButton_13", "交流耦合"}},
             false);
    textRows("groupBox_20", {{"radioButton_22", "直流耦合"}, {"radioButton_23", "交流耦合"}},
             false);
    textRows("groupBox_51", {{"radioButton_14", "DC-coupling"}, {"radioButton_18", "AC-coupling"}},
             false);
    textRows("groupBox_21", {{"radioButton_33", "1W功率调整值"}, {"radioButton_16", "低端"}}, true);
    textRows("groupBox_21",
             {{"radioButton_32", "2W功率调整值"},
              {"radioButton_29", "3W功率调整值"},
              {"radioButton_31", "4W功率调整值"},
              {"radioButton_30", "5W功率调整值"},
              {"radioButton_15", "中端"},
              {"radioButton_17", "高端"}},
             false);
    textRows("groupBox_24", {{"radioButton_34", "1W Adjust"}, {"radioButton_21", "Low"}}, true);
    textRows("groupBox_24",
             {{"radioButton_35", "2W Adjust"},
              {"radioButton_37", "3W Adjust"},
              {"radioButton_38", "4W Adjust"},
              {"radioButton_36", "5W Adjust"},
              {"radioButton_20", "Middle"},
              {"radioButton_19", "High"}},
             false);
}

void TestFormInventory::radioButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, container);
    QFETCH(bool, checked);

    auto *radio = find<QRadioButton>(name);
    QVERIFY(radio);
    QCOMPARE(radio->text(), text);
    QCOMPARE(radio->isChecked(), checked);
    QVERIFY(find<QWidget>(container)->isAncestorOf(radio));
}

void TestFormInventory::groupBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("container");

    textRows("widget_3",
             {{"groupBox_3", ""}, {"groupBox", "频道控制模式"}, {"groupBox_2", "当前频道"}});
    textRows("widget_8", {{"groupBox_4", "发射保护"},
                          {"groupBox_5", "音量控制"},
                          {"groupBox_6", "省电模式"},
                          {"groupBox_7", "省电状态时间"}});
    textRows("widget_4", {{"groupBox_8", "AUDIO_OUT 输出"},
                          {"groupBox_9", "侧音"},
                          {"groupBox_10", "RSSI"},
                          {"groupBox_11", "频道扫描模式"},
                          {"groupBox_12", "其他"}});
    textRows("tab_6", {{"groupBox_26", "数据频偏校准"},
                       {"groupBox_27", "话音频偏校准"},
                       {"groupBox_43", "TCXO_BIAS 调整"},
                       {"groupBox_44", "MOD_BIAS 调整"},
                       {"groupBox_29", "亚音频偏校准"},
                       {"groupBox_28", "AUDIO_IN 校准"},
                       {"groupBox_53", "强制发射"},
                       {"groupBox_18", "基带信号耦合方式(测试)"}});
    textRows("tab_7", {{"groupBox_21", "功率校准"},
                       {"groupBox_23", "  两点平衡调整（数据）"},
                       {"groupBox_46", "强制发射"}});
    textRows("tab_8", {{"groupBox_30", "接收带通滤波器调节"},
                       {"groupBox_22", "场强偏移调整"},
                       {"groupBox_42", "场强校准"},
                       {"groupBox_19", "RFSK 信号电平调节"},
                       {"groupBox_47", "灵敏度测试"},
                       {"groupBox_41", "静噪校准"},
                       {"groupBox_40", "R_BIAS 调整"}});
    textRows("tab_9", {{"groupBox_48", ""},
                       {"groupBox_15", "侧音音量控制"},
                       {"groupBox_16", "电台频段"},
                       {"groupBox_17", "序列码"},
                       {"groupBox_20", "基带信号耦合方式"}});
    textRows("tab", {{"groupBox_49", "TCXO Bias"},
                     {"groupBox_50", "MOD Bias"},
                     {"groupBox_54", "Force to Tx"},
                     {"groupBox_51", "Baseband Signal Coupling"}});
    textRows("tab_2",
             {{"groupBox_24", "Transmit Power Adjustment"}, {"groupBox_55", "Force to Tx"}});
    textRows("tab_3", {{"groupBox_32", "Data Modulation Freq Division"},
                       {"groupBox_33", "AUDIO_IN"},
                       {"groupBox_34", "Voice Modulation Freq Division"},
                       {"groupBox_56", "Force to Tx"},
                       {"groupBox_31", "CTCSS/DCS Freq Division"}});
    textRows("tab_5", {{"groupBox_25", "SN"}, {"groupBox_52", "Squelch Adjustment"}});
}

void TestFormInventory::groupBoxes()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, container);

    auto *group = find<QGroupBox>(name);
    QVERIFY(group);
    QCOMPARE(group->title(), title);
    auto *parent = find<QWidget>(container);
    QVERIFY(parent);
    // The factory pages place their groups directly, without a layout.
    if (container.startsWith(QLatin1String("tab"))) {
        QCOMPARE(group->parentWidget(), parent);
        QVERIFY(!parent->layout());
    } else {
        QVERIFY(parent->isAncestorOf(group));
    }
}

void TestFormInventory::tabPages_data()
{
    QTest::addColumn<QString>("tabWidget");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("main") << "tabWidget_2" << QStringList{"tab_user", "tab_lx815", "tab_mr460"}
                          << QStringList{"用户参数", "内部参数调整", "MR-460 Adjustment"};
    QTest::newRow("LX-815") << "tabWidget_3" << QStringList{"tab_6", "tab_7", "tab_8", "tab_9"}
                            << QStringList{"频率校准", "发射校准", "接收校准", "其他"};
    QTest::newRow("MR-460") << "tabWidget" << QStringList{"tab", "tab_2", "tab_3", "tab_5"}
                            << QStringList{"Transmit Frequency", "Transmit Power", "Modulation",
                                           "Others"};
}

void TestFormInventory::tabPages()
{
    QFETCH(QString, tabWidget);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, titles);

    auto *tabs = find<QTabWidget>(tabWidget);
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), pages.size());
    QCOMPARE(tabs->currentIndex(), 0);
    for (int i = 0; i < tabs->count(); ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), pages[i]);
        QCOMPARE(tabs->tabText(i), titles[i]);
    }
}

void TestFormInventory::otherWidgets()
{
    QVERIFY(m_ui.checkBox->isChecked());
    QCOMPARE(m_ui.checkBox->text(), QStringLiteral("存储频道值"));
    QVERIFY(m_ui.groupBox_2->isAncestorOf(m_ui.checkBox));
    QVERIFY(m_ui.lineEdit->isReadOnly());
    QVERIFY(m_ui.groupBox_10->isAncestorOf(m_ui.lineEdit));

    QCOMPARE(m_ui.comboBox->count(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_ui.comboBox->itemText(i), QStringLiteral("Mode %1").arg(i));
    QCOMPARE(m_ui.comboBox->currentIndex(), 0);

    // No band until one is read, loaded or chosen.
    const QStringList bands{"136 - 174 MHz", "400 - 440 MHz", "430 - 470 MHz", "450 - 490 MHz"};
    QCOMPARE(m_ui.comboBox_2->count(), bands.size());
    for (int i = 0; i < bands.size(); ++i)
        QCOMPARE(m_ui.comboBox_2->itemText(i), bands[i]);
    QCOMPARE(m_ui.comboBox_2->currentIndex(), -1);
    QVERIFY(m_ui.groupBox_16->isAncestorOf(m_ui.comboBox_2));

    for (QLineEdit *serial : {m_ui.lineEdit_6, m_ui.lineEdit_7}) {
        QCOMPARE(serial->inputMask().section(QLatin1Char(';'), 0, 0),
                 QStringLiteral("HHHHHHHHHHHH"));
        QVERIFY(serial->text().isEmpty());
        QVERIFY(!serial->isReadOnly());
    }
    QVERIFY(m_ui.groupBox_17->isAncestorOf(m_ui.lineEdit_6));
    QVERIFY(m_ui.groupBox_25->isAncestorOf(m_ui.lineEdit_7));

    const QList<std::pair<QLabel *, const char *>> labels{
        {m_ui.label, "频道："},   {m_ui.label_2, "发射超时时间："}, {m_ui.label_3, "保护时间："},
        {m_ui.label_7, "休眠："}, {m_ui.label_8, "待机："},         {m_ui.label_11, "模式："}};
    for (const auto &[label, text] : labels)
        QCOMPARE(label->text(), QString::fromUtf8(text));
}

void TestFormInventory::objectNamesAreUnique()
{
    QSet<QString> seen;
    for (QObject *object : m_window.findChildren<QObject *>()) {
        const QString name = object->objectName();
        // Qt's own parts of tab bars and spin boxes are not the form's.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
            qobject_cast<QTabBar *>(object->parent()))
            continue;
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen.insert(name);
    }
}

void TestFormInventory::factoryBindings_data()
{
    QTest::addColumn<int>("row");
    const auto &table = FactoryBindings::all();
    for (int i = 0; i < int(table.size()); ++i)
        QTest::newRow(table[i].widget) << i;
}

// Each row's widget on its page, of its kind, with the range of its number and a file member
// the calibration file has.
void TestFormInventory::factoryBindings()
{
    QFETCH(int, row);
    using Kind = FactoryBindings::Binding::Kind;
    const FactoryBindings::Binding &binding = FactoryBindings::all()[row];
    const QString name = QString::fromLatin1(binding.widget);
    QWidget *page = binding.page == FactoryBindings::Page::Lx815 ? m_ui.tab_lx815 : m_ui.tab_mr460;
    auto *widget = find<QWidget>(name);
    QVERIFY(widget && page->isAncestorOf(widget));
    QCOMPARE(binding.source.has_value(), binding.kind == Kind::Number);
    switch (binding.kind) {
    case Kind::Number: {
        auto *spin = qobject_cast<QSpinBox *>(widget);
        QVERIFY(spin);
        QCOMPARE(spin->minimum(), binding.minimum);
        QCOMPARE(spin->maximum(), binding.maximum);
        break;
    }
    case Kind::Band:
        QVERIFY(qobject_cast<QComboBox *>(widget));
        break;
    case Kind::Coupling: {
        auto *partner = find<QRadioButton>(QString::fromLatin1(binding.partner));
        QVERIFY(qobject_cast<QRadioButton *>(widget) && partner);
        QCOMPARE(partner->parentWidget(), widget->parentWidget());
        break;
    }
    case Kind::Serial:
        QVERIFY(qobject_cast<QLineEdit *>(widget));
        break;
    }
    if (binding.path) {
        bool inFile = false;
        for (const auto &entry : FactoryCalibration().entries())
            inFile = inFile || entry.first == QLatin1String(binding.path);
        QVERIFY2(inFile, binding.path);
    }
}

// A value widget added to a factory page without a row, a file member without its widget, or
// a number whose wire address another widget of its page has, fails here.
void TestFormInventory::factoryValueWidgetsAreBound()
{
    using FactoryBindings::Page;
    QStringList bound;
    QStringList paths;
    QSet<QString> addresses;
    for (const FactoryBindings::Binding &binding : FactoryBindings::all()) {
        bound << QString::fromLatin1(binding.widget) << QString::fromLatin1(binding.partner);
        if (binding.path)
            paths << QString::fromLatin1(binding.path);
        if (const auto &source = binding.source) {
            const QString address = QStringLiteral("%1 %2 %3 %4 %5")
                                        .arg(int(binding.page))
                                        .arg(int(source->kind))
                                        .arg(source->adjustType)
                                        .arg(source->point)
                                        .arg(source->power);
            QVERIFY2(!addresses.contains(address), binding.widget);
            addresses.insert(address);
        }
    }
    for (Page page : {Page::Lx815, Page::Mr460}) {
        const auto &selectors = FactoryBindings::powerSelectors(page);
        for (const char *name : selectors.powers)
            bound << QString::fromLatin1(name);
        for (const char *name : selectors.points)
            bound << QString::fromLatin1(name);
        QSet<QString> cells;
        for (const char *box : FactoryBindings::powerTableBoxes(page)) {
            QVERIFY(box);
            cells.insert(QString::fromLatin1(box));
        }
        QCOMPARE(cells.size(), 15);
    }
    for (const char *box : FactoryBindings::rssiOffsetBoxes())
        QVERIFY(box && find<QSpinBox>(QString::fromLatin1(box)));
    QVERIFY(find<QSpinBox>(QString::fromLatin1(FactoryBindings::sidetoneVolumeBox())));
    // The window finds each setting's widgets by its one row.
    using FactoryBindings::Setting;
    for (Setting setting : {Setting::Band, Setting::Coupling, Setting::TestCoupling,
                            Setting::Mr460Coupling, Setting::Serial, Setting::Mr460Serial}) {
        const auto &table = FactoryBindings::all();
        QCOMPARE(int(std::count_if(table.begin(), table.end(),
                                   [&](const auto &row) { return row.setting == setting; })),
                 1);
    }

    for (QWidget *page : {m_ui.tab_lx815, m_ui.tab_mr460}) {
        for (QWidget *widget : page->findChildren<QWidget *>()) {
            const bool value =
                qobject_cast<QSpinBox *>(widget) || qobject_cast<QComboBox *>(widget) ||
                qobject_cast<QRadioButton *>(widget) || qobject_cast<QLineEdit *>(widget);
            if (value && !widget->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(bound.contains(widget->objectName()), qPrintable(widget->objectName()));
        }
    }
    QStringList members;
    for (const auto &entry : FactoryCalibration().entries())
        members << entry.first;
    paths.sort();
    members.sort();
    QCOMPARE(paths, members);
}

void TestFormInventory::userBindings_data()
{
    QTest::addColumn<int>("row");
    const auto &table = UserBindings::all();
    for (int i = 0; i < int(table.size()); ++i)
        QTest::newRow(table[i].widget) << i;
}

// Each page row's widgets on the user page, of their kind, with the range of its number; each
// channel row a column of the table with its items. Every row carries its value both ways.
void TestFormInventory::userBindings()
{
    QFETCH(int, row);
    using Kind = UserBindings::Binding::Kind;
    const UserBindings::Binding &binding = UserBindings::all()[row];
    UserConfig config;
    binding.set(config, 1, 7);
    QCOMPARE(binding.get(config, 1),
             binding.kind == Kind::Choice || binding.kind == Kind::Check ? 1 : 7);
    if (binding.inChannelTable()) {
        QVERIFY(binding.step == UserStep::FreqAndPower || binding.step == UserStep::ChannelParams);
        QCOMPARE(binding.items != nullptr, binding.kind == Kind::Cell);
        QCOMPARE(UserConfig().channels[1], config.channels[1]);
        return;
    }
    auto *widget = find<QWidget>(QString::fromLatin1(binding.widget));
    QVERIFY(widget && m_ui.tab_user->isAncestorOf(widget));
    switch (binding.kind) {
    case Kind::Number: {
        auto *spin = qobject_cast<QSpinBox *>(widget);
        QVERIFY(spin);
        QCOMPARE(spin->minimum(), binding.minimum);
        QCOMPARE(spin->maximum(), binding.maximum);
        break;
    }
    case Kind::Choice: {
        auto *partner = find<QRadioButton>(QString::fromLatin1(binding.partner));
        QVERIFY(qobject_cast<QRadioButton *>(widget) && partner);
        QCOMPARE(partner->parentWidget(), widget->parentWidget());
        break;
    }
    case Kind::Check:
        QVERIFY(qobject_cast<QCheckBox *>(widget));
        break;
    default:
        QVERIFY(qobject_cast<QComboBox *>(widget));
        break;
    }
}

// A value widget added to the user page without a row, a channel column without its header, or
// a user value without its row fails here.
void TestFormInventory::userValueWidgetsAreBound()
{
    QStringList bound;
    QSet<QString> fields;
    int columns = 0;
    for (const UserBindings::Binding &binding : UserBindings::all()) {
        if (binding.inChannelTable()) {
            fields.insert(QString::fromLatin1(binding.widget));
            ++columns;
        } else {
            bound << QString::fromLatin1(binding.widget) << QString::fromLatin1(binding.partner);
        }
    }
    QCOMPARE(fields.size(), columns);
    QCOMPARE(ChannelCodec::headerTexts().size(), 1 + columns);
    for (QWidget *widget : m_ui.tab_user->findChildren<QWidget *>()) {
        const auto *edit = qobject_cast<QLineEdit *>(widget);
        // A read-only line shows a measurement, not a setting.
        const bool value = qobject_cast<QSpinBox *>(widget) || qobject_cast<QComboBox *>(widget) ||
                           qobject_cast<QAbstractButton *>(widget) || (edit && !edit->isReadOnly());
        if (value && !qobject_cast<QPushButton *>(widget) &&
            !widget->objectName().startsWith(QLatin1String("qt_")))
            QVERIFY2(bound.contains(widget->objectName()), qPrintable(widget->objectName()));
    }
    // Every member of the user file is set by a row: a value without one keeps its default.
    const UserConfig defaults;
    UserConfig changed;
    for (const UserBindings::Binding &binding : UserBindings::all()) {
        for (int n = 1; n <= (binding.inChannelTable() ? Wire::kChannelCount : 1); ++n)
            binding.set(changed, n, binding.get(defaults, n) == 0 ? 1 : 0);
    }
    QMap<QString, QJsonValue> members;
    for (const auto &entry : changed.entries())
        members.insert(entry.first, entry.second);
    for (const auto &entry : defaults.entries())
        QVERIFY2(members.value(entry.first) != entry.second, qPrintable(entry.first));
}

void TestFormInventory::valueWidgetsAreNamedInTheirTablesOnly_data()
{
    QTest::addColumn<QString>("path");
    const QString sourceDir = qEnvironmentVariable("LX_SOURCE_DIR");
    if (sourceDir.isEmpty())
        QSKIP("needs LX_SOURCE_DIR (set by ctest)");
    QDirIterator files(sourceDir + QStringLiteral("/ui"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = QDir(sourceDir).relativeFilePath(files.next());
        // The form's generator builds the widgets; the tables name them.
        if (!path.startsWith(QLatin1String("ui/tools/")) &&
            path != QLatin1String("ui/factorypages/factorybindings.cpp") &&
            path != QLatin1String("ui/userpage/userbindings.cpp"))
            QTest::newRow(qPrintable(path)) << path;
    }
}

// Code that names a value widget itself instead of finding it through its table fails here. A
// slot connected by the widget's name (on_<name>_<signal>) is no such use.
void TestFormInventory::valueWidgetsAreNamedInTheirTablesOnly()
{
    QFETCH(QString, path);
    QStringList names;
    for (const FactoryBindings::Binding &binding : FactoryBindings::all())
        names << QString::fromLatin1(binding.widget) << QString::fromLatin1(binding.partner);
    for (auto page : {FactoryBindings::Page::Lx815, FactoryBindings::Page::Mr460}) {
        const auto &selectors = FactoryBindings::powerSelectors(page);
        for (const char *name : selectors.powers)
            names << QString::fromLatin1(name);
        for (const char *name : selectors.points)
            names << QString::fromLatin1(name);
    }
    for (const UserBindings::Binding &binding : UserBindings::all()) {
        if (!binding.inChannelTable())
            names << QString::fromLatin1(binding.widget) << QString::fromLatin1(binding.partner);
    }
    names.removeAll(QString());

    QFile file(qEnvironmentVariable("LX_SOURCE_DIR") + QLatin1Char('/') + path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString &name : names) {
        const QRegularExpression use(
            QStringLiteral("(->|\\.|::|\")%1(?!\\w)").arg(QRegularExpression::escape(name)));
        QVERIFY2(!use.match(text).hasMatch(), qPrintable(name));
    }
}

QTEST_MAIN(TestFormInventory)
#include "tst_forminventory.moc"
