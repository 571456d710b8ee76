#pragma once

#include <QMetaType>
#include <QSerialPort>
#include <QString>

// What to tell the user beyond the library's words when the port fails: the library reports a
// busy port and a missing permission alike, so the cause is told apart here.
namespace PortAdvice {

enum class OpenFailureCause
{
    Other,
    NoPermission,
    Busy
};

// The platform's path of a port name as the library uses it ("ttyUSB0" -> "/dev/ttyUSB0").
QString systemLocation(const QString &portName);

// True when this user may read and write the device, i.e. a refused open was not about rights.
bool deviceAccessible(const QString &portName);

OpenFailureCause openFailureCause(QSerialPort::SerialPortError error, bool deviceAccessible);

// The translated advice for a failed open, empty when there is nothing useful to add.
QString forOpenFailure(OpenFailureCause cause);
// The same, followed by the fixes of the port checks that explain it on this machine (the
// device's own group, a login that predates the group, ModemManager, brltty).
QString forOpenFailure(OpenFailureCause cause, const QString &portName);

// The translated note for a device that went away while the port was open.
QString forLostDevice();

} // namespace PortAdvice

Q_DECLARE_METATYPE(PortAdvice::OpenFailureCause)
