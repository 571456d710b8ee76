#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>

class MSerialPort;

// Opens and closes the port and shows which it is; it changes only through its own clicks, a
// failed open, and a device that went away.
class MSerialButton : public QPushButton
{
    Q_OBJECT

public:
    enum State
    {
        OpenState = 0,
        ClosedState = 1
    };

    explicit MSerialButton(MSerialPort *port, QWidget *parent = nullptr);

    void setStateIcon(int state, const QIcon &icon);
    void openPort();
    void closePort();
    void updateText();
    bool isActive() const;

private slots:
    void onClicked();
    void onSerialPortError(int errNo, const QString &msg);
    void onConnectionLost();

private:
    void showState(bool active);

    MSerialPort *port = nullptr;
    QIcon unconnectedIcon;
    QIcon connectedIcon;
};
