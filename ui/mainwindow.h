#pragma once

#include "protocol/commandengine.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <optional>

QT_BEGIN_NAMESPACE
class QLabel;
class QTimer;
QT_END_NAMESPACE

namespace Ui {
class MainWindow;
}

class FormAbout;
class FormSerialPortSetting;
class LoadingWidget;

// The tool's only window: it owns the form, the status bar lamps, the busy overlay and the
// command engine, and every module operation is one of its slots.
class MainWindow : public QMainWindow, private FailureReporter
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void updateWindowTitle();
    CommandEngine &engine() { return m_engine; }
    FormSerialPortSetting *serialSettings() const { return serialForm; }
    bool isOperationRunning() const { return m_operationRunning; }

protected:
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

private:
    enum class OperationKind { Read, Write };

    // The frame around every user-started operation: overlay shown, cancel cleared, status
    // text for 3 s afterwards. Refuses to start while another operation runs.
    bool runOperation(OperationKind kind, const std::function<bool()> &operation);
    void setProgress(int percent);
    std::optional<QByteArray> transact(const Command &command);

    void reportFailure(const QString &text) override;
    void showStatus(const QString &text);
    void setLed(QLabel *led, bool off);
    void switchLanguage(const QString &code);
    void buildStatusBar();

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

    CommandEngine m_engine;
    bool m_operationRunning = false;
};
