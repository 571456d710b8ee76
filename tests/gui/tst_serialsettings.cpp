#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "support/pty.h"
#include "support/testenv.h"
#include "ui/serial/formserialportsetting.h"
#include "ui/serial/mparamlists.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {
constexpr int kWaitMs = 3000;

enum class Selector
{
    Baudrate,
    DataBits,
    Parity,
    StopBits,
    FlowCtrl
};

QString storePath(Selector selector)
{
    switch (selector) {
    case Selector::Baudrate:
        return QStringLiteral("/SerialPort/Baudrate");
    case Selector::DataBits:
        return QStringLiteral("/SerialPort/DataBits");
    case Selector::Parity:
        return QStringLiteral("/SerialPort/Parity");
    case Selector::StopBits:
        return QStringLiteral("/SerialPort/StopBits");
    case Selector::FlowCtrl:
        break;
    }
    return QStringLiteral("/SerialPort/FlowCtrl");
}

QComboBox *makeSelector(Selector selector, MSerialPort *port, MJsonConfig *config)
{
    switch (selector) {
    case Selector::Baudrate:
        return new MBaudrateList(port, config);
    case Selector::DataBits:
        return new MDataBitsList(port, config);
    case Selector::Parity:
        return new MParityList(port, config);
    case Selector::StopBits:
        return new MStopBitsList(port, config);
    case Selector::FlowCtrl:
        break;
    }
    return new MFlowCtrlList(port, config);
}

int portValue(Selector selector, const MSerialPort &port)
{
    switch (selector) {
    case Selector::Baudrate:
        return port.baudRate();
    case Selector::DataBits:
        return port.dataBits();
    case Selector::Parity:
        return port.parity();
    case Selector::StopBits:
        return port.stopBits();
    case Selector::FlowCtrl:
        break;
    }
    return port.flowControl();
}

// Values no selector chooses by default, so that "left as it was" can be told from "applied".
void setUnusualValues(MSerialPort &port)
{
    port.setBaudRate(38400);
    port.setDataBits(QSerialPort::Data5);
    port.setParity(QSerialPort::EvenParity);
    port.setStopBits(QSerialPort::TwoStop);
    port.setFlowControl(QSerialPort::HardwareControl);
}

// What is on disk, not what the store keeps in memory.
QJsonValue storedOnDisk(const ScopedSettings &settings, const QString &path)
{
    return MJsonConfig(settings.filePath()).value(path);
}

QIcon solidIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

void typeAndConfirm(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}
} // namespace

Q_DECLARE_METATYPE(Selector)

class TestSerialSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void restoresAppliesAndStores_data();
    void restoresAppliesAndStores();
    void customToPresetIsNotEditable();
    void customRateAppliedWhenConfirmed_data();
    void customRateAppliedWhenConfirmed();

    void portRestore_data();
    void portRestore();
    void refreshKeepsChoiceAndAppliesNothing_data();
    void refreshKeepsChoiceAndAppliesNothing();
    void refreshRunsByItself();
    void typedPath_data();
    void typedPath();
    void nameChangeReopensOpenPort_data();
    void nameChangeReopensOpenPort();

    void buttonStartsClosed();
    void buttonOpensAndCloses();
    void buttonFailedOpenStaysClosed();
    void buttonErrorCodes_data();
    void buttonErrorCodes();
    void buttonFollowsLostDevice();

    void formLayout();
    void formConfiguresPortAtOnce();

private:
    std::unique_ptr<ScopedSettings> m_settings;
    QStringList m_platformPorts;
};

