#include "ui/factorypages/adjustname.h"
#include "ui/factorypages/factorybindings.h"

// uic runs for this test on ui/mainwindow.ui itself, so the pages are checked as the form
// builds them, without the window's own construction.
#include "ui_mainwindow.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {
// What one factory sub page gets inside the 847 x 675 window, in pixels.
constexpr QSize kSubPageRoom{830, 440};
constexpr int kSmallButtonWidthPx = 40;

struct Form
{
    QMainWindow window;
    Ui::MainWindow ui;
    Form() { ui.setupUi(&window); }
    template<class T> T *find(const QString &name) const { return window.findChild<T *>(name); }
};

// A three-point group has low, middle and high spin boxes; a single-value group a middle one.
struct AdjustGroupSpec
{
    const char *group;
    const char *page;
    unsigned type;
    const char *low;
    const char *middle;
    const char *high;
};

const AdjustGroupSpec kAdjustGroups[] = {
    {"groupBox_26", "tab_6", 7, "spinBox_76", "spinBox_75", "spinBox_77"},
    {"groupBox_27", "tab_6", 6, "spinBox_79", "spinBox_80", "spinBox_78"},
    {"groupBox_43", "tab_6", 0, nullptr, "spinBox_86", nullptr},
    {"groupBox_44", "tab_6", 2, nullptr, "spinBox_44", nullptr},
    {"groupBox_29", "tab_6", 3, nullptr, "spinBox_41", nullptr},
    {"groupBox_28", "tab_6", 12, "spinBox_54", "spinBox_55", "spinBox_53"},
    {"groupBox_23", "tab_7", 5, "spinBox_73", "spinBox_72", "spinBox_74"},
    {"groupBox_30", "tab_8", 11, "spinBox_85", "spinBox_84", "spinBox_56"},
    {"groupBox_19", "tab_8", 10, nullptr, "spinBox_43", nullptr},
    {"groupBox_40", "tab_8", 1, nullptr, "spinBox_42", nullptr},
    {"groupBox_49", "tab", 0, nullptr, "spinBox_87", nullptr},
    {"groupBox_50", "tab", 2, nullptr, "spinBox_45", nullptr},
    {"groupBox_32", "tab_3", 7, "spinBox_104", "spinBox_103", "spinBox_105"},
    {"groupBox_33", "tab_3", 12, "spinBox_107", "spinBox_106", "spinBox_108"},
    {"groupBox_34", "tab_3", 6, "spinBox_109", "spinBox_111", "spinBox_110"},
    {"groupBox_31", "tab_3", 3, nullptr, "spinBox_46", nullptr},
};

constexpr unsigned kModBiasType = 2;   // its keys are labelled with the opposite sign
constexpr unsigned kRxFilterType = 11; // writes its low and high points without "signed"
constexpr int kExpectedAdjustButtons = 128;

QString adjustName(int operation, unsigned type, int point, const char *box, int step = -1,
                   bool isSigned = false)
{
    QString name = QStringLiteral("adjust_o%1_t%2_p%3_").arg(operation).arg(type).arg(point);
    if (step >= 0)
        name += QStringLiteral("of%1_").arg(step);
    name += QLatin1String(box) + QLatin1Char('_');
    if (isSigned)
        name += QStringLiteral("signed_");
    return name;
}

QStringList expectedAdjustButtons(const AdjustGroupSpec &entry)
{
    QStringList names;
    const char *boxes[] = {entry.low, entry.middle, entry.high};
    for (int point = 0; point < 3; ++point) {
        if (!boxes[point])
            continue;
        const bool middle = point == 1;
        names << adjustName(kAdjustRead, entry.type, point, boxes[point], -1, !middle)
              << adjustName(kAdjustWrite, entry.type, point, boxes[point], -1,
                            !middle && entry.type != kRxFilterType);
        for (int step = 0; middle && step < 4; ++step)
            names << adjustName(2, entry.type, point, boxes[point], step);
    }
    names.sort();
    return names;
}

QString pageOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (name.startsWith(QLatin1String("tab")) && !name.startsWith(QLatin1String("tabWidget")))
            return name;
    }
    return {};
}

QList<QPushButton *> adjustButtonsIn(const QWidget *root)
{
    QList<QPushButton *> result;
    for (QPushButton *button : root->findChildren<QPushButton *>()) {
        if (button->objectName().startsWith(QLatin1String("adjust_")))
            result << button;
    }
    return result;
}

