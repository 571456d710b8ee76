// Renders every page and sub-page of the main window into PNG files, empty and after reading
// a simulated module, so that the documentation shows what the tool looks like.
#include "app/language.h"
#include "app/mjsonconfig.h"
#include "serial/mserialport.h"
#include "sim/modulesimulator.h"
#include "sim/testset.h"
#include "ui/calibrationwizard.h"
#include "ui/mainwindow.h"
#include "ui/messagebox.h"
#include "ui/pagereveal.h"
#include "ui/serial/formserialportsetting.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {
void settle(int ms = 150)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void pressKey(QWidget *window, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(window, &press);
}

void reveal(QWidget *window, PageReveal::Page page)
{
    pressKey(window, PageReveal::selectKey(page));
    for (const QChar c : PageReveal::accessCode(page))
        pressKey(window, c.unicode(), QString(c));
}

// The example calibrate step of docs/recipes.md, with this instrument or "manual".
QByteArray calibrationRecipe(const QString &instrument)
{
    return QStringLiteral(R"({"Recipe": "Bench", "Revision": "1", "Steps": [
        {"Step": "calibrate", "Instrument": "%1", "Folder": "calibrations",
         "Points": {"Low": 45100000, "Mid": 47000000, "High": 48900000},
         "Targets": [
           {"Value": "/TCXO_BIAS", "Measure": "frequency-error", "Point": "Mid", "Power": 0, "Target": 0, "Tolerance": 50},
           {"Value": "/TxPowerAdj/cell42", "Measure": "power", "Point": "High", "Power": 4, "Target": 37.0, "Tolerance": 0.3},
           {"Value": "/DataModFreqDiv/Mid", "Measure": "deviation", "Point": "Mid", "Power": 0, "Target": 2400, "Tolerance": 60},
           {"Calibrate": "rssi", "Point": "Mid", "Levels": [10, 40]},
           {"Calibrate": "squelch", "Point": "Mid", "Levels": [0.25, 0.45]}]}]})")
        .arg(instrument)
        .toUtf8();
}

// A technician at the bench does what the wizard's prompt says with the simulated test set and
// types the reading; true when a prompt was answered.
bool answerPrompt(CalibrationWizard *wizard, TestSet &testSet)
{
    auto *prompt = wizard->findChild<QLabel *>(QStringLiteral("wizardPrompt"));
    auto *enter = wizard->findChild<QPushButton *>(QStringLiteral("wizardEnter"));
    if (!prompt->isVisible() || !enter->isVisible())
        return false;
    const QString text = prompt->text();
    const auto number = [&](const QString &unit) {
        return QRegularExpression(QStringLiteral("(-?[0-9.]+) ") + unit).match(text).captured(1);
    };
    const QByteArray hz =
        QByteArray::number(qRound64(number(QStringLiteral("MHz")).toDouble() * 1e6));
    const auto reading = wizard->findChild<QLineEdit *>(QStringLiteral("wizardReading"));
    if (!reading->isVisible()) {
        testSet.answer("SOUR:FREQ " + hz + ";SOUR:POW " + number(QStringLiteral("dBm")).toUtf8() +
                       ";OUTP ON");
    } else {
        testSet.answer("SENS:FREQ " + hz);
        // The frequency error's unit stands alone in its brackets, the deviation's does not.
        const bool error =
            text.contains(QStringLiteral("(Hz)")) || text.contains(QString::fromUtf8("（Hz）"));
        const QByteArray query = text.contains(QStringLiteral("dBm")) ? "MEAS:POW?"
                                 : error                              ? "MEAS:FREQ:ERR?"
                                                                      : "MEAS:FM:DEV?";
        reading->setText(QString::fromUtf8(testSet.answer(query).value_or("0")));
    }
    enter->click();
    return true;
}

