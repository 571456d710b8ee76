#include "station/lane.h"

#include "records/population.h"
#include "records/recorder.h"
#include "records/recordstore.h"
#include "serial/mserialport.h"
#include "session/operationreport.h"
#include "station/limits.h"
#include "station/unitrun.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {
using Outcome = LaneUnit::Outcome;
using State = LaneStatus::State;

struct Quiet : FailureReporter
{
    void reportFailure(const QString &) override {}
};

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

State stateOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Pass:
        return State::Pass;
    case Outcome::Marginal:
        return State::Marginal;
    case Outcome::Fail:
        return State::Fail;
    case Outcome::Error:
        break;
    }
    return State::Error;
}
} // namespace

QString LaneStatus::stateText(State state)
{
    switch (state) {
    case State::Waiting:
        return tr("等待模块");
    case State::Scanning:
        return tr("请扫描序列码");
    case State::Ready:
        return tr("请按开始");
    case State::Running:
        return tr("运行中");
    case State::Pass:
        return Limits::verdictName(Limits::Verdict::Pass);
    case State::Marginal:
        return Limits::verdictName(Limits::Verdict::Marginal);
    case State::Fail:
        return Limits::verdictName(Limits::Verdict::Fail);
    case State::Error:
        return QStringLiteral("ERROR");
    case State::PortGone:
        return tr("串口不在");
    case State::Stopped:
        return tr("已停止");
    }
    return QString();
}

QString LaneUnit::outcomeKey(Outcome outcome)
{
    static const char *const kKeys[] = {"pass", "marginal", "fail", "error"};
    return QLatin1String(kKeys[static_cast<int>(outcome)]);
}

LaneUnit::Outcome LaneUnit::outcomeFromKey(const QString &key)
{
    for (auto outcome : {Outcome::Pass, Outcome::Marginal, Outcome::Fail}) {
        if (key == outcomeKey(outcome))
            return outcome;
    }
    return Outcome::Error;
}

QJsonObject LaneUnit::toJson() const
{
    QJsonArray stepArray;
    for (const LaneStep &step : steps)
        stepArray.append(QJsonObject{{QStringLiteral("step"), step.step},
                                     {QStringLiteral("outcome"), step.outcome},
                                     {QStringLiteral("message"), step.message},
                                     {QStringLiteral("seconds"), step.seconds}});
    QJsonArray measurementArray;
    for (const LaneMeasurement &m : measurements)
        measurementArray.append(
            QJsonObject{{QStringLiteral("name"), m.name},
                        {QStringLiteral("value"), m.value},
                        {QStringLiteral("min"), optionalNumber(m.min)},
                        {QStringLiteral("max"), optionalNumber(m.max)},
                        {QStringLiteral("marginal"), optionalNumber(m.marginal)},
                        {QStringLiteral("outcome"), m.outcome}});
    const auto time = [](const QDateTime &t) {
        return t.toUTC().toString(Qt::ISODateWithMs);
    };
    return QJsonObject{
        {QStringLiteral("port"), port},
        {QStringLiteral("serialNumber"), identity.serialNumber},
        {QStringLiteral("model"), identity.model},
        {QStringLiteral("firmware"), identity.firmware},
        {QStringLiteral("outcome"), outcomeKey(outcome)},
        {QStringLiteral("started"), time(started)},
        {QStringLiteral("finished"), time(finished)},
        {QStringLiteral("recipe"), recipe},
        {QStringLiteral("revision"), revision},
        {QStringLiteral("recipeSha256"), recipeSha256},
        {QStringLiteral("steps"), stepArray},
        {QStringLiteral("measurements"), measurementArray},
        {QStringLiteral("entryId"), entryId.isEmpty() ? QJsonValue() : QJsonValue(entryId)},
    };
}

LaneOptions LaneOptions::forRecipe(std::shared_ptr<const Recipe> recipe)
{
    LaneOptions options;
    options.startOnButton = recipe && recipe->start == Recipe::Start::Button;
    options.scan = recipe && recipe->scan;
    options.recipe = std::move(recipe);
    options.source = OperationRecorder::Source::thisHost();
    return options;
}

