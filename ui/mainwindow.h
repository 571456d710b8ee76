#pragma once

#include "app/mjsonconfig.h"
#include "records/operationrecorder.h"
#include "records/recordstarget.h"
#include "session/modulesession.h"
#include "session/operationreport.h"
#include "session/sessionhooks.h"
#include "station/calibrationrun.h"
#include "support/supportreport.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;
QT_END_NAMESPACE

namespace Ui {
class MainWindow;
}

class CalibrationWizard;
class ChannelEditing;
class FormAbout;
class FactoryPage;
class FormSerialPortSetting;
class LoadingWidget;
class ModuleSession;
class Recorder;
struct Recipe;
class UserPage;

// The tool's only window: it owns the form, the status bar lamps, the busy overlay and the
// command engine, and every module operation is one of its slots.
class MainWindow : public QMainWindow, private FailureReporter, private SessionHooks
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void updateWindowTitle();
    CommandEngine &engine() { return m_engine; }
    FormSerialPortSetting *serialSettings() const { return serialForm; }
    bool isOperationRunning() const { return m_operationRunning; }

    // Asks for a configuration file name; tests replace the dialog.
    using FileChooser = std::function<QString(bool save, const QString &title, const QString &dir)>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Window shell
    void onLoadingUserCancel();
    void onStatusMsgChanged(const QString &msg);
    void onLEDTxTimeout();
    void onLEDRxTimeout();
    void onSerialPortError(int errNo, const QString &msg);
    void onSerialPortReceived(const QByteArray &data);
    void onSerialPortOpenStateChange();
    void on_actSerialPortConfig_triggered();
    void on_action_9_triggered();
    void on_action_4_triggered();
    void onTabCloseRequest(int index);
    void on_action_11_triggered();
    void on_action_en_US_triggered();
    void on_action_zh_CN_triggered();

    // Identification, channel table, user parameters and the user configuration file
    void on_actReadDeviceInfo_triggered();
    void on_action_5_triggered();
    void onEditingFinished();
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_5_clicked();
    void on_pushButton_6_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_8_clicked();
    void on_pushButton_9_clicked();
    void on_pushButton_10_clicked();
    void on_pushButton_11_clicked();
    void on_pushButton_12_clicked();
    void on_pushButton_13_clicked();
    void on_pushButton_14_clicked();
    void on_pushButton_15_clicked();
    void on_pushButton_16_clicked();
    void on_pushButton_17_clicked();
    void on_pushButton_18_clicked();
    void on_pushButton_19_clicked();
    void on_pushButton_20_clicked();
    void on_pushButton_21_clicked();
    void on_pushButton_22_clicked();
    void on_action_6_triggered();
    void on_action_8_triggered();
    void on_actSaveCfgFile_triggered();
    void on_action_2_triggered();
    void on_actOpenCfgFile_triggered();
    void on_action_triggered();

public:
    // Band limits of the identified module in 10 Hz, 0 until a band read recognises the band.
    quint32 bandMinimum() const { return freqMin; }
    quint32 bandMaximum() const { return freqMax; }

private:
    // Identification, channel table, user parameters and the user configuration file
    bool isDeviceInfoRead() const;
    void saveUserConfig();
    void loadUserConfig();

