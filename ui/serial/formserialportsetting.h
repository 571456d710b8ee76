#pragma once

#include <QString>
#include <QWidget>

QT_BEGIN_NAMESPACE
class QLabel;
QT_END_NAMESPACE

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
};
