#include "cli/clirunner.h"

#include "cli/csvcommands.h"
#include "cli/instrumentcommands.h"
#include "cli/reportcommand.h"
#include "cli/runcommand.h"
#include "cli/supportcommands.h"
#include "records/operationrecorder.h"
#include "records/recorder.h"
#include "records/recordstore.h"
#include "session/configfiles.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QSerialPortInfo>
#include <QThread>

#include <algorithm>
#include <memory>

CliRunner::CliRunner(CliOptions options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_console(!m_options.quiet && Console::isTerminal())
    , m_records(m_options.records.value_or(RecordsTarget::userDefault()))
{}

CliRunner::~CliRunner() = default;

int CliRunner::run()
{
    const int exitCode = runCommand();
    if (!m_options.traceFile.isEmpty())
        SupportCommands::writeReport(m_options, m_trace, m_identity, m_console);
    return exitCode;
}

int CliRunner::runCommand()
{
    if (m_options.command == CliOptions::Command::Ports && m_options.probe)
        return SupportCommands::probePorts(m_options, m_console, &m_trace);
    if (m_options.command == CliOptions::Command::Doctor)
        return SupportCommands::doctor(m_options, m_console, &m_trace);
    if (m_options.command == CliOptions::Command::Ports)
        return listPorts();
    if (m_options.command == CliOptions::Command::Instrument)
        return InstrumentCommands::run(m_options, m_console);
    if (m_options.convertsCsv())
        return CsvCommands::run(m_options, m_console);
    if (m_options.command == CliOptions::Command::History)
        return listHistory();
    if (m_options.command == CliOptions::Command::Report)
        return ReportCommand::run(m_options, m_records, m_console);
    if (m_options.command == CliOptions::Command::Run)
        return RunCommand::run(m_options, m_console, &m_trace);
    const auto jobs = prepareJobs();
    return jobs ? runJobs(*jobs) : ExitCode::kUsage;
}

int CliRunner::listPorts()
{
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const QString description = info.description();
        m_console.result(info.portName(), description.isEmpty()
                                              ? info.portName()
                                              : info.portName() + QLatin1Char('\t') + description);
    }
    return ExitCode::kOk;
}

std::optional<std::vector<PortJob>> CliRunner::prepareJobs()
{
    using Command = CliOptions::Command;
    PortJob common;
    common.serial = m_options.serial;
    common.command = m_options.command;
    common.json = m_options.json;
    common.file = m_options.file;
    common.verify = m_options.verify;
    common.backupDir = m_options.backupDir;
    common.forceUnit = m_options.forceUnit;
    QString error;
    // One file for every module: read and checked once, before any module hears a word.
    const bool userFile =
        m_options.command == Command::WriteConfig || m_options.command == Command::VerifyConfig;
    const bool factoryFile = m_options.command == Command::WriteCalibration ||
                             m_options.command == Command::VerifyCalibration;
    if (m_options.readsFile()) {
        const auto unit = ConfigFiles::loadUnit(m_options.file, &error);
        if (!unit) {
            m_console.error(error);
            return std::nullopt;
        }
        common.unit = *unit;
    }
    if (m_options.command == Command::Restore) {
        const auto snapshot = ConfigFiles::loadSnapshot(m_options.file, &error);
        if (!snapshot) {
            m_console.error(error);
            return std::nullopt;
        }
        common.user = snapshot->user;
        common.factory = snapshot->factory;
    }
    const auto use = m_options.command == Command::VerifyConfig ||
                             m_options.command == Command::VerifyCalibration
                         ? ConfigFiles::Use::Compare
                         : ConfigFiles::Use::Write;
    if (userFile && !(common.user = ConfigFiles::loadUserConfig(m_options.file, &error, use))) {
        m_console.error(error);
        return std::nullopt;
    }
    if (factoryFile &&
        !(common.factory = ConfigFiles::loadFactoryCalibration(m_options.file, &error, use))) {
        m_console.error(error);
        return std::nullopt;
    }
    // Made once the file passed its checks, so that a bad file leaves no folder behind.
    if (!m_options.backupDir.isEmpty() && !ConfigFiles::makeFolder(m_options.backupDir, &error)) {
        m_console.error(error);
        return std::nullopt;
    }
    std::vector<PortJob> jobs;
    for (const QString &port : qAsConst(m_options.ports)) {
        PortJob job = common;
        job.port = port;
        if (m_options.writesFile()) {
            job.file = m_options.fileForPort(port);
            if (!ConfigFiles::checkWritable(job.file, &error)) {
                m_console.error(error);
                return std::nullopt;
            }
        }
        jobs.push_back(job);
    }
    return jobs;
}

