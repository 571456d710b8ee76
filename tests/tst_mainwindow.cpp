#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "support/simharness.h"
#include "support/testenv.h"
#include "ui/formabout.h"
#include "ui/loadingwidget.h"
#include "ui/mainwindow.h"
#include "ui/pagereveal.h"

#include <QAction>
#include <QLabel>
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
    QTest::newRow("missing") << QJsonValue() << "zh_CN"
                             << "LX-815 配置工具";
    QTest::newRow("en_US") << QJsonValue(QStringLiteral("en_US")) << "en_US"
                           << "LX-815 Config Tool";
    QTest::newRow("en_us is not English") << QJsonValue(QStringLiteral("en_us")) << "zh_CN"
                                          << "LX-815 配置工具";
    QTest::newRow("not a string") << QJsonValue(1) << "zh_CN"
                                  << "LX-815 配置工具";
}

void TestMainWindow::languageAtStartup()
{
    QFETCH(QJsonValue, stored);
    QFETCH(QString, language);
    QFETCH(QString, title);
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
