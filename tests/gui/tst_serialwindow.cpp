#include "app/language.h"
#include "serial/mserialport.h"
#include "serial/portadvice.h"
#include "support/pty.h"
#include "support/testenv.h"
#include "ui/mainwindow.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/serial/mparamlists.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>

#include <memory>

namespace {
constexpr int kWaitMs = 3000;
constexpr int kQuietCheckMs = 300; // long enough for a stream of repeated reports to show
const QString kMissingPort = QStringLiteral("ttyLX815none");

// The yellow lamp is the first of the three fixed-size lamps in the status bar.
QLabel *portLamp(MainWindow &window)
{
    const auto labels = window.statusBar()->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->minimumSize() == QSize(10, 10) && label->maximumSize() == QSize(10, 10))
            return label;
    }
    return nullptr;
}

bool lampShows(QLabel *lamp, const QString &image)
{
    // Both through a pixmap: its premultiplied format rounds half-transparent pixels.
    const QImage expected = QPixmap(image).toImage();
    const QImage actual = lamp->pixmap(Qt::ReturnByValue).toImage();
    return !expected.isNull() && actual == expected;
}

MSerialButton *portButton(MainWindow &window)
{
    return window.serialSettings()->findChild<MSerialButton *>();
}
} // namespace

class TestSerialWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lampAndStatusFollowThePort();
    void errorFilter_data();
    void errorFilter();
    void sameErrorNotStackedWhileItsBoxIsOpen();
    void lostDeviceGivesOneBox();
    void openFailureBox_data();
    void openFailureBox();
    void languageSwitchRetranslatesSerialForm();
    void configActionsShowTheSameForm();

private:
    std::unique_ptr<ScopedSettings> m_settings;
};

void TestSerialWindow::init()
{
    m_settings = std::make_unique<ScopedSettings>();
    MPortList::setPortNameSource([] { return QStringList{kMissingPort}; });
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
}

void TestSerialWindow::cleanup()
{
    MessageBox::setInterceptor({});
    if (appSerialPort->isOpen())
        appSerialPort->close();
    MPortList::setPortNameSource({});
    Language::install(Language::kChinese);
    m_settings.reset();
}

void TestSerialWindow::lampAndStatusFollowThePort()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    MainWindow window;
    QLabel *lamp = portLamp(window);
    QVERIFY(lamp);
    QVERIFY(lampShows(lamp, QStringLiteral(":/images/led-yellow-off.png")));
    QVERIFY(!lampShows(lamp, QStringLiteral(":/images/led-yellow-on.png")));

    QVERIFY(window.serialSettings()->selectPort(pty.slavePath()));
    QTest::mouseClick(portButton(window), Qt::LeftButton);
    QVERIFY(appSerialPort->isOpen());
    QVERIFY(lampShows(lamp, QStringLiteral(":/images/led-yellow-on.png")));
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("串口已打开"));

    QTest::mouseClick(portButton(window), Qt::LeftButton);
    QVERIFY(!appSerialPort->isOpen());
    QVERIFY(lampShows(lamp, QStringLiteral(":/images/led-yellow-off.png")));
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("串口已关闭"));
    QVERIFY(boxes.shown.isEmpty());
}

void TestSerialWindow::errorFilter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("boxed");
    for (int code = 0; code <= 14; ++code) {
        const bool silent =
            code == QSerialPort::PermissionError || code == QSerialPort::FramingError ||
            code == QSerialPort::BreakConditionError || code == QSerialPort::NotOpenError;
        QTest::addRow("code %d", code) << code << !silent;
    }
}

void TestSerialWindow::errorFilter()
{
    QFETCH(int, code);
    QFETCH(bool, boxed);

    BoxRecorder boxes;
    MainWindow window;
    const QString msg = QStringLiteral("<b>COM3</b> failed");
    emit appSerialPort->onError(code, msg);
    QCOMPARE(boxes.shown.size(), boxed ? 1 : 0);
    if (boxed) {
        QCOMPARE(boxes.shown.first().icon, QMessageBox::Critical);
        QCOMPARE(boxes.shown.first().title, QStringLiteral("Error"));
        QCOMPARE(boxes.shown.first().text, msg);
    }
}

void TestSerialWindow::sameErrorNotStackedWhileItsBoxIsOpen()
{
    MainWindow window;
    QStringList shown;
    MessageBox::setInterceptor([&](const MessageBox::Shown &box) {
        shown.append(box.text);
        // While the first box is up, the port reports the same error and then another one.
        if (shown.size() == 1) {
            emit appSerialPort->onError(QSerialPort::WriteError, QStringLiteral("write"));
            emit appSerialPort->onError(QSerialPort::TimeoutError, QStringLiteral("timeout"));
        }
        return QMessageBox::Ok;
    });
    emit appSerialPort->onError(QSerialPort::WriteError, QStringLiteral("write"));
    QCOMPARE(shown, (QStringList{"write", "timeout"}));

    // Once its box is closed, the error is shown again.
    emit appSerialPort->onError(QSerialPort::WriteError, QStringLiteral("write"));
    QCOMPARE(shown, (QStringList{"write", "timeout", "write"}));
}

