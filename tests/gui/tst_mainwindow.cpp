#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "support/simharness.h"
#include "support/testenv.h"
#include "ui/formabout.h"
#include "ui/loadingwidget.h"
#include "ui/mainwindow.h"
#include "ui/pagereveal.h"
#include "ui/screenfit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

namespace {
QAction *action(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QString::fromLatin1(name));
}

QLabel *statusMirror(QMainWindow *window)
{
    // The stretching label is the permanent status widget whose text follows the message.
    const auto labels = window->statusBar()->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == window->statusBar()->currentMessage() && !label->text().isEmpty())
            return label;
    }
    return nullptr;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void languageAtStartup_data();
    void languageAtStartup();
    void switchingStoresAtOnce();
    void clickingCheckedActionLeavesNeitherChecked();
    void onlyUserPageAtStart();
    void firstTabNeverCloses();
    void readyIsMirrored();
    void aboutIsOneInstance();
    void aboutHidesOnLeftClickOnly();
    void reveal_data();
    void reveal();
    void revealedTabCloses();
    void sentFrameIsCounted();
    void overlayCoversWindowOnResize();
    void wheelScrollsPage_data();
    void wheelScrollsPage();

private:
    std::unique_ptr<ScopedSettings> m_settings;
};

void TestMainWindow::init()
{
    m_settings = std::make_unique<ScopedSettings>();
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
}

void TestMainWindow::cleanup()
{
    m_settings.reset();
}

void TestMainWindow::languageAtStartup_data()
{
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("buttons"); // Qt's own: Yes, No, OK, Close
    const QStringList chinese{"是(&Y)", "否(&N)", "确定", "关闭"};
    QTest::newRow("missing") << QJsonValue() << "zh_CN"
                             << "LX-815 配置工具" << chinese;
    QTest::newRow("en_US") << QJsonValue(QStringLiteral("en_US")) << "en_US"
                           << "LX-815 Config Tool" << QStringList{"&Yes", "&No", "OK", "Close"};
    QTest::newRow("en_us is not English") << QJsonValue(QStringLiteral("en_us")) << "zh_CN"
                                          << "LX-815 配置工具" << chinese;
    QTest::newRow("not a string") << QJsonValue(1) << "zh_CN"
                                  << "LX-815 配置工具" << chinese;
}

void TestMainWindow::languageAtStartup()
{
    QFETCH(QJsonValue, stored);
    QFETCH(QString, language);
    QFETCH(QString, title);
    QFETCH(QStringList, buttons);
    if (!stored.isNull())
        appConfig->setValue(Language::kSettingsPath, stored);
    startupLanguage = Language::storedLanguage(appConfig);
    QCOMPARE(startupLanguage, language);
    Language::install(startupLanguage);
    MainWindow window;
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(action(&window, "action_en_US")->isChecked(), language == Language::kEnglish);
    QCOMPARE(action(&window, "action_zh_CN")->isChecked(), language == Language::kChinese);
    // The language is stored only when the user switches.
    QCOMPARE(MJsonConfig(m_settings->filePath()).value(Language::kSettingsPath), stored);
    // Every entry of the menus is named from the start, the ones the tool adds to the form too.
    for (QList<QAction *> entries = window.menuBar()->actions(); !entries.isEmpty();) {
        const QAction *entry = entries.takeFirst();
        if (entry->menu())
            entries += entry->menu()->actions();
        QVERIFY2(entry->isSeparator() || !entry->text().isEmpty(), qPrintable(entry->objectName()));
    }
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok |
                           QMessageBox::Close);
    QStringList shown;
    for (const auto button :
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok, QMessageBox::Close})
        shown << box.button(button)->text();
    QCOMPARE(shown, buttons);
}

