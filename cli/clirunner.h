#pragma once

#include "cli/clioptions.h"
#include "cli/console.h"
#include "cli/portworker.h"
#include "protocol/linetrace.h"

#include <QMutex>
#include <QObject>

#include <memory>
#include <vector>

class Recorder;

// One run of the tool: every file is checked before anything goes to a module, then each port
// is served by a worker thread of its own; the exit code is the highest of the ports' codes.
class CliRunner : public QObject
{
    Q_OBJECT

public:
    explicit CliRunner(CliOptions options, QObject *parent = nullptr);
    ~CliRunner() override;

    int run();

private:
    int listPorts();
    // The jobs of the ports, or nothing when a file is not fit (reported).
    std::optional<std::vector<PortJob>> prepareJobs();
    int runJobs(const std::vector<PortJob> &jobs);
    int listHistory();
    // The unit history, started when the modules are; its one message goes to the console.
    void startRecording();
    void stopRecording();
    // Any thread: the entry of one port's operation.
    void record(const OperationReport &report);

    int runCommand();

    CliOptions m_options;
    Console m_console;
    RecordsTarget m_records;
    std::unique_ptr<Recorder> m_recorder;
    LineTrace m_trace; // shared by every port's engine
    QMutex m_identityMutex;
    std::optional<ModuleIdentity> m_identity; // the last module that said what it is
};
