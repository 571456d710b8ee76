#pragma once

#include "cli/clioptions.h"
#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "protocol/commandengine.h"
#include "session/modulesnapshot.h"
#include "session/operationreport.h"

#include <QObject>
#include <QString>

#include <optional>

Q_DECLARE_METATYPE(OperationReport)

// What one port of the run does.
struct PortJob
{
    QString port;
    SerialSettings serial;
    CliOptions::Command command = CliOptions::Command::Info;
    QString file;                              // reads: where the result goes
    std::optional<UserConfig> user;            // write-config: the values to write
    std::optional<FactoryCalibration> factory; // write-calibration
    bool json = false;                         // info: the identity as JSON
    bool verify = true;                        // writes: read back and compare
    QString backupDir;                         // writes: the module's state saved here first
    bool forceUnit = false;
    FileUnit unit; // the unit the file to write names
};

// One module on its own thread: its own port, transaction engine and event loop, so that
// several modules are served at the same time. Everything it has to say goes out as signals.
class PortWorker : public QObject, private FailureReporter
{
    Q_OBJECT

public:
    explicit PortWorker(PortJob job, LineTrace *trace = nullptr, QObject *parent = nullptr);

public slots:
    // Runs the job on the calling thread; emits finished() at the end.
    void run();

signals:
    void progress(const QString &port, int percent);
    void failure(const QString &port, const QString &text);
    // The exit code of this port and its result line.
    void finished(const QString &port, int exitCode, const QString &result);
    // Just before finished(): what the operation came to, for the unit's history.
    void reported(const OperationReport &report);

private:
    void reportFailure(const QString &text) override;
    // One line on standard error and in the history's message.
    void addFailure(const QString &line);
    // The job on an open engine, into m_report: its exit code and result line.
    void perform(CommandEngine &engine);
    // The writes of write-config, write-calibration and restore, with their backup, unit
    // check and verification.
    void performWrite(ModuleSession &session);
    void verify(ModuleSession &session, const ModuleSnapshot &expected, bool wrote);
    bool backUp(ModuleSession &session);
    bool unitMatches(ModuleSession &session);
    // restore: the user side's frequencies within the band the factory side sets.
    bool fitsFileBand(ModuleSession &session);
    void finish(int exitCode, OperationReport::Outcome outcome, const QString &text);

    PortJob m_job;
    OperationReport m_report;
    LineTrace *m_trace = nullptr; // shared with the other ports' engines
    bool m_lineLost = false;      // the module went away during the run
};