// Puts every translatable text in brackets, so that texts meant to stay literal stand out.
class BracketTranslator : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QStringLiteral("[%1]").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};
} // namespace

class TestFormPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void adjustButtonCount();
    void adjustGroups_data();
    void adjustGroups();
    void adjustButtons_data();
    void adjustButtons();
    void stepKeysStandInTheSamePlaces_data();
    void stepKeysStandInTheSamePlaces();

    void powerTableSelection_data();
    void powerTableSelection();
    void radioPairsExcludeEachOther_data();
    void radioPairsExcludeEachOther();
    void literalTexts();

    void userPageArrangement();
    void smallButtons_data();
    void smallButtons();
    void factoryGroupsFit_data();
    void factoryGroupsFit();
    void generatorInStep();

private:
    std::unique_ptr<Form> m_form;
};

void TestFormPages::initTestCase()
{
    // The fit checks measure at a desktop font size; the offscreen default is larger.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    m_form = std::make_unique<Form>();
}

// ---------------------------------------------------------------------------------------------

// ---------------------------------------------------------------------------------------------
// Calibration adjust buttons

void TestFormPages::adjustButtonCount()
{
    QCOMPARE(adjustButtonsIn(&m_form->window).size(), kExpectedAdjustButtons);
    // Nothing but push buttons carries the prefix the adjust wiring looks for.
    int named = 0;
    for (QObject *object : m_form->window.findChildren<QObject *>()) {
        if (object->objectName().startsWith(QLatin1String("adjust_")))
            ++named;
    }
    QCOMPARE(named, kExpectedAdjustButtons);
}

void TestFormPages::adjustGroups_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("expected");
    for (const AdjustGroupSpec &entry : kAdjustGroups) {
        QTest::newRow(entry.group)
            << QString::fromLatin1(entry.group) << QString::fromLatin1(entry.page)
            << expectedAdjustButtons(entry);
    }
    // The data modulation deviation group name by name, as the adjust wiring expects it.
    QStringList written{"adjust_o0_t7_p0_spinBox_76_signed_", "adjust_o1_t7_p0_spinBox_76_signed_",
                        "adjust_o0_t7_p1_spinBox_75_",        "adjust_o1_t7_p1_spinBox_75_",
                        "adjust_o2_t7_p1_of0_spinBox_75_",    "adjust_o2_t7_p1_of1_spinBox_75_",
                        "adjust_o2_t7_p1_of2_spinBox_75_",    "adjust_o2_t7_p1_of3_spinBox_75_",
                        "adjust_o0_t7_p2_spinBox_77_signed_", "adjust_o1_t7_p2_spinBox_77_signed_"};
    written.sort();
    QTest::newRow("groupBox_26 written out") << "groupBox_26"
                                             << "tab_6" << written;
}

void TestFormPages::adjustGroups()
{
    QFETCH(QString, group);
    QFETCH(QString, page);
    QFETCH(QStringList, expected);

    auto *box = m_form->find<QGroupBox>(group);
    QVERIFY(box);
    QCOMPARE(pageOf(box), page);
    QStringList names;
    for (QPushButton *button : adjustButtonsIn(box))
        names << button->objectName();
    names.sort();
    QCOMPARE(names, expected);
}

void TestFormPages::adjustButtons_data()
{
    QTest::addColumn<QString>("name");
    for (QPushButton *button : adjustButtonsIn(&m_form->window))
        QTest::newRow(qPrintable(button->objectName())) << button->objectName();
}

