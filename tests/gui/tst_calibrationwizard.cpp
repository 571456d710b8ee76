// The calibration wizard in the window against lx815-sim and its test set: by itself with the
// instrument, by hand with a technician reading the test set's meter, cancelled, the window
// closed, and an instrument that stops answering; the module always ends in normal mode, and
// the history has the calibration's entry with a measurement per target begun.
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "config/factoryconfig.h"
#include "device/wire.h"
#include "instrument/instrument.h"
#include "records/recordstore.h"
#include "serial/mserialport.h"
#include "support/simharness.h"
#include "support/testenv.h"
#include "ui/calibrationwizard.h"
#include "ui/factorypages/factorybindings.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
// The example targets: the crystal, a 1 W cell, a deviation, the 5 W high cell, the receiver.
QJsonObject recipe(const QString &instrument, int maxTransmitSeconds)
{
    return QJsonDocument::fromJson(QStringLiteral(R"({"Recipe": "Bench", "Revision": "1",
        "Steps": [{"Step": "calibrate", "Instrument": "%1", "Folder": "calibrations", "MaxTransmitSeconds": %2,
          "Points": {"Low": 45100000, "Mid": 47000000, "High": 48900000},
          "Targets": [
            {"Value": "/TCXO_BIAS", "Measure": "frequency-error", "Point": "Mid", "Power": 0, "Target": 0, "Tolerance": 50},
            {"Value": "/TxPowerAdj/cell01", "Measure": "power", "Point": "Mid", "Power": 0, "Target": 30.0, "Tolerance": 0.3},
            {"Value": "/DataModFreqDiv/Mid", "Measure": "deviation", "Point": "Mid", "Power": 0, "Target": 2400, "Tolerance": 60},
            {"Value": "/TxPowerAdj/cell42", "Measure": "power", "Point": "High", "Power": 4, "Target": 37.0, "Tolerance": 0.3},
            {"Calibrate": "rssi", "Point": "Mid", "Levels": [10, 40]},
            {"Calibrate": "squelch", "Point": "Mid", "Levels": [0.25, 0.45]}]}]})")
                                       .arg(instrument)
                                       .arg(maxTransmitSeconds)
                                       .toUtf8())
        .object();
}

// A technician at the bench: does what the wizard's prompt says with the test set's meter and
// generator, and types the reading.
void technician(CalibrationWizard *wizard, Instrument &meter)
{
    auto *prompt = wizard->findChild<QLabel *>("wizardPrompt");
    auto *enter = wizard->findChild<QPushButton *>("wizardEnter");
    if (!prompt->isVisible() || !enter->isVisible())
        return;
    const QString text = prompt->text();
    const auto number = [&](const QString &unit) {
        const auto match = QRegularExpression("(-?[0-9.]+) " + unit).match(text);
        return match.captured(1).toDouble();
    };
    const qint64 hz = qRound64(number("MHz") * 1e6);
    if (text.startsWith("Set the signal generator")) {
        QVERIFY(meter.setGeneratorFrequency(hz) && meter.setGeneratorLevel(number("dBm")) &&
                meter.setGeneratorOutput(true));
    } else {
        const auto measurement = text.contains("power meter") ? Instrument::Measurement::Power
                                 : text.contains("frequency error")
                                     ? Instrument::Measurement::FrequencyError
                                     : Instrument::Measurement::Deviation;
        QVERIFY2(meter.setAnalyserFrequency(hz), qPrintable(meter.failure().text));
        const auto reading = meter.measure(measurement);
        QVERIFY2(reading, qPrintable(meter.failure().text));
        wizard->findChild<QLineEdit *>("wizardReading")->setText(QString::number(*reading));
    }
    enter->click();
}
} // namespace

