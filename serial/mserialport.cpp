#include "serial/mserialport.h"

#include "serial/portadvice.h"

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QTimer>

#include <utility>

MSerialPort *const appSerialPort = new MSerialPort(nullptr);

MSerialPort::MSerialPort(QObject *parent)
    : QSerialPort(parent)
    , rxTimer(new QTimer)
{
    connect(rxTimer, &QTimer::timeout, this, &MSerialPort::onRxTimeout);
    connect(this, &QSerialPort::readyRead, this, &MSerialPort::onReadyToRead);
    connect(this, &QSerialPort::errorOccurred, this, &MSerialPort::onPortError);
}

MSerialPort::~MSerialPort()
{
    delete rxTimer;
}

bool MSerialPort::open()
{
    if (QSerialPort::open(QIODevice::ReadWrite)) {
        emit openStateChanged();
        return true;
    }
    // The library's own error of this attempt has been forwarded already and is still current.
    const auto cause =
        PortAdvice::openFailureCause(error(), PortAdvice::deviceAccessible(portName()));
    report(0, portName() + QCoreApplication::translate("MSerialPort", "打开失败！"),
           PortAdvice::forOpenFailure(cause, portName()));
    return false;
}

void MSerialPort::close()
{
    QSerialPort::close();
    emit openStateChanged();
}

void MSerialPort::setCompleteReplyTest(std::function<bool(const QByteArray &)> test)
{
    m_completeReplyTest = std::move(test);
}

QStringList MSerialPort::availablePortNames()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    return names;
}

void MSerialPort::onPortError(QSerialPort::SerialPortError err)
{
    if (err == QSerialPort::NoError)
        return;
    const QString message =
        errorString() + QStringLiteral("\r\nError Number: 0x") + QString::number(err, 16);
    if (isOpen() && (err == QSerialPort::ReadError || err == QSerialPort::ResourceError)) {
        // The device has gone (an unplugged adapter, a closed pty): the library may repeat the
        // read error tens of thousands of times a second until the port is closed. The first one
        // closes the port once the library's notification has returned; repeats are dropped.
        if (!m_lossPending) {
            m_lossPending = true;
            m_lossError = err;
            m_lossMessage = message;
            QMetaObject::invokeMethod(this, &MSerialPort::onConnectionLost, Qt::QueuedConnection);
        }
        return;
    }
    report(err, message, QString());
}

void MSerialPort::onConnectionLost()
{
    const int err = m_lossError;
    const QString message = m_lossMessage;
    if (isOpen())
        close();
    m_lossPending = false;
    emit connectionLost();
    report(err, message, PortAdvice::forLostDevice());
}

void MSerialPort::report(int errNo, const QString &msg, const QString &advice)
{
    // Restored afterwards, so that a report made while another one is delivered cannot clear it.
    const QString outer = std::exchange(m_errorAdvice, advice);
    emit onError(errNo, msg);
    m_errorAdvice = outer;
}

void MSerialPort::onRxTimeout()
{
    rxTimer->stop();
    const QByteArray data = rxBuffer;
    rxBuffer.clear();
    emit onReceived(data);
}

void MSerialPort::onReadyToRead()
{
    rxTimer->start(rxTimeout);
    rxBuffer.append(readAll());
    if (m_completeReplyTest && m_completeReplyTest(rxBuffer))
        onRxTimeout();
}