void TestMainWindow::switchingStoresAtOnce()
{
    MainWindow window;
    action(&window, "action_en_US")->trigger();
    QCOMPARE(window.windowTitle(), QStringLiteral("LX-815 Config Tool"));
    QVERIFY(!action(&window, "action_zh_CN")->isChecked());
    QCOMPARE(MJsonConfig(m_settings->filePath()).value(Language::kSettingsPath).toString(),
             QStringLiteral("en_US"));
    QCOMPARE(action(&window, "action_9")->text(), QStringLiteral("Open Config Form"));

    action(&window, "action_zh_CN")->trigger();
    QCOMPARE(window.windowTitle(), QStringLiteral("LX-815 配置工具"));
    QVERIFY(!action(&window, "action_en_US")->isChecked());
    QCOMPARE(MJsonConfig(m_settings->filePath()).value(Language::kSettingsPath).toString(),
             QStringLiteral("zh_CN"));
}

void TestMainWindow::clickingCheckedActionLeavesNeitherChecked()
{
    MainWindow window;
    QVERIFY(action(&window, "action_zh_CN")->isChecked());
    action(&window, "action_zh_CN")->trigger();
    QVERIFY(!action(&window, "action_zh_CN")->isChecked());
    QVERIFY(!action(&window, "action_en_US")->isChecked());
    QCOMPARE(window.windowTitle(), QStringLiteral("LX-815 配置工具"));
    QVERIFY(appConfig->value(Language::kSettingsPath).isNull());
}

void TestMainWindow::onlyUserPageAtStart()
{
    MainWindow window;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("用户参数"));
    QVERIFY(!tabs->tabsClosable());
}

void TestMainWindow::firstTabNeverCloses()
{
    MainWindow window;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    emit tabs->tabCloseRequested(0);
    QCOMPARE(tabs->count(), 1);
}

void TestMainWindow::readyIsMirrored()
{
    MainWindow window;
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Ready"));
    QLabel *mirror = statusMirror(&window);
    QVERIFY(mirror);
    QTRY_COMPARE_WITH_TIMEOUT(mirror->text(), QString(), 4000);
}

void TestMainWindow::aboutIsOneInstance()
{
    MainWindow window;
    action(&window, "action_11")->trigger();
    auto about = QApplication::topLevelWidgets();
    FormAbout *first = nullptr;
    for (QWidget *widget : about)
        if ((first = qobject_cast<FormAbout *>(widget)))
            break;
    QVERIFY(first && first->isVisible());
    QVERIFY(first->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(first->windowModality(), Qt::ApplicationModal);
    first->hide();
    action(&window, "action_11")->trigger();
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<FormAbout *>(widget) != nullptr;
    QCOMPARE(count, 1);
    QVERIFY(first->isVisible());
    QCOMPARE(first->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Vserion: 1.4"));
    first->hide();
}

void TestMainWindow::aboutHidesOnLeftClickOnly()
{
    FormAbout about;
    about.show();
    QTest::mouseClick(&about, Qt::RightButton);
    QVERIFY(about.isVisible());
    QTest::mouseClick(&about, Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

namespace {
// Presses keys on the window: "<F7>" and "<F8>" for the select keys, anything else as text.
void press(QWidget *window, const QString &keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (keys.midRef(i).startsWith(QLatin1String("<F7>"))) {
            QTest::keyClick(window, Qt::Key_F7);
            i += 3;
        } else if (keys.midRef(i).startsWith(QLatin1String("<F8>"))) {
            QTest::keyClick(window, Qt::Key_F8);
            i += 3;
        } else {
            QTest::keyClick(window, keys.at(i).toLatin1());
        }
    }
}
} // namespace

void TestMainWindow::reveal_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("tabs");
    const QString user = QStringLiteral("用户参数");
    const QString lx = QStringLiteral("内部参数调整");
    const QString mr = QStringLiteral("MR-460 Adjustment");
    const QString lxCode = PageReveal::accessCode(PageReveal::Page::Lx815);
    const QString mrCode = PageReveal::accessCode(PageReveal::Page::Mr460);
    QTest::newRow("LX-815") << "<F7>" + lxCode << QStringList{user, lx};
    QTest::newRow("MR-460") << "<F8>" + mrCode << QStringList{user, mr};
    QTest::newRow("both") << "<F7>" + lxCode + "<F8>" + mrCode << QStringList{user, lx, mr};
    QTest::newRow("no select key") << lxCode << QStringList{user};
    QTest::newRow("other page's code") << "<F7>" + mrCode << QStringList{user};
    QTest::newRow("wrong character in the middle")
        << "<F7>" + lxCode.left(2) + "x" + lxCode.mid(2) << QStringList{user};
    QTest::newRow("select key again starts over")
        << "<F7>" + lxCode.left(3) + "<F7>" + lxCode << QStringList{user, lx};
    QTest::newRow("one more key after a reveal ends it")
        << "<F7>" + lxCode + lxCode.left(1) + lxCode << QStringList{user, lx};
}

void TestMainWindow::reveal()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, tabs);
    MainWindow window;
    press(&window, keys);
    auto *tabWidget = window.findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    QStringList shown;
    for (int i = 0; i < tabWidget->count(); ++i)
        shown.append(tabWidget->tabText(i));
    QCOMPARE(shown, tabs);
    QCOMPARE(tabWidget->tabsClosable(), tabs.size() > 1);
}