// The lane's thread side: its port and engine, the waiting, the units.
class LaneWorker : public QObject
{
    Q_OBJECT

public:
    explicit LaneWorker(const LaneOptions &options)
        : m_options(options)
    {
        m_status.lane = options.lane;
        m_status.port = options.port;
    }

    // Any thread.
    void requestStop()
    {
        m_stop = true;
        {
            const QMutexLocker lock(&m_mutex);
            if (m_run)
                m_run->cancel();
        }
        wakeUp();
    }
    void requestStart()
    {
        m_startRequested = true;
        wakeUp();
    }
    void setScanned(const QString &serialNumber)
    {
        {
            const QMutexLocker lock(&m_mutex);
            m_scanned = serialNumber.trimmed();
        }
        wakeUp();
    }

public slots:
    void run();

signals:
    void statusChanged(const LaneStatus &status);
    void unitFinished(const LaneUnit &unit);
    void finished(const QString &portFailure);

private:
    // What a short probe found on the port.
    struct Seen
    {
        bool present = false; // something answered the band read
        QString serialNumber; // and its serial number, when that answered too
        QString model;
    };

    void wakeUp()
    {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_sleep)
                    m_sleep->quit();
            },
            Qt::QueuedConnection);
    }
    // Waits with the event loop turning (no processor time), until woken or the time is up.
    void sleep(int ms)
    {
        if (m_stop)
            return;
        QEventLoop loop;
        m_sleep = &loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        m_sleep = nullptr;
    }
    bool openPort(QString *why);
    std::optional<PopulationFigures> population(const QString &name, int units);
    void closePort();
    // The device file is gone, or its link points at another device than the one opened.
    bool portChanged() const
    {
        const QFileInfo file(m_options.port);
        return !file.exists() || file.canonicalFilePath() != m_opened;
    }
    Seen probe();
    QString takeScanned()
    {
        const QMutexLocker lock(&m_mutex);
        return std::exchange(m_scanned, QString());
    }
    bool hasScanned()
    {
        const QMutexLocker lock(&m_mutex);
        return !m_scanned.isEmpty();
    }
    void runUnit(const QString &scanned);
    void record(LaneUnit *unit) const;
    qint64 retries() const
    {
        return m_retriesBefore + (m_engine ? m_engine->statistics().retries : 0);
    }
    void setState(State state, const QString &failure = QString())
    {
        if (state == m_status.state && failure == m_status.failure && m_status.retries == retries())
            return;
        m_status.state = state;
        m_status.failure = failure;
        m_status.retries = retries();
        if (state != State::Running) {
            m_status.step.clear();
            m_status.percent = 0;
        }
        emit statusChanged(m_status);
    }

    const LaneOptions m_options;
    LaneStatus m_status;
    std::unique_ptr<MSerialPort> m_port;
    std::unique_ptr<CommandEngine> m_engine;
    QString m_opened;           // the device the port's path led to when it was opened
    bool m_lost = false;        // the opened port went away
    QString m_last;             // the unit run last, until it is gone
    qint64 m_retriesBefore = 0; // of engines closed since the lane started
    QEventLoop *m_sleep = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_startRequested{false};
    QMutex m_mutex; // m_scanned, m_run
    QString m_scanned;
    UnitRun *m_run = nullptr;
    std::unique_ptr<RecordStore> m_store; // the history, read for a check's population
};

// From the history the lane records into, on this thread's own connection; the station's last
// figures when it cannot be read, or when the lane records nothing.
std::optional<PopulationFigures> LaneWorker::population(const QString &name, int units)
{
    const QString cache = Population::defaultCacheFolder();
    if (!m_options.recorder)
        return Population::cached(cache, m_options.recipe->sha256, name, units);
    if (!m_store)
        m_store = std::make_unique<RecordStore>(m_options.recorder->target());
    return Population::figures(*m_store, cache, m_options.recipe->sha256, name, units);
}