void TestSerialSettings::init()
{
    m_settings = std::make_unique<ScopedSettings>();
    m_platformPorts = QStringList{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")};
    MPortList::setPortNameSource([this] { return m_platformPorts; });
}

void TestSerialSettings::cleanup()
{
    MPortList::setPortNameSource({});
    if (appSerialPort->isOpen())
        appSerialPort->close();
    m_settings.reset();
}

void TestSerialSettings::restoresAppliesAndStores_data()
{
    QTest::addColumn<Selector>("selector");
    QTest::addColumn<QJsonValue>("stored"); // undefined: nothing stored
    QTest::addColumn<QString>("shown");     // empty: nothing selected
    QTest::addColumn<int>("portValue");
    QTest::addColumn<QJsonValue>("storedAfter");

    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("baud rate default")
        << Selector::Baudrate << none << "9600" << 9600 << QJsonValue(9600);
    QTest::newRow("baud rate 115200")
        << Selector::Baudrate << QJsonValue(115200) << "115200" << 115200 << QJsonValue(115200);
    QTest::newRow("baud rate 250000 is custom")
        << Selector::Baudrate << QJsonValue(250000) << "250000" << 250000 << QJsonValue(250000);
    QTest::newRow("data bits default") << Selector::DataBits << none << "8" << 8 << QJsonValue(8);
    QTest::newRow("data bits 7") << Selector::DataBits << QJsonValue(7) << "7" << 7
                                 << QJsonValue(7);
    QTest::newRow("data bits 9 unknown")
        << Selector::DataBits << QJsonValue(9) << "" << 5 << QJsonValue(9);
    QTest::newRow("parity default")
        << Selector::Parity << none << "None" << int(QSerialPort::NoParity) << QJsonValue("None");
    QTest::newRow("parity Mark") << Selector::Parity << QJsonValue("Mark") << "Mark"
                                 << int(QSerialPort::MarkParity) << QJsonValue("Mark");
    QTest::newRow("parity Space") << Selector::Parity << QJsonValue("Space") << "Space"
                                  << int(QSerialPort::SpaceParity) << QJsonValue("Space");
    QTest::newRow("parity odd is case-sensitive")
        << Selector::Parity << QJsonValue("odd") << "" << int(QSerialPort::EvenParity)
        << QJsonValue("odd");
    QTest::newRow("stop bits default")
        << Selector::StopBits << none << "1" << int(QSerialPort::OneStop) << QJsonValue(1);
    QTest::newRow("stop bits 1.5") << Selector::StopBits << QJsonValue(1.5) << "1.5"
                                   << int(QSerialPort::OneAndHalfStop) << QJsonValue(1.5);
    QTest::newRow("stop bits 3 unknown")
        << Selector::StopBits << QJsonValue(3) << "" << int(QSerialPort::TwoStop) << QJsonValue(3);
    QTest::newRow("flow control default") << Selector::FlowCtrl << none << "None"
                                          << int(QSerialPort::NoFlowControl) << QJsonValue("None");
    QTest::newRow("flow control XON/XOFF")
        << Selector::FlowCtrl << QJsonValue("XON/XOFF") << "XON/XOFF"
        << int(QSerialPort::SoftwareControl) << QJsonValue("XON/XOFF");
}

void TestSerialSettings::restoresAppliesAndStores()
{
    QFETCH(Selector, selector);
    QFETCH(QJsonValue, stored);
    QFETCH(QString, shown);
    QFETCH(int, portValue);
    QFETCH(QJsonValue, storedAfter);

    if (!stored.isUndefined())
        m_settings->config()->setValue(storePath(selector), stored);
    MSerialPort port;
    setUnusualValues(port);
    std::unique_ptr<QComboBox> list(makeSelector(selector, &port, m_settings->config()));

    QCOMPARE(list->width(), 150);
    QCOMPARE(list->currentIndex() < 0, shown.isEmpty());
    QCOMPARE(list->currentText(), shown);
    QCOMPARE(::portValue(selector, port), portValue);
    QCOMPARE(storedOnDisk(*m_settings, storePath(selector)), storedAfter);
    // Only the custom baud rate is typed in.
    const bool custom = selector == Selector::Baudrate && list->currentIndex() == list->count() - 1;
    QCOMPARE(list->isEditable(), custom);
    QCOMPARE(custom, storedAfter == QJsonValue(250000));
}

void TestSerialSettings::customToPresetIsNotEditable()
{
    m_settings->config()->setValue(QStringLiteral("/SerialPort/Baudrate"), 250000);
    MSerialPort port;
    MBaudrateList list(&port, m_settings->config());
    QVERIFY(list.isCustom());
    QVERIFY(list.isEditable());

    list.setCurrentIndex(list.findText(QStringLiteral("9600")));
    QVERIFY(!list.isEditable());
    QCOMPARE(port.baudRate(), 9600);
    QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/Baudrate")), QJsonValue(9600));
}

void TestSerialSettings::customRateAppliedWhenConfirmed_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rate");

    QTest::newRow("250000") << "250000" << 250000;
    QTest::newRow("maximum") << "4000000" << 4000000;
    QTest::newRow("above maximum is not taken") << "4000001" << 9600;
    QTest::newRow("letters are not taken") << "fast" << 9600;
}

