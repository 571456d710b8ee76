#pragma once

#include "records/operationrecorder.h"
#include "serial/linesettings.h"
#include "session/modulesession.h"
#include "station/recipe.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class LaneWorker;
class LineTrace;
class QThread;
class Recorder;

// What a lane is doing now: one line of the station's console, one tile of its window.
struct LaneStatus
{
    Q_DECLARE_TR_FUNCTIONS(LaneStatus)

public:
    enum class State
    {
        Waiting,  // for a unit to answer (watch), or for the last one to be gone
        Scanning, // "Scan": for the operator to scan or type the unit's serial number
        Ready,    // "Start": "button": a unit answers, for startUnit()
        Running,  // step and percent say how far
        Pass,
        Marginal,
        Fail,
        Error,
        PortGone, // the port cannot be opened or went away; watched until it comes back
        Stopped,  // stop() took effect: the lane's thread has ended or is ending
    };

    int lane = 0;
    QString port;
    State state = State::Waiting;
    QString step;              // Running: "identify", "write-config", ...
    int percent = 0;           // Running: of the whole unit, 0 to 100
    QString serialNumber;      // the unit running or finished last
    QString model;             // its model text
    double cycleSeconds = 0.0; // of the unit finished last
    qint64 retries = 0;        // frames sent again since the lane started: worn cables show here
    QString failure;           // Fail, Error, PortGone: the first failure, one line

    // The word a station shows: "等待模块", "PASS", ...; translated.
    static QString stateText(State state);
};

// One step of a unit, as the --json line and the record give it.
struct LaneStep
{
    QString step;    // "identify", then the recipe's kind names
    QString outcome; // "pass", "marginal", "fail", "error"
    QString message; // the first failure, or what the step did ("backups/….json")
    double seconds = 0.0;
};

// One value a unit was judged or calibrated by, as its history entry keeps it: a check's value
// with its limits, or a calibration target's value after, with before, reading, target,
// tolerance, readings and unit.
using LaneMeasurement = UnitRecord::Measurement;

// Everything one unit came to: its line, its --json object, its history entry.
struct LaneUnit
{
    enum class Outcome
    {
        Pass,
        Marginal, // passed, with a value near a limit
        Fail,     // a step failed, a value out of limits, a write not verified, refused
        Error,    // the tool could not do its job: a file missing, a port lost, no record kept
    };

    int lane = 0;
    QString port;
    ModuleIdentity identity;
    Outcome outcome = Outcome::Error;
    QDateTime started; // UTC
    QDateTime finished;
    QString recipe;       // name
    QString revision;     // "Revision"
    QString recipeSha256; // the recipe's identity
    QList<LaneStep> steps;
    QList<LaneMeasurement> measurements;
    QString failure;    // Fail, Error: the first failure; Marginal: the value near its limit
    QString entryId;    // of the history entry; empty when nothing is recorded (--no-records)
    QString failedStep; // the step that failed, empty when none did
    qint64 requests = 0;
    qint64 retries = 0;

    double seconds() const { return started.msecsTo(finished) / 1000.0; }
    // "pass", "marginal", "fail", "error"; and back, anything else an error.
    static QString outcomeKey(Outcome outcome);
    static Outcome outcomeFromKey(const QString &key);
    // The operation a unit's history entry names, which the station's totals look for.
    static QString operationName() { return QStringLiteral("run"); }
    // The --json object, keys exactly as a line's manufacturing system reads them.
    QJsonObject toJson() const;
};

// How a lane works.
struct LaneOptions
{
    static constexpr int kProbeTimeoutMs = 300;  // one attempt per question while waiting
    static constexpr int kProbeIntervalMs = 700; // between two probes: calm, no busy loop

    int lane = 1; // its number on the station, 1 to 16
    QString port;
    LineSettings line;
    std::shared_ptr<const Recipe> recipe; // loaded and checked; shared by every lane
    // Wait for units and take one after another until stop(); otherwise the one unit in the
    // port now, then the lane ends.
    bool watch = false;
    OperationRecorder::Source source; // station, operator, tool in each entry
    Recorder *recorder = nullptr;     // nothing: no entries (--no-records); outlives the lane
    bool startOnButton = false;       // a present unit waits for startUnit()
    bool scan = false;                // a unit waits for scanned() first
    int probeIntervalMs = kProbeIntervalMs;
    LineTrace *trace = nullptr; // shared with other lanes' engines; may be null

    // startOnButton and scan as the recipe asks.
    static LaneOptions forRecipe(std::shared_ptr<const Recipe> recipe);
};

// One port running a recipe: waiting for a unit (a short probe at a calm interval), running
// its steps (identification, Accept, then each step, stopping at the first failure), judging
// and recording it, then waiting until it is gone. The same lane serves `lx815-cli run` and
// the station window. It works on a thread of its own with its own port and engine; this
// object stays on the thread that made it, where its signals arrive. stop(), startUnit() and
// scanned() may be called from any thread.
class Lane : public QObject
{
    Q_OBJECT

public:
    explicit Lane(LaneOptions options, QObject *parent = nullptr);
    ~Lane() override; // stop(), then waits for the thread

    // Starts the lane's thread; returns at once.
    void start();
    // Whether the thread has ended (stopped, or a single run done); finished() said so.
    bool isFinished() const;
    // Blocks until the thread has ended, for at most timeoutMs (-1: no limit).
    bool wait(int timeoutMs = -1);

public slots:
    // Lets the running unit finish (a calibrate step is cancelled: the module keys down
    // first), then ends the lane. No module is left half-written.
    void stop();
    // The Start button: the unit waiting in the port (Ready) runs.
    void startUnit();
    // A scanned or typed serial number: the next unit must say it, or FAILs.
    void scanned(const QString &serialNumber);

signals:
    void statusChanged(const LaneStatus &status);
    // After the unit's entry is stored or spooled (or could not be: then Error).
    void unitFinished(const LaneUnit &unit);
    // The lane's thread has ended. portFailure: a single run whose port could not be opened
    // says why; empty otherwise.
    void finished(const QString &portFailure);

private:
    LaneOptions m_options;
    QThread *m_thread = nullptr; // owned
    LaneWorker *m_worker = nullptr;
};

Q_DECLARE_METATYPE(LaneStatus)
Q_DECLARE_METATYPE(LaneUnit)
