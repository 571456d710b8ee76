#pragma once

#include "protocol/commandengine.h"

#include <QByteArray>
#include <QString>

// The factory test bench commands: forced transmit, sensitivity test, squelch and RSSI
// calibration, the RSSI offsets and the transmit power table.
namespace CalibrationCommands {

enum class TransmitMode
{
    Normal = 0,
    DataPtt = 1,
    VoicePtt = 2
};

constexpr quint8 kSquelchLowLevel = 0x02;  // 0.25 uV
constexpr quint8 kSquelchHighLevel = 0x04; // 0.45 uV
constexpr quint8 kRssiLowLevel = 10;       // dBuV
constexpr quint8 kRssiHighLevel = 40;      // dBuV
constexpr int kPowerReplyLength = 18;      // 01 81 00 and the 15 table bytes

// Any mode other than the two forced ones goes back to normal.
Command setTransmitTestMode(int mode);
Command setSensitivityTestMode(quint8 mode); // Wire::kOn enters, Wire::kOff leaves
Command calibrateSquelch(quint8 level);
Command calibrateRssi(quint8 levelDbuv);

QString rssiOffsetBlankText();
Command readRssiOffset(int point);
Command writeRssiOffset(int point, int value);
Command stepRssiOffset(int point, int delta);
// The signed offset of an accepted read reply.
int decodeRssiOffset(const QByteArray &reply);

QString powerTableBlankText();
QString noPointSelectedText();
QString noPowerSelectedText();
Command readPowerTable();
// The 15 values in wire order (for each power: middle, low, high).
Command writePowerTable(const QByteArray &table);
Command stepPowerCell(quint8 cell, int delta);
// The 15 table bytes of an accepted read reply, in wire order.
QByteArray decodePowerTable(const QByteArray &reply);

} // namespace CalibrationCommands