void TestSerialSettings::customRateAppliedWhenConfirmed()
{
    QFETCH(QString, typed);
    QFETCH(int, rate);

    MSerialPort port;
    MBaudrateList list(&port, m_settings->config());
    QCOMPARE(port.baudRate(), 9600);

    list.setCurrentIndex(list.count() - 1);
    QVERIFY(list.isEditable());
    QVERIFY(list.currentText().isEmpty());
    // Choosing "Custom" alone gives the port no rate.
    QCOMPARE(port.baudRate(), 9600);
    QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/Baudrate")), QJsonValue(9600));

    typeAndConfirm(list.lineEdit(), typed);
    QCOMPARE(port.baudRate(), rate);
    QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/Baudrate")), QJsonValue(rate));
}

void TestSerialSettings::portRestore_data()
{
    QTest::addColumn<QJsonValue>("stored"); // "<pty>" stands for a live pseudo-terminal
    QTest::addColumn<QString>("selected");  // empty: nothing selected
    QTest::addColumn<QStringList>("items");

    const QStringList platform{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0")};
    QTest::newRow("nothing stored") << QJsonValue() << "" << platform;
    QTest::newRow("listed port") << QJsonValue("ttyUSB0") << "ttyUSB0" << platform;
    QTest::newRow("port that is gone") << QJsonValue("ttyUSB7") << "" << platform;
    QTest::newRow("device path that exists")
        << QJsonValue("<pty>") << "<pty>" << (QStringList(platform) << QStringLiteral("<pty>"));
}

void TestSerialSettings::portRestore()
{
    QFETCH(QJsonValue, stored);
    QFETCH(QString, selected);
    QFETCH(QStringList, items);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    const auto live = [&](const QString &text) {
        return text == QLatin1String("<pty>") ? pty.slavePath() : text;
    };
    selected = live(selected);
    for (QString &item : items)
        item = live(item);
    if (!stored.isNull())
        m_settings->config()->setValue(QStringLiteral("/SerialPort/PortName"),
                                       live(stored.toString()));

    MSerialPort port;
    MPortList list(&port, m_settings->config());
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown.append(list.itemText(i));
    QCOMPARE(shown, items);
    QCOMPARE(list.currentIndex() < 0, selected.isEmpty());
    QCOMPARE(list.currentIndex() < 0 ? QString() : list.currentText(), selected);
    // The port gets the name only when it is selected.
    if (!selected.isEmpty()) {
        MSerialPort reference;
        reference.setPortName(selected);
        QCOMPARE(port.portName(), reference.portName());
    } else {
        QVERIFY(port.portName().isEmpty());
    }
}

void TestSerialSettings::refreshKeepsChoiceAndAppliesNothing_data()
{
    QTest::addColumn<QList<QStringList>>("lists"); // what the platform lists at each refresh
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("rebuilds");

    const QString s0 = QStringLiteral("ttyS0");
    const QString usb0 = QStringLiteral("ttyUSB0");
    const QString acm0 = QStringLiteral("ttyACM0");
    QTest::newRow("same list") << QList<QStringList>{{s0, usb0}} << usb0 << 0;
    QTest::newRow("adapter plugged in") << QList<QStringList>{{acm0, s0, usb0}} << usb0 << 1;
    QTest::newRow("chosen adapter unplugged") << QList<QStringList>{{s0}} << "" << 1;
    QTest::newRow("chosen adapter back") << QList<QStringList>{{s0}, {s0, acm0, usb0}} << usb0 << 2;
}

void TestSerialSettings::refreshKeepsChoiceAndAppliesNothing()
{
    QFETCH(QList<QStringList>, lists);
    QFETCH(QString, selected);
    QFETCH(int, rebuilds);

    MSerialPort port;
    MPortList list(&port, m_settings->config());
    list.setCurrentIndex(list.findText(QStringLiteral("ttyUSB0")));
    QCOMPARE(port.portName(), QStringLiteral("ttyUSB0"));
    // Anything applied or stored from here on would show.
    port.setPortName(QStringLiteral("sentinel"));
    m_settings->config()->setValue(QStringLiteral("/SerialPort/PortName"), QStringLiteral("kept"));
    list.lineEdit()->setText(QStringLiteral("being typed"));

    for (const QStringList &names : lists) {
        m_platformPorts = names;
        list.updatePortList();
        QStringList shown;
        for (int i = 0; i < list.count(); ++i)
            shown.append(list.itemText(i));
        QCOMPARE(shown, names);
    }
    QCOMPARE(list.currentIndex() < 0 ? QString() : list.itemText(list.currentIndex()), selected);
    QCOMPARE(list.chosenPortName(), QStringLiteral("ttyUSB0"));
    QCOMPARE(port.portName(), QStringLiteral("sentinel"));
    QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/PortName")), QJsonValue("kept"));
    // An unchanged list is not rebuilt, so what the user is typing survives.
    QCOMPARE(list.lineEdit()->text() == QLatin1String("being typed"), rebuilds == 0);
}

void TestSerialSettings::refreshRunsByItself()
{
    MSerialPort port;
    MPortList list(&port, m_settings->config());
    QCOMPARE(list.count(), 2);
    m_platformPorts.append(QStringLiteral("ttyACM0"));
    QTRY_COMPARE_WITH_TIMEOUT(list.count(), 3, MPortList::kRefreshIntervalMs + 1500);
    QCOMPARE(list.itemText(2), QStringLiteral("ttyACM0"));
}

void TestSerialSettings::typedPath_data()
{
    QTest::addColumn<bool>("byMethod"); // the command line's way instead of typing
    QTest::addColumn<QString>("name");  // "<pty>" stands for a live pseudo-terminal
    QTest::addColumn<bool>("taken");

    QTest::newRow("typed device path") << false << "<pty>" << true;
    QTest::newRow("typed listed name") << false << "ttyS0" << true;
    QTest::newRow("typed path that does not exist") << false << "/dev/lx815-none" << false;
    // As Windows lists "COM9": listed by the platform since the last refresh, no path.
    QTest::newRow("typed name the platform lists, no path") << false << "COM9" << true;
    QTest::newRow("selected device path") << true << "<pty>" << true;
    QTest::newRow("selected path that does not exist") << true << "/dev/lx815-none" << false;
}

void TestSerialSettings::typedPath()
{
    QFETCH(bool, byMethod);
    QFETCH(QString, name);
    QFETCH(bool, taken);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    if (name == QLatin1String("<pty>"))
        name = pty.slavePath();

    MSerialPort port;
    {
        MPortList list(&port, m_settings->config());
        list.setCurrentIndex(list.findText(QStringLiteral("ttyUSB0")));
        if (name == QLatin1String("COM9"))
            m_platformPorts.append(name);
        if (byMethod)
            QCOMPARE(list.selectPort(name), taken);
        else
            typeAndConfirm(list.lineEdit(), name);

        const QString expected = taken ? name : QStringLiteral("ttyUSB0");
        QCOMPARE(list.itemText(list.currentIndex()), expected);
        QCOMPARE(list.currentText(), expected);
        MSerialPort reference;
        reference.setPortName(expected);
        QCOMPARE(port.portName(), reference.portName());
        QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/PortName")),
                 QJsonValue(expected));
        // A refresh keeps a device path the platform does not list.
        list.updatePortList();
        QCOMPARE(list.currentText(), expected);
    }
    // The next start offers and selects it again.
    MSerialPort next;
    MPortList again(&next, m_settings->config());
    QCOMPARE(again.currentText(), taken ? name : QStringLiteral("ttyUSB0"));
}

