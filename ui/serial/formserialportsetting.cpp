#include "ui/serial/formserialportsetting.h"

#include "app/language.h"
#include "serial/mserialport.h"
#include "ui/serial/mparamlists.h"
#include "ui/serial/mportlist.h"
#include "ui/serial/mserialbutton.h"

#include <QDebug>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>

namespace {
constexpr int kWidthPx = 260;
constexpr int kHeightPx = 250;
constexpr int kMarginPx = 5;
constexpr int kInnerMinWidthPx = 150;
constexpr int kInnerMinHeightPx = 180;
constexpr int kRowSpacingPx = 5;
constexpr int kGapAboveButtonPx = 10;
constexpr int kButtonWidthPx = 100;
constexpr int kButtonHeightPx = 30;
} // namespace

FormSerialPortSetting::FormSerialPortSetting(QWidget *parent)
    : QWidget(parent)
{
    setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidthPx, kHeightPx);

    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(kMarginPx, kMarginPx, kMarginPx, kMarginPx);
    auto *inner = new QWidget;
    inner->setMinimumSize(kInnerMinWidthPx, kInnerMinHeightPx);
    inner->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    outer->addWidget(inner);

    auto *form = new QFormLayout(inner);
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(0);
    form->setVerticalSpacing(kRowSpacingPx);

    // Each selector restores its stored value and applies it to the port as it is created.
    lblPort = new QLabel;
    portList = new MPortList(appSerialPort, appConfig);
    form->addRow(lblPort, portList);
    lblBaudrate = new QLabel;
    baudrateList = new MBaudrateList(appSerialPort, appConfig);
    form->addRow(lblBaudrate, baudrateList);
    lblDataBits = new QLabel;
    dataBitsList = new MDataBitsList(appSerialPort, appConfig);
    form->addRow(lblDataBits, dataBitsList);
    lblParity = new QLabel;
    parityList = new MParityList(appSerialPort, appConfig);
    form->addRow(lblParity, parityList);
    lblStopBits = new QLabel;
    stopBitsList = new MStopBitsList(appSerialPort, appConfig);
    form->addRow(lblStopBits, stopBitsList);
    lblFlowCtrl = new QLabel;
    flowCtrlList = new MFlowCtrlList(appSerialPort, appConfig);
    form->addRow(lblFlowCtrl, flowCtrlList);

    form->addItem(
        new QSpacerItem(0, kGapAboveButtonPx, QSizePolicy::Minimum, QSizePolicy::Minimum));

    serialButton = new MSerialButton(appSerialPort);
    serialButton->setFixedSize(kButtonWidthPx, kButtonHeightPx);
    serialButton->setStateIcon(MSerialButton::OpenState,
                               QIcon(QStringLiteral(":/images/connected.png")));
    serialButton->setStateIcon(MSerialButton::ClosedState,
                               QIcon(QStringLiteral(":/images/unconnected.png")));
    // Side by side: the window keeps its size.
    m_findButton = new QPushButton;
    m_findButton->setObjectName(QStringLiteral("findModuleButton"));
    m_findButton->setFixedSize(kButtonWidthPx, kButtonHeightPx);
    connect(m_findButton, &QPushButton::clicked, this, &FormSerialPortSetting::findModule);
    auto *buttons = new QWidget;
    auto *buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->addWidget(serialButton);
    buttonRow->addWidget(m_findButton);
    form->addRow(buttons);
    form->setAlignment(buttons, Qt::AlignHCenter | Qt::AlignVCenter);

    retranslate();
}

void FormSerialPortSetting::retranslate()
{
    setWindowTitle(tr("串口设置"));
    lblPort->setText(tr("串口："));
    lblBaudrate->setText(tr("波特率："));
    lblDataBits->setText(tr("数据位："));
    lblParity->setText(tr("校验位："));
    lblStopBits->setText(tr("停止位："));
    lblFlowCtrl->setText(tr("流控："));
    serialButton->updateText();
    m_findButton->setText(tr("查找模块"));
}

bool FormSerialPortSetting::selectPort(const QString &name)
{
    return portList->selectPort(name);
}

void FormSerialPortSetting::openPort()
{
    serialButton->openPort();
}

void FormSerialPortSetting::applyStartPort(const QString &name, bool open)
{
    if (!name.isEmpty() && !selectPort(name)) {
        qWarning().noquote() << "No such serial port:" << name;
        if (open)
            appSerialPort->setPortName(name);
    }
    if (open)
        openPort();
}
