#pragma once

#include "config/factoryconfig.h"
#include "device/channelcommands.h"
#include "protocol/commandengine.h"
#include "session/factorysteps.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <optional>

// Every module request of a calibration, in one place: the values it adjusts, the channel it
// transmits on, the forced transmission and the receiver calibrations. Failures go to the
// engine's reporter.
class CalibrationModule
{
public:
    CalibrationModule(CommandEngine &engine, FailureReporter &reporter)
        : m_engine(engine)
        , m_steps(engine, reporter)
    {}

    // A calibration value: an adjust value, or a power table cell (the table is read once and
    // kept, so that a cell is written with its neighbours as they are).
    std::optional<int> readValue(const FactoryNumberField &field);
    bool writeValue(const FactoryNumberField &field, int value);

    std::optional<ChannelCommands::Records> readChannels();
    bool writeChannels(const ChannelCommands::Records &records);
    std::optional<int> readCurrentChannel();
    bool writeCurrentChannel(int channel);

    // Forced transmission with data PTT, and back to normal mode.
    bool keyUp();
    bool keyDown();

    bool calibrateRssi(quint8 levelDbuv);
    bool calibrateSquelch(quint8 level);

private:
    std::optional<QByteArray> m_powerTable; // wire order
    CommandEngine &m_engine;
    FactorySteps m_steps; // the factory pages' own single steps
};

// Whatever keys a module up keys it down on every way out, and keeps count of how long it has
// been transmitting, so that no transmission outlasts its limit.
class TransmitGuard
{
public:
    TransmitGuard(CalibrationModule &module, int maxSeconds)
        : m_module(module)
        , m_maxMs(qint64(maxSeconds) * 1000)
    {}
    ~TransmitGuard() { keyDown(); }
    TransmitGuard(const TransmitGuard &) = delete;
    TransmitGuard &operator=(const TransmitGuard &) = delete;

    bool keyUp();
    // Back to normal mode, when keyed; false when the module did not confirm it.
    bool keyDown();
    bool expired() const;
    bool isKeyed() const { return m_keyed.isValid(); }
    // What is left of the limit while keyed, in ms.
    qint64 remainingMs() const { return m_keyed.isValid() ? m_maxMs - m_keyed.elapsed() : m_maxMs; }
    int maxSeconds() const { return int(m_maxMs / 1000); }

private:
    CalibrationModule &m_module;
    qint64 m_maxMs = 0;
    QElapsedTimer m_keyed; // invalid when not keyed
};