class Shooter
{
public:
    Shooter(QWidget *window, const QString &dir, bool wholeScreen)
        : m_window(window)
        , m_dir(dir)
        , m_wholeScreen(wholeScreen)
    {}
    void shoot(const QString &name)
    {
        settle();
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        // The whole screen shows where the window lies on it and what of it is cut off.
        const QPixmap shot = m_wholeScreen ? m_window->screen()->grabWindow(0) : m_window->grab();
        shot.save(path);
        QTextStream(stdout) << path << '\n';
    }

    // Every page of tabWidget_2 and every sub-page of the factory pages.
    void shootPages(const QString &suffix)
    {
        auto *pages = m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            const QString pageName = pages->widget(page)->objectName();
            const auto subTabs = pages->widget(page)->findChildren<QTabWidget *>();
            if (subTabs.isEmpty()) {
                shoot(pageName + suffix);
                continue;
            }
            for (int sub = 0; sub < subTabs.first()->count(); ++sub) {
                subTabs.first()->setCurrentIndex(sub);
                shoot(pageName + QLatin1Char('-') + subTabs.first()->widget(sub)->objectName() +
                      suffix);
            }
            subTabs.first()->setCurrentIndex(0);
        }
        pages->setCurrentIndex(0);
    }

private:
    QWidget *m_window;
    QDir m_dir;
    bool m_wholeScreen;
};
} // namespace

