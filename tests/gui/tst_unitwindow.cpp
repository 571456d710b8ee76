// The window's guards of a unit: a calibration file that names another module is not written
// into it without asking, "校验模块" shows what differs without touching the pages, and the
// bulk operations land in the history, from where a snapshot comes back into the pages.
#include "support/factoryrig.h"

#include "app/language.h"
#include "records/recordstore.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kOtherUnit = QStringLiteral("0123456789AB");

QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

// The dialogs open without blocking; null when none came.
template<class T> T *waitForChild(QWidget &parent, const QString &name)
{
    QDeadlineTimer deadline(3000);
    T *found = nullptr;
    while (!(found = parent.findChild<T *>(name)) && !deadline.hasExpired())
        QTest::qWait(10);
    return found;
}
} // namespace

class TestUnitWindow : public QObject
{
    Q_OBJECT

private slots:
    void factoryWriteChecksTheUnit_data();
    void factoryWriteChecksTheUnit();
    void savedCalibrationNamesTheUnit();
    void verifyListsPlantedDifference();
    void bulkOperationsRecordedAndLoadedBack();

private:
    QTemporaryDir m_dir;
};

void TestUnitWindow::factoryWriteChecksTheUnit_data()
{
    QTest::addColumn<QString>("fileUnit"); // "": the file names none; "same": the module's
    QTest::addColumn<bool>("identify");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::newRow("another unit, No")
        << kOtherUnit << true << int(QMessageBox::No) << true << false;
    QTest::newRow("another unit, Yes")
        << kOtherUnit << true << int(QMessageBox::Yes) << true << true;
    QTest::newRow("the same unit") << "same" << true << int(QMessageBox::No) << false << true;
    QTest::newRow("no unit in the file") << "" << true << int(QMessageBox::No) << false << true;
    QTest::newRow("module not identified")
        << kOtherUnit << false << int(QMessageBox::No) << false << true;
}

void TestUnitWindow::factoryWriteChecksTheUnit()
{
    QFETCH(QString, fileUnit);
    QFETCH(bool, identify);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.window().findChild<QAction *>("actReadDeviceInfo")->trigger();
    const QString serial = rig.widget<QLineEdit>("lineEdit_5")->text();
    QCOMPARE(serial.size(), 12);

    // A calibration saved from the module itself, then pointed at the unit of the row.
    const QString path = m_dir.filePath(QStringLiteral("calibration.json"));
    QFile::remove(path);
    rig.window().setFileChooser([&](bool, const QString &, const QString &) { return path; });
    QVERIFY(rig.click("pushButton_28"));
    QVERIFY(rig.click("pushButton_34"));
    QJsonObject file = readJson(path);
    QCOMPARE(file.value("Unit").toObject().value("SerialNumber").toString(), serial);
    if (fileUnit.isEmpty()) {
        file.remove("Unit");
    } else if (fileUnit != "same") {
        QJsonObject unit = file.value("Unit").toObject();
        unit.insert("SerialNumber", fileUnit);
        file.insert("Unit", unit);
    }
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(QJsonDocument(file).toJson());
    out.close();
    QVERIFY(rig.click("pushButton_33"));
    if (!identify) {
        // A read that fails at the band leaves the module unidentified.
        QVERIFY(rig.sim().addFault(QStringLiteral("*:refuse:*")));
        rig.window().findChild<QAction *>("actReadDeviceInfo")->trigger();
        rig.sim().faults().clearRules();
    }

    rig.clear();
    rig.boxes().setAnswer(QMessageBox::StandardButton(answer));
    QVERIFY(rig.click("pushButton_242"));
    const QStringList texts = rig.boxes().texts();
    const bool boxNamesBoth =
        !texts.isEmpty() && texts.first().contains(fileUnit) && texts.first().contains(serial);
    QCOMPARE(boxNamesBoth, asked);
    QCOMPARE(!rig.requests().isEmpty(), written);
}

void TestUnitWindow::savedCalibrationNamesTheUnit()
{
    // Saved again from a module nobody identified, a file stops naming its former unit.
    const QString path = m_dir.filePath(QStringLiteral("resaved.json"));
    QFile::remove(path);
    {
        FactoryRig rig;
        QVERIFY2(rig.isReady(), qPrintable(rig.error()));
        rig.window().setFileChooser([&](bool, const QString &, const QString &) { return path; });
        rig.window().findChild<QAction *>("actReadDeviceInfo")->trigger();
        QVERIFY(rig.click("pushButton_34"));
        QVERIFY(readJson(path).value("Unit").isObject());
    }

    FactoryRig unidentified;
    QVERIFY2(unidentified.isReady(), qPrintable(unidentified.error()));
    unidentified.window().setFileChooser(
        [&](bool, const QString &, const QString &) { return path; });
    QVERIFY(unidentified.click("pushButton_34"));
    const QJsonObject file = readJson(path);
    QVERIFY(file.contains("Unit"));
    QVERIFY(file.value("Unit").isNull());
    QVERIFY(file.contains("DataModFreqDiv"));

    // A malformed unit is refused on loading: nothing of the file reaches the page.
    QJsonObject bad = file;
    bad.insert("Unit", QJsonObject{{"SerialNumber", "not hex"}});
    bad.insert("SideToneVolume", 3);
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(QJsonDocument(bad).toJson());
    out.close();
    unidentified.boxes().clear();
    QVERIFY(unidentified.click("pushButton_33"));
    QCOMPARE(unidentified.boxes().shown.size(), 1);
    QVERIFY(unidentified.boxes().texts().first().contains("/Unit/SerialNumber"));
}