bool LaneWorker::openPort(QString *why)
{
    m_port = std::make_unique<MSerialPort>();
    m_port->setPortName(m_options.port);
    m_options.line.applyTo(*m_port);
    m_lost = false;
    // The port's own verdict with its advice is the last message of a failed open.
    QString verdict;
    connect(m_port.get(), &MSerialPort::onError, this, [this, &verdict](int, const QString &msg) {
        if (m_port && !m_port->isOpen())
            verdict = (msg + QLatin1Char(' ') + m_port->lastErrorAdvice()).simplified();
    });
    connect(m_port.get(), &MSerialPort::connectionLost, this, [this] { m_lost = true; });
    const QString target = QFileInfo(m_options.port).canonicalFilePath();
    if (!m_port->open()) {
        *why = verdict;
        m_port.reset();
        return false;
    }
    disconnect(m_port.get(), &MSerialPort::onError, this, nullptr);
    m_opened = target;
    m_port->setCompleteReplyTest(&LinkFrame::isSingleCompleteFrame);
    m_engine = std::make_unique<CommandEngine>();
    m_engine->setTrace(m_options.trace);
    m_engine->setDevice(m_port.get());
    connect(m_port.get(), &MSerialPort::onReceived, m_engine.get(), &CommandEngine::receive);
    return true;
}

void LaneWorker::closePort()
{
    if (!m_port)
        return;
    m_retriesBefore += m_engine->statistics().retries;
    m_port->close();
    m_engine.reset();
    m_port.reset();
}

LaneWorker::Seen LaneWorker::probe()
{
    Quiet quiet;
    ModuleSession session(*m_engine, quiet);
    session.probe(LaneOptions::kProbeTimeoutMs);
    return {!session.identity().model.isEmpty(), session.identity().serialNumber,
            session.identity().model};
}

void LaneWorker::run()
{
    QString portFailure;
    emit statusChanged(m_status);
    while (!m_stop) {
        QString why;
        if (!m_port && !openPort(&why)) {
            setState(State::PortGone, why);
            if (!m_options.watch) {
                portFailure = why.isEmpty() ? m_options.port : why;
                break;
            }
            sleep(m_options.probeIntervalMs);
            continue;
        }
        if (!m_options.watch) {
            runUnit(takeScanned());
            break;
        }
        // Unplugged, or the link now leads elsewhere: opened again once it is back.
        if (m_lost || portChanged()) {
            closePort();
            m_last.clear();
            setState(State::PortGone, tr("串口 %1 已消失").arg(m_options.port));
            sleep(m_options.probeIntervalMs);
            continue;
        }
        const Seen seen = probe();
        if (m_lost)
            continue;
        // Gone: silence, or another unit answering in its place.
        if (!m_last.isEmpty() &&
            (!seen.present || (!seen.serialNumber.isEmpty() && seen.serialNumber != m_last)))
            m_last.clear();
        if (m_last.isEmpty()) {
            const bool unit = seen.present && !seen.serialNumber.isEmpty();
            if (m_options.scan && !hasScanned()) {
                setState(State::Scanning);
            } else if (unit && m_options.startOnButton && !m_startRequested.exchange(false)) {
                m_status.serialNumber = seen.serialNumber;
                m_status.model = seen.model;
                setState(State::Ready);
            } else if (unit) {
                runUnit(takeScanned());
                m_last =
                    m_status.serialNumber.isEmpty() ? seen.serialNumber : m_status.serialNumber;
            } else {
                // A Start pressed before a unit was there does not start the next one.
                m_startRequested = false;
                setState(State::Waiting);
            }
        }
        sleep(m_options.probeIntervalMs);
    }
    closePort();
    m_store.reset(); // a database connection ends on the thread that made it
    setState(State::Stopped, m_status.failure);
    emit finished(portFailure);
}

void LaneWorker::runUnit(const QString &scanned)
{
    m_status.serialNumber.clear();
    m_status.model.clear();
    const qint64 sentBefore = m_engine->statistics().framesSent;
    const qint64 retriesBefore = m_engine->statistics().retries;
    const auto progress = [this](const QString &step, int percent) {
        m_status.step = step;
        m_status.percent = percent;
        m_status.state = State::Running;
        m_status.retries = retries();
        emit statusChanged(m_status);
    };
    const auto lineLost = [this] {
        return m_lost || portChanged();
    };
    LaneUnit unit;
    {
        UnitRun run(*m_options.recipe, *m_engine, m_options.port, progress);
        run.setPopulationSource(
            [this](const QString &name, int units) { return population(name, units); });
        // The tile names the unit while it runs, not only once it has ended.
        run.setIdentified([this](const ModuleIdentity &identity) {
            m_status.serialNumber = identity.serialNumber;
            m_status.model = identity.model;
            emit statusChanged(m_status);
        });
        {
            const QMutexLocker lock(&m_mutex);
            m_run = &run;
            // A stop asked before the unit began still keys a calibration down.
            if (m_stop)
                run.cancel();
        }
        unit = run.run(scanned, lineLost);
        const QMutexLocker lock(&m_mutex);
        m_run = nullptr;
    }
    unit.lane = m_options.lane;
    unit.requests = m_engine->statistics().framesSent - sentBefore;
    unit.retries = m_engine->statistics().retries - retriesBefore;
    record(&unit);
    m_status.serialNumber = unit.identity.serialNumber;
    m_status.model = unit.identity.model;
    m_status.cycleSeconds = unit.seconds();
    m_status.failure = QString();
    setState(stateOf(unit.outcome), unit.outcome == Outcome::Pass ? QString() : unit.failure);
    emit unitFinished(unit);
}