void TestFormPages::adjustButtons()
{
    QFETCH(QString, name);

    auto *button = m_form->find<QPushButton>(name);
    QVERIFY(button);
    const auto parsed = parseAdjustName(name);
    QVERIFY(parsed);
    QVERIFY(parsed->operation >= kAdjustRead && parsed->operation <= 2);

    // The value's spin box stands in the button's own group.
    auto *group = qobject_cast<QGroupBox *>(button->parentWidget());
    QVERIFY(group);
    auto *spin = group->findChild<QSpinBox *>(parsed->spinBoxName);
    QVERIFY2(spin, qPrintable(parsed->spinBoxName));
    const bool middle = parsed->point == 1;
    QCOMPARE(spin->minimum(), middle ? 0 : -128);
    QCOMPARE(spin->maximum(), middle ? 255 : 127);
    QCOMPARE(spin->value(), 0);
    QVERIFY(spin->specialValueText().isEmpty());
    QCOMPARE(parsed->isSigned,
             !middle && !(parsed->type == kRxFilterType && parsed->operation == kAdjustWrite));

    // The binding table gives the spin box the address the button's name sends to.
    const FactoryBindings::Binding *binding = nullptr;
    for (const auto &row : FactoryBindings::all()) {
        if (parsed->spinBoxName == QLatin1String(row.widget))
            binding = &row;
    }
    QVERIFY(binding && binding->source);
    QCOMPARE(int(binding->source->kind), int(FactorySource::Kind::Adjust));
    QCOMPARE(unsigned(binding->source->adjustType), parsed->type);
    QCOMPARE(binding->source->point, parsed->point);

    const bool lx815 = m_form->ui.tab_lx815->isAncestorOf(button);
    QString text;
    if (parsed->operation == kAdjustRead) {
        text = lx815 ? QStringLiteral("读") : QStringLiteral("Read");
    } else if (parsed->operation == kAdjustWrite) {
        text = lx815 ? QStringLiteral("写") : QStringLiteral("Set");
    } else {
        QVERIFY(middle);
        const int delta = kAdjustSteps.at(parsed->stepIndex).delta;
        const int shown = parsed->type == kModBiasType ? -delta : delta;
        text = (shown > 0 ? QStringLiteral("+") : QString()) + QString::number(shown);
    }
    QCOMPARE(button->text(), text);
    QVERIFY(button->maximumWidth() <= kSmallButtonWidthPx);
}

void TestFormPages::stepKeysStandInTheSamePlaces_data()
{
    QTest::addColumn<QString>("group");
    for (const AdjustGroupSpec &entry : kAdjustGroups)
        QTest::newRow(entry.group) << QString::fromLatin1(entry.group);
}

// "+1" and "-1" side by side, "+10" and "-10" under them, in every group; the MOD_BIAS
// groups keep the places and labels but step the other way.
void TestFormPages::stepKeysStandInTheSamePlaces()
{
    QFETCH(QString, group);

    auto *box = m_form->find<QGroupBox>(group);
    QVERIFY(box);
    QHash<QString, QPushButton *> keys;
    unsigned type = 0;
    for (QPushButton *button : adjustButtonsIn(box)) {
        const auto parsed = parseAdjustName(button->objectName());
        type = parsed->type;
        if (parsed->isStep())
            keys.insert(button->text(), button);
    }
    QCOMPARE(keys.size(), 4);
    const QStringList labels{"+1", "-1", "+10", "-10"};
    const QList<int> indexes =
        type == kModBiasType ? QList<int>{0, 1, 2, 3} : QList<int>{1, 0, 3, 2};
    QGridLayout *grid = nullptr;
    for (auto *layout : box->findChildren<QGridLayout *>()) {
        if (layout->indexOf(keys.value("+1")) >= 0)
            grid = layout;
    }
    QVERIFY(grid);
    auto place = [grid](QWidget *widget) {
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(widget), &row, &column, &rowSpan, &columnSpan);
        return QPoint(column, row);
    };
    const QPoint first = place(keys.value("+1"));
    const QList<QPoint> offsets{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < labels.size(); ++i) {
        QPushButton *key = keys.value(labels[i]);
        QVERIFY2(key, qPrintable(labels[i]));
        QCOMPARE(place(key), first + offsets[i]);
        QCOMPARE(parseAdjustName(key->objectName())->stepIndex, indexes[i]);
    }
}

// ---------------------------------------------------------------------------------------------
// Selection state

void TestFormPages::powerTableSelection_data()
{
    QTest::addColumn<QStringList>("powers");
    QTest::addColumn<QStringList>("points");
    QTest::newRow("LX-815") << QStringList{"radioButton_33", "radioButton_32", "radioButton_29",
                                           "radioButton_31", "radioButton_30"}
                            << QStringList{"radioButton_16", "radioButton_15", "radioButton_17"};
    QTest::newRow("MR-460") << QStringList{"radioButton_34", "radioButton_35", "radioButton_37",
                                           "radioButton_38", "radioButton_36"}
                            << QStringList{"radioButton_21", "radioButton_20", "radioButton_19"};
}