class TestCalibrationWizard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        startupLanguage = Language::kEnglish;
        Language::install(startupLanguage);
    }

    void wizard_data()
    {
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QString>("fault"); // of the test set
        QTest::addColumn<QString>("exit");  // what happens once the second target reads
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("recorded"); // the history entry's outcome
        QTest::addColumn<QString>("profile");  // a profile file beside the recipe; empty: built-in
        QTest::newRow("instrument") << false << ""
                                    << ""
                                    << "Calibration complete, saved as "
                                    << "pass"
                                    << "";
        // Found beside the recipe, as a lane finds it, wherever the window was started.
        QTest::newRow("profile beside the recipe") << false << ""
                                                   << ""
                                                   << "Calibration complete, saved as "
                                                   << "pass"
                                                   << "bench-7.json";
        QTest::newRow("manual") << true << ""
                                << ""
                                << "Calibration complete, saved as "
                                << "pass"
                                << "";
        // Cancelled, as the window records any operation cancelled: an error.
        QTest::newRow("cancel") << false << ""
                                << "cancel"
                                << "Calibration failed: calibration cancelled"
                                << "error"
                                << "";
        QTest::newRow("cancel by hand") << true << ""
                                        << "cancel"
                                        << "Calibration failed: calibration cancelled"
                                        << "error"
                                        << "";
        // A reading not typed within the transmission's limit is not taken.
        QTest::newRow("technician away")
            << true << ""
            << "away"
            << "Calibration failed: /TCXO_BIAS: the transmission reached its limit of 1 s"
            << "fail"
            << "";
        QTest::newRow("window closed") << false << ""
                                       << "close"
                                       << "Calibration failed: calibration cancelled"
                                       << "error"
                                       << "";
        QTest::newRow("instrument mute") << false << "mute=30"
                                         << ""
                                         << "Calibration failed: tcp://127.0.0.1:"
                                         << "error"
                                         << "";
    }
    void wizard()
    {
        QFETCH(bool, manual);
        QFETCH(QString, fault);
        QFETCH(QString, exit);
        QFETCH(QString, status);
        QFETCH(QString, recorded);
        QFETCH(QString, profile);
        QTemporaryDir dir;
        const QString log = dir.filePath("sim.log");
        QStringList arguments{"--test-set", "0", "--baud", "0", "--log", log};
        if (!fault.isEmpty())
            arguments << "--test-set-fault" << fault;
        SimProcess sim;
        QVERIFY2(sim.start(arguments), qPrintable(sim.error()));
        QVERIFY(sim.process().canReadLine() || sim.process().waitForReadyRead(5000));
        const QString url = QString::fromLocal8Bit(sim.process().readLine()).trimmed();
        const QString recipePath = dir.filePath("recipe.json");
        QJsonObject content = recipe(manual ? "manual" : url, exit == "away" ? 1 : 10);
        if (!profile.isEmpty()) {
            QVERIFY(QFile::copy(":/instruments/generic-scpi.json", dir.filePath(profile)));
            QJsonArray steps = content.value("Steps").toArray();
            QJsonObject step = steps.first().toObject();
            step.insert("Profile", profile);
            steps.replace(0, step);
            content.insert("Steps", steps);
        }
        QFile file(recipePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(content).toJson());
        file.close();

        ScopedSettings settings;
        const QString history = dir.filePath("history.sqlite");
        appConfig->setValue("/Records/Enabled", true);
        appConfig->setValue("/Records/Database", history);
        BoxRecorder boxes;
        auto window = std::make_unique<MainWindow>();
        const struct Closing
        {
            ~Closing() { appSerialPort->close(); }
        } closing;
        window->setFileChooser([&](bool, const QString &, const QString &) { return recipePath; });
        window->show();
        appSerialPort->setPortName(sim.portPath());
        QVERIFY(appSerialPort->open());
        // The factory menu comes with the factory pages.
        auto *menu = window->findChild<QMenu *>("menuFactory");
        QVERIFY(menu && !menu->menuAction()->isVisible());
        QTest::keyClick(window.get(), Qt::Key_F7);
        QTest::keyClicks(window.get(), "81500");
        QVERIFY(menu->menuAction()->isVisible());

        Instrument meter(*InstrumentAddress::parse(url, nullptr),
                         *InstrumentProfile::load("generic-scpi", nullptr));
        QVERIFY(!manual || meter.connectToInstrument());
        bool exited = false;
        QTimer driver;
        connect(&driver, &QTimer::timeout, this, [&] {
            auto *wizard = window->findChild<CalibrationWizard *>();
            if (!wizard || !wizard->isRunning())
                return;
            auto *table = wizard->findChild<QTableWidget *>("wizardTargets");
            const auto *second = table->item(1, CalibrationWizard::ReadingsColumn);
            if (!exit.isEmpty() && !exited && second && !second->text().isEmpty()) {
                exited = true;
                if (exit == "cancel")
                    wizard->findChild<QPushButton *>("wizardCancel")->click();
                else
                    window->close();
                return;
            }
            if (manual && exit != "away")
                technician(wizard, meter);
        });
        driver.start(10);
        menu->actions().first()->trigger();
        driver.stop();

        auto *wizard = window->findChild<CalibrationWizard *>();
        QVERIFY(wizard && !wizard->isRunning());
        const QString said = wizard->findChild<QLabel *>("wizardStatus")->text();
        // Nothing is left asked, but for the generator to be turned off at the end.
        const auto *prompt = wizard->findChild<QLabel *>("wizardPrompt");
        const bool complete = status.startsWith("Calibration complete");
        QCOMPARE(prompt->isVisible(), manual && complete);
        if (prompt->isVisible())
            QCOMPARE(prompt->text(), QString("Turn the signal generator's output off"));
        QVERIFY2(said.startsWith(status), qPrintable(said));
        QCOMPARE(window->isVisible(), exit != "close");
        QVERIFY(boxes.shown.isEmpty());
        if (status.startsWith("Calibration complete")) {
            // The factory page shows the values found, as the unit's file keeps them.
            const MJsonConfig found(said.mid(status.size()));
            auto *table = wizard->findChild<QTableWidget *>("wizardTargets");
            for (int row = 0; row < 4; ++row) {
                const QString path = table->item(row, CalibrationWizard::TargetColumn)->text();
                QCOMPARE(table->item(row, CalibrationWizard::ResultColumn)->text(),
                         QStringLiteral("passed"));
                const auto &field =
                    FactoryCalibration::numberFields()[FactoryCalibration::indexOfPath(path)];
                auto *box = window->findChild<QSpinBox *>(FactoryBindings::spinBoxOf(field));
                QCOMPARE(box->value(), found.value(path).toInt());
                QCOMPARE(table->item(row, CalibrationWizard::ValueColumn)->text().toInt(),
                         box->value());
            }
        }

        // One entry, as a station's unit that ran only this step: each target begun is a
        // measurement with what the table showed.
        RecordStore store(*RecordsTarget::parse(history, nullptr));
        const auto entries = store.list();
        QVERIFY2(entries && entries->size() == 1, qPrintable(store.lastError()));
        const UnitRecord &entry = entries->first();
        QCOMPARE(entry.operation, QStringLiteral("calibrate"));
        QCOMPARE(entry.outcome, recorded);
        QCOMPARE(entry.recipe, QStringLiteral("Bench"));
        QCOMPARE(entry.revision, QStringLiteral("1"));
        QCOMPARE(entry.recipeSha256.size(), 64);
        QCOMPARE(entry.lane, 0);
        QVERIFY(!entry.serialNumber.isEmpty() && entry.requests > 0);
        QCOMPARE(entry.failedStep, recorded == "pass" ? QString() : QStringLiteral("calibrate"));
        const QString failure = said.section(": ", 1);
        QVERIFY2(recorded == "pass" ? entry.message.isEmpty() : entry.message.startsWith(failure),
                 qPrintable(entry.message));
        auto *table = wizard->findChild<QTableWidget *>("wizardTargets");
        QVERIFY(complete ? entry.measurements.size() == table->rowCount()
                         : entry.measurements.size() < table->rowCount());
        for (int row = 0; row < entry.measurements.size(); ++row) {
            const UnitRecord::Measurement &m = entry.measurements[row];
            const auto cell = [&](int column) {
                return table->item(row, column)->text();
            };
            QCOMPARE(m.name, cell(CalibrationWizard::TargetColumn));
            QCOMPARE(m.readings.value_or(-1), cell(CalibrationWizard::ReadingsColumn).toInt());
            const bool passed = cell(CalibrationWizard::ResultColumn) == "passed";
            QCOMPARE(m.outcome, QString(passed ? "pass" : "fail"));
            QCOMPARE(m.note, passed ? QString() : cell(CalibrationWizard::ResultColumn));
            if (!m.name.startsWith('/'))
                continue;
            QCOMPARE(m.before.value_or(-1), cell(CalibrationWizard::BeforeColumn).toDouble());
            QCOMPARE(m.value, cell(CalibrationWizard::ValueColumn).toDouble());
            QVERIFY(m.reading && m.target && m.tolerance && !m.unit.isEmpty());
            QVERIFY(cell(CalibrationWizard::GoalColumn).startsWith(QString::number(*m.target)));
        }

        appSerialPort->close();
        window.reset();

        // The last transmit request the module heard: back to normal mode.
        QCOMPARE(sim.stop(), 0);
        QFile heard(log);
        QVERIFY(heard.open(QIODevice::ReadOnly));
        quint8 lastMode = 0;
        int keyed = 0;
        for (const QByteArray &line : heard.readAll().split('\n')) {
            const QByteArray frame = QByteArray::fromHex(line.split('\t').value(1));
            const quint8 code = Wire::byteAt(frame, 3);
            if (code == Wire::Cmd::kForceTransmit || code == Wire::Cmd::kNormalMode)
                lastMode = code;
            keyed += code == Wire::Cmd::kForceTransmit;
        }
        QVERIFY(keyed > 0);
        QCOMPARE(lastMode, Wire::Cmd::kNormalMode);
    }
};

QTEST_MAIN(TestCalibrationWizard)
#include "tst_calibrationwizard.moc"
