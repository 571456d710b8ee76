#pragma once

#include "instrument/instrument.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

// Where a calibration's readings come from and who sets its generator: an instrument it drives,
// or a person at the bench who reads a meter and types the number. The calibration's search is
// the same for both.
class MeasurementSource
{
public:
    virtual ~MeasurementSource() = default;

    // The analyser on the frequency (Hz) and power index (0 = 1 W) the module will transmit at.
    virtual bool tune(qint64 hz, int power) = 0;
    // One reading at the tuned point; withinMs: how long the module may still transmit.
    virtual std::optional<double> measure(Instrument::Measurement measurement, qint64 withinMs) = 0;
    // The generator on hz at dbm with its output on; off again.
    virtual bool setGenerator(qint64 hz, double dbm) = 0;
    virtual bool generatorOff() = 0;
    // Why the last call failed, naming the instrument and its command.
    virtual QString failure() const = 0;
    // A person takes each reading: the module then transmits only while one is awaited.
    virtual bool isManual() const { return false; }
};

// An instrument driven through its profile; settings it already holds are not sent again.
class InstrumentSource : public MeasurementSource
{
public:
    explicit InstrumentSource(Instrument &instrument)
        : m_instrument(instrument)
    {}

    bool tune(qint64 hz, int power) override;
    std::optional<double> measure(Instrument::Measurement measurement, qint64 withinMs) override;
    bool setGenerator(qint64 hz, double dbm) override;
    bool generatorOff() override;
    QString failure() const override { return m_instrument.failure().text; }

private:
    Instrument &m_instrument;
    qint64 m_generatorHz = -1;
    bool m_output = false;
};

// What a person at the bench is asked to do, with the text that says it.
struct ManualRequest
{
    Q_DECLARE_TR_FUNCTIONS(ManualRequest)

public:
    enum class Kind
    {
        Reading,     // read a meter and type the number
        Generator,   // set the generator, then confirm
        GeneratorOff // a notice: nothing is awaited
    };

    Kind kind = Kind::Reading;
    Instrument::Measurement measurement = Instrument::Measurement::Power;
    qint64 hz = 0;
    int power = 0; // 0 = 1 W
    double dbm = 0.0;
    qint64 withinMs = 0; // a reading not typed by then is not taken

    // "Read the power meter (dBm) at 470.00000 MHz, 1 W"
    QString text() const;
    static QString megahertz(qint64 hz); // "470.00000"
};

// Readings typed by a person. ask() hands a request to whoever talks to the person and returns
// the typed number (anything for a confirmation), or nothing when the person cancelled or did
// not answer in time; it may block the calling thread until then.
class ManualSource : public MeasurementSource
{
    Q_DECLARE_TR_FUNCTIONS(ManualSource)

public:
    using Ask = std::function<std::optional<double>(const ManualRequest &request)>;

    explicit ManualSource(Ask ask)
        : m_ask(std::move(ask))
    {}

    bool tune(qint64 hz, int power) override;
    std::optional<double> measure(Instrument::Measurement measurement, qint64 withinMs) override;
    bool setGenerator(qint64 hz, double dbm) override;
    bool generatorOff() override;
    QString failure() const override { return m_failure; }
    bool isManual() const override { return true; }

private:
    Ask m_ask;
    qint64 m_hz = 0;
    int m_power = 0;
    bool m_output = false;
    QString m_failure;
};