// A power and a point are chosen independently; each set keeps exactly one choice.
void TestFormPages::powerTableSelection()
{
    QFETCH(QStringList, powers);
    QFETCH(QStringList, points);

    Form form; // clicks change the state: a form of its own
    auto checked = [&form](const QStringList &names) {
        QStringList result;
        for (const QString &name : names) {
            if (form.find<QRadioButton>(name)->isChecked())
                result << name;
        }
        return result;
    };
    QCOMPARE(checked(powers), QStringList{powers.first()});
    QCOMPARE(checked(points), QStringList{points.first()});

    for (const QString &power : powers) {
        form.find<QRadioButton>(power)->click();
        QCOMPARE(checked(powers), QStringList{power});
        QCOMPARE(checked(points), QStringList{points.first()});
    }
    for (const QString &point : points) {
        form.find<QRadioButton>(point)->click();
        QCOMPARE(checked(points), QStringList{point});
        QCOMPARE(checked(powers), QStringList{powers.last()});
    }
}

void TestFormPages::radioPairsExcludeEachOther_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("control mode") << "radioButton"
                                  << "radioButton_2";
    QTest::newRow("power save") << "radioButton_3"
                                << "radioButton_4";
    QTest::newRow("sidetone") << "radioButton_5"
                              << "radioButton_6";
    QTest::newRow("audio wave") << "radioButton_7"
                                << "radioButton_8";
    QTest::newRow("coupling test") << "radioButton_12"
                                   << "radioButton_13";
    QTest::newRow("coupling others") << "radioButton_22"
                                     << "radioButton_23";
    QTest::newRow("coupling MR-460") << "radioButton_14"
                                     << "radioButton_18";
}

// Each pair excludes its own partner only: no other radio button of the window changes.
void TestFormPages::radioPairsExcludeEachOther()
{
    QFETCH(QString, first);
    QFETCH(QString, second);

    Form form;
    auto *a = form.find<QRadioButton>(first);
    auto *b = form.find<QRadioButton>(second);
    QVERIFY(!a->isChecked() && !b->isChecked());
    QList<QRadioButton *> radios = form.window.findChildren<QRadioButton *>();
    radios.removeAll(a);
    radios.removeAll(b);
    for (QRadioButton *radio : radios)
        radio->setChecked(true);
    QHash<QRadioButton *, bool> others;
    for (QRadioButton *radio : radios)
        others.insert(radio, radio->isChecked());
    a->click();
    QVERIFY(a->isChecked() && !b->isChecked());
    b->click();
    QVERIFY(!a->isChecked() && b->isChecked());
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        QCOMPARE(it.key()->isChecked(), it.value());
}

// Band texts are shown as they stand; everything else goes through the translator.
void TestFormPages::literalTexts()
{
    Form form;
    BracketTranslator translator;
    QCoreApplication::installTranslator(&translator);
    form.ui.retranslateUi(&form.window);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(form.ui.comboBox_2->itemText(0), QStringLiteral("136 - 174 MHz"));
    QCOMPARE(form.ui.comboBox_2->itemText(3), QStringLiteral("450 - 490 MHz"));
    QCOMPARE(form.ui.comboBox_2->currentIndex(), -1);
    QCOMPARE(form.ui.comboBox->itemText(0), QStringLiteral("[Mode 0]"));
    QCOMPARE(form.ui.pushButton_23->text(), QStringLiteral("[静噪0.25uV校准]"));
    QCOMPARE(form.ui.pushButton_273->text(), QStringLiteral("[强制进入发射模式\n数据PTT开启]"));
    QCOMPARE(form.ui.groupBox_24->title(), QStringLiteral("[Transmit Power Adjustment]"));
    QCOMPARE(form.ui.tabWidget_3->tabText(3), QStringLiteral("[其他]"));
    for (QPushButton *button : adjustButtonsIn(&form.window)) {
        QVERIFY2(button->text().startsWith(QLatin1Char('[')), qPrintable(button->objectName()));
    }
}

// ---------------------------------------------------------------------------------------------
// Arrangement and fit

