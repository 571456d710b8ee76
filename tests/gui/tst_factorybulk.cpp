#include "config/factoryconfig.h"
#include "support/factoryrig.h"
#include "support/factorystates.h"
#include "support/hexbytes.h"
#include "ui/factorypages/factorybindings.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using FactoryBindings::spinBoxOf;

namespace {
// The reads of "读取全部参数" and the leading bytes of the writes of "写入全部参数", in order.
const QStringList kReadAll{"A00700", "A00701", "A00702", "A00600", "A00601", "A00602", "A00C00",
                           "A00C01", "A00C02", "A003",   "A000",   "A002",   "39",     "018100",
                           "A00500", "A00501", "A00502", "A00B00", "A00B01", "A00B02", "A00A",
                           "A001",   "C200",   "C201",   "C202",   "3223",   "39",     "3225"};
const QStringList kWriteAll{"A10700", "A10701", "A10702", "A10600", "A10601", "A10602", "A10C00",
                            "A10C01", "A10C02", "A103",   "A100",   "A102",   "018101", "A10500",
                            "A10501", "A10502", "A10B00", "A10B01", "A10B02", "A10A",   "A101",
                            "C300",   "C301",   "C302",   "3A",     "3224",   "3226"};

// The module's value of a factory number as its spin box shows it.
int moduleNumber(const ModuleState &state, const FactoryNumberField &field)
{
    const FactorySource &source = field.source;
    switch (source.kind) {
    case FactorySource::Kind::Adjust: {
        const quint8 byte = state.adjustValue(source.adjustType, source.point);
        return field.isSigned() ? qint8(byte) : byte;
    }
    case FactorySource::Kind::PowerCell:
        return state.powerTable[Wire::powerTableIndex(source.power, Wire::FreqPoint(source.point))];
    case FactorySource::Kind::RssiOffset:
        return state.rssiOffsets[source.point];
    case FactorySource::Kind::SidetoneVolume:
        return state.sidetoneVolume;
    }
    return 0;
}

QString percent(int done, int count)
{
    return done == 0 ? QString() : QStringLiteral("%1%").arg((done - 1) * 100 / count);
}
} // namespace

class TestFactoryBulk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void band_data();
    void band();
    void serialNumber_data();
    void serialNumber();
    void couplingRead_data();
    void couplingRead();
    void couplingWrite_data();
    void couplingWrite();
    void sidetone();
    void readAll();
    void readAllStops_data();
    void readAllStops();
    void writeAll();
    void writeAllStops_data();
    void writeAllStops();

private:
    void uncheck(const QString &dc, const QString &ac);
    std::unique_ptr<FactoryRig> m_rig;
};

void TestFactoryBulk::initTestCase()
{
    m_rig = std::make_unique<FactoryRig>();
    QVERIFY2(m_rig->isReady(), qPrintable(m_rig->error()));
}

void TestFactoryBulk::cleanupTestCase()
{
    m_rig.reset();
}

void TestFactoryBulk::init()
{
    m_rig->sim().faults().clearRules();
    m_rig->module() = FactoryStates::distinct();
    for (const auto &field : FactoryCalibration::numberFields()) {
        auto *box = m_rig->widget<QSpinBox>(spinBoxOf(field));
        box->setSpecialValueText(QString());
        box->setValue(0);
    }
    m_rig->widget<QComboBox>("comboBox_2")->setCurrentIndex(-1);
    uncheck("radioButton_12", "radioButton_13");
    uncheck("radioButton_22", "radioButton_23");
    uncheck("radioButton_14", "radioButton_18");
    m_rig->clear();
}

void TestFactoryBulk::uncheck(const QString &dc, const QString &ac)
{
    for (const QString &name : {dc, ac}) {
        auto *radio = m_rig->widget<QRadioButton>(name);
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
    }
}

