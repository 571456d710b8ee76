#pragma once

#include <QJsonObject>
#include <QSerialPort>

// The line parameters a port is opened with.
struct LineSettings
{
    qint32 baudRate = 9600; // bit/s
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

    void applyTo(QSerialPort &port) const
    {
        port.setBaudRate(baudRate);
        port.setDataBits(dataBits);
        port.setParity(parity);
        port.setStopBits(stopBits);
        port.setFlowControl(flowControl);
    }
    static LineSettings of(const QSerialPort &port)
    {
        return LineSettings{port.baudRate(), port.dataBits(), port.parity(), port.stopBits(),
                            port.flowControl()};
    }
    QJsonObject toJson() const
    {
        return QJsonObject{{QStringLiteral("baudRate"), baudRate},
                           {QStringLiteral("dataBits"), static_cast<int>(dataBits)},
                           {QStringLiteral("parity"), static_cast<int>(parity)},
                           {QStringLiteral("stopBits"), static_cast<int>(stopBits)},
                           {QStringLiteral("flowControl"), static_cast<int>(flowControl)}};
    }
};