void TestFormPages::userPageArrangement()
{
    const Ui::MainWindow &ui = m_form->ui;
    auto *columns = qobject_cast<QHBoxLayout *>(ui.tab_user->layout());
    QVERIFY(columns);
    QCOMPARE(columns->spacing(), 3);
    QCOMPARE(columns->contentsMargins(), QMargins());
    QCOMPARE(columns->count(), 3);
    QCOMPARE(columns->itemAt(0)->widget(), ui.widget_3);
    QCOMPARE(columns->itemAt(1)->widget(), ui.widget_8);
    QCOMPARE(columns->itemAt(2)->widget(), ui.widget_4);

    QCOMPARE(ui.pushButton->parentWidget(), ui.pushButton_2->parentWidget());
    QCOMPARE(ui.pushButton->parentWidget()->maximumHeight(), 30);
    QVERIFY(ui.groupBox_3->isAncestorOf(ui.pushButton));
    QCOMPARE(ui.groupBox->parentWidget(), ui.groupBox_2->parentWidget());
    QCOMPARE(ui.groupBox->parentWidget()->maximumHeight(), 93);

    // The channel grid is built in code: the container starts empty and takes the room.
    QVERIFY(ui.groupBox_3->isAncestorOf(ui.wdgFreqBox));
    QVERIFY(!ui.wdgFreqBox->layout());
    QVERIFY(ui.wdgFreqBox->children().isEmpty());
    QCOMPARE(ui.wdgFreqBox->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(ui.wdgFreqBox->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
}

void TestFormPages::smallButtons_data()
{
    QTest::addColumn<QString>("name");
    for (int number : {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21, 22}) {
        const QString name = QStringLiteral("pushButton_%1").arg(number);
        QTest::newRow(qPrintable(name)) << name;
    }
}

// The Read/Set buttons of the second and third columns stay narrow.
void TestFormPages::smallButtons()
{
    QFETCH(QString, name);
    auto *button = m_form->find<QPushButton>(name);
    QVERIFY(button);
    QVERIFY(m_form->ui.widget_8->isAncestorOf(button) || m_form->ui.widget_4->isAncestorOf(button));
    QVERIFY(button->maximumWidth() <= kSmallButtonWidthPx);
}

void TestFormPages::factoryGroupsFit_data()
{
    QTest::addColumn<QString>("page");
    for (const char *page : {"tab_6", "tab_7", "tab_8", "tab_9", "tab", "tab_2", "tab_3", "tab_5"})
        QTest::newRow(page) << QString::fromLatin1(page);
}

// Groups at fixed positions: none may overlap another, leave its page or cut its own content.
void TestFormPages::factoryGroupsFit()
{
    QFETCH(QString, page);

    auto *widget = m_form->find<QWidget>(page);
    QVERIFY(widget);
    const QRect room(QPoint(0, 0), widget->minimumSize());
    QVERIFY2(room.width() <= kSubPageRoom.width() && room.height() <= kSubPageRoom.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(room.width()).arg(room.height())));

    const auto groups = widget->findChildren<QGroupBox *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(!groups.isEmpty());
    for (QGroupBox *group : groups) {
        const QString name = group->objectName();
        QVERIFY2(room.contains(group->geometry()), qPrintable(name));
        const QSize needed = group->minimumSizeHint();
        QVERIFY2(needed.width() <= group->width() && needed.height() <= group->height(),
                 qPrintable(QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                                .arg(name)
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(group->width())
                                .arg(group->height())));
        for (QGroupBox *other : groups) {
            if (other != group)
                QVERIFY2(!group->geometry().intersects(other->geometry()),
                         qPrintable(name + QLatin1Char('/') + other->objectName()));
        }
    }
}

// The form is generated; a hand edit of the .ui that the tables do not know is caught here.
void TestFormPages::generatorInStep()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    const QString sourceDir = qEnvironmentVariable("LX_SOURCE_DIR");
    if (python.isEmpty() || sourceDir.isEmpty())
        QSKIP("needs python3 and LX_SOURCE_DIR (set by ctest)");
    QProcess generator;
    generator.start(python, {sourceDir + QStringLiteral("/ui/tools/gen_mainwindow_ui.py"),
                             QStringLiteral("--check")});
    QVERIFY(generator.waitForFinished(30000));
    QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());
}

QTEST_MAIN(TestFormPages)
#include "tst_formpages.moc"
