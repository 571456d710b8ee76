#include "serial/mserialport.h"

#include <QCoreApplication>
#include <QSerialPortInfo>
#include <QTimer>

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
    emit onError(0, portName() + QCoreApplication::translate("MSerialPort", "打开失败！"));
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
    emit onError(err, errorString() + QStringLiteral("\r\nError Number: 0x")
                          + QString::number(err, 16));
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
