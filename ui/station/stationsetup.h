#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class MJsonConfig;

// What the station is set up with, kept in the settings under "/Station/" so that the next
// start comes back to the same recipe, operator and lanes.
struct StationSetup
{
    static constexpr int kMaxLanes = 16;
    static constexpr qint64 kShiftSeconds = 8 * 3600; // an operator is asked once per shift

    QString recipePath;
    QString operatorName;
    QDateTime operatorSince; // UTC: when the operator gave the name
    QStringList ports;       // one lane each, in order

    static StationSetup load(const MJsonConfig &config);
    // The lanes' ports of a list: each once, none empty, at most kMaxLanes.
    static QStringList keptPorts(const QStringList &ports);
    void save(MJsonConfig &config) const;

    // Whether the operator's name is still this shift's, so that it need not be asked again.
    bool operatorCurrent(const QDateTime &now) const;
};