void TestMainWindow::revealedTabCloses()
{
    MainWindow window;
    press(&window, "<F7>" + PageReveal::accessCode(PageReveal::Page::Lx815));
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    QCOMPARE(tabs->count(), 2);
    emit tabs->tabCloseRequested(1);
    QCOMPARE(tabs->count(), 1);
    press(&window, "<F7>" + PageReveal::accessCode(PageReveal::Page::Lx815));
    QCOMPARE(tabs->count(), 2);
}

void TestMainWindow::sentFrameIsCounted()
{
    SimHarness sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    MainWindow window;
    appSerialPort->setPortName(sim.portPath());
    QVERIFY(appSerialPort->open());
    QVERIFY(window.engine().sendFrame(QByteArray::fromHex("3209")));
    const auto labels = window.statusBar()->findChildren<QLabel *>();
    const bool counted = std::any_of(labels.begin(), labels.end(), [](QLabel *label) {
        return label->text() == QLatin1String("Tx: 7");
    });
    QVERIFY(counted);
    QVERIFY(sim.waitForRequests(1));
    appSerialPort->close();
    QCOMPARE(sim.requests(), QList<QByteArray>{QByteArray::fromHex("3209")});
}

void TestMainWindow::overlayCoversWindowOnResize()
{
    MainWindow window;
    window.show();
    auto *overlay = window.findChild<LoadingWidget *>();
    QVERIFY(overlay);
    overlay->show();
    window.resize(1000, 780);
    QTRY_COMPARE(overlay->geometry(), QRect(QPoint(0, 0), window.size()));
    window.resize(900, 700);
    QTRY_COMPARE(overlay->geometry(), QRect(QPoint(0, 0), window.size()));
}

void TestMainWindow::wheelScrollsPage_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("focused");
    QTest::newRow("channel 8's power") << "CH8_TxPower" << false;
    QTest::newRow("volume") << "spinBox_4" << false;
    QTest::newRow("the box being worked in takes it") << "CH8_TxPower" << true;
}

void TestMainWindow::wheelScrollsPage()
{
    QFETCH(QString, box);
    QFETCH(bool, focused);
    MainWindow window;
    window.resize(800, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *widget = window.findChild<QWidget *>(box);
    const auto value = [widget] {
        if (auto *combo = qobject_cast<QComboBox *>(widget))
            return combo->currentIndex();
        return qobject_cast<QSpinBox *>(widget)->value();
    };
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setCurrentIndex(2);
    else
        qobject_cast<QSpinBox *>(widget)->setValue(3);
    const int before = value();
    if (focused)
        widget->setFocus();
    QScrollBar *bar = ScreenFit::pageScrollArea(widget)->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(0);

    const QPoint middle = widget->rect().center();
    QWheelEvent notch(middle, widget->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the mouse: only a spontaneous wheel event goes on to the parents.
    QSpontaneKeyEvent::setSpontaneous(&notch);
    qApp->notify(widget, &notch);
    QCOMPARE(value() != before, focused);
    QCOMPARE(bar->value() > 0, !focused);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