void TestFactoryBulk::band_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("moduleBand");
    QTest::addColumn<QString>("item"); // chosen before, shown after
    QTest::addColumn<QByteArray>("request");

    QTest::newRow("read 0x12") << "pushButton_39" << 0x12 << "430 - 470 MHz" << hex("3223");
    QTest::newRow("read 0x10") << "pushButton_39" << 0x10 << "136 - 174 MHz" << hex("3223");
    QTest::newRow("read 0x20 selects nothing") << "pushButton_39" << 0x20 << "" << hex("3223");
    QTest::newRow("write 450 - 490 MHz")
        << "pushButton_40" << 0x13 << "450 - 490 MHz" << hex("322413");
    QTest::newRow("write 400 - 440 MHz")
        << "pushButton_40" << 0x11 << "400 - 440 MHz" << hex("322411");
    QTest::newRow("write without a band") << "pushButton_40" << 0x10 << "" << QByteArray();
}

void TestFactoryBulk::band()
{
    QFETCH(QString, button);
    QFETCH(int, moduleBand);
    QFETCH(QString, item);
    QFETCH(QByteArray, request);

    auto *combo = m_rig->widget<QComboBox>("comboBox_2");
    const bool read = button == "pushButton_39";
    if (read) {
        m_rig->module().band = quint8(moduleBand);
        combo->setCurrentIndex(1);
    } else {
        m_rig->module().band = 0x12;
        combo->setCurrentIndex(combo->findText(item));
    }
    QVERIFY(m_rig->click(button));
    if (request.isEmpty()) {
        QCOMPARE(m_rig->boxes().texts(), QStringList{"请选择电台频段！"});
        QVERIFY(m_rig->requests().isEmpty());
        return;
    }
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
    QCOMPARE(combo->currentText(), item);
    QCOMPARE(m_rig->module().band, quint8(moduleBand));
    QCOMPARE(m_rig->status(), read ? QString("读取成功！") : QString("设置成功！"));
}

void TestFactoryBulk::serialNumber_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("write");

    QTest::newRow("LX-815") << "lineEdit_6"
                            << "pushButton_41"
                            << "pushButton_42";
    QTest::newRow("MR-460") << "lineEdit_7"
                            << "pushButton_47"
                            << "pushButton_48";
}

void TestFactoryBulk::serialNumber()
{
    QFETCH(QString, edit);
    QFETCH(QString, read);
    QFETCH(QString, write);

    auto *line = m_rig->widget<QLineEdit>(edit);
    line->clear();
    QVERIFY(m_rig->click(write));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请填写序列号！"});
    QVERIFY(m_rig->requests().isEmpty());

    line->setText("0123456789AB");
    QVERIFY(m_rig->click(write));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{hex("C70123456789AB")});
    QCOMPARE(m_rig->module().serialNumber, hex("0123456789AB"));

    m_rig->module().serialNumber = hex("00FEDCBA9876");
    m_rig->clear();
    QVERIFY(m_rig->click(read));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{hex("C6")});
    QCOMPARE(line->text(), QString("00FEDCBA9876"));

    // A failed read leaves the edit empty.
    QVERIFY(m_rig->sim().addFault("C6:short:*"));
    QVERIFY(m_rig->click(read));
    QCOMPARE(line->text(), QString());
    QVERIFY(m_rig->boxes().texts().contains("读序列号失败！"));
}

void TestFactoryBulk::couplingRead_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dc");
    QTest::addColumn<QString>("ac");
    QTest::addColumn<int>("coupling");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("sent");

    const QList<QStringList> groups{{"pushButton_43", "radioButton_12", "radioButton_13"},
                                    {"pushButton_45", "radioButton_22", "radioButton_23"},
                                    {"pushButton_29", "radioButton_14", "radioButton_18"}};
    for (const QStringList &g : groups) {
        QTest::addRow("%s: 39 00 is DC", qPrintable(g[0]))
            << g[0] << g[1] << g[2] << 0x00 << QString() << 1;
        QTest::addRow("%s: 39 02 is AC", qPrintable(g[0]))
            << g[0] << g[1] << g[2] << 0x02 << QString() << 1;
    }
    QTest::newRow("3A 00 is sent again") << "pushButton_45"
                                         << "radioButton_22"
                                         << "radioButton_23" << 0x01 << "39:lead:1" << 2;
}

