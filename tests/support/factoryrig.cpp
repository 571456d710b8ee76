#include "factoryrig.h"

#include "app/language.h"
#include "serial/mserialport.h"
#include "ui/loadingwidget.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QStatusBar>

FactoryRig::FactoryRig(const SimHarness::Options &options)
    : m_sim(options)
{
    startupLanguage = Language::kChinese;
    Language::install(startupLanguage);
    m_window = std::make_unique<MainWindow>();
    // After the window: its serial settings form applies the stored port parameters.
    if (m_sim.isReady()) {
        appSerialPort->setPortName(m_sim.portPath());
        m_portOpen = appSerialPort->open();
    }
}

FactoryRig::~FactoryRig()
{
    if (appSerialPort->isOpen())
        appSerialPort->close();
    m_window.reset();
}

bool FactoryRig::isReady() const
{
    return m_sim.isReady() && m_portOpen;
}

QString FactoryRig::error() const
{
    if (!m_sim.isReady())
        return m_sim.error();
    return m_portOpen ? QString() : QStringLiteral("the tool could not open the terminal");
}

bool FactoryRig::click(const QString &buttonName)
{
    auto *button = widget<QAbstractButton>(buttonName);
    if (!button)
        return false;
    button->click();
    return true;
}

void FactoryRig::clear()
{
    m_sim.clearLog();
    m_boxes.clear();
    m_retriesAtClear = m_window->engine().statistics().retries;
}

QList<QByteArray> FactoryRig::requestsWithoutRetries() const
{
    QList<QByteArray> heard = m_sim.requests();
    qint64 retried = m_window->engine().statistics().retries - m_retriesAtClear;
    for (int i = heard.size() - 1; i > 0 && retried > 0; --i) {
        if (heard[i] == heard[i - 1]) {
            heard.removeAt(i);
            --retried;
        }
    }
    return heard;
}

QString FactoryRig::status() const
{
    return m_window->statusBar()->currentMessage();
}

QString FactoryRig::overlayText() const
{
    const auto *overlay = m_window->findChild<LoadingWidget *>();
    return overlay ? overlay->text() : QString();
}
