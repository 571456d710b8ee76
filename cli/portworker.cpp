#include "cli/portworker.h"

#include "cli/configfiles.h"
#include "serial/mserialport.h"
#include "session/modulesession.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <memory>
#include <utility>

namespace {
QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

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
    m_report.message +=
        (m_report.message.isEmpty() ? QString() : QStringLiteral("\n")) + oneLine(text);
    emit failure(m_job.port, oneLine(text));
}

void PortWorker::finish(int exitCode, const QString &result)
{
    m_report.finished = QDateTime::currentDateTimeUtc();
    m_report.exitCode = exitCode;
    if (exitCode == ExitCode::kOk)
        m_report.outcome = OperationReport::Outcome::Pass;
    emit reported(m_report);
    emit finished(m_job.port, exitCode, result);
}

void PortWorker::run()
{
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
    connect(&port, &MSerialPort::onError, this,
            [this, &port, &openMessages, &opened](int, const QString &msg) {
                const QString text = oneLine(msg + QLatin1Char(' ') + port.lastErrorAdvice());
                if (opened)
                    emit failure(m_job.port, text);
                else
                    openMessages.append(text);
            });
    if (!port.open()) {
        const QString verdict = openMessages.isEmpty() ? QString() : openMessages.takeLast();
        for (const QString &message : qAsConst(openMessages))
            emit failure(m_job.port, message);
        m_report.message = verdict;
        finish(ExitCode::kPort, QStringLiteral("%1: %2").arg(m_job.port, verdict));
        return;
    }
    opened = true;
    // A whole reply frame is delivered at once instead of after the line has been quiet.
    port.setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    CommandEngine engine;
    engine.setTrace(m_trace);
    engine.setDevice(&port);
    connect(&port, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
    const auto [exitCode, result] = perform(engine);
    port.close();
    m_report.requests = engine.statistics().framesSent;
    m_report.retries = engine.statistics().retries;
    finish(exitCode, result);
}

std::pair<int, QString> PortWorker::perform(CommandEngine &engine)
{
    using Command = CliOptions::Command;
    const QString &name = m_job.port;
    ModuleSession session(engine, *this,
                          [this](int percent) { emit progress(m_job.port, percent); });
    // Whatever the module said of itself, for the history, at every way out.
    const std::shared_ptr<void> keepIdentity(
        nullptr, [this, &session](void *) { m_report.identity = session.identity(); });
    const auto line = [&name](const QString &text) {
        return QStringLiteral("%1: %2").arg(name, text);
    };
    const auto done = [&](bool ok, bool reading) -> std::pair<int, QString> {
        const QString status =
            reading ? (ok ? windowText(QT_TRANSLATE_NOOP("MainWindow", "读取成功！"))
                          : windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！")))
                    : (ok ? windowText(QT_TRANSLATE_NOOP("MainWindow", "设置成功！"))
                          : windowText(QT_TRANSLATE_NOOP("MainWindow", "设置失败！")));
        return {ok ? ExitCode::kOk : ExitCode::kModule,
                line(ok ? QStringLiteral("%1 (%2)").arg(status, m_job.file) : status)};
    };
    const auto saved = [&](const MJsonConfig::Entries &entries) -> std::pair<int, QString> {
        QString error;
        if (!ConfigFiles::save(m_job.file, entries, &error)) {
            reportFailure(error);
            return {ExitCode::kUsage, line(error)};
        }
        return done(true, true);
    };

    switch (m_job.command) {
    case Command::Info: {
        if (!session.identify())
            return {ExitCode::kModule,
                    line(windowText(QT_TRANSLATE_NOOP("MainWindow", "读取失败！")))};
        if (!m_job.json)
            return {ExitCode::kOk, line(session.identity().toText())};
        QJsonObject object = session.identity().toJson();
        object.insert(QStringLiteral("port"), name);
        return {ExitCode::kOk,
                QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact))};
    }
    case Command::ReadConfig: {
        const auto config = session.readUserConfig();
        return config ? saved(config->entries()) : done(false, true);
    }
    case Command::WriteConfig:
        // Like a technician in the window: the band read first, for the frequency limits.
        return done(session.identify() && session.writeUserConfig(*m_job.user), false);
    case Command::ReadCalibration: {
        const auto calibration = session.readFactoryCalibration();
        return calibration ? saved(calibration->entries()) : done(false, true);
    }
    case Command::WriteCalibration:
        return done(session.writeFactoryCalibration(*m_job.factory), false);
    case Command::Ports:
    case Command::History:
    case Command::Doctor:
        break;
    }
    return {ExitCode::kUsage, line(QString())};
}
