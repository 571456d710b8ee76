#include "serial/portadvice.h"

#include "serial/portchecks.h"

#include <QCoreApplication>
#include <QFileInfo>

QString PortAdvice::systemLocation(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    if (portName.startsWith(QLatin1Char('/')))
        return portName;
    return QStringLiteral("/dev/") + portName;
#endif
}

bool PortAdvice::deviceAccessible(const QString &portName)
{
#ifdef Q_OS_WIN
    // Windows refuses a port that another program holds with "access denied"; there are no
    // per-user rights on COM ports to advise about.
    Q_UNUSED(portName)
    return true;
#else
    const QFileInfo device(systemLocation(portName));
    return device.exists() && device.isReadable() && device.isWritable();
#endif
}

PortAdvice::OpenFailureCause PortAdvice::openFailureCause(QSerialPort::SerialPortError error,
                                                          bool deviceAccessible)
{
    switch (error) {
    case QSerialPort::PermissionError:
        // A lock held by another program and EBUSY arrive as permission errors too; only a
        // device this user cannot read or write is a matter of rights.
        return deviceAccessible ? OpenFailureCause::Busy : OpenFailureCause::NoPermission;
    case QSerialPort::OpenError:
        return OpenFailureCause::Busy;
    default:
        return OpenFailureCause::Other;
    }
}

QString PortAdvice::forOpenFailure(OpenFailureCause cause)
{
    switch (cause) {
    case OpenFailureCause::NoPermission:
        return QCoreApplication::translate(
            "MSerialPort",
            "没有访问该串口的权限。请把当前用户加入 dialout 组，然后注销并重新登录。");
    case OpenFailureCause::Busy:
        return QCoreApplication::translate(
            "MSerialPort", "该串口正被占用（可能已被其他程序打开）。请关闭占用它的程序后重试。");
    case OpenFailureCause::Other:
        break;
    }
    return QString();
}

QString PortAdvice::forOpenFailure(OpenFailureCause cause, const QString &portName)
{
    const QString base = forOpenFailure(cause);
    if (cause == OpenFailureCause::Other)
        return base;
    const QString more = PortChecks::openFailureAdvice(
        portName, cause == OpenFailureCause::NoPermission, PortChecks::SystemFacts::live());
    return more.isEmpty() ? base : base + QLatin1Char('\n') + more;
}

QString PortAdvice::forLostDevice()
{
    return QCoreApplication::translate("MSerialPort", "串口设备已断开，串口已关闭。");
}
