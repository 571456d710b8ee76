// Text from outside the tool (device strings, port names) reaches the screen as plain text:
// markup in it is shown as it stands, never rendered.
#include "app/language.h"
#include "serial/mserialport.h"
#include "support/simharness.h"
#include "support/testenv.h"
#include "ui/formabout.h"
#include "ui/loadingwidget.h"
#include "ui/mainwindow.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QtTest>

#include <memory>

namespace {
constexpr int kBoxWaitMs = 2000;

// The texts a label with automatic format would render as rich text.
void addMarkupRows()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("bold") << QStringLiteral("<b>x</b>");
    QTest::newRow("link") << QStringLiteral("<a href=\"http://example.com/\">go</a>");
    QTest::newRow("image") << QStringLiteral("<img src=\"x.png\">v2");
    QTest::newRow("entity") << QStringLiteral("&lt;i&gt; <i>y</i>");
}

QLabel *labelShowing(const QWidget &root, const QString &text)
{
    const auto labels = root.findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// The label format a QMessageBox gives a text, read off a real box while it is open.
struct BoxLabels
{
    Qt::TextFormat textFormat = Qt::AutoText;
    QString text;
    Qt::TextFormat informativeFormat = Qt::AutoText;
    QString informativeText;
};
} // namespace

class TestUntrustedText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deviceStringsShownLiterally_data();
    void deviceStringsShownLiterally();
    void portNameInOpenFailureBox_data();
    void portNameInOpenFailureBox();
    void windowLabelsArePlain_data();
    void windowLabelsArePlain();
    void messageBoxLabelsArePlain_data();
    void messageBoxLabelsArePlain();
    void aboutFormLabelsArePlain();

private:
    std::unique_ptr<ScopedSettings> m_settings;
};

void TestUntrustedText::init()
{
    m_settings = std::make_unique<ScopedSettings>();
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
}

void TestUntrustedText::cleanup()
{
    MessageBox::setInterceptor({});
    if (appSerialPort->isOpen())
        appSerialPort->close();
    MPortList::setPortNameSource({});
    m_settings.reset();
}

void TestUntrustedText::deviceStringsShownLiterally_data()
{
    addMarkupRows();
}

void TestUntrustedText::deviceStringsShownLiterally()
{
    QFETCH(QString, text);

    SimHarness sim;
    QVERIFY2(sim.isReady(), qPrintable(sim.error()));
    sim.state().firmware = text;
    // A serial number is six bytes shown as hex digits: the markup's bytes come out as digits.
    const QByteArray serial = text.toUtf8().left(ModuleState::kSerialBytes);
    sim.state().serialNumber = serial;
    BoxRecorder boxes;
    MainWindow window;
    appSerialPort->setPortName(sim.portPath());
    QVERIFY(appSerialPort->open());

    window.findChild<QAction *>(QStringLiteral("actReadDeviceInfo"))->trigger();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("lineEdit_3"))->text(), text);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("lineEdit_3"))->displayText(), text);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("lineEdit_5"))->text(),
             QString::fromLatin1(serial.toHex().toUpper()));

    // The factory pages' serial number fields, whose input mask takes hex digits only.
    for (const char *name : {"pushButton_41", "pushButton_47"})
        window.findChild<QPushButton *>(QString::fromLatin1(name))->click();
    QCOMPARE(boxes.texts(), QStringList());
    for (const char *name : {"lineEdit_6", "lineEdit_7"}) {
        QCOMPARE(window.findChild<QLineEdit *>(QString::fromLatin1(name))->text(),
                 QString::fromLatin1(serial.toHex().toUpper()));
    }
}

void TestUntrustedText::portNameInOpenFailureBox_data()
{
    addMarkupRows();
}

void TestUntrustedText::portNameInOpenFailureBox()
{
    QFETCH(QString, text);

    // A name the platform lists with no device behind it.
    MPortList::setPortNameSource([text] { return QStringList{text}; });
    BoxRecorder boxes;
    MainWindow window;
    QVERIFY(window.serialSettings()->selectPort(text));
    QTest::mouseClick(window.serialSettings()->findChild<MSerialButton *>(), Qt::LeftButton);

    QVERIFY(!appSerialPort->isOpen());
    QVERIFY(!boxes.shown.isEmpty());
    QCOMPARE(boxes.shown.last().text, text + QStringLiteral("打开失败！"));
}

void TestUntrustedText::windowLabelsArePlain_data()
{
    addMarkupRows();
}

void TestUntrustedText::windowLabelsArePlain()
{
    QFETCH(QString, text);
    QVERIFY(Qt::mightBeRichText(text));

    MainWindow window;
    // The status bar's message label: status texts come through one slot for all messages.
    window.statusBar()->showMessage(text);
    QLabel *status = labelShowing(*window.statusBar(), text);
    QVERIFY(status);
    QCOMPARE(status->textFormat(), Qt::PlainText);

    // The busy overlay's text label.
    auto *overlay = window.findChild<LoadingWidget *>();
    QVERIFY(overlay);
    overlay->setText(text);
    QLabel *overlayLabel = labelShowing(*overlay, text);
    QVERIFY(overlayLabel);
    QCOMPARE(overlayLabel->textFormat(), Qt::PlainText);
}

void TestUntrustedText::messageBoxLabelsArePlain_data()
{
    addMarkupRows();
}

void TestUntrustedText::messageBoxLabelsArePlain()
{
    QFETCH(QString, text);

    // A real box, read and closed once it is open.
    BoxLabels seen;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        opened = true;
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
            seen.textFormat = label->textFormat();
            seen.text = label->text();
        }
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"))) {
            seen.informativeFormat = label->textFormat();
            seen.informativeText = label->text();
        }
        box->close();
    });
    const QString informative = text + QStringLiteral("\n") + text;
    MessageBox::critical(nullptr, QStringLiteral("错误"), text, informative);

    QTRY_VERIFY_WITH_TIMEOUT(opened, kBoxWaitMs);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.textFormat, Qt::PlainText);
    QCOMPARE(seen.informativeText, informative);
    QCOMPARE(seen.informativeFormat, Qt::PlainText);
}

void TestUntrustedText::aboutFormLabelsArePlain()
{
    FormAbout about;
    const auto labels = about.findChildren<QLabel *>();
    int withText = 0;
    for (const QLabel *label : labels) {
        if (label->text().isEmpty())
            continue;
        ++withText;
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }
    QVERIFY(withText > 0);
}

QTEST_MAIN(TestUntrustedText)
#include "tst_untrustedtext.moc"
