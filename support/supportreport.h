#pragma once

#include "serial/linesettings.h"
#include "session/modulesession.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One serial port as the system lists it.
struct PortListing
{
    QString name;
    QString systemLocation;
    QString description;
    QString manufacturer;
    QString serialNumber;
    int vendorId = -1; // -1: not a USB device
    int productId = -1;
    QStringList byId; // Linux: /dev/serial/by-id links to it
    QStringList byPath;

    QJsonObject toJson() const;
    static QList<PortListing> listed(const QString &linkRoot);
};

// What a technician sends when a module fails in the field: the tool, the machine, the port,
// the checks, what the module said last, the traffic on the line and the tool's own log.
struct SupportReport
{
    QString tool; // lx815-config or lx815-cli
    QJsonObject settings;
    QString port; // the one in use
    LineSettings line;
    bool portOpen = false;
    QList<PortListing> ports;
    QJsonArray doctor;
    std::optional<ModuleIdentity> identity;
    QJsonObject trace; // LineTrace::toJson()
    QStringList log;

    QJsonObject toJson() const;
    QByteArray toBytes() const; // indented JSON, always valid UTF-8
    // Atomically; false with the reason.
    bool save(const QString &path, QString *error) const;

    // The machine's side, as the system shows it now: every listed port, the doctor's checks of
    // these ports (without opening them) and the tool's log. The caller adds what it knows.
    static SupportReport collect(const QString &tool, const QStringList &checkedPorts);

    // "lx815-report-20260314-093012.json"
    static QString fileName(const QDateTime &when);
};
