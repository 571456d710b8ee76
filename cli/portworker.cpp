#include "cli/portworker.h"

#include "serial/mserialport.h"

#include <QDateTime>

#include <utility>

namespace {
// Messages of the port may span lines; a failure is one line.
QString oneLine(const QString &text)
{
    return text.simplified();
}
} // namespace

PortWorker::PortWorker(PortJob job, LineTrace *trace, QObject *parent)
    : QObject(parent)
    , m_job(std::move(job))
    , m_trace(trace)
{}

void PortWorker::reportFailure(const QString &text)
{
    // A lost line has its one message; what it broke afterwards only ends, with its result line.
    if (!m_lineLost)
        addFailure(oneLine(text));
}

void PortWorker::addFailure(const QString &line)
{
    if (!m_report.message.isEmpty())
        m_report.message += QLatin1Char('\n');
    m_report.message += line;
    emit failure(m_job.port, line);
}

void PortWorker::run()
{
    m_report = OperationReport{};
    m_lineLost = false;
    m_report.port = m_job.port;
    m_report.operation = CliOptions::commandName(m_job.command);
    m_report.started = QDateTime::currentDateTimeUtc();
    m_report.file = m_job.file;
    // Created here, so that the port's notifiers and timers belong to this thread.
    MSerialPort port;
    port.setPortName(m_job.port);
    m_job.serial.applyTo(port);
    // While opening, the library's error and the port's own verdict arrive one after the
    // other: the verdict, with its advice, becomes the result line.
    QStringList openMessages;
    bool opened = false;
    bool lossReported = false;
    connect(&port, &MSerialPort::connectionLost, this, [this] { m_lineLost = true; });
    connect(&port, &MSerialPort::onError, this,
            [this, &port, &openMessages, &opened, &lossReported](int, const QString &msg) {
                const QString text = oneLine(msg + QLatin1Char(' ') + port.lastErrorAdvice());
                if (!opened)
                    openMessages.append(text);
                else if (!m_lineLost)
                    addFailure(text);
                else if (!std::exchange(lossReported, true))
                    addFailure(text); // the disconnection with its advice, once
            });
    if (!port.open()) {
        const QString verdict = openMessages.isEmpty() ? QString() : openMessages.takeLast();
        for (const QString &message : qAsConst(openMessages))
            emit failure(m_job.port, message);
        m_report.finished = QDateTime::currentDateTimeUtc();
        m_report.exitCode = ExitCode::kPort;
        m_report.outcome = OperationReport::Outcome::Error;
        m_report.result = QStringLiteral("%1: %2").arg(m_job.port, verdict);
        if (!verdict.isEmpty())
            m_report.message +=
                (m_report.message.isEmpty() ? QString() : QStringLiteral("\n")) + verdict;
        emit reported(m_report);
        emit finished(m_job.port, ExitCode::kPort, m_report.result);
        return;
    }
    opened = true;
    // A whole reply frame is delivered at once instead of after the line has been quiet.
    port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    CommandEngine engine;
    engine.setTrace(m_trace);
    engine.setDevice(&port);
    connect(&port, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
    perform(engine);
    port.close();
    m_report.requests = engine.statistics().framesSent;
    m_report.retries = engine.statistics().retries;
    m_report.finished = QDateTime::currentDateTimeUtc();
    emit reported(m_report);
    emit finished(m_job.port, m_report.exitCode, m_report.result);
}