void TestSerialSettings::nameChangeReopensOpenPort_data()
{
    QTest::addColumn<bool>("secondExists");
    QTest::addColumn<bool>("openAfter");
    QTest::addColumn<QList<int>>("errors");

    QTest::newRow("to another live port") << true << true << QList<int>{};
    QTest::newRow("to a missing port")
        << false << false << QList<int>{QSerialPort::DeviceNotFoundError, 0};
}

void TestSerialSettings::nameChangeReopensOpenPort()
{
    QFETCH(bool, secondExists);
    QFETCH(bool, openAfter);
    QFETCH(QList<int>, errors);

    PseudoTerminal first;
    PseudoTerminal second;
    QVERIFY(first.isValid() && second.isValid());
    const QString target = secondExists ? second.slavePath() : QStringLiteral("/dev/lx815-none");
    m_platformPorts = QStringList{first.slavePath(), target};

    MSerialPort port;
    MPortList list(&port, m_settings->config());
    list.setCurrentIndex(0);
    QVERIFY(port.open());
    QSignalSpy states(&port, &MSerialPort::openStateChanged);
    QList<int> codes;
    connect(&port, &MSerialPort::onError, this, [&](int errNo) { codes.append(errNo); });

    list.setCurrentIndex(1);
    QCOMPARE(port.isOpen(), openAfter);
    QCOMPARE(states.count(), openAfter ? 2 : 1);
    QCOMPARE(codes, errors);
    QCOMPARE(storedOnDisk(*m_settings, QStringLiteral("/SerialPort/PortName")), QJsonValue(target));
    if (openAfter) {
        // The bytes go to the new line.
        QVERIFY(port.write("to second") == 9);
        QCOMPARE(second.read(9, kWaitMs), QByteArray("to second"));
        QVERIFY(first.readAvailable().isEmpty());
    }
}

