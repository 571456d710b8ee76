#include "ui/serial/mparamlists.h"

#include "app/mjsonconfig.h"
#include "serial/mserialport.h"

#include <QIntValidator>
#include <QLineEdit>

namespace {
constexpr int kDefaultBaudrate = 9600; // bit/s
constexpr int kDefaultDataBits = 8;
constexpr double kDefaultStopBits = 1;
constexpr int kStopBitsDigits = 6; // significant digits of a stored stop-bit count
} // namespace

MParamList::MParamList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : QComboBox(parent)
    , port(port)
    , config(config)
{
    setFixedWidth(kWidthPx);
}

void MParamList::fill(const QVector<Item> &items)
{
    clear();
    for (const Item &item : items)
        addItem(item.text, item.data);
    setCurrentIndex(-1);
}

void MParamList::connectAndRestore(const Setting &setting)
{
    m_setting = setting;
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &MParamList::onChanged);
    if (!config)
        return;
    const QString text =
        displayText(config->value(setting.path, setting.defaultValue), setting.storedAs);
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        setCurrentIndex(index);
    else
        restoreUnmatched(text);
}

QString MParamList::displayText(const QJsonValue &stored, StoredAs storedAs)
{
    switch (storedAs) {
    case StoredAs::Integer:
        return QString::number(stored.toInt());
    case StoredAs::Number:
        return QString::number(stored.toDouble(), 'g', kStopBitsDigits);
    case StoredAs::Text:
        break;
    }
    return stored.toString();
}

QJsonValue MParamList::storedValue(const QString &text, StoredAs storedAs)
{
    switch (storedAs) {
    case StoredAs::Integer:
        return text.toInt();
    case StoredAs::Number:
        return text.toDouble();
    case StoredAs::Text:
        break;
    }
    return text;
}

void MParamList::onChanged()
{
    if (currentIndex() < 0)
        return;
    apply(currentData().toInt());
    if (config)
        config->setValue(m_setting.path, storedValue(currentText(), m_setting.storedAs));
}

MBaudrateList::MBaudrateList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : MParamList(port, config, parent)
    , customValidator(new QIntValidator(0, kMaxCustomBaudrate, this))
{
    setInsertPolicy(QComboBox::NoInsert);
    QVector<Item> items;
    for (const int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        items.append({QString::number(rate), rate});
    items.append({tr("Custom"), QVariant()});
    fill(items);
    // The editable state must follow the selection before the new rate is read.
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &MBaudrateList::checkCustomBaudrate);
    connectAndRestore(
        {QStringLiteral("/SerialPort/Baudrate"), kDefaultBaudrate, StoredAs::Integer});
}

bool MBaudrateList::isCustom() const
{
    return count() > 0 && currentIndex() == count() - 1;
}

void MBaudrateList::apply(int value)
{
    port->setBaudRate(value);
}

void MBaudrateList::restoreUnmatched(const QString &text)
{
    setCurrentIndex(count() - 1);
    setEditText(text);
    onChanged();
}

void MBaudrateList::onChanged()
{
    if (currentIndex() < 0)
        return;
    const QString text = currentText();
    // An empty custom field is no rate: neither the port nor the store gets one.
    if (text.isEmpty())
        return;
    apply(isCustom() ? text.toInt(nullptr, 10) : currentData().toInt());
    if (config)
        config->setValue(setting().path, text.toInt(nullptr, 10));
}

void MBaudrateList::checkCustomBaudrate(int index)
{
    if (index < 0)
        return;
    if (itemData(index).isValid()) {
        setEditable(false);
        return;
    }
    setEditable(true);
    // Inline completion would turn a typed "1" into "1200".
    setCompleter(nullptr);
    clearEditText();
    lineEdit()->setValidator(customValidator);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &MBaudrateList::onChanged,
            Qt::UniqueConnection);
}

MDataBitsList::MDataBitsList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : MParamList(port, config, parent)
{
    fill({{QStringLiteral("5"), QSerialPort::Data5},
          {QStringLiteral("6"), QSerialPort::Data6},
          {QStringLiteral("7"), QSerialPort::Data7},
          {QStringLiteral("8"), QSerialPort::Data8}});
    connectAndRestore(
        {QStringLiteral("/SerialPort/DataBits"), kDefaultDataBits, StoredAs::Integer});
}

void MDataBitsList::apply(int value)
{
    port->setDataBits(static_cast<QSerialPort::DataBits>(value));
}

MParityList::MParityList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : MParamList(port, config, parent)
{
    fill({{tr("None"), QSerialPort::NoParity},
          {tr("Even"), QSerialPort::EvenParity},
          {tr("Odd"), QSerialPort::OddParity},
          {tr("Mark"), QSerialPort::MarkParity},
          {tr("Space"), QSerialPort::SpaceParity}});
    connectAndRestore(
        {QStringLiteral("/SerialPort/Parity"), QStringLiteral("None"), StoredAs::Text});
}

void MParityList::apply(int value)
{
    port->setParity(static_cast<QSerialPort::Parity>(value));
}

MStopBitsList::MStopBitsList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : MParamList(port, config, parent)
{
    fill({{QStringLiteral("1"), QSerialPort::OneStop},
          {QStringLiteral("1.5"), QSerialPort::OneAndHalfStop},
          {QStringLiteral("2"), QSerialPort::TwoStop}});
    connectAndRestore({QStringLiteral("/SerialPort/StopBits"), kDefaultStopBits, StoredAs::Number});
}

void MStopBitsList::apply(int value)
{
    port->setStopBits(static_cast<QSerialPort::StopBits>(value));
}

MFlowCtrlList::MFlowCtrlList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : MParamList(port, config, parent)
{
    fill({{tr("None"), QSerialPort::NoFlowControl},
          {tr("RTS/CTS"), QSerialPort::HardwareControl},
          {tr("XON/XOFF"), QSerialPort::SoftwareControl}});
    connectAndRestore(
        {QStringLiteral("/SerialPort/FlowCtrl"), QStringLiteral("None"), StoredAs::Text});
}

void MFlowCtrlList::apply(int value)
{
    port->setFlowControl(static_cast<QSerialPort::FlowControl>(value));
}
