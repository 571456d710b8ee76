// The window's side of the calibration wizard: the factory menu's entry, the recipe it asks for,
// and the calibrate step run on a worker thread over the window's own open port.
#include "ui/mainwindow.h"
#include "ui_mainwindow.h"

#include "instrument/instrument.h"
#include "records/operationrecorder.h"
#include "serial/mserialport.h"
#include "session/modulesnapshot.h"
#include "station/calibrationrun.h"
#include "station/measurementsource.h"
#include "station/recipe.h"
#include "ui/calibrationwizard.h"
#include "ui/factorypages/factorypage.h"
#include "ui/pagereveal.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QIODevice>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QThread>

#include <memory>
#include <mutex>

namespace {
const QString kFactoryMenu = QStringLiteral("menuFactory");
const QString kWizardAction = QStringLiteral("actCalibrationWizard");

// The worker's engine talks to the window's port through this: frames go out on the window's
// thread, which owns the port, and replies come back by signal. The port stays open, so the
// window's lamps and counters go on showing the traffic.
class PortRelay : public QIODevice
{
public:
    explicit PortRelay(MSerialPort *port)
        : m_port(port)
    {}

protected:
    qint64 readData(char *, qint64) override { return 0; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const QByteArray bytes(data, int(length));
        MSerialPort *port = m_port;
        QMetaObject::invokeMethod(
            port,
            [port, bytes] {
                if (port->isOpen())
                    port->write(bytes);
            },
            Qt::QueuedConnection);
        return length;
    }

private:
    MSerialPort *m_port = nullptr;
};
} // namespace

void MainWindow::buildCalibrationWizard()
{
    auto *menu = new QMenu(ui->menubar);
    menu->setObjectName(kFactoryMenu);
    auto *wizard = new QAction(this);
    wizard->setObjectName(kWizardAction);
    connect(wizard, &QAction::triggered, this, &MainWindow::runCalibrationWizard);
    menu->addAction(wizard);
    ui->menubar->insertMenu(ui->menu_S->menuAction(), menu);
    // Hidden with the factory pages, shown when one is revealed.
    menu->menuAction()->setVisible(false);
    retranslateCalibrationWizard();
}

void MainWindow::retranslateCalibrationWizard()
{
    if (auto *menu = findChild<QMenu *>(kFactoryMenu))
        menu->setTitle(tr("工厂(&C)"));
    if (auto *wizard = findChild<QAction *>(kWizardAction))
        wizard->setText(tr("校准向导…"));
}

void MainWindow::showFactoryMenu()
{
    bool shown = false;
    for (int i = 0; i < ui->tabWidget_2->count(); ++i) {
        const QString name = ui->tabWidget_2->widget(i)->objectName();
        shown = shown || name == PageReveal::pageObjectName(PageReveal::Page::Lx815) ||
                name == PageReveal::pageObjectName(PageReveal::Page::Mr460);
    }
    if (auto *menu = findChild<QMenu *>(kFactoryMenu))
        menu->menuAction()->setVisible(shown);
}

void MainWindow::runCalibrationWizard()
{
    const QString path = chooseConfigFile(false, tr("选择配方"));
    if (path.isEmpty())
        return;
    QStringList problems;
    const auto recipe = Recipe::load(path, &problems);
    if (!recipe) {
        refuse(problems.join(QLatin1Char('\n')));
        return;
    }
    const RecipeStep *step = nullptr;
    for (const RecipeStep &candidate : recipe->steps) {
        if (candidate.kind == RecipeStep::Kind::Calibrate && candidate.plan) {
            step = &candidate;
            break;
        }
    }
    if (!step) {
        refuse(tr("配方 %1 中没有校准步骤").arg(QFileInfo(path).fileName()));
        return;
    }
    const CalibrationPlan plan = *step->plan;
    const QString folder = step->folder;

    const QPointer<CalibrationWizard> wizard = new CalibrationWizard(plan, path, this);
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    wizard->setWindowModality(Qt::WindowModal);
    wizard->show();
    std::optional<CalibrationRun::Outcome> outcome;
    OperationReport report;
    runOperation(OperationKind::Write, [&] {
        outcome = calibrateOnWorker(plan, folder, wizard, &report);
        return outcome->ok;
    });
    // Refused while another operation ran: nothing was started.
    if (!outcome) {
        delete wizard;
        return;
    }
    recordCalibration(*recipe, *outcome, report);
    if (wizard)
        wizard->finish(*outcome);
    // The page shows what the module now holds.
    if (outcome->ok && outcome->calibration)
        m_factoryPage->applyCalibration(*outcome->calibration);
    if (m_closeAfterWizard)
        close();
}

