#include "device/factorycommands.h"

#include "device/wire.h"

#include <QCoreApplication>

using Wire::bytes;

namespace {
constexpr int kBitsPerByte = 8;
constexpr int kParamReplyLength = 3;    // 32 xx and one byte
constexpr int kCouplingReplyLength = 2; // 39 and the coupling byte

quint8 lastByte(const QByteArray &reply)
{
    return reply.isEmpty() ? 0 : static_cast<quint8>(reply.at(reply.size() - 1));
}
} // namespace

quint8 FactoryCommands::bandCode(int index)
{
    return Wire::bands()[qBound(0, index, kBandCount - 1)].code;
}

int FactoryCommands::bandIndex(quint8 code)
{
    for (int index = 0; index < kBandCount; ++index) {
        if (Wire::bands()[index].code == code)
            return index;
    }
    return -1;
}

QString FactoryCommands::bandBlankText()
{
    return QCoreApplication::translate("MainWindow", "请选择电台频段！");
}

Command FactoryCommands::readRadioBand()
{
    return Command::read(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kReadBand}), kParamReplyLength,
                         QCoreApplication::translate("MainWindow", "读电台频段失败！"));
}

Command FactoryCommands::writeRadioBand(int index)
{
    return Command::write(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kWriteBand, bandCode(index)}),
                          QCoreApplication::translate("MainWindow", "设置电台频段失败！"));
}

int FactoryCommands::decodeRadioBand(const QByteArray &reply)
{
    return bandIndex(lastByte(reply));
}

QString FactoryCommands::serialEmptyText()
{
    return QCoreApplication::translate("MainWindow", "请填写序列号！");
}

QString FactoryCommands::serialInvalidText()
{
    return QCoreApplication::translate("MainWindow", "请正确地填写序列号！");
}

std::optional<quint64> FactoryCommands::parseSerialNumber(const QString &text)
{
    bool ok = false;
    const quint64 value = text.trimmed().toULongLong(&ok, 16);
    if (!ok)
        return std::nullopt;
    return value;
}

QString FactoryCommands::formatSerialNumber(const QByteArray &reply)
{
    return QString::fromLatin1(reply.mid(1, kSerialBytes).toHex()).toUpper();
}

Command FactoryCommands::readSerialNumber()
{
    return Command::read(bytes({Wire::Cmd::kReadSerial}), 1 + kSerialBytes,
                         QCoreApplication::translate("MainWindow", "读序列号失败！"));
}

Command FactoryCommands::writeSerialNumber(quint64 serial)
{
    QByteArray request = bytes({Wire::Cmd::kWriteSerial});
    for (int i = kSerialBytes - 1; i >= 0; --i)
        request.append(static_cast<char>(serial >> (i * kBitsPerByte)));
    return Command::write(request, QCoreApplication::translate("MainWindow", "设置序列号失败！"));
}

QString FactoryCommands::sidetoneBlankText()
{
    return QCoreApplication::translate("MainWindow", "请配置侧音音量！");
}

Command FactoryCommands::readSidetoneVolume()
{
    return Command::read(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kReadSidetoneVolume}),
                         kParamReplyLength,
                         QCoreApplication::translate("MainWindow", "读侧音音量失败！"));
}

Command FactoryCommands::writeSidetoneVolume(int volume)
{
    return Command::write(bytes({Wire::Cmd::kParam, Wire::ParamCmd::kWriteSidetoneVolume, volume}),
                          QCoreApplication::translate("MainWindow", "设置侧音音量失败！"));
}

int FactoryCommands::decodeSidetoneVolume(const QByteArray &reply)
{
    return lastByte(reply);
}

QString FactoryCommands::couplingBlankText()
{
    return QCoreApplication::translate("MainWindow", "请选择基带信号耦合方式！");
}

Command FactoryCommands::readCoupling()
{
    return Command::read(bytes({Wire::Cmd::kReadCoupling}), kCouplingReplyLength,
                         QCoreApplication::translate("MainWindow", "读基带信号耦合方式失败！"));
}

Command FactoryCommands::writeCoupling(bool dc)
{
    return Command::write(bytes({Wire::Cmd::kWriteCoupling, dc ? kDcCoupling : kAcCoupling}),
                          QCoreApplication::translate("MainWindow", "设置基带信号耦合方式失败！"));
}

bool FactoryCommands::decodeIsDcCoupling(const QByteArray &reply)
{
    return lastByte(reply) == kDcCoupling;
}