private slots:
    // Factory pages: calibration adjust buttons, test bench, factory settings and file
    void onAdjustClicked();
    void on_pushButton_273_clicked();
    void on_pushButton_237_clicked();
    void on_pushButton_278_clicked();
    void on_pushButton_279_clicked();
    void on_pushButton_282_clicked();
    void on_pushButton_274_clicked();
    void on_pushButton_238_clicked();
    void on_pushButton_277_clicked();
    void on_pushButton_280_clicked();
    void on_pushButton_283_clicked();
    void on_pushButton_275_clicked();
    void on_pushButton_239_clicked();
    void on_pushButton_276_clicked();
    void on_pushButton_281_clicked();
    void on_pushButton_284_clicked();
    void on_pushButton_241_clicked();
    void on_pushButton_240_clicked();
    void on_pushButton_23_clicked();
    void on_pushButton_31_clicked();
    void on_pushButton_24_clicked();
    void on_pushButton_32_clicked();
    void on_pushButton_25_clicked();
    void on_pushButton_26_clicked();
    void on_pushButton_27_clicked();
    void on_pushButton_124_clicked();
    void on_pushButton_130_clicked();
    void on_pushButton_114_clicked();
    void on_pushButton_125_clicked();
    void on_pushButton_131_clicked();
    void on_pushButton_121_clicked();
    void on_pushButton_120_clicked();
    void on_pushButton_113_clicked();
    void on_pushButton_122_clicked();
    void on_pushButton_126_clicked();
    void on_pushButton_128_clicked();
    void on_pushButton_127_clicked();
    void on_pushButton_123_clicked();
    void on_pushButton_132_clicked();
    void on_pushButton_134_clicked();
    void on_pushButton_133_clicked();
    void on_pushButton_129_clicked();
    void on_pushButton_186_clicked();
    void on_pushButton_190_clicked();
    void on_pushButton_258_clicked();
    void on_pushButton_259_clicked();
    void on_pushButton_185_clicked();
    void on_pushButton_189_clicked();
    void on_pushButton_187_clicked();
    void on_pushButton_188_clicked();
    void on_pushButton_257_clicked();
    void on_pushButton_260_clicked();
    void on_pushButton_261_clicked();
    void on_pushButton_262_clicked();
    void on_pushButton_39_clicked();
    void on_pushButton_40_clicked();
    void on_pushButton_41_clicked();
    void on_pushButton_42_clicked();
    void on_pushButton_47_clicked();
    void on_pushButton_48_clicked();
    void on_pushButton_37_clicked();
    void on_pushButton_38_clicked();
    void on_pushButton_43_clicked();
    void on_pushButton_44_clicked();
    void on_pushButton_45_clicked();
    void on_pushButton_46_clicked();
    void on_pushButton_29_clicked();
    void on_pushButton_30_clicked();
    void on_pushButton_28_clicked();
    void on_pushButton_242_clicked();
    void on_pushButton_34_clicked();
    void on_pushButton_33_clicked();

private:
    // Factory pages: calibration adjust buttons, test bench, factory settings and file
    void connectAdjustButtons(QObject *root);

    // Factory -> Calibration Wizard (ui/calibrationwizardrun.cpp)
    void buildCalibrationWizard();
    void retranslateCalibrationWizard();
    // The factory menu is there while a factory page is.
    void showFactoryMenu();
    void runCalibrationWizard();
    // The plan's calibration on a worker thread over this window's port; the window's event
    // loop turns meanwhile.
    // The report gets the start, the requests and retries, and the outcome.
    CalibrationRun::Outcome calibrateOnWorker(const CalibrationPlan &plan, const QString &folder,
                                              CalibrationWizard *wizard, OperationReport *report);
    void recordCalibration(const Recipe &recipe, const CalibrationRun::Outcome &outcome,
                           OperationReport report);

