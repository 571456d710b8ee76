#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The single steps of the factory pages, one request each, on plain values: what a read gives
// back, what a write takes (nothing for a value the caller has left empty, which is refused
// with its text), and the test bench modes. The window's buttons, the bulk read and write of a
// ModuleSession and an automatic calibration all run these. Failures and refusals go to the
// reporter; nothing here knows a widget.
class FactorySteps
{
public:
    enum class TransmitMode
    {
        Normal,
        DataPtt,
        VoicePtt
    };
    enum class Level
    {
        Low, // squelch 0.25 uV, RSSI 10 dBuV
        High // squelch 0.45 uV, RSSI 40 dBuV
    };

    FactorySteps(CommandEngine &engine, FailureReporter &reporter);

    // One adjust value of a calibration type at a point (0 low, 1 middle, 2 high); the byte is
    // read sign-extended when asked.
    std::optional<int> readAdjust(quint8 type, int point, bool isSigned);
    bool writeAdjust(quint8 type, int point, std::optional<int> value);
    bool stepAdjust(quint8 type, int point, int delta);

    std::optional<int> readRssiOffset(int point);
    bool writeRssiOffset(int point, std::optional<int> value);
    bool stepRssiOffset(int point, int delta);

    // The fifteen power cells in wire order (for each power: middle, low, high).
    std::optional<QByteArray> readPowerTable();
    // Nothing: a cell is left empty.
    bool writePowerTable(const std::optional<QByteArray> &wireOrder);
    // The cell of a power (0 = 1 W ... 4 = 5 W) at a point; nothing for a selection not made,
    // the point asked for first.
    bool stepPowerCell(std::optional<int> power, std::optional<int> point, int delta);

    bool setTransmitTestMode(TransmitMode mode);
    bool setSensitivityTestMode(bool on);
    bool calibrateSquelch(Level level);
    bool calibrateRssi(Level level);

    // The band selector's index; -1 for a band it does not list (the read still succeeded).
    std::optional<int> readRadioBand();
    bool writeRadioBand(int index); // -1: no band chosen
    // 12 upper-case hexadecimal digits.
    std::optional<QString> readSerialNumber();
    // The text as typed; nothing for an empty field.
    bool writeSerialNumber(const std::optional<QString> &text);
    std::optional<int> readSidetoneVolume();
    bool writeSidetoneVolume(std::optional<int> volume);
    // True for DC coupling.
    std::optional<bool> readCoupling();
    bool writeCoupling(std::optional<bool> dc);

private:
    std::optional<QByteArray> transact(const Command &command);
    bool sent(const Command &command) { return transact(command).has_value(); }
    bool refuse(const QString &text);

    CommandEngine &m_engine;
    FailureReporter &m_reporter;
};
