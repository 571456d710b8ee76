#pragma once

#include "instrument/instrumentaddress.h"
#include "instrument/instrumentprofile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <memory>
#include <optional>

class ScpiTransport;

// One instrument, driven through its profile. Every call blocks until the answer or the
// command's deadline and runs on the thread that connected it; a failure leaves its text, which
// names the instrument and the command, in failure().
class Instrument
{
    Q_DECLARE_TR_FUNCTIONS(Instrument)

public:
    enum class Measurement
    {
        Power,          // dBm
        FrequencyError, // Hz
        Deviation       // Hz, peak
    };
    struct Failure
    {
        enum class Kind
        {
            None,
            Connect,   // the instrument could not be reached
            Instrument // it did not answer, reported an error, or answered nonsense
        };
        Kind kind = Kind::None;
        QString text;
    };
    static constexpr int kMaxErrorEntries = 16; // read from the queue after a reported error

    Instrument(InstrumentAddress address, InstrumentProfile profile);
    ~Instrument();
    Instrument(const Instrument &) = delete;
    Instrument &operator=(const Instrument &) = delete;

    bool connectToInstrument();
    bool isConnected() const { return m_transport != nullptr; }

    std::optional<QString> identify();
    bool reset();
    bool setAnalyserFrequency(qint64 hz);
    // within: the measurement (its query and the error queue after it) ends by then, however
    // long the profile lets one command take.
    std::optional<double> measure(Measurement measurement,
                                  QDeadlineTimer within = QDeadlineTimer(QDeadlineTimer::Forever));
    bool setGeneratorFrequency(qint64 hz);
    bool setGeneratorLevel(double dbm);
    bool setGeneratorOutput(bool on);

    const Failure &failure() const { return m_failure; }
    const InstrumentAddress &address() const { return m_address; }
    const InstrumentProfile &profile() const { return m_profile; }
    static QString unit(Measurement measurement); // "dBm", "Hz"

private:
    // The need's command with its value in place; nothing (and the failure) when the profile
    // has none.
    std::optional<QString> commandText(InstrumentNeed need, const QString &value = QString());
    // A setting, then the wait for completion and the error queue.
    bool set(InstrumentNeed need, const QString &value = QString());
    // A query's answer line, then the error queue.
    std::optional<QByteArray> query(InstrumentNeed need);
    std::optional<QByteArray> exchange(const QString &command, bool answered);
    bool checkErrorQueue(const QString &after);
    // Errors an earlier session left are not this session's commands' fault.
    bool drainErrorQueue();
    bool fail(Failure::Kind kind, const QString &text);

    InstrumentAddress m_address;
    InstrumentProfile m_profile;
    std::unique_ptr<ScpiTransport> m_transport;
    Failure m_failure;
    QDeadlineTimer m_within{QDeadlineTimer::Forever}; // of the running call, besides its timeout
};