void TestFactoryBulk::couplingRead()
{
    QFETCH(QString, button);
    QFETCH(QString, dc);
    QFETCH(QString, ac);
    QFETCH(int, coupling);
    QFETCH(QString, fault);
    QFETCH(int, sent);

    if (!fault.isEmpty())
        QVERIFY(m_rig->sim().addFault(fault));
    m_rig->module().coupling = quint8(coupling);
    // The opposite choice first, so that the read has to change it.
    m_rig->widget<QRadioButton>(coupling == 0 ? ac : dc)->setChecked(true);
    QVERIFY(m_rig->click(button));
    QCOMPARE(m_rig->requests().size(), sent);
    QCOMPARE(m_rig->requests().last(), hex("39"));
    QCOMPARE(m_rig->widget<QRadioButton>(dc)->isChecked(), coupling == 0);
    QCOMPARE(m_rig->widget<QRadioButton>(ac)->isChecked(), coupling != 0);
}

void TestFactoryBulk::couplingWrite_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("check"); // empty: neither
    QTest::addColumn<QByteArray>("request");

    QTest::newRow("test group, nothing chosen") << "pushButton_44" << QString() << QByteArray();
    QTest::newRow("test group, DC") << "pushButton_44"
                                    << "radioButton_12" << hex("3A00");
    QTest::newRow("others group, AC") << "pushButton_46"
                                      << "radioButton_23" << hex("3A01");
    QTest::newRow("others group, nothing chosen") << "pushButton_46" << QString() << QByteArray();
    QTest::newRow("MR-460, AC") << "pushButton_30"
                                << "radioButton_18" << hex("3A01");
    QTest::newRow("MR-460, the LX-815 choice does not count") << "pushButton_30"
                                                              << "radioButton_22" << QByteArray();
}

void TestFactoryBulk::couplingWrite()
{
    QFETCH(QString, button);
    QFETCH(QString, check);
    QFETCH(QByteArray, request);

    if (!check.isEmpty())
        m_rig->widget<QRadioButton>(check)->setChecked(true);
    QVERIFY(m_rig->click(button));
    if (request.isEmpty()) {
        QCOMPARE(m_rig->boxes().texts(), QStringList{"请选择基带信号耦合方式！"});
        QVERIFY(m_rig->requests().isEmpty());
        QCOMPARE(m_rig->status(), QString("设置失败！"));
        return;
    }
    QCOMPARE(m_rig->requests(), QList<QByteArray>{request});
}

void TestFactoryBulk::sidetone()
{
    auto *box = m_rig->widget<QSpinBox>("spinBox_7");
    QVERIFY(m_rig->click("pushButton_37"));
    QCOMPARE(m_rig->requests(), QList<QByteArray>{hex("3225")});
    QCOMPARE(box->value(), 7);

    box->setValue(9);
    QVERIFY(m_rig->click("pushButton_38"));
    QCOMPARE(m_rig->requests().last(), hex("322609"));
    QCOMPARE(m_rig->module().sidetoneVolume, quint8(9));

    // A failed read at 0 leaves the box blank, and blank is not written.
    box->setValue(0);
    QVERIFY(m_rig->sim().addFault("3225:short:*"));
    QVERIFY(m_rig->click("pushButton_37"));
    QCOMPARE(box->text(), QString(" "));
    m_rig->clear();
    QVERIFY(m_rig->click("pushButton_38"));
    QCOMPARE(m_rig->boxes().texts(), QStringList{"请配置侧音音量！"});
    QVERIFY(m_rig->requests().isEmpty());
}

void TestFactoryBulk::readAll()
{
    QVERIFY(m_rig->click("pushButton_28"));
    QCOMPARE(m_rig->requests(), hexList(kReadAll));
    QVERIFY2(m_rig->boxes().shown.isEmpty(), qPrintable(m_rig->boxes().texts().join('|')));
    QCOMPARE(m_rig->status(), QString("读取成功！"));
    QCOMPARE(m_rig->overlayText(), QString("96%"));

    const ModuleState &module = m_rig->module();
    for (const auto &field : FactoryCalibration::numberFields())
        QVERIFY2(m_rig->widget<QSpinBox>(spinBoxOf(field))->value() == moduleNumber(module, field),
                 field.path);
    QCOMPARE(m_rig->widget<QComboBox>("comboBox_2")->currentIndex(), 1);
    QVERIFY(m_rig->widget<QRadioButton>("radioButton_13")->isChecked());
    QVERIFY(m_rig->widget<QRadioButton>("radioButton_23")->isChecked());
    // Outside the sequence: the MR-460 coupling and the serial number.
    QVERIFY(!m_rig->widget<QRadioButton>("radioButton_18")->isChecked());
    QVERIFY(m_rig->widget<QLineEdit>("lineEdit_6")->text().isEmpty());
}

