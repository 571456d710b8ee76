// Runs on a real X screen (Xvfb), not offscreen: screen sizes, panels and scaling are the point.
#include "app/language.h"
#include "support/testenv.h"
#include "ui/formabout.h"
#include "ui/mainwindow.h"
#include "ui/pagereveal.h"
#include "ui/screenfit.h"
#include "ui/serial/formserialportsetting.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {
constexpr QSize kLargestMinimum{800, 560};
constexpr QSize kSerialSettingsSize{260, 250};
constexpr QSize kAboutSize{450, 270};

QRect globalRect(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

bool isControl(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget)) // not the editors inside spin and combo boxes
        return !qobject_cast<QAbstractSpinBox *>(widget->parent()) &&
               !qobject_cast<QComboBox *>(widget->parent());
    return qobject_cast<const QPushButton *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QRadioButton *>(widget);
}

// The named widgets that take focus by Tab, in focus chain order.
QStringList tabChain(QWidget *window, const QSet<QString> &names)
{
    QStringList chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && names.contains(w->objectName()))
            chain.append(w->objectName());
    }
    return chain;
}
} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void opensWithinAvailableGeometry();
    void minimumSize();
    void barsStayVisible_data();
    void barsStayVisible();
    void everyControlReachable_data();
    void everyControlReachable();
    void tabOrderKept();
    void serialSettingsBeside_data();
    void serialSettingsBeside();
    void aboutKeepsItsSize();

private:
    void resizeWindow(const QString &size);
    QRect available() const { return ScreenFit::availableGeometry(m_window->screen()); }

    std::unique_ptr<ScopedSettings> m_settings;
    std::unique_ptr<MainWindow> m_window;
    QSize m_opened;
};

void TestScreenFit::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "run under Xvfb: tests/gui/screenfit/run-xvfb");
    m_settings = std::make_unique<ScopedSettings>();
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
    // A panel along the bottom, as a desktop keeps it.
    QScreen *screen = QGuiApplication::primaryScreen();
    const int panel =
        qRound(qEnvironmentVariableIntValue("LX_PANEL_PX") / screen->devicePixelRatio());
    ScreenFit::setAvailableGeometryForTests(screen->geometry().adjusted(0, 0, 0, -panel));
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_opened = m_window->size();

    QCOMPARE(m_window->screen(), screen);

    for (PageReveal::Page page : {PageReveal::Page::Lx815, PageReveal::Page::Mr460}) {
        QTest::keyClick(m_window.get(), Qt::Key(PageReveal::selectKey(page)));
        QTest::keyClicks(m_window.get(), PageReveal::accessCode(page));
    }
    QCOMPARE(m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"))->count(), 3);

    qInfo("screen %dx%d, available %dx%d, scale %.2f, opened %dx%d, minimum %dx%d",
          screen->geometry().width(), screen->geometry().height(), available().width(),
          available().height(), screen->devicePixelRatio(), m_opened.width(), m_opened.height(),
          m_window->minimumSize().width(), m_window->minimumSize().height());
}

void TestScreenFit::cleanupTestCase()
{
    m_window.reset();
    m_settings.reset();
    ScreenFit::setAvailableGeometryForTests(QRect());
}

void TestScreenFit::resizeWindow(const QString &size)
{
    const QSize wanted = size == QLatin1String("minimum") ? m_window->minimumSize() : m_opened;
    m_window->resize(wanted);
    QTRY_COMPARE(m_window->size(), wanted);
    QCoreApplication::processEvents(); // the layouts follow the new size
}

// At least the designed size, and in each direction either as large as the free area or large
// enough that the user page does not scroll that way.
void TestScreenFit::opensWithinAvailableGeometry()
{
    QVERIFY(available().contains(m_window->frameGeometry()));
    const QSize least = ScreenFit::designedSize().boundedTo(available().size());
    QVERIFY(m_opened.width() >= least.width() && m_opened.height() >= least.height());
    auto *tabs = m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    tabs->setCurrentWidget(m_window->findChild<QWidget *>(QStringLiteral("tab_user")));
    QCoreApplication::processEvents();
    QScrollArea *user =
        ScreenFit::pageScrollArea(m_window->findChild<QWidget *>(QStringLiteral("CH1_RxFreq")));
    QVERIFY(m_window->width() == available().width() ||
            user->horizontalScrollBar()->maximum() == 0);
    QVERIFY(m_window->height() == available().height() ||
            user->verticalScrollBar()->maximum() == 0);
}

void TestScreenFit::minimumSize()
{
    const QSize minimum = m_window->minimumSize();
    QVERIFY2(minimum.width() <= kLargestMinimum.width() &&
                 minimum.height() <= kLargestMinimum.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(minimum.width()).arg(minimum.height())));
    m_window->resize(kLargestMinimum);
    QTRY_COMPARE(m_window->size(), kLargestMinimum);
    m_window->resize(m_opened);
    QTRY_COMPARE(m_window->size(), m_opened);
}

void TestScreenFit::barsStayVisible_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("bar");
    for (const char *size : {"opened", "minimum"}) {
        for (const char *bar : {"statusbar", "toolBar", "widget", "qt_tabwidget_tabbar"})
            QTest::addRow("%s %s", size, bar) << size << bar;
    }
}