// One entry, as a station's unit that ran only this step would have: the recipe, lane 0, and a
// measurement per target begun.
void MainWindow::recordCalibration(const Recipe &recipe, const CalibrationRun::Outcome &outcome,
                                   OperationReport report)
{
    Recorder *const history = recorder();
    if (!history)
        return;
    const QString step = RecipeStep::kindName(RecipeStep::Kind::Calibrate);
    report.operation = step;
    report.port = appSerialPort->portName();
    report.finished = QDateTime::currentDateTimeUtc();
    report.file = recipe.filePath;
    report.identity = unitOf(outcome.identity);
    report.message = outcome.ok ? QString() : outcome.failure;
    if (outcome.calibration) {
        ModuleSnapshot found;
        found.identity = report.identity;
        found.identified = !report.identity.serialNumber.isEmpty();
        found.readAt = report.finished;
        found.factory = outcome.calibration;
        report.snapshot = found.toJson();
    }
    OperationRecorder::Extras extras;
    OperationRecorder::StationRun run{
        recipe.name, recipe.revision, recipe.sha256, 0, false, outcome.ok ? QString() : step, {}};
    for (const CalibrationTargetResult &target : outcome.targets)
        run.measurements.append(target.measurement());
    extras.station = run;
    keep(*history, report, extras);
}

CalibrationRun::Outcome MainWindow::calibrateOnWorker(const CalibrationPlan &plan,
                                                      const QString &folder,
                                                      CalibrationWizard *wizard,
                                                      OperationReport *report)
{
    CalibrationRun::Outcome outcome;
    report->started = QDateTime::currentDateTimeUtc();
    // A cancel, or an instrument that failed, is the bench's trouble, not the unit's.
    bool benchTrouble = true;
    const QPointer<CalibrationWizard> shown(wizard);
    const std::shared_ptr<ManualHandOff> handOff = wizard->sharedHandOff();
    std::mutex runMutex;
    CalibrationRun *running = nullptr;
    bool cancelled = false;
    m_wizardCancel = [&] {
        std::lock_guard<std::mutex> lock(runMutex);
        cancelled = true;
        if (running)
            running->cancel();
        handOff->cancel();
    };
    const QMetaObject::Connection cancelling =
        connect(wizard, &CalibrationWizard::cancelRequested, this, [this] { m_wizardCancel(); });
    const bool lineUp = appSerialPort->isOpen();
    const auto onWindow = [](const std::function<void()> &call) {
        QMetaObject::invokeMethod(qApp, call, Qt::QueuedConnection);
    };

    std::unique_ptr<QThread> thread(QThread::create([&] {
        PortRelay relay(appSerialPort);
        if (lineUp)
            relay.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
        // A module gone takes the line with it: the wait for its reply ends at once.
        connect(appSerialPort, &MSerialPort::connectionLost, &relay, [&relay] { relay.close(); });
        CommandEngine engine;
        const struct Counted
        {
            const CommandEngine &engine;
            OperationReport *report;
            ~Counted()
            {
                report->requests = engine.statistics().framesSent;
                report->retries = engine.statistics().retries;
            }
        } counted{engine, report};
        engine.setDevice(&relay);
        connect(appSerialPort, &MSerialPort::onReceived, &engine, &CommandEngine::receive);
        connect(&engine, &CommandEngine::frameSent, this, [this](const QByteArray &frame) {
            setLed(txLed, false);
            txTotal += frame.size();
            txCountLabel->setText(QStringLiteral("Tx: %1").arg(txTotal));
        });

        std::unique_ptr<Instrument> instrument;
        std::unique_ptr<MeasurementSource> source;
        if (plan.instrument == QLatin1String(CalibrationPlan::kManual)) {
            source = std::make_unique<ManualSource>([&](const ManualRequest &request) {
                return handOff->ask(
                    request,
                    [&](int id) {
                        onWindow([shown, id, request] {
                            if (shown)
                                shown->ask(id, request);
                        });
                    },
                    [&](int id) {
                        onWindow([shown, id] {
                            if (shown)
                                shown->withdraw(id);
                        });
                    });
            });
        } else {
            QString why;
            const auto address = InstrumentAddress::parse(plan.instrument, &why);
            const auto profile = address ? plan.instrumentProfile(&why) : std::nullopt;
            if (!profile) {
                outcome.failure = why;
                return;
            }
            instrument = std::make_unique<Instrument>(*address, *profile);
            if (!instrument->connectToInstrument()) {
                outcome.failure = instrument->failure().text;
                return;
            }
            source = std::make_unique<InstrumentSource>(*instrument);
        }

        CalibrationRun run(plan, engine, *source);
        run.setProgress([&](int target, int value, double reading) {
            onWindow([shown, target, value, reading] {
                if (shown)
                    shown->reading(target, value, reading);
            });
        });
        {
            std::lock_guard<std::mutex> lock(runMutex);
            if (cancelled) {
                outcome.failure = CalibrationRun::tr("校准已取消");
                return;
            }
            running = &run;
        }
        outcome = run.run(folder);
        std::lock_guard<std::mutex> lock(runMutex);
        running = nullptr;
        benchTrouble =
            cancelled || run.isCancelled() ||
            (instrument && instrument->failure().kind != Instrument::Failure::Kind::None);
    }));
    m_wizardRunning = true;
    // Events turn here as in every operation's wait, and not in a loop of its own that an
    // application quitting would end early, leaving the worker without the port.
    bool finished = false;
    connect(thread.get(), &QThread::finished, this, [&finished] { finished = true; });
    thread->start();
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    thread->wait();
    m_wizardRunning = false;
    disconnect(cancelling);
    m_wizardCancel = nullptr;
    report->outcome = outcome.ok     ? OperationReport::Outcome::Pass
                      : benchTrouble ? OperationReport::Outcome::Error
                                     : OperationReport::Outcome::Fail;
    return outcome;
}
