#include "ui/station/stationsetup.h"

#include "app/mjsonconfig.h"

#include <QJsonArray>

namespace {
const QString kRecipePath = QStringLiteral("/Station/Recipe");
const QString kOperatorPath = QStringLiteral("/Station/Operator");
const QString kOperatorSincePath = QStringLiteral("/Station/OperatorSince");
const QString kPortsPath = QStringLiteral("/Station/Ports");
} // namespace

StationSetup StationSetup::load(const MJsonConfig &config)
{
    StationSetup setup;
    setup.recipePath = config.value(kRecipePath).toString();
    setup.operatorName = config.value(kOperatorPath).toString();
    setup.operatorSince =
        QDateTime::fromString(config.value(kOperatorSincePath).toString(), Qt::ISODate);
    QStringList ports;
    for (const QJsonValue &port : config.value(kPortsPath).toArray())
        ports.append(port.toString());
    setup.ports = keptPorts(ports);
    return setup;
}

QStringList StationSetup::keptPorts(const QStringList &ports)
{
    QStringList kept;
    for (const QString &port : ports) {
        if (!port.isEmpty() && !kept.contains(port) && kept.size() < kMaxLanes)
            kept.append(port);
    }
    return kept;
}

void StationSetup::save(MJsonConfig &config) const
{
    config.setValues({
        {kRecipePath, recipePath},
        {kOperatorPath, operatorName},
        {kOperatorSincePath,
         operatorSince.isValid() ? operatorSince.toUTC().toString(Qt::ISODate) : QString()},
        {kPortsPath, QJsonArray::fromStringList(ports)},
    });
}

bool StationSetup::operatorCurrent(const QDateTime &now) const
{
    return !operatorName.isEmpty() && operatorSince.isValid() && operatorSince <= now &&
           operatorSince.secsTo(now) < kShiftSeconds;
}