void TestFactoryBulk::readAllStops_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("failing"); // 1-based step

    QTest::newRow("first read") << "A00700:short:*" << 1;
    QTest::newRow("power table") << "018100:short:*" << 14;
    QTest::newRow("band") << "3223:short:*" << 26;
    QTest::newRow("last read") << "3225:long:*" << 28;
}

void TestFactoryBulk::readAllStops()
{
    QFETCH(QString, fault);
    QFETCH(int, failing);

    QVERIFY(m_rig->sim().addFault(fault));
    QVERIFY(m_rig->click("pushButton_28"));
    const QList<QByteArray> requests = m_rig->requests();
    // Every read before it once, the failing one three times, nothing after it.
    QCOMPARE(requests.size(), failing - 1 + 3);
    QCOMPARE(requests.mid(0, failing), hexList(kReadAll.mid(0, failing)));
    QCOMPARE(m_rig->boxes().texts().size(), 1);
    QCOMPARE(m_rig->status(), QString("读取失败！"));
    QCOMPARE(m_rig->overlayText(), percent(failing - 1, kReadAll.size()));
}

void TestFactoryBulk::writeAll()
{
    const ModuleState wanted = FactoryStates::distinct();
    for (const auto &field : FactoryCalibration::numberFields())
        m_rig->widget<QSpinBox>(spinBoxOf(field))
            ->setValue(field.clamp(moduleNumber(wanted, field)));
    m_rig->widget<QComboBox>("comboBox_2")->setCurrentIndex(1);
    m_rig->widget<QRadioButton>("radioButton_23")->setChecked(true);
    m_rig->module() = FactoryStates::scrambled(wanted);

    QVERIFY(m_rig->click("pushButton_242"));
    const QList<QByteArray> requests = m_rig->requests();
    QCOMPARE(requests.size(), kWriteAll.size());
    for (int i = 0; i < requests.size(); ++i)
        QVERIFY2(requests[i].startsWith(QByteArray::fromHex(kWriteAll[i].toLatin1())),
                 qPrintable(kWriteAll[i]));
    QCOMPARE(m_rig->status(), QString("设置成功！"));
    QCOMPARE(m_rig->overlayText(), QString("96%"));
    // Everything but the serial number now is as wanted.
    QCOMPARE(m_rig->module().diff(wanted).filter(QRegularExpression("^(?!serialNumber)")),
             QStringList());
}

void TestFactoryBulk::writeAllStops_data()
{
    QTest::addColumn<QString>("blank");
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("text");

    QTest::newRow("blank adjust box") << "spinBox_86" << 11 << "请配置调整值！";
    QTest::newRow("blank power box") << "spinBox_60" << 13 << "请配置发射功率校准值！";
    QTest::newRow("no coupling") << "coupling" << 25 << "请选择基带信号耦合方式！";
    QTest::newRow("no band") << "band" << 26 << "请选择电台频段！";
}

void TestFactoryBulk::writeAllStops()
{
    QFETCH(QString, blank);
    QFETCH(int, failing);
    QFETCH(QString, text);

    m_rig->widget<QComboBox>("comboBox_2")->setCurrentIndex(0);
    m_rig->widget<QRadioButton>("radioButton_22")->setChecked(true);
    if (blank == "band")
        m_rig->widget<QComboBox>("comboBox_2")->setCurrentIndex(-1);
    else if (blank == "coupling")
        uncheck("radioButton_22", "radioButton_23");
    else
        m_rig->widget<QSpinBox>(blank)->setSpecialValueText(" "); // as a failed read leaves it

    QVERIFY(m_rig->click("pushButton_242"));
    QCOMPARE(m_rig->requests().size(), failing - 1);
    QCOMPARE(m_rig->boxes().texts(), QStringList{text});
    QCOMPARE(m_rig->status(), QString("设置失败！"));
    QCOMPARE(m_rig->overlayText(), percent(failing - 1, kWriteAll.size()));
}

QTEST_MAIN(TestFactoryBulk)
#include "tst_factorybulk.moc"