void CliRunner::startRecording()
{
    m_recorder = std::make_unique<Recorder>(m_records);
    connect(m_recorder.get(), &Recorder::problem, this,
            [this](const QString &text) { m_console.error(text); });
}

void CliRunner::stopRecording()
{
    if (!m_recorder)
        return;
    // Its messages, sent from the recorder's thread, are printed before the tool ends.
    m_recorder->drain();
    m_recorder.reset();
}

void CliRunner::record(const OperationReport &report)
{
    if (!report.identity.model.isEmpty()) {
        const QMutexLocker lock(&m_identityMutex);
        m_identity = report.identity;
    }
    if (!m_recorder)
        return;
    OperationRecorder::Extras extras;
    // The file itself is the snapshot read or written when the operation kept none.
    extras.fileIsSnapshot =
        m_options.readsFile() ||
        (m_options.writesFile() && report.outcome == OperationReport::Outcome::Pass);
    OperationRecorder(*m_recorder,
                      {m_options.station, m_options.operatorName, UnitRecord::thisTool()})
        .record(report, extras);
}

int CliRunner::listHistory()
{
    {
        // Whatever waits in the spool first, so that the list is whole: the database is asked
        // anyway, also when a run found it away a moment ago.
        startRecording();
        m_recorder->deliverNow();
        stopRecording();
    }
    RecordStore store(m_records);
    RecordStore::Filter filter;
    filter.serialNumber = m_options.serialNumber;
    filter.since = m_options.since;
    filter.recipeSha256 = m_options.recipeSha256;
    if (const auto failed = ReportCommand::resolveRecipe(store, &filter.recipeSha256, m_console))
        return *failed;
    if (!filter.recipeSha256.isEmpty() && filter.recipeSha256.size() < 64)
        return ExitCode::kOk; // a prefix of no recipe: no entry of it
    const auto records = store.list(filter);
    if (!records) {
        m_console.error(store.lastError());
        return ExitCode::kModule;
    }
    for (const UnitRecord &r : *records) {
        const QString line =
            m_options.json
                ? QString::fromUtf8(QJsonDocument(r.toJson()).toJson(QJsonDocument::Compact))
                : QStringLiteral("%1  %2  %3  %4  %5  %6@%7  %8%9")
                      .arg(r.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           r.serialNumber.isEmpty() ? QStringLiteral("-") : r.serialNumber,
                           r.operation, r.outcome, r.port, r.operatorName, r.station, r.file,
                           r.message.isEmpty() ? QString()
                                               : QStringLiteral("  ") + r.message.simplified());
        m_console.result(QString(), line);
    }
    return ExitCode::kOk;
}

int CliRunner::runJobs(const std::vector<PortJob> &jobs)
{
    qRegisterMetaType<OperationReport>();
    if (m_options.recording)
        startRecording();
    QEventLoop loop;
    int running = static_cast<int>(jobs.size());
    int exitCode = ExitCode::kOk;
    std::vector<std::unique_ptr<QThread>> threads;
    std::vector<std::unique_ptr<PortWorker>> workers;
    for (const PortJob &job : jobs) {
        auto thread = std::make_unique<QThread>();
        auto worker = std::make_unique<PortWorker>(job, &m_trace);
        worker->moveToThread(thread.get());
        connect(thread.get(), &QThread::started, worker.get(), &PortWorker::run);
        // Straight from the worker's thread: its loop ends whatever this thread is doing.
        connect(worker.get(), &PortWorker::finished, thread.get(), &QThread::quit,
                Qt::DirectConnection);
        connect(worker.get(), &PortWorker::reported, this, &CliRunner::record,
                Qt::DirectConnection);
        // The worker's signals cross to this thread in the order they were sent.
        connect(worker.get(), &PortWorker::progress, this,
                [this](const QString &port, int percent) { m_console.progress(port, percent); });
        connect(
            worker.get(), &PortWorker::failure, this,
            [this](const QString &port, const QString &text) { m_console.failure(port, text); });
        connect(worker.get(), &PortWorker::finished, this,
                [&](const QString &port, int code, const QString &line) {
                    exitCode = std::max(exitCode, code);
                    const bool wanted = code != ExitCode::kOk || !m_options.quiet ||
                                        m_options.command == CliOptions::Command::Info;
                    m_console.result(port, wanted ? line : QString());
                    if (--running == 0)
                        loop.quit();
                });
        threads.push_back(std::move(thread));
        workers.push_back(std::move(worker));
    }
    for (const auto &thread : threads)
        thread->start();
    loop.exec();
    for (const auto &thread : threads)
        thread->wait();
    m_console.clearProgress();
    stopRecording();
    return exitCode;
}
