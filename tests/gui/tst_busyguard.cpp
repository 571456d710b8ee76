// While an operation runs, nothing starts a second one: no key opens a menu, no action runs
// however it is triggered, the language stays, the window stays, the serial settings cannot
// change the port, and a cell being edited is not checked before the user leaves it.
#include "support/factoryrig.h"
#include "ui/serial/formserialportsetting.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
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

// Every entry of the menus and the tool bar, with whether it is enabled.
QMap<QString, bool> actionStates(MainWindow &window)
{
    QList<QAction *> entries =
        window.menuBar()->actions() + window.findChild<QToolBar *>()->actions();
    QMap<QString, bool> states;
    while (!entries.isEmpty()) {
        const QAction *entry = entries.takeFirst();
        if (entry->menu())
            entries += entry->menu()->actions();
        else if (!entry->isSeparator())
            states.insert(entry->objectName(), entry->isEnabled());
    }
    return states;
}
} // namespace

class TestBusyGuard : public QObject
{
    Q_OBJECT

private slots:
    void keyboardRefused_data();
    void keyboardRefused();
    void actionsRefused_data();
    void actionsRefused();
    void editedCellCheckedOnLeaving_data();
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
    QTest::newRow("a lone Alt enters the menu bar") << int(Qt::Key_Alt) << 0 << false;
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

    bool running = false, popupOpen = true, serialEnabled = true, closed = true, inMenu = true;
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
            inMenu = rig.window().menuBar()->activeAction() != nullptr;
            serialEnabled = rig.window().serialSettings()->isEnabled();
            status = rig.window().statusBar()->currentMessage();
        });

    QVERIFY(running);
    QVERIFY(!popupOpen);
    QVERIFY(!inMenu);
    QVERIFY(!serialEnabled);
    QVERIFY(!closed);
    QCOMPARE(status, kBusy);
    // The operation ran to its end, undisturbed.
    QCOMPARE(rig.status(), QStringLiteral("读取成功！"));
    QVERIFY(rig.window().isVisible());
    QVERIFY(rig.window().serialSettings()->isEnabled());
    QVERIFY(rig.boxes().texts().isEmpty());
}

void TestBusyGuard::actionsRefused_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("triggered");
    QTest::addColumn<QString>("ended");
    for (const auto &[operation, ended] :
         {std::pair{"action_6", "读取成功！"}, {"action_8", "设置成功！"}}) {
        // 打开配置文件, 读取设备, English
        for (const char *triggered : {"actOpenCfgFile", "actReadDeviceInfo", "action_en_US"})
            QTest::addRow("%s during %s", triggered, operation) << operation << triggered << ended;
    }
}

void TestBusyGuard::actionsRefused()
{
    QFETCH(QString, operation);
    QFETCH(QString, triggered);
    QFETCH(QString, ended);
    SimHarness::Options options;
    options.latencyMs = 5;
    FactoryRig rig(options);
    QVERIFY2(rig.isReady(), qPrintable(rig.error()));
    rig.boxes().setAnswer(QMessageBox::Yes);
    int dialogs = 0;
    rig.window().setFileChooser([&](bool, const QString &, const QString &) {
        ++dialogs;
        return QString();
    });
    // The pages filled, then the operation alone: what it sends undisturbed.
    rig.widget<QAction>("action_6")->trigger();
    rig.clear();
    rig.widget<QAction>(operation)->trigger();
    const QList<QByteArray> alone = rig.requests();
    const QMap<QString, bool> before = actionStates(rig.window());
    rig.clear();

    bool running = false;
    QStringList enabledDuring;
    duringOperation(
        rig, [&] { rig.widget<QAction>(operation)->trigger(); },
        [&] {
            running = rig.window().isOperationRunning();
            const QMap<QString, bool> states = actionStates(rig.window());
            for (auto it = states.cbegin(); it != states.cend(); ++it) {
                if (it.value())
                    enabledDuring << it.key();
            }
            rig.widget<QAction>(triggered)->trigger();
        });

    QVERIFY(running);
    QCOMPARE(enabledDuring, QStringList());
    QCOMPARE(dialogs, 0);
    QCOMPARE(rig.requests(), alone);
    QVERIFY(rig.widget<QAction>("action_zh_CN")->isChecked());
    QCOMPARE(rig.window().windowTitle(), QStringLiteral("LX-815 配置工具"));
    QCOMPARE(rig.status(), ended);
    QCOMPARE(actionStates(rig.window()), before);
}

void TestBusyGuard::editedCellCheckedOnLeaving_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Tab to the next cell") << int(Qt::Key_Tab);
}

void TestBusyGuard::editedCellCheckedOnLeaving()
{
    QFETCH(int, key);
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
    QTest::keyClick(cell, Qt::Key(key));
    QCOMPARE(cell->displayText(), QStringLiteral("150.00750"));
    QVERIFY(cell->styleSheet().isEmpty());
}

QTEST_MAIN(TestBusyGuard)
#include "tst_busyguard.moc"
