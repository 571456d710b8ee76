// While an operation runs, the keyboard must not start a second one: no menu opens, the
// language stays, the window stays, the serial settings cannot change the port, and a cell
// being edited is not checked before the user leaves it.
#include "support/factoryrig.h"
#include "ui/serial/formserialportsetting.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
const QString kBusy = QStringLiteral("操作进行中，请稍候。");

// Runs `during` once the operation started by `start` waits for the module.
void duringOperation(FactoryRig &rig, const std::function<void()> &start,
                     const std::function<void()> &during)
{
    QTimer::singleShot(30, &rig.window(), during);
    start();
}
} // namespace

class TestBusyGuard : public QObject
{
    Q_OBJECT

private slots:
    void keyboardRefused_data();
    void keyboardRefused();
    void editedCellCheckedOnLeaving();
};

void TestBusyGuard::keyboardRefused_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closeWindow");
    QTest::newRow("Alt+F opens the file menu") << int(Qt::Key_F) << int(Qt::AltModifier) << false;
    QTest::newRow("Alt+L opens the language menu")
        << int(Qt::Key_L) << int(Qt::AltModifier) << false;
    QTest::newRow("closing the window") << 0 << 0 << true;
}

void TestBusyGuard::keyboardRefused()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closeWindow);
    SimHarness::Options options;
    options.latencyMs = 15;
    FactoryRig rig(options);
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));

    bool running = false, popupOpen = true, serialEnabled = true, closed = true;
    QString status;
    duringOperation(
        rig, [&] { rig.widget<QAction>("action_6")->trigger(); },
        [&] {
            running = rig.window().isOperationRunning();
            if (closeWindow) {
                closed = rig.window().close();
            } else {
                QTest::keyClick(&rig.window(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
                closed = false;
            }
            popupOpen = QApplication::activePopupWidget() != nullptr;
            serialEnabled = rig.window().serialSettings()->isEnabled();
            status = rig.window().statusBar()->currentMessage();
        });

    QVERIFY(running);
    QVERIFY(!popupOpen);
    QVERIFY(!serialEnabled);
    QVERIFY(!closed);
    QCOMPARE(status, kBusy);
    // The operation ran to its end, undisturbed.
    QCOMPARE(rig.status(), QStringLiteral("读取成功！"));
    QVERIFY(rig.window().isVisible());
    QVERIFY(rig.window().serialSettings()->isEnabled());
    QVERIFY(rig.boxes().texts().isEmpty());
}

void TestBusyGuard::editedCellCheckedOnLeaving()
{
    FactoryRig rig;
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window()));
    rig.module().band = 0x10;
    auto *cell = rig.widget<QLineEdit>("CH1_RxFreq");
    QVERIFY(cell);
    cell->setFocus();
    cell->selectAll();
    QTest::keyClicks(cell, QStringLiteral("150.00700"));
    // The band read gives limits the typed value lies within; the check must not run with
    // the limits of before.
    rig.widget<QAction>("actReadDeviceInfo")->trigger();
    QCOMPARE(cell->displayText(), QStringLiteral("150.00700"));
    QVERIFY(cell->styleSheet().isEmpty());
    QCOMPARE(QApplication::focusWidget(), cell);
    // Leaving the cell runs the check with the band just read.
    QTest::keyClick(cell, Qt::Key_Return);
    QCOMPARE(cell->displayText(), QStringLiteral("150.00750"));
    QVERIFY(cell->styleSheet().isEmpty());
}

QTEST_MAIN(TestBusyGuard)
#include "tst_busyguard.moc"
