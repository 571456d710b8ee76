#include "soak/soakrunner.h"

#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "sim/modulesimulator.h"
#include "soak/sidechecks.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kReadSequences = 3; // a user repeats a failed read before writing
constexpr int kMaxReports = 30;   // problem reports per child process on standard error
constexpr int kMaxDetails = 6;    // differing values listed per report

QString statusText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

// Step commands add to a value: the tool sends them once, so a random fault would only fail them.
const QList<QByteArray> kStepCommands{QByteArray::fromHex("A2"), QByteArray::fromHex("C4"),
                                      QByteArray::fromHex("018102")};
} // namespace

SoakRunner::SoakRunner(const SoakSettings &settings, int firstCycle)
    : m_settings(settings)
    , m_firstCycle(firstCycle)
    , m_reportsLeft(kMaxReports)
{}

SoakRunner::~SoakRunner()
{
    MessageBox::setInterceptor({});
    if (appSerialPort->isOpen())
        appSerialPort->close();
    m_window.reset();
    appConfig = nullptr;
}

bool SoakRunner::start(QString *error)
{
    if (!m_settingsDir.isValid()) {
        *error = QStringLiteral("no temporary directory for the settings file");
        return false;
    }
    m_appSettings =
        std::make_unique<MJsonConfig>(m_settingsDir.filePath(QStringLiteral("settings.json")));
    appConfig = m_appSettings.get();

    m_simulator = std::make_unique<ModuleSimulator>();
    m_simulator->setBaud(m_settings.baud);
    // Each child process draws its own faults: a restart after a crash does not repeat them.
    m_simulator->faults().setRandom(m_settings.rate,
                                    m_settings.seed ^ static_cast<quint32>(m_firstCycle));
    m_simulator->faults().setRandomExcluded(kStepCommands);
    if (!m_simulator->open(error))
        return false;

    // Every box is answered Yes: the write-all confirmation goes ahead, failures are recorded.
    MessageBox::setInterceptor([this](const MessageBox::Shown &box) {
        m_boxes.append(box);
        return QMessageBox::Yes;
    });
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    appSerialPort->setPortName(m_simulator->slavePath());
    if (!appSerialPort->open()) {
        *error = QStringLiteral("the window could not open %1").arg(m_simulator->slavePath());
        return false;
    }
    // Looks every widget up once: a soak that no longer fits the window stops here.
    UserSide::afterRead(*m_window, m_simulator->state());
    UserSide::afterWrite(*m_window, m_simulator->state());
    FactorySide::afterRead(*m_window, m_simulator->state());
    FactorySide::afterWrite(*m_window, m_simulator->state());
    m_boxes.clear();
    return true;
}

void SoakRunner::run()
{
    m_totals.rssStartKb = SoakReport::residentKb();
    m_cycle = m_firstCycle;
    QTimer::singleShot(0, [this] { nextCycle(); });
}

void SoakRunner::nextCycle()
{
    runCycle(m_cycle);
    if (m_cycle == m_firstCycle)
        m_totals.rssWarmKb = SoakReport::residentKb();
    emitTotals();
    if (++m_cycle - m_firstCycle < m_settings.cycles)
        QTimer::singleShot(0, [this] { nextCycle(); });
    else
        QCoreApplication::quit();
}

