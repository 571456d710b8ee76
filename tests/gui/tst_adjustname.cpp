#include "ui/factorypages/adjustname.h"

#include <QtTest>

// The adjust button name grammar, decoded without any widget.
class TestAdjustName : public QObject
{
    Q_OBJECT

private slots:
    void decodeAdjustName_data();
    void decodeAdjustName();
    void stepTableBytesAreTheDeltas();
};

void TestAdjustName::decodeAdjustName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("operation");
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("stepIndex");
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<bool>("isSigned");

    auto ok = [](const char *tag, const char *name, int op, uint type, int point, int step,
                 const char *box, bool isSigned) {
        QTest::newRow(tag) << QString::fromLatin1(name) << true << op << type << point << step
                           << QString::fromLatin1(box) << isSigned;
    };
    auto bad = [](const char *tag, const char *name) {
        QTest::newRow(tag) << QString::fromLatin1(name) << false << 0 << 0u << 0 << -1 << QString()
                           << false;
    };
    ok("signed read", "adjust_o0_t7_p0_spinBox_76_signed_", 0, 7, 0, -1, "spinBox_76", true);
    ok("middle write", "adjust_o1_t7_p1_spinBox_75_", 1, 7, 1, -1, "spinBox_75", false);
    ok("step +1", "adjust_o2_t7_p1_of1_spinBox_75_", 2, 7, 1, 1, "spinBox_75", false);
    ok("mod bias step", "adjust_o2_t2_p1_of0_spinBox_44_", 2, 2, 1, 0, "spinBox_44", false);
    ok("two-digit type", "adjust_o1_t11_p2_spinBox_56_", 1, 11, 2, -1, "spinBox_56", false);
    ok("three-digit box", "adjust_o0_t6_p0_spinBox_109_signed_", 0, 6, 0, -1, "spinBox_109", true);
    ok("no trailing underscore", "adjust_o0_t0_p1_spinBox_86", 0, 0, 1, -1, "spinBox_86", false);
    ok("any other operation steps", "adjust_o7_t3_p1_of3_spinBox_41_", 7, 3, 1, 3, "spinBox_41",
       false);
    ok("read ignores a step index", "adjust_o0_t3_p1_of9_spinBox_41_", 0, 3, 1, -1, "spinBox_41",
       false);
    ok("bad operation reads", "adjust_oX_t7_p1_spinBox_75_", 0, 7, 1, -1, "spinBox_75", false);
    ok("bad type is 0", "adjust_o0_tZ_p1_spinBox_75_", 0, 0, 1, -1, "spinBox_75", false);
    ok("bad point is 0", "adjust_o0_t7_pQ_spinBox_76_", 0, 7, 0, -1, "spinBox_76", false);
    ok("first _o wins", "adjust_of2_t7_p1_spinBox_75_", 0, 7, 1, -1, "spinBox_75", false);
    ok("markers anywhere", "x_p1_t5_o1_spinBox_72_", 1, 5, 1, -1, "spinBox_72", false);
    bad("no operation", "adjust_t7_p1_spinBox_75_");
    bad("no type", "adjust_o0_p1_spinBox_75_");
    bad("no point", "adjust_o0_t7_spinBox_75_");
    bad("no spin box", "adjust_o0_t7_p1_box_75_");
    bad("operation at 0", "_o0_t7_p1_spinBox_75_");
    bad("step without index", "adjust_o2_t7_p1_spinBox_75_");
    bad("point 3", "adjust_o0_t7_p3_spinBox_75_");
    bad("point -1", "adjust_o0_t7_p-1_spinBox_75_");
    bad("step index 4", "adjust_o2_t7_p1_of4_spinBox_75_");
    bad("step index -1", "adjust_o2_t7_p1_of-1_spinBox_75_");
    bad("case matters", "adjust_o0_t7_p1_SpinBox_75_");
    bad("empty", "");
}

void TestAdjustName::decodeAdjustName()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);

    const auto parsed = parseAdjustName(name);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, operation);
    QFETCH(uint, type);
    QFETCH(int, point);
    QFETCH(int, stepIndex);
    QFETCH(QString, spinBox);
    QFETCH(bool, isSigned);
    QCOMPARE(parsed->operation, operation);
    QCOMPARE(parsed->type, type);
    QCOMPARE(parsed->point, point);
    QCOMPARE(parsed->stepIndex, stepIndex);
    QCOMPARE(parsed->spinBoxName, spinBox);
    QCOMPARE(parsed->isSigned, isSigned);
    QCOMPARE(parsed->isStep(), stepIndex >= 0);
}

void TestAdjustName::stepTableBytesAreTheDeltas()
{
    for (const AdjustStep &step : kAdjustSteps) {
        QCOMPARE(step.wireByte, quint8(step.delta));
        QCOMPARE(QString::fromLatin1(step.text).toInt(), step.delta);
    }
}

QTEST_APPLESS_MAIN(TestAdjustName)
#include "tst_adjustname.moc"
