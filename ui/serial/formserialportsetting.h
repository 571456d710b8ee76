#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

QT_BEGIN_NAMESPACE
class QLabel;
class QPushButton;
QT_END_NAMESPACE

struct ProbeResult;

class MBaudrateList;
class MDataBitsList;
class MFlowCtrlList;
class MParityList;
class MPortList;
class MSerialButton;
class MStopBitsList;

// The serial settings window: the six selectors of the one port, and the button that opens
// and closes it. Created once, hidden rather than closed.
class FormSerialPortSetting : public QWidget
{
    Q_OBJECT

public:
    explicit FormSerialPortSetting(QWidget *parent = nullptr);

    void retranslate();
    // Chooses a port by listed name or device path, as if the user had; false if there is none.
    bool selectPort(const QString &name);
    // As a click on the port button would; a failure shows the usual boxes.
    void openPort();
    // The command line's --port and --open: a port that is not there is still the one opened,
    // so that the failure box names it.
    void applyStartPort(const QString &name, bool open);

    // Runs an operation the way the main window runs its own: one at a time, under its overlay.
    using OperationFrame = std::function<bool(const std::function<bool()> &operation)>;
    void setOperationFrame(OperationFrame frame) { m_operationFrame = std::move(frame); }

    // "查找模块" (ui/serial/modulefinder.cpp): probes every listed port and the typed one, selects
    // the first with a module and lists what answered; the port open before is open afterwards.
    void findModule();

private:
    MPortList *portList = nullptr;
    MBaudrateList *baudrateList = nullptr;
    MDataBitsList *dataBitsList = nullptr;
    MParityList *parityList = nullptr;
    MStopBitsList *stopBitsList = nullptr;
    MFlowCtrlList *flowCtrlList = nullptr;
    QLabel *lblPort = nullptr;
    QLabel *lblBaudrate = nullptr;
    QLabel *lblDataBits = nullptr;
    QLabel *lblParity = nullptr;
    QLabel *lblStopBits = nullptr;
    QLabel *lblFlowCtrl = nullptr;
    MSerialButton *serialButton = nullptr;
    QPushButton *m_findButton = nullptr;
    OperationFrame m_operationFrame;

    bool probePorts();
    void showProbeResults(const QList<ProbeResult> &results, int chosen);
};