void SoakRunner::runCycle(int index)
{
    // The values of a cycle depend on the seed and the cycle's number only.
    const quint32 seeds[] = {m_settings.seed, static_cast<quint32>(index)};
    QRandomGenerator random(seeds, seeds + 2);
    MainWindow &window = *m_window;
    ModuleState &module = m_simulator->state();

    const auto action = [&window](const char *name) {
        return [&window, name] {
            SideChecks::widget<QAction>(window, QString::fromLatin1(name))->trigger();
        };
    };
    const auto button = [&window](const char *name) {
        return [&window, name] {
            SideChecks::widget<QPushButton>(window, QString::fromLatin1(name))->click();
        };
    };

    const Sequence userRead{QStringLiteral("user read all"), Direction::Read, action("action_6"),
                            [&] { return UserSide::afterRead(window, module); },
                            [&](const QStringList &differences) {
                                return differences.size() == 1 &&
                                       differences.first().startsWith(UserSide::kFirmwareField +
                                                                      QLatin1Char(':')) &&
                                       UserSide::isFirmwareCutShort(window, module);
                            }};
    const Sequence userWrite{QStringLiteral("user write all"),
                             Direction::Write,
                             action("action_8"),
                             [&] { return UserSide::afterWrite(window, module); },
                             {}};
    runSide(
        userRead, userWrite, [&] { UserSide::randomiseModule(module, random); },
        [&] { UserSide::randomiseWindow(window, module.band, random); });

    const Sequence factoryRead{QStringLiteral("factory read all"),
                               Direction::Read,
                               button("pushButton_28"),
                               [&] { return FactorySide::afterRead(window, module); },
                               {}};
    const Sequence factoryWrite{QStringLiteral("factory write all"),
                                Direction::Write,
                                button("pushButton_242"),
                                [&] { return FactorySide::afterWrite(window, module); },
                                {}};
    runSide(
        factoryRead, factoryWrite, [&] { FactorySide::randomiseModule(module, window, random); },
        [&] { FactorySide::randomiseWindow(window, random); });

    // The request log would grow for ever.
    m_simulator->clearLog();
}

void SoakRunner::runSide(const Sequence &read, const Sequence &write,
                         const std::function<void()> &randomiseModule,
                         const std::function<void()> &randomiseWindow)
{
    bool readDone = false;
    for (int attempt = 0; attempt < kReadSequences && !readDone; ++attempt) {
        // New values before every read, so that a stale or misplaced reply shows up.
        randomiseModule();
        readDone = runSequence(read);
    }
    if (!readDone)
        return;
    randomiseWindow();
    runSequence(write);
}

bool SoakRunner::runSequence(const Sequence &sequence)
{
    const bool reading = sequence.direction == Direction::Read;
    const QString success = reading ? statusText("读取成功！") : statusText("设置成功！");
    const QString failure = reading ? statusText("读取失败！") : statusText("设置失败！");

    m_boxes.clear();
    ++m_totals.sequences;
    sequence.trigger();
    // The wrapper's outcome is the last status message, still on show for three seconds.
    const QString status = m_window->statusBar()->currentMessage();
    QStringList failureBoxes;
    for (const MessageBox::Shown &box : qAsConst(m_boxes)) {
        if (box.icon == QMessageBox::Critical)
            failureBoxes.append(box.text);
    }

    if (status == success) {
        if (!failureBoxes.isEmpty()) {
            ++m_totals.boxOnSuccess;
            report(sequence.name + QStringLiteral(": success with failure boxes"), failureBoxes);
        }
        const QStringList differences = sequence.differences();
        if (differences.isEmpty())
            return true;
        if (sequence.excused && sequence.excused(differences)) {
            ++m_totals.firmwareCutShort;
        } else {
            ++m_totals.wrongValues;
            report(sequence.name + QStringLiteral(": wrong values accepted"), differences);
        }
        return true;
    }
    if (status == failure && !failureBoxes.isEmpty()) {
        ++m_totals.failuresReported;
    } else {
        ++m_totals.unreportedFailures;
        report(sequence.name + QStringLiteral(": failure without a box, status \"%1\"").arg(status),
               failureBoxes);
    }
    return false;
}

void SoakRunner::report(const QString &what, const QStringList &details)
{
    if (m_reportsLeft <= 0)
        return;
    --m_reportsLeft;
    QString text = QStringLiteral("soak: cycle %1, %2").arg(m_cycle).arg(what);
    for (int i = 0; i < details.size() && i < kMaxDetails; ++i)
        text += QStringLiteral("\n    ") + details.at(i);
    if (details.size() > kMaxDetails)
        text += QStringLiteral("\n    ... %1 more").arg(details.size() - kMaxDetails);
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

void SoakRunner::emitTotals()
{
    const CommandEngine::Statistics &statistics = m_window->engine().statistics();
    m_totals.cycles = m_cycle - m_firstCycle + 1;
    m_totals.transactions = statistics.transactions;
    m_totals.retries = statistics.retries;
    m_totals.faults = m_simulator->faults().injectedTotal();
    m_totals.rssEndKb = SoakReport::residentKb();
    const QByteArray line = QJsonDocument(m_totals.toJson()).toJson(QJsonDocument::Compact);
    std::fprintf(stdout, "%s\n", line.constData());
    std::fflush(stdout);
}
