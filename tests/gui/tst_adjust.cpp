#include "support/debugcapture.h"
#include "support/factoryrig.h"
#include "support/factorystates.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QtTest>

namespace {
// Read, write and step commands; a three-point type carries the point byte.
constexpr quint8 kRead = 0xA0;
const QList<int> kThreePointTypes{5, 6, 7, 8, 11, 12};
const QList<int> kStepDeltas{-1, 1, -10, 10};
const QStringList kStepLabels{"-1", "+1", "-10", "+10"};
constexpr int kAdjustButtons = 128;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}

// What a button's name promises, decoded here independently of the tool.
struct Promise
{
    int operation = 0;
    int type = 0;
    int point = 0;
    int step = -1;
    QString box;
    bool isSigned = false;

    QByteArray address() const
    {
        QByteArray a = bytes({kRead + operation, type});
        if (kThreePointTypes.contains(type))
            a.append(static_cast<char>(point));
        return a;
    }
};

Promise promiseOf(const QString &name)
{
    static const QRegularExpression grammar(
        QStringLiteral("^adjust_o(\\d)_t(\\d+)_p(\\d)_(?:of(\\d)_)?(spinBox_\\d+)_(signed_)?$"));
    const auto m = grammar.match(name);
    if (!m.hasMatch()) {
        Promise broken;
        broken.operation = -1;
        return broken;
    }
    return Promise{m.captured(1).toInt(), m.captured(2).toInt(),
                   m.captured(3).toInt(), m.captured(4).isEmpty() ? -1 : m.captured(4).toInt(),
                   m.captured(5),         !m.captured(6).isEmpty()};
}

// 0xF6 shows -10 in the signed low-point box of type 7 and 246 in its middle box.
ModuleState adjustModule()
{
    ModuleState state = FactoryStates::distinct();
    state.adjust[7][0] = 0xF6;
    state.adjust[7][1] = 0xF6;
    return state;
}
} // namespace

class TestAdjust : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void everyButton_data();
    void everyButton();
    void replies_data();
    void replies();
    void failedReadBlanksAndBlocksWrite();
    void debugLine_data();
    void debugLine();
    void ignoredNames_data();
    void ignoredNames();

private:
    std::unique_ptr<FactoryRig> m_rig;
};

void TestAdjust::initTestCase()
{
    SimHarness::Options options;
    options.state = adjustModule();
    m_rig = std::make_unique<FactoryRig>(options);
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
}

void TestAdjust::cleanupTestCase()
{
    m_rig.reset();
}

void TestAdjust::init()
{
    m_rig->sim().faults().clearRules();
    m_rig->module() = adjustModule();
    m_rig->clear();
}

void TestAdjust::everyButton_data()
{
    QTest::addColumn<QString>("name");
    const auto buttons =
        m_rig->window().findChildren<QPushButton *>(QRegularExpression(QStringLiteral("^adjust_")));
    QCOMPARE(buttons.size(), kAdjustButtons);
    for (const QPushButton *button : buttons)
        QTest::newRow(qPrintable(button->objectName())) << button->objectName();
}

