#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// What keeps a serial port from working on a Linux desktop, checked one cause at a time: the
// device, its group, programs that grab USB serial adapters, its stable names. The doctor shows
// them all; the window's open-failure box adds the fixes of those that failed.
namespace PortChecks {

// Everything the checks ask the system, so that a test can play any machine.
struct SystemFacts
{
    bool onLinux = false;   // the checks below the device's existence apply
    bool superUser = false; // opens every device whatever its group
    std::function<bool(const QString &path)> deviceExists;
    std::function<QString(const QString &path)> deviceGroup; // empty when unknown
    std::function<QStringList()> processGroups;              // what this login has now
    std::function<QStringList()> accountGroups;              // what the next login will have
    std::function<QStringList()> runningPrograms;            // process names
    std::function<bool()> brlttyInstalled;
    QString serialLinkRoot; // holds by-id/ and by-path/

    static SystemFacts live();
};

struct Check
{
    enum class Result
    {
        Pass,
        Fail,
        NotApplicable
    };
    enum class Kind
    {
        Exists,
        Group,
        ModemManager,
        Brltty,
        StableNames,
        Answers,
        Instrument // lx815-cli doctor --instrument
    };

    Kind kind = Kind::Exists;
    Result result = Result::Pass;
    QString detail;
    QString fix; // when it failed

    QString name() const; // translated
    // "[PASS] name: detail", and the fix on a second line when it failed.
    QString toText() const;
    QJsonObject toJson() const;
};

// The device path of a port name or path ("ttyUSB0" -> "/dev/ttyUSB0").
QString devicePath(const QString &port);

// Links under root/by-id and root/by-path that lead to the device.
QStringList stableNames(const QString &devicePath, const QString &root);

// Every check but the last (whether the port opens and answers).
QList<Check> systemChecks(const QString &port, const SystemFacts &facts);

// The fixes of the failed checks that explain a refused or busy open, one per line.
QString openFailureAdvice(const QString &port, bool permission, const SystemFacts &facts);

} // namespace PortChecks
