#pragma once

#include "serial/linesettings.h"
#include "session/modulesession.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

class LineTrace;

// What answered on one port when asked for its band.
struct ProbeResult
{
    enum class Status
    {
        Module,   // a module answered
        NoModule, // the port opened, nothing answered
        Busy,     // another program holds the port
        NotOpened // the port cannot be opened for another reason
    };

    QString port;
    Status status = Status::NoModule;
    ModuleIdentity identity; // Module: band, model, range and (when it answered) serial number
    QString reason;          // Busy, NotOpened: the port's own words

    bool found() const { return status == Status::Module; }
    // Model and range (and serial number), or why not; translated.
    QString toText() const;
    QJsonObject toJson() const;
};

namespace PortProbe {

constexpr int kTimeoutMs = 300; // one attempt per question

// Opens the port at these line parameters, asks, closes it again. Blocks with the event loop
// turning; a busy or unopenable port is skipped at once.
ProbeResult probe(const QString &port, const LineSettings &line, LineTrace *trace = nullptr);

// Every port the system lists, then the extra ones (typed or given), each once.
QStringList candidates(const QStringList &extra);
// The same with the listed ports given: each device once, by the name it came first with.
QStringList candidates(const QStringList &listed, const QStringList &extra);

} // namespace PortProbe
