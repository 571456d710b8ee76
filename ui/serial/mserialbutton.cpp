#include "ui/serial/mserialbutton.h"

#include "serial/mserialport.h"

#include <QVariant>

namespace {
const char kActive[] = "active";
constexpr int kOpenFailed = 0; // the port's own code for a failed open
} // namespace

MSerialButton::MSerialButton(MSerialPort *port, QWidget *parent)
    : QPushButton(parent)
    , port(port)
{
    setText(tr("打开串口"));
    setProperty(kActive, false);
    connect(this, &QPushButton::clicked, this, &MSerialButton::onClicked);
    connect(port, &MSerialPort::onError, this, &MSerialButton::onSerialPortError);
    connect(port, &MSerialPort::connectionLost, this, &MSerialButton::onConnectionLost);
}

bool MSerialButton::isActive() const
{
    return property(kActive).toBool();
}

void MSerialButton::setStateIcon(int state, const QIcon &icon)
{
    if (state == OpenState) {
        connectedIcon = icon;
        if (isActive())
            setIcon(connectedIcon);
    } else if (state == ClosedState) {
        unconnectedIcon = icon;
        if (!isActive())
            setIcon(unconnectedIcon);
    }
}

void MSerialButton::showState(bool active)
{
    setProperty(kActive, active);
    setText(active ? tr("关闭串口") : tr("打开串口"));
    const QIcon &icon = active ? connectedIcon : unconnectedIcon;
    if (!icon.isNull())
        setIcon(icon);
}

void MSerialButton::openPort()
{
    if (!port->open())
        return;
    showState(true);
}

void MSerialButton::closePort()
{
    port->close();
    showState(false);
}

void MSerialButton::updateText()
{
    setText(port->isOpen() ? tr("关闭串口") : tr("打开串口"));
}

void MSerialButton::onClicked()
{
    if (isActive())
        closePort();
    else
        openPort();
}

void MSerialButton::onSerialPortError(int errNo, const QString &msg)
{
    Q_UNUSED(msg)
    if (errNo == kOpenFailed || errNo == QSerialPort::ResourceError)
        closePort();
}

void MSerialButton::onConnectionLost()
{
    // The port has closed itself already.
    showState(false);
}
