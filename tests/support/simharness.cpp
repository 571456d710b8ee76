#include "simharness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

SimHarness::SimHarness()
    : SimHarness(Options())
{}

SimHarness::SimHarness(const Options &options)
    : m_simulator(std::make_unique<ModuleSimulator>())
{
    m_simulator->setState(options.state.value_or(ModuleState::defaults(options.band)));
    m_simulator->setBaud(options.baud);
    m_simulator->setLatency(options.latencyMs);
    m_simulator->faults().setRandom(options.faultRate, options.seed);
    for (const QString &ruleText : options.faults)
        addFault(ruleText);
    QString error;
    if (!m_simulator->open(&error) && m_error.isEmpty())
        m_error = error;
}

bool SimHarness::addFault(const QString &ruleText)
{
    QString error;
    const auto rule = FaultInjector::parseRule(ruleText, &error);
    if (!rule) {
        m_error = error;
        return false;
    }
    m_simulator->faults().addRule(*rule);
    return true;
}

bool SimHarness::waitForRequests(int count, int timeoutMs)
{
    const auto done = [&] {
        return m_simulator->log().size() >= count && m_simulator->isIdle();
    };
    if (done())
        return true;
    QEventLoop loop;
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    QObject::connect(m_simulator.get(), &ModuleSimulator::requestReceived, &loop, check);
    QObject::connect(m_simulator.get(), &ModuleSimulator::replySent, &loop, check);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        stop();
}

QString SimProcess::executablePath()
{
    const QString binaryDir = qEnvironmentVariable("LX_BINARY_DIR");
    if (!binaryDir.isEmpty())
        return QDir(binaryDir).filePath(QStringLiteral("sim/lx815-sim"));
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../sim/lx815-sim"));
}

bool SimProcess::start(const QStringList &arguments, int timeoutMs)
{
    m_portPath.clear();
    m_error.clear();
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(executablePath(), arguments);
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("no terminal path: ") +
                      QString::fromLocal8Bit(m_process.readAllStandardError());
            return false;
        }
        m_process.waitForReadyRead(50);
    }
    m_portPath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return QFileInfo::exists(m_portPath);
}

int SimProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(timeoutMs);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