void TestSerialSettings::buttonStartsClosed()
{
    MSerialPort port;
    MSerialButton button(&port);
    QCOMPARE(button.text(), QStringLiteral("打开串口"));
    QVERIFY(!button.isActive());
    const QIcon open = solidIcon(Qt::green);
    const QIcon closed = solidIcon(Qt::gray);
    button.setStateIcon(MSerialButton::OpenState, open);
    QVERIFY(button.icon().isNull());
    button.setStateIcon(MSerialButton::ClosedState, closed);
    QCOMPARE(button.icon().cacheKey(), closed.cacheKey());
    button.setStateIcon(7, open);
    QCOMPARE(button.icon().cacheKey(), closed.cacheKey());
}

void TestSerialSettings::buttonOpensAndCloses()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    MSerialButton button(&port);
    const QIcon open = solidIcon(Qt::green);
    const QIcon closed = solidIcon(Qt::gray);
    button.setStateIcon(MSerialButton::OpenState, open);
    button.setStateIcon(MSerialButton::ClosedState, closed);

    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(port.isOpen());
    QVERIFY(button.isActive());
    QCOMPARE(button.text(), QStringLiteral("关闭串口"));
    QCOMPARE(button.icon().cacheKey(), open.cacheKey());

    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(!port.isOpen());
    QVERIFY(!button.isActive());
    QCOMPARE(button.text(), QStringLiteral("打开串口"));
    QCOMPARE(button.icon().cacheKey(), closed.cacheKey());
}

void TestSerialSettings::buttonFailedOpenStaysClosed()
{
    MSerialPort port;
    port.setPortName(QStringLiteral("/dev/lx815-none"));
    MSerialButton button(&port);
    QSignalSpy states(&port, &MSerialPort::openStateChanged);
    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(!port.isOpen());
    QVERIFY(!button.isActive());
    QCOMPARE(button.text(), QStringLiteral("打开串口"));
    // The reset on error 0 closes the closed port once more, which the window hears of.
    QCOMPARE(states.count(), 1);
}

