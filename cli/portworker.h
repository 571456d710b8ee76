#pragma once

#include "cli/clioptions.h"
#include "config/factoryconfig.h"
#include "config/userconfig.h"
#include "protocol/commandengine.h"
#include "session/operationreport.h"

#include <QObject>
#include <QString>

#include <optional>

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
    // The exit code and result line of the job on an open engine.
    std::pair<int, QString> perform(CommandEngine &engine);

    // Ends the report and sends it with the result.
    void finish(int exitCode, const QString &result);

    PortJob m_job;
    OperationReport m_report;
    LineTrace *m_trace = nullptr; // shared with the other ports' engines
};