private:
    enum class OperationKind
    {
        Read,
        Write
    };

    // The frame around every user-started operation: overlay shown, cancel cleared, status
    // text for 3 s afterwards. Refuses to start while another operation runs.
    bool runOperation(OperationKind kind, const std::function<bool()> &operation);
    // Every action a user can trigger, held back while an operation runs.
    QList<QAction *> commandActions() const;
    // An operation that runs module sequences, followed step by step on the widgets.
    bool runSequence(OperationKind kind, const std::function<bool(ModuleSession &)> &sequence);
    void runUserStep(OperationKind kind, UserStep step);

    // SessionHooks
    void stepStarting(UserStep step, int channel) override;
    void stepRead(const ModuleSession &session, UserStep step, int channel) override;
    void stepWritten(UserStep step, int channel) override;
    void channelEmptied(int channel) override;
    void channelUnused(int channel) override;
    void frequencyChecked(int channel, const QString &field, bool outOfBand) override;
    bool isBlank(UserStep step) const override;
    void factoryStepStarting(const FactoryBulkStep &step) override;
    void factoryStepRead(const ModuleSession &session, const FactoryBulkStep &step) override;
    bool isBlank(const FactoryBulkStep &step) const override;
    QString refusalText(const QString &text, int channel, const QString &field,
                        const QString &allowed) const override;
    bool reportsUnknownBand() const override;
    void setProgress(int percent);

    // Production-line safety: the unit a factory file names, verify, history, recording
    void buildUnitSafety();
    void retranslateUnitSafety();
    void identificationStarted();
    void identificationDone(const ModuleIdentity &identity);
    // The "/Unit" members a factory file saved now gets.
    MJsonConfig::Entries unitEntries(const MJsonConfig &file) const;
    // Remembers the unit a loaded file names; false (after the box) when "/Unit" is malformed.
    bool rememberFileUnit(const QJsonObject &file);
    // Before a factory write-all into a module other than the file's: asks, default No.
    bool confirmFactoryUnit();
    // A bulk read or write, recorded in the units' history when recording is on.
    bool runRecorded(OperationKind kind, const QString &operation, bool factorySide,
                     const std::function<bool(ModuleSession &)> &sequence);
    Recorder *recorder();
    // The unit an entry names: the one its operation found, else the information bar's.
    ModuleIdentity unitOf(const ModuleIdentity &found) const;
    // Into the history, with at least what the status bar said when the operation collected no
    // failure text.
    void keep(Recorder &history, const OperationReport &report, OperationRecorder::Extras extras);
    // The history's database from the settings; nothing, with the reason, when it is bad.
    std::optional<RecordsTarget> historyTarget(QString *problem) const;
    void showHistory();
    void loadSnapshot(const QJsonObject &snapshot);
    bool isFactoryPageShown() const;
    void verifyModule();
    void showDifferences(const FieldDifferences &differences);

    void reportFailure(const QString &text) override;
    // Adds a failure text to the recorded operation's entry, once.
    void logFailure(const QString &text);
    // Shows why an input cannot be sent ("错误" box) and returns false for the caller to return.
    bool refuse(const QString &text);
    // The chosen file, or empty when cancelled; remembers its directory in lastCfgDir.
    QString chooseConfigFile(bool save, const QString &title,
                             const QString &filter = QStringLiteral("*.json"));
    void showStatus(const QString &text);
    // While an operation runs, every other action is refused with this status text.
    void refuseWhileBusy();
    bool isOwnAction(const QObject *watched) const;
    void setLed(QLabel *led, bool off);
    void switchLanguage(const QString &code);
    void retranslateSerialForm();
    void buildStatusBar();
    // Help -> Save Support Report (ui/supportreportmenu.cpp)
    void buildSupportMenu();
    void retranslateSupportMenu();
    void saveSupportReport();
    SupportReport supportReport();

    Ui::MainWindow *ui = nullptr;
    FormAbout *aboutForm = nullptr;
    QList<QWidget *> tabPages;
    quint32 freqMin = 0; // band limits in units of 10 Hz, 0 until a band is recognised
    quint32 freqMax = 0;
    FormSerialPortSetting *serialForm = nullptr;
    QLabel *txCountLabel = nullptr;
    QLabel *rxCountLabel = nullptr;
    QLabel *lblStatusMsg = nullptr;
    int txTotal = 0;
    int rxTotal = 0;
    QLabel *portLed = nullptr;
    QLabel *txLed = nullptr;
    QLabel *rxLed = nullptr;
    QTimer *txLedTimer = nullptr;
    QTimer *rxLedTimer = nullptr;
    LoadingWidget *loadingWidget = nullptr;
    QString lastCfgDir;
    QStringList m_serialErrorsShown; // serial errors whose box is open right now

    CommandEngine m_engine;
    FileChooser m_fileChooser;
    bool m_operationRunning = false;
    QPointer<QLineEdit> m_uncheckedCell;  // typed in when an operation began; checked on leaving
    bool m_lineLost = false;              // the port closed itself during the running operation
    std::optional<ModuleIdentity> m_unit; // the information bar's module, once identified
    QDateTime m_unitReadAt;
    QString m_factoryFileUnit;       // serial number named by the loaded factory file
    QString *m_failureLog = nullptr; // collects the failure texts of a recorded operation
    QString m_recordNote;            // said in the next entry: a calibration of another unit
    std::unique_ptr<Recorder> m_recorder;
    std::unique_ptr<FactoryPage> m_factoryPage;
    std::unique_ptr<UserPage> m_userPage;
    std::unique_ptr<ChannelEditing> m_channelEditing;
    QString m_recordsTarget;                  // the setting m_recorder was made for
    QString m_recordsProblem;                 // the last recording problem said, not said again
    std::optional<ModuleIdentity> m_identity; // the last module that said what it is, for reports
    std::function<void()> m_wizardCancel;     // set while the wizard's calibration runs
    bool m_wizardRunning = false;             // its worker owns the line's replies
    bool m_closeAfterWizard = false;          // the window closes once the module is keyed down
};
