#include "ui/serial/mportlist.h"

#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "serial/portadvice.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSerialPort>
#include <QTimer>

namespace {
const QString kSettingsPath = QStringLiteral("/SerialPort/PortName");

MPortList::PortNameSource &portNameSource()
{
    static MPortList::PortNameSource source;
    return source;
}
} // namespace

MPortList::MPortList(MSerialPort *port, MJsonConfig *config, QWidget *parent)
    : QComboBox(parent)
    , port(port)
    , config(config)
{
    // Any device path can be typed in; only an existing one is taken (onNameEntered).
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &MPortList::onNameEntered);

    updatePortList();

    setFixedWidth(kWidthPx);
    refreshTimer = new QTimer(this);
    refreshTimer->setInterval(kRefreshIntervalMs);
    refreshTimer->start();
    connect(refreshTimer, &QTimer::timeout, this, &MPortList::updatePortList);

    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &MPortList::onChanged);

    if (config) {
        const QString stored = config->value(kSettingsPath).toString();
        if (!stored.isEmpty())
            selectPort(stored);
    }
}

void MPortList::setPortNameSource(PortNameSource source)
{
    portNameSource() = std::move(source);
}

QStringList MPortList::platformPortNames()
{
    return portNameSource() ? portNameSource()() : MSerialPort::availablePortNames();
}

bool MPortList::deviceExists(const QString &name)
{
    // Windows names ("COM9") are no paths: the platform's list or an open decides there.
    if (platformPortNames().contains(name) || QFileInfo::exists(PortAdvice::systemLocation(name)))
        return true;
    QSerialPort probe(name);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return true;
    }
    // Held by another program: it is there all the same.
    return probe.error() == QSerialPort::PermissionError;
}

QString MPortList::selectedName() const
{
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void MPortList::updatePortList()
{
    QStringList names = platformPortNames();
    // A device path the platform does not list stays offered while it exists.
    if (!currentPortName.isEmpty() && !names.contains(currentPortName) &&
        deviceExists(currentPortName))
        names.append(currentPortName);
    if (names == portNames)
        return;

    portNames = names;
    refreshing = true;
    clear();
    int chosen = -1;
    for (int i = 0; i < names.size(); ++i) {
        addItem(names.at(i));
        if (names.at(i) == currentPortName)
            chosen = i;
    }
    setCurrentIndex(chosen);
    refreshing = false;
}

bool MPortList::selectPort(const QString &name)
{
    if (name.isEmpty())
        return false;
    int index = findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        if (!deviceExists(name))
            return false;
        // Added quietly: the first item of an empty list would select itself.
        refreshing = true;
        addItem(name);
        refreshing = false;
        portNames.append(name);
        index = count() - 1;
    }
    if (currentIndex() != index)
        setCurrentIndex(index);
    else if (currentPortName != name)
        onChanged();
    return true;
}

void MPortList::onChanged()
{
    if (refreshing)
        return;
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    currentPortName = name;
    port->setPortName(currentPortName);
    if (port->isOpen()) {
        port->close();
        port->open();
    }
    if (config)
        config->setValue(kSettingsPath, currentPortName);
}

void MPortList::onNameEntered()
{
    const QString typed = lineEdit()->text().trimmed();
    const QString shown = selectedName();
    if (typed == shown)
        return;
    // A name that is neither listed nor an existing device is not taken.
    if (!selectPort(typed))
        setEditText(shown);
}
