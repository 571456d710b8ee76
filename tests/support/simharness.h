#pragma once

#include "sim/modulesimulator.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A module simulator in the test's own process, on a fresh pseudo-terminal. It runs on the
// test's thread: it answers whenever the test (or the tool's reply wait) processes events.
class SimHarness
{
public:
    struct Options
    {
        int baud = 0;      // bit/s; 0 = bytes take no time
        int latencyMs = 0; // from a request's last byte to its reply
        quint8 band = ModuleState::kDefaultBand;
        std::optional<ModuleState> state; // instead of the band's defaults
        QStringList faults;               // scripted, e.g. "A2:drop:1" (FaultInjector::parseRule)
        double faultRate = 0.0;           // random faults
        quint32 seed = 1;
    };

    SimHarness();
    explicit SimHarness(const Options &options);

    bool isReady() const { return m_simulator->isOpen() && m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString portPath() const { return m_simulator->slavePath(); }

    ModuleSimulator &simulator() { return *m_simulator; }
    ModuleState &state() { return m_simulator->state(); }
    FaultInjector &faults() { return m_simulator->faults(); }
    bool addFault(const QString &ruleText); // false (and error()) when the ruleText does not parse

    QList<QByteArray> requests() const { return m_simulator->requests(); }
    const QList<ModuleSimulator::LogEntry> &log() const { return m_simulator->log(); }
    void clearLog() { m_simulator->clearLog(); }

    // Processes events until that many requests are in the log and every reply is out.
    bool waitForRequests(int count, int timeoutMs = 5000);
    // The tool's port sees the line go away.
    void hangUp() { m_simulator->close(); }

private:
    std::unique_ptr<ModuleSimulator> m_simulator;
    QString m_error;
};

// The lx815-sim executable as a child process; stopped with SIGTERM when destroyed.
class SimProcess
{
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // $LX_BINARY_DIR/sim/lx815-sim, else the one in the build tree beside this test.
    static QString executablePath();

    // Starts it and reads the terminal's path from its first line of output.
    bool start(const QStringList &arguments = {}, int timeoutMs = 10000);
    QString portPath() const { return m_portPath; }
    QString error() const { return m_error; }
    QProcess &process() { return m_process; }
    // SIGTERM, then waits; the exit code, or -1 when it crashed or did not stop.
    int stop(int timeoutMs = 5000);

private:
    QProcess m_process;
    QString m_portPath;
    QString m_error;
};