void TestSerialSettings::buttonErrorCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("resets");
    for (int code = 0; code <= 14; ++code) {
        const bool resets = code == 0 || code == QSerialPort::ResourceError;
        QTest::addRow("code %d", code) << code << resets;
    }
}

void TestSerialSettings::buttonErrorCodes()
{
    QFETCH(int, code);
    QFETCH(bool, resets);

    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    MSerialButton button(&port);
    button.openPort();
    QVERIFY(button.isActive());

    emit port.onError(code, QStringLiteral("test"));
    QCOMPARE(button.isActive(), !resets);
    QCOMPARE(port.isOpen(), !resets);
    QCOMPARE(button.text(), resets ? QStringLiteral("打开串口") : QStringLiteral("关闭串口"));
}

void TestSerialSettings::buttonFollowsLostDevice()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MSerialPort port;
    port.setPortName(pty.slavePath());
    MSerialButton button(&port);
    const QIcon closed = solidIcon(Qt::gray);
    button.setStateIcon(MSerialButton::OpenState, solidIcon(Qt::green));
    button.setStateIcon(MSerialButton::ClosedState, closed);
    button.openPort();
    QVERIFY(button.isActive());

    pty.closeMaster();
    QTRY_VERIFY_WITH_TIMEOUT(!button.isActive(), kWaitMs);
    QVERIFY(!port.isOpen());
    QCOMPARE(button.text(), QStringLiteral("打开串口"));
    QCOMPARE(button.icon().cacheKey(), closed.cacheKey());
}

void TestSerialSettings::formLayout()
{
    FormSerialPortSetting form;
    QCOMPARE(form.size(), QSize(260, 250));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.windowTitle(), QStringLiteral("串口设置"));
    QStringList captions;
    const auto labels = form.findChildren<QLabel *>();
    for (const QLabel *label : labels)
        captions.append(label->text());
    QCOMPARE(captions,
             (QStringList{"串口：", "波特率：", "数据位：", "校验位：", "停止位：", "流控："}));
    auto *button = form.findChild<MSerialButton *>();
    QVERIFY(button);
    QCOMPARE(button->size(), QSize(100, 30));
    QCOMPARE(button->text(), QStringLiteral("打开串口"));
    // Starts with the closed-state image.
    const QImage shown = button->icon().pixmap(16).toImage();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown, QIcon(QStringLiteral(":/images/unconnected.png")).pixmap(16).toImage());
    QVERIFY(shown != QIcon(QStringLiteral(":/images/connected.png")).pixmap(16).toImage());
}

void TestSerialSettings::formConfiguresPortAtOnce()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    MJsonConfig *config = m_settings->config();
    config->setValue(QStringLiteral("/SerialPort/PortName"), pty.slavePath());
    config->setValue(QStringLiteral("/SerialPort/Baudrate"), 19200);
    config->setValue(QStringLiteral("/SerialPort/DataBits"), 7);
    config->setValue(QStringLiteral("/SerialPort/Parity"), QStringLiteral("Even"));
    config->setValue(QStringLiteral("/SerialPort/StopBits"), 2);
    config->setValue(QStringLiteral("/SerialPort/FlowCtrl"), QStringLiteral("RTS/CTS"));

    FormSerialPortSetting form;
    MSerialPort reference;
    reference.setPortName(pty.slavePath());
    QCOMPARE(appSerialPort->portName(), reference.portName());
    QCOMPARE(appSerialPort->baudRate(), 19200);
    QCOMPARE(appSerialPort->dataBits(), QSerialPort::Data7);
    QCOMPARE(appSerialPort->parity(), QSerialPort::EvenParity);
    QCOMPARE(appSerialPort->stopBits(), QSerialPort::TwoStop);
    QCOMPARE(appSerialPort->flowControl(), QSerialPort::HardwareControl);

    auto *button = form.findChild<MSerialButton *>();
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(appSerialPort->isOpen());
}

QTEST_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