// The one history entry of the unit; the unit is reported only once it is kept.
void LaneWorker::record(LaneUnit *unit) const
{
    if (!m_options.recorder)
        return;
    OperationReport report;
    report.port = m_options.port;
    report.operation = LaneUnit::operationName();
    report.started = unit->started;
    report.finished = unit->finished;
    report.outcome = unit->outcome == Outcome::Fail    ? OperationReport::Outcome::Fail
                     : unit->outcome == Outcome::Error ? OperationReport::Outcome::Error
                                                       : OperationReport::Outcome::Pass;
    if (!unit->failure.isEmpty())
        report.message = unit->failedStep.isEmpty()
                             ? unit->failure
                             : QStringLiteral("%1: %2").arg(unit->failedStep, unit->failure);
    report.identity = unit->identity;
    report.file = m_options.recipe->filePath;
    report.requests = unit->requests;
    report.retries = unit->retries;
    for (const LaneStep &step : qAsConst(unit->steps)) {
        if (step.step == RecipeStep::kindName(RecipeStep::Kind::Backup) &&
            step.outcome == LaneUnit::outcomeKey(Outcome::Pass))
            report.backupFile = step.message;
    }
    OperationRecorder::Extras extras;
    const Recipe &recipe = *m_options.recipe;
    extras.station = OperationRecorder::StationRun{recipe.name,
                                                   recipe.revision,
                                                   recipe.sha256,
                                                   m_options.lane,
                                                   unit->outcome == Outcome::Marginal,
                                                   unit->failedStep,
                                                   unit->measurements};
    QString entryId;
    if (OperationRecorder(*m_options.recorder, m_options.source).record(report, extras, &entryId)) {
        unit->entryId = entryId;
        return;
    }
    // Never PASS without a record.
    unit->outcome = Outcome::Error;
    unit->failure = tr("此模块的记录既未存入历史记录，也未存入暂存库");
}

Lane::Lane(LaneOptions options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_thread(new QThread(this))
    , m_worker(new LaneWorker(m_options))
{
    qRegisterMetaType<LaneStatus>();
    qRegisterMetaType<LaneUnit>();
    m_thread->setObjectName(QStringLiteral("lane %1").arg(m_options.lane));
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::started, m_worker, &LaneWorker::run);
    // Straight from the worker's thread: its loop ends whatever this thread is doing.
    connect(m_worker, &LaneWorker::finished, m_thread, &QThread::quit, Qt::DirectConnection);
    connect(m_worker, &LaneWorker::statusChanged, this, &Lane::statusChanged);
    connect(m_worker, &LaneWorker::unitFinished, this, &Lane::unitFinished);
    connect(m_worker, &LaneWorker::finished, this, &Lane::finished);
}

Lane::~Lane()
{
    stop();
    m_thread->wait();
    delete m_worker;
}

void Lane::start()
{
    m_thread->start();
}

bool Lane::isFinished() const
{
    return m_thread->isFinished();
}

bool Lane::wait(int timeoutMs)
{
    return m_thread->wait(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                        : QDeadlineTimer(timeoutMs));
}

void Lane::stop()
{
    m_worker->requestStop();
}

void Lane::startUnit()
{
    m_worker->requestStart();
}

void Lane::scanned(const QString &serialNumber)
{
    m_worker->setScanned(serialNumber);
}

#include "lane.moc"