void TestAdjust::everyButton()
{
    QFETCH(QString, name);
    const Promise promise = promiseOf(name);
    QVERIFY2(promise.operation >= 0, "the name does not follow the grammar");
    auto *box = m_rig->widget<QSpinBox>(promise.box);
    QVERIFY(box);
    ModuleState &module = m_rig->module();
    const quint8 before = module.adjustValue(quint8(promise.type), promise.point);

    QByteArray expected = promise.address();
    int boxBefore = 0;
    if (promise.operation == 1) {
        box->setValue(box->minimum() < 0 ? -1 : 201); // -1 goes as FF
        expected.append(static_cast<char>(box->value()));
    } else if (promise.operation == 2) {
        const int delta = kStepDeltas.at(promise.step);
        expected.append(static_cast<char>(delta));
        // The labels of the modulation bias keys carry the opposite sign.
        const QString label = kStepLabels.at(promise.type == 2 ? promise.step ^ 1 : promise.step);
        QCOMPARE(m_rig->widget<QPushButton>(name)->text(), label);
    }
    boxBefore = box->value();

    QVERIFY(m_rig->click(name));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{expected});
    QVERIFY2(m_rig->boxes().shown.isEmpty(), qPrintable(m_rig->boxes().texts().join('|')));

    const quint8 after = module.adjustValue(quint8(promise.type), promise.point);
    switch (promise.operation) {
    case 0:
        QCOMPARE(box->value(), promise.isSigned ? int(qint8(before)) : int(before));
        QCOMPARE(m_rig->status(), QString("读取成功！"));
        break;
    case 1:
        QCOMPARE(after, quint8(box->value()));
        QCOMPARE(m_rig->status(), QString("设置成功！"));
        break;
    default:
        QCOMPARE(after, quint8(before + kStepDeltas.at(promise.step)));
        QCOMPARE(box->value(), boxBefore); // the user reads the result back
        QCOMPARE(m_rig->status(), QString("设置成功！"));
    }
}

void TestAdjust::replies_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("sent");
    QTest::addColumn<QString>("failure"); // empty: success

    const QString read0 = QStringLiteral("adjust_o0_t0_p1_spinBox_86_");
    const QString read7 = QStringLiteral("adjust_o0_t7_p0_spinBox_76_signed_");
    const QString write = QStringLiteral("adjust_o1_t7_p1_spinBox_75_");
    const QString step = QStringLiteral("adjust_o2_t7_p1_of1_spinBox_75_");
    const QString readFailed = QStringLiteral("读调整值失败！");
    const QString setFailed = QStringLiteral("设置调整值失败！");
    const QString stepFailed = setFailed + QStringLiteral("\n请读回该值以确认。");

    QTest::newRow("type 0: a byte short, then right") << read0 << "A000:short:1" << 2 << QString();
    QTest::newRow("type 0: a byte long, then right") << read0 << "A000:long:1" << 2 << QString();
    QTest::newRow("type 0: wrong first byte three times")
        << read0 << "A000:lead:*" << 3 << readFailed;
    QTest::newRow("type 7 low: a byte short three times")
        << read7 << "A00700:short:*" << 3 << readFailed;
    QTest::newRow("type 7 low: one garbled frame")
        << read7 << "A00700:checksum:1" << 2 << QString();
    QTest::newRow("write refused: at once") << write << "A107:refuse:1" << 1 << setFailed;
    QTest::newRow("write answered 01 01: sent again") << write << "A107:lead:1" << 2 << QString();
    QTest::newRow("write answered 01 01 three times") << write << "A107:lead:*" << 3 << setFailed;
    QTest::newRow("step answered 01 01: not sent again")
        << step << "A207:lead:1" << 1 << stepFailed;
    QTest::newRow("step refused: nothing changed, no read-back hint")
        << step << "A207:refuse:1" << 1 << setFailed;
    QTest::newRow("step reply a byte long") << step << "A207:long:1" << 1 << stepFailed;
}

void TestAdjust::replies()
{
    QFETCH(QString, button);
    QFETCH(QString, fault);
    QFETCH(int, sent);
    QFETCH(QString, failure);

    QVERIFY(m_rig->sim().addFault(fault));
    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->requests().size(), sent);
    const QList<QByteArray> requests = m_rig->requests();
    QCOMPARE(requests.count(requests.first()), sent); // every attempt the same request
    if (failure.isEmpty()) {
        QVERIFY2(m_rig->boxes().shown.isEmpty(), qPrintable(m_rig->boxes().texts().join('|')));
        return;
    }
    QCOMPARE(m_rig->boxes().texts(), QStringList{failure});
    QCOMPARE(m_rig->boxes().shown.first().title, QString("错误"));
    const bool read = promiseOf(button).operation == 0;
    QCOMPARE(m_rig->status(), read ? QString("读取失败！") : QString("设置失败！"));
}