void TestScreenFit::barsStayVisible()
{
    QFETCH(QString, size);
    QFETCH(QString, bar);
    resizeWindow(size);
    auto *tabs = m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    QWidget *widget = bar.startsWith(QLatin1String("qt_"))
                          ? tabs->findChild<QWidget *>(bar, Qt::FindDirectChildrenOnly)
                          : m_window->findChild<QWidget *>(bar);
    QVERIFY(widget);
    QVERIFY(widget->isVisible());
    QVERIFY(globalRect(m_window.get()).contains(globalRect(widget)));
    QVERIFY(available().contains(globalRect(widget)));
}

void TestScreenFit::everyControlReachable_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("subPage");
    const QList<QPair<const char *, QStringList>> pages{
        {"tab_user", {QString()}},
        {"tab_lx815", {"tab_6", "tab_7", "tab_8", "tab_9"}},
        {"tab_mr460", {"tab", "tab_2", "tab_3", "tab_5"}}};
    for (const char *size : {"opened", "minimum"}) {
        for (const auto &[page, subPages] : pages) {
            for (const QString &sub : subPages)
                QTest::addRow("%s %s %s", size, page, qPrintable(sub)) << size << page << sub;
        }
    }
}

// Each control scrolls into view and is then wholly on the screen and inside its page.
void TestScreenFit::everyControlReachable()
{
    QFETCH(QString, size);
    QFETCH(QString, page);
    QFETCH(QString, subPage);
    resizeWindow(size);
    auto *tabs = m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
    QWidget *shown = m_window->findChild<QWidget *>(page);
    tabs->setCurrentWidget(shown);
    if (!subPage.isEmpty()) {
        QWidget *sub = shown->findChild<QWidget *>(subPage);
        qobject_cast<QTabWidget *>(sub->parentWidget()->parentWidget())->setCurrentWidget(sub);
        shown = sub;
    }
    QCoreApplication::processEvents();

    int checked = 0;
    for (QWidget *control : shown->findChildren<QWidget *>()) {
        if (!isControl(control) || !control->isVisible())
            continue;
        QScrollArea *area = ScreenFit::pageScrollArea(control);
        QVERIFY2(area, qPrintable(control->objectName()));
        // The page lays itself out after it is first shown; the scroll range follows. The
        // whole control, not only the text cursor ensureWidgetVisible shows of an editor.
        const auto inView = [&] {
            const QRect inContent(control->mapTo(area->widget(), QPoint()), control->size());
            area->ensureVisible(inContent.center().x(), inContent.center().y(),
                                inContent.width() / 2 + 1, inContent.height() / 2 + 1);
            const QRect rect = globalRect(control);
            return globalRect(area->viewport()).contains(rect) && available().contains(rect);
        };
        QTRY_VERIFY2(inView(), qPrintable(control->objectName()));
        ++checked;
    }
    QVERIFY(checked > 0);
}

// The scroll areas neither add a Tab stop nor change the order of the form's own.
void TestScreenFit::tabOrderKept()
{
    QMainWindow bare;
    Ui::MainWindow form;
    form.setupUi(&bare);
    QSet<QString> names;
    for (QWidget *widget : bare.findChildren<QWidget *>()) {
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_")))
            names.insert(widget->objectName());
    }
    const QStringList expected = tabChain(&bare, names);
    QVERIFY(expected.size() > 100);
    QStringList actual = tabChain(m_window.get(), names);
    QCOMPARE(actual, expected);
}

void TestScreenFit::serialSettingsBeside_data()
{
    QTest::addColumn<bool>("smallWindow");
    QTest::newRow("window at its opened size") << false;
    QTest::newRow("minimum window at the left") << true;
}

void TestScreenFit::serialSettingsBeside()
{
    QFETCH(bool, smallWindow);
    FormSerialPortSetting *form = m_window->serialSettings();
    form->hide();
    m_window->resize(smallWindow ? m_window->minimumSize() : m_opened);
    m_window->move(available().topLeft());
    QTRY_COMPARE(m_window->frameGeometry().topLeft(), available().topLeft());

    m_window->findChild<QAction *>(QStringLiteral("action_9"))->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(form->size(), kSerialSettingsSize);
    QCOMPARE(form->maximumSize(), kSerialSettingsSize);
    QCOMPARE(form->screen(), m_window->screen());
    QVERIFY(available().contains(form->frameGeometry()));
    for (const char *bar : {"toolBar", "widget"}) {
        QVERIFY2(!form->frameGeometry().intersects(
                     globalRect(m_window->findChild<QWidget *>(QString::fromLatin1(bar)))),
                 bar);
    }
    if (smallWindow)
        QVERIFY(!form->frameGeometry().intersects(m_window->frameGeometry()));
    form->hide();
    m_window->resize(m_opened);
}

void TestScreenFit::aboutKeepsItsSize()
{
    m_window->findChild<QAction *>(QStringLiteral("action_11"))->trigger();
    auto *about = qobject_cast<FormAbout *>(QApplication::activeModalWidget());
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->size(), kAboutSize);
    QVERIFY(m_window->screen()->geometry().contains(about->frameGeometry()));
    about->hide();
}

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
