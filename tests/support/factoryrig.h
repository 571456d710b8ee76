#pragma once

#include "simharness.h"
#include "testenv.h"
#include "ui/mainwindow.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// A main window talking to a simulated module over a pseudo-terminal, with its own settings
// file and every message box answered and recorded.
class FactoryRig
{
public:
    explicit FactoryRig(const SimHarness::Options &options = SimHarness::Options());
    ~FactoryRig();

    bool isReady() const;
    QString error() const;

    MainWindow &window() { return *m_window; }
    SimHarness &sim() { return m_sim; }
    ModuleState &module() { return m_sim.state(); }
    BoxRecorder &boxes() { return m_boxes; }

    template<class T> T *widget(const QString &name) const;
    // Clicks the button; the operation behind it has run when this returns. False when the
    // window has no such button.
    bool click(const QString &buttonName);
    // Forgets what was sent and shown so far.
    void clear();

    QList<QByteArray> requests() const { return m_sim.requests(); }
    // The same without the engine's own retries of a reply late on a loaded machine, for tests
    // of what one answered click sends: a request sent twice without a retry still shows twice.
    QList<QByteArray> requestsWithoutRetries() const;
    QString status() const;      // the status bar message
    QString overlayText() const; // the busy overlay's last text

private:
    ScopedSettings m_settings;
    BoxRecorder m_boxes;
    SimHarness m_sim;
    std::unique_ptr<MainWindow> m_window;
    bool m_portOpen = false;
    qint64 m_retriesAtClear = 0;
};

template<class T> T *FactoryRig::widget(const QString &name) const
{
    return m_window->findChild<T *>(name);
}