void TestAdjust::failedReadBlanksAndBlocksWrite()
{
    auto *box = m_rig->widget<QSpinBox>(QStringLiteral("spinBox_41"));
    box->setValue(0);
    QVERIFY(m_rig->sim().addFault(QStringLiteral("A003:short:*")));
    QVERIFY(m_rig->click(QStringLiteral("adjust_o0_t3_p1_spinBox_41_")));
    QCOMPARE(box->text(), QString(" "));

    m_rig->clear();
    QVERIFY(m_rig->click(QStringLiteral("adjust_o1_t3_p1_spinBox_41_")));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请配置调整值！"});
    QVERIFY(m_rig->requests().isEmpty());
    QCOMPARE(m_rig->status(), QString("设置失败！"));

    // A read that succeeds shows the value again, even the minimum.
    m_rig->sim().faults().clearRules();
    m_rig->module().setAdjustValue(3, 1, 0);
    QVERIFY(m_rig->click(QStringLiteral("adjust_o0_t3_p1_spinBox_41_")));
    QCOMPARE(box->text(), QString("0"));
    m_rig->clear();
    QVERIFY(m_rig->click(QStringLiteral("adjust_o1_t3_p1_spinBox_41_")));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{bytes({0xA1, 3, 0})});
}

void TestAdjust::debugLine_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("line");

    QTest::newRow("read") << "adjust_o0_t7_p0_spinBox_76_signed_" << 0 << "read 7, low, box=0";
    QTest::newRow("write") << "adjust_o1_t12_p2_spinBox_53_signed_" << -3 << "set 12, high, box=-3";
    QTest::newRow("step") << "adjust_o2_t2_p1_of0_spinBox_44_" << 17
                          << "offset 2, middle, -1, box=17";
    QTest::newRow("step +10") << "adjust_o2_t6_p1_of3_spinBox_80_" << 250
                              << "offset 6, middle, +10, box=250";
}

void TestAdjust::debugLine()
{
    QFETCH(QString, button);
    QFETCH(int, value);
    QFETCH(QString, line);

    m_rig->widget<QSpinBox>(promiseOf(button).box)->setValue(value);
    DebugCapture capture;
    QVERIFY(m_rig->click(button));
    QCOMPARE(capture.linesStartingWith({"read ", "set ", "offset "}), QStringList{line});
}

void TestAdjust::ignoredNames_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("no point") << "adjust_o0_t7_spinBox_76_signed_";
    QTest::newRow("no type") << "adjust_o0_p1_spinBox_75_";
    QTest::newRow("no spin box") << "adjust_o0_t7_p1_";
    QTest::newRow("step without step index") << "adjust_o2_t7_p1_spinBox_75_";
    QTest::newRow("point 3") << "adjust_o0_t7_p3_spinBox_76_signed_";
    QTest::newRow("step index 4") << "adjust_o2_t7_p1_of4_spinBox_75_";
    QTest::newRow("spin box that does not exist") << "adjust_o0_t7_p1_spinBox_999_";
}

void TestAdjust::ignoredNames()
{
    QFETCH(QString, name);

    // A wired button renamed: the slot decodes the name at the click.
    auto *button = m_rig->widget<QPushButton>(QStringLiteral("adjust_o0_t7_p1_spinBox_75_"));
    QVERIFY(button);
    button->setObjectName(name);
    const QString statusBefore = m_rig->status();
    DebugCapture capture;
    button->click();
    button->setObjectName(QStringLiteral("adjust_o0_t7_p1_spinBox_75_"));

    QVERIFY(m_rig->requests().isEmpty());
    QVERIFY(m_rig->boxes().shown.isEmpty());
    QVERIFY(capture.linesStartingWith({"read ", "set ", "offset "}).isEmpty());
    QCOMPARE(m_rig->status(), statusBefore);
}

QTEST_MAIN(TestAdjust)
#include "tst_adjust.moc"
