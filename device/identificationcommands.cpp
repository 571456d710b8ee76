#include "device/identificationcommands.h"

#include "device/wire.h"
#include "protocol/linkframe.h"

#include <QCoreApplication>

using Wire::bytes;

Command IdentificationCommands::readBand()
{
    return Command::read(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kReadBand}), kBandReplyLength,
                         QCoreApplication::translate("MainWindow", "读电台频段信息失败！"));
}

Command IdentificationCommands::readFirmwareVersion()
{
    return Command::readAtLeast(bytes({Wire::Cmd::kSystem, Wire::SystemCmd::kReadFirmware}),
                                kFirmwareMinReply,
                                QCoreApplication::translate("MainWindow", "读固件版本信息失败！"));
}

Command IdentificationCommands::readSerialNumber()
{
    return Command::read(bytes({Wire::Cmd::kReadSerial}), kSerialReplyLength,
                         QCoreApplication::translate("MainWindow", "读序列号失败！"));
}

quint8 IdentificationCommands::bandCode(const QByteArray &reply)
{
    return reply.size() > kBandCodeIndex ? static_cast<quint8>(reply.at(kBandCodeIndex)) : 0;
}

QString IdentificationCommands::modelText(quint8 code)
{
    if (const Wire::Band *band = Wire::findBand(code))
        return QString::fromLatin1(band->model);
    return QCoreApplication::translate("MainWindow", "未知设备:") + QString::asprintf("%02X", code);
}

QString IdentificationCommands::firmwareText(const QByteArray &reply)
{
    QByteArray text = reply.mid(kFirmwareTextIndex);
    const int end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    return QString::fromUtf8(text);
}

QString IdentificationCommands::serialNumberText(const QByteArray &reply)
{
    return toHexText(reply.mid(1, kSerialBytes), QString());
}