void TestSerialWindow::lostDeviceGivesOneBox()
{
    auto pty = std::make_unique<PseudoTerminal>();
    QVERIFY(pty->isValid());
    MainWindow window;
    QVERIFY(window.serialSettings()->selectPort(pty->slavePath()));
    QTest::mouseClick(portButton(window), Qt::LeftButton);
    QVERIFY(appSerialPort->isOpen());

    QList<MessageBox::Shown> shown;
    MessageBox::setInterceptor([&](const MessageBox::Shown &box) {
        shown.append(box);
        // The user reads the box for a while; the event loop keeps turning.
        QTest::qWait(200);
        return QMessageBox::Ok;
    });
    pty->closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, kWaitMs);
    QTest::qWait(kQuietCheckMs);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QStringLiteral("Error"));
    QCOMPARE(shown.first().informativeText, PortAdvice::forLostDevice());

    QVERIFY(!appSerialPort->isOpen());
    QCOMPARE(portButton(window)->text(), QStringLiteral("打开串口"));
    QVERIFY(!portButton(window)->isActive());
    QVERIFY(lampShows(portLamp(window), QStringLiteral(":/images/led-yellow-off.png")));
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("串口已关闭"));
}

void TestSerialWindow::openFailureBox_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("boxCount");
    QTest::addColumn<PortAdvice::OpenFailureCause>("cause");

    // Another holder: the library's permission error is silent, the open failure is shown.
    QTest::newRow("busy device") << true << 1 << PortAdvice::OpenFailureCause::Busy;
    // A listed port that is gone: the library's own error and the open failure.
    QTest::newRow("missing device") << false << 2 << PortAdvice::OpenFailureCause::Other;
}

void TestSerialWindow::openFailureBox()
{
    QFETCH(bool, busy);
    QFETCH(int, boxCount);
    QFETCH(PortAdvice::OpenFailureCause, cause);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort holder;
    holder.setPortName(pty.slavePath());
    QVERIFY(holder.open());

    BoxRecorder boxes;
    MainWindow window;
    QVERIFY(window.serialSettings()->selectPort(busy ? pty.slavePath() : kMissingPort));
    QTest::mouseClick(portButton(window), Qt::LeftButton);

    QVERIFY(!appSerialPort->isOpen());
    QCOMPARE(portButton(window)->text(), QStringLiteral("打开串口"));
    QCOMPARE(boxes.shown.size(), boxCount);
    const QString name = busy ? pty.slavePath().mid(QStringLiteral("/dev/").size()) : kMissingPort;
    QCOMPARE(boxes.shown.last().text, name + QStringLiteral("打开失败！"));
    QCOMPARE(boxes.shown.last().informativeText, PortAdvice::forOpenFailure(cause));
}

void TestSerialWindow::languageSwitchRetranslatesSerialForm()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MainWindow window;
    FormSerialPortSetting *form = window.serialSettings();
    QVERIFY(form->selectPort(pty.slavePath()));
    portButton(window)->openPort();
    QVERIFY(appSerialPort->isOpen());
    const auto captions = [form] {
        QStringList texts;
        const auto labels = form->findChildren<QLabel *>();
        for (const QLabel *label : labels)
            texts.append(label->text());
        return texts;
    };

    window.findChild<QAction *>(QStringLiteral("action_en_US"))->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("Serial Port Setting"));
    QCOMPARE(captions(), (QStringList{"Port:", "Baudrate:", "Data Bits:", "Parity:", "Stop Bits:",
                                      "Flow Control:"}));
    QCOMPARE(portButton(window)->text(), QStringLiteral("Close Port"));
    // Selector items keep their texts.
    QCOMPARE(form->findChild<MParityList *>()->currentText(), QStringLiteral("None"));

    window.findChild<QAction *>(QStringLiteral("action_zh_CN"))->trigger();
    QCOMPARE(form->windowTitle(), QStringLiteral("串口设置"));
    QCOMPARE(captions().first(), QStringLiteral("串口："));
    QCOMPARE(portButton(window)->text(), QStringLiteral("关闭串口"));
}

void TestSerialWindow::configActionsShowTheSameForm()
{
    MainWindow window;
    FormSerialPortSetting *form = window.serialSettings();
    QVERIFY(form);
    QVERIFY(!form->isVisible());
    for (const char *name : {"action_9", "actSerialPortConfig"}) {
        window.findChild<QAction *>(QString::fromLatin1(name))->trigger();
        QVERIFY(form->isVisible());
        form->close();
        QVERIFY(!form->isVisible());
    }
    QCOMPARE(window.serialSettings(), form);
}

QTEST_MAIN(TestSerialWindow)
#include "tst_serialwindow.moc"
