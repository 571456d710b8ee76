#include "device/adjustcommands.h"

#include "device/wire.h"

#include <QCoreApplication>

namespace {
QByteArray request(quint8 code, quint8 type, int point)
{
    return QByteArray(1, static_cast<char>(code)) + AdjustCommands::address(type, point);
}
} // namespace

QString AdjustCommands::readFailureText()
{
    return QCoreApplication::translate("MainWindow", "读调整值失败！");
}

QString AdjustCommands::writeFailureText()
{
    return QCoreApplication::translate("MainWindow", "设置调整值失败！");
}

QString AdjustCommands::blankRefusalText()
{
    return QCoreApplication::translate("MainWindow", "请配置调整值！");
}

QByteArray AdjustCommands::address(quint8 type, int point)
{
    QByteArray bytes(1, static_cast<char>(type));
    if (Wire::isThreePointType(type))
        bytes.append(static_cast<char>(point));
    return bytes;
}

Command AdjustCommands::read(quint8 type, int point, const QString &failureText)
{
    const QByteArray bytes = request(Wire::Cmd::kReadAdjust, type, point);
    return Command::read(bytes, bytes.size() + 1, failureText);
}

Command AdjustCommands::write(quint8 type, int point, int value, const QString &failureText)
{
    return Command::write(request(Wire::Cmd::kWriteAdjust, type, point) +
                              QByteArray(1, static_cast<char>(value)),
                          failureText);
}

Command AdjustCommands::step(quint8 type, int point, int delta, const QString &failureText)
{
    return stepCommand(request(Wire::Cmd::kStepAdjust, type, point) +
                           QByteArray(1, static_cast<char>(delta)),
                       failureText);
}

Command AdjustCommands::stepCommand(const QByteArray &request, const QString &operationFailure)
{
    Command command =
        Command::step(request, operationFailure + QLatin1Char('\n') +
                                   QCoreApplication::translate("MainWindow", "请读回该值以确认。"));
    command.refusalText = operationFailure;
    return command;
}

int AdjustCommands::decodeValue(const QByteArray &reply, bool isSigned)
{
    if (reply.isEmpty())
        return 0;
    const char last = reply.at(reply.size() - 1);
    return isSigned ? static_cast<int>(static_cast<qint8>(last))
                    : static_cast<int>(static_cast<quint8>(last));
}
