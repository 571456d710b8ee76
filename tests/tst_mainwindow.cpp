#include "app/language.h"
#include "app/mjsonconfig.h"
#include "support/testenv.h"
#include "ui/formabout.h"
#include "ui/mainwindow.h"

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
    void startupLanguage_data();
    void startupLanguage();
    void switchingStoresAtOnce();
    void clickingCheckedActionLeavesNeitherChecked();
    void onlyUserPageAtStart();
    void firstTabNeverCloses();
    void readyIsMirrored();
    void aboutIsOneInstance();
    void aboutHidesOnLeftClickOnly();

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

void TestMainWindow::startupLanguage_data()
{
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("title");
    QTest::newRow("missing") << QJsonValue() << "zh_CN" << "LX-815 配置工具";
    QTest::newRow("en_US") << QJsonValue(QStringLiteral("en_US")) << "en_US"
                           << "LX-815 Config Tool";
    QTest::newRow("en_us is not English") << QJsonValue(QStringLiteral("en_us")) << "zh_CN"
                                          << "LX-815 配置工具";
    QTest::newRow("not a string") << QJsonValue(1) << "zh_CN" << "LX-815 配置工具";
}

void TestMainWindow::startupLanguage()
{
    QFETCH(QJsonValue, stored);
    QFETCH(QString, language);
    QFETCH(QString, title);
    if (!stored.isNull())
        appConfig->setValue(Language::kSettingsPath, stored);
    const QByteArray before = QFile(m_settings->filePath()).exists()
                                  ? [&] {
                                        QFile f(m_settings->filePath());
                                        f.open(QIODevice::ReadOnly);
                                        return f.readAll();
                                    }()
                                  : QByteArray();
    startupLanguage = Language::storedLanguage(appConfig);
    QCOMPARE(startupLanguage, language);
    Language::install(startupLanguage);
    MainWindow window;
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(action(&window, "action_en_US")->isChecked(), language == Language::kEnglish);
    QCOMPARE(action(&window, "action_zh_CN")->isChecked(), language == Language::kChinese);
    QFile after(m_settings->filePath());
    after.open(QIODevice::ReadOnly);
    QCOMPARE(after.readAll(), before); // start-up never writes the settings
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
    QVERIFY(appConfig->value(Language::kSettingsPath).isUndefined());
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