// The calibration wizard with the simulated test set: run to its end by itself, and by hand
// while it asks for the power meter's reading.
void shootWizard(MainWindow &window, Shooter &shooter, ModuleSimulator &module,
                 const QString &suffix)
{
    TestSet testSet(module);
    testSet.listen(0, nullptr);
    QTemporaryDir scratch;
    const QString recipe = scratch.filePath(QStringLiteral("recipe.json"));
    window.setFileChooser([&](bool, const QString &, const QString &) { return recipe; });
    QAction *wizardAction =
        window.findChild<QMenu *>(QStringLiteral("menuFactory"))->actions().first();
    for (const bool manual : {false, true}) {
        QFile file(recipe);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(calibrationRecipe(manual ? QStringLiteral("manual") : testSet.url()));
        file.close();
        bool shot = false;
        bool busy = false;
        QTimer technician;
        QObject::connect(&technician, &QTimer::timeout, [&] {
            auto *wizard = window.findChild<CalibrationWizard *>();
            if (busy || !wizard || !wizard->isRunning())
                return;
            busy = true;
            auto *prompt = wizard->findChild<QLabel *>(QStringLiteral("wizardPrompt"));
            if (!shot && prompt->isVisible() && prompt->text().contains(QStringLiteral("dBm"))) {
                shot = true;
                shooter.shoot(QStringLiteral("calibration-wizard-manual") + suffix);
            }
            answerPrompt(wizard, testSet);
            busy = false;
        });
        if (manual)
            technician.start(20);
        wizardAction->trigger();
        technician.stop();
        auto *wizard = window.findChild<CalibrationWizard *>();
        if (!manual)
            shooter.shoot(QStringLiteral("calibration-wizard-instrument") + suffix);
        delete wizard;
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("lang"), QStringLiteral("en_US or zh_CN"),
                      QStringLiteral("code"), Language::kChinese});
    const QCommandLineOption screenOption(
        QStringLiteral("screen"),
        QStringLiteral("only the user page and the first factory page, filled, and the "
                       "calibration wizard, as the whole screen shows them; the file names carry "
                       "the screen's size"));
    parser.addOption(screenOption);
    parser.addPositionalArgument(QStringLiteral("dir"), QStringLiteral("where the PNGs go"));
    parser.process(app);
    const QString dir = parser.positionalArguments().value(0, QStringLiteral("."));
    QDir().mkpath(dir);

    appConfig = MJsonConfig::inMemory().release();
    startupLanguage = parser.value(QStringLiteral("lang"));
    Language::install(startupLanguage);
    MessageBox::setInterceptor([](const MessageBox::Shown &box) {
        QTextStream(stderr) << "box: " << box.title << ": " << box.text << '\n';
        return QMessageBox::Yes;
    });

    ModuleSimulator module;
    QString error;
    if (!module.open(&error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }

    const QString suffix = QLatin1Char('-') + startupLanguage;
    const bool wholeScreen = parser.isSet(screenOption);
    if (!wholeScreen) {
        // What scripts/demo shows once the user clicks "读取设备": the port opened at start.
        MainWindow demo;
        demo.show();
        demo.serialSettings()->applyStartPort(module.slavePath(), true);
        demo.findChild<QAction *>(QStringLiteral("actReadDeviceInfo"))->trigger();
        Shooter(&demo, dir, false).shoot(QStringLiteral("demo-read-device") + suffix);
        appSerialPort->close();
    }

    MainWindow window;
    window.show();
    appSerialPort->setPortName(module.slavePath());
    appSerialPort->open();
    Shooter shooter(&window, dir, wholeScreen);

    if (wholeScreen) {
        const QSize screen = window.screen()->size();
        const QString size = QStringLiteral("-%1x%2").arg(screen.width()).arg(screen.height());
        reveal(&window, PageReveal::Page::Lx815);
        window.findChild<QAction *>(QStringLiteral("action_6"))->trigger();
        window.findChild<QPushButton *>(QStringLiteral("pushButton_28"))->click();
        auto *pages = window.findChild<QTabWidget *>(QStringLiteral("tabWidget_2"));
        for (const char *name : {"tab_user", "tab_lx815"}) {
            QWidget *page = window.findChild<QWidget *>(QString::fromLatin1(name));
            pages->setCurrentWidget(page);
            const auto subPages = page->findChildren<QTabWidget *>();
            const QString subPage =
                subPages.isEmpty() ? QString()
                                   : QLatin1Char('-') + subPages.first()->widget(0)->objectName();
            if (!subPages.isEmpty())
                subPages.first()->setCurrentIndex(0);
            shooter.shoot(page->objectName() + subPage + size + suffix);
        }
        shootWizard(window, shooter, module, size + suffix);
        appSerialPort->close();
        return 0;
    }

    shooter.shoot(QStringLiteral("main-window") + suffix);
    reveal(&window, PageReveal::Page::Lx815);
    reveal(&window, PageReveal::Page::Mr460);
    shooter.shootPages(suffix);

    window.findChild<QAction *>(QStringLiteral("action_6"))->trigger();
    window.findChild<QPushButton *>(QStringLiteral("pushButton_28"))->click();
    shooter.shootPages(QStringLiteral("-filled") + suffix);

    // The summary box of a CSV import with a repeater, a DCS and an NFM channel and an AM row.
    QTemporaryDir scratch;
    const QString plan = scratch.filePath(QStringLiteral("plan.csv"));
    QFile file(plan);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                   "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                   "RPT1CALL,RPT2CALL,DVCODE\r\n"
                   "1,\"Repeater, North\",462.5625,+,5.000000,TSQL,88.5,100.0,023,NN,023,"
                   "Tone->Tone,FM,12.50,,5.0W,SQ=L2,,,,\r\n"
                   "2,DCS Site,463.000000,,0.000000,DTCS,88.5,88.5,025,NN,025,Tone->Tone,FM,"
                   "5.00,S,2.0W,,,,,\r\n"
                   "3,Narrow,464.125000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,"
                   "0.5W,,,,,\r\n"
                   "4,Airband,124.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,"
                   ",,,,,\r\n");
        file.close();
    }
    window.setFileChooser([&](bool, const QString &, const QString &) { return plan; });
    MessageBox::setInterceptor([&](const MessageBox::Shown &box) {
        QMessageBox dialog(box.icon, box.title, box.text, QMessageBox::Ok, &window);
        dialog.setInformativeText(box.informativeText);
        dialog.show();
        settle();
        const QString path = QDir(dir).filePath(QStringLiteral("csv-import-summary") + suffix +
                                                QStringLiteral(".png"));
        dialog.grab().save(path);
        QTextStream(stdout) << path << '\n';
        return QMessageBox::Ok;
    });
    window.findChild<QAction *>(QStringLiteral("actImportCsv"))->trigger();
    appSerialPort->close();
    return 0;
}