void TestUnitWindow::verifyListsPlantedDifference()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.window().findChild<QAction *>("action_6")->trigger();
    QSpinBox *volume = rig.widget<QSpinBox>("spinBox_4");
    const int moduleVolume = volume->value();
    const int planted = moduleVolume == 1 ? 2 : 1;
    volume->setValue(planted);

    rig.window().findChild<QAction *>("actVerifyModule")->trigger();
    auto *table = waitForChild<QTableWidget>(rig.window(), "verifyDifferences");
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("音量"));
    QCOMPARE(table->item(0, 1)->text(), QString::number(planted));
    QCOMPARE(table->item(0, 2)->text(), QString::number(moduleVolume));
    QCOMPARE(volume->value(), planted); // the pages keep what the technician set
    table->window()->close();
}

void TestUnitWindow::bulkOperationsRecordedAndLoadedBack()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    const QString database = m_dir.filePath(QStringLiteral("history.sqlite"));
    appConfig->setValue("/Records/Enabled", true);
    appConfig->setValue("/Records/Database", database);

    rig.window().findChild<QAction *>("action_6")->trigger();
    const QString serial = rig.widget<QLineEdit>("lineEdit_5")->text();
    QVERIFY(rig.click("pushButton_28"));
    QSpinBox *tcxo = rig.widget<QSpinBox>("spinBox_86");
    const int readTcxo = tcxo->value();
    QSpinBox *volume = rig.widget<QSpinBox>("spinBox_4");
    const int readVolume = volume->value();
    const int writtenVolume = readVolume == 1 ? 2 : 1;
    rig.boxes().setAnswer(QMessageBox::Yes);
    volume->setValue(writtenVolume);
    rig.window().findChild<QAction *>("action_8")->trigger();

    rig.window().findChild<QAction *>("actHistory")->trigger();
    auto *table = waitForChild<QTableWidget>(rig.window(), "historyTable");
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("write-config"));
    QCOMPARE(table->item(1, 3)->text(), QStringLiteral("read-calibration"));
    QCOMPARE(table->item(2, 3)->text(), QStringLiteral("read-config"));
    QCOMPARE(table->item(2, 1)->text(), serial);
    QCOMPARE(table->item(2, 4)->text(), QStringLiteral("pass"));

    RecordStore store(*RecordsTarget::parse(database, nullptr));
    const auto records = store.list(serial);
    QVERIFY(records && records->size() == 3);
    QVERIFY(records->at(0).requests > 0);

    // The read's snapshot goes back into the pages, in one step that undoes the edits since:
    // the channel table's and the page values'.
    rig.widget<QAction>("actClearChannel1")->trigger();
    QLineEdit *rx = rig.widget<QLineEdit>("CH1_RxFreq");
    const QString cleared = rx->displayText();
    table->setCurrentCell(2, 0);
    table->window()->findChild<QPushButton *>("historyLoad")->click();
    QCOMPARE(volume->value(), readVolume);
    QVERIFY(rx->displayText() != cleared);
    QCOMPARE(rig.status(), QStringLiteral("已载入历史记录：序列码 %1 的用户参数").arg(serial));
    rig.widget<QAction>("actUndo")->trigger();
    QCOMPARE(rx->displayText(), cleared);
    QCOMPARE(volume->value(), writtenVolume);
    rig.widget<QAction>("actRedo")->trigger();
    QVERIFY(rx->displayText() != cleared);
    QCOMPARE(volume->value(), readVolume);

    // The calibration's snapshot likewise, over an edit that was never written.
    const int editedTcxo = readTcxo == tcxo->maximum() ? readTcxo - 1 : readTcxo + 1;
    tcxo->setValue(editedTcxo);
    QTest::qWait(0); // the closed dialog goes away
    rig.window().findChild<QAction *>("actHistory")->trigger();
    table = waitForChild<QTableWidget>(rig.window(), "historyTable");
    QVERIFY(table);
    table->setCurrentCell(1, 0);
    table->window()->findChild<QPushButton *>("historyLoad")->click();
    QCOMPARE(tcxo->value(), readTcxo);
    QCOMPARE(volume->value(), readVolume);
    rig.widget<QAction>("actUndo")->trigger();
    QCOMPARE(tcxo->value(), editedTcxo);
    QCOMPARE(volume->value(), readVolume); // the other side stays as it was
}

QTEST_MAIN(TestUnitWindow)
#include "tst_unitwindow.moc"
